#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include <optional>

#include "device/HotplugSource.h"
#include "device/Protocol.h"
#include "pages/advanced/AdvancedSettingsPage.h"
#include "pages/basic/BasicSettingsPage.h"
#include "pages/mapping/ButtonMappingPage.h"
#include "session/qt/OutsideWriteWatcher.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "widgets/AccessibleCheckBox.h"
#include "widgets/ControlHelp.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"
#include "widgets/WarningBox.h"

namespace lark {

namespace {

constexpr double kSoftwareVersion = 1.06;

const QString kStatusApplied = QStringLiteral("Settings applied.");
const QString kStatusRefused =
    QStringLiteral("The mouse did not accept the settings. Press APPLY to try again.");
const QString kStatusNotFound = QStringLiteral("Mouse not found. Check that it is plugged in.");
const QString kStatusWaiting =
    QStringLiteral("Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).");
const QString kStatusNoPermission =
    QStringLiteral("The mouse is here, but permission denied: install the udev "
                   "rule (README, \"Using the real mouse\") and replug it.");
const QString kStatusResetDone = QStringLiteral("Factory settings restored.");
const QString kStatusResetNotSent = QStringLiteral("The factory reset could not be sent to the mouse.");
const QString kStatusResetNotConfirmed =
    QStringLiteral("The mouse did not confirm the factory reset; its settings may be unchanged.");
const QString kStatusSettingsNotRead =
    QStringLiteral("The mouse's settings could not be read. Press F5 to try again.");
const QString kStatusUnreadNotWritten = QStringLiteral(
    "The mouse's settings could not be read, so nothing was written. Press APPLY to try again.");
const QString kStatusNotGathered =
    QStringLiteral("Nothing was written: correct the value on the page first.");
const QString kStatusUnplugged =
    QStringLiteral("The mouse was unplugged. Plug it in again and it will be found by itself.");
const QString kAskDiscard = QStringLiteral("Discard the changes and read the mouse's settings again?");

// What the status line says while an operation runs; empty for the quick ones.
QString busyText(SessionOperation operation)
{
    switch (operation) {
    case SessionOperation::Start:
        return QStringLiteral("Looking for the mouse\u2026");
    case SessionOperation::Arrival:
        return QStringLiteral("Connecting\u2026");
    case SessionOperation::ReadAgain:
        return QStringLiteral("Reading the mouse's settings\u2026");
    case SessionOperation::Apply:
        return QStringLiteral("Applying\u2026");
    case SessionOperation::FactoryReset:
        return QStringLiteral("Restoring factory settings\u2026");
    default:
        return {};
    }
}

// What the status line says after an operation; nothing when the status from before stands.
std::optional<QString> outcomeText(SessionOperation operation, SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Nothing:
        return std::nullopt;
    case SessionOutcome::Connected:
        return QString();
    case SessionOutcome::NotFound:
        // At start-up nobody asked for the mouse yet: say what the window waits for.
        return operation == SessionOperation::Start ? kStatusWaiting : kStatusNotFound;
    case SessionOutcome::PermissionDenied:
        return kStatusNoPermission;
    case SessionOutcome::SettingsNotRead:
        return kStatusSettingsNotRead;
    case SessionOutcome::Applied:
        return kStatusApplied;
    case SessionOutcome::Refused:
        return kStatusRefused;
    case SessionOutcome::UnreadNotWritten:
        return kStatusUnreadNotWritten;
    case SessionOutcome::ResetDone:
        return kStatusResetDone;
    case SessionOutcome::ResetNotSent:
        return kStatusResetNotSent;
    case SessionOutcome::ResetNotConfirmed:
        return kStatusResetNotConfirmed;
    case SessionOutcome::Unplugged:
        return kStatusUnplugged;
    }
    return std::nullopt;
}

// What the status line goes back to once an edit makes the last message stale: the state of the
// mouse as the outcome left it, when the outcome tells one.
std::optional<QString> standingText(SessionOperation operation, SessionOutcome outcome)
{
    switch (outcome) {
    case SessionOutcome::Connected:
    case SessionOutcome::Applied:
    case SessionOutcome::ResetDone:
        return QString();
    case SessionOutcome::NotFound:
    case SessionOutcome::PermissionDenied:
    case SessionOutcome::SettingsNotRead:
    case SessionOutcome::Unplugged:
        return outcomeText(operation, outcome);
    case SessionOutcome::UnreadNotWritten:
        return kStatusSettingsNotRead;
    default:
        return std::nullopt;
    }
}

QPushButton* makeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Enter never presses a button of this window.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setAccessibleName(text);
    return button;
}

