// larkctl's manual lists the settings from the same table as `larkctl set --help` and the window's
// tooltips: a setting added, renamed or reworded there fails here until the manual follows.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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

}  // namespace
}  // namespace lark
