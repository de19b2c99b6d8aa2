#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdio>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/LogRouting.h"
#include "app/WindowLoader.h"
#include "device/HotplugSource.h"
#include "device/OutsideAccess.h"
#include "device/PlatformBackend.h"
#include "device/RealSleeper.h"
#include "session/qt/SessionRunner.h"

int main(int argc, char* argv[])
{
    // Before Qt: --help and --version need no display.
    if (const auto status = lark::answerBeforeWindow(
            argc, argv, {"lark-config", "configure the Tarrow Lark 8k gaming mouse"}))
        return *status;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    lark::setUpDiagnostics(arguments);
    if (arguments.contains(QStringLiteral("--verbose")))
        lark::sendMessagesToStderr();
    lark::Application app;
    if (!app.startUp())
        return 0;  // another copy runs: it never touches the mouse

    // The mouse is found and read on the session's thread while Qt's GUI is loaded and builds
    // the window: the session needs no QApplication, and that start-up costs more than the reads.
    const std::unique_ptr<lark::HidBackend> backend = lark::makePlatformBackend();
    lark::RealSleeper sleeper;
    lark::SessionRunner session(*backend, sleeper);
    // Listening for hot-plug before the first look for the mouse: one plugged in meanwhile is
    // not missed. The window says so when listening is impossible.
    const std::unique_ptr<lark::HotplugSource> hotplug = lark::makePlatformHotplugSource();
    hotplug->listen();
    session.start();
    // Loading the window takes the processor for a while: the mouse's first request goes out
    // first, and the mouse's own wait covers the loading. Bounded, for a mouse that another
    // program holds or that does not answer.
    session.waitForStartUnderway(std::chrono::milliseconds(50));

    std::string whyNot;
    const lark::RunWindow runWindow = lark::loadWindow(whyNot);
    int status = 1;
    if (runWindow) {
        // larkctl announces its writes in the runtime directory.
        lark::WindowStart start{
            argc, argv, app, {session, *hotplug, QString::fromStdString(lark::runtimeDirectory())}};
        status = runWindow(&start);
    } else {
        std::fprintf(stderr, "lark-config: cannot load the window: %s\n", whyNot.c_str());
    }
    session.stop();
    return status;
}