QLabel* makeValueLabel(const QString& description, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAccessibleDescription(description);
    return label;
}

void setValueText(QLabel* label, const QString& text)
{
    label->setText(text);
    label->setAccessibleName(text);
}

}  // namespace

MainWindow::MainWindow(SettingsModel& model, DeviceContext device, QWidget* parent)
    : QDialog(parent), model_(model), device_(device)
{
    installAccessibleCheckBoxes();
    setWindowTitle(kProgramName);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(DialogUnits::dialogFont());
    buildControls();
    model_.setDefaults();
    buildPages();
    // Until the session tells otherwise, nothing on the pages is the mouse's.
    setControlsEnabled(false);
    model_.setApplyListener([this](bool differ) {
        // Disabling the controls commits a focused edit, which runs change detection: it must
        // not bring APPLY back while the mouse is away.
        setApplyWanted(differ && controlsEnabled_);
        if (!busy_ && model_.editedSettings != editsAtStatus_)
            setStatus(standingStatus_);
    });
    connectSession();
}

MainWindow::~MainWindow()
{
    model_.setApplyListener(nullptr);
}

void MainWindow::connectSession()
{
    SessionRunner& session = device_.session;
    connect(&session, &SessionRunner::busyChanged, this, &MainWindow::onBusyChanged);
    connect(&session, &SessionRunner::connectedChanged, this, &MainWindow::onConnectedChanged);
    connect(&session, &SessionRunner::firmwareVersionChanged, this,
            [this](const QString& text) { setValueText(firmwareLabel_, text); });
    connect(&session, &SessionRunner::settingsLoaded, this, &MainWindow::onSettingsLoaded);
    connect(&session, &SessionRunner::settingsApplied, this, &MainWindow::onSettingsApplied);
    connect(&session, &SessionRunner::editsKept, this, &MainWindow::onEditsKept);
    // larkctl changed the mouse: show what it holds now, with the user's edits still on top.
    if (!device_.outsideWriteDirectory.isEmpty()) {
        auto* watcher = new OutsideWriteWatcher(device_.outsideWriteDirectory, this);
        connect(watcher, &OutsideWriteWatcher::announced, this, &MainWindow::onOutsideWrite);
    }
    connect(&session, &SessionRunner::outcome, this, &MainWindow::onOutcome);
    connect(&session, &SessionRunner::mouseEvent, this, &MainWindow::onMouseEvent);
    // Notifications go to the session, which knows whether the mouse is connected.
    connect(&device_.hotplug, &HotplugSource::deviceArrived, &session, &SessionRunner::arrival);
    connect(&device_.hotplug, &HotplugSource::deviceRemoved, &session, &SessionRunner::removal);
    // The session may have been started before the window was built.
    onBusyChanged(session.isBusy(), session.busyOperation());
}

void MainWindow::buildControls()
{
    const DialogUnits du;
    resize(du.size(445, 437));

    infoGroup_ = new QGroupBox(QStringLiteral("Info"), this);
    infoGroup_->setAccessibleName(QStringLiteral("Info"));
    du.place(infoGroup_, 13, 7, 419, 69);

    auto* firmwareCaption = new QLabel(QStringLiteral("Firmware Version :"), this);
    du.place(firmwareCaption, 22, 25, 62, 12);
    firmwareLabel_ = makeValueLabel(QStringLiteral("Firmware Version"), this);
    du.place(firmwareLabel_, 87, 26, 42, 12);

    auto* softwareCaption = new QLabel(QStringLiteral("Software Version :"), this);
    du.place(softwareCaption, 22, 46, 62, 12);
    softwareLabel_ = makeValueLabel(QStringLiteral("Software Version"), this);
    du.place(softwareLabel_, 87, 47, 42, 12);

    factoryResetButton_ = makeButton(QStringLiteral("Factory Reset"), this);
    du.place(factoryResetButton_, 368, 53, 54, 14);
    setHelp(factoryResetButton_, Help::FactoryReset);
    connect(factoryResetButton_, &QPushButton::clicked, this, &MainWindow::factoryReset);

    tabs_ = new QTabWidget(this);
    tabs_->setAccessibleName(QStringLiteral("Settings pages"));
    du.place(tabs_, 12, 88, 420, 308);
    tabs_->installEventFilter(this);

    applyButton_ = makeButton(QStringLiteral("APPLY"), this);
    du.place(applyButton_, 372, 410, 50, 14);
    setHelp(applyButton_, Help::Apply);
    connect(applyButton_, &QPushButton::clicked, this, &MainWindow::apply);

    // What the window waits for or what the last device flow did, left of APPLY and below the
    // pages; room for two lines, so that a hint is never cut off.
    statusLabel_ = makeValueLabel(QStringLiteral("Status"), this);
    statusLabel_->setWordWrap(true);
    statusLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    du.place(statusLabel_, 13, 402, 352, 22);

    readAgainAction_ = new QAction(QStringLiteral("Read settings again"), this);
    readAgainAction_->setShortcut(QKeySequence(Qt::Key_F5));
    connect(readAgainAction_, &QAction::triggered, this, &MainWindow::readAgain);
    addAction(readAgainAction_);

    applyAction_ = new QAction(QStringLiteral("Apply"), this);
    applyAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(applyAction_, &QAction::triggered, this, &MainWindow::applyFromKeyboard);
    addAction(applyAction_);

    // Controls are placed by dialog units; the window may grow but they stay where they are.
    setMinimumSize(size());
}

