#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "WindowRig.h"
#include "support/ModalHelpers.h"

using namespace lark;
using namespace lark::test;

namespace {

const QString kMissedNothingSent = QStringLiteral(
    "Mouse not found, so nothing was sent; your changes are kept. Check that it is plugged in and try again.");

bool controlsOn(const WindowRig& rig)
{
    return rig.window->tabs()->tabBar()->isEnabled() && rig.resetButton()->isEnabled();
}

SettingsBlock encoded(const MouseSettings& settings)
{
    SettingsBlock block{};
    encodeSettings(settings, block);
    return block;
}

// Replaces an edit's text as a user would: select all, type.
void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void pressKeys(QWidget* w, Qt::Key key, int times)
{
    w->setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(w, key);
}

SettingsBlock blockWithOpaqueBytes()
{
    MouseSettings s;
    setDefaults(s);
    for (int i = 0; i < kOpaque0FSize; ++i)
        s.opaque0F[i] = static_cast<std::uint8_t>(0x10 + i);
    s.cpiLevels[0] = CpiLevel{0, 800, 800};
    s.angleSnapping = 1;
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

}  // namespace

class ApplyFlowTest : public QObject {
    Q_OBJECT

private slots:
    void editsOnBothPagesReachTheMouseByteForByte()
    {
        WindowRig rig;
        rig.start();

        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("X/Y Settings")), Qt::LeftButton);
        typeInto(rig.find<QLineEdit>(QStringLiteral("CPI 2 Y value")), QStringLiteral("900"));
        typeInto(rig.find<QLineEdit>(QStringLiteral("CPI 4 Y value")), QStringLiteral("3300"));

        rig.window->tabs()->setCurrentIndex(1);
        pressKeys(rig.find<QComboBox>(QStringLiteral("Polling Rate")), Qt::Key_Up, 2);  // 8000 -> 2000 Hz
        pressKeys(rig.find<QSlider>(QStringLiteral("Left Button Multiclick Filter")), Qt::Key_Left,
                  3);  // 8 -> 5
        pressKeys(rig.find<QComboBox>(QStringLiteral("Right Button SPDT")), Qt::Key_Down,
                  1);  // KV Speed Mode

        QVERIFY(rig.applyButton()->isEnabled());
        rig.click(rig.applyButton());

        MouseSettings expected;
        setDefaults(expected);
        expected.pollingInterval = 4;
        expected.buttons[LeftSlot].filter = 5;
        expected.buttons[RightSlot].filter = 0xF1;
        expected.cpiLevels[1] = CpiLevel{1, 800, 900};
        expected.cpiLevels[3] = CpiLevel{1, 3200, 3300};
        SettingsBlock expectedBlock{};
        encodeSettings(expected, expectedBlock);
        QVERIFY(rig.mouse.storedBlock() == expectedBlock);

