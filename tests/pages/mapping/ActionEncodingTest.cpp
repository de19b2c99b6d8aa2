#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "model/Actions.h"
#include "model/KeyNames.h"
#include "pages/mapping/KeyCapture.h"
#include "settings/SettingsBlock.h"

using namespace lark;

namespace {

ButtonAction act(std::uint8_t type, std::uint8_t code, std::uint16_t param1 = 0, std::uint16_t param2 = 0)
{
    return ButtonAction{type, code, param1, param2};
}

struct MenuCase {
    const char* text;
    ButtonAction action;
    ActionGroup group;
};

// The action every named menu entry writes, in the menu's order.
const MenuCase kMenu[] = {
    {"LEFT CLICK", act(0, 1), ActionGroup::Mouse},
    {"RIGHT CLICK", act(0, 2), ActionGroup::Mouse},
    {"MIDDLE CLICK", act(0, 4), ActionGroup::Mouse},
    {"FORWARD", act(0, 16), ActionGroup::Mouse},
    {"BACK", act(0, 8), ActionGroup::Mouse},
    {"SCROLL UP", act(1, 1), ActionGroup::Mouse},
    {"SCROLL DOWN", act(1, 0xFF), ActionGroup::Mouse},
    {"CPI LOOP", act(9, 0xF1), ActionGroup::Cpi},
    {"PLAY/PAUSE", act(32, 0xCD), ActionGroup::Media},
    {"NEXT", act(32, 0xB5), ActionGroup::Media},
    {"PREVIOUS", act(32, 0xB6), ActionGroup::Media},
    {"MUTE", act(32, 0xE2), ActionGroup::Media},
    {"VOLUME UP", act(32, 0xE9), ActionGroup::Media},
    {"VOLUME DOWN", act(32, 0xEA), ActionGroup::Media},
    {"BROWSER", act(24, 0x96, 1), ActionGroup::Media},
    {"EXPLORER", act(24, 0x94, 1), ActionGroup::Media},
    {"DISABLE", act(255, 0), ActionGroup::Other},
};

}  // namespace

TEST(MenuEntries, EveryNamedActionWritesItsActionAndCaptionsBackToItsText)
{
    ASSERT_EQ(namedActions().size(), std::size(kMenu));
    for (std::size_t i = 0; i < std::size(kMenu); ++i) {
        const MenuCase& c = kMenu[i];
        const NamedAction& named = namedActions()[i];
        EXPECT_EQ(std::string(named.caption), c.text);
        EXPECT_EQ(named.action, c.action) << c.text;
        EXPECT_EQ(named.group, c.group) << c.text;
        // The caption decoded from the stored action is the text the menu showed.
        KeyCaptureState capture;
        EXPECT_EQ(actionCaption(named.action, capture), std::optional<std::string>(c.text));
    }
}

namespace {

struct CaptionCase {
    ButtonAction action;
    std::optional<std::string> caption;
};

const CaptionCase kCaptions[] = {
    {act(0, 3), std::nullopt},
    {act(0, 0), std::nullopt},
    {act(0, 32), std::nullopt},
    {act(1, 2), std::nullopt},
    {act(1, 0), std::nullopt},
    {act(1, 0xFF), "SCROLL DOWN"},
    {act(9, 0), std::nullopt},
    {act(9, 0xF1), "CPI LOOP"},
    {act(9, 0xF1, 7, 7), "CPI LOOP"},
    {act(12, 0, 800, 800), "CPI: 800"},
    {act(12, 0, 800, 1600), "X: 800, Y: 1600"},
    {act(12, 5, 400, 400), "CPI: 400"},  // code is not examined
    {act(24, 0x96, 0), "BROWSER"},       // param1 is not examined
    {act(24, 0x94, 9), "EXPLORER"},
    {act(24, 0x95, 1), std::nullopt},
    {act(32, 0xCC), std::nullopt},
    {act(255, 0), "DISABLE"},
    {act(255, 0x42, 3, 4), "DISABLE"},
    {act(3, 0), std::nullopt},
    {act(10, 0), std::nullopt},
    {act(254, 0), std::nullopt},
};

}  // namespace

