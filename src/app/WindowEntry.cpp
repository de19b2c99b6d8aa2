#include "app/WindowEntry.h"

#include <QApplication>

#include "app/WindowRun.h"
#include "session/qt/SessionRunner.h"

extern "C" int larkConfigRunWindow(lark::WindowStart* start)
{
    QApplication application(start->argc, start->argv);
    const int status = lark::runMainWindow(start->app, start->device);
    // The exchange under way ends while Qt is still there to take its last reports.
    start->device.session.stop();
    return status;
}
