// The device fault matrix through the real window: every mouse command meets a mouse that
// stays busy, fails with retryable or fatal errors, or is pulled out mid-exchange. After each
// the window answers, shows the truth (firmware label, controls, status line), keeps the
// user's unsaved edits unless the mouse's own settings or a sent factory reset replaced them,
// and leaks no thread, descriptor or device handle; then the mouse comes back and APPLY works.

#include <QCheckBox>
#include <QTest>

#include "FaultRig.h"
#include "device/Protocol.h"

using namespace lark;
using namespace lark::test;

namespace {

enum class Trigger { StartUp, Arrival, Apply, FactoryReset };
enum class Pages { UserEdits, MouseSettings, Defaults };

const QString kApplied = QStringLiteral("Settings applied.");
const QString kRefused = QStringLiteral("The mouse did not accept the settings. Press APPLY to try again.");
const QString kResetDone = QStringLiteral("Factory settings restored.");
const QString kResetNotSent = QStringLiteral("The factory reset could not be sent to the mouse.");
const QString kResetNotConfirmed =
    QStringLiteral("The mouse did not confirm the factory reset; its settings may be unchanged.");
const QString kNotRead = QStringLiteral("The mouse's settings could not be read. Press F5 to try again.");
const QString kUnplugged =
    QStringLiteral("The mouse was unplugged. Plug it in again and it will be found by itself.");
const QString kWaiting =
    QStringLiteral("Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).");
const QString kVersion = QStringLiteral("V1.06");

struct Expected {
    Pages pages;
    bool controlsEnabled;
    bool applyEnabled;
    QString firmware;
    QString status;
};

struct FaultCase {
    const char* name;
    Trigger trigger;
    std::uint8_t command;
    Fault fault;
    int nth;
    bool refuseFirstWrite;
    Expected expected;
};

// The four faults that leave the mouse plugged in, each for as long as the command runs.
constexpr Fault kStayingFaults[] = {Fault::BusyForever, Fault::TransientSet, Fault::TransientGet,
                                    Fault::FatalSet, Fault::FatalGet};

const char* faultName(Fault fault)
{
    switch (fault) {
    case Fault::BusyForever:
        return "busy forever";
    case Fault::TransientSet:
        return "transient request errors";
    case Fault::TransientGet:
        return "transient answer errors";
    case Fault::FatalSet:
        return "fatal request errors";
    case Fault::FatalGet:
        return "fatal answer errors";
    default:
        return "unplug";
    }
}

std::vector<FaultCase> faultCases()
{
    std::vector<FaultCase> cases;
    auto addStaying = [&](const char* where, Trigger trigger, std::uint8_t command, auto expectedFor) {
        for (Fault fault : kStayingFaults)
            cases.push_back({where, trigger, command, fault, 1, false, expectedFor(fault)});
    };
    auto same = [](Expected e) { return [e](Fault) { return e; }; };
    const Expected gone{Pages::UserEdits, false, false, QString(), kUnplugged};

    // Start-up: a version that cannot be read gives the not-connected presentation; the
    // settings are still read. Settings that cannot be read leave the defaults, and say so.
    addStaying("start-up version", Trigger::StartUp, kCommandReadVersion,
               same({Pages::MouseSettings, false, false, QString(), kWaiting}));
    addStaying("start-up settings", Trigger::StartUp, kCommandReadSettings,
               same({Pages::Defaults, true, false, kVersion, kNotRead}));
    for (int nth : {1, 2}) {
        cases.push_back({"start-up version, unplugged",
                         Trigger::StartUp,
                         kCommandReadVersion,
                         Fault::UnplugAt,
                         nth,
                         false,
                         {Pages::Defaults, false, false, QString(), kUnplugged}});
        cases.push_back({"start-up settings, unplugged",
                         Trigger::StartUp,
                         kCommandReadSettings,
                         Fault::UnplugAt,
                         nth,
                         false,
                         {Pages::Defaults, false, false, QString(), kUnplugged}});
    }

    // Arrival after a replug, with unsaved edits on the pages.
    addStaying("arrival version", Trigger::Arrival, kCommandReadVersion,
               same({Pages::MouseSettings, true, false, QString(), QString()}));
    addStaying("arrival settings", Trigger::Arrival, kCommandReadSettings,
               same({Pages::UserEdits, true, false, kVersion, kNotRead}));
    for (int nth : {1, 2}) {
        cases.push_back({"arrival version, unplugged", Trigger::Arrival, kCommandReadVersion, Fault::UnplugAt,
                         nth, false, gone});
        cases.push_back({"arrival settings, unplugged", Trigger::Arrival, kCommandReadSettings,
                         Fault::UnplugAt, nth, false, gone});
    }

    // APPLY: nothing the mouse did not confirm counts as applied.
    // A write whose answer was lost is read back: the virtual mouse stored it, so it counts.
    addStaying("APPLY", Trigger::Apply, kCommandWriteSettings, [](Fault fault) {
        const bool landed = fault == Fault::TransientGet || fault == Fault::FatalGet;
        return landed ? Expected{Pages::UserEdits, true, false, kVersion, kApplied}
                      : Expected{Pages::UserEdits, true, true, kVersion, kRefused};
    });
    cases.push_back({"APPLY, unplugged at the request", Trigger::Apply, kCommandWriteSettings,
                     Fault::UnplugAt, 1, false, gone});
    cases.push_back({"APPLY, unplugged at the status", Trigger::Apply, kCommandWriteSettings, Fault::UnplugAt,
                     2, false, gone});
    cases.push_back({"APPLY, unplugged during the retry", Trigger::Apply, kCommandWriteSettings,
                     Fault::UnplugAt, 3, true, gone});

    // Factory Reset: the defaults are shown only when the mouse confirmed the reset.
    addStaying("Factory Reset", Trigger::FactoryReset, kCommandFactoryReset, [](Fault fault) {
        // Sent means done for the virtual mouse: the read-back finds its factory settings.
        const bool sent = fault != Fault::TransientSet && fault != Fault::FatalSet;
        return sent ? Expected{Pages::Defaults, true, false, kVersion, kResetDone}
                    : Expected{Pages::UserEdits, true, true, kVersion, kResetNotSent};
    });
    cases.push_back({"Factory Reset, unplugged at the request", Trigger::FactoryReset, kCommandFactoryReset,
                     Fault::UnplugAt, 1, false, gone});
    cases.push_back({"Factory Reset, unplugged at the answer",
                     Trigger::FactoryReset,
                     kCommandFactoryReset,
                     Fault::UnplugAt,
                     2,
                     false,
                     gone});
    return cases;
}

}  // namespace

