#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <mutex>
#include <nlohmann/json.hpp>
#ifdef __linux__
#include <sys/stat.h>
#endif

#include "CliRig.h"
#include "cli/WatchWait.h"
#include "device/OutsideAccess.h"
#include "device/PollableHotplug.h"
#include "device/Protocol.h"
#include "model/Profile.h"
#include "model/Vocabulary.h"
#include "settings/SettingsBlock.h"

using namespace lark;
using namespace lark::test;
using nlohmann::json;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::uint16_t storedCpiX(const VirtualMouse& mouse, int level)
{
    const SettingsBlock block = mouse.storedBlock();
    const std::size_t at = 0x24 + 5 * static_cast<std::size_t>(level);
    return static_cast<std::uint16_t>(block[at] | (block[at + 1] << 8));
}

struct CommandCase {
    const char* label;
    std::vector<std::string> arguments;
    int code;
    std::vector<std::string> out;  // parts of stdout
    std::string err;               // part of stderr; empty: stderr stays empty
    int writes;                    // settings writes on the wire
    int resets;
};

class Commands : public testing::TestWithParam<CommandCase> {};

TEST_P(Commands, OutputExitCodeAndFrames)
{
    CliRig rig;
    const CommandCase& c = GetParam();
    const CliRun run = rig.run(c.arguments);
    EXPECT_EQ(run.code, c.code) << run.err;
    for (const std::string& part : c.out)
        EXPECT_TRUE(contains(run.out, part)) << "'" << part << "' missing from:\n" << run.out;
    if (c.err.empty())
        EXPECT_EQ(run.err, "");
    else
        EXPECT_TRUE(contains(run.err, c.err)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.err.empty() ? 0 : 1) << run.err;
    EXPECT_EQ(rig.writes(), c.writes);
    EXPECT_EQ(CliRig::writesOf(rig.mouse, kCommandFactoryReset), c.resets);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Commands,
    testing::Values(
        CommandCase{"show",
                    {"show"},
                    0,
                    {"firmware                   V1.06\n", "cpi1                       400x400\n",
                     "polling-rate               8000\n", "right-button               RIGHT CLICK\n"},
                    "",
                    0,
                    0},
        CommandCase{"list", {"list"}, 0, {"PATH", "VM0001", "V1.06", "yes"}, "", 0, 0},
        CommandCase{"set",
                    {"set", "cpi1=800", "polling-rate=2000"},
                    0,
                    {"cpi1                       400x400 -> 800x800\n",
                     "polling-rate               8000 -> 2000\n", "Settings applied.\n"},
                    "",
                    1,
                    0},
        CommandCase{"set_dry_run", {"set", "--dry-run", "cpi1=800"}, 0, {"400x400 -> 800x800"}, "", 0, 0},
        CommandCase{"set_same_value",
                    {"set", "cpi1=400", "left-button=LEFT CLICK"},
                    0,
                    {"Nothing to change"},
                    "",
                    0,
                    0},
        CommandCase{"set_action_by_key",
                    {"set", "forward-button=Ctrl+Shift+A"},
                    0,
                    {"FORWARD -> Shift+Ctrl+A"},
                    "",
                    1,
                    0},
        CommandCase{
            "set_bad_value", {"set", "polling-rate=3000"}, 5, {}, "polling-rate: '3000' is not one of", 0, 0},
        CommandCase{"set_unknown_name", {"set", "dpi=800"}, 5, {}, "no setting is called 'dpi'", 0, 0},
        CommandCase{"set_contradiction",
                    {"set", "motion-sync=on", "polling-rate=8000"},
                    5,
                    {},
                    "add motion-sync=off",
                    0,
                    0},
        CommandCase{"set_not_an_assignment", {"set", "cpi1"}, 1, {}, "'cpi1' is not NAME=VALUE", 0, 0},
        CommandCase{"set_nothing", {"set"}, 1, {}, "assignments is required", 0, 0},
        CommandCase{"reset", {"reset"}, 0, {"Factory settings restored.\n"}, "", 0, 1},
        CommandCase{"no_command", {}, 1, {}, "A subcommand is required", 0, 0},
        CommandCase{"unknown_command", {"frobnicate"}, 1, {}, "frobnicate", 0, 0},
        CommandCase{"help", {"--help"}, 0, {"Exit codes: 0 done; 1 usage; 2 no mouse", "import"}, "", 0, 0},
        CommandCase{"set_help_lists_settings",
                    {"set", "--help"},
                    0,
                    {"left-multiclick-filter", "fixed-cpi:800x800"},
                    "",
                    0,
                    0},
        CommandCase{
            "get", {"get", "polling-rate", "cpi1", "left-spdt"}, 0, {"8000\n400x400\noff\n"}, "", 0, 0},
        CommandCase{"get_action", {"get", "right-button"}, 0, {"RIGHT CLICK\n"}, "", 0, 0},
        CommandCase{"get_unknown_name", {"get", "dpi"}, 5, {}, "no setting is called 'dpi'", 0, 0},
        CommandCase{"get_nothing", {"get"}, 1, {}, "names is required", 0, 0},
        CommandCase{"get_help_lists_names", {"get", "--help"}, 0, {"wheel-down", "polling-rate"}, "", 0, 0},
        CommandCase{"version", {"--version"}, 0, {"larkctl " LARK_VERSION "\n"}, "", 0, 0},
        CommandCase{"device_after_command", {"show", "--device", "VM0001"}, 0, {"(serial VM0001)"}, "", 0, 0},
        CommandCase{"device_with_equals", {"get", "--device=VM0001", "cpi1"}, 0, {"400x400\n"}, "", 0, 0},
        CommandCase{"device_between_assignments",
                    {"set", "cpi1=800", "--device", "VM0001", "polling-rate=2000"},
                    0,
                    {"400x400 -> 800x800", "8000 -> 2000"},
                    "",
                    1,
                    0},
        CommandCase{"unknown_device_after_command",
                    {"reset", "--device", "VM0009"},
                    2,
                    {},
                    "no Tarrow Lark 8k at 'VM0009'",
                    0,
                    0}),
    [](const auto& info) { return std::string(info.param.label); });

