// Events that the mouse sends on its own, through the real listener thread, into the real
// window on the virtual mouse.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QTest>

#include "WindowRig.h"
#include "device/Protocol.h"

using namespace lark;
using namespace lark::test;

namespace {

SettingsBlock blockWith(std::uint8_t pollingInterval, std::uint8_t motionSync)
{
    MouseSettings s;
    setDefaults(s);
    s.pollingInterval = pollingInterval;
    s.motionSync = motionSync;
    s.angleSnapping = 1;
    SettingsBlock block{};
    encodeSettings(s, block);
    return block;
}

QStringList entries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

// Successful reads of the event collection that the listener made.
int eventsRead(const WindowRig& rig)
{
    int n = 0;
    for (const auto& f : rig.mouse.frameLog())
        n += f.direction == VirtualMouse::Direction::Read &&
             f.collection == VirtualMouse::Collection::Event && f.result > 0;
    return n;
}

}  // namespace

class MouseEventsTest : public QObject {
    Q_OBJECT

    QComboBox* polling(const WindowRig& rig) const
    {
        return rig.find<QComboBox>(QStringLiteral("Polling Rate"));
    }
    QCheckBox* motionSync(const WindowRig& rig) const
    {
        return rig.find<QCheckBox>(QStringLiteral("Motion Sync"));
    }

    // Pushes (code, value), then a polling-rate event with another interval than the one now
    // held, and waits for that: events are handled in order, so the first one is done by then.
    void pushThenMark(WindowRig& rig, std::uint8_t code, std::uint8_t value, std::uint8_t markInterval = 2)
    {
        QVERIFY(rig.model.editedSettings.pollingInterval != markInterval);
        rig.mouse.pushEvent(code, value);
        rig.mouse.pushEvent(kEventPollingRateChanged, markInterval);
        QTRY_COMPARE(rig.model.editedSettings.pollingInterval, markInterval);
    }

private slots:
    void eightKilohertzWithMotionSyncOnTurnsItOffAndAddsTheEntry()
    {
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWith(8, 1));
        rig.start();
        rig.window->tabs()->setCurrentIndex(1);
        QCOMPARE(entries(polling(rig)), (QStringList{"1000Hz", "2000Hz", "4000Hz"}));
        QVERIFY(motionSync(rig)->isChecked());

        rig.mouse.pushEvent(kEventPollingRateChanged, 1);
        QTRY_COMPARE(polling(rig)->currentIndex(), 3);

