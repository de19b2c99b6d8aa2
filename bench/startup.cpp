// From process start to the window showing the virtual mouse's settings, real protocol waits.
// Without arguments: runs itself as a child several times and reports the median.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "BenchStats.h"
#include "VirtualMouseWindow.h"

namespace {

constexpr int kRuns = 9;
constexpr double kProtocolFloorMs = 50 + 80;

// The settings are on screen once the first CPI edit shows the mouse's value.
bool settingsShown(const QWidget& window)
{
    const auto edits = window.findChildren<QLineEdit*>();
    return std::any_of(edits.begin(), edits.end(), [](QLineEdit* e) {
        return e->accessibleName() == QStringLiteral("CPI 1 X value") && e->text() == QStringLiteral("1250");
    });
}

void tellReady(bool ready)
{
    std::puts(ready ? "ready" : "wrong");
    std::fflush(stdout);
}

int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    lark::MouseSettings s;
    lark::setDefaults(s);
    s.cpiLevels[0].x = s.cpiLevels[0].y = 1250;
    lark::SettingsBlock block{};
    lark::encodeSettings(s, block);
    lark::bench::VirtualMouseWindow rig(block);
    auto check = [&] {
        if (rig.session.isBusy())
            return;
        const bool shown = settingsShown(*rig.window);
        tellReady(shown);
        app.exit(shown ? 0 : 1);
    };
    QObject::connect(&rig.session, &lark::SessionRunner::busyChanged, &app, [&](bool busy) {
        if (!busy)
            QTimer::singleShot(0, &app, check);
    });
    QTimer::singleShot(0, &app, check);
    return app.exec();
}

// A bare Qt window of the same kind: what start-up costs without any mouse.
int runBareChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog window;
    window.resize(668, 710);
    window.show();
    QTimer::singleShot(0, &app, [&] {
        tellReady(true);
        app.exit(0);
    });
    return app.exec();
}

std::vector<double> timeChildren(const QProcessEnvironment& env, const QString& mode)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {mode});
        if (!child.waitForReadyRead(10000) || !child.readLine().startsWith("ready")) {
            std::fprintf(stderr, "run %d (%s): the window did not show the settings\n", i, qPrintable(mode));
            return {};
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
        child.waitForFinished(10000);
    }
    return times;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--bare")
        return runBareChild(argc, argv);

    QCoreApplication app(argc, argv);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const std::vector<double> bare = timeChildren(env, QStringLiteral("--bare"));
    const std::vector<double> ours = timeChildren(env, QStringLiteral("--child"));
    if (bare.empty() || ours.empty())
        return 1;
    // The mouse and the window overlap: the floor is the larger of the two.
    const double floor = std::max(lark::bench::median(bare), kProtocolFloorMs);
    std::printf("bare Qt window shown: median %.1f ms; protocol waits at start-up: %.0f ms\n",
                lark::bench::median(bare), kProtocolFloorMs);
    lark::bench::report("start-up to settings shown", ours, floor);
    return 0;
}
