#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

#include "WindowRig.h"
#include "device/OutsideAccess.h"
#include "session/MouseSession.h"

using namespace lark;
using namespace lark::test;

namespace {

// larkctl's part: a session of its own on the same mouse, under the mouse's lock, that writes
// `change` and then announces the write.
void writeFromOutside(VirtualMouse& mouse, const QString& runtime,
                      const std::function<void(MouseSettings&)>& change)
{
    RecordingSleeper sleeper;
    MouseSession outside(mouse, sleeper);
    QCOMPARE(outside.start(), SessionOutcome::Connected);
    change(outside.model().editedSettings);
    QCOMPARE(outside.apply(), SessionOutcome::Applied);
    outside.stopListener();
    QVERIFY(announceOutsideWrite(runtime.toStdString()));
}

MouseSettings storedSettings(const VirtualMouse& mouse)
{
    MouseSettings s;
    decodeSettings(mouse.storedBlock(), s);
    return s;
}

}  // namespace

class OutsideWriteTest : public QObject {
    Q_OBJECT

private slots:
    void anOutsideWriteIsShownAndTheUsersEditsStay()
    {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        WindowRig rig;
        rig.outsideWriteDirectory = runtime.path();
        rig.start();

        // The user's edit, not applied: left multiclick filter 8 -> 5.
        rig.window->tabs()->setCurrentIndex(1);
        auto* filter = rig.find<QSlider>(QStringLiteral("Left Button Multiclick Filter"));
        filter->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(filter, Qt::Key_Left);
        QVERIFY(rig.applyButton()->isEnabled());

        writeFromOutside(rig.mouse, runtime.path(), [](MouseSettings& s) { s.liftOffDistance = 2; });

        auto* lod = rig.find<QComboBox>(QStringLiteral("LOD"));
        QTRY_COMPARE_WITH_TIMEOUT(lod->currentText(), QStringLiteral("2mm"), 20000);
        rig.settle();
        QCOMPARE(rig.model.appliedSettings.liftOffDistance, 2);
        QCOMPARE(filter->value(), 5);
        QVERIFY(rig.applyButton()->isEnabled());

        // APPLY now carries both: the outside change and the user's edit.
        rig.click(rig.applyButton());
        const MouseSettings stored = storedSettings(rig.mouse);
        QCOMPARE(stored.liftOffDistance, 2);
        QCOMPARE(stored.buttons[LeftSlot].filter, rig.model.editedSettings.buttons[LeftSlot].filter);
        QVERIFY(!rig.applyButton()->isEnabled());
    }

    // An edit made while the re-read after an outside write runs is kept, not reverted.
    void anEditDuringTheRereadStays()
    {
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        WindowRig rig;
        rig.outsideWriteDirectory = runtime.path();
        rig.start();
        writeFromOutside(rig.mouse, runtime.path(), [](MouseSettings& s) { s.liftOffDistance = 2; });
        {
            // Another program holds the mouse: the re-read waits at the lock while the user edits.
            const ExchangeLock hold(VirtualMouse::pathOf(VirtualMouse::Collection::Config), [] {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                return false;
            });
            QTRY_VERIFY_WITH_TIMEOUT(rig.session.isBusy(), 20000);
            auto* snapping = rig.find<QCheckBox>(QStringLiteral("Angle Snapping"));
            QTest::mouseClick(snapping, Qt::LeftButton, {}, QPoint(6, snapping->height() / 2));
            QVERIFY(snapping->isChecked());
        }
        rig.settle();
        QCOMPARE(rig.find<QComboBox>(QStringLiteral("LOD"))->currentText(), QStringLiteral("2mm"));
        QVERIFY(rig.find<QCheckBox>(QStringLiteral("Angle Snapping"))->isChecked());
        QCOMPARE(rig.model.editedSettings.angleSnapping, 1);
        QVERIFY(rig.applyButton()->isEnabled());
    }

    void withNothingEditedApplyStaysOffAndEveryAnnouncementIsRead()
    {
        QTemporaryDir runtime;
        WindowRig rig;
        rig.outsideWriteDirectory = runtime.path();
        rig.start();
        auto* lod = rig.find<QComboBox>(QStringLiteral("LOD"));

        // The first announcement makes the file, later ones rewrite it.
        for (const std::uint8_t distance : {2, 1, 2}) {
            writeFromOutside(rig.mouse, runtime.path(),
                             [distance](MouseSettings& s) { s.liftOffDistance = distance; });
            QTRY_COMPARE_WITH_TIMEOUT(lod->currentText(),
                                      distance == 2 ? QStringLiteral("2mm") : QStringLiteral("1mm"), 20000);
            rig.settle();
            QVERIFY(!rig.applyButton()->isEnabled());
        }
    }
};

QTEST_MAIN(OutsideWriteTest)
#include "OutsideWriteTest.moc"
