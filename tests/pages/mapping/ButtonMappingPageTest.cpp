#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>
#include <optional>

#include "pages/mapping/ButtonMappingPage.h"
#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/KeyCaptureDialog.h"
#include "pages/mapping/MappingTestSupport.h"
#include "settings/SettingsBlock.h"
#include "settings/SettingsModel.h"
#include "support/TestPlatform.h"

using namespace lark;
using lark::test::chooseFromMenu;
using lark::test::MenuSeen;
using lark::test::named;
using lark::test::whenDialogShows;

Q_DECLARE_METATYPE(lark::ButtonAction)

namespace {

const QStringList kRowLabels = {"Right Button", "Middle Button", "Forward Button",
                                "Back Button",  "Wheel Up",      "Wheel Down"};

void clickIndicator(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

}  // namespace

class ButtonMappingPageTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsShowFactoryCaptionsUnderTheirNames();
    void menuHasItsEntriesAndOpensBelowTheButton();
    void plainChoicesWriteTheSlotAndCaption_data();
    void plainChoicesWriteTheSlotAndCaption();
    void choosingTheStoredActionAgainLeavesApplyOff();
    void fixedCpiOnlyOnButtonRows();
    void closingTheMenuChangesNothing();
    void leftHandedToggleMovesTheActionAndFilters();
    void refreshReadsLeftHandedModeAndKeepsUnknownCaptions();
    void keyboardKeyCaptionThenDecodedCaption();
    void storedUnknownKeyShowsItsNumberAndIsWrittenBackUnchanged();
    void keyboardDialogCancelledOrEmptyChangesNothing_data();
    void keyboardDialogCancelledOrEmptyChangesNothing();
    void modifierWithoutKeyOfThisOpeningChangesNothing();
    void fixedCpiDialogResults();
    void fixedCpiDialogCancelChangesNothing();
    void leftHandedStateSurvivesDialogAssignments();
    void controlsEnableTogether();
    void escapeAndEnterStayOnThePage();

private:
    QPushButton* row(int index) const;
    QCheckBox* leftHandedBox() const;
    QLabel* firstRowLabel() const;
    // Opens the menu of `rowIndex` with a click and walks `path` through it.
    void choose(int rowIndex, const QStringList& path, MenuSeen* seen = nullptr);
    void setFiltersInBoth();
    void answerKeyboard(const QStringList& boxes, std::optional<Qt::Key> key, bool ok);

    std::unique_ptr<SettingsModel> model_;
    std::unique_ptr<ButtonMappingPage> page_;
    std::array<QPushButton*, ButtonMappingPage::kRowCount> rows_{};
    std::optional<bool> applyEnabled_;
    int applyCalls_ = 0;
};

void ButtonMappingPageTest::init()
{
    model_ = std::make_unique<SettingsModel>();
    model_->setDefaults();
    applyEnabled_.reset();
    applyCalls_ = 0;
    model_->setApplyListener([this](bool differ) {
        applyEnabled_ = differ;
        ++applyCalls_;
    });
    page_ = std::make_unique<ButtonMappingPage>(*model_);
    // Rows are found once by their description, before anything renames them.
    const auto buttons = page_->findChildren<QPushButton*>();
    for (int i = 0; i < ButtonMappingPage::kRowCount; ++i) {
        for (QPushButton* b : buttons) {
            if (b->accessibleDescription() == kRowLabels[i])
                rows_[static_cast<std::size_t>(i)] = b;
        }
        QVERIFY2(rows_[static_cast<std::size_t>(i)], qPrintable(kRowLabels[i]));
    }
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
}

void ButtonMappingPageTest::cleanup()
{
    page_.reset();
    model_.reset();
}

QPushButton* ButtonMappingPageTest::row(int index) const
{
    return rows_[static_cast<std::size_t>(index)];
}

QCheckBox* ButtonMappingPageTest::leftHandedBox() const
{
    return named<QCheckBox>(page_.get(), QStringLiteral("Left-handed Mode"));
}

QLabel* ButtonMappingPageTest::firstRowLabel() const
{
    for (QLabel* label : page_->findChildren<QLabel*>()) {
        if (label->buddy() == row(0))
            return label;
    }
    return nullptr;
}

void ButtonMappingPageTest::choose(int rowIndex, const QStringList& path, MenuSeen* seen)
{
    auto done = chooseFromMenu(path, seen);
    QTest::mouseClick(row(rowIndex), Qt::LeftButton);
    QTRY_VERIFY(*done);
    QTest::qWait(0);
}

