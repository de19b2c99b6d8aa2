#include "pages/advanced/AdvancedSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>

#include "model/AdvancedValues.h"
#include "model/Rules.h"
#include "model/Vocabulary.h"
#include "widgets/ControlHelp.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"
#include "widgets/WarningBox.h"

namespace lark {

namespace {

const Setting& row(std::string_view name)
{
    return *findSetting(name);
}

QString k8000HzCaption()
{
    return choiceCaptions(row("polling-rate")).value(kPolling8000Index);
}

struct Rect {
    int x, y, width, height;
};

// A closed drop-down list is one line high; the layout's own height is that of its open list.
constexpr int kComboHeight = 14;

struct FilterRow {
    const char* setting;
    Rect labelRect;
    Rect trackbarRect;
    Rect editRect;
};

constexpr std::array<FilterRow, AdvancedSettingsPage::kFilterButtons> kFilterRows = {{
    {"left-multiclick-filter", {21, 59, 87, 8}, {122, 54, 138, 15}, {268, 54, 41, 14}},
    {"right-multiclick-filter", {21, 95, 93, 8}, {122, 90, 138, 15}, {268, 90, 41, 14}},
    {"middle-multiclick-filter", {21, 131, 99, 8}, {122, 126, 138, 15}, {268, 126, 41, 14}},
    {"forward-multiclick-filter", {21, 167, 99, 8}, {122, 162, 138, 15}, {268, 165, 41, 14}},
    {"back-multiclick-filter", {21, 203, 93, 8}, {122, 198, 138, 15}, {268, 198, 41, 14}},
}};

struct SpdtRow {
    const char* setting;
    Rect labelRect;
    Rect listRect;
};

constexpr std::array<SpdtRow, AdvancedSettingsPage::kSpdtButtons> kSpdtRows = {{
    {"left-spdt", {318, 55, 20, 8}, {342, 54, 66, 57}},
    {"right-spdt", {318, 91, 20, 8}, {342, 90, 66, 57}},
}};

constexpr Rect kMotionSyncRect{23, 23, 54, 10};
constexpr Rect kPollingLabelRect{101, 23, 39, 11};
constexpr Rect kPollingRect{148, 22, 71, 57};
constexpr Rect kSlamClickRect{252, 23, 63, 10};

void place(const DialogUnits& du, QWidget* widget, const Rect& r)
{
    du.place(widget, r.x, r.y, r.width, r.height);
}

void placeCombo(const DialogUnits& du, QComboBox* combo, const Rect& r)
{
    du.place(combo, r.x, r.y, r.width, kComboHeight);
}

std::string toStdString(const QString& text)
{
    return text.toStdString();
}

}  // namespace

AdvancedSettingsPage::AdvancedSettingsPage(SettingsModel& model, QWidget* parent)
    : QWidget(parent), model_(model)
{
    setFont(DialogUnits::dialogFont());
    buildControls();

    polling_->setCurrentIndex(kPolling8000Index);
    for (QComboBox* list : spdt_)
        list->setCurrentIndex(0);
    for (QSlider* trackbar : trackbars_) {
        trackbar->setRange(kFilterMin, kFilterMax);
        trackbar->setValue(kFilterFallback);
    }
    filterValues_.fill(kFilterFallback);
    slamClick_->setChecked(true);
    for (int button = 0; button < kSpdtButtons; ++button)
        updateFilterPairEnabled(button);
    showPageValues();

    // Connected only now: creating the page shows its initial values without storing anything.
    connectControls();
}

AdvancedSettingsPage::~AdvancedSettingsPage()
{
    // The children outlive this part of the object while QWidget tears them down.
    for (QLineEdit* edit : edits_) {
        edit->removeEventFilter(this);
        CommitOnFocus::removeFrom(edit);
        edit->disconnect(this);
    }
    for (QSlider* trackbar : trackbars_)
        trackbar->disconnect(this);
}

void AdvancedSettingsPage::buildControls()
{
    const DialogUnits du(font());

    const Setting& motionSync = row("motion-sync");
    motionSync_ = new QCheckBox(captionOf(motionSync), this);
    motionSync_->setAccessibleName(motionSync_->text());
    place(du, motionSync_, kMotionSyncRect);
    setHelp(motionSync_, motionSync);

    const Setting& polling = row("polling-rate");
    pollingLabel_ = new QLabel(captionOf(polling), this);
    place(du, pollingLabel_, kPollingLabelRect);
    polling_ = makeEditableCombo(this, choiceCaptions(polling));
    polling_->setAccessibleName(captionOf(polling));
    polling_->setAccessibleDescription(captionOf(polling));
    pollingLabel_->setBuddy(polling_);
    placeCombo(du, polling_, kPollingRect);
    setHelp(polling_, polling);

    const Setting& slamClick = row("slam-click-filter");
    slamClick_ = new QCheckBox(captionOf(slamClick), this);
    slamClick_->setAccessibleName(slamClick_->text());
    place(du, slamClick_, kSlamClickRect);
    setHelp(slamClick_, slamClick);

    const auto digitsOnly = QRegularExpression(QStringLiteral("[0-9]*"));
    for (int button = 0; button < kFilterButtons; ++button) {
        const FilterRow& row = kFilterRows[button];
        const Setting& setting = ::lark::row(row.setting);
        const QString name = captionOf(setting);

        auto* label = new QLabel(name, this);
        place(du, label, row.labelRect);
        filterLabels_[button] = label;

        auto* trackbar = new QSlider(Qt::Horizontal, this);
        trackbar->setTickPosition(QSlider::NoTicks);
        trackbar->setPageStep(5);
        trackbar->setAccessibleName(name);
        place(du, trackbar, row.trackbarRect);
        label->setBuddy(trackbar);
        trackbars_[button] = trackbar;

        auto* edit = new QLineEdit(this);
        edit->setValidator(new QRegularExpressionValidator(digitsOnly, edit));
        edit->setAccessibleName(name + QStringLiteral(" value"));
        place(du, edit, row.editRect);
        edits_[button] = edit;
        setHelp(trackbar, setting);
        setHelp(edit, setting);
    }

    for (int button = 0; button < kSpdtButtons; ++button) {
        const SpdtRow& row = kSpdtRows[button];
        const Setting& setting = ::lark::row(row.setting);
        const QString name = captionOf(setting);

        auto* label = new QLabel(tr("SPDT:"), this);
        place(du, label, row.labelRect);
        spdtLabels_[button] = label;

        QComboBox* list = makeEditableCombo(this, choiceCaptions(setting));
        list->setAccessibleName(name);
        list->setAccessibleDescription(name);
        label->setBuddy(list);
        placeCombo(du, list, row.listRect);
        spdt_[button] = list;
        setHelp(list, setting);
    }
    shareHelpWithBuddyLabels(this);
    greyLabelsWithBuddies(this);
}

void AdvancedSettingsPage::connectControls()
{
    connect(polling_, &QComboBox::activated, this, &AdvancedSettingsPage::onPollingActivated);
    connect(motionSync_, &QCheckBox::clicked, this, &AdvancedSettingsPage::onMotionSyncClicked);
    connect(slamClick_, &QCheckBox::clicked, this, &AdvancedSettingsPage::onSlamClickClicked);
    for (int button = 0; button < kSpdtButtons; ++button)
        connect(spdt_[button], &QComboBox::activated, this,
                [this, button](int index) { onSpdtActivated(button, index); });
    for (int button = 0; button < kFilterButtons; ++button) {
        connect(trackbars_[button], &QSlider::valueChanged, this,
                [this, button](int position) { onTrackbarMoved(button, position); });
        connect(trackbars_[button], &QSlider::sliderReleased, this,
                [this, button] { onTrackbarMoved(button, trackbars_[button]->value()); });
        connect(edits_[button], &QLineEdit::textChanged, this,
                [this, button] { onFilterTextChanged(button); });
        new CommitOnFocus(
            edits_[button], [this, button] { commitFilterEdit(button); }, CommitOnFocus::Enter::PassOn);
    }
}

// ---- Reactions to the user -------------------------------------------------------------

void AdvancedSettingsPage::onPollingActivated(int index)
{
    model_.editedSettings.pollingInterval = pollingIntervalForIndex(index);
    model_.updateApplyButton();
}

void AdvancedSettingsPage::onMotionSyncClicked()
{
    readControls();
    // The box decides even when an edit box could not be read, so that the stored value
    // never contradicts what the box shows.
    motionSyncValue_ = motionSync_->isChecked() ? 1 : 0;

    const int remembered = polling_->currentIndex();
    MouseSettings& edited = model_.editedSettings;
    setMotionSync(edited, motionSyncValue_ == 1);
    if (motionSyncValue_ == 1) {
        remove8000Hz();
        // 8000 Hz gave way: the list shows the rate the rule chose.
        polling_->setCurrentIndex(remembered == kPolling8000Index ? *pollingIndexForInterval(edited.pollingInterval)
                                                                  : remembered);
    } else {
        ensure8000HzListed();
        polling_->setCurrentIndex(remembered);
    }
    model_.updateApplyButton();
}

void AdvancedSettingsPage::onSlamClickClicked()
{
    model_.editedSettings.slamClickFilter = slamClick_->isChecked() ? 1 : 0;
    model_.updateApplyButton();
}

void AdvancedSettingsPage::onSpdtActivated(int button, int index)
{
    std::uint8_t& filter = model_.editedSettings.buttons[button].filter;
    if (index == 0) {
        updateFilterPairEnabled(button);
        filter = static_cast<std::uint8_t>(trackbars_[button]->value());
    } else if (const auto mode = filterForSpdtIndex(index, trackbars_[button]->value())) {
        setTrackbarPosition(button, kFilterFallback);
        filterValues_[button] = kFilterFallback;
        edits_[button]->setText(QString::number(kFilterFallback));
        updateFilterPairEnabled(button);
        filter = *mode;
    }
    model_.updateApplyButton();
}

void AdvancedSettingsPage::onTrackbarMoved(int button, int position)
{
    filterValues_[button] = position;
    model_.editedSettings.buttons[button].filter = static_cast<std::uint8_t>(position);
    model_.updateApplyButton();
    showPageValues();
}

void AdvancedSettingsPage::onFilterTextChanged(int button)
{
    // While the page puts its own values into the boxes those values are the truth; reading
    // the boxes half way through would take the older texts of the boxes not yet updated.
    if (!showingPageValues_)
        readControls();
    filterValues_[button] = limitFilter(filterValues_[button]);
    // A button in an SPDT mode keeps its mode byte; its filter box only shows the parked value.
    if (!spdtModeActive(button))
        model_.editedSettings.buttons[button].filter = static_cast<std::uint8_t>(filterValues_[button]);
    model_.updateApplyButton();
}

void AdvancedSettingsPage::commitFilterEdit(int button)
{
    QLineEdit* edit = edits_[button];
    const int value = committedFilter(toStdString(edit->text()));
    setTrackbarPosition(button, value);
    filterValues_[button] = value;
    const QString text = QString::number(value);
    if (edit->text() != text)
        edit->setText(text);
}

void AdvancedSettingsPage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int button = filterEditIndex(focusWidget());
        if (button >= 0 && edits_[button]->hasFocus())
            commitFilterEdit(button);
    }
    // The page's background belongs to the page: the press does not reach the main window,
    // whose own background starts a window move.
    event->accept();
}

