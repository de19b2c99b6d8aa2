#include "widgets/AccessibleCheckBox.h"

#include <QAccessibleWidget>
#include <QCheckBox>

namespace lark {

namespace {

class AccessibleCheckBox : public QAccessibleWidget {
public:
    explicit AccessibleCheckBox(QCheckBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QCheckBox* box() const { return static_cast<QCheckBox*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = box()->accessibleName();
            return name.isEmpty() ? box()->text() : name;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = box()->isChecked();
        return s;
    }

    QStringList actionNames() const override
    {
        return box()->isEnabled() ? QStringList{toggleAction()} : QStringList{};
    }

    void doAction(const QString& action) override
    {
        if ((action == toggleAction() || action == pressAction()) && box()->isEnabled())
            box()->click();
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* checkBoxFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("QCheckBox"))
        if (auto* box = qobject_cast<QCheckBox*>(object))
            return new AccessibleCheckBox(box);
    return nullptr;
}

}  // namespace

void installAccessibleCheckBoxes()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(checkBoxFactory);
        installed = true;
    }
}

}  // namespace lark
