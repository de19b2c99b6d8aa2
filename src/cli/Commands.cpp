#include "cli/Commands.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "cli/MouseChoice.h"
#include "cli/OutputFile.h"
#include "cli/WatchWait.h"
#include "device/Log.h"
#include "device/MouseCommands.h"
#include "device/OutsideAccess.h"
#include "device/PollableHotplug.h"
#include "device/Protocol.h"
#include "model/Profile.h"
#include "model/ProfileFile.h"
#include "model/Rules.h"
#include "model/Vocabulary.h"
#include "session/MouseSession.h"
#include "settings/SettingsBlock.h"

namespace lark::cli {

namespace {

using nlohmann::ordered_json;

// What to do when the mouse cannot be opened, in the platform's words.
// The short fix goes in list's table; errors add what follows it.
const char* const kUdevRule = accessAdvice().udevRule;
const char* const kWhyDenied = accessAdvice().whyDenied;
const std::string kAccessFix = accessAdvice().fix;
const std::string kAccessFixThen = accessAdvice().fixThen;

#ifndef LARK_VERSION
#error "LARK_VERSION names the project's version"
#endif

struct Options {
    std::string device;
    bool verbose = false;
    bool json = false;
    bool dryRun = false;
    bool force = false;
    std::vector<std::string> assignments;
    std::vector<std::string> names;
    std::string file;
};

// Diagnostic lines come from the session's threads while the command's own thread may be
// telling an error: one at a time on stderr.
std::mutex errorStreamMutex;

// One line on stderr: what went wrong and, where there is one, the fix.
int fail(Environment& env, int code, const std::string& message)
{
    std::lock_guard lock(errorStreamMutex);
    env.err << "larkctl: " << message << '\n';
    env.err.flush();
    return code;
}

// Flushes standard output. False, with the reason of the write that failed kept in `why`,
// when what was printed did not all get out.
bool outputWritten(Environment& env, std::string& why)
{
    // A write that failed earlier (inside a print) left no reason behind: flushing what is
    // left again finds it, and the stream stays failed whatever that flush does.
    const bool failedBefore = !env.out;
    env.out.clear();
    errno = 0;
    env.out.flush();
    if (env.out && !failedBefore)
        return true;
    if (errno != 0 && why.empty())
        why = std::strerror(errno);
    env.out.setstate(std::ios::badbit);
    return false;
}

// --verbose: the core's diagnostic lines on stderr, named by category as the window prints them.
class Diagnostics {
public:
    Diagnostics(Environment& env, bool on) : on_(on)
    {
        if (!on_)
            return;
        logging::setSink([&env](LogCategory category, const std::string& line) {
            const char* name = category == LogCategory::Device    ? "lark.device"
                               : category == LogCategory::Hotplug ? "lark.hotplug"
                                                                  : "lark.app";
            std::lock_guard lock(errorStreamMutex);
            env.err << name << ": " << line << '\n';
            env.err.flush();
        });
        for (LogCategory category : {LogCategory::Device, LogCategory::Hotplug, LogCategory::App})
            logging::setEnabled(category, true);
    }
    ~Diagnostics()
    {
        if (!on_)
            return;
        for (LogCategory category : {LogCategory::Device, LogCategory::Hotplug, LogCategory::App})
            logging::setEnabled(category, false);
        logging::setSink({});
    }
    Diagnostics(const Diagnostics&) = delete;
    Diagnostics& operator=(const Diagnostics&) = delete;

private:
    bool on_;
};

std::optional<std::string> firmwareVersionOf(const MouseSession& session)
{
    if (!session.firmwareVersion())
        return std::nullopt;
    return firmwareVersionText(*session.firmwareVersion());
}

std::string firmwareText(const MouseSession& session)
{
    return firmwareVersionOf(session).value_or("-");
}

// The words for an outcome that ends a command early; ExitDone when it does not.
int outcomeExit(Environment& env, SessionOutcome outcome, const FoundMouse& mouse)
{
    switch (outcome) {
    case SessionOutcome::NotFound:
    case SessionOutcome::Unplugged:
        return fail(env, ExitNoMouse, "the mouse at " + mouse.path + " went away; plug it in and try again");
    case SessionOutcome::PermissionDenied:
        return fail(env, ExitPermission,
                    "permission denied opening " + mouse.path + ": " + kAccessFix + kAccessFixThen);
    case SessionOutcome::SettingsNotRead:
        return fail(env, ExitMouseRefused,
                    "the mouse at " + mouse.path + " did not send its settings; plug it in again and retry");
    case SessionOutcome::Refused:
        return fail(env, ExitMouseRefused,
                    "the mouse did not accept the settings (three attempts); it keeps what it had");
    case SessionOutcome::UnreadNotWritten:
        return fail(env, ExitMouseRefused,
                    "the mouse's settings could not be read first; nothing was written");
    case SessionOutcome::ResetNotSent:
        return fail(env, ExitMouseRefused,
                    "the factory reset could not be sent to the mouse; nothing changed");
    case SessionOutcome::ResetNotConfirmed:
        return fail(env, ExitMouseRefused,
                    "the mouse did not confirm the factory reset; check its settings with larkctl show");
    case SessionOutcome::Cancelled:
        return fail(env, ExitCancelled, "cancelled; nothing was written to the mouse");
    default:
        return ExitDone;
    }
}

std::string miceLines(const std::vector<FoundMouse>& mice)
{
    std::string lines;
    for (const FoundMouse& mouse : mice)
        lines += (lines.empty() ? "" : ", ") + mouse.path +
                 (mouse.serialNumber.empty() ? "" : " (" + mouse.serialNumber + ")");
    return lines;
}

// The mouse a command works on. Commands that write need it named when there are several.
std::optional<FoundMouse> chooseMouse(Environment& env, const Options& options, bool writes, int& code)
{
    if (!options.device.empty()) {
        const std::vector<FoundMouse> named = miceNamed(env.backend, options.device);
        if (named.empty()) {
            code = fail(env, ExitNoMouse,
                        "no Tarrow Lark 8k at '" + options.device + "' (larkctl list shows the mice)");
            return std::nullopt;
        }
        if (named.size() > 1) {
            code = fail(env, ExitUsage,
                        "'" + options.device + "' names " + std::to_string(named.size()) +
                            " mice: " + miceLines(named) + "; give a path with --device");
            return std::nullopt;
        }
        return named.front();
    }
    const std::vector<FoundMouse> mice = findMice(env.backend);
    if (mice.empty()) {
        code =
            fail(env, ExitNoMouse, "no Tarrow Lark 8k found; plug it in (larkctl list shows what is found)");
        return std::nullopt;
    }
    if (mice.size() > 1 && writes) {
        code = fail(env, ExitUsage,
                    std::to_string(mice.size()) + " mice found: " + miceLines(mice) +
                        "; choose one with --device PATH|SERIAL");
        return std::nullopt;
    }
    return mice.front();
}

// Hands an interrupt (Ctrl+C, SIGTERM) to the session while a command runs: what has not been
// written yet is cancelled, a write already out is finished and told.
class CancelOnInterrupt {
public:
    CancelOnInterrupt(WaitHandle stop, MouseSession& session)
    {
        if (stop == kNoWaitHandle)
            return;
        thread_ = std::thread([this, stop, &session] {
            std::vector<bool> ready;
            std::string error;
            if (waitForAny({stop, done_.handle()}, ready, error) && ready[0])
                session.requestCancel();
        });
    }
    ~CancelOnInterrupt()
    {
        if (!thread_.joinable())
            return;
        done_.raise();
        thread_.join();
    }
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;

private:
    Wakeup done_;
    std::thread thread_;
};

// A session on the chosen mouse alone; each of its flows holds the mouse's exchange lock.
struct OpenMouse {
    OpenMouse(Environment& env, const FoundMouse& found)
        : mouse(found), backend(env.backend, found), session(backend, env.sleeper), cancel(env.stop, session)
    {
    }
    FoundMouse mouse;
    ChosenMouseBackend backend;
    MouseSession session;
    CancelOnInterrupt cancel;
};

std::size_t nameWidth()
{
    std::size_t width = 0;
    for (const Setting& setting : allSettings())
        width = std::max(width, setting.name.size());
    return width + 2;
}

void printLine(std::ostream& out, std::string_view name, const std::string& value)
{
    out << std::left << std::setw(static_cast<int>(nameWidth())) << name << value << '\n';
}

void printChanges(std::ostream& out, const MouseSettings& before, const MouseSettings& after)
{
    for (const Setting* setting : changedSettings(before, after))
        printLine(out, setting->name, settingText(*setting, before) + " -> " + settingText(*setting, after));
}

// Writes `edited` with one APPLY and says how it went; the window hears of an accepted write.
int applyEdited(Environment& env, OpenMouse& open, const MouseSettings& edited, const char* doneText)
{
    const MouseSettings before = open.session.model().editedSettings;
    if (!writeDiffers(before, edited)) {
        env.out << "Nothing to change: the mouse holds these settings already.\n";
        return ExitDone;
    }
    open.session.model().editedSettings = edited;
    const SessionOutcome outcome = open.session.apply();
    if (outcome != SessionOutcome::Applied)
        return outcomeExit(env, outcome == SessionOutcome::Nothing ? SessionOutcome::Refused : outcome,
                           open.mouse);
    announceOutsideWrite(env.runtimeDirectory);
    printChanges(env.out, before, edited);
    env.out << doneText << '\n';
    return ExitDone;
}

int startMouse(Environment& env, OpenMouse& open)
{
    const SessionOutcome outcome = open.session.start();
    if (outcome == SessionOutcome::Connected)
        return ExitDone;
    if (outcome == SessionOutcome::NotFound)
        return fail(env, ExitNoMouse,
                    "no Tarrow Lark 8k answers at " + open.mouse.path + "; plug it in again");
    return outcomeExit(env, outcome, open.mouse);
}

// Chooses the mouse, starts a session on it and runs `command` there; a failure on the way is
// told and becomes the exit code.
int onMouse(Environment& env, const Options& options, bool writes,
            const std::function<int(OpenMouse&)>& command)
{
    int code = ExitDone;
    const std::optional<FoundMouse> mouse = chooseMouse(env, options, writes, code);
    if (!mouse)
        return code;
    OpenMouse open(env, *mouse);
    if ((code = startMouse(env, open)) != ExitDone)
        return code;
    return command(open);
}

// ---- the commands ----

int listCommand(Environment& env, const Options& options)
{
    const std::vector<FoundMouse> mice = findMice(env.backend);
    ordered_json list = ordered_json::array();
    struct Row {
        std::string path, serial, firmware, access;
    };
    std::vector<Row> rows;
    for (const FoundMouse& mouse : mice) {
        SessionOutcome outcome;
        std::string firmware = "-";
        std::optional<std::uint16_t> version;
        {
            OpenMouse open(env, mouse);
            outcome = open.session.start();
            version = open.session.firmwareVersion();
            open.session.stopListener();
        }
        const bool denied = outcome == SessionOutcome::PermissionDenied;
        if (version)
            firmware = firmwareVersionText(*version);
        const std::string access =
            denied ? "no: " + kAccessFix : (version ? "yes" : "no answer");
        rows.push_back(
            Row{mouse.path, mouse.serialNumber.empty() ? "-" : mouse.serialNumber, firmware, access});
        list.push_back(ordered_json{{"path", mouse.path},
                                    {"serial", mouse.serialNumber},
                                    {"firmware", version ? ordered_json(firmware) : ordered_json(nullptr)},
                                    {"access", !denied},
                                    {"udev-rule", denied && kUdevRule ? ordered_json(kUdevRule) : ordered_json(nullptr)}});
    }
    if (options.json) {
        env.out << ordered_json{{"version", kJsonFormatVersion}, {"mice", list}}.dump(2) << '\n';
    } else if (!rows.empty()) {
        std::size_t pathWidth = 4;
        std::size_t serialWidth = 6;
        for (const Row& row : rows) {
            pathWidth = std::max(pathWidth, row.path.size());
            serialWidth = std::max(serialWidth, row.serial.size());
        }
        auto line = [&](const std::string& a, const std::string& b, const std::string& c,
                        const std::string& d) {
            env.out << std::left << std::setw(static_cast<int>(pathWidth + 2)) << a
                    << std::setw(static_cast<int>(serialWidth + 2)) << b << std::setw(10) << c << d << '\n';
        };
        line("PATH", "SERIAL", "FIRMWARE", "ACCESS");
        for (const Row& row : rows)
            line(row.path, row.serial, row.firmware, row.access);
    }
    // An empty list is an answer a script can read; the table has nothing to show instead.
    if (mice.empty() && !options.json)
        return fail(env, ExitNoMouse, "no Tarrow Lark 8k found; plug it in");
    return ExitDone;
}

int showCommand(Environment& env, const Options& options)
{
    return onMouse(env, options, false, [&](OpenMouse& open) -> int {
        const FoundMouse* mouse = &open.mouse;
        const MouseSettings& settings = open.session.model().editedSettings;
        if (options.json) {
            ordered_json shown = ordered_json::object();
            shown["version"] = kJsonFormatVersion;
            shown["device"] = ordered_json{{"path", mouse->path}, {"serial", mouse->serialNumber}};
            shown["firmware"] = firmwareText(open.session);
            shown["settings"] = settingsJson(settings);
            shown["opaque"] = opaqueJson(settings);
            env.out << shown.dump(2) << '\n';
            return ExitDone;
        }
        printLine(env.out, "device",
                  mouse->path + (mouse->serialNumber.empty() ? "" : " (serial " + mouse->serialNumber + ")"));
        printLine(env.out, "firmware", firmwareText(open.session));
        for (const Setting& setting : allSettings())
            printLine(env.out, setting.name, settingText(setting, settings));
        return ExitDone;
    });
}

int getCommand(Environment& env, const Options& options)
{
    std::vector<const Setting*> settings;
    for (const std::string& name : options.names) {
        const Setting* setting = findSetting(name);
        if (!setting)
            return fail(env, ExitBadValue,
                        "no setting is called '" + name + "' (larkctl get --help lists them)");
        settings.push_back(setting);
    }
    return onMouse(env, options, false, [&](OpenMouse& open) -> int {
        for (const Setting* setting : settings)
            env.out << settingText(*setting, open.session.model().editedSettings) << '\n';
        return ExitDone;
    });
}

int setCommand(Environment& env, const Options& options)
{
    SettingsEdit edit;
    for (const std::string& assignment : options.assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0)
            return fail(env, ExitUsage,
                        "'" + assignment + "' is not NAME=VALUE (larkctl set --help lists the names)");
        std::string error;
        if (!edit.assign(assignment.substr(0, equals), assignment.substr(equals + 1), error))
            return fail(env, ExitBadValue, error);
    }
    return onMouse(env, options, true, [&](OpenMouse& open) -> int {
        MouseSettings edited = open.session.model().editedSettings;
        std::string error;
        if (!edit.applyTo(edited, error))
            return fail(env, ExitBadValue, error);
        if (options.dryRun) {
            if (!writeDiffers(open.session.model().editedSettings, edited))
                env.out << "Nothing to change: the mouse holds these settings already.\n";
            printChanges(env.out, open.session.model().editedSettings, edited);
            return ExitDone;
        }
        return applyEdited(env, open, edited, "Settings applied.");
    });
}

int importCommand(Environment& env, const Options& options)
{
    const auto read =
        options.file == "-" ? readProfileStream(env.in, "stdin") : readProfileFile(options.file);
    if (const std::string* error = std::get_if<std::string>(&read))
        return fail(env, ExitBadValue, *error);
    const Profile& profile = std::get<Profile>(read);

    return onMouse(env, options, true, [&](OpenMouse& open) -> int {
        // The opaque bytes are what another firmware may read differently: a profile from one
        // is refused, or with --force written without them.
        const std::string firmware = firmwareText(open.session);
        const bool otherFirmware = profile.fromOtherFirmware(firmware);
        if (otherFirmware && !options.force)
            return fail(env, ExitBadValue,
                        profile.otherFirmwareError(firmware) +
                            "; --force writes its settings and keeps the mouse's opaque bytes");
        MouseSettings edited = open.session.model().editedSettings;
        std::string error;
        if (!profile.applyTo(edited, error, !otherFirmware))
            return fail(env, ExitBadValue, error);
        if (otherFirmware)
            env.out << "Firmware " << *profile.firmware() << " in the profile, " << firmware
                    << " in the mouse: its settings are written, its opaque bytes are not.\n";
        return applyEdited(env, open, edited, "Profile applied.");
    });
}

int exportCommand(Environment& env, const Options& options)
{
    std::string text;
    const int code = onMouse(env, options, false, [&](OpenMouse& open) -> int {
        text =
            makeProfile(open.session.model().editedSettings, firmwareVersionOf(open.session)).dump(2) + "\n";
        return ExitDone;
    });
    if (code != ExitDone)
        return code;
    std::string error;
    if (!writeThrough(options.file, text, env.out, error))
        return fail(env, ExitOutput, error);
    return ExitDone;
}

int resetCommand(Environment& env, const Options& options)
{
    return onMouse(env, options, true, [&](OpenMouse& open) -> int {
        const SessionOutcome outcome = open.session.factoryReset();
        if (outcome != SessionOutcome::ResetDone)
            return outcomeExit(
                env, outcome == SessionOutcome::Nothing ? SessionOutcome::ResetNotSent : outcome, open.mouse);
        announceOutsideWrite(env.runtimeDirectory);
        env.out << "Factory settings restored.\n";
        return ExitDone;
    });
}

// The mouse's events, handed over by the listener thread; the watch loop sleeps on the wakeup.
class MouseEventQueue {
public:
    WaitHandle handle() const { return wakeup_.handle(); }
    void push(std::uint8_t code, std::uint8_t value)
    {
        std::lock_guard lock(mutex_);
        events_.emplace_back(code, value);
        wakeup_.raise();
    }
    std::vector<std::pair<std::uint8_t, std::uint8_t>> take()
    {
        std::lock_guard lock(mutex_);
        wakeup_.clear();
        return std::exchange(events_, {});
    }

private:
    std::mutex mutex_;
    Wakeup wakeup_;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> events_;
};

int watchCommand(Environment& env, const Options& options, std::string& outputWhy)
{
    std::optional<FoundMouse> mouse;
    if (!options.device.empty()) {
        int code = ExitDone;
        if (!(mouse = chooseMouse(env, options, false, code)))
            return code;
    } else {
        const std::vector<FoundMouse> mice = findMice(env.backend);
        // Without a mouse yet, watch waits for one to be plugged in.
        mouse = mice.empty() ? FoundMouse{} : mice.front();
    }
    ChosenMouseBackend chosen(env.backend, *mouse);
    HidBackend& backend = mouse->path.empty() ? env.backend : static_cast<HidBackend&>(chosen);
    MouseSession session(backend, env.sleeper);
    MouseEventQueue events;
    session.setEventHandler([&events](std::uint8_t code, std::uint8_t value) { events.push(code, value); });

    // Each line leaves at once; when one cannot, watching has no point any more.
    bool outputLost = false;
    auto say = [&](const std::string& event, ordered_json fields, const std::string& words) {
        if (options.json) {
            ordered_json line{{"version", kJsonFormatVersion}, {"event", event}};
            for (auto& [key, value] : fields.items())
                line[key] = value;
            env.out << line.dump() << '\n';
        } else {
            env.out << event << (words.empty() ? "" : " " + words) << '\n';
        }
        outputLost = outputLost || !outputWritten(env, outputWhy);
    };
    auto currentPath = [&] {
        const std::vector<FoundMouse> mice = findMice(backend);
        return mice.empty() ? std::string() : mice.front().path;
    };

    {
        const SessionOutcome outcome = session.start();
        if (outcome == SessionOutcome::PermissionDenied)
            return outcomeExit(env, outcome, *mouse);
        if (outcome == SessionOutcome::Connected)
            say("connected", {{"path", currentPath()}, {"firmware", firmwareText(session)}},
                currentPath() + " firmware " + firmwareText(session));
    }

    while (!outputLost) {
        const std::vector<WaitHandle> handles{events.handle(), env.stop,
                                              env.hotplug ? env.hotplug->waitHandle() : kNoWaitHandle};
        std::vector<bool> ready;
        std::string error;
        if (!waitForAny(handles, ready, error))
            return fail(env, ExitUsage, "waiting for events failed: " + error);
        if (ready[1])
            break;
        if (ready[0]) {
            session.takeMouseEvents();
            for (const auto& [code, value] : events.take()) {
                if (const std::optional<std::uint32_t> hertz = pollingHz(value);
                    code == kEventPollingRateChanged && hertz)
                    say("polling-rate", {{"hz", *hertz}}, std::to_string(*hertz));
            }
        }
        if (env.hotplug && ready[2]) {
            for (const PollableHotplug::Notice& notice : env.hotplug->take()) {
                if (notice.arrival) {
                    if (session.arrival(notice.name) == SessionOutcome::Connected)
                        say("plugged", {{"path", currentPath()}, {"firmware", firmwareText(session)}},
                            currentPath() + " firmware " + firmwareText(session));
                } else if (session.removal(notice.name) == SessionOutcome::Unplugged) {
                    say("unplugged", {}, "");
                }
            }
        }
    }
    session.requestStop();
    session.stopListener();
    return ExitDone;
}

const std::string kExitCodes = std::string("Exit codes: 0 done; 1 usage; 2 no mouse; 3 permission denied (") +
                               kWhyDenied +
                               ");\n4 the mouse refused or did not confirm; 5 bad profile or value;\n"
                               "6 the output could not be written (full disk, closed pipe); 130 cancelled (Ctrl+C),\n"
                               "nothing written.";

std::string settingsHelp()
{
    std::string text = "Settings (NAME=VALUE):\n";
    for (const Setting& setting : allSettings())
        text += "  " + std::string(setting.name) + std::string(nameWidth() - setting.name.size(), ' ') +
                std::string(setting.values) + "\n" + std::string(nameWidth() + 2, ' ') + helpText(setting) +
                "\n";
    return text;
}

std::string namesHelp()
{
    std::string text = "Settings:";
    std::size_t column = text.size();
    for (const Setting& setting : allSettings()) {
        if (column + 1 + setting.name.size() > 78) {
            text += "\n ";
            column = 1;
        }
        text += " " + std::string(setting.name);
        column += 1 + setting.name.size();
    }
    return text + "\n";
}

// The options every command takes, before or after its name; each command's --help shows them.
void addGlobalOptions(CLI::App& app, Options& options)
{
    app.add_option("--device", options.device,
                   "The mouse to use: a hidraw path or a serial number (see list)")
        ->type_name("PATH|SERIAL")
        ->group("Global options");
    app.add_flag("--verbose", options.verbose,
                 "Diagnostics on stderr: each frame, retry and plug event (for a bug report)")
        ->group("Global options");
}

int runCommand(const std::vector<std::string>& arguments, Environment& env, std::string& outputWhy)
{
    CLI::App app{"larkctl: read and change the settings of a Tarrow Lark 8k mouse", "larkctl"};
    app.footer(kExitCodes);
    // At most one here and "none" checked after parsing, so an unknown word is named as such.
    app.require_subcommand(0, 1);
    Options options;
    addGlobalOptions(app, options);
    app.set_version_flag("--version", "larkctl " LARK_VERSION, "Print the version and exit")
        ->group("Global options");

    auto command = [&](const char* name, const char* description) {
        CLI::App* sub = app.add_subcommand(name, description);
        addGlobalOptions(*sub, options);
        return sub;
    };
    CLI::App* list = command("list", "Every Tarrow Lark 8k found: path, serial number, firmware, access");
    list->add_flag("--json", options.json, "JSON instead of text; no mouse is an empty list");
    CLI::App* show = command("show", "Every setting of the mouse in words");
    show->add_flag("--json", options.json, "JSON instead of text");
    CLI::App* get = command("get", "The values of the settings named, one per line, as set takes them");
    get->add_option("names", options.names, "Setting names, one or more")->required();
    get->footer(namesHelp());
    CLI::App* set = command("set", "Change settings with one write to the mouse");
    set->add_option("assignments", options.assignments, "NAME=VALUE, one or more")->required();
    set->add_flag("--dry-run", options.dryRun, "Print what would change and write nothing");
    set->footer(settingsHelp());
    CLI::App* exportApp = command("export", "Write the mouse's settings as a JSON profile");
    exportApp->add_option("file", options.file,
                          "Profile file, or - for stdout (the default); a link, FIFO or /dev/fd/N is "
                          "written through");
    CLI::App* importApp = command("import", "Check a JSON profile whole, then write it to the mouse");
    importApp->add_option("file", options.file, "Profile file, or - for stdin")->required();
    importApp->add_flag("--force", options.force,
                        "Write a profile from another firmware version: its settings, not its opaque bytes");
    CLI::App* reset = command("reset", "Restore the mouse's factory settings");
    CLI::App* watch =
        command("watch", "One line per event until interrupted: polling-rate button, plug, unplug");
    watch->add_flag("--json", options.json, "One JSON object per line");

    std::vector<std::string> argv{"larkctl"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<const char*> pointers;
    for (const std::string& argument : argv)
        pointers.push_back(argument.c_str());
    // Help and the version go out in one write, without the flush CLI11 ends them with, so that
    // a failing standard output is caught with its reason by the check every command ends with.
    auto printed = [&](const CLI::ParseError& e) {
        std::ostringstream text;
        const int code = app.exit(e, text, env.err);
        env.out << text.str();
        return code;
    };
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::CallForHelp& e) {
        return printed(e);
    } catch (const CLI::CallForAllHelp& e) {
        return printed(e);
    } catch (const CLI::CallForVersion& e) {
        return printed(e);
    } catch (const CLI::ParseError& e) {
        return fail(env, ExitUsage, std::string(e.what()) + " (larkctl --help)");
    }

    const Diagnostics diagnostics(env, options.verbose);
    if (list->parsed())
        return listCommand(env, options);
    if (show->parsed())
        return showCommand(env, options);
    if (get->parsed())
        return getCommand(env, options);
    if (set->parsed())
        return setCommand(env, options);
    if (exportApp->parsed())
        return exportCommand(env, options);
    if (importApp->parsed())
        return importCommand(env, options);
    if (reset->parsed())
        return resetCommand(env, options);
    if (watch->parsed())
        return watchCommand(env, options, outputWhy);
    return fail(env, ExitUsage, "A subcommand is required (larkctl --help)");
}

}  // namespace

int runLarkctl(const std::vector<std::string>& arguments, Environment& env)
{
    std::string outputWhy;
    const int code = runCommand(arguments, env, outputWhy);
    // What was printed is the command's result too: output that did not get out is a failure,
    // also when the command itself went well.
    if (outputWritten(env, outputWhy) || code == ExitOutput)  // ExitOutput has been told already
        return code;
    fail(env, ExitOutput,
         "cannot write to standard output" + (outputWhy.empty() ? std::string() : ": " + outputWhy));
    return code == ExitDone ? ExitOutput : code;
}

}  // namespace lark::cli
