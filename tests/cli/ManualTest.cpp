// larkctl's manual lists the settings from the same table as `larkctl set --help` and the window's
// tooltips: a setting added, renamed or reworded there fails here until the manual follows.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "sim/RecordingSleeper.h"
#include "sim/VirtualMouse.h"

#include "model/Vocabulary.h"

namespace lark {
namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The SETTINGS table as the table makes it: one row per setting, its values, then its help.
std::string expectedTable()
{
    std::string table = "[[ *Name*\n:< *Values*\n";
    for (const Setting& setting : allSettings())
        table += "|  " + std::string(setting.name) + "\n:  " + std::string(setting.values) + ". " +
                 helpText(setting) + "\n";
    return table;
}

TEST(Manual, SettingsTableIsTheVocabulary)
{
    const std::string page = fileText(LARK_SOURCE_DIR "/docs/man/larkctl.1.scd");
    ASSERT_FALSE(page.empty());
    const std::size_t heading = page.find("# SETTINGS\n\n");
    ASSERT_NE(heading, std::string::npos);
    const std::size_t start = heading + std::string("# SETTINGS\n\n").size();
    const std::size_t end = page.find("\n\n", start);
    EXPECT_EQ(page.substr(start, end - start + 1), expectedTable())
        << "docs/man/larkctl.1.scd, section SETTINGS, should read:\n"
        << expectedTable();
}

// What larkctl prints for these arguments (its help texts).
std::string helpOf(const std::vector<std::string>& arguments)
{
    RecordingSleeper sleeper;
    VirtualMouse mouse{sleeper.clock()};
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Environment environment{mouse, sleeper, in, out, err, ""};
    cli::runLarkctl(arguments, environment);
    return out.str();
}

std::set<std::string> longOptions(const std::string& text, const std::regex& pattern)
{
    std::set<std::string> options;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
        options.insert((*it)[1]);
    return options;
}

// Every option larkctl's help offers, for the program and for each command, is in the manual,
// and the manual names none that larkctl does not take.
TEST(Manual, OptionsAreThoseOfTheHelp)
{
    const std::string page = fileText(LARK_SOURCE_DIR "/docs/man/larkctl.1.scd");
    const std::regex inHelp(R"((--[a-z][a-z-]*))");
    std::set<std::string> offered;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, {"list", "--help"}, {"show", "--help"}, {"get", "--help"},
          {"set", "--help"}, {"export", "--help"}, {"import", "--help"}, {"reset", "--help"}, {"watch", "--help"}}) {
        const std::string help = helpOf(arguments);
        ASSERT_FALSE(help.empty()) << arguments.front();
        for (const std::string& option : longOptions(help, inHelp))
            offered.insert(option);
    }
    const std::set<std::string> documented = longOptions(page, std::regex(R"(\*(--[a-z][a-z-]*)\*)"));
    for (const std::string& option : offered)
        EXPECT_TRUE(documented.count(option)) << option << " is in larkctl's help but not in its manual";
    for (const std::string& option : documented)
        EXPECT_TRUE(offered.count(option)) << option << " is in the manual but larkctl does not offer it";
}

}  // namespace
}  // namespace lark
