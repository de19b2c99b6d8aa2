#include "app/Application.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QLockFile>
#include <QStandardPaths>

#include "app/MainWindow.h"
#include "settings/SettingsModel.h"
#include "widgets/Translation.h"
#include "widgets/WarningBox.h"

// The icon resource lives in a static library; registering it must happen outside any namespace.
static void initIconResource()
{
    Q_INIT_RESOURCE(icon);
}

namespace lark {

namespace {
const QString kInstanceLockName = QStringLiteral("TRW Lark 8k Configuration Tool");
const QString kOrganizationName = QStringLiteral("Tarrow Lark 8K Gaming Mouse software");
}  // namespace

Application::Application()
{
    initIconResource();
    QCoreApplication::setOrganizationName(kOrganizationName);
    QCoreApplication::setApplicationName(kProgramName);
    // The window speaks the system's language where it has a translation, English otherwise.
    installTranslations(QLocale::system());
    QGuiApplication::setApplicationDisplayName(programTitle());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.lark_config"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/lark-config/lark-config.svg")));
}

Application::~Application()
{
    shutDown();
}

QString Application::instanceLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QLatin1Char('/') + kInstanceLockName + QStringLiteral(".lock");
}

bool Application::startUp()
{
    guard_ = std::make_unique<QLockFile>(instanceLockPath());
    // A lock left by a copy that crashed counts as free; only a live holder blocks.
    guard_->setStaleLockTime(0);
    if (guard_->tryLock(0))
        return true;
    if (guard_->error() == QLockFile::LockFailedError) {
        guard_.reset();
        return false;
    }
    // The lock file cannot be made at all: run unguarded rather than not at all.
    guard_.reset();
    return true;
}

int Application::runMainWindow(DeviceContext device)
{
    SettingsModel model;
    MainWindow window(model, device);
    window.initialize();
    window.centerOnScreen();
    // Shown without an application-wide modal block, so the demo's mouse panel stays usable.
    QObject::connect(&window, &QDialog::finished, qApp, &QCoreApplication::quit);
    window.show();
    const int status = QApplication::exec();
    // The window is gone: a new start may open its own while this process still finishes the
    // exchange under way (the mouse's lock keeps the two apart).
    shutDown();
    return status;
}

void Application::shutDown()
{
    if (guard_) {
        guard_->unlock();
        guard_.reset();
    }
}

}  // namespace lark
