#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "model/Cpi.h"

using namespace lark;

namespace {

struct NormalizeCase {
    std::uint32_t input;
    std::uint32_t expected;
};

class NormalizeCpi : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeCpi, MapsOntoTheGrid)
{
    EXPECT_EQ(normalizeCpi(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, NormalizeCpi,
                         ::testing::Values(NormalizeCase{0, 50}, NormalizeCase{1, 50}, NormalizeCase{49, 50},
                                           NormalizeCase{74, 50}, NormalizeCase{75, 100},
                                           NormalizeCase{1224, 1200}, NormalizeCase{1225, 1250},
                                           NormalizeCase{1234, 1250}, NormalizeCase{25974, 25950},
                                           NormalizeCase{25975, 26000}, NormalizeCase{26000, 26000},
                                           NormalizeCase{26001, 26000}, NormalizeCase{4294967295u, 26000}));

struct TextCase {
    const char* text;
    std::optional<std::uint32_t> leading;  // readLeadingInteger
    std::uint32_t committed;               // commitTextToCpi
};

class TextRules : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextRules, LeadingIntegerAndCommit)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(readLeadingInteger(c.text), c.leading) << '"' << c.text << '"';
    EXPECT_EQ(commitTextToCpi(c.text), c.committed) << '"' << c.text << '"';
    // The read takes the leading integer normalised, and no number where there is none.
    const std::optional<std::uint32_t> read = readCpiText(c.text);
    if (c.leading)
        EXPECT_EQ(read, normalizeCpi(*c.leading)) << '"' << c.text << '"';
    else
        EXPECT_FALSE(read.has_value()) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextRules,
    ::testing::Values(TextCase{"", std::nullopt, 50},     // empty: no number; a commit gives 50
                      TextCase{"   ", std::nullopt, 50},  // blanks only
                      TextCase{"0", 0u, 50}, TextCase{"1234", 1234u, 1250}, TextCase{"1225", 1225u, 1250},
                      TextCase{"1224", 1224u, 1200}, TextCase{"99999", 99999u, 26000},
                      TextCase{"0001000", 1000u, 1000},  // leading zeros are digits
                      TextCase{"  800", 800u, 800}, TextCase{"\t 800", 800u, 800},
                      TextCase{"800abc", 800u, 800},       // the rest after the run is ignored
                      TextCase{"8 00", 8u, 50},            // the run ends at the blank
                      TextCase{"abc", std::nullopt, 50},   // no digits: 0, normalised
                      TextCase{"-400", std::nullopt, 50},  // a sign is not a digit
                      TextCase{"+400", std::nullopt, 50}, TextCase{" -5", std::nullopt, 50},
                      TextCase{"x400", std::nullopt, 50}, TextCase{"2147483647", 2147483647u, 26000},
                      TextCase{"2147483648", 2147483648u, 26000}, TextCase{"4294967295", 4294967295u, 26000},
                      TextCase{"4294967296", 4294967295u, 26000},  // beyond 32 bits saturates
                      TextCase{"99999999999999999999999999999", 4294967295u, 26000},
                      TextCase{"\xEF\xBC\x91\xEF\xBC\x92", std::nullopt,
                               50}));  // full-width digits are not digits

TEST(CpiSliderMapping, PositionsAndValuesMeetAtTheEnds)
{
    EXPECT_EQ(sliderPositionToCpi(kCpiSliderMin), 50u);
    EXPECT_EQ(sliderPositionToCpi(kCpiSliderMax), 26000u);
    EXPECT_EQ(cpiToSliderPosition(50), kCpiSliderMin);
    EXPECT_EQ(cpiToSliderPosition(26000), kCpiSliderMax);
    for (int p = kCpiSliderMin; p <= kCpiSliderMax; ++p)
        ASSERT_EQ(cpiToSliderPosition(sliderPositionToCpi(p)), p);
}

TEST(CpiSliderMapping, OffGridInputStaysInRange)
{
    EXPECT_EQ(cpiToSliderPosition(0), 1);
    EXPECT_EQ(cpiToSliderPosition(1234), 25);
    EXPECT_EQ(cpiToSliderPosition(30000), 520);
    EXPECT_EQ(sliderPositionToCpi(0), 50u);
    EXPECT_EQ(sliderPositionToCpi(-7), 50u);
    EXPECT_EQ(sliderPositionToCpi(521), 26000u);
}

}  // namespace
