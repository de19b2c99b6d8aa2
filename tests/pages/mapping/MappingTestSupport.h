#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "support/WidgetLookup.h"
#include <memory>

namespace lark::test {

// What a menu looked like when it opened.
struct MenuSeen {
    QPoint topLeft;
    QStringList topLevel;
    QMap<QString, QStringList> subMenus;  // entries of each sub-menu, by its text
};

inline QStringList actionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

// Arms a watcher that walks the next pop-up menu along `path` (entry texts, outer menu first) by
// clicking at each entry's centre, as a user would. An empty path closes the menu with Escape.
// Returns a flag set once the last step was taken.
inline std::shared_ptr<bool> chooseFromMenu(QStringList path, MenuSeen* seen = nullptr, int timeoutMs = 5000)
{
    auto done = std::make_shared<bool>(false);
    auto timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    auto expected = std::make_shared<QMenu*>(nullptr);  // the sub-menu that the last click opens
    auto remaining = std::make_shared<QStringList>(std::move(path));
    auto first = std::make_shared<bool>(true);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        *elapsed += 10;
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        const bool ready = menu && menu->isVisible() && (!*expected || menu == *expected);
        if (!ready) {
            if (*elapsed > timeoutMs) {
                timer->stop();
                timer->deleteLater();
            }
            return;
        }
        if (*first && seen) {
            seen->topLeft = menu->pos();
            seen->topLevel = actionTexts(menu);
            for (QAction* action : menu->actions()) {
                if (action->menu())
                    seen->subMenus[action->text()] = actionTexts(action->menu());
            }
        }
        *first = false;
        if (remaining->isEmpty()) {
            timer->stop();
            timer->deleteLater();
            *done = true;
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        const QString text = remaining->takeFirst();
        QAction* target = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                target = action;
        }
        if (!target) {
            qWarning("menu entry %s not offered", qPrintable(text));
            timer->stop();
            timer->deleteLater();
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        *expected = target->menu();
        if (remaining->isEmpty()) {
            timer->stop();
            timer->deleteLater();
            *done = true;
        }
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(target).center());
    });
    timer->start();
    return done;
}

// Arms a watcher that calls `act` on the next modal dialog of type T once it is shown.
template <class T> std::shared_ptr<bool> whenDialogShows(std::function<void(T*)> act, int timeoutMs = 5000)
{
    auto done = std::make_shared<bool>(false);
    auto timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        *elapsed += 10;
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *done = true;
            act(dialog);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return done;
}

}  // namespace lark::test
