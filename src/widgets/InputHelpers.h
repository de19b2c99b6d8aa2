#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QComboBox;
class QKeyEvent;
class QWidget;

namespace lark {

// A drop-down whose text field can be typed in, holding `items`; typed text never becomes
// a new entry, only the listed entries are choices.
QComboBox* makeEditableCombo(QWidget* parent, const QStringList& items);

// Commits an edit box when it gains or loses focus and on Enter. Owned by the edit box.
class CommitOnFocus : public QObject {
    Q_OBJECT
public:
    enum class Enter {
        PassOn,   // Enter commits and goes on to the widget
        Consume,  // Enter commits and ends there: no default button, no dialog closes
    };
    CommitOnFocus(QWidget* edit, std::function<void()> commit, Enter enter);

    // Ends committing for this edit box: for owners whose commit must not run once their own
    // destructor has begun (the edit boxes outlive it while QWidget tears its children down).
    static void removeFrom(QWidget* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> commit_;
    Enter enter_;
};

// Keys a window takes so that they neither close it nor press its default button.
enum class SwallowedKeys { Enter, EnterAndEscape };

// True when `event` was such a key: it is accepted and must go no further.
bool swallowKey(QKeyEvent* event, SwallowedKeys keys);

}  // namespace lark
