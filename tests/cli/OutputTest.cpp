// Where larkctl's output goes: standard output that cannot take it, and the files export writes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <streambuf>
#include <thread>
#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "CliRig.h"
#include "cli/WatchWait.h"

using namespace lark;
using namespace lark::test;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

[[maybe_unused]] std::string fileText(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// Standard output on a full disk: every write fails, as write(2) does there.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override
    {
        errno = ENOSPC;
        return traits_type::eof();
    }
    std::streamsize xsputn(const char*, std::streamsize) override
    {
        errno = ENOSPC;
        return 0;
    }
    int sync() override
    {
        errno = ENOSPC;
        return -1;
    }
};

struct PrintingCase {
    const char* label;
    std::vector<std::string> arguments;
    std::string input;
};

class LostOutput : public testing::TestWithParam<PrintingCase> {};

// Whatever a command prints, output that does not get out is an error with its reason, also
// when the command itself did its work.
TEST_P(LostOutput, FailsWithAMessage)
{
    CliRig rig;
    FullDisk full;
    std::ostream out(&full);
    std::istringstream in(GetParam().input);
    std::ostringstream err;
    cli::Environment environment{rig.mouse, rig.sleeper, in, out, err, rig.runtime.path()};
    const int code = cli::runLarkctl(GetParam().arguments, environment);
    EXPECT_EQ(code, cli::ExitOutput) << err.str();
    EXPECT_EQ(err.str(),
              "larkctl: cannot write to standard output: " + std::string(std::strerror(ENOSPC)) + "\n");
}

const std::string kProfile = R"({"format": "larkctl-profile", "version": 1, "settings": {"cpi-levels": 2}})";

