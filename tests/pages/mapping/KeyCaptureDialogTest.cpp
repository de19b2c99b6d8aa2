#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "pages/mapping/KeyCaptureDialog.h"
#include "pages/mapping/MappingTestSupport.h"
#include "support/ModalHelpers.h"
#include "support/TestPlatform.h"

using namespace lark;
using lark::test::named;

namespace {

QLabel* keyLabel(KeyCaptureDialog& dialog)
{
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->accessibleDescription() == QStringLiteral("Key"))
            return label;
    }
    return nullptr;
}

void check(KeyCaptureDialog& dialog, const char* box)
{
    auto* checkBox = named<QCheckBox>(&dialog, QString::fromLatin1(box));
    QVERIFY(checkBox);
    // On the indicator: a check box reacts to clicks on its indicator and text only.
    QTest::mouseClick(checkBox, Qt::LeftButton, {}, QPoint(6, checkBox->height() / 2));
}

void pressOk(KeyCaptureDialog& dialog)
{
    QTest::mouseClick(named<QPushButton>(&dialog, QStringLiteral("OK")), Qt::LeftButton);
}

}  // namespace

class KeyCaptureDialogTest : public QObject {
    Q_OBJECT

private slots:
    void capturesKeysWithPrefixInBoxOrder_data();
    void capturesKeysWithPrefixInBoxOrder();
    void lastEventWinsPressesAndReleasesAlike();
    void enterIsCapturedAndNeverCloses();
    void escapeIsCapturedAndCancels();
    void closeBoxCancels();
    void eachOpeningStartsBlankAndTellsWhetherAKeyCame();
    void keysReachTheirUsualDestination();
    void captureEndsWithTheDialog();
    void hookFailureWarnsAndKeepsTheDialogUsable();
    void keypadKeysAreTheKeypadWithOrWithoutNumLock_data();
    void keypadKeysAreTheKeypadWithOrWithoutNumLock();
    void aKeyWithoutAKeyboardUsageIsRefused_data();
    void aKeyWithoutAKeyboardUsageIsRefused();
    void anAssignableKeyAfterARefusedOneIsTaken();
};

void KeyCaptureDialogTest::capturesKeysWithPrefixInBoxOrder_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("usage");

    QTest::newRow("Shift+Ctrl+A") << QStringList{"CTRL", "SHIFT"} << int(Qt::Key_A) << "Shift+Ctrl+A" << 3
                                  << 0x04;
    // The key names its own modifier: the box adds nothing to the caption.
    QTest::newRow("Ctrl + left Ctrl")
        << QStringList{"CTRL"} << int(Qt::Key_Control) << "Left Control" << 1 << 0xE0;
    QTest::newRow("all four") << QStringList{"ALT", "WIN", "CTRL", "SHIFT"} << int(Qt::Key_F5)
                              << "Shift+Ctrl+Win+Alt+F5" << 15 << 0x3E;
    QTest::newRow("no box") << QStringList{} << int(Qt::Key_Up) << "Up Arrow " << 0 << 0x52;
    QTest::newRow("F13") << QStringList{} << int(Qt::Key_F13) << "F13" << 0 << 0x68;
    QTest::newRow("Mute, Alt") << QStringList{"ALT"} << int(Qt::Key_VolumeMute) << "Alt+Mute" << 4 << 0x7F;
}

void KeyCaptureDialogTest::capturesKeysWithPrefixInBoxOrder()
{
    QFETCH(QStringList, boxes);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(int, usage);

    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QString& box : boxes)
        check(dialog, box.toLatin1().constData());
    QTest::keyClick(&dialog, Qt::Key(key));
    pressOk(dialog);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(QString::fromStdString(state.capturedKeyText), text);
    QCOMPARE(int(state.capturedModifiers), modifiers);
    QCOMPARE(int(state.capturedKeyCode), usage);
    QVERIFY(dialog.keyCapturedThisOpening());
}

