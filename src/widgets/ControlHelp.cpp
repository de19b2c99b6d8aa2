#include "widgets/ControlHelp.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>
#include <QWidget>

#include <array>
#include <string>

#include "model/Cpi.h"
#include "model/Vocabulary.h"
#include "widgets/Translation.h"

namespace lark {

namespace {

struct Entry {
    Help help;
    const char* text;  // %1 is the entry's number, put into words
};

// Written for someone who plays games, not for someone who builds mice: what changes for the
// user, and the unit or range where there is one.
constexpr std::array kEntries{
    Entry{Help::FactoryReset,
          QT_TRANSLATE_NOOP("Help", "Puts every setting of the mouse back to how it left the factory.")},
    Entry{Help::Apply,
          QT_TRANSLATE_NOOP("Help", "Sends the changed settings to the mouse, which keeps them (Ctrl+S).")},

    Entry{Help::SeparateAxes,
          QT_TRANSLATE_NOOP("Help", "Lets each CPI level have its own horizontal (X) and vertical (Y) speed. "
                                    "Off, both directions share one value.")},
    Entry{Help::LevelCpiX, QT_TRANSLATE_NOOP("Help", "Horizontal (X). ")},
    Entry{Help::LevelCpiY, QT_TRANSLATE_NOOP("Help", "Vertical (Y). ")},

    Entry{Help::CapturedKey,
          QT_TRANSLATE_NOOP("Help", "Press the key the mouse button should send; its name shows here.")},
    Entry{Help::ModifierShift,
          QT_TRANSLATE_NOOP("Help", "Also holds Shift, so the button sends Shift with the key.")},
    Entry{Help::ModifierCtrl,
          QT_TRANSLATE_NOOP("Help", "Also holds Ctrl, so the button sends Ctrl with the key.")},
    Entry{Help::ModifierWin,
          QT_TRANSLATE_NOOP("Help",
                            "Also holds the Windows (Super) key, so the button sends it with the key.")},
    Entry{Help::ModifierAlt,
          QT_TRANSLATE_NOOP("Help", "Also holds Alt, so the button sends Alt with the key.")},
    Entry{Help::KeyOk,
          QT_TRANSLATE_NOOP(
              "Help", "Gives the button the key shown above with the ticked modifiers. Escape keeps what "
                      "the button did before.")},

    Entry{Help::FixedSeparateAxes,
          QT_TRANSLATE_NOOP("Help", "Lets the fixed CPI have its own horizontal (X) and vertical (Y) speed. "
                                    "Off, both directions share one value.")},
    Entry{Help::FixedCpiX, QT_TRANSLATE_NOOP("Help", "The CPI the button switches to, horizontal (X): %1.")},
    Entry{Help::FixedCpiY, QT_TRANSLATE_NOOP("Help", "The CPI the button switches to, vertical (Y): %1.")},
    Entry{Help::FixedOk,
          QT_TRANSLATE_NOOP("Help",
                            "Gives the button this fixed CPI. Escape keeps what the button did before.")},
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
        const QString text = QCoreApplication::translate("Help", entry.text);
        switch (help) {
        case Help::LevelCpiX:
        case Help::LevelCpiY:
            return text + settingHelp(cpiLevel(number));
        case Help::FixedCpiX:
        case Help::FixedCpiY:
            return text.arg(cpiRangeWords());
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

QString settingHelp(const Setting& setting)
{
    // The same text as the model's helpText, put together from translated parts.
    QString text = vocabularyWords(setting.help);
    if (text.contains(QLatin1String("%2")))
        return text.arg(vocabularyWords(setting.subject), cpiRangeWords());
    if (text.contains(QLatin1String("%1")))
        return text.arg(vocabularyWords(setting.subject));
    return text;
}

void setHelp(QWidget* widget, const Setting& setting)
{
    widget->setToolTip(settingHelp(setting));
}

QString captionOf(const Setting& setting)
{
    return vocabularyWords(setting.caption);
}

QStringList choiceCaptions(const Setting& setting)
{
    QStringList items;
    for (const Choice& choice : setting.choices)
        items << vocabularyWords(choice.caption);
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

namespace lark {

namespace {

// Shows plain tooltips as a paragraph, which Qt wraps at about 80 characters; the tooltip
// itself stays plain text, so screen readers get it without markup.
class ToolTipWrapping : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const QString text = widget->toolTip();
        if (text.isEmpty() || Qt::mightBeRichText(text))
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), wrappedToolTip(text), widget, {}, widget->toolTipDuration());
        return true;
    }
};

}  // namespace

QString wrappedToolTip(const QString& text)
{
    return QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

void installToolTipWrapping()
{
    static ToolTipWrapping* filter = nullptr;
    if (filter || !QCoreApplication::instance())
        return;
    filter = new ToolTipWrapping(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace lark

namespace lark {

namespace {

// Keeps a label's enabled state equal to its control's, so a disabled control never sits
// beside a caption that looks usable.
class EnabledFollower : public QObject {
public:
    EnabledFollower(QWidget* label, QWidget* control) : QObject(label), label_(label)
    {
        control->installEventFilter(this);
        label_->setEnabled(control->isEnabled());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::EnabledChange)
            label_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

private:
    QWidget* label_;
};

}  // namespace

void greyWithControl(QWidget* label, QWidget* control)
{
    new EnabledFollower(label, control);
}

void greyLabelsWithBuddies(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (QWidget* buddy = label->buddy())
            greyWithControl(label, buddy);
    }
}

}  // namespace lark
