#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>

#include <optional>
#include <string>
#include <variant>

#include "app/About.h"
#include "device/HotplugSource.h"
#include "device/Log.h"
#include "device/OutsideAccess.h"
#include "device/Protocol.h"
#include "model/Profile.h"
#include "model/ProfileFile.h"
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

// The tabs never shrink below this many dialog units of height; the pages scroll inside them.
constexpr int kSmallestTabsHeight = 120;

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

// A page in its tab: scrolled when the window is smaller than the layout, otherwise exactly the
// page as it always was, with the tab's own background.
QScrollArea* scrolled(QWidget* page)
{
    // The page's controls decide how small it may get before it scrolls.
    const QRect used = page->childrenRect();
    page->setMinimumSize(used.right() + 1, used.bottom() + 1);
    auto* area = new QScrollArea;
    // No stop of its own: Tab goes from the tab bar straight to the page's first control.
    area->setFocusPolicy(Qt::NoFocus);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    area->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    return area;
}

}  // namespace

QString MainWindow::statusText(StatusMessage message)
{
    switch (message) {
    case StatusMessage::None:
        return {};
    case StatusMessage::LookingForMouse:
        return tr("Looking for the mouse…");
    case StatusMessage::Connecting:
        return tr("Connecting…");
    case StatusMessage::Reading:
        return tr("Reading the mouse's settings…");
    case StatusMessage::Applying:
        return tr("Applying…");
    case StatusMessage::Resetting:
        return tr("Restoring factory settings…");
    case StatusMessage::Applied:
        return tr("Settings applied.");
    case StatusMessage::Refused:
        return tr("The mouse did not accept the settings. Press APPLY to try again.");
    case StatusMessage::NotFound:
        return tr("Mouse not found. Check that it is plugged in.");
    case StatusMessage::NotFoundNothingSent:
        return tr("Mouse not found, so nothing was sent; your changes are kept. Check that it is plugged in "
                  "and try again.");
    case StatusMessage::Waiting:
        return tr("Waiting for the mouse: plug it in and it will be found by itself (F5 looks again).");
    case StatusMessage::NoPermission:
        // On Linux the udev rule gives access; on Windows every user may open the mouse, so another
        // program holds it.
        if (!accessAdvice().udevRule)
            return tr("The mouse is here, but held by another program: close that program and press F5 to "
                      "try again.");
        return tr("The mouse is here, but permission denied: install the udev rule (README, \"Using the real "
                  "mouse\") and replug it.");
    case StatusMessage::ResetDone:
        return tr("Factory settings restored.");
    case StatusMessage::ResetNotSent:
        return tr("The factory reset could not be sent to the mouse.");
    case StatusMessage::ResetNotConfirmed:
        return tr("The mouse did not confirm the factory reset; its settings may be unchanged.");
    case StatusMessage::SettingsNotRead:
        return tr("The mouse's settings could not be read. Press F5 to try again.");
    case StatusMessage::UnreadNotWritten:
        return tr(
            "The mouse's settings could not be read, so nothing was written. Press APPLY to try again.");
    case StatusMessage::NotGathered:
        return tr("Nothing was written: correct the value on the page first.");
    case StatusMessage::Unplugged:
        return tr("The mouse was unplugged. Plug it in again and it will be found by itself.");
    case StatusMessage::PollingRateChangedOnMouse:
        return tr("The polling rate was changed with the mouse's button; the mouse keeps it.");
    case StatusMessage::ProfileLoaded:
        return tr("Profile loaded. Press APPLY to send it to the mouse.");
    case StatusMessage::ProfileSaved:
        return tr("Profile saved.");
    }
    return {};
}

