#include "widgets/ControlHelp.h"

#include <QLabel>
#include <QWidget>

#include <array>

namespace lark {

namespace {

struct Entry {
    Help help;
    const char* text;  // %1 is the entry's number, put into words
};

// Written for someone who plays games, not for someone who builds mice: what changes for the
// user, and the unit or range where there is one.
constexpr std::array kEntries{
    Entry{Help::FactoryReset, "Puts every setting of the mouse back to how it left the factory."},
    Entry{Help::Apply, "Sends the changed settings to the mouse, which keeps them (Ctrl+S)."},

    Entry{Help::LiftOffDistance,
          "Lift-off distance: how high the mouse can be lifted before it stops tracking "
          "(1 or 2 mm). Lower stops the pointer drifting when you lift and reposition it."},
    Entry{Help::LevelCount, "How many CPI levels the mouse's CPI button steps through (1 to 4)."},
    Entry{Help::AngleSnapping, "Straightens slightly shaky hand movements into straight lines. "
                               "Most players leave it off, as it also bends small aiming corrections."},
    Entry{Help::SeparateAxes, "Lets each CPI level have its own horizontal (X) and vertical (Y) speed. "
                              "Off, both directions share one value."},
    Entry{Help::RippleControl, "Smooths out pointer jitter at high CPI, at the cost of a tiny delay. "
                               "Leave it off unless the pointer shakes at high CPI."},
    Entry{Help::LevelCpiX, "CPI level %1, horizontal (X): how far the pointer moves for each inch the mouse "
                           "moves, 50 to 26000 in steps of 50. Higher is faster."},
    Entry{Help::LevelCpiY, "CPI level %1, vertical (Y): how far the pointer moves for each inch the mouse "
                           "moves, 50 to 26000 in steps of 50. Higher is faster."},

    Entry{Help::MotionSync, "Times the sensor's readings to the computer's polling for steadier tracking, "
                            "with a slight delay. 8000 Hz is not offered while it is on."},
    Entry{Help::PollingRate, "How many times a second the mouse reports to the computer, in Hz. Higher feels "
                             "smoother but costs more CPU; try lower if games stutter."},
    Entry{Help::SlamClickFilter, "Ignores the false clicks that can happen when the mouse is slammed down "
                                 "or lifted quickly."},
    Entry{Help::MulticlickFilter,
          "Multiclick filter of the %1: ignores the extra clicks a worn switch can send "
          "right after a real one. 0 to 25: higher filters more, but very fast "
          "double clicks may be lost."},
    Entry{Help::SpdtMode, "Switch mode of the %1. OFF uses the multiclick filter; KV Speed Mode registers "
                          "clicks fastest; KV Safe Mode guards best against double clicks."},

    Entry{Help::LeftHanded, "Swaps the two main buttons for left-handed use: the right button clicks, and "
                            "the first row below sets what the left button does."},
    Entry{Help::MappingRow, "Click to choose what %1 does: a mouse click, a keyboard key, a CPI change, "
                            "a media key, or nothing."},

    Entry{Help::CapturedKey, "Press the key the mouse button should send; its name shows here."},
    Entry{Help::ModifierShift, "Also holds Shift, so the button sends Shift with the key."},
    Entry{Help::ModifierCtrl, "Also holds Ctrl, so the button sends Ctrl with the key."},
    Entry{Help::ModifierWin, "Also holds the Windows (Super) key, so the button sends it with the key."},
    Entry{Help::ModifierAlt, "Also holds Alt, so the button sends Alt with the key."},
    Entry{Help::KeyOk, "Gives the button the key shown above with the ticked modifiers. Escape keeps what "
                       "the button did before."},

    Entry{Help::FixedSeparateAxes, "Lets the fixed CPI have its own horizontal (X) and vertical (Y) speed. "
                                   "Off, both directions share one value."},
    Entry{Help::FixedCpiX, "The CPI the button switches to, horizontal (X): 50 to 26000 in steps of 50."},
    Entry{Help::FixedCpiY, "The CPI the button switches to, vertical (Y): 50 to 26000 in steps of 50."},
    Entry{Help::FixedOk, "Gives the button this fixed CPI. Escape keeps what the button did before."},
};

// The entries with a number say which button or row in words.
constexpr std::array<const char*, 5> kFilterButtons{"left button", "right button", "middle button",
                                                    "forward button", "back button"};
constexpr std::array<const char*, 6> kMappingRows{
    "the right button (the left one in left-handed mode)",
    "the middle button (pressing the wheel)",
    "the forward side button",
    "the back side button",
    "scrolling the wheel up",
    "scrolling the wheel down",
};

QString numbered(const std::size_t count, const char* const* words, int number)
{
    return number >= 0 && static_cast<std::size_t>(number) < count ? QString::fromLatin1(words[number])
                                                                   : QString();
}

}  // namespace

QString helpText(Help help, int number)
{
    for (const Entry& entry : kEntries) {
        if (entry.help != help)
            continue;
        QString text = QString::fromUtf8(entry.text);
        if (!text.contains(QLatin1String("%1")))
            return text;
        switch (help) {
        case Help::MulticlickFilter:
            return text.arg(numbered(kFilterButtons.size(), kFilterButtons.data(), number));
        case Help::SpdtMode:
            return text.arg(numbered(2, kFilterButtons.data(), number));
        case Help::MappingRow:
            return text.arg(numbered(kMappingRows.size(), kMappingRows.data(), number));
        default:
            return text.arg(number);
        }
    }
    return {};
}

void setHelp(QWidget* widget, Help help, int number)
{
    widget->setToolTip(helpText(help, number));
}

void shareHelpWithBuddyLabels(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (const QWidget* buddy = label->buddy(); buddy && label->toolTip().isEmpty())
            label->setToolTip(buddy->toolTip());
    }
}

}  // namespace lark
