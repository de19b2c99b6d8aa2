// From process start to the window showing the virtual mouse's settings, real protocol waits.
// Without arguments: runs itself as a child several times and reports the median.
// With --programs LARK_CONFIG LARKCTL [RUNS], where a mouse (or hidemu's emulated one) is plugged
// in: the real window's process start to its settings shown, beside `larkctl show`'s process
// start to its end, in turn, with the ratio and the window's resident memory at that moment.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

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

// A figure of /proc/PID/status in MB ("VmRSS", "VmHWM"); 0 where there is none.
double statusMegabytes(qint64 pid, const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Resident MB mapped from font files (/proc/PID/smaps): the system's choice of fonts, and its
// hinting, not the program's.
double fontFileMegabytes(qint64 pid)
{
    QFile smaps(QStringLiteral("/proc/%1/smaps").arg(pid));
    if (!smaps.open(QIODevice::ReadOnly))
        return 0;
    double kilobytes = 0;
    bool inFont = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !line.endsWith(':'))
            inFont = fields.size() >= 6 && fields[5].contains("/fonts/");
        else if (inFont && line.startsWith("Rss:"))
            kilobytes += fields.value(1).toDouble();
    }
    return kilobytes / 1024.0;
}

struct WindowRun {
    double ms = 0;
    double residentMb = 0;
    double peakMb = 0;
    double fontMb = 0;
};

// The window's own line when the settings are on screen (its "lark.app" category, on through
// the logging rules so that nothing else is formatted).
std::optional<WindowRun> timeWindow(const QString& program, const QProcessEnvironment& env)
{
    QProcess window;
    window.setProcessEnvironment(env);
    window.setProcessChannelMode(QProcess::SeparateChannels);
    window.setStandardOutputFile(QProcess::nullDevice());
    window.setReadChannel(QProcess::StandardError);
    QElapsedTimer timer;
    timer.start();
    window.start(program, {});
    std::optional<WindowRun> run;
    while (!run && window.waitForReadyRead(10000)) {
        while (window.canReadLine()) {
            if (window.readLine().contains("window shows the mouse's settings")) {
                run = WindowRun{timer.nsecsElapsed() / 1e6, 0, 0};
                run->residentMb = statusMegabytes(window.processId(), "VmRSS");
                run->peakMb = statusMegabytes(window.processId(), "VmHWM");
                run->fontMb = fontFileMegabytes(window.processId());
                break;
            }
        }
    }
    window.kill();
    window.waitForFinished(10000);
    return run;
}

std::optional<double> timeShow(const QString& larkctl, const QProcessEnvironment& env)
{
    QProcess show;
    show.setProcessEnvironment(env);
    show.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    show.start(larkctl, {QStringLiteral("show")});
    if (!show.waitForFinished(10000) || show.exitStatus() != QProcess::NormalExit || show.exitCode() != 0)
        return std::nullopt;
    return timer.nsecsElapsed() / 1e6;
}

int comparePrograms(const QString& window, const QString& larkctl, int runs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && !env.contains(QStringLiteral("DISPLAY")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("lark.app.debug=true"));
    env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
    std::vector<double> windowMs, showMs, ratios, resident, peak, fonts;
    // One untimed pair first: the files both load are then in the page cache.
    for (int i = -1; i < runs; ++i) {
        QProcessEnvironment windowEnv = env;
        windowEnv.insert(QStringLiteral("QT_MESSAGE_PATTERN"), QStringLiteral("%{category}: %{message}"));
        const std::optional<WindowRun> w = timeWindow(window, windowEnv);
        const std::optional<double> s = timeShow(larkctl, env);
        if (!w || !s) {
            std::fprintf(stderr, "run %d: %s\n", i,
                         !w ? "the window did not show the settings" : "larkctl show failed");
            return 1;
        }
        if (i < 0)
            continue;
        windowMs.push_back(w->ms);
        showMs.push_back(*s);
        ratios.push_back(w->ms / *s);
        resident.push_back(w->residentMb);
        peak.push_back(w->peakMb);
        fonts.push_back(w->fontMb);
    }
    using lark::bench::median;
    std::printf("window, process start to settings shown: %d runs, median %.1f ms (min %.1f, max %.1f)\n",
                runs, median(windowMs), *std::min_element(windowMs.begin(), windowMs.end()),
                *std::max_element(windowMs.begin(), windowMs.end()));
    std::printf("larkctl show, process start to its end:  %d runs, median %.1f ms (min %.1f, max %.1f)\n",
                runs, median(showMs), *std::min_element(showMs.begin(), showMs.end()),
                *std::max_element(showMs.begin(), showMs.end()));
    std::printf("window / larkctl show, pair by pair: median %.2f (min %.2f, max %.2f)\n", median(ratios),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()));
    std::printf("window's resident memory at settings shown: median %.1f MB (peak so far %.1f MB), "
                "of which font files %.1f MB\n",
                median(resident), median(peak), median(fonts));
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc > 3 && QByteArray(argv[1]) == "--programs") {
        QCoreApplication app(argc, argv);
        return comparePrograms(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                               argc > 4 ? std::max(1, std::atoi(argv[4])) : kRuns);
    }
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