        QCOMPARE(rig.writesSent(), 1);
        // A read first: the mouse may hold what another program wrote since.
        QCOMPARE(rig.sleeper.waits(), (std::vector<unsigned>{80, 300}));
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(rig.model.appliedSettings == rig.model.editedSettings);
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
    }

    void aTypedValueIsCommittedWhenApplyTakesTheFocus()
    {
        WindowRig rig;
        rig.start();
        auto* edit = rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"));
        typeInto(edit, QStringLiteral("1234"));
        QCOMPARE(edit->text(), QStringLiteral("1234"));
        rig.click(rig.applyButton());

        MouseSettings written;
        decodeSettings(rig.mouse.storedBlock(), written);
        QCOMPARE(written.cpiLevels[0].x, std::uint16_t(1250));
        QCOMPARE(written.cpiLevels[0].y, std::uint16_t(1250));  // linked axes follow
        QCOMPARE(edit->text(), QStringLiteral("1250"));
    }

    // A screen reader replaces an edit's text without giving it the focus, so APPLY finds the
    // text as it is: one the page cannot read stops APPLY before anything is written.
    void aValueThePageCannotReadStopsApplyBeforeAnyWrite()
    {
        WindowRig rig;
        rig.start();
        const SettingsBlock before = rig.mouse.storedBlock();
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Ripple Control")), Qt::LeftButton);
        rig.applyButton()->setFocus();

        auto* edit = rig.find<QLineEdit>(QStringLiteral("CPI 2 X value"));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(edit);
        QVERIFY(accessible && accessible->editableTextInterface());
        accessible->editableTextInterface()->replaceText(0, edit->text().size(), QString());
        QCOMPARE(edit->text(), QString());
        QVERIFY(!edit->hasFocus());

        QString warning;
        const auto warned = acceptNextMessageBox(&warning);
        rig.click(rig.applyButton());

        QVERIFY(*warned);
        QCOMPARE(warning, QStringLiteral("Enter a positive integer."));
        QCOMPARE(rig.status(),
                 QStringLiteral("Nothing was written: correct the value on the page first."));
        QCOMPARE(rig.writesSent(), 0);
        QVERIFY(rig.mouse.storedBlock() == before);
        QVERIFY(rig.model.appliedSettings.rippleControl == 0);
        QVERIFY(rig.applyButton()->isEnabled());

        // Corrected, the same APPLY writes the edits once.
        typeInto(edit, QStringLiteral("900"));
        rig.click(rig.applyButton());
        QCOMPARE(rig.writesSent(), 1);
        MouseSettings written;
        decodeSettings(rig.mouse.storedBlock(), written);
        QCOMPARE(written.rippleControl, std::uint8_t(1));
        QCOMPARE(written.cpiLevels[1].x, std::uint16_t(900));
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
    }

    void aRefusedWriteIsTriedAgainWithALongerWait()
    {
        WindowRig rig;
        rig.start();
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Ripple Control")), Qt::LeftButton);
        rig.mouse.refuseWrites(1);
        rig.click(rig.applyButton());

        QCOMPARE(rig.writesSent(), 2);
        QCOMPARE(rig.sleeper.waits(), (std::vector<unsigned>{80, 300, 350}));
        QVERIFY(!rig.applyButton()->isEnabled());
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
    }

    void threeRefusalsKeepTheChangesUnapplied()
    {
        WindowRig rig;
        rig.start();
        const MouseSettings before = rig.model.appliedSettings;
        auto* ripple = rig.find<QCheckBox>(QStringLiteral("Ripple Control"));
        QTest::mouseClick(ripple, Qt::LeftButton);
        rig.mouse.refuseWrites(3);
        rig.click(rig.applyButton());

        QCOMPARE(rig.writesSent(), 3);
        QCOMPARE(rig.sleeper.waits(), (std::vector<unsigned>{80, 300, 350, 400}));
        QVERIFY(rig.applyButton()->isEnabled());
        QVERIFY(rig.model.appliedSettings == before);
        QCOMPARE(rig.status(),
                 QStringLiteral("The mouse did not accept the settings. Press APPLY to try again."));

        // An unrelated edit and its undo must not hide the change the mouse never got.
        auto* snapping = rig.find<QCheckBox>(QStringLiteral("Angle Snapping"));
        QTest::mouseClick(snapping, Qt::LeftButton);
        QCOMPARE(rig.status(), QString());
        QTest::mouseClick(snapping, Qt::LeftButton);
        QVERIFY(rig.applyButton()->isEnabled());

        rig.click(rig.applyButton());
        QVERIFY(!rig.applyButton()->isEnabled());
        QCOMPARE(rig.model.appliedSettings.rippleControl, std::uint8_t(1));
    }

    // APPLY that misses the mouse (its removal notice not come, or one failed open) keeps the
    // edits, the controls and APPLY, and says so; pressed again with the mouse back, it writes.
    // When the mouse is really gone, its removal still disconnects and its return is an arrival.
    void applyThatMissesTheMouseKeepsTheEditsForAnotherTry()
    {
        WindowRig rig;
        rig.start();
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Angle Snapping")), Qt::LeftButton);
        const MouseSettings edited = rig.model.editedSettings;
        const MouseSettings applied = rig.model.appliedSettings;
        rig.mouse.setHotplugCallback(nullptr);  // no notices: the mouse seems to stay
        rig.mouse.unplug();
        rig.click(rig.applyButton());

        QVERIFY(rig.model.editedSettings == edited);
        QVERIFY(rig.model.appliedSettings == applied);
        QVERIFY(rig.applyButton()->isEnabled());
        QVERIFY(rig.resetButton()->isEnabled());
        QVERIFY(controlsOn(rig));
        QVERIFY(rig.find<QCheckBox>(QStringLiteral("Angle Snapping"))->isChecked() !=
                bool(applied.angleSnapping));
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
        QCOMPARE(rig.writesSent(), 0);
        QCOMPARE(rig.status(), kMissedNothingSent);

        rig.mouse.plug();
        rig.click(rig.applyButton());
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
        QVERIFY(rig.mouse.storedBlock() == encoded(edited));
        QVERIFY(!rig.applyButton()->isEnabled());

        // Gone for good: missed again, then its removal notice comes and disconnects.
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Angle Snapping")), Qt::LeftButton);
        rig.mouse.unplug();
        rig.click(rig.applyButton());
        QCOMPARE(rig.status(), kMissedNothingSent);
        QVERIFY(controlsOn(rig));
        emit rig.hotplug.deviceRemoved(QString::fromStdString(VirtualMouse::pathOf(VirtualMouse::Collection::Config)));
        rig.settle();
        QVERIFY(!controlsOn(rig));
        QVERIFY(!rig.applyButton()->isEnabled());

        // Its return is seen.
        rig.mouse.setHotplugCallback([&rig](bool arrival, const std::string& path) {
            if (arrival)
                emit rig.hotplug.deviceArrived(QString::fromStdString(path));
        });
        rig.mouse.plug();
        rig.settle();
        QVERIFY(rig.resetButton()->isEnabled());
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
    }

    // Another program wrote the mouse and said nothing: APPLY still writes nothing over what it
    // has not seen. The user's edit is laid over what the mouse holds now, and the pages show it.
    void applyAfterAnUnannouncedOutsideWriteKeepsIt()
    {
        WindowRig rig;
        rig.start();
        MouseSettings outside;
        decodeSettings(rig.mouse.storedBlock(), outside);
        outside.pollingInterval = 8;  // 1000 Hz
        outside.angleSnapping = 1;
        SettingsBlock block = rig.mouse.storedBlock();
        encodeSettings(outside, block);
        rig.mouse.setStoredBlock(block);

        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Ripple Control")), Qt::LeftButton);
        rig.click(rig.applyButton());

        MouseSettings expected = outside;
        expected.rippleControl = 1;
        MouseSettings stored;
        decodeSettings(rig.mouse.storedBlock(), stored);
        QVERIFY(stored == expected);
        QCOMPARE(rig.writesSent(), 1);
        QVERIFY(rig.model.editedSettings == expected);
        QVERIFY(rig.model.appliedSettings == expected);
        QVERIFY(rig.find<QCheckBox>(QStringLiteral("Angle Snapping"))->isChecked());
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("Polling Rate"))->currentText(), QStringLiteral("1000Hz"));
        QVERIFY(!rig.applyButton()->isEnabled());
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
    }

    // After a confirmed reset the window shows what the mouse holds: the factory settings, and
    // whatever its factory left in the bytes the tool never shows.
    void factoryResetShowsWhatTheMouseHoldsAfterIt()
    {
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWithOpaqueBytes());
        std::array<std::uint8_t, kOpaque0FSize> factoryOpaque{};
        factoryOpaque[19] = 0x5A;
        rig.mouse.setFactoryOpaque(factoryOpaque);
        rig.start();
        auto* edit = rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"));
        QCOMPARE(edit->text(), QStringLiteral("800"));
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Ripple Control")), Qt::LeftButton);
        QVERIFY(rig.applyButton()->isEnabled());

        rig.click(rig.resetButton());

        QCOMPARE(rig.mouse.storedBlock(), rig.mouse.factoryBlock());
        MouseSettings held;
        decodeSettings(rig.mouse.factoryBlock(), held);
        MouseSettings defaults = held;
        setDefaults(defaults);
        QVERIFY(held == defaults);
        QVERIFY(rig.model.editedSettings == held);
        QVERIFY(rig.model.appliedSettings == held);
        QCOMPARE(rig.model.editedSettings.opaque0F[19], std::uint8_t(0x5A));
        QCOMPARE(edit->text(), QStringLiteral("400"));
        QVERIFY(!rig.find<QCheckBox>(QStringLiteral("Angle Snapping"))->isChecked());
        QVERIFY(!rig.find<QCheckBox>(QStringLiteral("Ripple Control"))->isChecked());
        QVERIFY(!rig.applyButton()->isEnabled());
        // The reset's wait, then the read's.
        QCOMPARE(rig.sleeper.waits(), (std::vector<unsigned>{200, 80}));
        QCOMPARE(rig.status(), QStringLiteral("Factory settings restored."));
    }

    void aResetThatCannotBeSentChangesNothingButTheStatus()
    {
        WindowRig rig;
        rig.start();
        auto* edit = rig.find<QLineEdit>(QStringLiteral("CPI 1 X value"));
        typeInto(edit, QStringLiteral("1000"));
        QTest::keyClick(edit, Qt::Key_Return);
        const MouseSettings edited = rig.model.editedSettings;
        QVERIFY(rig.applyButton()->isEnabled());

        rig.mouse.fail(VirtualMouse::Call::Set, HidError::Other, 1);
        rig.click(rig.resetButton());

        QVERIFY(rig.model.editedSettings == edited);
        QCOMPARE(edit->text(), QStringLiteral("1000"));
        QVERIFY(rig.applyButton()->isEnabled());
        QVERIFY(rig.sleeper.waits().empty());
        QVERIFY(rig.frames(VirtualMouse::Direction::Get, 0xA1).empty());
        QCOMPARE(rig.status(), QStringLiteral("The factory reset could not be sent to the mouse."));
    }

    void aResetWithTheMouseGoneChangesNothingButTheStatus()
    {
        WindowRig rig;
        rig.start();
        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Ripple Control")), Qt::LeftButton);
        const MouseSettings edited = rig.model.editedSettings;
        rig.mouse.setHotplugCallback(nullptr);
        rig.mouse.unplug();
        rig.click(rig.resetButton());
        QVERIFY(rig.model.editedSettings == edited);
        QVERIFY(rig.resetButton()->isEnabled());
        QVERIFY(rig.applyButton()->isEnabled());
        QCOMPARE(rig.status(), kMissedNothingSent);
    }
};

QTEST_MAIN(ApplyFlowTest)
#include "ApplyFlowTest.moc"
