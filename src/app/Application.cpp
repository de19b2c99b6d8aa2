#include "app/Application.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QLocale>

#include "app/MainWindow.h"
#include "app/SingleInstance.h"
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
constexpr const char* kInstanceName = "TRW Lark 8k Configuration Tool";
const QString kOrganizationName = QStringLiteral("Tarrow Lark 8K Gaming Mouse software");
}  // namespace

Application::Application() = default;

void Application::setUpIdentity()
{
    initIconResource();
    QCoreApplication::setOrganizationName(kOrganizationName);
    QCoreApplication::setApplicationName(kProgramName);
    // The window speaks the system's language where it has a translation, English otherwise.
    installTranslations(QLocale::system());
    QGuiApplication::setApplicationDisplayName(programTitle());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.lark_config"));
    // A Qt without SVG support (the static one for Windows) takes the icon's pixel sizes. Asking
    // the one file, not for every supported format, loads only the plugin that reads it.
    const QString svg = QStringLiteral(":/lark-config/lark-config.svg");
    QGuiApplication::setWindowIcon(
        QIcon(QImageReader(svg).canRead() ? svg : QStringLiteral(":/lark-config/lark-config.ico")));
}

Application::~Application()
{
    shutDown();
}

bool Application::startUp()
{
    guard_ = std::make_unique<SingleInstance>(kInstanceName);
    if (guard_->acquire())
        return true;
    guard_.reset();
    return false;
}

int Application::runMainWindow(DeviceContext device)
{
    setUpIdentity();
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
    guard_.reset();
}

}  // namespace lark