Q_DECLARE_METATYPE(FaultCase)

class FaultMatrixTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // One whole window lifetime first, so that what Qt sets up once is not counted as a leak.
        FaultRig rig;
        rig.start();
    }

    void aFaultLeavesTheWindowHonestWholeAndRecoverable_data()
    {
        QTest::addColumn<FaultCase>("c");
        for (const FaultCase& c : faultCases()) {
            const QByteArray row =
                QByteArray(c.name) + ": " + faultName(c.fault) +
                (c.fault == Fault::UnplugAt ? " at exchange " + QByteArray::number(c.nth) : "");
            QTest::newRow(row.constData()) << c;
        }
    }

    void aFaultLeavesTheWindowHonestWholeAndRecoverable()
    {
        QFETCH(FaultCase, c);
        const int threadsBefore = threadCount();
        const std::optional<int> fdsBefore = fdCount();
        {
            FaultRig rig;
            if (c.trigger == Trigger::StartUp) {
                rig.backend.plan(c.command, c.fault, c.nth);
                rig.start();
            } else {
                rig.start();
                QVERIFY(rig.mouseSettingsShown());
                rig.makeEdits();
                QVERIFY(rig.editsShown());
                QVERIFY(rig.applyButton()->isEnabled());
                if (c.trigger == Trigger::Arrival) {
                    rig.mouse.unplug();
                    rig.settle();
                    QVERIFY(!rig.controlsEnabled());
                }
                rig.backend.plan(c.command, c.fault, c.nth);
                if (c.refuseFirstWrite)
                    rig.mouse.refuseWrites(1);
                if (c.trigger == Trigger::Arrival)
                    rig.mouse.plug();
                else
                    QTest::mouseClick(c.trigger == Trigger::Apply ? rig.applyButton() : rig.resetButton(),
                                      Qt::LeftButton);
                rig.settle();
            }
            QVERIFY2(rig.backend.exchangesOfPlannedCommand() > 0, "the fault never met its command");

            QVERIFY(eventLoopAnswers(rig.window.get()));
            switch (c.expected.pages) {
            case Pages::UserEdits:
                QVERIFY(rig.editsShown());
                break;
            case Pages::MouseSettings:
                QVERIFY(rig.mouseSettingsShown());
                break;
            case Pages::Defaults:
                QVERIFY(rig.defaultsShown());
                break;
            }
            QCOMPARE(rig.controlsEnabled(), c.expected.controlsEnabled);
            QCOMPARE(rig.applyButton()->isEnabled(), c.expected.applyEnabled);
            QCOMPARE(rig.firmware(), c.expected.firmware);
            QCOMPARE(rig.status(), c.expected.status);
            // Applied exactly when the window says so.
            if (c.trigger == Trigger::Apply)
                QCOMPARE(rig.model.appliedSettings == rig.model.editedSettings, c.expected.status == kApplied);

            // The mouse comes back sound: APPLY reaches it and the window says so.
            rig.reconnectMouse();
            QVERIFY(rig.controlsEnabled());
            QCOMPARE(rig.firmware(), kVersion);
            QTest::mouseClick(rig.box("Ripple Control"), Qt::LeftButton);
            rig.click(rig.applyButton());
            QCOMPARE(rig.status(), kApplied);
            MouseSettings stored;
            decodeSettings(rig.mouse.storedBlock(), stored);
            QVERIFY(stored == rig.model.editedSettings);

            // One configuration handle, one event reader, and nothing else left over.
            QTRY_COMPARE(rig.mouse.openDeviceCount(), 2);
            QTRY_COMPARE(threadCount(), threadsBefore + 1);
        }
        QTRY_COMPARE(threadCount(), threadsBefore);
        if (fdsBefore)
            QCOMPARE(*fdCount(), *fdsBefore);
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "FaultMatrixTest.moc"