class EveryCommandsHelp : public testing::TestWithParam<const char*> {};

TEST_P(EveryCommandsHelp, ShowsTheGlobalOptions)
{
    CliRig rig;
    const CliRun run = rig.run({GetParam(), "--help"});
    EXPECT_EQ(run.code, 0) << run.err;
    for (const char* option : {"--device PATH|SERIAL", "--verbose", "--help"})
        EXPECT_TRUE(contains(run.out, option)) << option << " missing from:\n" << run.out;
    EXPECT_TRUE(rig.mouse.frameLog().empty());
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryCommandsHelp,
                         testing::Values("list", "show", "get", "set", "export", "import", "reset", "watch"));

TEST(CommandsWithoutAMouse, ListJsonIsAnEmptyListPlainListFails)
{
    struct Case {
        std::vector<std::string> arguments;
        int code;
        bool errorLine;
    };
    for (const Case& c : {Case{{"list", "--json"}, 0, false}, Case{{"list"}, 2, true}}) {
        SCOPED_TRACE(c.arguments.back());
        CliRig rig;
        rig.mouse.unplug();
        const CliRun run = rig.run(c.arguments);
        EXPECT_EQ(run.code, c.code);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.errorLine ? 1 : 0) << run.err;
        if (c.code == 0) {
            const json listed = json::parse(run.out);
            EXPECT_EQ(listed["version"], 1);
            EXPECT_EQ(listed["mice"], json::array());
        } else {
            EXPECT_EQ(run.out, "");
        }
    }
}

TEST(CommandsOnTheMouse, VerboseLogsTheFramesWhereverItStands)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"--verbose", "get", "cpi1"}, {"get", "--verbose", "cpi1"}, {"get", "cpi1", "--verbose"}}) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        CliRig rig;
        const CliRun run = rig.run(arguments);
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.out, "400x400\n");
        EXPECT_TRUE(contains(run.err, "lark.device: ")) << run.err;
        EXPECT_TRUE(contains(run.err, " sent [64] a1 02")) << run.err;      // the version asked
        EXPECT_TRUE(contains(run.err, " received [64] a1 01")) << run.err;  // and told
        // Off again afterwards: the next run says nothing.
        EXPECT_EQ(rig.run({"get", "cpi1"}).err, "");
    }
}

TEST(CommandsOnTheMouse, SetWritesTheValueAsThePageWould)
{
    CliRig rig;
    ASSERT_EQ(rig.run({"set", "cpi2=824x1650", "left-spdt=safe"}).code, 0);
    EXPECT_EQ(storedCpiX(rig.mouse, 1), 800);
    const SettingsBlock block = rig.mouse.storedBlock();
    EXPECT_EQ(block[0x23 + 5], 1);  // the level's X/Y-differ flag
    EXPECT_EQ(block[0x3D], 0xF0);   // left slot's filter byte: KV Safe
    EXPECT_EQ(rig.run({"show"}).out.find("left-multiclick-filter     -\n") != std::string::npos, true);
}

namespace {

// Another program writes the mouse right after larkctl first read it: between larkctl's read
// and its write, where a lost update would happen.
class OutsideWriteAfterFirstRead : public HookedMouse {
public:
    OutsideWriteAfterFirstRead(VirtualMouse& mouse, std::function<void(MouseSettings&)> change)
        : HookedMouse(mouse), change_(std::move(change))
    {
    }

protected:
    void afterGet(const std::uint8_t* data, int result) override
    {
        if (result <= 0 || data[0] != kSettingsReportId || done_)
            return;
        done_ = true;
        MouseSettings settings;
        decodeSettings(mouse_.storedBlock(), settings);
        change_(settings);
        SettingsBlock block = mouse_.storedBlock();
        encodeSettings(settings, block);
        mouse_.setStoredBlock(block);
    }

private:
    std::function<void(MouseSettings&)> change_;
    bool done_ = false;
};

}  // namespace