TEST(ActionCaption, EveryKindAndItsUnknownCodes)
{
    for (const CaptionCase& c : kCaptions) {
        KeyCaptureState capture{0x41, 6, "kept"};
        EXPECT_EQ(actionCaption(c.action, capture), c.caption)
            << "type " << int(c.action.type) << " code " << int(c.action.code);
        // Only keyboard actions touch the capture record.
        EXPECT_EQ(capture.capturedKeyCode, 0x41);
        EXPECT_EQ(capture.capturedModifiers, 6);
        EXPECT_EQ(capture.capturedKeyText, "kept");
    }
}

namespace {

struct KeyCaptionCase {
    std::uint8_t modifiers;
    std::uint16_t usage;
    const char* caption;
    std::uint16_t keyCode;  // what the decoder leaves in capturedKeyCode
};

const KeyCaptionCase kKeyCaptions[] = {
    {2 | 1, 4, "Shift+Ctrl+A", 4},  // every modifier, in the dialog's order
    {1 | 8 | 4, 4, "Ctrl+Win+Alt+A", 4},
    {8 | 4, 4, "Win+Alt+A", 4},
    {4, 4, "Alt+A", 4},
    {15, 4, "Shift+Ctrl+Win+Alt+A", 4},
    {2 | 1, 225, "Ctrl+Left Shift", 225},  // a modifier key does not repeat its own modifier
    {2, 229, "Right Shift", 229},
    {1, 224, "Left Control", 224},
    {1, 228, "Right Control", 228},
    {8, 227, "Left Window", 227},
    {8, 231, "Right Window", 231},
    {4, 226, "Left Alt", 226},
    {4, 230, "Right Alt", 230},
    {15, 230, "Shift+Ctrl+Win+Right Alt", 230},
    {2, 224, "Shift+Left Control", 224},
    {1, 225, "Ctrl+Left Shift", 225},
    {0, 40, "Enter", 40},
    {0, 82, "Up Arrow ", 82},
    {2, 128, "Shift+Volume Up ", 128},
    {0xF0, 4, "A", 4},  // the high four bits carry no modifier
    {0, 72, "Pause", 72},
    {0, 0x68, "F13", 0x68},
    // A usage the tool does not know shows its number, not an unrelated key's name.
    {0, 100, "Non-US \\", 100},
    {0, 0x8D, "Key 0x8D", 0x8D},
    {0, 0, "Key 0x00", 0},
    {2, 0, "Shift+Key 0x00", 0},
    {4, 0x0400, "Alt+Key 0x400", 0x0400},
};

}  // namespace

TEST(ActionCaption, KeyboardKeyCaptionsAndTheCaptureTheyLeave)
{
    for (const KeyCaptionCase& c : kKeyCaptions) {
        KeyCaptureState capture{0x99, 0xF0, "kept"};
        const ButtonAction stored = act(2, c.modifiers, c.usage, 0x1234);
        const ButtonAction before = stored;
        EXPECT_EQ(actionCaption(stored, capture), std::optional<std::string>(c.caption)) << c.caption;
        EXPECT_EQ(capture.capturedKeyCode, c.keyCode) << c.caption;
        EXPECT_EQ(capture.capturedModifiers, c.modifiers) << c.caption;
        EXPECT_EQ(capture.capturedKeyText, "kept");
        EXPECT_EQ(stored, before);
    }
}

TEST(ActionCaption, DecodingLeavesTheSlotUntouched)
{
    MouseSettings settings;
    setDefaults(settings);
    settings.buttons[2].action = act(2, 3, 4, 0);
    settings.buttons[2].filter = 17;
    const MouseSettings before = settings;
    KeyCaptureState capture;
    for (const ButtonSlot& slot : settings.buttons)
        actionCaption(slot.action, capture);
    EXPECT_EQ(settings, before);
}

namespace {

struct EncodeCase {
    std::uint16_t usage;
    std::uint8_t boxes;  // modifier bits of the dialog's check boxes
    std::uint8_t code;
};

const EncodeCase kEncodes[] = {
    {225, 0, 2},  {225, 1, 3}, {229, 0, 2},  {224, 0, 1},  {228, 2, 3},   {226, 0, 4},
    {230, 8, 12}, {227, 0, 8}, {231, 4, 12}, {227, 8, 8},  {4, 2 | 1, 3}, {4, 0, 0},
    {40, 15, 15}, {72, 0, 0},  {0x68, 0, 0}, {0x7F, 2, 2}, {0xE8, 0, 0},  {0, 0, 0},
};

}  // namespace

