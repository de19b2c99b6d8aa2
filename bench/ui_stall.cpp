// How long the window's own thread goes without answering while the mouse is talked to, real
// protocol waits: a timer on the UI thread every 5 ms, and the longest gap between its ticks
// during each flow.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "VirtualMouseWindow.h"

namespace {

// Ticks every 5 ms on the UI thread and keeps the longest gap between two ticks.
class GapWatch {
public:
    GapWatch()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestMs_ = std::max(longestMs_, since_.nsecsElapsed() / 1e6);
            since_.restart();
        });
        since_.start();
        timer_.start();
    }
    double longestMs() const { return std::max(longestMs_, since_.nsecsElapsed() / 1e6); }

private:
    QTimer timer_;
    QElapsedTimer since_;
    double longestMs_ = 0;
};

void measure(const char* flow, lark::bench::VirtualMouseWindow& rig, const std::function<void()>& act)
{
    QElapsedTimer total;
    total.start();
    GapWatch watch;
    act();
    rig.waitIdle();
    std::printf("%-32s longest UI gap %6.1f ms  (flow %6.0f ms)\n", flow, watch.longestMs(),
                total.nsecsElapsed() / 1e6);
}

QCheckBox* box(QWidget* window, const char* name)
{
    for (QCheckBox* b : window->findChildren<QCheckBox*>())
        if (b->accessibleName() == QLatin1String(name))
            return b;
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::unique_ptr<lark::bench::VirtualMouseWindow> rig;
    {
        QElapsedTimer total;
        total.start();
        GapWatch watch;
        rig = std::make_unique<lark::bench::VirtualMouseWindow>();
        rig->waitIdle();
        std::printf("%-32s longest UI gap %6.1f ms  (flow %6.0f ms, window construction included)\n",
                    "start-up", watch.longestMs(), total.nsecsElapsed() / 1e6);
    }
    lark::MainWindow& window = *rig->window;
    QCheckBox* ripple = box(&window, "Ripple Control");
    if (!ripple)
        return 1;

    measure("APPLY refused three times", *rig, [&] {
        ripple->click();
        rig->mouse.answerStatus(0, 3);
        window.applyButton()->click();
    });
    measure("APPLY, mouse busy for ever", *rig, [&] {
        rig->mouse.answerBusy(lark::VirtualMouse::kForever);
        window.applyButton()->click();
    });
    rig->mouse.clearFaults();
    measure("Factory Reset", *rig, [&] { window.factoryResetButton()->click(); });
    rig->mouse.unplug();
    rig->waitIdle();
    measure("arrival", *rig, [&] { rig->mouse.plug(); });
    std::printf("goal: every longest gap <= 50 ms\n");
    return 0;
}
