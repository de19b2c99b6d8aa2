#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>

#include "pages/advanced/AdvancedSettingsPage.h"
#include "settings/MouseSettings.h"
#include "settings/SettingsModel.h"
#include "support/InputHelpers.h"
#include "support/WidgetLookup.h"

using namespace lark;
using lark::test::named;

namespace {

const QString kBadFilterText = QStringLiteral("Enter an integer between 0 and 255.");

const char* const kFilterNames[] = {
    "Left Button Multiclick Filter",    "Right Button Multiclick Filter", "Middle Button Multiclick Filter",
    "Forward Button Multiclick Filter", "Back Button Multiclick Filter",
};

QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Closes every message box that shows while it lives and keeps their texts, so a test can
// tell one message from two.
class MessageBoxCloser {
public:
    MessageBoxCloser()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

}  // namespace

class AdvancedSettingsPageTest : public QObject {
    Q_OBJECT

private:
    SettingsModel model;
    std::unique_ptr<AdvancedSettingsPage> page;
    int applyCalls = 0;
    std::optional<bool> applyEnabled;

    QComboBox* polling() { return named<QComboBox>(page.get(), QStringLiteral("Polling Rate")); }
    QComboBox* spdt(int button)
    {
        return named<QComboBox>(page.get(), button == 0 ? QStringLiteral("Left Button SPDT")
                                                        : QStringLiteral("Right Button SPDT"));
    }
    QCheckBox* motionSync() { return named<QCheckBox>(page.get(), QStringLiteral("Motion Sync")); }
    QCheckBox* slamClick() { return named<QCheckBox>(page.get(), QStringLiteral("Slamclick Filter")); }
    QSlider* trackbar(int button)
    {
        return named<QSlider>(page.get(), QString::fromLatin1(kFilterNames[button]));
    }
    QLineEdit* edit(int button)
    {
        return named<QLineEdit>(page.get(),
                                QString::fromLatin1(kFilterNames[button]) + QStringLiteral(" value"));
    }

    void choose(QComboBox* combo, const QString& text) { test::chooseEntry(combo, text); }
    void typeInto(QLineEdit* box, const QString& text) { test::typeOver(box, text); }

    void clickBackground() { QTest::mouseClick(page.get(), Qt::LeftButton, {}, QPoint(4, 4)); }

    std::uint8_t storedFilter(int button) const { return model.editedSettings.buttons[button].filter; }

private slots:
    void init()
    {
        model = SettingsModel{};
        model.setDefaults();
        applyCalls = 0;
        applyEnabled.reset();
        model.setApplyListener([this](bool differ) {
            ++applyCalls;
            applyEnabled = differ;
        });
        page = std::make_unique<AdvancedSettingsPage>(model);
        page->resize(660, 380);
        page->show();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
    }

    void cleanup() { page.reset(); }

    void creationShowsTheDefaultsAndStoresNothing()
    {
        // A fresh page over a zeroed model writes nothing into it.
        SettingsModel zeroed;
        int calls = 0;
        zeroed.setApplyListener([&calls](bool) { ++calls; });
        {
            AdvancedSettingsPage fresh(zeroed);
            QCOMPARE(zeroed.editedSettings, MouseSettings{});
            QCOMPARE(calls, 0);
        }

        QCOMPARE(itemsOf(polling()), (QStringList{"1000Hz", "2000Hz", "4000Hz", "8000Hz"}));
        QCOMPARE(polling()->currentText(), QStringLiteral("8000Hz"));
        for (int button : {0, 1}) {
            QCOMPARE(itemsOf(spdt(button)), (QStringList{"OFF", "KV Speed Mode", "KV Safe Mode"}));
            QCOMPARE(spdt(button)->currentIndex(), 0);
        }
        for (int button = 0; button < 5; ++button) {
            QCOMPARE(trackbar(button)->minimum(), 0);
            QCOMPARE(trackbar(button)->maximum(), 25);
            QCOMPARE(trackbar(button)->value(), 8);
            QCOMPARE(trackbar(button)->tickPosition(), QSlider::NoTicks);
            QCOMPARE(edit(button)->text(), QStringLiteral("8"));
            QVERIFY(trackbar(button)->isEnabled());
            QVERIFY(edit(button)->isEnabled());
        }
        QVERIFY(!motionSync()->isChecked());
        QVERIFY(slamClick()->isChecked());

        // Gathering the untouched page into a defaults model changes nothing.
        const MouseSettings defaults = model.editedSettings;
        QVERIFY(page->collectSettings());
        QCOMPARE(model.editedSettings, defaults);
    }