// ---- Page values ------------------------------------------------------------------------

bool AdvancedSettingsPage::readControls()
{
    for (int button = 0; button < kFilterButtons; ++button) {
        const auto value = readFilterText(toStdString(edits_[button]->text()));
        if (!value) {
            // One message at a time: closing it commits the box, which reads the page again.
            if (!warningOpen_) {
                warningOpen_ = true;
                showWarning(this, tr("Enter an integer between 0 and 255."));
                warningOpen_ = false;
                edits_[button]->setFocus(Qt::OtherFocusReason);
                edits_[button]->selectAll();
            }
            return false;
        }
        filterValues_[button] = *value;
    }
    motionSyncValue_ = motionSync_->isChecked() ? 1 : 0;
    return true;
}

void AdvancedSettingsPage::showPageValues()
{
    const bool wasShowing = showingPageValues_;
    showingPageValues_ = true;
    for (int button = 0; button < kFilterButtons; ++button) {
        const QString text = QString::number(filterValues_[button]);
        if (edits_[button]->text() != text)
            edits_[button]->setText(text);
    }
    motionSync_->setChecked(motionSyncValue_ == 1);
    showingPageValues_ = wasShowing;
}

// ---- Operations for the main window ----------------------------------------------------

void AdvancedSettingsPage::refreshFromSettings()
{
    const MouseSettings& settings = model_.editedSettings;

    if (settings.motionSync == 1) {
        motionSync_->setChecked(true);
        motionSyncValue_ = 1;
        remove8000Hz();
    } else {
        motionSync_->setChecked(false);
        motionSyncValue_ = 0;
        ensure8000HzListed();
    }

    slamClick_->setChecked(settings.slamClickFilter == 1);

    if (const auto index = pollingIndexForInterval(settings.pollingInterval)) {
        if (*index == kPolling8000Index)
            ensure8000HzListed();
        polling_->setCurrentIndex(*index);
    }

    for (int button = 0; button < kSpdtButtons; ++button) {
        const std::uint8_t filter = settings.buttons[button].filter;
        spdt_[button]->setCurrentIndex(spdtIndexForFilter(filter));
        if (!spdtModeActive(button)) {
            setTrackbarPosition(button, shownFilter(filter));
            filterValues_[button] = shownFilter(filter);
        }
        updateFilterPairEnabled(button);
    }
    for (int button = kSpdtButtons; button < kFilterButtons; ++button) {
        const int shown = shownFilter(settings.buttons[button].filter);
        setTrackbarPosition(button, shown);
        filterValues_[button] = shown;
    }

    showPageValues();
}

