#pragma once

#include <QString>
#include <QWidget>

namespace lark::test {

// The widget of type T named `name` for assistive technology: `root` itself or one of its
// descendants. nullptr when there is none, or more than one (names must be unique).
template <class T> T* named(QWidget* root, const QString& name)
{
    T* found = nullptr;
    if (auto* self = qobject_cast<T*>(root); self && root->accessibleName() == name)
        found = self;
    for (T* widget : root->findChildren<T*>()) {
        if (widget->accessibleName() == name) {
            if (found)
                return nullptr;
            found = widget;
        }
    }
    return found;
}

}  // namespace lark::test
