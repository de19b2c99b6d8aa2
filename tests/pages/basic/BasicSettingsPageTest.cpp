#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>
#include <optional>

#include "pages/basic/BasicSettingsPage.h"
#include "pages/basic/CpiLevelSwatch.h"
#include "settings/SettingsModel.h"
#include "support/ModalHelpers.h"
#include "support/SliderHelpers.h"
#include "widgets/DialogUnits.h"

using namespace lark;

namespace {

// The page inside a dialog with a default button, as a tab page sits inside the main window:
// nothing the page does with Enter or Escape may press that button or close the dialog.
struct PageHost {
    SettingsModel model;
    int applyListenerCalls = 0;
    std::optional<bool> applyEnabled;
    int defaultClicks = 0;
    QDialog dialog;
    BasicSettingsPage* page = nullptr;
    QPushButton* apply = nullptr;

    PageHost()
    {
        model.setDefaults();
        model.setApplyListener([this](bool differ) {
            ++applyListenerCalls;
            applyEnabled = differ;
        });
        page = new BasicSettingsPage(model, &dialog);
        apply = new QPushButton(QStringLiteral("APPLY"), &dialog);
        apply->setDefault(true);
        apply->setGeometry(page->width() - 90, page->height() + 4, 80, 24);
        QObject::connect(apply, &QPushButton::clicked, [this] { ++defaultClicks; });
        dialog.resize(page->width(), page->height() + 32);
    }

    bool show()
    {
        dialog.show();
        return QTest::qWaitForWindowActive(&dialog);
    }

    template <typename T> T* get(const QString& name)
    {
        T* widget = test::named<T>(page, name);
        if (!widget)
            qWarning("no control named %s", qPrintable(name));
        return widget;
    }

    QLineEdit* edit(int level, char axis)
    {
        return get<QLineEdit>(QStringLiteral("CPI %1 %2 value").arg(level).arg(axis));
    }
    QSlider* slider(int level, char axis)
    {
        return get<QSlider>(QStringLiteral("CPI %1 %2").arg(level).arg(axis));
    }
    QCheckBox* box(const char* text) { return get<QCheckBox>(QString::fromUtf8(text)); }
    QComboBox* combo(const char* name) { return get<QComboBox>(QString::fromUtf8(name)); }

    void type(QLineEdit* e, const QString& text)
    {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, text);
    }

    // Model and applied settings in the same state, listener history forgotten.
    void settle()
    {
        model.copyEditedToApplied();
        applyListenerCalls = 0;
        applyEnabled.reset();
    }
};

QLabel* labelWithText(QWidget* root, const QString& text)
{
    for (QLabel* label : root->findChildren<QLabel*>())
        if (label->text() == text)
            return label;
    return nullptr;
}

}  // namespace

class BasicSettingsPageTest : public QObject {
    Q_OBJECT

private slots:
    void initialStateAndNames()
    {
        PageHost h;
        QComboBox* lod = h.combo("LOD");
        QComboBox* levels = h.combo("CPI Levels");
        QVERIFY(lod && levels);
        QVERIFY(lod->isEditable() && levels->isEditable());
        QCOMPARE(lod->currentText(), QStringLiteral("1mm"));
        QCOMPARE(lod->count(), 2);
        QCOMPARE(levels->currentText(), QStringLiteral("4"));
        QCOMPARE(levels->count(), 4);
        QCOMPARE(labelWithText(h.page, QStringLiteral("LOD:"))->buddy(), lod);
        QCOMPARE(labelWithText(h.page, QStringLiteral("CPI Levels\uFF1A"))->buddy(), levels);
        for (const char* text : {"Angle Snapping", "X/Y Settings", "Ripple Control"}) {
            QVERIFY(h.box(text));
            QVERIFY(!h.box(text)->isChecked());
        }
        const unsigned initial[] = {400, 800, 1600, 3200};
        for (int k = 1; k <= 4; ++k) {
            QVERIFY(labelWithText(h.page, QStringLiteral("CPI %1").arg(k)));
            for (char axis : {'X', 'Y'}) {
                QVERIFY(h.edit(k, axis) && h.slider(k, axis));
                QCOMPARE(h.edit(k, axis)->text(), QString::number(initial[k - 1]));
                QCOMPARE(h.slider(k, axis)->value(), int(initial[k - 1] / 50));
            }
        }
        // Building the page touches no settings.
        QCOMPARE(h.applyListenerCalls, 0);
    }

