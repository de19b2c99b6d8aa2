#include "app/WindowEntry.h"

#include <QApplication>

#include "app/MainWindow.h"
#include "app/WindowRun.h"
#include "session/qt/SessionRunner.h"

extern "C" int larkConfigRunWindow(lark::WindowStart* start)
{
    QApplication application(start->argc, start->argv);
    const int status = lark::runMainWindow(
        start->app,
        {start->session, start->hotplug, QString::fromStdString(start->outsideWriteDirectory)});
    // The exchange under way ends while Qt is still there to take its last reports.
    start->session.stop();
    return status;
}
