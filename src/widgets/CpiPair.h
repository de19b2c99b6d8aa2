#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

class QCheckBox;
class QLineEdit;
class QSlider;
class QWidget;

namespace lark {

enum class CpiAxis { X = 0, Y = 1 };

// One CPI pair: an X trackbar and edit, a Y trackbar and edit, and the two values behind them.
// The controls are created as children of `window` (the dialog or page that places them); the
// link state is read from `separateBox` ("X/Y Settings": checked = separate, unchecked = linked),
// which several pairs of one window may share.
//
// Rules the pair keeps by itself:
// - every trackbar movement sets its axis to position * 50, and the other axis too while linked;
// - an edit is committed on Enter in it, when it gains or loses the focus, and on a left click on
//   the window's background while it has the focus (Enter is consumed there, so it never reaches
//   a default button);
// - a user click that unchecks the box gives Y the X value.
// Each value the user changes is announced with valueEdited; setValues changes values silently.
// Tearing the window down may move the focus out of an edit and commit it once more: an owner
// that derives from the window disconnects from valueEdited in its own destructor.
class CpiPair : public QObject {
    Q_OBJECT
public:
    // Accessible names: namePrefix + "X", namePrefix + "X value", likewise for Y.
    CpiPair(QWidget* window, QCheckBox* separateBox, const QString& namePrefix, std::uint32_t initialValue);
    ~CpiPair() override;

    QSlider* slider(CpiAxis axis) const;
    QLineEdit* edit(CpiAxis axis) const;
    std::uint32_t value(CpiAxis axis) const;

    // True while "X/Y Settings" is unchecked.
    bool linked() const;

    // Shows both values (normalised) in the edits and on the trackbars; announces nothing.
    void setValues(std::uint32_t x, std::uint32_t y);

    // Takes a value read from an edit without touching the edit or the trackbar (the value is
    // normalised); announces nothing.
    void takeReadValue(CpiAxis axis, std::uint32_t value);

    // The commit of one edit: its text becomes a normalised value that the edit and trackbar
    // show, and the other axis follows while linked.
    void commitEdit(CpiAxis axis);

signals:
    // The user changed the value of `axis` (trackbar, commit or link rule).
    void valueEdited(lark::CpiAxis axis, std::uint32_t value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Axis {
        QSlider* slider = nullptr;
        QPointer<QLineEdit> edit;
        std::uint32_t value = 0;
    };

    Axis& at(CpiAxis axis) { return axes_[static_cast<int>(axis)]; }
    const Axis& at(CpiAxis axis) const { return axes_[static_cast<int>(axis)]; }
    static CpiAxis other(CpiAxis axis) { return axis == CpiAxis::X ? CpiAxis::Y : CpiAxis::X; }

    void makeAxis(CpiAxis axis, const QString& name);
    void show(CpiAxis axis, std::uint32_t value);
    void onSliderMoved(CpiAxis axis, int position);
    void onSeparateClicked(bool separate);

    QWidget* window_;
    QCheckBox* separateBox_;
    Axis axes_[2];
};

}  // namespace lark