// set and import never write over settings they have not seen: what another program wrote
// between larkctl's read and its write stays, and larkctl's own change lands too.
TEST(CommandsOnTheMouse, AnOutsideWriteBetweenReadAndWriteIsNotLost)
{
    struct Case {
        const char* label;
        std::vector<std::string> arguments;
        std::string input;
        std::function<void(MouseSettings&)> outside;
        std::function<void(const MouseSettings&)> check;
    };
    const Case cases[] = {
        {"set", {"set", "cpi1=1000"}, "", [](MouseSettings& s) { s.pollingInterval = 8; },
         [](const MouseSettings& s) {
             EXPECT_EQ(s.pollingInterval, 8);
             EXPECT_EQ(s.cpiLevels[0].x, 1000);
         }},
        {"import", {"import", "-"}, R"({"format": "larkctl-profile", "version": 1, "settings": {"angle-snapping": true}})",
         [](MouseSettings& s) { s.rippleControl = 1; },
         [](const MouseSettings& s) {
             EXPECT_EQ(s.rippleControl, 1);
             EXPECT_EQ(s.angleSnapping, 1);
         }},
        // Motion sync from one writer and 8000 Hz from the other never meet in the mouse.
        {"motion sync over 8000 Hz", {"set", "motion-sync=on"}, "",
         [](MouseSettings& s) { s.pollingInterval = 1; },
         [](const MouseSettings& s) {
             EXPECT_EQ(s.motionSync, 1);
             EXPECT_EQ(s.pollingInterval, 2);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CliRig rig;
        MouseSettings start;
        decodeSettings(rig.mouse.storedBlock(), start);
        start.pollingInterval = 2;  // 4000 Hz
        SettingsBlock block = rig.mouse.storedBlock();
        encodeSettings(start, block);
        rig.mouse.setStoredBlock(block);
        OutsideWriteAfterFirstRead backend(rig.mouse, c.outside);
        const CliRun run = rig.run(c.arguments, c.input, &backend);
        ASSERT_EQ(run.code, 0) << run.err;
        MouseSettings held;
        decodeSettings(rig.mouse.storedBlock(), held);
        c.check(held);
    }
}

TEST(CommandsOnTheMouse, JsonShowAndListAreVersionedAndTyped)
{
    CliRig rig;
    const CliRun show = rig.run({"show", "--json"});
    ASSERT_EQ(show.code, 0) << show.err;
    const json shown = json::parse(show.out);
    EXPECT_EQ(shown["version"], 1);
    EXPECT_EQ(shown["firmware"], "V1.06");
    EXPECT_EQ(shown["device"]["serial"], "VM0001");
    EXPECT_EQ(shown["settings"]["polling-rate"], 8000);
    EXPECT_EQ(shown["settings"]["slam-click-filter"], true);
    EXPECT_EQ(shown["settings"]["cpi3"]["y"], 1600);

    const CliRun list = rig.run({"list", "--json"});
    ASSERT_EQ(list.code, 0) << list.err;
    const json listed = json::parse(list.out);
    EXPECT_EQ(listed["version"], 1);
    ASSERT_EQ(listed["mice"].size(), 1u);
    EXPECT_EQ(listed["mice"][0]["serial"], "VM0001");
    EXPECT_EQ(listed["mice"][0]["access"], true);
}

// What a mouse that cannot be opened asks the user to do on this platform.
#ifdef _WIN32
const std::string kPermissionFix = "another program holds it";
#else
const std::string kPermissionFix = "install the udev rule 70-lark-config.rules";
#endif

struct FailureCase {
    const char* label;
    std::function<void(VirtualMouse&)> fault;
    std::vector<std::string> arguments;
    int code;
    std::string err;
};

class Failures : public testing::TestWithParam<FailureCase> {};

TEST_P(Failures, ExitWithTheirCodeAndOneLine)
{
    CliRig rig;
    GetParam().fault(rig.mouse);
    const CliRun run = rig.run(GetParam().arguments);
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    EXPECT_TRUE(contains(run.err, GetParam().err)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(rig.writes(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Failures,
    testing::Values(
        FailureCase{
            "no_mouse_show", [](VirtualMouse& m) { m.unplug(); }, {"show"}, 2, "no Tarrow Lark 8k found"},
        FailureCase{
            "no_mouse_set", [](VirtualMouse& m) { m.unplug(); }, {"set", "cpi1=800"}, 2, "plug it in"},
        FailureCase{
            "no_mouse_list", [](VirtualMouse& m) { m.unplug(); }, {"list"}, 2, "no Tarrow Lark 8k found"},
        FailureCase{"permission",
                    [](VirtualMouse& m) {
                        m.fail(VirtualMouse::Call::Open, HidError::PermissionDenied, VirtualMouse::kForever);
                    },
                    {"show"},
                    3,
                    kPermissionFix},
        FailureCase{
            "settings_not_read",
            [](VirtualMouse& m) { m.fail(VirtualMouse::Call::Get, HidError::Other, VirtualMouse::kForever); },
            {"export"},
            4,
            "did not send its settings"},
        FailureCase{"unknown_device",
                    [](VirtualMouse&) {},
                    {"--device", "/dev/hidraw9", "show"},
                    2,
                    "no Tarrow Lark 8k at '/dev/hidraw9'"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(CommandsOnTheMouse, RefusedWriteAndUnconfirmedResetAreFailures)
{
    struct Case {
        const char* label;
        std::uint8_t command;  // from this command on, every status answer says "not done"
        std::vector<std::string> arguments;
        std::string err;
        int attempts;
    };
    const Case cases[] = {
        {"write refused", kCommandWriteSettings, {"set", "cpi1=800"}, "did not accept the settings", 3},
        {"reset unconfirmed", kCommandFactoryReset, {"reset"}, "did not confirm the factory reset", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CliRig rig;
        NotDoneAfter refusing(rig.mouse, c.command);
        const CliRun run = rig.run(c.arguments, "", &refusing);
        EXPECT_EQ(run.code, 4);
        EXPECT_TRUE(contains(run.err, c.err)) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(CliRig::writesOf(rig.mouse, c.command), c.attempts);
        EXPECT_FALSE(std::filesystem::exists(writeAnnouncementPath(rig.runtime.path())));
    }
}

// ---- several mice ----

class SeveralMice : public testing::Test {
protected:
    SeveralMice() : second(rig.sleeper.clock()), rack({&rig.mouse, &second})
    {
        second.setSerialNumber("VM0002");
    }

    CliRig rig;
    VirtualMouse second;
    MouseRack rack;
};

TEST_F(SeveralMice, WritingCommandsRefuseWithoutDeviceAndListThem)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"set", "cpi1=800"}, {"reset"}}) {
        const CliRun run = rig.run(arguments, "", &rack);
        EXPECT_EQ(run.code, 1);
        EXPECT_TRUE(contains(run.err, "2 mice found")) << run.err;
        EXPECT_TRUE(contains(run.err, "(VM0001)") && contains(run.err, "(VM0002)")) << run.err;
    }
    const CliRun import = rig.run({"import", "-"}, rig.run({"export"}, "", &rack).out, &rack);
    EXPECT_EQ(import.code, 1) << import.err;
    EXPECT_EQ(CliRig::commandsSent(second).size(), 0u);
    EXPECT_EQ(rig.writes(), 0);
}

TEST_F(SeveralMice, DeviceChoosesByPathOrSerial)
{
    EXPECT_EQ(rig.run({"--device", "VM0002", "set", "cpi1=800"}, "", &rack).code, 0);
    EXPECT_EQ(storedCpiX(second, 0), 800);
    EXPECT_EQ(storedCpiX(rig.mouse, 0), 400);
    EXPECT_EQ(rig.writes(), 0);

    const std::string firstPath =
        MouseRack::prefix(0) + VirtualMouse::pathOf(VirtualMouse::Collection::Config);
    EXPECT_EQ(rig.run({"--device", firstPath, "set", "cpi1=1600"}, "", &rack).code, 0);
    EXPECT_EQ(storedCpiX(rig.mouse, 0), 1600);
    EXPECT_EQ(storedCpiX(second, 0), 800);

    const CliRun list = rig.run({"list"}, "", &rack);
    EXPECT_EQ(list.code, 0);
    EXPECT_TRUE(contains(list.out, "VM0001") && contains(list.out, "VM0002")) << list.out;
}

TEST_F(SeveralMice, CloneOneMouseOntoTheOther)
{
    struct Case {
        const char* label;
        std::vector<std::string> exportArguments;
        std::vector<std::string> importArguments;
    };
    // The README's recipe names the mouse after the command.
    const Case cases[] = {
        {"device after the command",
         {"export", "--device", "VM0001", "-"},
         {"import", "--device", "VM0002", "-"}},
        {"device before the command",
         {"--device", "VM0001", "export", "-"},
         {"--device", "VM0002", "import", "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        second.restoreFactoryBlock();
        const CliRun set =
            rig.run({"--device", "VM0001", "set", "cpi3=850x1600", "middle-button=Ctrl+C", "left-handed=on"},
                    "", &rack);
        ASSERT_EQ(set.code, 0) << set.err;
        ASSERT_NE(second.storedBlock(), rig.mouse.storedBlock());
        const CliRun exported = rig.run(c.exportArguments, "", &rack);
        ASSERT_EQ(exported.code, 0) << exported.err;
        const CliRun imported = rig.run(c.importArguments, exported.out, &rack);
        ASSERT_EQ(imported.code, 0) << imported.err;
        EXPECT_EQ(second.storedBlock(), rig.mouse.storedBlock());
        rig.mouse.restoreFactoryBlock();
    }
}

// Two mice that present one serial number (clones do): a path still names exactly one of them,
// the shared number names neither.
class MiceSharingASerial : public SeveralMice {
protected:
    MiceSharingASerial() { second.setSerialNumber("VM0001"); }

    static std::string configPath(std::size_t mouse)
    {
        return MouseRack::prefix(mouse) + VirtualMouse::pathOf(VirtualMouse::Collection::Config);
    }
};

TEST_F(MiceSharingASerial, APathChoosesOneTheSerialIsRefusedWithBothPaths)
{
    struct Case {
        const char* label;
        std::vector<std::string> arguments;
        int code;
        std::uint16_t firstCpi;  // CPI level 1 of each mouse afterwards
        std::uint16_t secondCpi;
    };
    const Case cases[] = {
        {"first by path", {"set", "--device", configPath(0), "cpi1=800"}, 0, 800, 400},
        {"second by path", {"--device", configPath(1), "set", "cpi1=1600"}, 0, 800, 1600},
        {"the shared serial", {"set", "--device", "VM0001", "cpi1=3200"}, 1, 800, 1600},
        {"no device", {"set", "cpi1=3200"}, 1, 800, 1600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const CliRun run = rig.run(c.arguments, "", &rack);
        EXPECT_EQ(run.code, c.code) << run.err;
        if (c.code != 0) {
            EXPECT_TRUE(contains(run.err, configPath(0)) && contains(run.err, configPath(1))) << run.err;
        }
        EXPECT_EQ(storedCpiX(rig.mouse, 0), c.firstCpi);
        EXPECT_EQ(storedCpiX(second, 0), c.secondCpi);
    }
    // Reading by path reads that mouse, not the first one with the number.
    const CliRun get = rig.run({"get", "cpi1", "--device", configPath(1)}, "", &rack);
    EXPECT_EQ(get.code, 0) << get.err;
    EXPECT_EQ(get.out, "1600x1600\n");
}

TEST_F(SeveralMice, APathWinsOverASerialThatReadsTheSame)
{
    // The second mouse's serial number is the first mouse's path.
    const std::string firstPath =
        MouseRack::prefix(0) + VirtualMouse::pathOf(VirtualMouse::Collection::Config);
    second.setSerialNumber(firstPath);
    const CliRun run = rig.run({"set", "--device", firstPath, "cpi1=800"}, "", &rack);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(storedCpiX(rig.mouse, 0), 800);
    EXPECT_EQ(storedCpiX(second, 0), 400);
}

// ---- profiles ----

TEST(Profiles, AValueNoPageOffersIsExportedAsUnknownAndRefusedOnImport)
{
    CliRig source;
    SettingsBlock block = source.mouse.factoryBlock();
    block[0x0A] = 2;  // angle snapping: neither off nor on
    source.mouse.setStoredBlock(block);
    const CliRun exported = source.run({"export"});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_TRUE(contains(exported.out, "\"angle-snapping\": \"unknown-2\"")) << exported.out;

    CliRig fresh;
    const CliRun imported = fresh.run({"import", "-"}, exported.out);
    EXPECT_EQ(imported.code, 5);
    EXPECT_TRUE(contains(imported.err, "settings.angle-snapping")) << imported.err;
    EXPECT_TRUE(contains(imported.err, "stdin:")) << imported.err;
    EXPECT_TRUE(fresh.mouse.frameLog().empty());
}

TEST(Profiles, ExportedBlockOfAnEditedMouseRestoresByteForByte)
{
    CliRig source;
    MouseSettings s;
    setDefaults(s);
    s.opaqueAt00 = 0x33;
    s.opaqueAt07 = 0x44;
    s.opaqueAt08 = 0x55;
    s.opaque0F[19] = 0x99;
    s.buttons[SixthSlot].action = ButtonAction{32, 0xE2, 0, 0};
    s.buttons[WheelUpSlot].filter = 3;
    s.buttons[ForwardSlot].action = ButtonAction{12, 0, 900, 26000};
    SettingsBlock block{};
    encodeSettings(s, block);
    source.mouse.setStoredBlock(block);

    const std::string path = source.runtime.path() + "/profile.json";
    ASSERT_EQ(source.run({"export", path}).code, 0);

    CliRig fresh;
    const CliRun imported = fresh.run({"import", path});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_TRUE(contains(imported.out, "Profile applied.")) << imported.out;
    EXPECT_EQ(fresh.mouse.storedBlock(), block);
    EXPECT_EQ(fresh.writes(), 1);
}

TEST(Profiles, ShowThenSetEveryPrintedValueChangesNothing)
{
    CliRig rig;
    ASSERT_EQ(rig.run({"set", "cpi2=800x1650", "left-spdt=speed", "wheel-up=VOLUME UP",
                       "back-button=fixed-cpi:1200", "motion-sync=on", "forward-button=Ctrl+Alt+Del",
                       "cpi-levels=3"})
                  .code,
              0);
    const CliRun show = rig.run({"show"});
    ASSERT_EQ(show.code, 0);
    std::vector<std::string> arguments{"set"};
    std::istringstream lines(show.out);
    std::string line;
    int settings = 0;
    while (std::getline(lines, line)) {
        const std::size_t gap = line.find("  ");
        const std::string name = line.substr(0, gap);
        if (!findSetting(name))
            continue;  // device and firmware lines
        const std::size_t value = line.find_first_not_of(' ', gap);
        arguments.push_back(name + "=" + line.substr(value));
        ++settings;
    }
    EXPECT_EQ(settings, static_cast<int>(allSettings().size()));
    const int writesBefore = rig.writes();
    const CliRun set = rig.run(arguments);
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_TRUE(contains(set.out, "Nothing to change")) << set.out;
    EXPECT_EQ(rig.writes(), writesBefore);
}

struct BadInput {
    const char* label;
    std::string content;  // written to a file, given on stdin, or the path to import (Path)
    enum Source { File, Stdin, Missing, Directory, Path } source;
    std::string err;
};

class BadImports : public testing::TestWithParam<BadInput> {};

TEST_P(BadImports, AreRefusedBeforeAnyFrame)
{
    CliRig rig;
    const BadInput& c = GetParam();
    std::string argument = "-";
    if (c.source == BadInput::File) {
        argument = rig.runtime.path() + "/bad.json";
        std::ofstream(argument) << c.content;
    } else if (c.source == BadInput::Missing) {
        argument = rig.runtime.path() + "/nowhere.json";
    } else if (c.source == BadInput::Directory) {
        argument = rig.runtime.path();
    } else if (c.source == BadInput::Path) {
        argument = c.content;
    }
    const CliRun run = rig.run({"import", argument}, c.source == BadInput::Stdin ? c.content : "");
    EXPECT_EQ(run.code, 5) << run.err;
    EXPECT_TRUE(contains(run.err, c.err)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(rig.mouse.frameLog().empty()) << "the mouse was touched";
}

const std::string kGood =
    R"({"format": "larkctl-profile", "version": 1, "settings": {"cpi1": {"x": 800, "y": 800}}})";

std::string profileWith(const std::string& rest)
{
    return R"({"format": "larkctl-profile", "version": 1)" + rest + "}";
}

std::vector<BadInput> badInputs()
{
    std::vector<BadInput> cases{
        BadInput{"empty_stdin", "", BadInput::Stdin, "stdin: the profile is empty"},
        BadInput{"malformed", "{\"format\": ", BadInput::File, "bad.json:1: malformed JSON"},
        BadInput{"truncated", kGood.substr(0, kGood.size() - 3), BadInput::Stdin, "malformed JSON"},
        BadInput{"wrong_type",
                 R"({"format": "larkctl-profile", "version": 1, "settings": {"angle-snapping": "on"}})",
                 BadInput::Stdin, "settings.angle-snapping: expected true or false"},
        BadInput{"out_of_range",
                 "{\"format\": \"larkctl-profile\",\n \"version\": 1,\n \"settings\": {\"cpi1\": {\"x\": "
                 "30000, \"y\": 800}}}",
                 BadInput::File, "bad.json:3: settings.cpi1: CPI 30000 is out of range"},
        BadInput{"unknown_value",
                 R"({"format": "larkctl-profile", "version": 1, "settings": {"left-spdt": "fast"}})",
                 BadInput::Stdin, "settings.left-spdt"},
        BadInput{"unknown_name", R"({"format": "larkctl-profile", "version": 1, "settings": {"dpi": 800}})",
                 BadInput::Stdin, "settings.dpi: unknown setting"},
        BadInput{"newer_format", R"({"format": "larkctl-profile", "version": 7})", BadInput::Stdin,
                 "newer than this larkctl reads"},
        BadInput{"missing_file", "", BadInput::Missing, "cannot read"},
        BadInput{"directory", "", BadInput::Directory, "is a directory"},
        // Numbers beyond any range, where the parser gives up rather than the checks.
        BadInput{"number_overflow", profileWith(",\n \"settings\": {\"polling-rate\": 1e400}"),
                 BadInput::Stdin, "stdin:2: settings.polling-rate: a number out of any range"},
        BadInput{"number_overflow_on_top", R"({"format": "larkctl-profile", "version": -1e999})",
                 BadInput::File, "bad.json:1: version: a number out of any range"},
        BadInput{"two_to_the_64", profileWith(R"(, "settings": {"polling-rate": 18446744073709551616})"),
                 BadInput::Stdin, "settings.polling-rate: expected a number"},
        BadInput{"negative", profileWith(R"(, "settings": {"middle-multiclick-filter": -3})"),
                 BadInput::Stdin, "settings.middle-multiclick-filter"},
        BadInput{"fraction", profileWith(R"(, "settings": {"cpi-levels": 2.5})"), BadInput::Stdin,
                 "settings.cpi-levels: expected a number"},
        // A name twice: no silent "last one wins".
        BadInput{"setting_twice",
                 profileWith(",\n \"settings\": {\n  \"cpi-levels\": 2,\n  \"cpi-levels\": 3}"),
                 BadInput::File, "bad.json:4: settings.cpi-levels: given twice"},
        BadInput{"field_twice", profileWith(",\n \"version\": 1"), BadInput::Stdin,
                 "stdin:2: version: given twice"},
        BadInput{"opaque_twice", profileWith(R"(, "opaque": {"block-00": "00", "block-00": "01"})"),
                 BadInput::Stdin, "opaque.block-00: given twice"},
        BadInput{"unknown_field", profileWith(R"(, "extra": true)"), BadInput::Stdin,
                 "unknown field 'extra'"},
        // What is no profile's worth of JSON.
        BadInput{"deep_nesting", std::string(200000, '['), BadInput::Stdin, "nested deeper than"},
        BadInput{"deep_in_settings",
                 profileWith(R"(, "settings": {"cpi1": {"x": )" + std::string(40, '[') +
                             std::string(40, ']') + "}}"),
                 BadInput::Stdin, "nested deeper than"},
        BadInput{"invalid_utf8", profileWith(", \"firmware\": \"V1.06\xff\""), BadInput::Stdin,
                 "malformed JSON"},
        BadInput{"nul_byte", profileWith(std::string(", \"firmware\": \"V1") + '\0' + ".06\""),
                 BadInput::Stdin, "malformed JSON"},
        BadInput{"over_the_size_limit", kGood + std::string(kProfileSizeLimit, ' '), BadInput::Stdin,
                 "stdin: more than 1 MiB"},
        BadInput{"file_over_the_size_limit", std::string(kProfileSizeLimit, '\n') + kGood, BadInput::File,
                 "bad.json: more than 1 MiB"},
    };
#ifndef _WIN32
    // A device that never ends: reading stops at the limit.
    cases.push_back(BadInput{"endless_device", "/dev/zero", BadInput::Path, "/dev/zero: more than 1 MiB"});
#endif
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Table, BadImports, testing::ValuesIn(badInputs()),
                         [](const auto& info) { return std::string(info.param.label); });

// A profile from another firmware: the opaque bytes may mean something else there.
TEST(Profiles, AnotherFirmwaresProfileIsRefusedOrWithForceWrittenWithoutItsOpaqueBytes)
{
    struct Case {
        const char* label;
        const char* firmware;  // in the profile; nullptr for none
        std::vector<std::string> options;
        int code;
        bool settingsWritten;
        bool opaqueWritten;
        std::string err;
    };
    const Case cases[] = {
        {"same firmware", "\"V1.06\"", {}, 0, true, true, ""},
        {"no firmware named", "null", {}, 0, true, true, ""},
        {"firmware left out", nullptr, {}, 0, true, true, ""},
        {"other firmware",
         "\"V1.05\"",
         {},
         5,
         false,
         false,
         "the profile comes from firmware V1.05, the mouse runs V1.06; --force"},
        {"other firmware forced", "\"V1.05\"", {"--force"}, 0, true, false, ""},
        {"forced, same firmware", "\"V1.06\"", {"--force"}, 0, true, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CliRig rig;
        std::string profile = "{\"format\": \"larkctl-profile\",\n\"version\": 1,\n";
        if (c.firmware)
            profile += "\"firmware\": " + std::string(c.firmware) + ",\n";
        profile += R"("settings": {"cpi1": {"x": 800, "y": 800}}, "opaque": {"block-07": "5a"}})";
        std::vector<std::string> arguments{"import", "-"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliRun run = rig.run(arguments, profile);
        EXPECT_EQ(run.code, c.code) << run.err;
        if (c.err.empty()) {
            EXPECT_EQ(run.err, "");
        } else {
            EXPECT_TRUE(contains(run.err, "stdin:3: firmware: " + c.err)) << run.err;
        }
        EXPECT_EQ(storedCpiX(rig.mouse, 0), c.settingsWritten ? 800 : 400);
        EXPECT_EQ(rig.mouse.storedBlock()[0x07] == 0x5A, c.opaqueWritten);
        EXPECT_EQ(contains(run.out, "its opaque bytes are not"), c.settingsWritten && !c.opaqueWritten)
            << run.out;
    }
}

// ---- the window and larkctl together ----

TEST(OutsideAccess, AcceptedWritesAreAnnouncedOthersAreNot)
{
    CliRig rig;
    const std::string announcement = writeAnnouncementPath(rig.runtime.path());
    auto stamp = [&] {
        std::ifstream file(announcement);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    };
    ASSERT_EQ(rig.run({"show"}).code, 0);
    ASSERT_EQ(rig.run({"set", "cpi1=400"}).code, 0);  // nothing to change
    EXPECT_FALSE(std::filesystem::exists(announcement));

    ASSERT_EQ(rig.run({"set", "cpi1=800"}).code, 0);
    const std::string first = stamp();
    EXPECT_FALSE(first.empty());

    rig.mouse.answerStatus(2, VirtualMouse::kForever);
    EXPECT_EQ(rig.run({"set", "cpi1=900"}).code, 4);
    EXPECT_EQ(stamp(), first);
    rig.mouse.clearFaults();

    ASSERT_EQ(rig.run({"reset"}).code, 0);
    EXPECT_NE(stamp(), first);
}

TEST(OutsideAccess, LarkctlWaitsWhileAnotherProgramExchangesFrames)
{
    CliRig rig;
    const std::string path = VirtualMouse::pathOf(VirtualMouse::Collection::Config);
    std::optional<ExchangeLock> window(std::in_place, path, [] { return false; });
    ASSERT_TRUE(window->held());

    CliRun run;
    std::atomic<bool> finished{false};
    std::thread larkctl([&] {
        run = rig.run({"show"});
        finished = true;
    });
    // larkctl opened the mouse and stops at its lock: no exchange while the window holds it.
    EXPECT_TRUE(waitUntil([&] { return rig.mouse.openDeviceCount() > 0; }));
    EXPECT_FALSE(finished);
    for (const VirtualMouse::Frame& frame : rig.mouse.frameLog())
        EXPECT_TRUE(frame.direction == VirtualMouse::Direction::Open) << "a frame went out under the window's lock";
    window.reset();
    larkctl.join();
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(CliRig::writesOf(rig.mouse, kCommandReadSettings), 1);
}

// Ctrl+C while larkctl waits for the mouse: nothing is written, exit 130, said on stderr.
TEST(OutsideAccess, CtrlCWhileWaitingCancelsWithNothingWritten)
{
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"set", "cpi1=1000"}, std::vector<std::string>{"reset"},
          std::vector<std::string>{"import", "-"}}) {
        SCOPED_TRACE(command.front());
        CliRig rig;
        const SettingsBlock before = rig.mouse.storedBlock();
        const std::string path = VirtualMouse::pathOf(VirtualMouse::Collection::Config);
        std::optional<ExchangeLock> window(std::in_place, path, [] { return false; });
        cli::Wakeup interrupt;
        CliRun run;
        std::thread larkctl([&] {
            run = rig.run(command,
                          R"({"format": "larkctl-profile", "version": 1, "settings": {"cpi1": {"x": 1000, "y": 1000}}})",
                          nullptr, interrupt.handle());
        });
        EXPECT_TRUE(waitUntil([&] { return rig.mouse.openDeviceCount() > 0; }));
        interrupt.raise();
        larkctl.join();
        window.reset();
        EXPECT_EQ(run.code, 130) << run.err;
        EXPECT_NE(run.err.find("cancelled; nothing was written"), std::string::npos) << run.err;
        EXPECT_EQ(CliRig::writesOf(rig.mouse, kCommandWriteSettings), 0);
        EXPECT_EQ(CliRig::writesOf(rig.mouse, kCommandFactoryReset), 0);
        EXPECT_EQ(rig.mouse.storedBlock(), before);
    }
}

// ---- watch ----

// Hot-plug notices from the virtual mouse, behind a wait handle as udev's are behind a socket.
class QueuedHotplug : public PollableHotplug {
public:
    void post(bool arrival, const std::string& name)
    {
        std::lock_guard lock(mutex_);
        notices_.push_back(Notice{arrival, name});
        wakeup_.raise();
    }
    WaitHandle waitHandle() const override { return wakeup_.handle(); }
    std::vector<Notice> take() override
    {
        std::lock_guard lock(mutex_);
        wakeup_.clear();
        return std::exchange(notices_, {});
    }

private:
    std::mutex mutex_;
    cli::Wakeup wakeup_;
    std::vector<Notice> notices_;
};

struct WatchCase {
    const char* label;
    bool json;
    std::vector<std::string> lines;  // expected, in order, each a part of one output line
};

class Watch : public testing::TestWithParam<WatchCase> {};

TEST_P(Watch, OneLinePerEventUntilStopped)
{
    CliRig rig;
    QueuedHotplug hotplug;
    rig.mouse.setHotplugCallback([&](bool arrival, const std::string& path) { hotplug.post(arrival, path); });
    cli::Wakeup stop;

    SharedText text;
    std::ostream out(&text);
    std::ostringstream err;
    std::istringstream in;
    cli::Environment environment{rig.mouse, rig.sleeper,        in,       out,
                                 err,       rig.runtime.path(), &hotplug, stop.handle()};
    std::vector<std::string> arguments{"watch"};
    if (GetParam().json)
        arguments.push_back("--json");
    int code = -1;
    std::thread watch([&] { code = cli::runLarkctl(arguments, environment); });

    auto lineCount = [&] {
        const std::string now = text.text();
        return std::count(now.begin(), now.end(), '\n');
    };
    auto seen = [&](std::size_t lines) {
        return waitUntil([&] { return lineCount() >= static_cast<long>(lines); });
    };
    ASSERT_TRUE(seen(1)) << text.text();
    rig.mouse.pushEvent(6, 2);
    ASSERT_TRUE(seen(2)) << text.text();
    rig.mouse.pushEvent(0xB4, 1);  // accepted without action: no line
    rig.mouse.pushEvent(6, 8);
    ASSERT_TRUE(seen(3)) << text.text();
    rig.mouse.unplug();
    ASSERT_TRUE(seen(4)) << text.text();
    rig.mouse.plug();
    ASSERT_TRUE(seen(5)) << text.text();
    rig.mouse.pushEvent(6, 1);
    ASSERT_TRUE(seen(6)) << text.text();

    stop.raise();
    watch.join();
    EXPECT_EQ(code, 0) << err.str();

    std::istringstream lines(text.text());
    std::string line;
    for (const std::string& expected : GetParam().lines) {
        ASSERT_TRUE(std::getline(lines, line)) << "missing: " << expected;
        EXPECT_TRUE(contains(line, expected)) << line << " lacks " << expected;
        if (GetParam().json) {
            EXPECT_EQ(json::parse(line)["version"], 1);
        }
    }
    EXPECT_FALSE(std::getline(lines, line)) << "extra: " << line;
    EXPECT_EQ(rig.writes(), 0);
}

// The virtual mouse, sending a polling-rate event at its first feature read after arm(): the
// button pressed while a session reads the mouse after plug-in or at start-up.
class PressDuringRead : public HookedMouse {
public:
    explicit PressDuringRead(VirtualMouse& mouse) : HookedMouse(mouse) {}

    void arm(std::uint8_t interval) { armed_ = interval; }

protected:
    void beforeGet() override
    {
        if (const std::uint8_t interval = armed_.exchange(0))
            mouse_.pushEvent(kEventPollingRateChanged, interval);
    }

private:
    std::atomic<std::uint8_t> armed_{0};
};

TEST(WatchFromTheStart, ReportsAPressWhileTheMouseIsBeingRead)
{
    CliRig rig;
    PressDuringRead pressing(rig.mouse);
    QueuedHotplug hotplug;
    rig.mouse.setHotplugCallback([&](bool arrival, const std::string& path) { hotplug.post(arrival, path); });
    cli::Wakeup stop;
    SharedText text;
    std::ostream out(&text);
    std::ostringstream err;
    std::istringstream in;
    cli::Environment environment{pressing, rig.sleeper,        in,       out,
                                 err,      rig.runtime.path(), &hotplug, stop.handle()};

    // Each line as the event it tells: "plugged", "polling-rate 4000".
    auto events = [&] {
        std::vector<std::string> lines;
        std::istringstream all(text.text());
        for (std::string line; std::getline(all, line);)
            lines.push_back(line.rfind("polling-rate", 0) == 0 ? line : line.substr(0, line.find(' ')));
        return lines;
    };
    auto saw = [&](const std::string& event) {
        return waitUntil([&] {
            const std::vector<std::string> now = events();
            return std::find(now.begin(), now.end(), event) != now.end();
        });
    };

    pressing.arm(4);  // while watch starts up: 2000 Hz
    int code = -1;
    std::thread watch([&] { code = cli::runLarkctl({"watch"}, environment); });
    // A press after the reads marks the point by which every earlier event had its turn.
    ASSERT_TRUE(saw("connected")) << text.text();
    rig.mouse.pushEvent(kEventPollingRateChanged, 8);
    ASSERT_TRUE(saw("polling-rate 1000")) << text.text();
    rig.mouse.unplug();
    ASSERT_TRUE(saw("unplugged")) << text.text();
    pressing.arm(1);  // while the mouse is read after plug-in: 8000 Hz
    rig.mouse.plug();
    ASSERT_TRUE(saw("plugged")) << text.text();
    rig.mouse.pushEvent(kEventPollingRateChanged, 2);
    ASSERT_TRUE(saw("polling-rate 4000")) << text.text();
    stop.raise();
    watch.join();
    EXPECT_EQ(code, 0) << err.str();
    EXPECT_EQ(events(),
              (std::vector<std::string>{"connected", "polling-rate 2000", "polling-rate 1000", "unplugged",
                                        "plugged", "polling-rate 8000", "polling-rate 4000"}))
        << text.text();
}

INSTANTIATE_TEST_SUITE_P(Table, Watch,
                         testing::Values(WatchCase{"text",
                                                   false,
                                                   {"connected", "polling-rate 4000", "polling-rate 1000",
                                                    "unplugged", "plugged", "polling-rate 8000"}},
                                         WatchCase{
                                             "json",
                                             true,
                                             {R"("event":"connected")", R"("event":"polling-rate","hz":4000)",
                                              R"("event":"polling-rate","hz":1000)", R"("event":"unplugged")",
                                              R"("event":"plugged")", R"("hz":8000)"}}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