bool AdvancedSettingsPage::collectSettings()
{
    const bool readAll = readControls();
    MouseSettings& settings = model_.editedSettings;

    settings.motionSync = motionSync_->isChecked() ? 1 : 0;
    settings.slamClickFilter = slamClick_->isChecked() ? 1 : 0;
    settings.pollingInterval = pollingIntervalForIndex(polling_->currentIndex());
    for (int button = 0; button < kSpdtButtons; ++button) {
        if (const auto filter =
                filterForSpdtIndex(spdt_[button]->currentIndex(), trackbars_[button]->value()))
            settings.buttons[button].filter = *filter;
    }
    for (int button = kSpdtButtons; button < kFilterButtons; ++button)
        settings.buttons[button].filter = static_cast<std::uint8_t>(trackbars_[button]->value());
    // A list without a selection stands for 8000 Hz, which motion sync does not take.
    setMotionSync(settings, settings.motionSync == 1);
    return readAll;
}

void AdvancedSettingsPage::setControlsEnabled(bool enabled)
{
    controlsEnabled_ = enabled;
    motionSync_->setEnabled(enabled);
    polling_->setEnabled(enabled);
    slamClick_->setEnabled(enabled);
    for (QComboBox* list : spdt_)
        list->setEnabled(enabled);
    for (int button = 0; button < kFilterButtons; ++button)
        updateFilterPairEnabled(button);
}

