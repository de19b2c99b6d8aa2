#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace lark {

struct Setting;

// What each control does for the user, in the words of its tooltip. All texts live in one table
// (ControlHelp.cpp) so that they read alike and none is forgotten.
enum class Help {
    // Main window
    FactoryReset,
    Apply,
    // Basic Settings: the controls that are no setting of their own
    SeparateAxes,
    LevelCpiX,  // number: the level, 1..4
    LevelCpiY,
    // Keyboard key dialog
    CapturedKey,
    ModifierShift,
    ModifierCtrl,
    ModifierWin,
    ModifierAlt,
    KeyOk,
    // Fixed CPI dialog
    FixedSeparateAxes,
    FixedCpiX,
    FixedCpiY,
    FixedOk,
};

// The tooltip text of a control that is no setting of its own (the settings' texts are the
// vocabulary's); `number` picks the level where the entry has one.
QString helpText(Help help, int number = 0);
// A setting's help text in the window's language.
QString settingHelp(const Setting& setting);

// Gives `widget` its tooltip.
void setHelp(QWidget* widget, Help help, int number = 0);
void setHelp(QWidget* widget, const Setting& setting);

// The window's words for a setting and for its choices, in the table's order.
QString captionOf(const Setting& setting);
QStringList choiceCaptions(const Setting& setting);

// Tooltips are plain text (screen readers read them as descriptions); when shown they wrap at a
// readable width instead of running across the screen on one line. Call once, after the
// QApplication exists; later calls do nothing.
void installToolTipWrapping();
QString wrappedToolTip(const QString& text);

// Gives every label under `root` that names a control (its buddy) that control's tooltip, so
// that pointing at the caption explains the control too.
void shareHelpWithBuddyLabels(QWidget* root);

// Greys every label under `root` that names a control (its buddy) whenever that control is
// disabled, and `label` with `control` for a caption that is no buddy.
void greyLabelsWithBuddies(QWidget* root);
void greyWithControl(QWidget* label, QWidget* control);

}  // namespace lark
