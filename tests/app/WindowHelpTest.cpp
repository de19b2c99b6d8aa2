// The window explains itself: the status line in every state, reading the settings again (F5 and
// the context menu), Ctrl+S and the tooltips of every control.
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "FaultRig.h"
#include "pages/advanced/AdvancedSettingsPage.h"
#include "pages/basic/BasicSettingsPage.h"
#include "pages/mapping/ButtonMappingPage.h"
#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/KeyCaptureDialog.h"
#include "widgets/DialogUnits.h"

using namespace lark;
using namespace lark::test;

namespace {

const QString kWaiting =
    QStringLiteral("Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).");
#ifdef Q_OS_WIN
const QString kNoPermission = QStringLiteral(
    "The mouse is here, but held by another program: close that program and press F5 to try again.");
#else
const QString kNoPermission =
    QStringLiteral("The mouse is here, but permission denied: install the udev rule "
                   "(README, \"Using the real mouse\") and replug it.");
#endif
const QString kNotRead = QStringLiteral("The mouse's settings could not be read. Press F5 to try again.");
const QString kUnplugged =
    QStringLiteral("The mouse was unplugged. Plug it in again and it will be found by itself.");
const QString kReading = QStringLiteral("Reading the mouse's settings\u2026");
const QString kAskDiscard = QStringLiteral("Discard the changes and read the mouse's settings again?");

constexpr std::uint8_t kCmdVersion = 0x02;
constexpr std::uint8_t kCmdReadSettings = 0x12;
constexpr std::uint8_t kCmdWriteSettings = 0x11;

// The whole text is shown: it wraps within the label and no line is cut off.
bool fitsTheStatusLine(const QLabel* label)
{
    const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 10000),
                                                           Qt::TextWordWrap, label->text());
    return needed.width() <= label->width() && needed.height() <= label->height();
}

// The commands of the requests sent to the configuration collection, in order.
std::vector<std::uint8_t> requestsSent(const VirtualMouse& mouse)
{
    std::vector<std::uint8_t> commands;
    for (const auto& f : mouse.frameLog())
        if (f.collection == VirtualMouse::Collection::Config && f.direction == VirtualMouse::Direction::Set &&
            f.bytes.size() > 1)
            commands.push_back(f.bytes[1]);
    return commands;
}

// The settings blocks written to the mouse, in order.
std::vector<std::vector<std::uint8_t>> writesSent(const VirtualMouse& mouse)
{
    std::vector<std::vector<std::uint8_t>> writes;
    for (const auto& f : mouse.frameLog())
        if (f.direction == VirtualMouse::Direction::Set && f.reportId == 0xA0 && f.bytes.size() > 1 &&
            f.bytes[1] == kCmdWriteSettings)
            writes.push_back(f.bytes);
    return writes;
}

// What the mouse holds once the test changes it behind the window's back.
SettingsBlock changedBlock()
{
    MouseSettings s;
    decodeSettings(mouseBlock(), s);
    s.cpiLevels[0] = CpiLevel{0, 2000, 2000};
    s.angleSnapping = 1;
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

// Answers each modal window that comes up while it lives, and counts them. Unlike a watcher that
// waits for one, it cannot outlast its case and answer a box of the next one.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> answer)
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++shown;
                answer(modal);
            }
        });
        timer_.start();
    }
    int shown = 0;

private:
    QTimer timer_;
};

void pressF5(FaultRig& rig)
{
    QTest::keyClick(rig.window.get(), Qt::Key_F5);
}

// The controls a user operates under `root`: buttons, check boxes, lists, trackbars and edits,
// without the parts a list is built of.
QList<QWidget*> controlsOf(QWidget* root)
{
    QList<QWidget*> controls;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        bool partOfList = false;
        for (QWidget* up = w->parentWidget(); up && up != root; up = up->parentWidget())
            partOfList = partOfList || qobject_cast<QComboBox*>(up) || qobject_cast<QMenu*>(up);
        if (partOfList)
            continue;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractSlider*>(w) || qobject_cast<QLineEdit*>(w))
            controls << w;
    }
    return controls;
}

