#include "pages/basic/BasicSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "pages/basic/CpiLevelSwatch.h"
#include "model/Cpi.h"
#include "model/Rules.h"
#include "settings/SettingsModel.h"
#include "model/Vocabulary.h"
#include "widgets/ControlHelp.h"
#include "widgets/CpiPairGroup.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"

namespace lark {

namespace {

struct DuRect {
    int x, y, w, h;
};

// Dialog-unit rectangles of one level row.
struct RowLayout {
    DuRect caption, marker, xLabel, xSlider, xEdit, yLabel, ySlider, yEdit;
};

constexpr int kLabelW = 24, kMarkerW = 15, kAxisLabelW = 12, kSliderW = 300, kSliderH = 15, kTextH = 8;

// Every row alike: the same pitch, the same gap between its X and Y trackbars, the same edit
// boxes right of them. Pitch and gap are multiples of 8 units, so they come out as the same
// pixels in every row whatever the font's height.
constexpr int kFirstRowTop = 66, kRowPitch = 56, kAxisGap = 24, kEditX = 366, kEditW = 42, kEditH = 14;

constexpr RowLayout rowLayout(int level)
{
    const int top = kFirstRowTop + kRowPitch * level;
    const int yTop = top + kAxisGap;
    return {{15, top + 4, kLabelW, kTextH},     {15, top + 16, kMarkerW, kTextH},
            {42, top + 4, kAxisLabelW, kTextH}, {60, top, kSliderW, kSliderH},
            {kEditX, top, kEditW, kEditH},      {42, yTop + 4, kAxisLabelW, kTextH},
            {60, yTop, kSliderW, kSliderH},     {kEditX, yTop, kEditW, kEditH}};
}

constexpr std::array<RowLayout, kCpiLevelCount> kRows = {rowLayout(0), rowLayout(1), rowLayout(2),
                                                         rowLayout(3)};

// The factory CPI of each level, shown until the settings are known.
std::uint32_t factoryCpi(int level)
{
    MouseSettings factory;
    setDefaults(factory);
    return factory.cpiLevels[static_cast<std::size_t>(level)].x;
}

const Setting& settingRow(std::string_view name)
{
    return *findSetting(name);
}

const std::array<QColor, kCpiLevelCount> kMarkerColours = {QColor(0, 0, 255), QColor(0, 255, 0),
                                                           QColor(255, 255, 0), QColor(255, 0, 0)};

void place(const DialogUnits& du, QWidget* widget, const DuRect& r)
{
    du.place(widget, r.x, r.y, r.w, r.h);
}

// A drop-down combo with an editable text field, placed at its dialog-unit position; the closed
// field is never shorter than the style needs for its text.
QComboBox* makeCombo(QWidget* parent, const DialogUnits& du, int x, int y, const QStringList& entries,
                     const QString& name)
{
    QComboBox* combo = makeEditableCombo(parent, entries);
    combo->setAccessibleName(name);
    combo->setAccessibleDescription(name);
    QRect area = du.rect(x, y, 66, 12);
    area.setHeight(qMax(area.height(), combo->sizeHint().height()));
    combo->setGeometry(area);
    return combo;
}

QCheckBox* makeCheckBox(QWidget* parent, const DialogUnits& du, const QString& text, const DuRect& r)
{
    auto* box = new QCheckBox(text, parent);
    box->setAccessibleName(text);
    place(du, box, r);
    return box;
}

QLabel* makeLabel(QWidget* parent, const DialogUnits& du, const QString& text, const DuRect& r)
{
    auto* label = new QLabel(text, parent);
    place(du, label, r);
    return label;
}

}  // namespace

BasicSettingsPage::BasicSettingsPage(SettingsModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setFont(DialogUnits::dialogFont());
    buildControls();
}

BasicSettingsPage::~BasicSettingsPage()
{
    // Tearing down the child widgets may move the focus out of an edit and commit it; nothing
    // of that may reach this half-destroyed page.
    for (const LevelRow& row : rows_)
        row.pair->disconnect(this);
}

void BasicSettingsPage::buildControls()
{
    const DialogUnits du(font());
    resize(du.size(418, 334));

    const Setting& liftOff = settingRow("lift-off-distance");
    liftOffLabel_ = makeLabel(this, du, captionOf(liftOff) + QLatin1Char(':'), {43, 16, 18, 8});
    liftOffCombo_ = makeCombo(this, du, 66, 15, choiceCaptions(liftOff), captionOf(liftOff));
    liftOffLabel_->setBuddy(liftOffCombo_);
    angleSnappingBox_ = makeCheckBox(this, du, captionOf(settingRow("angle-snapping")), {152, 15, 65, 10});

    const Setting& levelCount = settingRow("cpi-levels");
    QStringList counts;
    for (int count = levelCount.min; count <= levelCount.max; ++count)
        counts << QString::number(count);
    levelCountLabel_ = makeLabel(this, du, captionOf(levelCount) + QChar(0xFF1A), {24, 41, 42, 8});
    levelCountCombo_ = makeCombo(this, du, 66, 39, counts, captionOf(levelCount));
    levelCountLabel_->setBuddy(levelCountCombo_);
    levelCountCombo_->setCurrentIndex(3);
    separateBox_ = makeCheckBox(this, du, tr("X/Y Settings"), {152, 39, 54, 10});
    rippleControlBox_ = makeCheckBox(this, du, captionOf(settingRow("ripple-control")), {240, 39, 60, 10});

    group_ = new CpiPairGroup(this, separateBox_);
    group_->setReadWhileTyping(true);
    for (int k = 0; k < kCpiLevelCount; ++k) {
        const RowLayout& layout = kRows[k];
        LevelRow& row = rows_[k];
        const QString level = captionOf(settingRow("cpi" + std::to_string(k + 1)));
        row.caption = makeLabel(this, du, level, layout.caption);
        row.marker = new CpiLevelSwatch(this);
        row.marker->backgroundColor = kMarkerColours[k];
        place(du, row.marker, layout.marker);
        row.xLabel = makeLabel(this, du, tr("X:"), layout.xLabel);
        row.yLabel = makeLabel(this, du, tr("Y:"), layout.yLabel);

        row.pair = group_->addPair(level + QLatin1Char(' '), factoryCpi(k));
        place(du, row.pair->slider(CpiAxis::X), layout.xSlider);
        place(du, row.pair->edit(CpiAxis::X), layout.xEdit);
        place(du, row.pair->slider(CpiAxis::Y), layout.ySlider);
        place(du, row.pair->edit(CpiAxis::Y), layout.yEdit);
        row.xLabel->setBuddy(row.pair->slider(CpiAxis::X));
        row.yLabel->setBuddy(row.pair->slider(CpiAxis::Y));

        for (QWidget* w : {static_cast<QWidget*>(row.pair->slider(CpiAxis::X)),
                           static_cast<QWidget*>(row.pair->edit(CpiAxis::X))})
            setHelp(w, Help::LevelCpiX, k + 1);
        for (QWidget* w : {static_cast<QWidget*>(row.pair->slider(CpiAxis::Y)),
                           static_cast<QWidget*>(row.pair->edit(CpiAxis::Y))})
            setHelp(w, Help::LevelCpiY, k + 1);

        connect(row.pair, &CpiPair::valueEdited, this,
                [this, k](CpiAxis axis, std::uint32_t value) { storeLevelValue(k, axis, value); });
    }

    setHelp(liftOffCombo_, liftOff);
    setHelp(angleSnappingBox_, settingRow("angle-snapping"));
    setHelp(levelCountCombo_, levelCount);
    setHelp(separateBox_, Help::SeparateAxes);
    setHelp(rippleControlBox_, settingRow("ripple-control"));
    shareHelpWithBuddyLabels(this);
    greyLabelsWithBuddies(this);
    for (const LevelRow& row : rows_)
        greyWithControl(row.caption, row.pair->slider(CpiAxis::X));

    // Only choices from the lists count; text typed into the fields that matches no entry
    // changes nothing.
    connect(liftOffCombo_, &QComboBox::activated, this, [this](int index) {
        model_.editedSettings.liftOffDistance = index == 1 ? 2 : 1;
        model_.updateApplyButton();
    });
    connect(levelCountCombo_, &QComboBox::activated, this, [this](int index) {
        if (index < 0 || index >= kCpiLevelCount)
            return;
        showLevelRows(index + 1);
        model_.editedSettings.cpiLevelCount = static_cast<std::uint8_t>(index + 1);
        model_.updateApplyButton();
    });
    connect(angleSnappingBox_, &QCheckBox::clicked, this, [this](bool checked) {
        model_.editedSettings.angleSnapping = checked ? 1 : 0;
        model_.updateApplyButton();
    });
    connect(rippleControlBox_, &QCheckBox::clicked, this, [this](bool checked) {
        model_.editedSettings.rippleControl = checked ? 1 : 0;
        model_.updateApplyButton();
    });
}

void BasicSettingsPage::storeLevelValue(int level, CpiAxis axis, std::uint32_t value)
{
    CpiLevel& stored = model_.editedSettings.cpiLevels[level];
    const auto cpi = static_cast<std::uint16_t>(normalizeCpi(value));
    if (axis == CpiAxis::X)
        stored.x = cpi;
    else
        stored.y = cpi;
    model_.updateApplyButton();
}

void BasicSettingsPage::refreshFromSettings()
{
    const MouseSettings& s = model_.editedSettings;
    liftOffCombo_->setCurrentIndex(s.liftOffDistance == 2 ? 1 : 0);
    angleSnappingBox_->setChecked(s.angleSnapping == 1);
    rippleControlBox_->setChecked(s.rippleControl == 1);
    const bool knownCount = s.cpiLevelCount >= 1 && s.cpiLevelCount <= 3;
    levelCountCombo_->setCurrentIndex(knownCount ? s.cpiLevelCount - 1 : 3);
    separateBox_->setChecked(s.cpiLevels[0].xySeparate != 0);
    for (int k = 0; k < kCpiLevelCount; ++k)
        rows_[k].pair->setValues(s.cpiLevels[k].x, s.cpiLevels[k].y);
    showLevelRows(s.cpiLevelCount);
}

void BasicSettingsPage::showLevelRows(int n)
{
    const int shown = (n >= 1 && n <= 3) ? n : kCpiLevelCount;
    for (int k = 0; k < kCpiLevelCount; ++k) {
        const LevelRow& row = rows_[k];
        const bool visible = k < shown;
        for (QWidget* w : {static_cast<QWidget*>(row.caption), static_cast<QWidget*>(row.marker),
                           static_cast<QWidget*>(row.xLabel), static_cast<QWidget*>(row.yLabel)})
            w->setVisible(visible);
        for (CpiAxis axis : {CpiAxis::X, CpiAxis::Y}) {
            row.pair->slider(axis)->setVisible(visible);
            row.pair->edit(axis)->setVisible(visible);
        }
    }
}

void BasicSettingsPage::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(liftOffCombo_), static_cast<QWidget*>(levelCountCombo_),
                       static_cast<QWidget*>(angleSnappingBox_), static_cast<QWidget*>(rippleControlBox_),
                       static_cast<QWidget*>(separateBox_)})
        w->setEnabled(enabled);
    for (const LevelRow& row : rows_) {
        for (CpiAxis axis : {CpiAxis::X, CpiAxis::Y}) {
            row.pair->slider(axis)->setEnabled(enabled);
            row.pair->edit(axis)->setEnabled(enabled);
        }
    }
}

bool BasicSettingsPage::collectSettings()
{
    if (!group_->readEdits())
        return false;

    MouseSettings& s = model_.editedSettings;
    s.liftOffDistance = liftOffCombo_->currentIndex() == 1 ? 2 : 1;
    s.angleSnapping = angleSnappingBox_->isChecked() ? 1 : 0;
    s.rippleControl = rippleControlBox_->isChecked() ? 1 : 0;
    const int countIndex = levelCountCombo_->currentIndex();
    if (countIndex >= 0 && countIndex < kCpiLevelCount)
        s.cpiLevelCount = static_cast<std::uint8_t>(countIndex + 1);
    for (int k = 0; k < kCpiLevelCount; ++k) {
        setCpiLevel(s, k, static_cast<std::uint16_t>(rows_[k].pair->value(CpiAxis::X)),
                    static_cast<std::uint16_t>(rows_[k].pair->value(CpiAxis::Y)));
    }
    return true;
}

void BasicSettingsPage::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape that no control used end here: the page never closes or hides, and the
    // window around it must not see them as "default button" or "cancel".
    if (!swallowKey(event, SwallowedKeys::EnterAndEscape))
        QWidget::keyPressEvent(event);
}

}  // namespace lark
