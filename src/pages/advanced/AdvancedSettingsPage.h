#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

#include "settings/SettingsModel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace lark {

// The "Advanced Settings" page: polling rate, motion sync, slam-click filter, the five
// multiclick filters and the SPDT modes of the left and right buttons. Every edit goes into
// model.editedSettings at once, followed by change detection; nothing talks to the mouse.
class AdvancedSettingsPage : public QWidget {
    Q_OBJECT

public:
    // Buttons with a multiclick filter, in slot order (left, right, middle, forward, back).
    static constexpr int kFilterButtons = 5;
    // Buttons with an SPDT list (left, right).
    static constexpr int kSpdtButtons = 2;

    explicit AdvancedSettingsPage(SettingsModel& model, QWidget* parent = nullptr);
    ~AdvancedSettingsPage() override;

    // Fills the controls from model.editedSettings.
    void refreshFromSettings();
    // Gathers the controls into model.editedSettings (filters from the trackbars). False when
    // an edit box could not be read; the values before it were still taken.
    bool collectSettings();
    // Enables or disables all fifteen controls; a button in an SPDT mode keeps its filter
    // controls disabled.
    void setControlsEnabled(bool enabled);
    // The mouse reported a new pollingInterval from its own button (UI thread): the edits and
    // the controls follow; what the mouse holds comes from the session.
    void onPollingRateEvent(std::uint8_t value);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void connectControls();

    void onPollingActivated(int index);
    void onMotionSyncClicked();
    void onSlamClickClicked();
    void onSpdtActivated(int button, int index);
    void onTrackbarMoved(int button, int position);
    void onFilterTextChanged(int button);
    void commitFilterEdit(int button);

    // Takes the edit boxes (left to right) and the Motion Sync box into the page values; stops
    // at the first edit box that holds no byte-sized number, after telling the user.
    bool readControls();
    // Puts the page values into the edit boxes and the Motion Sync box.
    void showPageValues();

    void setTrackbarPosition(int button, int position);
    void updateFilterPairEnabled(int button);
    bool spdtModeActive(int button) const;
    void ensure8000HzListed();
    void remove8000Hz();
    int filterEditIndex(const QObject* object) const;

    SettingsModel& model_;

    QCheckBox* motionSync_ = nullptr;
    QLabel* pollingLabel_ = nullptr;
    QComboBox* polling_ = nullptr;
    QCheckBox* slamClick_ = nullptr;
    std::array<QLabel*, kFilterButtons> filterLabels_{};
    std::array<QSlider*, kFilterButtons> trackbars_{};
    std::array<QLineEdit*, kFilterButtons> edits_{};
    std::array<QLabel*, kSpdtButtons> spdtLabels_{};
    std::array<QComboBox*, kSpdtButtons> spdt_{};

    // Page values mirrored with the controls.
    std::array<int, kFilterButtons> filterValues_{};
    int motionSyncValue_ = 0;

    bool controlsEnabled_ = true;
    bool showingPageValues_ = false;
    bool warningOpen_ = false;
};

}  // namespace lark
