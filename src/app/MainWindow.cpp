#include "app/MainWindow.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include "device/DeviceEventListener.h"
#include "device/DeviceIds.h"
#include "device/DeviceLink.h"
#include "device/HotplugSource.h"
#include "device/InterfaceNameMatch.h"
#include "device/MouseCommands.h"
#include "device/Protocol.h"
#include "pages/advanced/AdvancedSettingsPage.h"
#include "pages/basic/BasicSettingsPage.h"
#include "pages/mapping/ButtonMappingPage.h"
#include "settings/SettingsModel.h"
#include "widgets/AccessibleCheckBox.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"
#include "widgets/WarningBox.h"

namespace lark {

namespace {

constexpr double kSoftwareVersion = 1.06;
constexpr int kWriteAttempts = 3;
constexpr int kArrivalVersionReads = 5;
constexpr int kArrivalSettingsReads = 5;

const QString kStatusApplied = QStringLiteral("Settings applied.");
const QString kStatusRefused =
    QStringLiteral("The mouse did not accept the settings. Press APPLY to try again.");
const QString kStatusNotFound = QStringLiteral("Mouse not found. Check that it is plugged in.");
const QString kStatusNoPermission = QStringLiteral(
    "The mouse is present but may not be opened (permission denied). Install the udev rule and replug it.");
const QString kStatusResetDone = QStringLiteral("Factory settings restored.");
const QString kStatusResetNotSent = QStringLiteral("The factory reset could not be sent to the mouse.");
const QString kStatusSettingsNotRead = QStringLiteral("The mouse's settings could not be read.");
const QString kStatusUnplugged = QStringLiteral("The mouse was unplugged.");

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
    model_.setApplyListener([this](bool differ) {
        // Disabling the controls commits a focused edit, which runs change detection: it must
        // not bring APPLY back while the mouse is away.
        applyButton_->setEnabled(differ && controlsEnabled_);
        setStatus(QString());
    });
    connect(&device_.hotplug, &HotplugSource::deviceArrived, this, &MainWindow::onDeviceArrived);
    connect(&device_.hotplug, &HotplugSource::deviceRemoved, this, &MainWindow::onDeviceRemoved);
}

MainWindow::~MainWindow()
{
    // The reader must be gone before the window it reports to.
    listener_.reset();
    model_.setApplyListener(nullptr);
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
    connect(factoryResetButton_, &QPushButton::clicked, this, &MainWindow::factoryReset);

    tabs_ = new QTabWidget(this);
    tabs_->setAccessibleName(QStringLiteral("Settings pages"));
    du.place(tabs_, 12, 88, 420, 308);
    tabs_->installEventFilter(this);

    applyButton_ = makeButton(QStringLiteral("APPLY"), this);
    du.place(applyButton_, 372, 410, 50, 14);
    connect(applyButton_, &QPushButton::clicked, this, &MainWindow::apply);

    // One line for what the last device flow did, left of APPLY and below the pages.
    statusLabel_ = makeValueLabel(QStringLiteral("Status"), this);
    du.place(statusLabel_, 13, 412, 352, 10);

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

    buildPages();
    model_.setDefaults();

    DeviceLink& link = device_.link;
    link.findMouse(kProductId);
    if (link.lastOpenError() == HidError::PermissionDenied)
        setStatus(kStatusNoPermission);

    std::uint16_t version = 0;
    if (readFirmwareVersion(link, version) == CommandResult::Done) {
        setControlsEnabled(true);
        setValueText(firmwareLabel_, QString::fromStdString(firmwareVersionText(version)));
    } else {
        setControlsEnabled(false);
    }

    if (readSettings(link, model_) == CommandResult::Done) {
        decodeSettings(model_.lastBlock, model_.appliedSettings);
        refreshPages();
    } else if (link.isConnected()) {
        setStatus(kStatusSettingsNotRead);  // the pages show defaults, not what the mouse holds
    }

    startListener();
    applyButton_->setEnabled(false);
}

void MainWindow::setControlsEnabled(bool enabled)
{
    controlsEnabled_ = enabled;
    tabs_->tabBar()->setEnabled(enabled);
    factoryResetButton_->setEnabled(enabled);
    applyButton_->setEnabled(enabled);
    basicPage_->setControlsEnabled(enabled);
    advancedPage_->setControlsEnabled(enabled);
    mappingPage_->setControlsEnabled(enabled);
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
    setValueText(statusLabel_, text);
}

bool MainWindow::reconnect()
{
    DeviceLink& link = device_.link;
    link.closeDevice();
    link.setConnected(false);
    if (link.findMouse(kProductId))
        return true;
    setStatus(link.lastOpenError() == HidError::PermissionDenied ? kStatusNoPermission : kStatusNotFound);
    return false;
}

void MainWindow::apply()
{
    if (applyInProgress_)
        return;
    applyInProgress_ = true;

    if (reconnect()) {
        advancedPage_->collectSettings();
        basicPage_->collectSettings();

        bool accepted = false;
        for (int attempt = 0; attempt < kWriteAttempts && !accepted; ++attempt) {
            const auto wait = static_cast<std::uint16_t>(300 + 50 * attempt);
            accepted = writeSettings(device_.link, model_.editedSettings, wait) == CommandResult::Done;
        }
        // The applied copy follows the mouse: only what it accepted counts as applied.
        if (accepted) {
            model_.copyEditedToApplied();
            applyButton_->setEnabled(false);
            setStatus(kStatusApplied);
        } else {
            setStatus(kStatusRefused);  // APPLY stays enabled for the unsent changes
        }
    }
    applyInProgress_ = false;
}

void MainWindow::factoryReset()
{
    if (!reconnect())
        return;
    // Showing the defaults is only honest when the mouse was asked to restore them.
    if (sendFactoryReset(device_.link) == CommandResult::NotSent) {
        setStatus(kStatusResetNotSent);
        return;
    }
    lark::setDefaults(model_.editedSettings);
    refreshPages();
    applyButton_->setEnabled(false);
    setStatus(kStatusResetDone);
}

void MainWindow::onDeviceRemoved(const QString& path)
{
    if (!isMouseInterfaceName(path.toStdString()))
        return;
    DeviceLink& link = device_.link;
    if (!link.isConnected())
        return;
    setValueText(firmwareLabel_, QString());
    setControlsEnabled(false);
    link.setConnected(false);
    // Whatever the last flow reported, it no longer holds with the mouse gone.
    setStatus(kStatusUnplugged);
}

void MainWindow::onDeviceArrived(const QString& path)
{
    if (!isMouseInterfaceName(path.toStdString()))
        return;
    DeviceLink& link = device_.link;
    if (link.isConnected())
        return;
    Sleeper& sleeper = link.sleeper();
    sleeper.sleepMs(900);
    setControlsEnabled(true);
    applyButton_->setEnabled(false);
    if (!link.findMouse(kProductId)) {
        // A notification handled after the mouse has left again, or a mouse that may not be
        // opened: the window must not look connected. The next arrival tries again.
        setControlsEnabled(false);
        setStatus(link.lastOpenError() == HidError::PermissionDenied ? kStatusNoPermission : kStatusNotFound);
        return;
    }
    setStatus(QString());

    for (int i = 0; i < kArrivalVersionReads; ++i) {
        std::uint16_t version = 0;
        if (readFirmwareVersion(link, version) == CommandResult::Done) {
            setControlsEnabled(true);
            setValueText(firmwareLabel_, QString::fromStdString(firmwareVersionText(version)));
        }
        sleeper.sleepMs(100);
    }
    bool settingsRead = false;
    for (int i = 0; i < kArrivalSettingsReads && !settingsRead; ++i) {
        settingsRead = readSettings(link, model_) == CommandResult::Done;
        if (settingsRead)
            refreshPages();
        else
            sleeper.sleepMs(100);
    }
    if (!settingsRead && link.isConnected())
        setStatus(kStatusSettingsNotRead);  // the pages still show the settings from before
    applyButton_->setEnabled(false);
    startListener();
}

void MainWindow::startListener()
{
    if (!listener_)
        listener_ = std::make_unique<DeviceEventListener>(device_.backend, device_.link.sleeper());
    // Events are read on the listener's thread and handled here, on the window's thread.
    listener_->start([this](std::uint8_t code, std::uint8_t value) {
        QMetaObject::invokeMethod(
            this, [this, code, value] { onMouseEvent(code, value); }, Qt::QueuedConnection);
    });
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