void MainWindow::buildPages()
{
    setValueText(softwareLabel_, QString::asprintf("V%.2f", kSoftwareVersion));

    basicPage_ = new BasicSettingsPage(model_);
    advancedPage_ = new AdvancedSettingsPage(model_);
    mappingPage_ = new ButtonMappingPage(model_);
    tabs_->addTab(basicPage_, QStringLiteral("  Basic Settings  "));
    tabs_->addTab(advancedPage_, QStringLiteral("  Advanced Settings  "));
    tabs_->addTab(mappingPage_, QStringLiteral("  Button Mapping  "));
    tabs_->setCurrentIndex(0);
}

void MainWindow::initialize()
{
    if (!device_.hotplug.start())
        showWarning(this, QStringLiteral("RegisterDeviceNotification Failed!"));
    device_.session.start();
}

void MainWindow::setControlsEnabled(bool enabled)
{
    controlsEnabled_ = enabled;
    tabs_->tabBar()->setEnabled(enabled);
    basicPage_->setControlsEnabled(enabled);
    advancedPage_->setControlsEnabled(enabled);
    mappingPage_->setControlsEnabled(enabled);
    // Enabling includes APPLY; the flow that enabled the controls then decides.
    setApplyWanted(enabled);
}

void MainWindow::setApplyWanted(bool wanted)
{
    applyWanted_ = wanted;
    updateButtons();
}

void MainWindow::updateButtons()
{
    factoryResetButton_->setEnabled(controlsEnabled_ && !busy_);
    applyButton_->setEnabled(applyWanted_ && controlsEnabled_ && !busy_);
    readAgainAction_->setEnabled(!busy_);
}

void MainWindow::centerOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void MainWindow::refreshPages()
{
    advancedPage_->refreshFromSettings();
    basicPage_->refreshFromSettings();
    mappingPage_->refreshFromSettings();
}

void MainWindow::setStatus(const QString& text)
{
    editsAtStatus_ = model_.editedSettings;
    setValueText(statusLabel_, text);
}

void MainWindow::apply()
{
    if (busy_ || !controlsEnabled_)
        return;
    // A value a page cannot read stops APPLY: nothing half-gathered goes to the mouse.
    const bool advancedRead = advancedPage_->collectSettings();
    const bool basicRead = basicPage_->collectSettings();
    if (!advancedRead || !basicRead) {
        setStatus(kStatusNotGathered);
        return;
    }
    // What is written is what the pages hold now; later edits stay edits.
    device_.session.apply(model_.editedSettings);
}

void MainWindow::applyFromKeyboard()
{
    if (!applyButton_->isEnabled())
        return;
    // A click first moves the focus to APPLY, which commits a value being typed; so does this.
    applyButton_->setFocus(Qt::ShortcutFocusReason);
    applyButton_->click();
}

