#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace lark {

class VirtualMouse;

// The demo's stand-in for the hands on the mouse: the cable and the polling-rate button.
class VirtualMousePanel : public QWidget {
    Q_OBJECT

public:
    explicit VirtualMousePanel(VirtualMouse& mouse, QWidget* parent = nullptr);

    void unplug();
    void plug();
    // The mouse's own button: steps 1000, 2000, 4000, 8000 Hz and announces the new rate.
    void pressPollingRateButton();

private:
    void showState();

    VirtualMouse& mouse_;
    QLabel* state_ = nullptr;
    QPushButton* unplugButton_ = nullptr;
    QPushButton* plugButton_ = nullptr;
    QPushButton* pollingButton_ = nullptr;
};

}  // namespace lark
