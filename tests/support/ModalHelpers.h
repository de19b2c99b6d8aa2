#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace lark::test {

// Arms a watcher that answers the next modal window (message box or dialog) by calling
// `act` on it, from inside its own event loop. Returns a flag that is set once it acted.
inline std::shared_ptr<bool> whenModalShows(std::function<void(QWidget*)> act, int timeoutMs = 5000)
{
    auto done = std::make_shared<bool>(false);
    auto timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        *elapsed += 10;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            *done = true;
            act(modal);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return done;
}

// Closes the next message box with OK and keeps its text.
inline std::shared_ptr<bool> acceptNextMessageBox(QString* text = nullptr)
{
    return whenModalShows([text](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            if (text)
                *text = box->text();
            box->accept();
        } else {
            w->close();
        }
    });
}

}  // namespace lark::test
