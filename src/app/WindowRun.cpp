#include "app/WindowRun.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "app/Application.h"
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
const QString kOrganizationName = QStringLiteral("Tarrow Lark 8K Gaming Mouse software");
}  // namespace

void setUpIdentity()
{
    initIconResource();
    QCoreApplication::setOrganizationName(kOrganizationName);
    QCoreApplication::setApplicationName(kProgramName);
    // The window speaks the system's language where it has a translation, English otherwise.
    installTranslations(QLocale::system());
    QGuiApplication::setApplicationDisplayName(programTitle());
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.lark_config"));
    // The icon's pixel sizes (16 to 256), read by Qt's own icon reader: a window icon drawn from
    // the SVG would load Qt's SVG library at every start only for that.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/lark-config/lark-config.ico")));
}

int runMainWindow(Application& app, DeviceContext device)
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
    app.shutDown();
    return status;
}

}  // namespace lark