INSTANTIATE_TEST_SUITE_P(
    EveryPrintingCommand, LostOutput,
    testing::Values(PrintingCase{"list", {"list"}, ""}, PrintingCase{"list_json", {"list", "--json"}, ""},
                    PrintingCase{"show", {"show"}, ""}, PrintingCase{"show_json", {"show", "--json"}, ""},
                    PrintingCase{"get", {"get", "polling-rate"}, ""},
                    PrintingCase{"set", {"set", "cpi1=800"}, ""},
                    PrintingCase{"set_unchanged", {"set", "cpi1=400"}, ""},
                    PrintingCase{"set_dry_run", {"set", "--dry-run", "cpi1=800"}, ""},
                    PrintingCase{"export", {"export"}, ""}, PrintingCase{"export_dash", {"export", "-"}, ""},
                    PrintingCase{"import", {"import", "-"}, kProfile}, PrintingCase{"reset", {"reset"}, ""},
                    PrintingCase{"help", {"--help"}, ""}, PrintingCase{"set_help", {"set", "--help"}, ""},
                    PrintingCase{"version", {"--version"}, ""}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LostOutput, WatchStopsAtTheFirstLineThatCannotBeWritten)
{
    CliRig rig;
    FullDisk full;
    std::ostream out(&full);
    std::istringstream in;
    std::ostringstream err;
    cli::Wakeup neverStopped;  // watch has to end on its own
    cli::Environment environment{rig.mouse, rig.sleeper,        in,      out,
                                 err,       rig.runtime.path(), nullptr, neverStopped.handle()};
    EXPECT_EQ(cli::runLarkctl({"watch"}, environment), cli::ExitOutput);
    EXPECT_TRUE(contains(err.str(), "cannot write to standard output")) << err.str();
}

#ifndef _WIN32

// ---- export writes through to what it is given ----

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::set<std::string> namesIn(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

struct ExportCase {
    const char* label;
    // Prepares the folder and gives the name to export to.
    std::function<std::string(const std::filesystem::path& folder)> prepare;
    // Checks what the export left, given the profile `show --json` implies.
    std::function<void(const std::filesystem::path& folder, const CliRun& run, const std::string& profile)>
        check;
};

class ExportTargets : public testing::TestWithParam<ExportCase> {};

TEST_P(ExportTargets, AreWrittenThrough)
{
    CliRig rig;
    const std::string profile = rig.run({"export", "-"}).out;
    ASSERT_FALSE(profile.empty());
    TempDir folder;
    const std::string name = GetParam().prepare(folder.path());
    const CliRun run = rig.run({"export", name});
    GetParam().check(folder.path(), run, profile);
}

const ExportCase kExportCases[] = {
    {"new_file", [](const std::filesystem::path& folder) { return (folder / "p.json").string(); },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string& profile) {
         EXPECT_EQ(run.code, 0) << run.err;
         EXPECT_EQ(fileText(folder / "p.json"), profile);
         struct stat info {};
         ASSERT_EQ(::stat((folder / "p.json").c_str(), &info), 0);
         EXPECT_EQ(info.st_mode & 07777, 0666 & ~currentUmask());
         EXPECT_EQ(namesIn(folder), std::set<std::string>{"p.json"});
     }},
    {"private_file_keeps_mode_and_owner",
     [](const std::filesystem::path& folder) {
         const std::filesystem::path file = folder / "p.json";
         std::ofstream(file) << "old";
         ::chmod(file.c_str(), 0600);
         if (::geteuid() == 0) {
             EXPECT_EQ(::chown(file.c_str(), 4242, 4343), 0);  // someone else's, when that can be made
         }
         return file.string();
     },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string& profile) {
         EXPECT_EQ(run.code, 0) << run.err;
         EXPECT_EQ(fileText(folder / "p.json"), profile);
         struct stat info {};
         ASSERT_EQ(::stat((folder / "p.json").c_str(), &info), 0);
         EXPECT_EQ(info.st_mode & 07777, 0600u);
         EXPECT_EQ(info.st_uid, ::geteuid() == 0 ? 4242u : ::geteuid());
         if (::geteuid() == 0) {
             EXPECT_EQ(info.st_gid, 4343u);
         }
         EXPECT_EQ(namesIn(folder), std::set<std::string>{"p.json"});
     }},
    {"symlink",
     [](const std::filesystem::path& folder) {
         std::filesystem::create_directory(folder / "real");
         std::ofstream(folder / "real" / "p.json") << "old";
         std::filesystem::create_symlink("real/p.json", folder / "link.json");
         return (folder / "link.json").string();
     },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string& profile) {
         EXPECT_EQ(run.code, 0) << run.err;
         EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.json"));
         EXPECT_EQ(fileText(folder / "real" / "p.json"), profile);
         EXPECT_EQ(namesIn(folder / "real"), std::set<std::string>{"p.json"});
     }},
    {"chain_of_links_to_a_missing_file",
     [](const std::filesystem::path& folder) {
         std::filesystem::create_symlink(folder / "second", folder / "first");
         std::filesystem::create_symlink("target.json", folder / "second");
         return (folder / "first").string();
     },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string& profile) {
         EXPECT_EQ(run.code, 0) << run.err;
         EXPECT_TRUE(std::filesystem::is_symlink(folder / "first"));
         EXPECT_TRUE(std::filesystem::is_symlink(folder / "second"));
         EXPECT_EQ(fileText(folder / "target.json"), profile);
     }},
    {"fifo",
     [](const std::filesystem::path& folder) {
         const std::filesystem::path fifo = folder / "fifo";
         EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
         // A reader on the other end, as `cat fifo` would be; its text lands in a file.
         std::thread([fifo, copy = folder / "read-from-fifo"] {
             std::ofstream(copy) << fileText(fifo);
         }).detach();
         return fifo.string();
     },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string& profile) {
         EXPECT_EQ(run.code, 0) << run.err;
         struct stat info {};
         ASSERT_EQ(::lstat((folder / "fifo").c_str(), &info), 0);
         EXPECT_TRUE(S_ISFIFO(info.st_mode));
         EXPECT_TRUE(waitUntil([&] { return fileText(folder / "read-from-fifo") == profile; }));
     }},
    {"dev_stdout", [](const std::filesystem::path&) { return std::string("/dev/stdout"); },
     [](const std::filesystem::path&, const CliRun& run, const std::string& profile) {
         EXPECT_EQ(run.code, 0) << run.err;
         EXPECT_EQ(run.out, profile);
     }},
    {"directory", [](const std::filesystem::path& folder) { return folder.string(); },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string&) {
         EXPECT_EQ(run.code, cli::ExitOutput);
         EXPECT_TRUE(contains(run.err, "cannot write " + folder.string() + ": " + std::strerror(EISDIR)))
             << run.err;
         EXPECT_TRUE(namesIn(folder).empty());
     }},
    {"missing_folder",
     [](const std::filesystem::path& folder) { return (folder / "nowhere" / "p.json").string(); },
     [](const std::filesystem::path& folder, const CliRun& run, const std::string&) {
         EXPECT_EQ(run.code, cli::ExitOutput);
         EXPECT_TRUE(contains(run.err, std::strerror(ENOENT))) << run.err;
         EXPECT_TRUE(namesIn(folder).empty());
     }},
};