        QCOMPARE(entries(polling(rig)), (QStringList{"1000Hz", "2000Hz", "4000Hz", "8000Hz"}));
        QCOMPARE(polling(rig)->currentText(), QStringLiteral("8000Hz"));
        QVERIFY(!motionSync(rig)->isChecked());
        for (const MouseSettings* s : {&rig.model.editedSettings, &rig.model.appliedSettings}) {
            QCOMPARE(s->pollingInterval, std::uint8_t{1});
            QCOMPARE(s->motionSync, std::uint8_t{0});
        }
        QVERIFY(!rig.applyButton()->isEnabled());
        QVERIFY(rig.model.editedSettings == rig.model.appliedSettings);
        // The mouse was only read, never written.
        QCOMPARE(rig.writesSent(), 0);
    }

    void eightKilohertzAlreadyListedIsSelectedWithoutASecondCopy()
    {
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWith(4, 0));
        rig.start();
        QCOMPARE(polling(rig)->count(), 4);

        rig.mouse.pushEvent(kEventPollingRateChanged, 1);
        QTRY_COMPARE(polling(rig)->currentIndex(), 3);
        QCOMPARE(entries(polling(rig)), (QStringList{"1000Hz", "2000Hz", "4000Hz", "8000Hz"}));

        // Again while it is selected: still one copy.
        pushThenMark(rig, kEventPollingRateChanged, 1, 8);
        QCOMPARE(entries(polling(rig)), (QStringList{"1000Hz", "2000Hz", "4000Hz", "8000Hz"}));
    }

    void otherRatesSelectTheirEntryAndStoreTheIntervalInBoth_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("8 -> 1000Hz") << 8 << "1000Hz";
        QTest::newRow("4 -> 2000Hz") << 4 << "2000Hz";
        QTest::newRow("2 -> 4000Hz") << 2 << "4000Hz";
    }

    void otherRatesSelectTheirEntryAndStoreTheIntervalInBoth()
    {
        QFETCH(int, value);
        QFETCH(QString, shown);
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWith(1, 0));
        rig.start();
        QCOMPARE(polling(rig)->currentText(), QStringLiteral("8000Hz"));

        rig.mouse.pushEvent(kEventPollingRateChanged, static_cast<std::uint8_t>(value));
        QTRY_COMPARE(polling(rig)->currentText(), shown);
        QCOMPARE(int(rig.model.editedSettings.pollingInterval), value);
        QCOMPARE(int(rig.model.appliedSettings.pollingInterval), value);
        QVERIFY(!rig.applyButton()->isEnabled());
    }

    void unknownRateAndTheAcceptedEventChangeNothing_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("value");
        QTest::newRow("(6, 3)") << 6 << 3;
        QTest::newRow("(6, 0)") << 6 << 0;
        QTest::newRow("(6, 16)") << 6 << 16;
        QTest::newRow("(0xB4, 0)") << 0xB4 << 0;
        QTest::newRow("(0xB4, 1)") << 0xB4 << 1;
        QTest::newRow("(0xB4, 0xFF)") << 0xB4 << 0xFF;
        QTest::newRow("(7, 1) unknown code") << 7 << 1;
    }

    void unknownRateAndTheAcceptedEventChangeNothing()
    {
        QFETCH(int, code);
        QFETCH(int, value);
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWith(8, 1));
        rig.start();
        const MouseSettings edited = rig.model.editedSettings;
        const MouseSettings applied = rig.model.appliedSettings;
        const QStringList listed = entries(polling(rig));

        rig.mouse.pushEvent(static_cast<std::uint8_t>(code), static_cast<std::uint8_t>(value));
        // Once the reader has the report, a hand-off (if any) is queued a moment later.
        QTRY_COMPARE(eventsRead(rig), 1);
        QTest::qWait(100);

        QVERIFY(rig.model.editedSettings == edited);
        QVERIFY(rig.model.appliedSettings == applied);
        QCOMPARE(entries(polling(rig)), listed);
        QCOMPARE(polling(rig)->currentText(), QStringLiteral("1000Hz"));
        QVERIFY(motionSync(rig)->isChecked());
        QVERIFY(!rig.applyButton()->isEnabled());
    }

    void eventsLeaveApplyAsItWas_data()
    {
        QTest::addColumn<bool>("edited");
        QTest::newRow("APPLY disabled") << false;
        QTest::newRow("APPLY enabled by an edit") << true;
    }

    void eventsLeaveApplyAsItWas()
    {
        QFETCH(bool, edited);
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWith(8, 1));
        rig.start();
        if (edited)
            QTest::mouseClick(rig.find<QCheckBox>(QStringLiteral("Angle Snapping")), Qt::LeftButton);
        QCOMPARE(rig.applyButton()->isEnabled(), edited);

        for (std::uint8_t value : {1, 4, 2, 8, 3}) {
            rig.mouse.pushEvent(kEventPollingRateChanged, value);
            rig.mouse.pushEvent(kEventAcceptedWithoutAction, value);
        }
        QTRY_COMPARE(eventsRead(rig), 10);
        QTRY_COMPARE(polling(rig)->currentText(), QStringLiteral("1000Hz"));
        QCOMPARE(rig.applyButton()->isEnabled(), edited);
        QCOMPARE(rig.model.settingsDiffer(), edited);
    }

    void theEventIsHandledOnTheWindowsThreadNotTheReaders()
    {
        WindowRig rig;
        rig.mouse.setStoredBlock(blockWith(8, 0));
        rig.start();

        rig.mouse.pushEvent(kEventPollingRateChanged, 4);
        // Wait until the reader has the report, without running the window's event loop.
        for (int i = 0; i < 300 && eventsRead(rig) == 0; ++i)
            QTest::qSleep(5);
        QCOMPARE(eventsRead(rig), 1);
        QTest::qSleep(50);
        QCOMPARE(rig.model.editedSettings.pollingInterval, std::uint8_t{8});
        QCOMPARE(polling(rig)->currentText(), QStringLiteral("1000Hz"));

        QTRY_COMPARE(polling(rig)->currentText(), QStringLiteral("2000Hz"));
        QCOMPARE(rig.model.appliedSettings.pollingInterval, std::uint8_t{4});
    }

    void closingTheWindowWithEventsInFlightIsSafe()
    {
        WindowRig rig;
        rig.start();
        for (int i = 0; i < 20; ++i)
            rig.mouse.pushEvent(kEventPollingRateChanged, static_cast<std::uint8_t>(1 << (i % 4)));
        QTest::qSleep(30);
        rig.window.reset();
        rig.session.stop();  // joins the reader; queued events die with the session
        QCoreApplication::processEvents();
        int closed = 0;
        for (const auto& f : rig.mouse.frameLog())
            closed += f.collection == VirtualMouse::Collection::Event &&
                      f.direction == VirtualMouse::Direction::Close;
        QCOMPARE(closed, 1);  // the reader let go of the event interface
    }
};

QTEST_MAIN(MouseEventsTest)
#include "MouseEventsTest.moc"
