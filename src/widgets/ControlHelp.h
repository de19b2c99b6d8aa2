#pragma once

#include <QString>

class QWidget;

namespace lark {

// What each control does for the user, in the words of its tooltip. All texts live in one table
// (ControlHelp.cpp) so that they read alike and none is forgotten.
enum class Help {
    // Main window
    FactoryReset,
    Apply,
    // Basic Settings
    LiftOffDistance,
    LevelCount,
    AngleSnapping,
    SeparateAxes,
    RippleControl,
    LevelCpiX,  // number: the level, 1..4
    LevelCpiY,
    // Advanced Settings
    MotionSync,
    PollingRate,
    SlamClickFilter,
    MulticlickFilter,  // number: the button, 0 left .. 4 back
    SpdtMode,          // number: 0 left, 1 right
    // Button Mapping
    LeftHanded,
    MappingRow,  // number: the row, 0 right (or left) button .. 5 wheel down
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

// The tooltip text of `help`; `number` picks the level, button or row where the entry has one.
QString helpText(Help help, int number = 0);

// Gives `widget` its tooltip.
void setHelp(QWidget* widget, Help help, int number = 0);

// Gives every label under `root` that names a control (its buddy) that control's tooltip, so
// that pointing at the caption explains the control too.
void shareHelpWithBuddyLabels(QWidget* root);

}  // namespace lark