TEST(EncodeKeyboardAction, ModifierKeysAddTheirOwnBitAndTheUsageIsKept)
{
    for (const EncodeCase& c : kEncodes) {
        KeyCaptureState capture{c.usage, c.boxes, "text"};
        const ButtonAction encoded = encodeKeyboardAction(capture);
        EXPECT_EQ(encoded, act(2, c.code, c.usage, 0)) << "usage 0x" << std::hex << c.usage;
        EXPECT_EQ(capture.capturedModifiers, c.code);
        EXPECT_EQ(capture.capturedKeyCode, c.usage);
        EXPECT_EQ(capture.capturedKeyText, "text");
    }
}

TEST(EncodeKeyboardAction, CaptionAfterCaptureIsTheCaptionAfterARefresh)
{
    for (std::uint16_t usage : {4, 40, 0x5D, 0x68, 0x7F, 0x87, 224, 225, 226, 227, 228, 229, 230, 231}) {
        for (std::uint8_t boxes = 0; boxes < 16; ++boxes) {
            KeyCaptureState capture{usage, boxes, ""};
            const std::string shownAfterCapture = keyboardCaption(boxes, usage);
            const ButtonAction encoded = encodeKeyboardAction(capture);
            KeyCaptureState decoded;
            EXPECT_EQ(actionCaption(encoded, decoded), std::optional<std::string>(shownAfterCapture))
                << "usage " << usage << " boxes " << int(boxes);
        }
    }
    KeyCaptureState capture{4, 2 | 1, ""};
    EXPECT_EQ(keyboardCaption(2 | 1, 4), "Shift+Ctrl+A");
    EXPECT_EQ(encodeKeyboardAction(capture), act(2, 3, 4, 0));
}

TEST(EncodeKeyboardAction, StoredUnknownKeyReadsAsItsNumberAndIsWrittenBackUnchanged)
{
    // Written by another tool: a usage without a name, and modifier bits beyond the four known.
    for (const ButtonAction stored :
         {act(2, 0x00, 0x9C, 0), act(2, 0x25, 0x8D, 0x0700), act(2, 0xF2, 0x0123, 5)}) {
        MouseSettings settings;
        setDefaults(settings);
        settings.buttons[3].action = stored;
        SettingsBlock block{};
        encodeSettings(settings, block);
        const SettingsBlock before = block;

        MouseSettings readBack;
        decodeSettings(block, readBack);
        KeyCaptureState capture;
        const std::optional<std::string> caption = actionCaption(readBack.buttons[3].action, capture);
        ASSERT_TRUE(caption.has_value());
        EXPECT_NE(caption->find("Key 0x"), std::string::npos) << *caption;

        SettingsBlock written{};
        encodeSettings(readBack, written);
        EXPECT_EQ(written, before) << *caption;
    }
}

TEST(ModifierPrefix, EveryCheckedBoxInFixedOrder)
{
    EXPECT_EQ(modifierPrefix(0), "");
    EXPECT_EQ(modifierPrefix(2), "Shift+");
    EXPECT_EQ(modifierPrefix(1), "Ctrl+");
    EXPECT_EQ(modifierPrefix(8), "Win+");
    EXPECT_EQ(modifierPrefix(4), "Alt+");
    EXPECT_EQ(modifierPrefix(15), "Shift+Ctrl+Win+Alt+");
    EXPECT_EQ(modifierPrefix(4 | 1), "Ctrl+Alt+");
}

TEST(FixedCpi, EncodingAndCaption)
{
    EXPECT_EQ(encodeFixedCpiAction(400, 400), act(12, 0, 400, 400));
    EXPECT_EQ(encodeFixedCpiAction(50, 26000), act(12, 0, 50, 26000));
    EXPECT_EQ(fixedCpiCaption(400, 400), "CPI: 400");
    EXPECT_EQ(fixedCpiCaption(800, 1600), "X: 800, Y: 1600");
    EXPECT_EQ(fixedCpiCaption(1600, 800), "X: 1600, Y: 800");
    EXPECT_EQ(fixedCpiCaption(26000, 50), "X: 26000, Y: 50");
}
