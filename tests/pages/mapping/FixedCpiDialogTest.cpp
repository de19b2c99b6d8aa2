#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/MappingTestSupport.h"
#include "support/ModalHelpers.h"
#include "support/TestPlatform.h"

using namespace lark;
using lark::test::named;

namespace {

// The dialog's controls by their accessible names.
struct FixedCpiControls {
    explicit FixedCpiControls(FixedCpiDialog& d)
        : dialog(d), separate(named<QCheckBox>(&d, QStringLiteral("X/Y Settings"))),
          xSlider(named<QSlider>(&d, QStringLiteral("X"))), ySlider(named<QSlider>(&d, QStringLiteral("Y"))),
          xEdit(named<QLineEdit>(&d, QStringLiteral("X value"))),
          yEdit(named<QLineEdit>(&d, QStringLiteral("Y value"))),
          ok(named<QPushButton>(&d, QStringLiteral("OK")))
    {
    }

    bool complete() const { return separate && xSlider && ySlider && xEdit && yEdit && ok; }
    void pressOk() { QTest::mouseClick(ok, Qt::LeftButton); }
    void checkSeparate()
    {
        QTest::mouseClick(separate, Qt::LeftButton, {}, QPoint(6, separate->height() / 2));
    }

    FixedCpiDialog& dialog;
    QCheckBox* separate;
    QSlider* xSlider;
    QSlider* ySlider;
    QLineEdit* xEdit;
    QLineEdit* yEdit;
    QPushButton* ok;
};

}  // namespace

class FixedCpiDialogTest : public QObject {
    Q_OBJECT

private slots:
    void opensAt400LinkedAndOkReturnsIt();
    void linkedTrackbarMovesBoth();
    void separateAxesReturnTheirOwnValues();
    void enterCommitsAndNeverCloses();
    void escapeAndCloseBoxCancel();
    void unreadableEditKeepsTheDialogOpen();
};

void FixedCpiDialogTest::opensAt400LinkedAndOkReturnsIt()
{
    FixedCpiDialog dialog;
    FixedCpiControls c(dialog);
    QVERIFY(c.complete());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("FIXED CPI"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(c.xSlider->minimum(), 1);
    QCOMPARE(c.xSlider->maximum(), 520);
    QCOMPARE(c.xSlider->value(), 8);
    QCOMPARE(c.ySlider->value(), 8);
    QCOMPARE(c.xEdit->text(), QStringLiteral("400"));
    QCOMPARE(c.yEdit->text(), QStringLiteral("400"));
    QVERIFY(!c.separate->isChecked());
    c.pressOk();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.xValue(), 400u);
    QCOMPARE(dialog.yValue(), 400u);
}

void FixedCpiDialogTest::linkedTrackbarMovesBoth()
{
    FixedCpiDialog dialog;
    FixedCpiControls c(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.xSlider->setFocus();
    for (int i = 8; i < 20; ++i)
        QTest::keyClick(c.xSlider, Qt::Key_Right);
    QCOMPARE(c.xEdit->text(), QStringLiteral("1000"));
    QCOMPARE(c.yEdit->text(), QStringLiteral("1000"));
    QCOMPARE(c.ySlider->value(), 20);
    c.pressOk();
    QCOMPARE(dialog.xValue(), 1000u);
    QCOMPARE(dialog.yValue(), 1000u);
}

void FixedCpiDialogTest::separateAxesReturnTheirOwnValues()
{
    FixedCpiDialog dialog;
    FixedCpiControls c(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.checkSeparate();
    QVERIFY(c.separate->isChecked());
    c.ySlider->setFocus();
    for (int i = 8; i < 32; ++i)
        QTest::keyClick(c.ySlider, Qt::Key_Right);
    QCOMPARE(c.xEdit->text(), QStringLiteral("400"));
    QCOMPARE(c.yEdit->text(), QStringLiteral("1600"));
    c.pressOk();
    QCOMPARE(dialog.xValue(), 400u);
    QCOMPARE(dialog.yValue(), 1600u);
}

void FixedCpiDialogTest::enterCommitsAndNeverCloses()
{
    FixedCpiDialog dialog;
    FixedCpiControls c(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.xEdit->setFocus();
    c.xEdit->selectAll();
    QTest::keyClicks(c.xEdit, QStringLiteral("1234"));
    QTest::keyClick(c.xEdit, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(c.xEdit->text(), QStringLiteral("1250"));
    QCOMPARE(c.yEdit->text(), QStringLiteral("1250"));
    QCOMPARE(c.ySlider->value(), 25);
    // Enter elsewhere neither closes nor changes anything.
    for (QWidget* w : {static_cast<QWidget*>(c.ok), static_cast<QWidget*>(c.xSlider),
                       static_cast<QWidget*>(c.separate), static_cast<QWidget*>(&dialog)}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Enter);
        QTest::keyClick(w, Qt::Key_Return);
        QVERIFY(dialog.isVisible());
    }
    QCOMPARE(c.xSlider->value(), 25);
    QVERIFY(!c.separate->isChecked());
    c.pressOk();
    QCOMPARE(dialog.xValue(), 1250u);
    QCOMPARE(dialog.yValue(), 1250u);
}

void FixedCpiDialogTest::escapeAndCloseBoxCancel()
{
    {
        FixedCpiDialog dialog;
        FixedCpiControls c(dialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        c.xSlider->setFocus();
        QTest::keyClick(c.xSlider, Qt::Key_End);
        QTest::keyClick(c.xSlider, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        FixedCpiDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.close();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
}

void FixedCpiDialogTest::unreadableEditKeepsTheDialogOpen()
{
    FixedCpiDialog dialog;
    FixedCpiControls c(dialog);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    c.checkSeparate();
    // Pasted text gets past the digits-only keyboard filter; the read then stops at the Y edit.
    c.yEdit->setText(QStringLiteral("+5"));
    QString warning;
    auto answered = lark::test::acceptNextMessageBox(&warning);
    c.ok->setFocus();
    QTest::keyClick(c.ok, Qt::Key_Space);
    QTRY_VERIFY(*answered);
    QCOMPARE(warning, QStringLiteral("Enter a positive integer."));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

int main(int argc, char** argv)
{
    lark::test::useOffscreenByDefault();
    QApplication app(argc, argv);
    FixedCpiDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FixedCpiDialogTest.moc"