void ButtonMappingPageTest::setFiltersInBoth()
{
    for (std::size_t i = 0; i < 8; ++i) {
        model_->editedSettings.buttons[i].filter = static_cast<std::uint8_t>(10 + i);
        model_->appliedSettings.buttons[i].filter = static_cast<std::uint8_t>(10 + i);
    }
}

// Arms an answer for the next keyboard key dialog: boxes, one key, then OK or Escape.
void ButtonMappingPageTest::answerKeyboard(const QStringList& boxes, std::optional<Qt::Key> key, bool ok)
{
    whenDialogShows<KeyCaptureDialog>([boxes, key, ok](KeyCaptureDialog* dialog) {
        for (const QString& name : boxes)
            clickIndicator(named<QCheckBox>(dialog, name));
        if (key)  // without text: QTest has no character for most keys beyond the letters
            QTest::sendKeyEvent(QTest::Click, dialog, *key, QString(), Qt::NoModifier);
        if (ok)
            QTest::mouseClick(named<QPushButton>(dialog, QStringLiteral("OK")), Qt::LeftButton);
        else
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
}

void ButtonMappingPageTest::rowsShowFactoryCaptionsUnderTheirNames()
{
    const QStringList captions = {"RIGHT CLICK", "MIDDLE CLICK", "FORWARD",
                                  "BACK",        "SCROLL UP",    "SCROLL DOWN"};
    QCOMPARE(page_->currentSlot(), 0);
    for (int i = 0; i < ButtonMappingPage::kRowCount; ++i) {
        QCOMPARE(row(i)->text(), captions[i]);
        QCOMPARE(row(i)->accessibleName(), captions[i]);
    }
    QVERIFY(leftHandedBox());
    QCOMPARE(firstRowLabel()->text(), QStringLiteral("Right Button"));
    page_->refreshFromSettings();
    QCOMPARE(page_->currentSlot(), 1);
    for (int i = 0; i < ButtonMappingPage::kRowCount; ++i)
        QCOMPARE(row(i)->text(), captions[i]);
    // One row under the other, buttons beside their labels.
    for (int i = 1; i < ButtonMappingPage::kRowCount; ++i)
        QVERIFY(row(i)->y() > row(i - 1)->y());
    QVERIFY(row(0)->x() > firstRowLabel()->geometry().right());
}

void ButtonMappingPageTest::menuHasItsEntriesAndOpensBelowTheButton()
{
    MenuSeen seen;
    choose(2, {}, &seen);
    QCOMPARE(seen.topLevel, (QStringList{"MOUSE", "KEYBOARD KEY", "CPI", "MEDIA", "DISABLE"}));
    QCOMPARE(seen.subMenus.value("MOUSE"), (QStringList{"LEFT CLICK", "RIGHT CLICK", "MIDDLE CLICK",
                                                        "FORWARD", "BACK", "SCROLL UP", "SCROLL DOWN"}));
    QCOMPARE(seen.subMenus.value("MEDIA"), (QStringList{"PLAY/PAUSE", "NEXT", "PREVIOUS", "MUTE", "VOLUME UP",
                                                        "VOLUME DOWN", "BROWSER", "EXPLORER"}));
    QCOMPARE(seen.subMenus.value("CPI"), (QStringList{"CPI LOOP", "FIXED CPI"}));
    QCOMPARE(seen.topLeft, row(2)->mapToGlobal(QPoint(0, row(2)->height())));
}

void ButtonMappingPageTest::plainChoicesWriteTheSlotAndCaption_data()
{
    QTest::addColumn<int>("rowIndex");
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<int>("slot");
    QTest::addColumn<ButtonAction>("action");

    QTest::newRow("row 1 left click")
        << 0 << QStringList{"MOUSE", "LEFT CLICK"} << 1 << ButtonAction{0, 1, 0, 0};
    QTest::newRow("row 2 volume up") << 1 << QStringList{"MEDIA", "VOLUME UP"} << 2
                                     << ButtonAction{32, 0xE9, 0, 0};
    QTest::newRow("row 3 browser") << 2 << QStringList{"MEDIA", "BROWSER"} << 3
                                   << ButtonAction{24, 0x96, 1, 0};
    QTest::newRow("row 4 cpi loop") << 3 << QStringList{"CPI", "CPI LOOP"} << 4
                                    << ButtonAction{9, 0xF1, 0, 0};
    QTest::newRow("row 5 disable") << 4 << QStringList{"DISABLE"} << 6 << ButtonAction{255, 0, 0, 0};
    QTest::newRow("row 6 forward") << 5 << QStringList{"MOUSE", "FORWARD"} << 7 << ButtonAction{0, 16, 0, 0};
    QTest::newRow("row 6 back") << 5 << QStringList{"MOUSE", "BACK"} << 7 << ButtonAction{0, 8, 0, 0};
}

void ButtonMappingPageTest::plainChoicesWriteTheSlotAndCaption()
{
    QFETCH(int, rowIndex);
    QFETCH(QStringList, path);
    QFETCH(int, slot);
    QFETCH(ButtonAction, action);

    setFiltersInBoth();
    page_->refreshFromSettings();
    MouseSettings expected = model_->editedSettings;
    expected.buttons[static_cast<std::size_t>(slot)].action = action;

    choose(rowIndex, path);
    QCOMPARE(page_->currentSlot(), slot);
    QVERIFY(model_->editedSettings == expected);  // only the action of that slot, filter kept
    QCOMPARE(row(rowIndex)->text(), path.last());
    QCOMPARE(row(rowIndex)->accessibleName(), path.last());
    QCOMPARE(applyEnabled_, std::optional<bool>(true));
}

void ButtonMappingPageTest::choosingTheStoredActionAgainLeavesApplyOff()
{
    page_->refreshFromSettings();
    choose(1, {"MOUSE", "MIDDLE CLICK"});
    QCOMPARE(applyCalls_, 1);
    QCOMPARE(applyEnabled_, std::optional<bool>(false));
    choose(1, {"MEDIA", "MUTE"});
    QCOMPARE(applyEnabled_, std::optional<bool>(true));
    choose(1, {"MOUSE", "MIDDLE CLICK"});
    QCOMPARE(applyEnabled_, std::optional<bool>(false));
    QCOMPARE(applyCalls_, 3);
}

void ButtonMappingPageTest::fixedCpiOnlyOnButtonRows()
{
    MenuSeen seen;
    choose(4, {}, &seen);
    QCOMPARE(seen.subMenus.value("CPI"), QStringList{"CPI LOOP"});
    choose(5, {}, &seen);
    QCOMPARE(seen.subMenus.value("CPI"), QStringList{"CPI LOOP"});
    for (int r : {0, 1, 1, 2, 3, 3}) {
        choose(r, {}, &seen);
        QCOMPARE(seen.subMenus.value("CPI"), (QStringList{"CPI LOOP", "FIXED CPI"}));
    }
    choose(5, {}, &seen);
    QCOMPARE(seen.subMenus.value("CPI"), QStringList{"CPI LOOP"});
    choose(3, {}, &seen);
    QCOMPARE(seen.subMenus.value("CPI"), (QStringList{"CPI LOOP", "FIXED CPI"}));
}

void ButtonMappingPageTest::closingTheMenuChangesNothing()
{
    page_->refreshFromSettings();
    const MouseSettings before = model_->editedSettings;
    choose(3, {});
    QVERIFY(model_->editedSettings == before);
    QCOMPARE(row(3)->text(), QStringLiteral("BACK"));
    QCOMPARE(applyCalls_, 0);
}

void ButtonMappingPageTest::leftHandedToggleMovesTheActionAndFilters()
{
    setFiltersInBoth();
    page_->refreshFromSettings();
    const MouseSettings factory = model_->editedSettings;

    clickIndicator(leftHandedBox());
    const auto& b = model_->editedSettings.buttons;
    QCOMPARE(b[0].action, (ButtonAction{0, 2, 0, 0}));
    QCOMPARE(b[1].action, (ButtonAction{0, 1, 0, 0}));
    QCOMPARE(int(b[0].filter), 11);
    QCOMPARE(int(b[1].filter), 10);
    QCOMPARE(firstRowLabel()->text(), QStringLiteral("Left Button"));
    QCOMPARE(row(0)->accessibleDescription(), QStringLiteral("Left Button"));
    QCOMPARE(row(0)->text(), QStringLiteral("RIGHT CLICK"));
    QCOMPARE(page_->currentSlot(), 0);
    QCOMPARE(applyEnabled_, std::optional<bool>(true));

    // Row 1 now edits slot 0.
    choose(0, {"MEDIA", "NEXT"});
    QCOMPARE(b[0].action, (ButtonAction{32, 0xB5, 0, 0}));
    QCOMPARE(b[1].action, (ButtonAction{0, 1, 0, 0}));

    clickIndicator(leftHandedBox());
    QCOMPARE(b[1].action, (ButtonAction{32, 0xB5, 0, 0}));
    QCOMPARE(b[0].action, (ButtonAction{0, 1, 0, 0}));
    QCOMPARE(firstRowLabel()->text(), QStringLiteral("Right Button"));
    QCOMPARE(page_->currentSlot(), 1);
    QCOMPARE(row(0)->text(), QStringLiteral("NEXT"));

    // Back to the factory action: on and off again restores actions and filters exactly.
    choose(0, {"MOUSE", "RIGHT CLICK"});
    clickIndicator(leftHandedBox());
    clickIndicator(leftHandedBox());
    QVERIFY(model_->editedSettings == factory);
    QCOMPARE(applyEnabled_, std::optional<bool>(false));
}

void ButtonMappingPageTest::refreshReadsLeftHandedModeAndKeepsUnknownCaptions()
{
    page_->refreshFromSettings();
    choose(0, {"MOUSE", "LEFT CLICK"});  // slot 1 now holds the primary click
    QVERIFY(!leftHandedBox()->isChecked());
    QCOMPARE(page_->currentSlot(), 1);

    model_->editedSettings.buttons[0].action = ButtonAction{0, 8, 0, 0};
    model_->editedSettings.buttons[3].action = ButtonAction{3, 0, 0, 0};  // no caption
    model_->editedSettings.buttons[7].action = ButtonAction{1, 2, 0, 0};  // no caption
    model_->editedSettings.buttons[6].action = ButtonAction{12, 0, 800, 1600};
    const MouseSettings before = model_->editedSettings;
    const int calls = applyCalls_;
    page_->refreshFromSettings();

    QVERIFY(leftHandedBox()->isChecked());
    QCOMPARE(firstRowLabel()->text(), QStringLiteral("Left Button"));
    QCOMPARE(page_->currentSlot(), 0);
    QCOMPARE(row(0)->text(), QStringLiteral("BACK"));
    QCOMPARE(row(2)->text(), QStringLiteral("FORWARD"));
    QCOMPARE(row(5)->text(), QStringLiteral("SCROLL DOWN"));
    QCOMPARE(row(4)->text(), QStringLiteral("X: 800, Y: 1600"));
    QCOMPARE(row(4)->accessibleName(), QStringLiteral("X: 800, Y: 1600"));
    QVERIFY(model_->editedSettings == before);
    QCOMPARE(applyCalls_, calls);

    // Row 1 edits slot 0 after such a refresh; unchecking hands it back to slot 1.
    choose(0, {"MOUSE", "MIDDLE CLICK"});
    QCOMPARE(model_->editedSettings.buttons[0].action, (ButtonAction{0, 4, 0, 0}));
    QCOMPARE(model_->editedSettings.buttons[1].action, (ButtonAction{0, 1, 0, 0}));

    model_->setDefaults();
    page_->refreshFromSettings();
    QVERIFY(!leftHandedBox()->isChecked());
    QCOMPARE(firstRowLabel()->text(), QStringLiteral("Right Button"));
    QCOMPARE(row(0)->text(), QStringLiteral("RIGHT CLICK"));
    QCOMPARE(row(2)->text(), QStringLiteral("FORWARD"));
}

void ButtonMappingPageTest::keyboardKeyCaptionThenDecodedCaption()
{
    setFiltersInBoth();
    page_->refreshFromSettings();
    answerKeyboard({"SHIFT", "CTRL"}, Qt::Key_A, true);
    choose(2, {"KEYBOARD KEY"});
    QCOMPARE(row(2)->text(), QStringLiteral("Shift+Ctrl+A"));
    QCOMPARE(row(2)->accessibleName(), QStringLiteral("Shift+Ctrl+A"));
    QCOMPARE(model_->editedSettings.buttons[3].action, (ButtonAction{2, 3, 4, 0}));
    QCOMPARE(int(model_->editedSettings.buttons[3].filter), 13);
    QCOMPARE(applyEnabled_, std::optional<bool>(true));

    // Read back from the settings, the caption still names both modifiers.
    page_->refreshFromSettings();
    QCOMPARE(row(2)->text(), QStringLiteral("Shift+Ctrl+A"));

    // A captured modifier key adds its own bit.
    answerKeyboard({"CTRL"}, Qt::Key_Shift, true);
    choose(5, {"KEYBOARD KEY"});
    QCOMPARE(row(5)->text(), QStringLiteral("Ctrl+Left Shift"));
    QCOMPARE(model_->editedSettings.buttons[7].action, (ButtonAction{2, 3, 225, 0}));
    page_->refreshFromSettings();
    QCOMPARE(row(5)->text(), QStringLiteral("Ctrl+Left Shift"));

    // Keypad 5 with Num Lock off is the keypad-5 key, not usage 12 ("I").
    answerKeyboard({}, Qt::Key_Clear, true);
    choose(4, {"KEYBOARD KEY"});
    QCOMPARE(row(4)->text(), QStringLiteral("5"));
    QCOMPARE(model_->editedSettings.buttons[6].action, (ButtonAction{2, 0, 0x5D, 0}));
}

void ButtonMappingPageTest::storedUnknownKeyShowsItsNumberAndIsWrittenBackUnchanged()
{
    // Keyboard actions another tool wrote: usages this tool has no name for.
    model_->editedSettings.buttons[3].action = ButtonAction{2, 1 | 4, 0x9C, 0};
    model_->editedSettings.buttons[6].action = ButtonAction{2, 0xF0, 0x0123, 7};
    SettingsBlock stored{};
    encodeSettings(model_->editedSettings, stored);
    page_->refreshFromSettings();
    QCOMPARE(row(2)->text(), QStringLiteral("Ctrl+Alt+Key 0x9C"));
    QCOMPARE(row(4)->text(), QStringLiteral("Key 0x123"));

    // Another row changes; what APPLY writes keeps both actions byte for byte.
    choose(1, {"MOUSE", "BACK"});
    QCOMPARE(applyEnabled_, std::optional<bool>(true));
    SettingsBlock written{};
    encodeSettings(model_->editedSettings, written);
    for (int slot : {3, 6}) {
        const auto at = std::size_t(0x37 + 7 * slot);
        for (std::size_t i = at; i < at + 7; ++i)
            QCOMPARE(int(written[i]), int(stored[i]));
    }
}

void ButtonMappingPageTest::keyboardDialogCancelledOrEmptyChangesNothing_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ok");

    QTest::newRow("escape after a key") << QStringList{"SHIFT"} << int(Qt::Key_B) << false;
    QTest::newRow("ok without key or box") << QStringList{} << 0 << true;
    QTest::newRow("ok with a key that cannot be assigned") << QStringList{} << int(Qt::Key_Sleep) << true;
    QTest::newRow("ok with a box and a key that cannot be assigned")
        << QStringList{"ALT"} << int(Qt::Key_MediaPlay) << true;
}

void ButtonMappingPageTest::keyboardDialogCancelledOrEmptyChangesNothing()
{
    QFETCH(QStringList, boxes);
    QFETCH(int, key);
    QFETCH(bool, ok);

    page_->refreshFromSettings();
    const MouseSettings before = model_->editedSettings;
    answerKeyboard(boxes, key ? std::optional<Qt::Key>(Qt::Key(key)) : std::nullopt, ok);
    choose(3, {"KEYBOARD KEY"});
    QVERIFY(model_->editedSettings == before);
    QCOMPARE(row(3)->text(), QStringLiteral("BACK"));
    QCOMPARE(applyEnabled_, std::optional<bool>(false));
}

void ButtonMappingPageTest::modifierWithoutKeyOfThisOpeningChangesNothing()
{
    page_->refreshFromSettings();
    answerKeyboard({}, Qt::Key_B, true);
    choose(1, {"KEYBOARD KEY"});
    QCOMPARE(row(1)->text(), QStringLiteral("B"));
    const MouseSettings afterFirst = model_->editedSettings;

    // A later opening with a box checked but no key: the B of the earlier one must not be stored.
    answerKeyboard({"SHIFT"}, std::nullopt, true);
    choose(3, {"KEYBOARD KEY"});
    QVERIFY(model_->editedSettings == afterFirst);
    QCOMPARE(row(3)->text(), QStringLiteral("BACK"));

    // Nor the key that decoding a stored keyboard action left behind.
    page_->refreshFromSettings();
    answerKeyboard({"ALT", "WIN"}, std::nullopt, true);
    choose(2, {"KEYBOARD KEY"});
    QVERIFY(model_->editedSettings == afterFirst);
    QCOMPARE(row(2)->text(), QStringLiteral("FORWARD"));
}

void ButtonMappingPageTest::fixedCpiDialogResults()
{
    page_->refreshFromSettings();
    whenDialogShows<FixedCpiDialog>([](FixedCpiDialog* dialog) {
        clickIndicator(named<QCheckBox>(dialog, QStringLiteral("X/Y Settings")));
        for (auto [name, text] : {std::pair{"X value", "800"}, std::pair{"Y value", "1600"}}) {
            auto* edit = named<QLineEdit>(dialog, QString::fromLatin1(name));
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromLatin1(text));
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QTest::mouseClick(named<QPushButton>(dialog, QStringLiteral("OK")), Qt::LeftButton);
    });
    choose(0, {"CPI", "FIXED CPI"});
    QCOMPARE(row(0)->text(), QStringLiteral("X: 800, Y: 1600"));
    QCOMPARE(model_->editedSettings.buttons[1].action, (ButtonAction{12, 0, 800, 1600}));
    QCOMPARE(applyEnabled_, std::optional<bool>(true));

    // The dialog opens at 400 whatever the slot holds.
    whenDialogShows<FixedCpiDialog>([](FixedCpiDialog* dialog) {
        QCOMPARE(named<QLineEdit>(dialog, QStringLiteral("X value"))->text(), QStringLiteral("400"));
        QTest::mouseClick(named<QPushButton>(dialog, QStringLiteral("OK")), Qt::LeftButton);
    });
    choose(0, {"CPI", "FIXED CPI"});
    QCOMPARE(row(0)->text(), QStringLiteral("CPI: 400"));
    QCOMPARE(model_->editedSettings.buttons[1].action, (ButtonAction{12, 0, 400, 400}));
}

void ButtonMappingPageTest::fixedCpiDialogCancelChangesNothing()
{
    page_->refreshFromSettings();
    const MouseSettings before = model_->editedSettings;
    whenDialogShows<FixedCpiDialog>([](FixedCpiDialog* dialog) {
        auto* x = named<QSlider>(dialog, QStringLiteral("X"));
        x->setFocus();
        QTest::keyClick(x, Qt::Key_End);
        QTest::keyClick(x, Qt::Key_Escape);
    });
    choose(3, {"CPI", "FIXED CPI"});
    QVERIFY(model_->editedSettings == before);
    QCOMPARE(row(3)->text(), QStringLiteral("BACK"));
    QCOMPARE(applyEnabled_, std::optional<bool>(false));
}

void ButtonMappingPageTest::leftHandedStateSurvivesDialogAssignments()
{
    model_->editedSettings.buttons[0].action = ButtonAction{0, 2, 0, 0};
    model_->editedSettings.buttons[1].action = ButtonAction{0, 1, 0, 0};
    page_->refreshFromSettings();
    QVERIFY(leftHandedBox()->isChecked());

    whenDialogShows<FixedCpiDialog>([](FixedCpiDialog* dialog) {
        QTest::mouseClick(named<QPushButton>(dialog, QStringLiteral("OK")), Qt::LeftButton);
    });
    choose(2, {"CPI", "FIXED CPI"});
    answerKeyboard({}, Qt::Key_F7, true);
    choose(1, {"KEYBOARD KEY"});
    QVERIFY(leftHandedBox()->isChecked());
    QCOMPARE(firstRowLabel()->text(), QStringLiteral("Left Button"));

    choose(0, {"DISABLE"});
    QCOMPARE(model_->editedSettings.buttons[0].action, (ButtonAction{255, 0, 0, 0}));
    QCOMPARE(model_->editedSettings.buttons[1].action, (ButtonAction{0, 1, 0, 0}));
}

void ButtonMappingPageTest::controlsEnableTogether()
{
    page_->setControlsEnabled(false);
    QVERIFY(!leftHandedBox()->isEnabled());
    for (QPushButton* b : rows_)
        QVERIFY(!b->isEnabled());
    page_->setControlsEnabled(true);
    QVERIFY(leftHandedBox()->isEnabled());
    for (QPushButton* b : rows_)
        QVERIFY(b->isEnabled());
}

void ButtonMappingPageTest::escapeAndEnterStayOnThePage()
{
    // The page inside a dialog, as on the main window: its keys must not close that window.
    QDialog window;
    SettingsModel model;
    model.setDefaults();
    auto* page = new ButtonMappingPage(model, &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(page, Qt::Key_Escape);
    QTest::keyClick(page, Qt::Key_Return);
    QVERIFY(window.isVisible());
    QCOMPARE(window.result(), 0);
}

int main(int argc, char** argv)
{
    lark::test::useOffscreenByDefault();
    QApplication app(argc, argv);
    ButtonMappingPageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ButtonMappingPageTest.moc"
