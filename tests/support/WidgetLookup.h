#pragma once

#include <QString>
#include <QWidget>

namespace lark::test {

// The descendant of `root` of type T whose accessible name is `name`, or nullptr.
template <class T> T* named(const QWidget* root, const QString& name)
{
    for (T* widget : root->findChildren<T*>()) {
        if (widget->accessibleName() == name)
            return widget;
    }
    return nullptr;
}

}  // namespace lark::test
