#include "widgets/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace lark {

DialogUnits::DialogUnits() : DialogUnits(dialogFont()) {}

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    // Average width of the Latin alphabet, rounded, as dialog templates measure it.
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = qMax(1, (alphabet / 26 + 1) / 2);
    baseHeight_ = qMax(1, metrics.height());
}

QFont DialogUnits::dialogFont()
{
    QFont font(QStringLiteral("MS Shell Dlg"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int DialogUnits::x(int units) const
{
    return units * baseWidth_ / 4;
}

int DialogUnits::y(int units) const
{
    return units * baseHeight_ / 8;
}

QRect DialogUnits::rect(int x0, int y0, int width, int height) const
{
    return QRect(x(x0), y(y0), x(width), y(height));
}

QSize DialogUnits::size(int width, int height) const
{
    return QSize(x(width), y(height));
}

void DialogUnits::place(QWidget* widget, int x0, int y0, int width, int height) const
{
    widget->setGeometry(rect(x0, y0, width, height));
}

}  // namespace lark