void KeyCaptureDialogTest::lastEventWinsPressesAndReleasesAlike()
{
    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLabel* label = keyLabel(dialog);
    QVERIFY(label);

    QTest::keyPress(&dialog, Qt::Key_Shift);
    QCOMPARE(label->text(), QStringLiteral("Left Shift"));
    QTest::keyPress(&dialog, Qt::Key_A, Qt::ShiftModifier);
    QCOMPARE(label->text(), QStringLiteral("A"));
    QCOMPARE(label->accessibleName(), QStringLiteral("A"));
    QTest::keyRelease(&dialog, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyRelease(&dialog, Qt::Key_Shift);
    QCOMPARE(label->text(), QStringLiteral("Left Shift"));
    QCOMPARE(label->accessibleName(), QStringLiteral("Left Shift"));
    QCOMPARE(int(state.capturedKeyCode), 0xE1);
    QCOMPARE(state.capturedKeyText, std::string("Left Shift"));
}

void KeyCaptureDialogTest::enterIsCapturedAndNeverCloses()
{
    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    // Enter on the dialog, on the focused OK button and on a check box.
    auto* ok = named<QPushButton>(&dialog, QStringLiteral("OK"));
    auto* shift = named<QCheckBox>(&dialog, QStringLiteral("SHIFT"));
    for (QWidget* target :
         {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(ok), static_cast<QWidget*>(shift)}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        QVERIFY(dialog.isVisible());
    }
    QVERIFY(!shift->isChecked());
    QCOMPARE(keyLabel(dialog)->text(), QStringLiteral("Enter"));
    pressOk(dialog);
    QCOMPARE(state.capturedKeyText, std::string("Enter"));
    QCOMPARE(int(state.capturedKeyCode), 0x58);  // the last event was Qt's keypad Enter
}

void KeyCaptureDialogTest::escapeIsCapturedAndCancels()
{
    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    check(dialog, "SHIFT");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(int(state.capturedKeyCode), 0x29);
    QCOMPARE(state.capturedKeyText, std::string("Esc"));
    QCOMPARE(int(state.capturedModifiers), 0);  // only OK writes the boxes
}

void KeyCaptureDialogTest::closeBoxCancels()
{
    KeyCaptureState state{0x41, 2, "Shift+A"};
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    check(dialog, "CTRL");
    dialog.close();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(state.capturedKeyText, std::string("Shift+A"));
    QCOMPARE(int(state.capturedModifiers), 2);
}

void KeyCaptureDialogTest::eachOpeningStartsBlankAndTellsWhetherAKeyCame()
{
    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    check(dialog, "WIN");
    QTest::keyClick(&dialog, Qt::Key_B);
    pressOk(dialog);
    QVERIFY(dialog.keyCapturedThisOpening());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.keyCapturedThisOpening());
    QCOMPARE(keyLabel(dialog)->text(), QString());
    QVERIFY(!named<QCheckBox>(&dialog, QStringLiteral("WIN"))->isChecked());
    check(dialog, "SHIFT");
    pressOk(dialog);
    // The text is only the prefix and the code is the earlier opening's: the caller must not use it.
    QVERIFY(!dialog.keyCapturedThisOpening());
    QCOMPARE(state.capturedKeyText, std::string("Shift+"));
    QCOMPARE(int(state.capturedKeyCode), 0x05);
}

void KeyCaptureDialogTest::keysReachTheirUsualDestination()
{
    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* win = named<QCheckBox>(&dialog, QStringLiteral("WIN"));
    win->setFocus();
    QTest::keyClick(win, Qt::Key_Space);  // toggles the box and is captured as well
    QVERIFY(win->isChecked());
    QCOMPARE(state.capturedKeyText, std::string("Space"));
    QCOMPARE(dialog.focusWidget(), win);
    QTest::keyClick(win, Qt::Key_Tab);  // moves the focus and is captured
    QVERIFY(dialog.focusWidget() != win);
    QCOMPARE(state.capturedKeyText, std::string("Tab"));
}

void KeyCaptureDialogTest::captureEndsWithTheDialog()
{
    KeyCaptureState state;
    QWidget other;
    other.show();
    {
        KeyCaptureDialog dialog(state);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&other, Qt::Key_G);  // any key that reaches the application counts
        QCOMPARE(state.capturedKeyText, std::string("G"));
        pressOk(dialog);
        QTest::keyClick(&other, Qt::Key_H);
        QCOMPARE(state.capturedKeyText, std::string("G"));
        QCOMPARE(int(state.capturedKeyCode), 0x0A);
    }
    QTest::keyClick(&other, Qt::Key_J);
    QCOMPARE(int(state.capturedKeyCode), 0x0A);
}

void KeyCaptureDialogTest::hookFailureWarnsAndKeepsTheDialogUsable()
{
    KeyCaptureState state{0x41, 0, ""};
    KeyCaptureDialog dialog(state, nullptr, nullptr);
    QString warning;
    auto answered = lark::test::acceptNextMessageBox(&warning);
    dialog.show();
    QTRY_VERIFY(*answered);
    QCOMPARE(warning, QStringLiteral("hook failed."));
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.captureActive());

    QTest::keyClick(&dialog, Qt::Key_C);
    QCOMPARE(keyLabel(dialog)->text(), QString());
    check(dialog, "ALT");
    pressOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(state.capturedKeyText, std::string("Alt+"));
    QVERIFY(!dialog.keyCapturedThisOpening());
}

