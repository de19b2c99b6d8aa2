#pragma once

#include <QWidget>

#include <array>

#include "settings/MouseSettings.h"
#include "widgets/CpiPair.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace lark {

class CpiPairGroup;
class CpiLevelSwatch;
class SettingsModel;

// The Basic Settings page: CPI level count, X/Y CPI of four levels, lift-off distance, angle
// snapping and ripple control. Each user change goes into model.editedSettings at once and runs
// change detection; the page never talks to the mouse.
class BasicSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit BasicSettingsPage(SettingsModel& model, QWidget* parent = nullptr);
    ~BasicSettingsPage() override;

    // Shows editedSettings (out-of-range values mapped to what the controls can show); writes
    // nothing back and runs no change detection.
    void refreshFromSettings();

    // Shows the rows of levels 1..n; any n other than 1, 2, 3 shows all four.
    void showLevelRows(int n);

    // The combos, the three check boxes, the eight trackbars and the eight edits.
    void setControlsEnabled(bool enabled);

    // What APPLY gathers: reads the value edits (false after the warning when one holds no
    // number, editedSettings then untouched), then stores lift-off distance, the two switches,
    // the level count and every level's X, Y and whether they differ.
    bool collectSettings();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct LevelRow {
        QLabel* caption = nullptr;
        CpiLevelSwatch* marker = nullptr;
        QLabel* xLabel = nullptr;
        QLabel* yLabel = nullptr;
        CpiPair* pair = nullptr;
    };

    void buildControls();
    void storeLevelValue(int level, CpiAxis axis, std::uint32_t value);

    SettingsModel& model_;
    QLabel* liftOffLabel_ = nullptr;
    QComboBox* liftOffCombo_ = nullptr;
    QCheckBox* angleSnappingBox_ = nullptr;
    QLabel* levelCountLabel_ = nullptr;
    QComboBox* levelCountCombo_ = nullptr;
    QCheckBox* separateBox_ = nullptr;
    QCheckBox* rippleControlBox_ = nullptr;
    CpiPairGroup* group_ = nullptr;
    std::array<LevelRow, kCpiLevelCount> rows_{};
};

}  // namespace lark
