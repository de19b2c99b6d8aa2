#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace lark::test {

// Opens the list with a click on its arrow and picks the entry with the keyboard, as a user does.
inline void chooseEntry(QComboBox* combo, const QString& text)
{
    QVERIFY2(combo, qPrintable(text));
    const int index = combo->findText(text, Qt::MatchExactly);
    QVERIFY2(index >= 0, qPrintable(text));
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 6, combo->height() / 2));
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo->currentIndex(), index);
}

// Clicks into an edit box, selects all its text and types over it (nothing: erases it).
inline void typeOver(QLineEdit* box, const QString& text)
{
    QVERIFY2(box, qPrintable(text));
    // A click makes its window the active one, as a window manager does; the offscreen platform
    // may instead leave a menu that just closed as the active window, and the box never gets focus.
    if (!box->window()->isActiveWindow()) {
        box->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(box->window()));
    }
    QTest::mouseClick(box, Qt::LeftButton);
    QTRY_VERIFY(box->hasFocus());
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

}  // namespace lark::test
