#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <memory>
#include <vector>

#include "support/ModalHelpers.h"
#include "support/SliderHelpers.h"
#include "widgets/CpiPair.h"
#include "widgets/CpiPairGroup.h"

using namespace lark;

namespace {

// A dialog with one CPI pair, like the Fixed CPI dialog: a default OK button that must never be
// pressed by Enter in an edit, a label to click on and an empty spot of background.
struct PairDialog {
    // Declared before the dialog: tearing the dialog down moves the focus and may still commit.
    int okClicks = 0;
    std::vector<std::pair<CpiAxis, std::uint32_t>> edits;
    QDialog dialog;
    QCheckBox* separate = nullptr;
    CpiPairGroup* group = nullptr;
    CpiPair* pair = nullptr;
    QLabel* label = nullptr;
    QPushButton* ok = nullptr;

    PairDialog()
    {
        dialog.resize(500, 200);
        separate = new QCheckBox(QStringLiteral("X/Y Settings"), &dialog);
        separate->setGeometry(10, 10, 120, 20);
        group = new CpiPairGroup(&dialog, separate);
        pair = group->addPair(QString(), 400);
        label = new QLabel(QStringLiteral("X:"), &dialog);
        label->setGeometry(10, 40, 30, 20);
        pair->slider(CpiAxis::X)->setGeometry(40, 40, 300, 20);
        pair->edit(CpiAxis::X)->setGeometry(350, 40, 80, 20);
        pair->slider(CpiAxis::Y)->setGeometry(40, 80, 300, 20);
        pair->edit(CpiAxis::Y)->setGeometry(350, 80, 80, 20);
        ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setGeometry(400, 160, 80, 24);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++okClicks; });
        QObject::connect(pair, &CpiPair::valueEdited,
                         [this](CpiAxis axis, std::uint32_t value) { edits.emplace_back(axis, value); });
    }

    QLineEdit* edit(CpiAxis axis) const
    {
        return findByNameOrNull(axis == CpiAxis::X ? "X value" : "Y value");
    }

    QLineEdit* findByNameOrNull(const char* name) const
    {
        return test::named<QLineEdit>(const_cast<QDialog*>(&dialog), QString::fromLatin1(name));
    }

    QSlider* slider(CpiAxis axis) const
    {
        return test::named<QSlider>(const_cast<QDialog*>(&dialog),
                                    axis == CpiAxis::X ? QStringLiteral("X") : QStringLiteral("Y"));
    }

    bool show()
    {
        dialog.show();
        return QTest::qWaitForWindowActive(&dialog);
    }

    // Replaces the whole text of an edit the way a user does: click in, select all, type.
    void type(CpiAxis axis, const QString& text)
    {
        QLineEdit* e = edit(axis);
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(e, text);
    }
};

}  // namespace

class CpiPairTest : public QObject {
    Q_OBJECT

private slots:
    void namesAndInitialState()
    {
        PairDialog d;
        for (CpiAxis axis : {CpiAxis::X, CpiAxis::Y}) {
            QVERIFY(d.edit(axis));
            QVERIFY(d.slider(axis));
            QCOMPARE(d.edit(axis)->text(), QStringLiteral("400"));
            QCOMPARE(d.slider(axis)->value(), 8);
            QCOMPARE(d.slider(axis)->minimum(), 1);
            QCOMPARE(d.slider(axis)->maximum(), 520);
            QCOMPARE(d.slider(axis)->tickPosition(), QSlider::NoTicks);
        }
        QVERIFY(d.edits.empty());
    }

