// Profiles in the window and larkctl are one format with one check: a profile that either
// program saves loads in the other, a loaded profile fills the pages as edits that only APPLY
// writes, and a profile larkctl import refuses changes nothing in the window and is named in
// the same words.

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "WindowRig.h"
#include "cli/Commands.h"
#include "model/Rules.h"
#include "settings/SettingsBlock.h"
#include "support/ModalHelpers.h"

namespace lark::test {
namespace {

// larkctl with its arguments on its own mouse; the exit code, its error output in `errors`.
int larkctl(VirtualMouse& mouse, RecordingSleeper& sleeper, const std::vector<std::string>& arguments,
            std::string& errors)
{
    std::istringstream in;
    std::ostringstream output;
    std::ostringstream errorStream;
    cli::Environment environment{mouse, sleeper, in, output, errorStream, ""};
    const int code = cli::runLarkctl(arguments, environment);
    errors = errorStream.str();
    return code;
}

// Settings away from the factory's in every page and in the bytes no page shows.
MouseSettings unusual()
{
    MouseSettings s;
    setDefaults(s);
    s.cpiLevelCount = 2;
    setCpiLevel(s, 0, 800, 1600);
    setCpiLevel(s, 1, 1650, 1650);
    s.liftOffDistance = 2;
    s.angleSnapping = 1;
    setMotionSync(s, true);
    s.pollingInterval = 2;
    s.buttons[2].filter = 7;
    s.buttons[3].action = ButtonAction{32, 0xE9, 0, 0};  // VOLUME UP
    s.opaqueAt0D = 0x07;
    s.opaque0F[3] = 0x5A;
    return s;
}

SettingsBlock blockOf(const MouseSettings& settings)
{
    SettingsBlock block{};
    encodeSettings(settings, block);
    return block;
}

// Presses `shortcut` in the window and answers the file dialog it opens: its folder set to
// `path`'s, the name typed into its name field, then Enter. (Typed whole, the path's folders are
// taken by the dialog as it goes and Enter can come before it has moved there.)
void throughFileDialog(WindowRig& rig, const QKeySequence& shortcut, const QString& path)
{
    auto done = whenModalShows([path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        dialog->setDirectory(QFileInfo(path).absolutePath());
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QFileInfo(path).fileName());
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::keySequence(rig.window.get(), shortcut);
    QTRY_VERIFY(*done);
    rig.settle();
}

class ProfileWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The tests type into Qt's own file dialog; the system's (on Windows) has no widgets of ours.
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void aLarkctlProfileLoadsAsEditsThatApplyWrites()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("from-larkctl.json"));
        RecordingSleeper sleeper;
        VirtualMouse source(sleeper.clock());
        source.setStoredBlock(blockOf(unusual()));
        std::string errors;
        QCOMPARE(larkctl(source, sleeper, {"export", path.toStdString()}, errors), 0);

        WindowRig rig;
        rig.start();
        throughFileDialog(rig, QKeySequence(Qt::CTRL | Qt::Key_O), path);

        // On the pages, not yet on the mouse.
        QCOMPARE(rig.status(), MainWindow::statusText(StatusMessage::ProfileLoaded));
        QCOMPARE(rig.writesSent(), 0);
        QVERIFY(rig.applyButton()->isEnabled());
        QCOMPARE(rig.find<QLineEdit>(QStringLiteral("CPI 1 Y value"))->text(), QStringLiteral("1600"));
        QVERIFY(rig.find<QPushButton>(QStringLiteral("VOLUME UP")));

        rig.click(rig.applyButton());
        QCOMPARE(rig.status(), MainWindow::statusText(StatusMessage::Applied));
        QVERIFY(rig.mouse.storedBlock() == source.storedBlock());
    }