    void layoutFollowsDialogUnits()
    {
        PageHost h;
        const DialogUnits du(h.page->font());
        QCOMPARE(h.page->size(), du.size(418, 334));
        QCOMPARE(h.slider(3, 'Y')->geometry(), du.rect(60, 202, 300, 15));
        QCOMPARE(h.edit(1, 'X')->geometry(), du.rect(366, 66, 42, 14));
        QCOMPARE(h.edit(4, 'Y')->geometry(), du.rect(366, 258, 42, 14));
        QCOMPARE(h.box("Ripple Control")->geometry(), du.rect(240, 39, 60, 10));
        QCOMPARE(labelWithText(h.page, QStringLiteral("CPI 2"))->geometry(), du.rect(15, 126, 24, 8));
        // The rows line up: one pitch, one gap between X and Y, edit boxes of one size and column.
        for (int k = 2; k <= 4; ++k) {
            for (char axis : {'X', 'Y'}) {
                QCOMPARE(h.edit(k, axis)->geometry().size(), h.edit(1, axis)->geometry().size());
                QCOMPARE(h.edit(k, axis)->x(), h.edit(1, axis)->x());
                QCOMPARE(h.slider(k, axis)->y() - h.slider(k - 1, axis)->y(), du.y(56));
            }
            QCOMPARE(h.slider(k, 'Y')->y() - h.slider(k, 'X')->y(),
                     h.slider(1, 'Y')->y() - h.slider(1, 'X')->y());
        }
        QCOMPARE(h.combo("CPI Levels")->geometry().topLeft(), du.rect(66, 39, 66, 12).topLeft());
        QCOMPARE(h.combo("CPI Levels")->width(), du.x(66));
    }

    void commitStoresAndFollowsLink()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();

        h.type(h.edit(2, 'X'), QStringLiteral("0"));
        QTest::keyClick(h.edit(2, 'X'), Qt::Key_Return);
        QCOMPARE(h.edit(2, 'X')->text(), QStringLiteral("50"));
        QCOMPARE(h.slider(2, 'X')->value(), 1);
        // Linked: Y of level 2 follows, other levels do not.
        QCOMPARE(h.edit(2, 'Y')->text(), QStringLiteral("50"));
        QCOMPARE(h.slider(2, 'Y')->value(), 1);
        QCOMPARE(h.model.editedSettings.cpiLevels[1].x, 50);
        QCOMPARE(h.model.editedSettings.cpiLevels[1].y, 50);
        QCOMPARE(h.edit(1, 'Y')->text(), QStringLiteral("400"));
        QCOMPARE(h.applyEnabled, std::optional<bool>(true));

