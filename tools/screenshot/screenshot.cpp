// Renders the window on the virtual mouse to a PNG, for the README.
// Usage: screenshot OUTPUT.png [tab index]; the language follows the environment (LANGUAGE=de).

#include <QApplication>
#include <QLocale>
#include <QPixmap>
#include <QTabWidget>

#include <cstdio>

#include "app/MainWindow.h"
#include "demo/VirtualHotplugSource.h"
#include "session/qt/SessionRunner.h"
#include "settings/SettingsModel.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"
#include "widgets/Translation.h"

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [tab]\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // In the language of the environment (LANGUAGE=de ...), as the program itself.
    lark::installTranslations(QLocale::system());
    lark::RecordingSleeper sleeper;  // the picture needs no real waits
    lark::VirtualMouse mouse(sleeper.clock());
    lark::MouseSettings s;
    lark::setDefaults(s);
    s.cpiLevelCount = 3;
    s.cpiLevels[1].y = 900;
    s.cpiLevels[0].xySeparate = 1;
    s.angleSnapping = 1;
    lark::SettingsBlock block{};
    lark::encodeSettings(s, block);
    mouse.setStoredBlock(block);

    lark::VirtualHotplugSource hotplug(mouse);
    lark::SettingsModel model;
    lark::SessionRunner session(mouse, sleeper);
    lark::MainWindow window(model, {session, hotplug});
    window.initialize();
    while (session.isBusy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (argc > 2)
        window.tabs()->setCurrentIndex(QByteArray(argv[2]).toInt());
    window.show();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