    void theWindowsProfileImportsWithLarkctl()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("from-window.json"));
        WindowRig rig;
        rig.mouse.setStoredBlock(blockOf(unusual()));
        rig.start();
        throughFileDialog(rig, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), path);
        QCOMPARE(rig.status(), MainWindow::statusText(StatusMessage::ProfileSaved));
        QCOMPARE(rig.writesSent(), 0);

        RecordingSleeper sleeper;
        VirtualMouse target(sleeper.clock());
        std::string errors;
        QCOMPARE(larkctl(target, sleeper, {"import", path.toStdString()}, errors), 0);
        QVERIFY2(target.storedBlock() == rig.mouse.storedBlock(), errors.c_str());
    }

    void aProfileThatLarkctlRefusesChangesNothing()
    {
        QTemporaryDir dir;
        struct Bad {
            const char* label;
            std::string text;  // empty: no file at all
        };
        MouseSettings factory;
        setDefaults(factory);
        std::string valid;
        {
            RecordingSleeper sleeper;
            VirtualMouse source(sleeper.clock());
            const QString path = dir.filePath(QStringLiteral("valid.json"));
            std::string errors;
            QCOMPARE(larkctl(source, sleeper, {"export", path.toStdString()}, errors), 0);
            std::ifstream in(path.toStdString());
            valid.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        std::vector<std::string> notFound;  // a change that finds nothing to change tests nothing
        auto replaced = [&](const std::string& from, const std::string& to) {
            std::string text = valid;
            const std::size_t at = text.find(from);
            if (at == std::string::npos)
                notFound.push_back(from);
            return at == std::string::npos ? text : text.replace(at, from.size(), to);
        };
        const std::vector<Bad> cases = {
            {"not json", "{\"format\": \"larkctl-profile\",\n  \"version\": 1,\n"},
            {"unknown setting", replaced("\"angle-snapping\"", "\"angle-snaping\"")},
            {"value out of range", replaced("\"polling-rate\": 8000", "\"polling-rate\": 3000")},
            {"newer format", replaced("\"version\": 1", "\"version\": 99")},
            {"other firmware", replaced("\"firmware\": \"V1.06\"", "\"firmware\": \"V1.05\"")},
            {"missing file", ""},
        };
        QVERIFY2(notFound.empty(), notFound.empty() ? "" : notFound.front().c_str());

        WindowRig rig;
        rig.start();
        // An edit before: it must survive the refused profile, and so must APPLY and the line.
        rig.window->tabs()->setCurrentIndex(1);
        QTest::keyClick(rig.find<QCheckBox>(QStringLiteral("Slamclick Filter")), Qt::Key_Space);
        const MouseSettings edits = rig.model.editedSettings;
        const QString status = rig.status();
        QVERIFY(rig.applyButton()->isEnabled());

        for (const Bad& bad : cases) {
            const QString path = dir.filePath(QString::fromLatin1(bad.label) + QStringLiteral(".json"));
            if (!bad.text.empty()) {
                std::ofstream out(path.toStdString());
                out << bad.text;
            }
            RecordingSleeper sleeper;
            VirtualMouse other(sleeper.clock());
            std::string refusal;
            QCOMPARE(larkctl(other, sleeper, {"import", path.toStdString()}, refusal), 5);
            QVERIFY(refusal.rfind("larkctl: ", 0) == 0);
            // larkctl's advice on its own option is all the window leaves out.
            const std::string said = refusal.substr(9, refusal.find("; --force") - 9);
            const QString words = QString::fromStdString(said).trimmed();

            QString shown;
            auto answered = acceptNextMessageBox(&shown);
            QVERIFY(!rig.window->loadProfileFrom(path));
            QVERIFY2(*answered, bad.label);
            QVERIFY2(shown.contains(words), qPrintable(shown + QStringLiteral(" / ") + words));
            QVERIFY2(rig.model.editedSettings == edits, bad.label);
            QCOMPARE(rig.status(), status);
            QVERIFY(rig.applyButton()->isEnabled());
        }
        QCOMPARE(rig.writesSent(), 0);
    }

    void profilesWaitForAConnectedMouse()
    {
        WindowRig rig;
        rig.start();
        QVERIFY(rig.window->saveProfileAction()->isEnabled());
        QVERIFY(rig.window->loadProfileAction()->isEnabled());
        rig.mouse.unplug();
        // One removal per interface: the first one already shows the mouse gone.
        QTRY_COMPARE(rig.status(), MainWindow::statusText(StatusMessage::Unplugged));
        rig.settle();
        QVERIFY(!rig.window->saveProfileAction()->isEnabled());
        QVERIFY(!rig.window->loadProfileAction()->isEnabled());
        QTemporaryDir dir;
        QVERIFY(!rig.window->saveProfileTo(dir.filePath(QStringLiteral("nothing.json"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("nothing.json"))));
    }
};

}  // namespace
}  // namespace lark::test

QTEST_MAIN(lark::test::ProfileWindowTest)
#include "ProfileWindowTest.moc"