    void controlsAreNamedForScreenReaders()
    {
        QVERIFY(polling());
        QVERIFY(spdt(0));
        QVERIFY(spdt(1));
        QVERIFY(motionSync());
        QVERIFY(slamClick());
        for (int button = 0; button < 5; ++button) {
            QVERIFY2(trackbar(button), kFilterNames[button]);
            QVERIFY2(edit(button), kFilterNames[button]);
        }
        // Combo boxes report their current text as name on Linux: the labels carry it too.
        QLabel* pollingLabel = nullptr;
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("Polling Rate"))
                pollingLabel = label;
        }
        QVERIFY(pollingLabel);
        QCOMPARE(pollingLabel->buddy(), polling());
        QCOMPARE(polling()->accessibleDescription(), QStringLiteral("Polling Rate"));
        QCOMPARE(spdt(1)->accessibleDescription(), QStringLiteral("Right Button SPDT"));
    }

    void choosingAPollingRateStoresItsInterval_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("interval");
        QTest::newRow("1000Hz") << "1000Hz" << 8;
        QTest::newRow("2000Hz") << "2000Hz" << 4;
        QTest::newRow("4000Hz") << "4000Hz" << 2;
    }

    void choosingAPollingRateStoresItsInterval()
    {
        QFETCH(QString, item);
        QFETCH(int, interval);
        choose(polling(), item);
        QCOMPARE(model.editedSettings.pollingInterval, interval);
        QCOMPARE(applyEnabled, std::optional<bool>(true));

        choose(polling(), QStringLiteral("8000Hz"));
        QCOMPARE(model.editedSettings.pollingInterval, 1);
        QCOMPARE(applyEnabled, std::optional<bool>(false));
    }

    void motionSyncWithdraws8000HzAndGivesItBack()
    {
        QTest::mouseClick(motionSync(), Qt::LeftButton);
        QVERIFY(motionSync()->isChecked());
        QCOMPARE(itemsOf(polling()), (QStringList{"1000Hz", "2000Hz", "4000Hz"}));
        QCOMPARE(polling()->currentText(), QStringLiteral("4000Hz"));
        QCOMPARE(model.editedSettings.pollingInterval, 2);
        QCOMPARE(model.editedSettings.motionSync, 1);
        QCOMPARE(applyEnabled, std::optional<bool>(true));

        QTest::mouseClick(motionSync(), Qt::LeftButton);
        QVERIFY(!motionSync()->isChecked());
        QCOMPARE(itemsOf(polling()), (QStringList{"1000Hz", "2000Hz", "4000Hz", "8000Hz"}));
        QCOMPARE(polling()->currentText(), QStringLiteral("4000Hz"));
        QCOMPARE(model.editedSettings.pollingInterval, 2);
        QCOMPARE(model.editedSettings.motionSync, 0);
    }

    void motionSyncKeepsALowerRate()
    {
        choose(polling(), QStringLiteral("2000Hz"));
        QTest::mouseClick(motionSync(), Qt::LeftButton);
        QCOMPARE(polling()->currentText(), QStringLiteral("2000Hz"));
        QCOMPARE(model.editedSettings.pollingInterval, 4);
        QTest::mouseClick(motionSync(), Qt::LeftButton);
        QCOMPARE(polling()->currentText(), QStringLiteral("2000Hz"));
        QCOMPARE(polling()->count(), 4);
        // Back where the mouse was apart from the rate.
        model.editedSettings.pollingInterval = 1;
        QVERIFY(!model.settingsDiffer());
    }

    void slamClickFollowsItsBox()
    {
        QTest::mouseClick(slamClick(), Qt::LeftButton);
        QCOMPARE(model.editedSettings.slamClickFilter, 0);
        QCOMPARE(applyEnabled, std::optional<bool>(true));
        QTest::mouseClick(slamClick(), Qt::LeftButton);
        QCOMPARE(model.editedSettings.slamClickFilter, 1);
        QCOMPARE(applyEnabled, std::optional<bool>(false));
    }

    void spdtModeParksTheFilter_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("filter");
        QTest::newRow("right safe") << 1 << "KV Safe Mode" << 0xF0;
        QTest::newRow("right speed") << 1 << "KV Speed Mode" << 0xF1;
        QTest::newRow("left safe") << 0 << "KV Safe Mode" << 0xF0;
        QTest::newRow("left speed") << 0 << "KV Speed Mode" << 0xF1;
    }

    void spdtModeParksTheFilter()
    {
        QFETCH(int, button);
        QFETCH(QString, mode);
        QFETCH(int, filter);

        // Move the trackbar away from 8 with the keyboard first.
        trackbar(button)->setFocus();
        QTRY_VERIFY(trackbar(button)->hasFocus());
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(trackbar(button), Qt::Key_Left);
        QCOMPARE(storedFilter(button), 3);
        QCOMPARE(edit(button)->text(), QStringLiteral("3"));

        choose(spdt(button), mode);
        QCOMPARE(storedFilter(button), filter);
        QCOMPARE(trackbar(button)->value(), 8);
        QCOMPARE(edit(button)->text(), QStringLiteral("8"));
        QVERIFY(!trackbar(button)->isEnabled());
        QVERIFY(!edit(button)->isEnabled());
        QCOMPARE(storedFilter(1 - button), 8);  // the other button is untouched

        // Re-enabling the whole page keeps the parked pair disabled.
        page->setControlsEnabled(false);
        page->setControlsEnabled(true);
        QVERIFY(!trackbar(button)->isEnabled());
        QVERIFY(!edit(button)->isEnabled());
        QVERIFY(trackbar(1 - button)->isEnabled());

        choose(spdt(button), QStringLiteral("OFF"));
        QCOMPARE(storedFilter(button), 8);
        QVERIFY(trackbar(button)->isEnabled());
        QVERIFY(edit(button)->isEnabled());
        QCOMPARE(applyEnabled, std::optional<bool>(false));
    }

    void setControlsEnabledSwitchesAllFifteen()
    {
        page->setControlsEnabled(false);
        QList<QWidget*> controls{polling(), spdt(0), spdt(1), motionSync(), slamClick()};
        for (int button = 0; button < 5; ++button)
            controls << trackbar(button) << edit(button);
        QCOMPARE(controls.size(), 15);
        for (QWidget* control : controls)
            QVERIFY2(!control->isEnabled(), qPrintable(control->accessibleName()));
        page->setControlsEnabled(true);
        for (QWidget* control : controls)
            QVERIFY2(control->isEnabled(), qPrintable(control->accessibleName()));
    }

    void trackbarStoresItsPositionAndTheEditFollows()
    {
        trackbar(3)->setFocus();
        QTRY_VERIFY(trackbar(3)->hasFocus());
        QTest::keyClick(trackbar(3), Qt::Key_Right);
        QTest::keyClick(trackbar(3), Qt::Key_Right);
        QCOMPARE(storedFilter(3), 10);
        QCOMPARE(edit(3)->text(), QStringLiteral("10"));
        QCOMPARE(applyEnabled, std::optional<bool>(true));
        QTest::keyClick(trackbar(3), Qt::Key_End);
        QCOMPARE(storedFilter(3), 25);
        QCOMPARE(edit(3)->text(), QStringLiteral("25"));
    }

    void typedValueIsStoredAtOnceAndCommittedLater_data()
    {
        QTest::addColumn<int>("commit");
        QTest::newRow("Enter") << 0;
        QTest::newRow("focus leaves") << 1;
        QTest::newRow("click on background") << 2;
    }

    void typedValueIsStoredAtOnceAndCommittedLater()
    {
        QFETCH(int, commit);
        MessageBoxCloser boxes;
        typeInto(edit(2), QStringLiteral("30"));
        QCOMPARE(storedFilter(2), 25);
        QCOMPARE(trackbar(2)->value(), 8);
        QCOMPARE(edit(2)->text(), QStringLiteral("30"));

        if (commit == 0)
            QTest::keyClick(edit(2), Qt::Key_Return);
        else if (commit == 1)
            QTest::keyClick(edit(2), Qt::Key_Tab);
        else
            clickBackground();

        QCOMPARE(trackbar(2)->value(), 25);
        QCOMPARE(edit(2)->text(), QStringLiteral("25"));
        QCOMPARE(storedFilter(2), 25);
        QCOMPARE(boxes.texts, QStringList{});
        QCOMPARE(edit(2)->hasFocus(), commit != 1);
    }

    void backgroundPressStaysOnThePage()
    {
        QWidget window;
        page->setParent(&window);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 4), page->mapToGlobal(QPointF(4, 4)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        press.ignore();
        QApplication::sendEvent(page.get(), &press);
        QVERIFY(press.isAccepted());
        page->setParent(nullptr);
    }

    void gainingFocusCommitsTheBox()
    {
        edit(4)->setText(QStringLiteral("7abc"));  // set by a program, not typed
        QCOMPARE(storedFilter(4), 7);
        QCOMPARE(trackbar(4)->value(), 8);
        QTest::mouseClick(edit(4), Qt::LeftButton);
        QTRY_VERIFY(edit(4)->hasFocus());
        QCOMPARE(edit(4)->text(), QStringLiteral("7"));
        QCOMPARE(trackbar(4)->value(), 7);
        QCOMPARE(storedFilter(4), 7);
    }

    void unreadableTextWarnsOnceAndSettles_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("settled");
        QTest::newRow("above a byte") << "300" << 25;
        QTest::newRow("emptied") << "" << 0;
    }

    void unreadableTextWarnsOnceAndSettles()
    {
        QFETCH(QString, typed);
        QFETCH(int, settled);
        MessageBoxCloser boxes;
        typeInto(edit(2), typed);
        QCOMPARE(boxes.texts, QStringList{kBadFilterText});
        // The message box took the focus, which committed the box.
        QCOMPARE(edit(2)->text(), QString::number(settled));
        QCOMPARE(storedFilter(2), settled);

        // Focus is back in the box with its whole text selected (offscreen windows are not
        // reactivated by a window manager once the message box has gone).
        page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        QTRY_VERIFY(edit(2)->hasFocus());
        QVERIFY(edit(2)->hasSelectedText());
        QCOMPARE(edit(2)->selectedText(), edit(2)->text());

        QTest::keyClick(edit(2), Qt::Key_Return);
        QCOMPARE(edit(2)->text(), QString::number(settled));
        QCOMPARE(trackbar(2)->value(), settled);
        QCOMPARE(storedFilter(2), settled);
        QTest::qWait(50);
        QCOMPARE(boxes.texts, QStringList{kBadFilterText});  // no second message
        // The other buttons were never disturbed.
        for (int button : {0, 1, 3, 4})
            QCOMPARE(storedFilter(button), 8);
    }

    void refreshShowsEveryStoredFilter()
    {
        for (int button = 0; button < 5; ++button)
            model.editedSettings.buttons[button].filter = static_cast<std::uint8_t>(3 + 4 * button);
        page->refreshFromSettings();
        for (int button = 0; button < 5; ++button) {
            QCOMPARE(trackbar(button)->value(), 3 + 4 * button);
            QCOMPARE(edit(button)->text(), QString::number(3 + 4 * button));
            QCOMPARE(storedFilter(button), 3 + 4 * button);
        }
    }

    void refreshShowsUnshowableFilterAs8()
    {
        page->refreshFromSettings();
        model.editedSettings.buttons[4].filter = 40;
        trackbar(4)->setFocus();
        QTest::keyClick(trackbar(4), Qt::Key_Home);  // away from 8 first
        model.editedSettings.buttons[4].filter = 40;
        page->refreshFromSettings();
        QCOMPARE(trackbar(4)->value(), 8);
        QCOMPARE(edit(4)->text(), QStringLiteral("8"));
        // The box's text changed, which stores what it shows.
        QCOMPARE(storedFilter(4), 8);
    }

    void refreshSelectsSpdtModes()
    {
        edit(0)->setText(QStringLiteral("5"));
        model.editedSettings.buttons[0].filter = 0xF1;
        model.editedSettings.buttons[1].filter = 0xF0;
        page->refreshFromSettings();
        QCOMPARE(spdt(0)->currentText(), QStringLiteral("KV Speed Mode"));
        QCOMPARE(spdt(1)->currentText(), QStringLiteral("KV Safe Mode"));
        for (int button : {0, 1}) {
            QVERIFY(!trackbar(button)->isEnabled());
            QVERIFY(!edit(button)->isEnabled());
        }
        QCOMPARE(edit(0)->text(), QStringLiteral("5"));  // keeps what it showed
        QCOMPARE(storedFilter(0), 0xF1);
        QCOMPARE(storedFilter(1), 0xF0);

        // A box text not yet committed does not overwrite the stored mode.
        model.editedSettings.buttons[1].filter = 3;
        page->refreshFromSettings();
        edit(1)->setText(QStringLiteral("30"));
        QCOMPARE(storedFilter(1), 25);
        model.editedSettings.buttons[1].filter = 0xF0;
        page->refreshFromSettings();
        QCOMPARE(storedFilter(1), 0xF0);

        model.editedSettings.buttons[0].filter = 12;
        page->refreshFromSettings();
        QCOMPARE(spdt(0)->currentText(), QStringLiteral("OFF"));
        QVERIFY(trackbar(0)->isEnabled());
        QCOMPARE(trackbar(0)->value(), 12);
        QCOMPARE(edit(0)->text(), QStringLiteral("12"));
    }

    void refreshWhileDisconnectedEnablesNothing()
    {
        page->setControlsEnabled(false);
        page->refreshFromSettings();
        for (int button = 0; button < 5; ++button)
            QVERIFY(!trackbar(button)->isEnabled());
    }

    void refreshPollingAndMotionSync_data()
    {
        QTest::addColumn<int>("motionSync");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("items");
        // Starting from "2000Hz" chosen by the user.
        QTest::newRow("unknown interval keeps selection") << 0 << 3 << "2000Hz" << 4;
        QTest::newRow("1000Hz") << 0 << 8 << "1000Hz" << 4;
        QTest::newRow("4000Hz") << 0 << 2 << "4000Hz" << 4;
        QTest::newRow("8000Hz") << 0 << 1 << "8000Hz" << 4;
        QTest::newRow("motion sync 4000Hz") << 1 << 2 << "4000Hz" << 3;
        QTest::newRow("motion sync with 8000Hz shown as read") << 1 << 1 << "8000Hz" << 4;
    }

    void refreshPollingAndMotionSync()
    {
        QFETCH(int, motionSync);
        QFETCH(int, interval);
        QFETCH(QString, selected);
        QFETCH(int, items);
        choose(polling(), QStringLiteral("2000Hz"));
        model.editedSettings.motionSync = static_cast<std::uint8_t>(motionSync);
        model.editedSettings.pollingInterval = static_cast<std::uint8_t>(interval);
        page->refreshFromSettings();
        QCOMPARE(this->motionSync()->isChecked(), motionSync == 1);
        QCOMPARE(polling()->currentText(), selected);
        QCOMPARE(polling()->count(), items);
        if (items == 4)
            QCOMPARE(polling()->itemText(3), QStringLiteral("8000Hz"));
    }

    void collectTakesTheTrackbarsNotTheEdits()
    {
        trackbar(2)->setFocus();
        QTRY_VERIFY(trackbar(2)->hasFocus());
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(trackbar(2), Qt::Key_Right);
        QCOMPARE(trackbar(2)->value(), 12);
        edit(2)->setText(QStringLiteral("20"));  // not committed to the trackbar
        QCOMPARE(storedFilter(2), 20);

        QVERIFY(page->collectSettings());
        QCOMPARE(storedFilter(2), 12);
    }

    void collectGathersEveryControl()
    {
        QTest::mouseClick(motionSync(), Qt::LeftButton);
        QTest::mouseClick(slamClick(), Qt::LeftButton);
        choose(polling(), QStringLiteral("1000Hz"));
        choose(spdt(0), QStringLiteral("KV Speed Mode"));
        MouseSettings expected = model.editedSettings;
        // Values that collecting must restore from the controls.
        model.editedSettings.motionSync = 0;
        model.editedSettings.slamClickFilter = 1;
        model.editedSettings.pollingInterval = 1;
        model.editedSettings.buttons[0].filter = 3;
        model.editedSettings.buttons[1].filter = 3;
        model.editedSettings.buttons[4].filter = 3;
        QVERIFY(page->collectSettings());
        QCOMPARE(model.editedSettings, expected);
        QCOMPARE(model.editedSettings.buttons[0].filter, 0xF1);
        QCOMPARE(model.editedSettings.pollingInterval, 8);
    }

    void collectWithoutSelectionKeepsOrDefaults()
    {
        model.editedSettings.buttons[0].filter = 0xF0;
        model.editedSettings.buttons[1].filter = 17;
        spdt(0)->setCurrentIndex(-1);
        spdt(1)->setCurrentIndex(-1);
        polling()->setCurrentIndex(-1);
        model.editedSettings.pollingInterval = 8;
        QVERIFY(page->collectSettings());
        QCOMPARE(storedFilter(0), 0xF0);
        QCOMPARE(storedFilter(1), 17);
        QCOMPARE(model.editedSettings.pollingInterval, 1);
    }

    void collectReportsAnUnreadableBox()
    {
        // A page that never had the focus: its emptied box stays uncommitted.
        MessageBoxCloser boxes;
        AdvancedSettingsPage hidden(model);
        auto* box = named<QLineEdit>(&hidden, QStringLiteral("Forward Button Multiclick Filter value"));
        box->setText(QString());
        QCOMPARE(boxes.texts.size(), 1);
        model.editedSettings.buttons[3].filter = 19;
        QVERIFY(!hidden.collectSettings());
        QCOMPARE(boxes.texts, (QStringList{kBadFilterText, kBadFilterText}));
        // The trackbars are still gathered.
        QCOMPARE(model.editedSettings.buttons[3].filter, 8);
    }

    void pollingEventFromTheMouse_data()
    {
        QTest::addColumn<bool>("motionSyncOn");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("interval");
        QTest::addColumn<bool>("motionSyncAfter");
        QTest::newRow("8000Hz while motion sync") << true << 1 << "8000Hz" << 1 << false;
        QTest::newRow("8000Hz already listed") << false << 1 << "8000Hz" << 1 << false;
        QTest::newRow("2000Hz") << false << 4 << "2000Hz" << 4 << false;
        QTest::newRow("1000Hz while motion sync") << true << 8 << "1000Hz" << 8 << true;
        QTest::newRow("unknown value") << true << 3 << "4000Hz" << 2 << true;
    }

    void pollingEventFromTheMouse()
    {
        QFETCH(bool, motionSyncOn);
        QFETCH(int, value);
        QFETCH(QString, selected);
        QFETCH(int, interval);
        QFETCH(bool, motionSyncAfter);

        if (motionSyncOn) {
            QTest::mouseClick(motionSync(), Qt::LeftButton);
            model.copyEditedToApplied();
        } else {
            choose(polling(), QStringLiteral("4000Hz"));
            model.copyEditedToApplied();
        }
        const MouseSettings appliedBefore = model.appliedSettings;
        const int callsBefore = applyCalls;

        page->onPollingRateEvent(static_cast<std::uint8_t>(value));

        QCOMPARE(polling()->currentText(), selected);
        QCOMPARE(polling()->findText("8000Hz") >= 0 ? polling()->count() : -1, motionSyncAfter ? -1 : 4);
        QCOMPARE(motionSync()->isChecked(), motionSyncAfter);
        QCOMPARE(model.editedSettings.pollingInterval, interval);
        QCOMPARE(model.editedSettings.motionSync, motionSyncAfter ? 1 : 0);
        // What the mouse holds is the session's to report, not the page's to change.
        QCOMPARE(model.appliedSettings, appliedBefore);
        QCOMPARE(applyCalls, callsBefore);

        // The page's own motion-sync value follows: collecting keeps the state shown.
        QVERIFY(page->collectSettings());
        QCOMPARE(model.editedSettings.motionSync, motionSyncAfter ? 1 : 0);
        QCOMPARE(model.editedSettings.pollingInterval, interval);
    }
};

QTEST_MAIN(AdvancedSettingsPageTest)
#include "AdvancedSettingsPageTest.moc"
