#include "pages/mapping/KeyCaptureDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "model/Actions.h"
#include "model/KeyNames.h"
#include "model/KeyUsages.h"
#include "pages/mapping/KeyEventMapping.h"
#include "widgets/ControlHelp.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"
#include "widgets/Translation.h"
#include "widgets/WarningBox.h"

namespace lark {

KeyCaptureDialog::KeyCaptureDialog(KeyCaptureState& capture, QWidget* parent)
    : KeyCaptureDialog(capture, parent, QCoreApplication::instance())
{
}

KeyCaptureDialog::KeyCaptureDialog(KeyCaptureState& capture, QWidget* parent, QObject* eventSource)
    : QDialog(parent), capture_(capture), eventSource_(eventSource)
{
    setWindowTitle(tr("KEYBOARD KEY"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits du;
    setFixedSize(du.size(241, 143));

    auto* prompt = new QLabel(tr("Enter a key:"), this);
    du.place(prompt, 14, 26, 52, 10);

    keyNameLabel_ = new QLabel(this);
    keyNameLabel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    keyNameLabel_->setAlignment(Qt::AlignCenter);
    keyNameLabel_->setAccessibleDescription(QStringLiteral("Key"));
    du.place(keyNameLabel_, 70, 20, 150, 20);
    setHelp(keyNameLabel_, Help::CapturedKey);
    prompt->setToolTip(keyNameLabel_->toolTip());

    struct Box {
        QCheckBox** box;
        const char* text;
        int x;
        Help help;
    };
    const Box boxes[] = {{&shiftBox_, QT_TR_NOOP("SHIFT"), 14, Help::ModifierShift},
                         {&ctrlBox_, QT_TR_NOOP("CTRL"), 68, Help::ModifierCtrl},
                         {&winBox_, QT_TR_NOOP("WIN"), 122, Help::ModifierWin},
                         {&altBox_, QT_TR_NOOP("ALT"), 176, Help::ModifierAlt}};
    for (const Box& b : boxes) {
        *b.box = new QCheckBox(tr(b.text), this);
        (*b.box)->setAccessibleName((*b.box)->text());
        du.place(*b.box, b.x, 62, 40, 10);
        setHelp(*b.box, b.help);
    }

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setAccessibleName(okButton_->text());
    // Enter is a key to capture here, never a way to press OK.
    okButton_->setAutoDefault(false);
    okButton_->setDefault(false);
    du.place(okButton_, 176, 116, 50, 14);
    setHelp(okButton_, Help::KeyOk);
    connect(okButton_, &QPushButton::clicked, this, &KeyCaptureDialog::onOk);
}

KeyCaptureDialog::~KeyCaptureDialog()
{
    removeCapture();
}

void KeyCaptureDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Every opening starts blank: nothing captured, no box checked.
    keyCaptured_ = false;
    keyNameLabel_->clear();
    keyNameLabel_->setAccessibleName(QString());
    for (QCheckBox* box : {shiftBox_, ctrlBox_, winBox_, altBox_})
        box->setChecked(false);
    installCapture();
    if (!captureInstalled_) {
        // Warn once the dialog is up, so the warning stands over it and the dialog stays usable.
        QPointer<KeyCaptureDialog> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self)
                showWarning(self, tr("hook failed."));
        });
    }
}

void KeyCaptureDialog::hideEvent(QHideEvent* event)
{
    if (!event->spontaneous())
        removeCapture();
    QDialog::hideEvent(event);
}

void KeyCaptureDialog::installCapture()
{
    // A filter on an object of another thread would never be called.
    if (captureInstalled_ || !eventSource_ || eventSource_->thread() != thread())
        return;
    eventSource_->installEventFilter(this);
    captureInstalled_ = true;
}

void KeyCaptureDialog::removeCapture()
{
    if (!captureInstalled_)
        return;
    if (eventSource_)
        eventSource_->removeEventFilter(this);
    captureInstalled_ = false;
}

bool KeyCaptureDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (captureInstalled_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        // A key event may pass several receivers (window, focus widget, its parents); each
        // pass maps to the same key, so seeing it more than once is harmless.
        const std::uint16_t usage = keyUsageOf(*static_cast<QKeyEvent*>(event));
        if (usage != 0)
            showKey(usage);
        else
            showRefusedKey();
    }
    return QDialog::eventFilter(watched, event);  // never consumes the key
}

void KeyCaptureDialog::showKey(std::uint16_t usage)
{
    keyCaptured_ = true;
    capture_.capturedKeyCode = usage;
    capture_.capturedKeyText = usageCaption(usage);
    showLabel(captionWords(capture_.capturedKeyText));
}

void KeyCaptureDialog::showRefusedKey()
{
    // The mouse cannot send this key; nothing else may be stored in its place.
    keyCaptured_ = false;
    capture_.capturedKeyCode = 0;
    capture_.capturedKeyText.clear();
    showLabel(tr("This key cannot be assigned."));
}

void KeyCaptureDialog::showLabel(const QString& text)
{
    keyNameLabel_->setText(text);
    keyNameLabel_->setAccessibleName(text);
}

void KeyCaptureDialog::keyPressEvent(QKeyEvent* event)
{
    // Enter was captured by the filter already; it must not close the dialog. Escape cancels.
    if (!swallowKey(event, SwallowedKeys::Enter))
        QDialog::keyPressEvent(event);
}

void KeyCaptureDialog::onOk()
{
    std::uint8_t bits = 0;
    if (shiftBox_->isChecked())
        bits |= ShiftBit;
    if (ctrlBox_->isChecked())
        bits |= CtrlBit;
    if (winBox_->isChecked())
        bits |= WinBit;
    if (altBox_->isChecked())
        bits |= AltBit;
    capture_.capturedModifiers = bits;
    // Without a key to assign only the prefix is left, which the page does not store.
    capture_.capturedKeyText =
        keyCaptured_ ? keyboardCaption(bits, capture_.capturedKeyCode) : modifierPrefix(bits);
    accept();
}

}  // namespace lark
