#include "widgets/CpiPair.h"
#include "widgets/InputHelpers.h"

#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QWidget>

#include "model/Cpi.h"

namespace lark {

CpiPair::CpiPair(QWidget* window, QCheckBox* separateBox, const QString& namePrefix,
                 std::uint32_t initialValue)
    : QObject(window), window_(window), separateBox_(separateBox)
{
    makeAxis(CpiAxis::X, namePrefix + QStringLiteral("X"));
    makeAxis(CpiAxis::Y, namePrefix + QStringLiteral("Y"));
    setValues(initialValue, initialValue);

    window_->installEventFilter(this);
    connect(separateBox_, &QCheckBox::clicked, this, &CpiPair::onSeparateClicked);
}

CpiPair::~CpiPair()
{
    // The window deletes this pair before its edit boxes (it was made first). A focused box that
    // loses the focus as it goes must not commit into the pair that is already gone.
    for (const Axis& a : axes_)
        if (a.edit)
            CommitOnFocus::removeFrom(a.edit);
}

void CpiPair::makeAxis(CpiAxis axis, const QString& name)
{
    Axis& a = at(axis);
    a.slider = new QSlider(Qt::Horizontal, window_);
    a.slider->setRange(kCpiSliderMin, kCpiSliderMax);
    a.slider->setTickPosition(QSlider::NoTicks);
    a.slider->setAccessibleName(name);
    // Every reported position counts, so a drag updates the value continuously.
    connect(a.slider, &QSlider::valueChanged, this,
            [this, axis](int position) { onSliderMoved(axis, position); });

    a.edit = new QLineEdit(window_);
    a.edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), a.edit));
    a.edit->setAccessibleName(name + QStringLiteral(" value"));
    new CommitOnFocus(
        a.edit, [this, axis] { commitEdit(axis); }, CommitOnFocus::Enter::Consume);
}

QSlider* CpiPair::slider(CpiAxis axis) const
{
    return at(axis).slider;
}

QLineEdit* CpiPair::edit(CpiAxis axis) const
{
    return at(axis).edit;
}

std::uint32_t CpiPair::value(CpiAxis axis) const
{
    return at(axis).value;
}

bool CpiPair::linked() const
{
    return !separateBox_->isChecked();
}

void CpiPair::show(CpiAxis axis, std::uint32_t value)
{
    Axis& a = at(axis);
    a.value = normalizeCpi(value);
    {
        const QSignalBlocker blocker(a.slider);
        a.slider->setValue(cpiToSliderPosition(a.value));
    }
    // Rewriting an unchanged text would drop the selection and move the cursor.
    const QString text = QString::number(a.value);
    if (a.edit->text() != text)
        a.edit->setText(text);
}

void CpiPair::setValues(std::uint32_t x, std::uint32_t y)
{
    show(CpiAxis::X, x);
    show(CpiAxis::Y, y);
}

void CpiPair::takeReadValue(CpiAxis axis, std::uint32_t value)
{
    at(axis).value = normalizeCpi(value);
}

void CpiPair::commitEdit(CpiAxis axis)
{
    const std::uint32_t value = commitTextToCpi(at(axis).edit->text().toStdString());
    show(axis, value);
    const bool both = linked();
    if (both)
        show(other(axis), value);
    emit valueEdited(axis, value);
    if (both)
        emit valueEdited(other(axis), value);
}

void CpiPair::onSliderMoved(CpiAxis axis, int position)
{
    const std::uint32_t value = sliderPositionToCpi(position);
    at(axis).value = value;
    const bool both = linked();
    if (both)
        show(other(axis), value);
    show(axis, value);
    emit valueEdited(axis, value);
    if (both)
        emit valueEdited(other(axis), value);
}

void CpiPair::onSeparateClicked(bool separate)
{
    if (separate)
        return;
    const std::uint32_t x = value(CpiAxis::X);
    show(CpiAxis::Y, x);
    emit valueEdited(CpiAxis::Y, x);
}

bool CpiPair::eventFilter(QObject* watched, QEvent* event)
{
    // A press on the window's own background; presses on labels arrive here too, as they pass
    // presses on to their parent like static fields do.
    if (watched == window_ && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (CpiAxis candidate : {CpiAxis::X, CpiAxis::Y}) {
            if (at(candidate).edit->hasFocus())
                commitEdit(candidate);
        }
    }
    return false;
}

}  // namespace lark
