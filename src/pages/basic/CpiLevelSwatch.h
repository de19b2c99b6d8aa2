#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QWidget>

namespace lark {

// A static field that draws itself: its whole rectangle in one colour and, when it has a caption
// to show, that caption centred on it. The owner sets the members before the field is drawn;
// changing them does not repaint by itself.
class CpiLevelSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CpiLevelSwatch(QWidget* parent = nullptr);

    QStringList captions;
    int currentCaption = 0;
    QColor textColor{0, 0, 0};
    QColor backgroundColor{240, 240, 240};

    const QFont& captionFont() const { return captionFont_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont captionFont_;
};

}  // namespace lark
