// From the APPLY click to the mouse's accepted status, real protocol waits.

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>

#include <cstdio>

#include "BenchStats.h"
#include "VirtualMouseWindow.h"

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lark::bench::VirtualMouseWindow rig;
    rig.waitIdle();
    lark::VirtualMouse& mouse = rig.mouse;
    lark::MainWindow& window = *rig.window;
    lark::SettingsModel& model = rig.model;

    QCheckBox* ripple = nullptr;
    for (QCheckBox* box : window.findChildren<QCheckBox*>())
        if (box->accessibleName() == QStringLiteral("Ripple Control"))
            ripple = box;
    if (!ripple)
        return 1;

    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        ripple->click();  // an edit, so there is something to apply
        QElapsedTimer timer;
        timer.start();
        window.applyButton()->click();
        rig.waitIdle();
        const double ms = timer.nsecsElapsed() / 1e6;
        lark::MouseSettings onMouse;
        lark::decodeSettings(mouse.storedBlock(), onMouse);
        if (window.applyButton()->isEnabled() ||
            onMouse.rippleControl != model.editedSettings.rippleControl) {
            std::fprintf(stderr, "run %d: the mouse did not take the settings\n", i);
            return 1;
        }
        times.push_back(ms);
    }
    lark::bench::report("APPLY click to accepted status", times, 300);
    return 0;
}
