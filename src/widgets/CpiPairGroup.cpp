#include "widgets/CpiPairGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include "model/Cpi.h"
#include "widgets/WarningBox.h"

namespace lark {

CpiPairGroup::CpiPairGroup(QWidget* window, QCheckBox* separateBox)
    : QObject(window), window_(window), separateBox_(separateBox)
{
}

CpiPair* CpiPairGroup::addPair(const QString& namePrefix, std::uint32_t initialValue)
{
    auto* pair = new CpiPair(window_, separateBox_, namePrefix, initialValue);
    pairs_.append(pair);
    for (CpiAxis axis : {CpiAxis::X, CpiAxis::Y}) {
        connect(pair->edit(axis), &QLineEdit::textEdited, this, [this, pair, axis] {
            if (readWhileTyping_)
                onTextEdited(pair, axis);
        });
    }
    return pair;
}

bool CpiPairGroup::readEdits()
{
    // The warning below runs a nested event loop; a second read from inside it would stack boxes.
    if (reading_)
        return false;
    reading_ = true;

    for (CpiAxis axis : {CpiAxis::X, CpiAxis::Y}) {
        for (CpiPair* pair : pairs_) {
            QLineEdit* edit = pair->edit(axis);
            const std::optional<std::uint32_t> value = readCpiText(edit->text().toStdString());
            if (value) {
                pair->takeReadValue(axis, *value);
                continue;
            }
            // While the box is up the edit loses the focus and is committed like any other.
            QPointer<QLineEdit> guard(edit);
            showWarning(window_, tr("Enter a positive integer."));
            if (guard) {
                // The box took the activation; the edit can only hold the focus in an active window.
                if (QWidget* top = guard->window(); !top->isActiveWindow())
                    top->activateWindow();
                guard->setFocus(Qt::OtherFocusReason);
                // Activation may arrive later; the commit that receiving the focus brings is done
                // now, so the selection below is not undone by it.
                if (!guard->hasFocus())
                    pair->commitEdit(axis);
                guard->selectAll();
            }
            reading_ = false;
            return false;
        }
    }
    reading_ = false;
    return true;
}

void CpiPairGroup::onTextEdited(CpiPair* pair, CpiAxis axis)
{
    if (!readEdits())
        return;
    emit pair->valueEdited(axis, pair->value(axis));
}

}  // namespace lark