        // Separate: leaving the edit commits only its own axis.
        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        h.type(h.edit(4, 'Y'), QStringLiteral("99999"));
        QTest::keyClick(h.edit(4, 'Y'), Qt::Key_Tab);
        QCOMPARE(h.edit(4, 'Y')->text(), QStringLiteral("26000"));
        QCOMPARE(h.slider(4, 'Y')->value(), 520);
        QCOMPARE(h.edit(4, 'X')->text(), QStringLiteral("3200"));
        QCOMPARE(h.model.editedSettings.cpiLevels[3].y, 26000);
        QCOMPARE(h.model.editedSettings.cpiLevels[3].x, 3200);
        QCOMPARE(h.defaultClicks, 0);
        QVERIFY(h.dialog.isVisible());
    }

    void typingStoresNormalisedValueOnly()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        QLineEdit* x1 = h.edit(1, 'X');
        h.type(x1, QStringLiteral("1234"));
        QCOMPARE(x1->text(), QStringLiteral("1234"));
        QCOMPARE(h.slider(1, 'X')->value(), 8);
        QCOMPARE(h.model.editedSettings.cpiLevels[0].x, 1250);
        // Linked, but the other axis does not follow while typing.
        QCOMPARE(h.edit(1, 'Y')->text(), QStringLiteral("400"));
        QCOMPARE(h.model.editedSettings.cpiLevels[0].y, 400);
        QCOMPARE(h.applyEnabled, std::optional<bool>(true));

        // Clicking APPLY takes the focus and commits first: the gathered value is 1250.
        QTest::mouseClick(h.apply, Qt::LeftButton);
        QCOMPARE(x1->text(), QStringLiteral("1250"));
        QVERIFY(h.page->collectSettings());
        QCOMPARE(h.model.editedSettings.cpiLevels[0].x, 1250);
        QCOMPARE(h.model.editedSettings.cpiLevels[0].y, 1250);
    }

    void emptiedEditWarnsAndComesBackAs50()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        QLineEdit* y3 = h.edit(3, 'Y');
        QTest::mouseClick(y3, Qt::LeftButton);
        QTest::keyClick(y3, Qt::Key_A, Qt::ControlModifier);

        QString message;
        auto shown = test::acceptNextMessageBox(&message);
        QTest::keyClick(y3, Qt::Key_Backspace);
        QTRY_VERIFY(*shown);
        QCOMPARE(message, QStringLiteral("Enter a positive integer."));
        QTRY_VERIFY(y3->hasFocus());
        QCOMPARE(y3->text(), QStringLiteral("50"));
        QCOMPARE(y3->selectedText(), QStringLiteral("50"));
        QCOMPARE(h.slider(3, 'Y')->value(), 1);
        QCOMPARE(h.model.editedSettings.cpiLevels[2].y, 50);
        QVERIFY(h.dialog.isVisible());
        QCOMPARE(h.defaultClicks, 0);
    }

    void collectStopsAtFirstBadEditInPageOrder()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        const MouseSettings before = h.model.editedSettings;
        h.apply->setFocus();
        QTRY_VERIFY(h.apply->hasFocus());
        // Y of level 1 comes after X of level 3 in the read order X1..X4, Y1..Y4.
        h.edit(1, 'Y')->setText(QString());
        h.edit(3, 'X')->setText(QStringLiteral("abc"));

        auto shown = test::acceptNextMessageBox();
        QVERIFY(!h.page->collectSettings());
        QVERIFY(*shown);
        QTRY_VERIFY(h.edit(3, 'X')->hasFocus());
        QCOMPARE(h.edit(3, 'X')->selectedText(), QStringLiteral("50"));
        // The gathering did not run; only the commit of the offending edit was stored.
        QCOMPARE(h.model.editedSettings.cpiLevels[0], before.cpiLevels[0]);
        QCOMPARE(h.model.editedSettings.liftOffDistance, before.liftOffDistance);
    }

    void refreshShowsMappedValuesAndWritesNothing()
    {
        PageHost h;
        MouseSettings& s = h.model.editedSettings;
        s.cpiLevelCount = 5;
        s.liftOffDistance = 3;
        s.angleSnapping = 2;
        s.rippleControl = 1;
        s.cpiLevels[0] = CpiLevel{0, 1234, 30000};
        h.settle();
        const MouseSettings before = s;

        h.page->refreshFromSettings();
        QCOMPARE(h.combo("CPI Levels")->currentText(), QStringLiteral("4"));
        QCOMPARE(h.combo("LOD")->currentText(), QStringLiteral("1mm"));
        QVERIFY(!h.box("Angle Snapping")->isChecked());
        QVERIFY(h.box("Ripple Control")->isChecked());
        QVERIFY(!h.box("X/Y Settings")->isChecked());
        QCOMPARE(h.edit(1, 'X')->text(), QStringLiteral("1250"));
        QCOMPARE(h.edit(1, 'Y')->text(), QStringLiteral("26000"));
        QCOMPARE(h.slider(1, 'X')->value(), 25);
        QCOMPARE(h.slider(1, 'Y')->value(), 520);
        for (int k = 1; k <= 4; ++k)
            QVERIFY(!h.edit(k, 'X')->isHidden());
        QCOMPARE(s, before);
        QCOMPARE(h.applyListenerCalls, 0);

        // Count 0 is shown as 4 as well; the gathering then writes what the page shows.
        s.cpiLevelCount = 0;
        h.page->refreshFromSettings();
        QCOMPARE(h.combo("CPI Levels")->currentText(), QStringLiteral("4"));
        QCOMPARE(h.applyListenerCalls, 0);
        QVERIFY(h.page->collectSettings());
        QCOMPARE(s.cpiLevelCount, 4);
        QCOMPARE(s.liftOffDistance, 1);
        QCOMPARE(s.angleSnapping, 0);
        QCOMPARE(s.cpiLevels[0].x, 1250);
        QCOMPARE(s.cpiLevels[0].y, 26000);
        QCOMPARE(s.cpiLevels[0].xySeparate, 1);
    }

    void refreshShowsKnownValues()
    {
        PageHost h;
        MouseSettings& s = h.model.editedSettings;
        s.cpiLevelCount = 2;
        s.liftOffDistance = 2;
        s.angleSnapping = 1;
        s.cpiLevels[0].xySeparate = 0;
        s.cpiLevels[1] = CpiLevel{1, 800, 1600};
        h.page->refreshFromSettings();
        QCOMPARE(h.combo("LOD")->currentText(), QStringLiteral("2mm"));
        QCOMPARE(h.combo("CPI Levels")->currentText(), QStringLiteral("2"));
        QVERIFY(h.box("Angle Snapping")->isChecked());
        // Level 1 decides the box; level 2 keeps its two values.
        QVERIFY(!h.box("X/Y Settings")->isChecked());
        QCOMPARE(h.edit(2, 'Y')->text(), QStringLiteral("1600"));
        QCOMPARE(h.edit(2, 'X')->text(), QStringLiteral("800"));
        QVERIFY(h.edit(3, 'X')->isHidden());
    }

    void choosingLevelCountShowsRows()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        QComboBox* levels = h.combo("CPI Levels");
        QVERIFY(test::chooseEntry(levels, 1));
        QCOMPARE(levels->currentText(), QStringLiteral("2"));
        QCOMPARE(h.model.editedSettings.cpiLevelCount, 2);
        QCOMPARE(h.applyEnabled, std::optional<bool>(true));
        for (int k = 1; k <= 4; ++k) {
            const bool shown = k <= 2;
            QCOMPARE(labelWithText(h.page, QStringLiteral("CPI %1").arg(k))->isHidden(), !shown);
            for (char axis : {'X', 'Y'}) {
                QCOMPARE(h.edit(k, axis)->isHidden(), !shown);
                QCOMPARE(h.slider(k, axis)->isHidden(), !shown);
            }
        }
        QList<CpiLevelSwatch*> markers = h.page->findChildren<CpiLevelSwatch*>();
        QCOMPARE(
            std::count_if(markers.begin(), markers.end(), [](CpiLevelSwatch* m) { return m->isHidden(); }),
            2);

        // Back to 4: the applied count again, so nothing to apply.
        QVERIFY(test::chooseEntry(levels, 3));
        QCOMPARE(h.model.editedSettings.cpiLevelCount, 4);
        QCOMPARE(h.applyEnabled, std::optional<bool>(false));
        QVERIFY(!h.edit(4, 'Y')->isHidden());
    }

    void typedComboTextMatchingNoEntryDoesNothing()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        QComboBox* levels = h.combo("CPI Levels");
        QTest::mouseClick(levels->lineEdit(), Qt::LeftButton);
        QTest::keyClick(levels->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(levels->lineEdit(), QStringLiteral("7"));
        QTest::keyClick(levels->lineEdit(), Qt::Key_Return);
        QTest::keyClick(levels->lineEdit(), Qt::Key_Tab);
        QCOMPARE(levels->count(), 4);
        QCOMPARE(levels->currentIndex(), 3);
        QCOMPARE(h.model.editedSettings.cpiLevelCount, 4);
        QCOMPARE(h.applyListenerCalls, 0);
        QCOMPARE(h.defaultClicks, 0);
        QVERIFY(h.dialog.isVisible());
    }

    void switchesAndLiftOff()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        QTest::mouseClick(h.box("Angle Snapping"), Qt::LeftButton);
        QCOMPARE(h.model.editedSettings.angleSnapping, 1);
        QCOMPARE(h.applyEnabled, std::optional<bool>(true));
        QTest::mouseClick(h.box("Ripple Control"), Qt::LeftButton);
        QCOMPARE(h.model.editedSettings.rippleControl, 1);
        QTest::mouseClick(h.box("Angle Snapping"), Qt::LeftButton);
        QTest::mouseClick(h.box("Ripple Control"), Qt::LeftButton);
        QCOMPARE(h.applyEnabled, std::optional<bool>(false));

        QVERIFY(test::chooseEntry(h.combo("LOD"), 1));
        QCOMPARE(h.model.editedSettings.liftOffDistance, 2);
        QCOMPARE(h.applyEnabled, std::optional<bool>(true));
    }

    void draggingLinkedYMovesX()
    {
        PageHost h;
        QVERIFY(h.show());
        h.settle();
        QSlider* y3 = h.slider(3, 'Y');
        QTest::mousePress(y3, Qt::LeftButton, {}, test::handleCentre(y3));
        test::dragMove(y3, test::pointForPosition(y3, 100));
        // Mid-drag the level already follows.
        QVERIFY(y3->value() > 90);
        QCOMPARE(h.slider(3, 'X')->value(), y3->value());
        QCOMPARE(h.model.editedSettings.cpiLevels[2].x, y3->value() * 50);
        test::dragMove(y3, test::pointForPosition(y3, 30));
        QTest::mouseRelease(y3, Qt::LeftButton, {}, test::pointForPosition(y3, 30));
        // 520 positions on a few hundred pixels: the mouse lands within one position; the arrow
        // keys finish the way.
        QVERIFY(std::abs(y3->value() - 30) <= 1);
        QCOMPARE(h.slider(3, 'X')->value(), y3->value());
        y3->setFocus();
        QTRY_VERIFY(y3->hasFocus());
        while (y3->value() != 30)
            QTest::keyClick(y3, y3->value() < 30 ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(h.slider(3, 'X')->value(), 30);
        QCOMPARE(h.edit(3, 'X')->text(), QStringLiteral("1500"));
        QCOMPARE(h.edit(3, 'Y')->text(), QStringLiteral("1500"));
        QCOMPARE(h.model.editedSettings.cpiLevels[2].x, 1500);
        QCOMPARE(h.model.editedSettings.cpiLevels[2].y, 1500);
        QCOMPARE(h.slider(2, 'X')->value(), 16);

        // Separate: the level-4 X trackbar moves only level 4's X.
        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        QSlider* x4 = h.slider(4, 'X');
        x4->setFocus();
        QTRY_VERIFY(x4->hasFocus());
        QTest::keyClick(x4, Qt::Key_Left);
        QCOMPARE(h.model.editedSettings.cpiLevels[3].x, 3150);
        QCOMPARE(h.model.editedSettings.cpiLevels[3].y, 3200);
        QCOMPARE(h.slider(4, 'Y')->value(), 64);
    }

    void uncheckingCopiesXToYOnEveryLevel()
    {
        PageHost h;
        MouseSettings& s = h.model.editedSettings;
        s.cpiLevels[0] = CpiLevel{1, 400, 450};
        s.cpiLevels[1] = CpiLevel{1, 800, 1600};
        s.cpiLevels[2] = CpiLevel{0, 1600, 1600};
        s.cpiLevels[3] = CpiLevel{1, 3200, 6400};
        h.page->refreshFromSettings();
        QVERIFY(h.show());
        h.settle();
        QVERIFY(h.box("X/Y Settings")->isChecked());

        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        const int x[] = {400, 800, 1600, 3200};
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(h.edit(k, 'Y')->text(), QString::number(x[k - 1]));
            QCOMPARE(h.slider(k, 'Y')->value(), x[k - 1] / 50);
            QCOMPARE(s.cpiLevels[k - 1].y, x[k - 1]);
        }
        QCOMPARE(h.applyEnabled, std::optional<bool>(true));

        // Checking again changes nothing and runs no change detection.
        const int calls = h.applyListenerCalls;
        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        QCOMPARE(h.applyListenerCalls, calls);
        QCOMPARE(h.edit(2, 'Y')->text(), QStringLiteral("800"));
    }

    void uncheckingWithoutDifferenceLeavesApplyOff()
    {
        PageHost h;
        QVERIFY(h.show());
        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        h.settle();
        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        QVERIFY(h.applyListenerCalls > 0);
        QCOMPARE(h.applyEnabled, std::optional<bool>(false));
    }

    void collectDerivesXySeparateAndKeepsHiddenRows()
    {
        PageHost h;
        QVERIFY(h.show());
        QTest::mouseClick(h.box("X/Y Settings"), Qt::LeftButton);
        h.type(h.edit(2, 'Y'), QStringLiteral("900"));
        QTest::keyClick(h.edit(2, 'Y'), Qt::Key_Return);
        h.type(h.edit(4, 'Y'), QStringLiteral("3300"));
        QTest::keyClick(h.edit(4, 'Y'), Qt::Key_Return);
        QVERIFY(test::chooseEntry(h.combo("CPI Levels"), 1));
        QTest::mouseClick(h.box("Ripple Control"), Qt::LeftButton);

        MouseSettings& s = h.model.editedSettings;
        for (CpiLevel& level : s.cpiLevels)
            level = CpiLevel{7, 1, 1};
        s.rippleControl = 0;
        s.cpiLevelCount = 9;
        QVERIFY(h.page->collectSettings());
        const CpiLevel expected[] = {{0, 400, 400}, {1, 800, 900}, {0, 1600, 1600}, {1, 3200, 3300}};
        for (int k = 0; k < 4; ++k)
            QCOMPARE(s.cpiLevels[k], expected[k]);
        QCOMPARE(s.cpiLevelCount, 2);
        QCOMPARE(s.rippleControl, 1);
        QCOMPARE(s.liftOffDistance, 1);
    }

    void enterAndEscapeCloseNothing()
    {
        PageHost h;
        QVERIFY(h.show());
        QWidget* targets[] = {h.edit(1, 'X'), h.slider(2, 'Y'), h.box("Angle Snapping"), h.combo("LOD"),
                              h.combo("CPI Levels")};
        for (QWidget* target : targets) {
            target->setFocus();
            QTRY_VERIFY(target->hasFocus() || target->isAncestorOf(QApplication::focusWidget()));
            QWidget* receiver = QApplication::focusWidget();
            QTest::keyClick(receiver, Qt::Key_Return);
            QTest::keyClick(receiver, Qt::Key_Enter);
            QTest::keyClick(receiver, Qt::Key_Escape);
            QVERIFY2(h.dialog.isVisible(), qPrintable(target->accessibleName()));
            QCOMPARE(h.dialog.result(), 0);
            QCOMPARE(h.defaultClicks, 0);
            QVERIFY(h.page->isVisible());
        }
        QVERIFY(!h.box("Angle Snapping")->isChecked());
        QCOMPARE(h.edit(1, 'X')->text(), QStringLiteral("400"));
        QCOMPARE(h.slider(2, 'Y')->value(), 16);
        QCOMPARE(h.combo("LOD")->count(), 2);
    }

    void setControlsEnabledCoversEditableControlsAndTheirLabels()
    {
        PageHost h;
        h.page->setControlsEnabled(false);
        int disabled = 0;
        for (QWidget* w : h.page->findChildren<QWidget*>()) {
            if (qobject_cast<CpiLevelSwatch*>(w)) {
                QVERIFY(w->isEnabled());
            } else if (qobject_cast<QLabel*>(w)) {
                // A caption never looks usable beside a control that is not.
                QVERIFY2(!w->isEnabled(), qPrintable(static_cast<QLabel*>(w)->text()));
            } else if (!w->isEnabled()) {
                ++disabled;
            }
        }
        QVERIFY(disabled >= 2 + 3 + 8 + 8);
        for (int k = 1; k <= 4; ++k)
            for (char axis : {'X', 'Y'})
                QVERIFY(!h.edit(k, axis)->isEnabled() && !h.slider(k, axis)->isEnabled());
        QVERIFY(!h.combo("LOD")->isEnabled() && !h.combo("CPI Levels")->isEnabled());
        QVERIFY(!h.box("X/Y Settings")->isEnabled());
        h.page->setControlsEnabled(true);
        for (QWidget* w : h.page->findChildren<QWidget*>())
            QVERIFY(w->isEnabled());
    }
};

int main(int argc, char** argv)
{
    lark::test::useOffscreenByDefault();
    QApplication app(argc, argv);
    BasicSettingsPageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BasicSettingsPageTest.moc"
