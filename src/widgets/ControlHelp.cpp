#include "widgets/ControlHelp.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <string>

#include "model/Cpi.h"
#include "model/Vocabulary.h"

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

    Entry{Help::SeparateAxes, "Lets each CPI level have its own horizontal (X) and vertical (Y) speed. "
                              "Off, both directions share one value."},
    Entry{Help::LevelCpiX, "Horizontal (X). "},
    Entry{Help::LevelCpiY, "Vertical (Y). "},

    Entry{Help::CapturedKey, "Press the key the mouse button should send; its name shows here."},
    Entry{Help::ModifierShift, "Also holds Shift, so the button sends Shift with the key."},
    Entry{Help::ModifierCtrl, "Also holds Ctrl, so the button sends Ctrl with the key."},
    Entry{Help::ModifierWin, "Also holds the Windows (Super) key, so the button sends it with the key."},
    Entry{Help::ModifierAlt, "Also holds Alt, so the button sends Alt with the key."},
    Entry{Help::KeyOk, "Gives the button the key shown above with the ticked modifiers. Escape keeps what "
                       "the button did before."},

    Entry{Help::FixedSeparateAxes, "Lets the fixed CPI have its own horizontal (X) and vertical (Y) speed. "
                                   "Off, both directions share one value."},
    Entry{Help::FixedCpiX, "The CPI the button switches to, horizontal (X): %1."},
    Entry{Help::FixedCpiY, "The CPI the button switches to, vertical (Y): %1."},
    Entry{Help::FixedOk, "Gives the button this fixed CPI. Escape keeps what the button did before."},
};

const Setting& cpiLevel(int number)
{
    return *findSetting("cpi" + std::to_string(number));
}

}  // namespace

QString helpText(Help help, int number)
{
    for (const Entry& entry : kEntries) {
        if (entry.help != help)
            continue;
        const QString text = QString::fromUtf8(entry.text);
        switch (help) {
        case Help::LevelCpiX:
        case Help::LevelCpiY:
            return text + QString::fromStdString(helpText(cpiLevel(number)));
        case Help::FixedCpiX:
        case Help::FixedCpiY:
            return text.arg(QString::fromStdString(cpiRangeText()));
        default:
            return text;
        }
    }
    return {};
}

void setHelp(QWidget* widget, Help help, int number)
{
    widget->setToolTip(helpText(help, number));
}

void setHelp(QWidget* widget, const Setting& setting)
{
    widget->setToolTip(QString::fromStdString(helpText(setting)));
}

QString captionOf(const Setting& setting)
{
    return QString::fromUtf8(setting.caption.data(), static_cast<qsizetype>(setting.caption.size()));
}

QStringList choiceCaptions(const Setting& setting)
{
    QStringList items;
    for (const Choice& choice : setting.choices)
        items << QString::fromUtf8(choice.caption.data(), static_cast<qsizetype>(choice.caption.size()));
    return items;
}

void shareHelpWithBuddyLabels(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (const QWidget* buddy = label->buddy(); buddy && label->toolTip().isEmpty())
            label->setToolTip(buddy->toolTip());
    }
}

}  // namespace lark
