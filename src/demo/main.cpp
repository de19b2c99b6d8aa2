#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/LogRouting.h"
#include "app/MainWindow.h"
#include "app/WindowRun.h"
#include "demo/VirtualHotplugSource.h"
#include "demo/VirtualMousePanel.h"
#include "device/RealSleeper.h"
#include "session/qt/SessionRunner.h"
#include "sim/VirtualMouse.h"

// The real window on the virtual mouse, with real protocol waits, for trying the tool
// without the mouse.
int main(int argc, char* argv[])
{
    if (const auto status =
            lark::answerBeforeWindow(argc, argv, {"lark-config-demo", "the lark-config window on a virtual mouse"}))
        return *status;
    QApplication application(argc, argv);
    lark::setUpDiagnostics(QCoreApplication::arguments());
    lark::Application app;
    if (!app.startUp())
        return 0;

    lark::VirtualMouse mouse;
    lark::RealSleeper sleeper;
    lark::SessionRunner session(mouse, sleeper);
    session.start();
    lark::VirtualHotplugSource hotplug(mouse);

    lark::VirtualMousePanel panel(mouse);
    panel.show();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        panel.move(screen->availableGeometry().topLeft() + QPoint(16, 16));
    return lark::runMainWindow(app, {session, hotplug});
}
