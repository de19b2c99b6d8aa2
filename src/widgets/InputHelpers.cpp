#include "widgets/InputHelpers.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>

#include <utility>

namespace lark {

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

QComboBox* makeEditableCombo(QWidget* parent, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    return combo;
}

CommitOnFocus::CommitOnFocus(QWidget* edit, std::function<void()> commit, Enter enter)
    : QObject(edit), commit_(std::move(commit)), enter_(enter)
{
    edit->installEventFilter(this);
}

void CommitOnFocus::removeFrom(QWidget* edit)
{
    const auto filters = edit->findChildren<CommitOnFocus*>(Qt::FindDirectChildrenOnly);
    for (CommitOnFocus* filter : filters)
        delete filter;
}

bool CommitOnFocus::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        commit_();
        break;
    case QEvent::KeyPress:
        if (isEnter(static_cast<QKeyEvent*>(event)->key())) {
            commit_();
            if (enter_ == Enter::Consume)
                return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool swallowKey(QKeyEvent* event, SwallowedKeys keys)
{
    const int key = event->key();
    if (isEnter(key) || (keys == SwallowedKeys::EnterAndEscape && key == Qt::Key_Escape)) {
        event->accept();
        return true;
    }
    return false;
}

}  // namespace lark