void KeyCaptureDialogTest::keypadKeysAreTheKeypadWithOrWithoutNumLock_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("usage");

    QTest::newRow("KP 5, Num Lock on") << int(Qt::Key_5) << "5" << 0x5D;
    QTest::newRow("KP 5, Num Lock off") << int(Qt::Key_Clear) << "5" << 0x5D;
    QTest::newRow("KP 7, Num Lock off") << int(Qt::Key_Home) << "7" << 0x5F;
    QTest::newRow("KP ., Num Lock off") << int(Qt::Key_Delete) << "." << 0x63;
    QTest::newRow("KP Enter") << int(Qt::Key_Enter) << "Enter" << 0x58;
}

void KeyCaptureDialogTest::keypadKeysAreTheKeypadWithOrWithoutNumLock()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, usage);

    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key(key), Qt::KeypadModifier);
    QCOMPARE(keyLabel(dialog)->text(), text);
    pressOk(dialog);
    QVERIFY(dialog.keyCapturedThisOpening());
    QCOMPARE(int(state.capturedKeyCode), usage);
    QCOMPARE(QString::fromStdString(state.capturedKeyText), text);
}

void KeyCaptureDialogTest::aKeyWithoutAKeyboardUsageIsRefused_data()
{
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("key");

    QTest::newRow("Sleep") << QStringList{} << int(Qt::Key_Sleep);
    QTest::newRow("Play, Shift") << QStringList{"SHIFT"} << int(Qt::Key_MediaPlay);
    QTest::newRow("F25") << QStringList{} << int(Qt::Key_F25);
    QTest::newRow("browser Back, Ctrl") << QStringList{"CTRL"} << int(Qt::Key_Back);
    QTest::newRow("Printer") << QStringList{} << int(Qt::Key_Printer);
}

void KeyCaptureDialogTest::aKeyWithoutAKeyboardUsageIsRefused()
{
    QFETCH(QStringList, boxes);
    QFETCH(int, key);

    KeyCaptureState state{0x04, 0, "A"};
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_B);  // an earlier key of the same opening does not count
    for (const QString& box : boxes)
        check(dialog, box.toLatin1().constData());
    // Without text: QTest has no character for most of these keys.
    QTest::sendKeyEvent(QTest::Press, &dialog, Qt::Key(key), QString(), Qt::NoModifier);
    QCOMPARE(keyLabel(dialog)->text(), QStringLiteral("This key cannot be assigned."));
    QCOMPARE(keyLabel(dialog)->accessibleName(), QStringLiteral("This key cannot be assigned."));
    QVERIFY(!dialog.keyCapturedThisOpening());
    QTest::sendKeyEvent(QTest::Release, &dialog, Qt::Key(key), QString(), Qt::NoModifier);
    QCOMPARE(keyLabel(dialog)->text(), QStringLiteral("This key cannot be assigned."));
    pressOk(dialog);

    // Nothing the page could store: no key of this opening, no key code, no key name.
    QVERIFY(!dialog.keyCapturedThisOpening());
    QCOMPARE(int(state.capturedKeyCode), 0);
    QVERIFY(state.capturedKeyText.find("This key") == std::string::npos);
    QVERIFY(state.capturedKeyText.find('B') == std::string::npos);
}

void KeyCaptureDialogTest::anAssignableKeyAfterARefusedOneIsTaken()
{
    KeyCaptureState state;
    KeyCaptureDialog dialog(state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::sendKeyEvent(QTest::Click, &dialog, Qt::Key_MediaNext, QString(), Qt::NoModifier);
    QVERIFY(!dialog.keyCapturedThisOpening());
    QTest::keyClick(&dialog, Qt::Key_F13);
    QCOMPARE(keyLabel(dialog)->text(), QStringLiteral("F13"));
    pressOk(dialog);
    QVERIFY(dialog.keyCapturedThisOpening());
    QCOMPARE(int(state.capturedKeyCode), 0x68);
    QCOMPARE(state.capturedKeyText, std::string("F13"));
}

int main(int argc, char** argv)
{
    lark::test::useOffscreenByDefault();
    QApplication app(argc, argv);
    KeyCaptureDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "KeyCaptureDialogTest.moc"
