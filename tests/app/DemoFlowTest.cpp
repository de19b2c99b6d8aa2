#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "WindowRig.h"
#include "demo/VirtualMousePanel.h"

using namespace lark;
using namespace lark::test;

// The demo's whole road through its two windows: edit, APPLY, unplug, plug, edit, APPLY.
class DemoFlowTest : public QObject {
    Q_OBJECT

private slots:
    void editApplyUnplugPlugApply()
    {
        WindowRig rig;
        rig.start();
        VirtualMousePanel panel(rig.mouse);
        panel.show();
        auto* unplug = named<QPushButton>(&panel, QStringLiteral("Unplug"));
        auto* plug = named<QPushButton>(&panel, QStringLiteral("Plug"));
        QVERIFY(unplug && plug);

        auto* snapping = rig.find<QCheckBox>(QStringLiteral("Angle Snapping"));
        QTest::mouseClick(snapping, Qt::LeftButton);
        rig.click(rig.applyButton());
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));

        QTest::mouseClick(unplug, Qt::LeftButton);
        QTRY_VERIFY(!rig.resetButton()->isEnabled());
        rig.settle();
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(!snapping->isEnabled());
        QCOMPARE(rig.window->firmwareLabel()->text(), QString());
        QVERIFY(snapping->isChecked());  // the pages keep the last settings

        QTest::mouseClick(plug, Qt::LeftButton);
        QTRY_VERIFY(rig.resetButton()->isEnabled());
        rig.settle();
        QCOMPARE(rig.window->firmwareLabel()->text(), QStringLiteral("V1.06"));
        QVERIFY(snapping->isChecked());  // read back from the mouse
        QVERIFY(!rig.applyButton()->isEnabled());

        QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Ripple Control")), Qt::LeftButton);
        rig.click(rig.applyButton());
        QCOMPARE(rig.status(), QStringLiteral("Settings applied."));
        MouseSettings onMouse;
        decodeSettings(rig.mouse.storedBlock(), onMouse);
        QCOMPARE(onMouse.angleSnapping, std::uint8_t(1));
        QCOMPARE(onMouse.rippleControl, std::uint8_t(1));
    }

    void thePollingRateButtonReachesTheAdvancedPage()
    {
        WindowRig rig;
        rig.start();
        VirtualMousePanel panel(rig.mouse);
        auto* button = named<QPushButton>(&panel, QStringLiteral("Polling rate button"));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);  // 8000 -> 1000 Hz
        QTRY_COMPARE(rig.model.editedSettings.pollingInterval, std::uint8_t(8));
        QCOMPARE(rig.model.appliedSettings.pollingInterval, std::uint8_t(8));
        MouseSettings onMouse;
        decodeSettings(rig.mouse.storedBlock(), onMouse);
        QCOMPARE(onMouse.pollingInterval, std::uint8_t(8));
        QVERIFY(!rig.applyButton()->isEnabled());
    }
};

QTEST_MAIN(DemoFlowTest)
#include "DemoFlowTest.moc"
