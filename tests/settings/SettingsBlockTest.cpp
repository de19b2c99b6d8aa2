#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "settings/MouseSettings.h"
#include "settings/SettingsBlock.h"

using namespace lark;

namespace {

// The factory settings as the mouse's block holds them (bytes 0x00..0x6E).
const std::uint8_t kDefaultsEncoding[0x6F] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x04, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x90, 0x01, 0x90, 0x01, 0x00, 0x20, 0x03, 0x20, 0x03, 0x00, 0x40, 0x06,
    0x40, 0x06, 0x00, 0x80, 0x0C, 0x80, 0x0C, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x02,
    0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x10, 0x00, 0x00,
    0x00, 0x00, 0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x08, 0x09, 0xF1, 0x00, 0x00, 0x00, 0x00,
    0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x08, 0x01, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x08,
};

bool isCarried(std::size_t offset)
{
    return offset == 0x00 || (offset >= 0x05 && offset < kEncodedSettingsEnd);
}

SettingsBlock roundTrip(const SettingsBlock& in)
{
    MouseSettings s;
    decodeSettings(in, s);
    SettingsBlock out{};
    encodeSettings(s, out);
    return out;
}

}  // namespace

TEST(SettingsBlock, DefaultsEncodeToTheFactoryBlock)
{
    MouseSettings s;
    setDefaults(s);
    SettingsBlock block{};
    encodeSettings(s, block);
    for (std::size_t i = 0; i < sizeof kDefaultsEncoding; ++i)
        EXPECT_EQ(block[i], kDefaultsEncoding[i]) << "offset 0x" << std::hex << i;
    EXPECT_TRUE(std::all_of(block.begin() + 0x6F, block.end(), [](auto b) { return b == 0; }));
}

TEST(SettingsBlock, RoundTripKeepsCarriedBytesAndZeroesTheRest)
{
    std::mt19937 rng(20261210);
    std::vector<SettingsBlock> blocks;
    SettingsBlock ones;
    ones.fill(0xFF);
    blocks.push_back(ones);
    for (int n = 0; n < 200; ++n) {
        SettingsBlock b;
        for (auto& byte : b)
            byte = static_cast<std::uint8_t>(rng());
        blocks.push_back(b);
    }
    for (const auto& in : blocks) {
        const SettingsBlock out = roundTrip(in);
        for (std::size_t i = 0; i < kSettingsBlockSize; ++i)
            ASSERT_EQ(out[i], isCarried(i) ? in[i] : 0) << "offset 0x" << std::hex << i;
    }
}

TEST(SettingsBlock, SixteenBitValuesAreLittleEndian)
{
    MouseSettings s;
    setDefaults(s);
    s.cpiLevels[2].y = 26000;
    s.buttons[WheelDownSlot].action.param2 = 0xBEEF;
    SettingsBlock b{};
    encodeSettings(s, b);
    EXPECT_EQ(b[0x23 + 5 * 2 + 3], 0x90);
    EXPECT_EQ(b[0x23 + 5 * 2 + 4], 0x65);
    EXPECT_EQ(b[0x37 + 7 * 7 + 4], 0xEF);
    EXPECT_EQ(b[0x37 + 7 * 7 + 5], 0xBE);

    MouseSettings back;
    decodeSettings(b, back);
    EXPECT_EQ(back.cpiLevels[2].y, 26000);
    EXPECT_EQ(back, s);
}

TEST(SettingsBlock, OpaqueBytesSurviveAndUnknownBytesAreIgnored)
{
    SettingsBlock in{};
    for (int i = 0; i < kOpaque0FSize; ++i)
        in[0x0F + i] = static_cast<std::uint8_t>(0xA0 + i);
    in[0x01] = in[0x02] = in[0x03] = in[0x04] = 0x5A;
    in[0x6F] = in[0x3FF] = 0x77;

    MouseSettings s;
    decodeSettings(in, s);
    for (int i = 0; i < kOpaque0FSize; ++i)
        EXPECT_EQ(s.opaque0F[i], 0xA0 + i);

    MouseSettings fromZeros;
    SettingsBlock zerosOutside = in;
    zerosOutside[0x01] = zerosOutside[0x02] = zerosOutside[0x03] = zerosOutside[0x04] = 0;
    zerosOutside[0x6F] = zerosOutside[0x3FF] = 0;
    decodeSettings(zerosOutside, fromZeros);
    EXPECT_EQ(s, fromZeros);
}

TEST(SettingsBlock, EncodeWritesOnlyItsBytesIntoTheCallersBuffer)
{
    MouseSettings s;
    setDefaults(s);
    std::array<std::uint8_t, kChangeDetectionSize> buf;
    buf.fill(0xCC);
    encodeSettings(s, buf);
    for (std::size_t i = 0; i < buf.size(); ++i) {
        if (isCarried(i))
            EXPECT_EQ(buf[i], kDefaultsEncoding[i]) << i;
        else
            EXPECT_EQ(buf[i], 0xCC) << i;
    }
}

TEST(SettingsBlock, DecodeOverwritesEveryField)
{
    SettingsBlock ones;
    ones.fill(0xFF);
    MouseSettings s;
    setDefaults(s);
    decodeSettings(ones, s);
    EXPECT_EQ(s.pollingInterval, 0xFF);
    EXPECT_EQ(s.cpiLevels[3].x, 0xFFFF);
    EXPECT_EQ(s.buttons[0].filter, 0xFF);
    EXPECT_EQ(s.opaque0F[19], 0xFF);
    EXPECT_EQ(s.opaqueAt0D, 0xFF);
    EXPECT_EQ(s.opaqueAt08, 0xFF);
}