// The label that shows the captured key's name.
QWidget* keyNameLabel(QWidget* dialog)
{
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label->accessibleDescription() == QStringLiteral("Key"))
            return label;
    return nullptr;
}

}  // namespace

class WindowHelpTest : public QObject {
    Q_OBJECT

private slots:
    void statusSaysWhatTheWindowWaitsForInEveryState()
    {
        struct Case {
            const char* state;
            std::function<void(FaultRig&)> before;  // before the window starts
            std::function<void(FaultRig&)> after;   // once it has started
            QString status;
            bool connected;
        };
        const auto nothing = [](FaultRig&) {};
        const std::vector<Case> cases = {
            {"no mouse", [](FaultRig& r) { r.mouse.unplug(); }, nothing, kWaiting, false},
            {"permission denied",
             [](FaultRig& r) {
                 r.mouse.fail(VirtualMouse::Call::Open, HidError::PermissionDenied, VirtualMouse::kForever);
             },
             nothing, kNoPermission, false},
            {"settings unread", [](FaultRig& r) { r.backend.plan(kCmdReadSettings, Fault::FatalGet); },
             nothing, kNotRead, true},
            {"connected", nothing, nothing, QString(), true},
            {"unplugged while connected", nothing,
             [](FaultRig& r) {
                 r.mouse.unplug();
                 r.settle();
             },
             kUnplugged, false},
        };
        for (const Case& c : cases) {
            FaultRig rig;
            c.before(rig);
            rig.start();
            c.after(rig);
            QLabel* status = rig.window->statusLabel();
            QVERIFY2(QTest::qWaitFor([&] { return status->text() == c.status; }), c.state);
            QCOMPARE(rig.controlsEnabled(), c.connected);
            QCOMPARE(status->accessibleName(), c.status);
            QCOMPARE(status->accessibleDescription(), QStringLiteral("Status"));
            QVERIFY2(fitsTheStatusLine(status), c.state);
        }
    }

    void anEditKeepsTheHintOfAnUnreadMouse()
    {
        FaultRig rig;
        rig.backend.plan(kCmdReadSettings, Fault::FatalGet);
        rig.start();
        QCOMPARE(rig.status(), kNotRead);
        QTest::mouseClick(rig.box("Angle Snapping"), Qt::LeftButton);
        QVERIFY(rig.applyButton()->isEnabled());
        QCOMPARE(rig.status(), kNotRead);

        // Once the mouse's settings are known, an edit clears an old message.
        rig.backend.clearPlan();
        rig.click(rig.applyButton());
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
        QTest::mouseClick(rig.box("Angle Snapping"), Qt::LeftButton);
        QCOMPARE(rig.status(), QString());
    }

    void f5ReadsTheSettingsAgainAndUnsticksAnUnreadMouse()
    {
        FaultRig rig;
        rig.backend.plan(kCmdReadSettings, Fault::FatalGet);
        rig.start();
        QVERIFY(rig.defaultsShown());
        QCOMPARE(rig.status(), kNotRead);

        // The busy state is on the status line while the read runs.
        QStringList shownWhileBusy;
        connect(&rig.session, &SessionRunner::busyChanged, rig.window.get(),
                [&](bool busy, SessionOperation operation) {
                    if (busy && operation == SessionOperation::ReadAgain)
                        shownWhileBusy << rig.status();
                });

        rig.backend.clearPlan();
        rig.mouse.setStoredBlock(changedBlock());
        rig.mouse.clearFrameLog();
        ModalAnswerer boxes([](QWidget* w) { w->close(); });
        pressF5(rig);
        QCOMPARE(boxes.shown, 0);  // nothing was edited: nothing to ask
        rig.settle();

        QCOMPARE(shownWhileBusy, QStringList{kReading});
        QCOMPARE(requestsSent(rig.mouse), (std::vector<std::uint8_t>{kCmdVersion, kCmdReadSettings}));
        QCOMPARE(rig.edit("CPI 1 X value")->text(), QStringLiteral("2000"));
        QVERIFY(rig.box("Angle Snapping")->isChecked());
        QCOMPARE(rig.status(), QString());
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(writesSent(rig.mouse).empty());
    }