    void commitShowsNormalisedValue_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("position");
        QTest::newRow("0 + Enter") << "0"
                                   << "enter"
                                   << "50" << 1;
        QTest::newRow("1225 + Enter") << "1225"
                                      << "enter"
                                      << "1250" << 25;
        QTest::newRow("1224 + Enter") << "1224"
                                      << "enter"
                                      << "1200" << 24;
        QTest::newRow("99999, focus leaves") << "99999"
                                             << "leave"
                                             << "26000" << 520;
        QTest::newRow("1234, background click") << "1234"
                                                << "background"
                                                << "1250" << 25;
        QTest::newRow("1234, click on a label") << "1234"
                                                << "label"
                                                << "1250" << 25;
        QTest::newRow("26000 + Enter") << "26000"
                                       << "enter"
                                       << "26000" << 520;
    }

    void commitShowsNormalisedValue()
    {
        QFETCH(QString, typed);
        QFETCH(QString, trigger);
        QFETCH(QString, shown);
        QFETCH(int, position);

        PairDialog d;
        d.separate->setChecked(true);
        QVERIFY(d.show());
        d.type(CpiAxis::X, typed);
        // Typing alone takes nothing over in a dialog that reads its edits only when asked.
        QCOMPARE(d.edit(CpiAxis::X)->text(), typed);
        QCOMPARE(d.slider(CpiAxis::X)->value(), 8);

        if (trigger == "enter")
            QTest::keyClick(d.edit(CpiAxis::X), Qt::Key_Return);
        else if (trigger == "leave")
            QTest::keyClick(d.edit(CpiAxis::X), Qt::Key_Tab);
        else if (trigger == "background")
            QTest::mouseClick(&d.dialog, Qt::LeftButton, {}, QPoint(200, 130));
        else
            QTest::mouseClick(d.label, Qt::LeftButton);

        QCOMPARE(d.edit(CpiAxis::X)->text(), shown);
        QCOMPARE(d.slider(CpiAxis::X)->value(), position);
        QCOMPARE(d.pair->value(CpiAxis::X), shown.toUInt());
        // Separate axes: Y untouched.
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("400"));
        QCOMPARE(d.slider(CpiAxis::Y)->value(), 8);
        QCOMPARE(d.pair->value(CpiAxis::Y), 400u);
        QVERIFY(!d.edits.empty());
        QCOMPARE(d.edits.back(), std::make_pair(CpiAxis::X, shown.toUInt()));
        QCOMPARE(d.okClicks, 0);
        QVERIFY(d.dialog.isVisible());
    }

    void linkedCommitMovesTheOtherAxis()
    {
        PairDialog d;
        QVERIFY(d.show());
        d.type(CpiAxis::X, QStringLiteral("1000"));
        QTest::keyClick(d.edit(CpiAxis::X), Qt::Key_Enter);
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("1000"));
        QCOMPARE(d.slider(CpiAxis::X)->value(), 20);
        QCOMPARE(d.slider(CpiAxis::Y)->value(), 20);
        QCOMPARE(d.pair->value(CpiAxis::Y), 1000u);
        QVERIFY(d.dialog.isVisible());
        QCOMPARE(d.okClicks, 0);

        // Typing 1234 + Enter in the Y edit: both show 1250, the dialog stays open.
        d.type(CpiAxis::Y, QStringLiteral("1234"));
        QTest::keyClick(d.edit(CpiAxis::Y), Qt::Key_Return);
        QCOMPARE(d.edit(CpiAxis::X)->text(), QStringLiteral("1250"));
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("1250"));
        QCOMPARE(d.dialog.result(), 0);
        QVERIFY(d.dialog.isVisible());
    }

    void backgroundClickWithoutFocusedEditCommitsNothing()
    {
        PairDialog d;
        QVERIFY(d.show());
        // Text placed without a user edit, focus on the check box: nothing may take it over.
        d.separate->setFocus();
        QTRY_VERIFY(d.separate->hasFocus());
        d.pair->edit(CpiAxis::X)->setText(QStringLiteral("1234"));
        d.edits.clear();
        QTest::mouseClick(&d.dialog, Qt::LeftButton, {}, QPoint(200, 130));
        QTest::keyClick(d.separate, Qt::Key_Return);
        QCOMPARE(d.edit(CpiAxis::X)->text(), QStringLiteral("1234"));
        QCOMPARE(d.pair->value(CpiAxis::X), 400u);
        QVERIFY(d.edits.empty());
    }

    void commitOfShownValueKeepsSelection()
    {
        PairDialog d;
        QVERIFY(d.show());
        QLineEdit* x = d.edit(CpiAxis::X);
        x->setFocus();
        QTRY_VERIFY(x->hasFocus());
        x->selectAll();
        d.edits.clear();
        QTest::keyClick(x, Qt::Key_Return);
        QCOMPARE(x->selectedText(), QStringLiteral("400"));
        // Linked: the other axis still takes the value, and the edit is announced.
        QCOMPARE(d.edits.size(), std::size_t(2));
    }

    void sliderRule()
    {
        PairDialog d;
        QVERIFY(d.show());
        QSlider* x = d.slider(CpiAxis::X);
        QSlider* y = d.slider(CpiAxis::Y);

        // Linked: each key step moves both.
        x->setFocus();
        QTRY_VERIFY(x->hasFocus());
        QTest::keyClick(x, Qt::Key_Right);
        QCOMPARE(x->value(), 9);
        QCOMPARE(y->value(), 9);
        QCOMPARE(d.edit(CpiAxis::X)->text(), QStringLiteral("450"));
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("450"));

        // The two ends give exactly 50 and 26000.
        QTest::keyClick(x, Qt::Key_End);
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("26000"));
        QCOMPARE(d.pair->value(CpiAxis::X), 26000u);
        QTest::keyClick(x, Qt::Key_Home);
        QCOMPARE(d.edit(CpiAxis::X)->text(), QStringLiteral("50"));
        QCOMPARE(d.pair->value(CpiAxis::Y), 50u);

        // Enter on a trackbar changes no value (what Enter does to the window is the window's).
        d.edits.clear();
        QTest::keyClick(x, Qt::Key_Return);
        QCOMPARE(x->value(), 1);
        QVERIFY(d.edits.empty());

        // Separate: only the moved axis.
        QTest::mouseClick(d.separate, Qt::LeftButton);
        QVERIFY(d.separate->isChecked());
        y->setFocus();
        QTRY_VERIFY(y->hasFocus());
        QTest::keyClick(y, Qt::Key_PageUp);
        QVERIFY(y->value() > 1);
        QCOMPARE(x->value(), 1);
        QCOMPARE(d.edit(CpiAxis::X)->text(), QStringLiteral("50"));
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QString::number(y->value() * 50));
    }

    void dragUpdatesContinuously()
    {
        PairDialog d;
        QVERIFY(d.show());
        QSlider* x = d.slider(CpiAxis::X);
        QTest::mousePress(x, Qt::LeftButton, {}, test::handleCentre(x));
        std::vector<QString> seen;
        for (int position : {60, 200, 400}) {
            test::dragMove(x, test::pointForPosition(x, position));
            seen.push_back(d.edit(CpiAxis::Y)->text());
        }
        QTest::mouseRelease(x, Qt::LeftButton, {}, test::pointForPosition(x, 400));
        // Each intermediate report already moved the linked axis along.
        QCOMPARE(seen.size(), std::size_t(3));
        QVERIFY(seen[0] != QStringLiteral("400"));
        QVERIFY(seen[0] != seen[1] && seen[1] != seen[2]);
        QCOMPARE(d.slider(CpiAxis::Y)->value(), x->value());
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QString::number(x->value() * 50));
    }

    void linkRule()
    {
        PairDialog d;
        QVERIFY(d.show());
        QTest::mouseClick(d.separate, Qt::LeftButton);  // separate
        d.pair->setValues(800, 1600);
        d.edits.clear();

        QTest::mouseClick(d.separate, Qt::LeftButton);  // linked again: Y takes X
        QVERIFY(!d.separate->isChecked());
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("800"));
        QCOMPARE(d.slider(CpiAxis::Y)->value(), 16);
        QCOMPARE(d.pair->value(CpiAxis::Y), 800u);
        QCOMPARE(d.edits.size(), std::size_t(1));
        QCOMPARE(d.edits.back(), std::make_pair(CpiAxis::Y, 800u));

        // Checking changes no value and announces nothing.
        QTest::mouseClick(d.separate, Qt::LeftButton);
        QCOMPARE(d.edit(CpiAxis::X)->text(), QStringLiteral("800"));
        QCOMPARE(d.edit(CpiAxis::Y)->text(), QStringLiteral("800"));
        QCOMPARE(d.edits.size(), std::size_t(1));

        // A programmatic change of the box is no click: no link rule.
        d.separate->setChecked(true);
        d.pair->setValues(800, 1600);
        d.separate->setChecked(false);
        QCOMPARE(d.pair->value(CpiAxis::Y), 1600u);
    }

    void readStopsAtFirstEditWithoutNumber_data()
    {
        QTest::addColumn<QString>("xText");
        QTest::addColumn<QString>("yText");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("focusName");
        QTest::addColumn<uint>("x");
        QTest::addColumn<uint>("y");
        QTest::newRow("both numbers") << "1234"
                                      << " 777abc" << true << "" << 1250u << 800u;
        QTest::newRow("huge run") << "99999999999999999999"
                                  << "60" << true << "" << 26000u << 50u;
        // The offending edit is committed when the focus comes back to it: empty or signed gives 50.
        QTest::newRow("empty Y") << "1000"
                                 << "" << false << "Y value" << 1000u << 50u;
        QTest::newRow("signed X stops before Y") << "-5"
                                                 << "" << false << "X value" << 50u << 400u;
    }

    void readStopsAtFirstEditWithoutNumber()
    {
        QFETCH(QString, xText);
        QFETCH(QString, yText);
        QFETCH(bool, ok);
        QFETCH(QString, focusName);
        QFETCH(uint, x);
        QFETCH(uint, y);

        PairDialog d;
        d.separate->setChecked(true);
        QVERIFY(d.show());
        d.ok->setFocus();
        QTRY_VERIFY(d.ok->hasFocus());
        d.pair->edit(CpiAxis::X)->setText(xText);
        d.pair->edit(CpiAxis::Y)->setText(yText);

        QString message;
        // Armed only when a box is due, so no watcher outlives its row.
        std::shared_ptr<bool> shown = ok ? nullptr : test::acceptNextMessageBox(&message);
        QCOMPARE(d.group->readEdits(), ok);
        if (ok) {
            QVERIFY(!QApplication::activeModalWidget());
            QCOMPARE(d.pair->value(CpiAxis::X), x);
            QCOMPARE(d.pair->value(CpiAxis::Y), y);
            // The read itself changes no text and no trackbar.
            QCOMPARE(d.edit(CpiAxis::X)->text(), xText);
            QCOMPARE(d.slider(CpiAxis::X)->value(), 8);
            return;
        }
        QVERIFY(*shown);
        QCOMPARE(message, QStringLiteral("Enter a positive integer."));
        QLineEdit* offending = d.findByNameOrNull(focusName.toLatin1().constData());
        QTRY_VERIFY(offending->hasFocus());
        QCOMPARE(offending->text(), QStringLiteral("50"));
        QCOMPARE(offending->selectedText(), QStringLiteral("50"));
        QCOMPARE(d.pair->value(CpiAxis::X), x);
        QCOMPARE(d.pair->value(CpiAxis::Y), y);
    }
};

int main(int argc, char** argv)
{
    lark::test::useOffscreenByDefault();
    QApplication app(argc, argv);
    CpiPairTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CpiPairTest.moc"