INSTANTIATE_TEST_SUITE_P(Table, ExportTargets, testing::ValuesIn(kExportCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Process substitution hands larkctl /dev/fd/N, the write end of a pipe.
TEST(ExportTargetsFd, ProcessSubstitutionGetsTheProfile)
{
    CliRig rig;
    const std::string profile = rig.run({"export", "-"}).out;
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const CliRun run = rig.run({"export", "/dev/fd/" + std::to_string(fds[1])});
    ::close(fds[1]);
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(received, profile);
}

// A disk that fills up mid-write (a file size limit stands in for it): the old profile stays
// whole and nothing else is left beside it.
TEST(ExportTargetsFd, AFailedWriteLeavesTheOldFileAsItWas)
{
    CliRig rig;
    TempDir folder;
    const std::filesystem::path file = std::filesystem::path(folder.path()) / "p.json";
    std::ofstream(file) << "the old profile";

    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit small = before;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliRun run = rig.run({"export", file.string()});
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(run.code, cli::ExitOutput);
    EXPECT_TRUE(contains(run.err, "cannot write " + file.string() + ": " + std::strerror(EFBIG))) << run.err;
    EXPECT_EQ(fileText(file), "the old profile");
    EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"p.json"});
}

// ---- the program itself: stdout on a full disk, or a pipe whose reader is gone ----

struct ProgramRun {
    int status = -1;
    std::string err;
};

enum class Sink { FullDisk, ClosedPipe };

ProgramRun runProgram(const std::vector<std::string>& arguments, Sink sink)
{
    ProgramRun result;
    int errPipe[2];
    if (::pipe(errPipe) != 0)
        return result;
    int out = -1;
    int closedPipe[2] = {-1, -1};
    if (sink == Sink::FullDisk) {
        out = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    } else if (::pipe(closedPipe) == 0) {
        ::close(closedPipe[0]);
        out = closedPipe[1];
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<std::string> argv{LARKCTL_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t child = -1;
    const int spawned = posix_spawn(&child, LARKCTL_PATH, &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out);
    ::close(errPipe[1]);
    char buffer[4096];
    for (ssize_t n; (n = ::read(errPipe[0], buffer, sizeof buffer)) > 0;)
        result.err.append(buffer, static_cast<std::size_t>(n));
    ::close(errPipe[0]);
    if (spawned == 0)
        ::waitpid(child, &result.status, 0);
    return result;
}

struct ProgramCase {
    const char* label;
    std::vector<std::string> arguments;
};

class ProgramOutput : public testing::TestWithParam<std::tuple<ProgramCase, Sink>> {};

// Commands that print without a mouse: help, the version, and an empty list of mice.
TEST_P(ProgramOutput, LostOutputIsAnErrorNotADeath)
{
    const auto& [c, sink] = GetParam();
    const ProgramRun run = runProgram(c.arguments, sink);
    ASSERT_TRUE(WIFEXITED(run.status))
        << "ended by signal " << (WIFSIGNALED(run.status) ? WTERMSIG(run.status) : 0);
    EXPECT_EQ(WEXITSTATUS(run.status), cli::ExitOutput) << run.err;
    EXPECT_EQ(run.err, "larkctl: cannot write to standard output: " +
                           std::string(std::strerror(sink == Sink::FullDisk ? ENOSPC : EPIPE)) + "\n");
}

INSTANTIATE_TEST_SUITE_P(WithoutAMouse, ProgramOutput,
                         testing::Combine(testing::Values(ProgramCase{"help", {"--help"}},
                                                          ProgramCase{"version", {"--version"}},
                                                          ProgramCase{"set_help", {"set", "--help"}},
                                                          ProgramCase{"list_json", {"list", "--json"}}),
                                          testing::Values(Sink::FullDisk, Sink::ClosedPipe)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).label) +
                                    (std::get<1>(info.param) == Sink::FullDisk ? "_to_full_disk"
                                                                               : "_to_closed_pipe");
                         });

#endif

}  // namespace
