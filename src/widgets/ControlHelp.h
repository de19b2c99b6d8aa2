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
// vocabulary's); `number` picks the level where the entry has one.; `number` picks the level, button or row where the entry has one.
QString helpText(Help help, int number = 0);

// Gives `widget` its tooltip.
void setHelp(QWidget* widget, Help help, int number = 0);
void setHelp(QWidget* widget, const Setting& setting);

// The window's words for a setting and for its choices, in the table's order.
QString captionOf(const Setting& setting);
QStringList choiceCaptions(const Setting& setting);

// Gives every label under `root` that names a control (its buddy) that control's tooltip, so
// that pointing at the caption explains the control too.
void shareHelpWithBuddyLabels(QWidget* root);

}  // namespace lark
