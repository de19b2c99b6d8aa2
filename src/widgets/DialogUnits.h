#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace lark {

// Converts dialog-template coordinates (dialog units) to pixels with the metrics of the
// dialog font, the way dialog templates are laid out: x * average char width / 4,
// y * char height / 8. Every layout table of the windows goes through one of these.
class DialogUnits {
public:
    DialogUnits();  // the dialog font
    explicit DialogUnits(const QFont& font);

    // "MS Shell Dlg" 8 pt; resolves to the system sans where that face is missing.
    static QFont dialogFont();

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

    // Places `widget` at the dialog-unit rectangle inside its parent.
    void place(QWidget* widget, int x, int y, int width, int height) const;

private:
    int baseWidth_ = 6;
    int baseHeight_ = 13;
};

}  // namespace lark