MainWindow::MainWindow(SettingsModel& model, DeviceContext device, QWidget* parent)
    : QDialog(parent), model_(model), device_(device)
{
    installAccessibleCheckBoxes();
    installToolTipWrapping();
    setWindowTitle(programTitle());
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
    connect(&session, &SessionRunner::firmwareVersionChanged, this, [this](const QString& text) {
        setValueText(firmwareLabel_, text);
        log(LogCategory::App, "window shows firmware version ", text.toStdString());
    });
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

    infoGroup_ = new QGroupBox(tr("Info"), this);
    infoGroup_->setAccessibleName(infoGroup_->title());
    du.place(infoGroup_, 13, 7, 419, 69);

    auto* firmwareCaption = new QLabel(tr("Firmware Version :"), this);
    du.place(firmwareCaption, 22, 25, 62, 12);
    firmwareLabel_ = makeValueLabel(QStringLiteral("Firmware Version"), this);
    du.place(firmwareLabel_, 87, 26, 42, 12);

    auto* softwareCaption = new QLabel(tr("Software Version :"), this);
    du.place(softwareCaption, 22, 46, 62, 12);
    softwareLabel_ = makeValueLabel(QStringLiteral("Software Version"), this);
    du.place(softwareLabel_, 87, 47, 42, 12);

    factoryResetButton_ = makeButton(tr("Factory Reset"), this);
    du.place(factoryResetButton_, 368, 53, 54, 14);
    setHelp(factoryResetButton_, Help::FactoryReset);
    connect(factoryResetButton_, &QPushButton::clicked, this, &MainWindow::factoryReset);

    tabs_ = new QTabWidget(this);
    tabs_->setAccessibleName(QStringLiteral("Settings pages"));
    du.place(tabs_, 12, 88, 420, 308);
    tabs_->installEventFilter(this);

    applyButton_ = makeButton(tr("APPLY"), this);
    du.place(applyButton_, 372, 410, 50, 14);
    setHelp(applyButton_, Help::Apply);
    connect(applyButton_, &QPushButton::clicked, this, &MainWindow::apply);

    // What the window waits for or what the last device flow did, left of APPLY and below the
    // pages; room for two lines, so that a hint is never cut off.
    statusLabel_ = makeValueLabel(QStringLiteral("Status"), this);
    statusLabel_->setWordWrap(true);
    statusLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    du.place(statusLabel_, 13, 402, 352, 22);

    readAgainAction_ = new QAction(tr("Read settings again"), this);
    readAgainAction_->setShortcut(QKeySequence(Qt::Key_F5));
    connect(readAgainAction_, &QAction::triggered, this, &MainWindow::readAgain);
    addAction(readAgainAction_);

    applyAction_ = new QAction(tr("Apply"), this);
    applyAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(applyAction_, &QAction::triggered, this, &MainWindow::applyFromKeyboard);
    addAction(applyAction_);

    saveProfileAction_ = new QAction(tr("Save profile…"), this);
    saveProfileAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(saveProfileAction_, &QAction::triggered, this, &MainWindow::saveProfile);
    addAction(saveProfileAction_);

    loadProfileAction_ = new QAction(tr("Load profile…"), this);
    loadProfileAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(loadProfileAction_, &QAction::triggered, this, &MainWindow::loadProfile);
    addAction(loadProfileAction_);

    aboutAction_ = new QAction(tr("About…"), this);
    aboutAction_->setShortcut(QKeySequence(Qt::Key_F1));
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::showAbout);
    addAction(aboutAction_);

    // Controls are placed by dialog units; the window may grow but they stay where they are. It
    // may shrink in height on a small screen: the pages then scroll in their tabs.
    layoutSize_ = size();
    setMinimumSize(layoutSize_.width(), layoutSize_.height() - du.y(308 - kSmallestTabsHeight));
}

void MainWindow::placeForHeight(int height)
{
    const DialogUnits du;
    const int shortBy = std::max(0, layoutSize_.height() - height);
    du.place(tabs_, 12, 88, 420, 308);
    tabs_->resize(tabs_->width(), tabs_->height() - shortBy);
    du.place(applyButton_, 372, 410, 50, 14);
    applyButton_->move(applyButton_->x(), applyButton_->y() - shortBy);
    du.place(statusLabel_, 13, 402, 352, 22);
    statusLabel_->move(statusLabel_->x(), statusLabel_->y() - shortBy);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (layoutSize_.isValid())
        placeForHeight(height());
}

QScrollArea* MainWindow::pageArea(QWidget* page) const
{
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* area = qobject_cast<QScrollArea*>(tabs_->widget(i));
        if (area && area->widget() == page)
            return area;
    }
    return nullptr;
}

void MainWindow::buildPages()
{
    setValueText(softwareLabel_, softwareVersionText());

    basicPage_ = new BasicSettingsPage(model_);
    advancedPage_ = new AdvancedSettingsPage(model_);
    mappingPage_ = new ButtonMappingPage(model_);
    // Two blanks each side, as the tabs were always drawn; the words alone are translated.
    const QString blanks = QStringLiteral("  ");
    tabs_->addTab(scrolled(basicPage_), blanks + tr("Basic Settings") + blanks);
    tabs_->addTab(scrolled(advancedPage_), blanks + tr("Advanced Settings") + blanks);
    tabs_->addTab(scrolled(mappingPage_), blanks + tr("Button Mapping") + blanks);
    tabs_->setCurrentIndex(0);
}

