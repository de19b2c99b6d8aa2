#pragma once

#include <QDialog>

#include "pages/mapping/KeyCapture.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace lark {

// Modal dialog that captures one keyboard key plus modifier boxes into a KeyCaptureState.
// While it is shown, an application-wide event filter sees every key press and release that
// reaches the application (the last one wins) without ever consuming it. Nothing outside the
// application is captured.
class KeyCaptureDialog : public QDialog {
    Q_OBJECT

public:
    // `eventSource` is the object whose event filter does the capture: the application unless a
    // caller says otherwise; without one the dialog warns "hook failed." and captures nothing.
    explicit KeyCaptureDialog(KeyCaptureState& capture, QWidget* parent = nullptr);
    KeyCaptureDialog(KeyCaptureState& capture, QWidget* parent, QObject* eventSource);
    ~KeyCaptureDialog() override;

    // True when the last key event since the dialog was last shown was a key that can be
    // assigned. A result without one must not be encoded: capturedKeyCode may be a leftover or 0.
    bool keyCapturedThisOpening() const { return keyCaptured_; }
    bool captureActive() const { return captureInstalled_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOk();
    void installCapture();
    void removeCapture();
    void showKey(std::uint16_t usage);
    void showRefusedKey();
    void showLabel(const QString& text);

    KeyCaptureState& capture_;
    QObject* eventSource_;
    bool captureInstalled_ = false;
    bool keyCaptured_ = false;

    QLabel* keyNameLabel_;
    QCheckBox* shiftBox_;
    QCheckBox* ctrlBox_;
    QCheckBox* winBox_;
    QCheckBox* altBox_;
    QPushButton* okButton_;
};

}  // namespace lark
