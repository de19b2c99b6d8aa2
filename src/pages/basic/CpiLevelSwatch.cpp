#include "pages/basic/CpiLevelSwatch.h"

#include <QFontMetrics>
#include <QPainter>

namespace lark {

CpiLevelSwatch::CpiLevelSwatch(QWidget* parent) : QWidget(parent), captionFont_(QStringLiteral("Arial"))
{
    captionFont_.setStyleHint(QFont::SansSerif);
    captionFont_.setPixelSize(24);
    captionFont_.setWeight(QFont::Normal);
    // Every pixel is painted below, so there is nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CpiLevelSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, backgroundColor);

    if (currentCaption < 0 || currentCaption >= captions.size())
        return;

    const QString& caption = captions.at(currentCaption);
    const QFontMetrics metrics(captionFont_);
    const int width = metrics.horizontalAdvance(caption);
    const int height = metrics.height();
    // Integer halving truncates toward zero, so a caption wider than the field starts left of it.
    const int left = area.left() + (area.width() - width) / 2;
    const int top = area.top() + (area.height() - height) / 2;

    painter.setFont(captionFont_);
    painter.setPen(textColor);
    painter.drawText(left, top + metrics.ascent(), caption);
}

}  // namespace lark