void AdvancedSettingsPage::onPollingRateEvent(std::uint8_t value)
{
    if (!pollingHz(value))
        return;
    applyPollingRateEvent(model_.editedSettings, value);
    if (model_.editedSettings.motionSync == 0) {
        motionSync_->setChecked(false);
        motionSyncValue_ = 0;
        ensure8000HzListed();
    }
    polling_->setCurrentIndex(*pollingIndexForInterval(value));
}

// ---- Helpers ------------------------------------------------------------------------------

void AdvancedSettingsPage::setTrackbarPosition(int button, int position)
{
    // Positions set by the page are no trackbar notifications.
    const QSignalBlocker blocker(trackbars_[button]);
    trackbars_[button]->setValue(position);
}

void AdvancedSettingsPage::updateFilterPairEnabled(int button)
{
    const bool enabled = controlsEnabled_ && !spdtModeActive(button);
    trackbars_[button]->setEnabled(enabled);
    edits_[button]->setEnabled(enabled);
}

bool AdvancedSettingsPage::spdtModeActive(int button) const
{
    return button < kSpdtButtons && spdt_[button]->currentIndex() != 0;
}

void AdvancedSettingsPage::ensure8000HzListed()
{
    if (polling_->findText(k8000HzCaption(), Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        polling_->insertItem(kPolling8000Index, k8000HzCaption());
}

void AdvancedSettingsPage::remove8000Hz()
{
    if (polling_->count() > kPolling8000Index)
        polling_->removeItem(kPolling8000Index);
}

int AdvancedSettingsPage::filterEditIndex(const QObject* object) const
{
    for (int button = 0; button < kFilterButtons; ++button) {
        if (edits_[button] == object)
            return button;
    }
    return -1;
}

}  // namespace lark
