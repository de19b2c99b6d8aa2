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
#include "session/SettingsMerge.h"
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

const QString kAskDiscard = QStringLiteral("Discard the changes and read the mouse's settings again?");

QString statusText(StatusMessage message)
{
    switch (message) {
    case StatusMessage::None:
        return {};
    case StatusMessage::LookingForMouse:
        return QStringLiteral("Looking for the mouse\u2026");
    case StatusMessage::Connecting:
        return QStringLiteral("Connecting\u2026");
    case StatusMessage::Reading:
        return QStringLiteral("Reading the mouse's settings\u2026");
    case StatusMessage::Applying:
        return QStringLiteral("Applying\u2026");
    case StatusMessage::Resetting:
        return QStringLiteral("Restoring factory settings\u2026");
    case StatusMessage::Applied:
        return QStringLiteral("Settings applied.");
    case StatusMessage::Refused:
        return QStringLiteral("The mouse did not accept the settings. Press APPLY to try again.");
    case StatusMessage::NotFound:
        return QStringLiteral("Mouse not found. Check that it is plugged in.");
    case StatusMessage::NotFoundNothingSent:
        return QStringLiteral("Mouse not found, so nothing was sent; your changes are kept. Check that "
                              "it is plugged in and try again.");
    case StatusMessage::Waiting:
        return QStringLiteral("Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).");
    case StatusMessage::NoPermission:
        return QStringLiteral("The mouse is here, but permission denied: install the udev "
                              "rule (README, \"Using the real mouse\") and replug it.");
    case StatusMessage::ResetDone:
        return QStringLiteral("Factory settings restored.");
    case StatusMessage::ResetNotSent:
        return QStringLiteral("The factory reset could not be sent to the mouse.");
    case StatusMessage::ResetNotConfirmed:
        return QStringLiteral("The mouse did not confirm the factory reset; its settings may be unchanged.");
    case StatusMessage::SettingsNotRead:
        return QStringLiteral("The mouse's settings could not be read. Press F5 to try again.");
    case StatusMessage::UnreadNotWritten:
        return QStringLiteral(
            "The mouse's settings could not be read, so nothing was written. Press APPLY to try again.");
    case StatusMessage::NotGathered:
        return QStringLiteral("Nothing was written: correct the value on the page first.");
    case StatusMessage::Unplugged:
        return QStringLiteral("The mouse was unplugged. Plug it in again and it will be found by itself.");
    }
    return {};
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
        state_.editsChanged(differ, model_.editedSettings);
        showState();
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
    connect(&session, &SessionRunner::settingsReported, this, &MainWindow::onSettingsReported);
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
    state_.connectedChanged(enabled);
    tabs_->tabBar()->setEnabled(enabled);
    basicPage_->setControlsEnabled(enabled);
    advancedPage_->setControlsEnabled(enabled);
    mappingPage_->setControlsEnabled(enabled);
    showState();
}

void MainWindow::showState()
{
    factoryResetButton_->setEnabled(state_.resetEnabled());
    applyButton_->setEnabled(state_.applyEnabled());
    readAgainAction_->setEnabled(state_.readAgainEnabled());
    setValueText(statusLabel_, statusText(state_.status()));
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

void MainWindow::apply()
{
    if (!state_.mayWrite())
        return;
    // A value a page cannot read stops APPLY: nothing half-gathered goes to the mouse.
    const bool advancedRead = advancedPage_->collectSettings();
    const bool basicRead = basicPage_->collectSettings();
    if (!advancedRead || !basicRead) {
        state_.notGathered(model_.editedSettings);
        showState();
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
    if (state_.busy())
        return;
    if (model_.settingsDiffer() &&
        QMessageBox::question(this, kProgramName, kAskDiscard, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    device_.session.readAgain();
}

void MainWindow::factoryReset()
{
    if (!state_.mayWrite())
        return;
    device_.session.factoryReset();
}

void MainWindow::onBusyChanged(bool busy, SessionOperation operation)
{
    const bool wasBusy = state_.busy();
    state_.busyChanged(busy, operation, model_.editedSettings);
    if (state_.busy() && !wasBusy)
        setCursor(Qt::BusyCursor);
    else if (!state_.busy() && wasBusy)
        unsetCursor();
    showState();
}

void MainWindow::onConnectedChanged(bool connected)
{
    setControlsEnabled(connected);
}

void MainWindow::onSettingsReported(const SettingsReport& report)
{
    // The window's copy of what the mouse holds, for change detection; edits made while a write
    // ran still differ from it and keep APPLY on.
    model_.appliedSettings = report.mouse;
    if (report.edits) {
        // A re-read after another program's write kept the edits as they were when it was asked
        // for; the ones made while it ran are laid over its result too.
        model_.editedSettings = rereadsKeepingEdits_ > 0 ? mergeEdits(editsAtReread_, model_.editedSettings, *report.edits)
                                                        : *report.edits;
        refreshPages();
    }
}

void MainWindow::onOutsideWrite()
{
    if (!state_.controlsEnabled())
        return;
    editsAtReread_ = model_.editedSettings;
    ++rereadsKeepingEdits_;
    device_.session.readAgainKeepingEdits(model_.editedSettings, model_.appliedSettings);
}

void MainWindow::onOutcome(SessionOperation operation, SessionOutcome outcome)
{
    if (operation == SessionOperation::ReadAgain && rereadsKeepingEdits_ > 0)
        --rereadsKeepingEdits_;
    state_.outcome(operation, outcome, model_.settingsDiffer(), model_.editedSettings);
    showState();
}

void MainWindow::onMouseEvent(int code, int value)
{
    // The mouse's own copy came with the report before; the button's rate applies to the edits.
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