void MainWindow::initialize()
{
    if (!device_.hotplug.start())
        showWarning(this, tr("RegisterDeviceNotification Failed!"));
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
    saveProfileAction_->setEnabled(state_.profilesEnabled());
    loadProfileAction_->setEnabled(state_.profilesEnabled());
    setValueText(statusLabel_, statusText(state_.status()));
}

void MainWindow::centerOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // The frame is not known before the window is shown: leave room for a title bar.
        const int frameHeight = std::max(frameGeometry().height() - height(),
                                         style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8);
        const int room = screen->availableGeometry().height() - frameHeight;
        resize(width(), std::clamp(room, minimumHeight(), layoutSize_.height()));
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
        QMessageBox::question(this, programTitle(),
                              tr("Discard the changes and read the mouse's settings again?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
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
        log(LogCategory::App, "window shows the mouse's settings");
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
    if (code != kEventPollingRateChanged)
        return;
    advancedPage_->onPollingRateEvent(static_cast<std::uint8_t>(value));
    state_.pollingRateChangedOnMouse(model_.editedSettings);
    showState();
}

QString MainWindow::profileDirectory() const
{
    if (!lastProfilePath_.isEmpty())
        return QFileInfo(lastProfilePath_).absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void MainWindow::saveProfile()
{
    if (!state_.profilesEnabled())
        return;
    const QString suggested = lastProfilePath_.isEmpty()
                                  ? QDir(profileDirectory()).filePath(QStringLiteral("lark-profile.json"))
                                  : lastProfilePath_;
    const QString path = QFileDialog::getSaveFileName(this, tr("Save profile"), suggested,
                                                      tr("Profiles (*.json);;All files (*)"));
    if (!path.isEmpty())
        saveProfileTo(path);
}

void MainWindow::loadProfile()
{
    if (!state_.profilesEnabled())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Load profile"), profileDirectory(),
                                                      tr("Profiles (*.json);;All files (*)"));
    if (!path.isEmpty())
        loadProfileFrom(path);
}

bool MainWindow::saveProfileTo(const QString& path)
{
    if (!state_.profilesEnabled())
        return false;
    // What is saved is what APPLY would write: a value a page cannot read stops it the same way.
    const bool advancedRead = advancedPage_->collectSettings();
    const bool basicRead = basicPage_->collectSettings();
    model_.updateApplyButton();
    if (!advancedRead || !basicRead)
        return false;
    std::optional<std::string> firmware;
    if (!firmwareLabel_->text().isEmpty())
        firmware = firmwareLabel_->text().toStdString();
    const std::string text = makeProfile(model_.editedSettings, firmware).dump(2) + "\n";
    const std::string error = writeProfileFile(QFile::encodeName(path).toStdString(), text);
    if (!error.empty()) {
        showWarning(this, tr("The profile was not saved.") + QStringLiteral("\n\n") +
                              QString::fromStdString(error));
        return false;
    }
    lastProfilePath_ = path;
    state_.profileSaved(model_.editedSettings);
    showState();
    return true;
}

bool MainWindow::loadProfileFrom(const QString& path)
{
    if (!state_.profilesEnabled())
        return false;
    // Checked whole and laid over the pages' values before anything is shown: a profile that
    // larkctl import refuses changes nothing here either, and says why in the same words.
    const auto read = readProfileFile(QFile::encodeName(path).toStdString());
    std::string error;
    MouseSettings edited = model_.editedSettings;
    const std::string firmware = firmwareLabel_->text().toStdString();
    if (const std::string* readError = std::get_if<std::string>(&read))
        error = *readError;
    else if (const Profile& profile = std::get<Profile>(read); profile.fromOtherFirmware(firmware))
        error = profile.otherFirmwareError(firmware);
    else
        profile.applyTo(edited, error);
    if (!error.empty()) {
        showWarning(this, tr("The profile was not loaded.") + QStringLiteral("\n\n") +
                              QString::fromStdString(error));
        return false;
    }
    lastProfilePath_ = path;
    model_.editedSettings = edited;
    refreshPages();
    model_.updateApplyButton();
    state_.profileLoaded(model_.settingsDiffer(), model_.editedSettings);
    showState();
    return true;
}

void MainWindow::showAbout()
{
    lark::showAbout(this);
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
    menu.addSeparator();
    menu.addAction(saveProfileAction_);
    menu.addAction(loadProfileAction_);
    menu.addSeparator();
    menu.addAction(aboutAction_);
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
