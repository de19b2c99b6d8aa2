// The window and larkctl agree: every setting set through the window's controls and through
// `larkctl set` leaves the mouse holding the same block; every action reads the same in the
// window's row button and in `larkctl show`; what `larkctl import` refuses, the window does not
// offer, for the same reason.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "WindowRig.h"
#include "cli/Commands.h"
#include "model/ActionText.h"
#include "model/Actions.h"
#include "model/Vocabulary.h"
#include "pages/mapping/ButtonMappingPage.h"
#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/KeyCaptureDialog.h"
#include "settings/SettingsBlock.h"
#include "settings/SettingsModel.h"
#include "pages/mapping/MappingTestSupport.h"
#include "support/InputHelpers.h"
#include "support/ModalHelpers.h"

namespace lark::test {
namespace {

std::string hex(const SettingsBlock& block)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : block) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

// larkctl with its arguments on its own virtual mouse; the exit code, the output in `out`.
int larkctl(VirtualMouse& mouse, RecordingSleeper& sleeper, const std::vector<std::string>& arguments,
            std::string& out, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream output;
    std::ostringstream errors;
    cli::Environment environment{mouse, sleeper, in, output, errors, ""};
    const int code = cli::runLarkctl(arguments, environment);
    out = output.str() + errors.str();
    return code;
}

void clickBox(QCheckBox* box)
{
    QVERIFY(box);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void choose(QComboBox* combo, const QString& text)
{
    chooseEntry(combo, text);
}

void typeInto(QLineEdit* box, const QString& text)
{
    typeOver(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// Arms the answer, then walks the row's menu along `path`.
void chooseAction(WindowRig& rig, const QString& rowCaption, const QStringList& path)
{
    QPushButton* row = rig.find<QPushButton>(rowCaption);
    QVERIFY2(row, qPrintable(rowCaption));
    auto done = chooseFromMenu(path);
    QTest::mouseClick(row, Qt::LeftButton);
    QTRY_VERIFY(*done);
}

struct Case {
    const char* label;
    std::vector<std::string> assignments;   // larkctl set
    std::function<void(WindowRig&)> edit;   // the same through the window's controls
};

QTabWidget* tabs(WindowRig& rig)
{
    return rig.window->findChild<QTabWidget*>();
}

void showTab(WindowRig& rig, int index)
{
    tabs(rig)->setCurrentIndex(index);
}

std::vector<Case> cases()
{
    return {
        {"levels, lift-off, switches",
         {"cpi-levels=2", "lift-off-distance=2mm", "angle-snapping=on", "ripple-control=on"},
         [](WindowRig& r) {
             showTab(r, 0);
             choose(r.find<QComboBox>("CPI Levels"), "2");
             choose(r.find<QComboBox>("LOD"), "2mm");
             clickBox(r.find<QCheckBox>("Angle Snapping"));
             clickBox(r.find<QCheckBox>("Ripple Control"));
         }},
        {"cpi levels, separate axes and one for both",
         {"cpi1=800x1600", "cpi2=1650", "cpi3=824", "cpi4=26000x50"},
         [](WindowRig& r) {
             showTab(r, 0);
             clickBox(r.find<QCheckBox>("X/Y Settings"));
             typeInto(r.find<QLineEdit>("CPI 1 X value"), "800");
             typeInto(r.find<QLineEdit>("CPI 1 Y value"), "1600");
             typeInto(r.find<QLineEdit>("CPI 2 X value"), "1650");
             typeInto(r.find<QLineEdit>("CPI 2 Y value"), "1650");
             typeInto(r.find<QLineEdit>("CPI 3 X value"), "824");
             typeInto(r.find<QLineEdit>("CPI 3 Y value"), "824");
             typeInto(r.find<QLineEdit>("CPI 4 X value"), "26000");
             typeInto(r.find<QLineEdit>("CPI 4 Y value"), "50");
         }},
        {"motion sync at 8000 Hz gives 4000 Hz", {"motion-sync=on"},
         [](WindowRig& r) {
             showTab(r, 1);
             clickBox(r.find<QCheckBox>("Motion Sync"));
         }},
        {"polling rate and slam click", {"polling-rate=2000", "slam-click-filter=off"},
         [](WindowRig& r) {
             showTab(r, 1);
             choose(r.find<QComboBox>("Polling Rate"), "2000Hz");
             clickBox(r.find<QCheckBox>("Slamclick Filter"));
         }},
        {"spdt modes", {"left-spdt=speed", "right-spdt=safe"},
         [](WindowRig& r) {
             showTab(r, 1);
             choose(r.find<QComboBox>("Left Button SPDT"), "KV Speed Mode");
             choose(r.find<QComboBox>("Right Button SPDT"), "KV Safe Mode");
         }},
        {"multiclick filters",
         {"left-multiclick-filter=3", "right-multiclick-filter=25", "middle-multiclick-filter=0",
          "forward-multiclick-filter=12", "back-multiclick-filter=1"},
         [](WindowRig& r) {
             showTab(r, 1);
             typeInto(r.find<QLineEdit>("Left Button Multiclick Filter value"), "3");
             typeInto(r.find<QLineEdit>("Right Button Multiclick Filter value"), "25");
             typeInto(r.find<QLineEdit>("Middle Button Multiclick Filter value"), "0");
             typeInto(r.find<QLineEdit>("Forward Button Multiclick Filter value"), "12");
             typeInto(r.find<QLineEdit>("Back Button Multiclick Filter value"), "1");
         }},
        {"left-handed with its own left button and filters",
         {"left-handed=on", "left-button=VOLUME UP", "left-multiclick-filter=4"},
         [](WindowRig& r) {
             showTab(r, 2);
             clickBox(r.find<QCheckBox>("Left-handed Mode"));
             chooseAction(r, "RIGHT CLICK", {"MEDIA", "VOLUME UP"});
             showTab(r, 1);
             typeInto(r.find<QLineEdit>("Left Button Multiclick Filter value"), "4");
         }},
        {"named actions on every row",
         {"right-button=MIDDLE CLICK", "middle-button=CPI LOOP", "back-button=DISABLE", "wheel-up=NEXT",
          "wheel-down=BROWSER"},
         [](WindowRig& r) {
             showTab(r, 2);
             chooseAction(r, "MIDDLE CLICK", {"CPI", "CPI LOOP"});
             chooseAction(r, "RIGHT CLICK", {"MOUSE", "MIDDLE CLICK"});
             chooseAction(r, "BACK", {"DISABLE"});
             chooseAction(r, "SCROLL UP", {"MEDIA", "NEXT"});
             chooseAction(r, "SCROLL DOWN", {"MEDIA", "BROWSER"});
         }},
        {"a key with modifiers and a fixed CPI", {"forward-button=Shift+Ctrl+F5", "back-button=fixed-cpi:800x1600"},
         [](WindowRig& r) {
             showTab(r, 2);
             whenModalShows([](QWidget* w) {
                 auto* dialog = qobject_cast<KeyCaptureDialog*>(w);
                 QVERIFY(dialog);
                 clickBox(named<QCheckBox>(dialog, "SHIFT"));
                 clickBox(named<QCheckBox>(dialog, "CTRL"));
                 QTest::sendKeyEvent(QTest::Click, dialog, Qt::Key_F5, QString(), Qt::NoModifier);
                 QTest::mouseClick(named<QPushButton>(dialog, "OK"), Qt::LeftButton);
             });
             chooseAction(r, "FORWARD", {"KEYBOARD KEY"});
             whenModalShows([](QWidget* w) {
                 auto* dialog = qobject_cast<FixedCpiDialog*>(w);
                 QVERIFY(dialog);
                 clickBox(named<QCheckBox>(dialog, "X/Y Settings"));
                 typeInto(named<QLineEdit>(dialog, "X value"), "800");
                 typeInto(named<QLineEdit>(dialog, "Y value"), "1600");
                 QTest::mouseClick(named<QPushButton>(dialog, "OK"), Qt::LeftButton);
             });
             chooseAction(r, "BACK", {"CPI", "FIXED CPI"});
         }},
    };
}

}  // namespace

class AgreementTest : public QObject {
    Q_OBJECT

private slots:
    // Each setting through the window and through larkctl set: the same block on the mouse.
    void everySettingWritesTheSameBlockBothWays()
    {
        std::set<std::string> covered;
        for (const Case& c : cases()) {
            const QString label = QString::fromLatin1(c.label);

            WindowRig rig;
            rig.start();
            c.edit(rig);
            QTRY_VERIFY2(rig.applyButton()->isEnabled(), qPrintable(label));
            rig.click(rig.applyButton());
            QCOMPARE(rig.status(), QStringLiteral("Settings applied."));

            RecordingSleeper sleeper;
            VirtualMouse mouse{sleeper.clock()};
            std::vector<std::string> arguments{"set"};
            for (const std::string& assignment : c.assignments) {
                arguments.push_back(assignment);
                covered.insert(assignment.substr(0, assignment.find('=')));
            }
            std::string out;
            QVERIFY2(larkctl(mouse, sleeper, arguments, out) == 0, qPrintable(label + ": " + QString::fromStdString(out)));

            QVERIFY2(hex(rig.mouse.storedBlock()) == hex(mouse.storedBlock()), qPrintable(label));
            MouseSettings window;
            MouseSettings command;
            decodeSettings(rig.mouse.storedBlock(), window);
            decodeSettings(mouse.storedBlock(), command);
            QVERIFY2(window == command, qPrintable(label));
        }
        // A setting added to the vocabulary needs a case here.
        for (const Setting& setting : allSettings())
            QVERIFY2(covered.count(std::string(setting.name)), setting.name.data());
    }

    // Every action the window can show reads the same in larkctl show, unless the caption would
    // name another action (then larkctl's words must still name this one).
    void everyActionReadsTheSameInBothFrontEnds()
    {
        SettingsModel model;
        model.setDefaults();
        ButtonMappingPage page(model);
        QPushButton* middle = named<QPushButton>(&page, "MIDDLE CLICK");
        QVERIFY(middle);
        const Setting& middleButton = *findSetting("middle-button");

        std::vector<ButtonAction> actions;
        for (const NamedAction& named : namedActions())
            actions.push_back(named.action);
        for (std::uint16_t usage = 1; usage <= 0xFF; ++usage)
            for (std::uint8_t modifiers : {0, 1, 2, 3, 4, 8, 15})
                actions.push_back(keyboardAction(usage, modifiers));
        actions.push_back(encodeFixedCpiAction(800, 800));
        actions.push_back(encodeFixedCpiAction(800, 1650));

        int same = 0;
        for (const ButtonAction& action : actions) {
            model.editedSettings.buttons[MiddleSlot].action = action;
            page.refreshFromSettings();
            const std::string shown = middle->text().toStdString();
            const std::string said = settingText(middleButton, model.editedSettings);
            const ActionParse back = parseAction(said);
            QVERIFY2(std::holds_alternative<ButtonAction>(back) && std::get<ButtonAction>(back) == action,
                     said.c_str());
            if (said == shown || said + " " == shown) {
                ++same;
                continue;
            }
            // Only where the window's caption stands for another action, as "Back" (the key)
            // for BACK (the button) or a keypad key for the main block's.
            const ActionParse asShown = parseAction(shown);
            QVERIFY2(!std::holds_alternative<ButtonAction>(asShown) || !(std::get<ButtonAction>(asShown) == action),
                     (shown + " / " + said).c_str());
        }
        QVERIFY(same > static_cast<int>(actions.size()) * 9 / 10);

        // Left-handed mode is the left click on slot 1, whatever its parameters, in both.
        auto* leftHanded = named<QCheckBox>(&page, "Left-handed Mode");
        for (const ButtonAction right : {ButtonAction{0, 1, 0, 0}, ButtonAction{0, 1, 5, 0}, ButtonAction{0, 2, 0, 0},
                                         ButtonAction{2, 1, 0, 0}}) {
            model.editedSettings.buttons[RightSlot].action = right;
            page.refreshFromSettings();
            const bool on = settingText(*findSetting("left-handed"), model.editedSettings) == "on";
            QCOMPARE(leftHanded->isChecked(), on);
            QCOMPARE(on, right.type == 0 && right.code == 1);
        }
    }

    // What import refuses, the window does not offer.
    void whatImportRefusesTheWindowDoesNotOffer()
    {
        WindowRig rig;
        rig.start();

        struct Refusal {
            const char* profile;
            const char* reason;
            std::function<void(WindowRig&)> windowOffersNothing;
        };
        const Refusal refusals[] = {
            {R"({"motion-sync": true, "polling-rate": 8000})", "8000 Hz is not offered while motion sync is on",
             [](WindowRig& r) {
                 showTab(r, 1);
                 clickBox(r.find<QCheckBox>("Motion Sync"));
                 QCOMPARE(r.find<QComboBox>("Polling Rate")->findText("8000Hz"), -1);
                 clickBox(r.find<QCheckBox>("Motion Sync"));
             }},
            {R"({"back-multiclick-filter": 26})", "0 to 25",
             [](WindowRig& r) {
                 showTab(r, 1);
                 QCOMPARE(r.find<QSlider>("Back Button Multiclick Filter")->maximum(),
                          findSetting("back-multiclick-filter")->max);
             }},
            {R"({"wheel-down": "fixed-cpi:800"})", "not the wheel",
             [](WindowRig& r) {
                 showTab(r, 2);
                 MenuSeen seen;
                 auto done = chooseFromMenu({}, &seen);
                 QTest::mouseClick(r.find<QPushButton>("SCROLL DOWN"), Qt::LeftButton);
                 QTRY_VERIFY(*done);
                 QCOMPARE(seen.subMenus.value("CPI"), QStringList{"CPI LOOP"});
             }},
            {R"({"left-spdt": "speed", "left-multiclick-filter": 3})", "not used while left-spdt is speed",
             [](WindowRig& r) {
                 showTab(r, 1);
                 choose(r.find<QComboBox>("Left Button SPDT"), "KV Speed Mode");
                 QVERIFY(!r.find<QLineEdit>("Left Button Multiclick Filter value")->isEnabled());
                 choose(r.find<QComboBox>("Left Button SPDT"), "OFF");
             }},
            {R"({"left-button": "DISABLE"})", "add left-handed=on",
             [](WindowRig& r) {
                 // Right-handed, the first row is the right button: the left one has no row.
                 showTab(r, 2);
                 QVERIFY(r.find<QPushButton>("RIGHT CLICK"));
                 QCOMPARE(r.find<QPushButton>("RIGHT CLICK")->accessibleDescription(), QStringLiteral("Right Button"));
             }},
        };
        for (const Refusal& refusal : refusals) {
            RecordingSleeper sleeper;
            VirtualMouse mouse{sleeper.clock()};
            const SettingsBlock before = mouse.storedBlock();
            const std::string profile =
                std::string(R"({"format": "larkctl-profile", "version": 1, "settings": )") + refusal.profile + "}";
            std::string out;
            QCOMPARE(larkctl(mouse, sleeper, {"import", "-"}, out, profile), 5);
            QVERIFY2(out.find(refusal.reason) != std::string::npos, out.c_str());
            QVERIFY(mouse.storedBlock() == before);
            refusal.windowOffersNothing(rig);
        }
        // None of it reached the window's mouse either.
        QCOMPARE(rig.writesSent(), 0);
    }
};

}  // namespace lark::test

QTEST_MAIN(lark::test::AgreementTest)
#include "AgreementTest.moc"
