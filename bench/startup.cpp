// From process start to the window showing the virtual mouse's settings, real protocol waits.
// Without arguments: runs itself as a child several times and reports the median.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <cstdio>

#include "BenchStats.h"
#include "VirtualMouseWindow.h"

namespace {

constexpr int kRuns = 9;
constexpr double kProtocolFloorMs = 50 + 80;

int runChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    lark::MouseSettings s;
    lark::setDefaults(s);
    s.cpiLevels[0].x = s.cpiLevels[0].y = 1250;
    lark::SettingsBlock block{};
    lark::encodeSettings(s, block);
    lark::bench::VirtualMouseWindow rig(block);
    auto& window = rig.window;
    QTimer::singleShot(0, &app, [&] {
        // The settings are on screen once the first CPI edit shows the mouse's value.
        const auto edits = window.findChildren<QLineEdit*>();
        const bool shown = std::any_of(edits.begin(), edits.end(), [](QLineEdit* e) {
            return e->accessibleName() == QStringLiteral("CPI 1 X value") &&
                   e->text() == QStringLiteral("1250");
        });
        std::puts(shown ? "ready" : "wrong");
        std::fflush(stdout);
        app.exit(shown ? 0 : 1);
    });
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv);

    QCoreApplication app(argc, argv);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        if (!child.waitForReadyRead(10000) || !child.readLine().startsWith("ready")) {
            std::fprintf(stderr, "run %d: the window did not show the settings\n", i);
            return 1;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
        child.waitForFinished(10000);
    }
    lark::bench::report("start-up to settings shown", times, kProtocolFloorMs);
    return 0;
}
