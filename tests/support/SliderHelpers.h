#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>

#include <cstdlib>
#include <optional>

#include "support/TestPlatform.h"
#include "support/WidgetLookup.h"

namespace lark::test {

// Chooses an entry the way a user does: opens the list and clicks the entry.
inline bool chooseEntry(QComboBox* combo, int index)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    if (!QTest::qWaitForWindowExposed(view->window()))
        return false;
    const QRect item = view->visualRect(combo->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    return QTest::qWaitFor([view] { return !view->isVisible(); });
}

// Centre of the slider's handle when it stands at `position` (its current one by default); a drag
// that grabs the handle at its centre and moves to this point puts the slider at `position`.
inline QPoint handleCentre(QSlider* slider, std::optional<int> position = std::nullopt)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = position.value_or(slider->sliderPosition());
    option.sliderValue = option.sliderPosition;
    return slider->style()
        ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
        .center();
}

inline QPoint pointForPosition(QSlider* slider, int position)
{
    return handleCentre(slider, position);
}

// Moves the pressed handle to a point, as a drag does (the button stays held).
inline void dragMove(QSlider* slider, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, to, slider->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
}

}  // namespace lark::test