    void readingAgainAsksFirstWhenEditsWouldBeLost()
    {
        struct Case {
            const char* name;
            bool edit;
            std::optional<QMessageBox::StandardButton> answer;  // none: no question expected
            bool reads;
        };
        const Case cases[] = {
            {"no edits", false, std::nullopt, true},
            {"edits, No", true, QMessageBox::No, false},
            {"edits, Yes", true, QMessageBox::Yes, true},
        };
        for (const Case& c : cases) {
            FaultRig rig;
            rig.start();
            if (c.edit)
                rig.makeEdits();
            rig.mouse.clearFrameLog();

            QString asked;
            ModalAnswerer boxes([&](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box) {
                    w->close();
                    return;
                }
                asked = box->text();
                box->button(c.answer.value_or(QMessageBox::No))->click();
            });
            pressF5(rig);
            // The question is modal: it has been answered by the time the key returns.
            QVERIFY2(boxes.shown == (c.answer ? 1 : 0), c.name);
            if (c.answer)
                QCOMPARE(asked, kAskDiscard);
            rig.settle();

            const auto expected = c.reads ? std::vector<std::uint8_t>{kCmdVersion, kCmdReadSettings}
                                          : std::vector<std::uint8_t>{};
            QVERIFY2(requestsSent(rig.mouse) == expected, c.name);
            if (c.reads) {
                QVERIFY2(rig.mouseSettingsShown(), c.name);
                QVERIFY2(!rig.applyButton()->isEnabled(), c.name);
            } else {
                QVERIFY2(rig.editsShown(), c.name);
                QVERIFY2(rig.applyButton()->isEnabled(), c.name);
            }
        }
    }

    void theBackgroundMenuReadsAgain()
    {
        FaultRig rig;
        rig.start();
        rig.mouse.setStoredBlock(changedBlock());
        rig.mouse.clearFrameLog();

        const DialogUnits du;
        const QPoint background(du.x(200), du.y(80));  // between the Info group and the tabs
        QCOMPARE(rig.window->childAt(background), nullptr);
        QString entry;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            // Read again, then the profiles, then About, each with its shortcut.
            QStringList entries;
            for (QAction* a : menu->actions())
                if (!a->isSeparator())
                    entries << a->text() + QLatin1Char('=') + a->shortcut().toString();
            QCOMPARE(entries,
                     (QStringList{QStringLiteral("Read settings again=F5"),
                                  QStringLiteral("Save profile…=Ctrl+Shift+S"),
                                  QStringLiteral("Load profile…=Ctrl+O"), QStringLiteral("About…=F1")}));
            QAction* action = menu->actions().first();
            entry = action->text();
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, background, rig.window->mapToGlobal(background));
        QApplication::sendEvent(rig.window.get(), &event);
        rig.settle();

        QCOMPARE(entry, QStringLiteral("Read settings again"));
        QCOMPARE(requestsSent(rig.mouse), (std::vector<std::uint8_t>{kCmdVersion, kCmdReadSettings}));
        QCOMPARE(rig.edit("CPI 1 X value")->text(), QStringLiteral("2000"));
    }

    void ctrlSAppliesExactlyAsTheApplyClick()
    {
        // The same edit, the CPI still being typed when APPLY is asked for, by mouse and by key.
        struct Result {
            std::vector<std::vector<std::uint8_t>> writes;
            QString shown;
            QString status;
        };
        auto run = [](bool byKey) {
            FaultRig rig;
            rig.start();
            QTest::mouseClick(rig.box("Angle Snapping"), Qt::LeftButton);
            QLineEdit* cpi = rig.edit("CPI 2 X value");
            cpi->setFocus();
            QTest::keyClick(cpi, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(cpi, QStringLiteral("1234"));
            rig.mouse.clearFrameLog();
            if (byKey)
                QTest::keyClick(cpi, Qt::Key_S, Qt::ControlModifier);
            else
                QTest::mouseClick(rig.applyButton(), Qt::LeftButton);
            rig.settle();
            return Result{writesSent(rig.mouse), cpi->text(), rig.status()};
        };
        const Result clicked = run(false);
        const Result keyed = run(true);
        QCOMPARE(clicked.writes.size(), std::size_t(1));
        QVERIFY(keyed.writes == clicked.writes);
        QCOMPARE(keyed.shown, QStringLiteral("1250"));
        QCOMPARE(keyed.shown, clicked.shown);
        QCOMPARE(keyed.status, QStringLiteral("Settings applied."));
        QCOMPARE(keyed.status, clicked.status);
    }

    void ctrlSDoesNothingWhileApplyIsDisabled()
    {
        const std::vector<std::pair<const char*, std::function<void(FaultRig&)>>> cases = {
            {"nothing edited", [](FaultRig&) {}},
            {"no mouse",
             [](FaultRig& r) {
                 r.makeEdits();
                 r.mouse.unplug();
                 r.settle();
             }},
        };
        for (const auto& [name, prepare] : cases) {
            FaultRig rig;
            rig.start();
            prepare(rig);
            QVERIFY2(!rig.applyButton()->isEnabled(), name);
            const QString before = rig.status();
            rig.mouse.clearFrameLog();
            QTest::keyClick(rig.window.get(), Qt::Key_S, Qt::ControlModifier);
            rig.settle();
            QVERIFY2(requestsSent(rig.mouse).empty(), name);
            QCOMPARE(rig.status(), before);
        }
    }

    void everyControlHasATooltipOfItsOwn()
    {
        FaultRig rig;
        rig.start();
        KeyCaptureState capture;
        KeyCaptureDialog keyDialog(capture, rig.window.get());
        FixedCpiDialog cpiDialog(rig.window.get());

        const std::vector<std::pair<QString, QList<QWidget*>>> windows = {
            {QStringLiteral("main window"), {rig.applyButton(), rig.resetButton()}},
            {QStringLiteral("Basic Settings"), controlsOf(rig.window->basicPage())},
            {QStringLiteral("Advanced Settings"), controlsOf(rig.window->advancedPage())},
            {QStringLiteral("Button Mapping"), controlsOf(rig.window->mappingPage())},
            {QStringLiteral("KEYBOARD KEY"), controlsOf(&keyDialog) << keyNameLabel(&keyDialog)},
            {QStringLiteral("FIXED CPI"), controlsOf(&cpiDialog)},
        };
        const std::map<QString, int> expectedCount = {
            {QStringLiteral("main window"), 2},        {QStringLiteral("Basic Settings"), 21},
            {QStringLiteral("Advanced Settings"), 15}, {QStringLiteral("Button Mapping"), 7},
            {QStringLiteral("KEYBOARD KEY"), 6},       {QStringLiteral("FIXED CPI"), 6},
        };
        for (const auto& [window, controls] : windows) {
            QCOMPARE(controls.size(), expectedCount.at(window));
            // A tooltip is shared only by a trackbar and its value edit, which set one value.
            std::map<QString, QStringList> sharing;
            for (QWidget* control : controls) {
                QVERIFY(control);
                const QString where = window + QStringLiteral(": ") + control->accessibleName() +
                                      QStringLiteral(" ") + control->accessibleDescription();
                QVERIFY2(!control->toolTip().trimmed().isEmpty(), qPrintable(where));
                sharing[control->toolTip()] << control->accessibleName();
                // A trackbar's tooltip gives its range, in CPI where it sets one.
                if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
                    const QString top = QString::number(slider->maximum());
                    const QString topCpi = QString::number(slider->maximum() * 50);
                    QVERIFY2(control->toolTip().contains(top) || control->toolTip().contains(topCpi),
                             qPrintable(where));
                }
            }
            for (auto& [tip, names] : sharing) {
                names.sort();
                const bool pair = names.size() == 2 && names[1] == names[0] + QStringLiteral(" value");
                QVERIFY2(names.size() == 1 || pair,
                         qPrintable(window + QStringLiteral(": ") + names.join(", ")));
            }
        }
    }
};

QTEST_MAIN(WindowHelpTest)
#include "WindowHelpTest.moc"