void MainWindow::readAgain()
{
    if (busy_)
        return;
    if (model_.settingsDiffer() &&
        QMessageBox::question(this, kProgramName, kAskDiscard, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    device_.session.readAgain();
}

void MainWindow::factoryReset()
{
    if (busy_ || !controlsEnabled_)
        return;
    device_.session.factoryReset();
}

void MainWindow::onBusyChanged(bool busy, SessionOperation operation)
{
    if (busy == busy_ && !busy)
        return;
    const bool wasBusy = busy_;
    busy_ = busy;
    if (busy) {
        const QString text = busyText(operation);
        if (!text.isEmpty()) {
            if (!statusShowsBusy_)
                statusBeforeBusy_ = statusLabel_->text();
            statusShowsBusy_ = true;
            setStatus(text);
        }
        if (!wasBusy)
            setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
    updateButtons();
}

void MainWindow::onConnectedChanged(bool connected)
{
    setControlsEnabled(connected);
}

void MainWindow::onSettingsLoaded(const MouseSettings& settings)
{
    // What the mouse holds is both what the pages show and what counts as applied.
    model_.editedSettings = settings;
    model_.appliedSettings = settings;
    refreshPages();
}

void MainWindow::onEditsKept(const MouseSettings& edited)
{
    model_.editedSettings = edited;
    refreshPages();
}

void MainWindow::onOutsideWrite()
{
    if (controlsEnabled_)
        device_.session.readAgainKeepingEdits(model_.editedSettings, model_.appliedSettings);
}

void MainWindow::onSettingsApplied(const MouseSettings& settings)
{
    // Edits made while the write ran still differ from this, and keep APPLY on.
    model_.appliedSettings = settings;
}

void MainWindow::onOutcome(SessionOperation operation, SessionOutcome outcome)
{
    switch (operation) {
    case SessionOperation::Start:
    case SessionOperation::Arrival:
        if (outcome != SessionOutcome::Nothing)
            setApplyWanted(false);
        break;
    case SessionOperation::ReadAgain:
        // Edits kept over an outside write still wait for APPLY.
        if (outcome != SessionOutcome::Nothing)
            setApplyWanted(controlsEnabled_ && model_.settingsDiffer());
        break;
    case SessionOperation::Apply:
        if (outcome == SessionOutcome::Applied)
            setApplyWanted(controlsEnabled_ && model_.settingsDiffer());
        break;
    case SessionOperation::FactoryReset:
        if (outcome == SessionOutcome::ResetDone)
            setApplyWanted(false);
        break;
    default:
        break;
    }
    if (const std::optional<QString> standing = standingText(operation, outcome))
        standingStatus_ = *standing;
    // An operation that came to nothing leaves the status as it was before it ran.
    if (const std::optional<QString> text = outcomeText(operation, outcome))
        setStatus(*text);
    else if (statusShowsBusy_)
        setStatus(statusBeforeBusy_);
    statusShowsBusy_ = false;
}

void MainWindow::onMouseEvent(int code, int value)
{
    if (code == kEventPollingRateChanged)
        advancedPage_->onPollingRateEvent(static_cast<std::uint8_t>(value));
}

bool MainWindow::isInsidePage(const QWidget* widget) const
{
    for (const QWidget* page :
         {static_cast<const QWidget*>(basicPage_), static_cast<const QWidget*>(advancedPage_),
          static_cast<const QWidget*>(mappingPage_)}) {
        if (page && widget && (widget == page || page->isAncestorOf(widget)))
            return true;
    }
    return false;
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (swallowKey(event, SwallowedKeys::EnterAndEscape)) {
        // Enter never closes the window nor presses a button; Escape closes it from outside the pages.
        if (event->key() == Qt::Key_Escape && !isInsidePage(QApplication::focusWidget()))
            reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A disabled tab row also means no switching by Ctrl+Tab or Ctrl+PgUp/PgDn.
    if (watched == tabs_ && event->type() == QEvent::KeyPress && !tabs_->tabBar()->isEnabled()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::ControlModifier) {
            switch (key->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                return true;
            default:
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // Whatever no control took: the window's background, the pages' own background.
    QMenu menu(this);
    menu.addAction(readAgainAction_);
    menu.exec(event->globalPos());
    event->accept();
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    const QWidget* hit = childAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || isInsidePage(hit) || (hit && tabs_->isAncestorOf(hit))) {
        QDialog::mousePressEvent(event);
        return;
    }
    // Dragging by the background moves the window, like its caption.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        move(event->globalPosition().toPoint() - dragOffset_);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    dragging_ = false;
    QDialog::mouseReleaseEvent(event);
}

}  // namespace lark
