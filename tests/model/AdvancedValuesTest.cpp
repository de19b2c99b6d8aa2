#include <gtest/gtest.h>

#include <optional>
#include <string_view>

#include "model/AdvancedValues.h"

using namespace lark;

TEST(AdvancedRules, PollingIndexAndIntervalMapBothWays)
{
    struct Row {
        int index;
        std::uint8_t interval;
    };
    for (const Row row : {Row{0, 8}, Row{1, 4}, Row{2, 2}, Row{3, 1}}) {
        EXPECT_EQ(pollingIntervalForIndex(row.index), row.interval) << row.index;
        EXPECT_EQ(pollingIndexForInterval(row.interval), row.index) << int(row.interval);
    }
    // No selection or an index beyond the list means 8000 Hz.
    EXPECT_EQ(pollingIntervalForIndex(-1), 1);
    EXPECT_EQ(pollingIntervalForIndex(4), 1);
    for (const std::uint8_t unknown : {0, 3, 5, 16, 255})
        EXPECT_EQ(pollingIndexForInterval(unknown), std::nullopt) << int(unknown);
}

TEST(AdvancedRules, SpdtIndexAndFilterByte)
{
    EXPECT_EQ(spdtIndexForFilter(0xF1), 1);
    EXPECT_EQ(spdtIndexForFilter(0xF0), 2);
    for (const std::uint8_t plain : {0, 8, 25, 26, 0xEF, 0xF2, 0xFF})
        EXPECT_EQ(spdtIndexForFilter(plain), 0) << int(plain);

    EXPECT_EQ(filterForSpdtIndex(0, 13), 13);
    EXPECT_EQ(filterForSpdtIndex(1, 13), 0xF1);
    EXPECT_EQ(filterForSpdtIndex(2, 13), 0xF0);
    EXPECT_EQ(filterForSpdtIndex(-1, 13), std::nullopt);
    EXPECT_EQ(filterForSpdtIndex(3, 13), std::nullopt);
}

TEST(AdvancedRules, ShownFilterReplacesValuesAbove25With8)
{
    EXPECT_EQ(shownFilter(0), 0);
    EXPECT_EQ(shownFilter(25), 25);
    EXPECT_EQ(shownFilter(26), 8);
    EXPECT_EQ(shownFilter(40), 8);
    EXPECT_EQ(shownFilter(255), 8);
}

TEST(AdvancedRules, ReadFilterTextTakesTheLeadingByte)
{
    struct Row {
        std::string_view text;
        std::optional<int> value;
    };
    const Row rows[] = {
        {"0", 0},
        {"8", 8},
        {"255", 255},
        {"007", 7},
        {"  12", 12},  // leading blanks are skipped
        {"\t3", 3},
        {"12abc", 12},  // anything after the number is ignored
        {"25 30", 25},
        {"256", std::nullopt},  // above a byte
        {"300", std::nullopt},
        {"99999999999999999999", std::nullopt},  // huge numbers do not wrap round
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"-5", std::nullopt},
        {"+5", std::nullopt},
        {"x12", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(readFilterText(row.text), row.value) << '"' << row.text << '"';
}

TEST(AdvancedRules, CommittedFilterLimitsTo25AndDefaultsTo0)
{
    struct Row {
        std::string_view text;
        int value;
    };
    const Row rows[] = {
        {"", 0},     {"abc", 0}, {"-3", 0},  {"0", 0},    {"7", 7},
        {"25", 25},  {"26", 25}, {"30", 25}, {"300", 25}, {"99999999999999999999", 25},
        {"012", 12}, {" 9", 9},  {"9x", 9},
    };
    for (const Row& row : rows)
        EXPECT_EQ(committedFilter(row.text), row.value) << '"' << row.text << '"';
}

TEST(AdvancedRules, LimitFilterKeepsTheTrackbarRange)
{
    EXPECT_EQ(limitFilter(0), 0);
    EXPECT_EQ(limitFilter(25), 25);
    EXPECT_EQ(limitFilter(26), 25);
    EXPECT_EQ(limitFilter(255), 25);
}
