#pragma once

#include <QWidget>

#include <array>

#include "pages/mapping/KeyCapture.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;

namespace lark {

class SettingsModel;

// The button mapping page: the action of six of the mouse's eight inputs, chosen from one shared
// pop-up menu, and left-handed operation. It writes the button slots of editedSettings as the
// user goes; the keyboard key and fixed CPI entries complete their action through modal dialogs.
class ButtonMappingPage : public QWidget {
    Q_OBJECT

public:
    explicit ButtonMappingPage(SettingsModel& model, QWidget* parent = nullptr);

    // Fills the page from editedSettings; writes nothing back.
    void refreshFromSettings();
    void setControlsEnabled(bool enabled);

    // The slot the next menu choice writes.
    int currentSlot() const { return currentSlot_; }

    // What a choice of a menu entry does to the current slot, dialogs included: a named action
    // by its index in namedActions(), or one of the two dialog entries.
    static constexpr int kKeyboardKeyEntry = -1;
    static constexpr int kFixedCpiEntry = -2;
    void runCommand(int entry);

    static constexpr int kRowCount = 6;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenu();
    void onRowClicked(int row);
    void onLeftHandedClicked(bool checked);
    void assignKeyboardKey();
    void assignFixedCpi();
    void showCaption(int slot, const QString& caption);
    // The first row's label, description and tooltip for the mode.
    void showMainRow(bool leftHanded);
    QPushButton* buttonOfSlot(int slot) const;
    ButtonSlot& slot(int index);

    SettingsModel& model_;
    KeyCaptureState keyCapture_;
    int currentSlot_ = 0;

    QCheckBox* leftHandedBox_;
    QLabel* firstRowLabel_;
    std::array<QPushButton*, kRowCount> rowButtons_{};
    QMenu* actionMenu_;
    QMenu* cpiMenu_;
    QAction* fixedCpiEntry_;
};

}  // namespace lark
