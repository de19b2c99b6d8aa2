#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "model/ActionText.h"
#include "model/Actions.h"
#include "model/KeyUsages.h"

using namespace lark;

namespace {

ButtonAction act(std::uint8_t type, std::uint8_t code, std::uint16_t param1 = 0, std::uint16_t param2 = 0)
{
    return ButtonAction{type, code, param1, param2};
}

std::string describe(const ButtonAction& a)
{
    std::string text = "{";
    text.append(std::to_string(a.type)).append(",").append(std::to_string(a.code)).append(",");
    return text.append(std::to_string(a.param1)).append(",").append(std::to_string(a.param2)).append("}");
}

// Every action the window can produce, plus a few only a mouse can hold.
std::vector<ButtonAction> everyAction()
{
    std::vector<ButtonAction> actions;
    for (const NamedAction& named : namedActions())
        actions.push_back(named.action);
    // Every usage of the keyboard page, named or not, with every modifier combination.
    for (std::uint16_t usage = 1; usage <= 0xFF; ++usage) {
        for (std::uint8_t modifiers = 0; modifiers <= 0x0F; ++modifiers) {
            actions.push_back(keyboardAction(usage, modifiers));
        }
    }
    for (std::uint16_t x : {50, 800, 26000})
        for (std::uint16_t y : {50, 800, 1650})
            actions.push_back(encodeFixedCpiAction(x, y));
    actions.push_back(act(3, 7, 0x1234, 0x5678));  // no caption at all
    actions.push_back(act(12, 0, 7, 7));           // a fixed CPI off the grid
    actions.push_back(act(2, 0, 0x1234, 0));       // not a keyboard-page usage at all
    actions.push_back(act(2, 0, 0xE1, 0));         // Left Shift without its own bit, as a mouse may hold it
    return actions;
}

TEST(ActionText, EveryActionReadsBackAsItself)
{
    for (const ButtonAction& action : everyAction()) {
        const std::string text = actionText(action);
        const ActionParse parsed = parseAction(text);
        ASSERT_TRUE(std::holds_alternative<ButtonAction>(parsed))
            << describe(action) << " -> '" << text << "': " << std::get<ActionParseError>(parsed).message;
        EXPECT_EQ(std::get<ButtonAction>(parsed), action) << describe(action) << " -> '" << text << "'";
    }
}

TEST(ActionText, UsesTheWindowsCaptionWheneverItIdentifiesTheAction)
{
    int fallbacks = 0;
    for (const ButtonAction& action : everyAction()) {
        const std::optional<std::string> caption = actionCaption(action);
        const std::string text = actionText(action);
        if (!caption || text == *caption || text + " " == *caption)
            continue;
        // Only where the caption is shared or says too little does the text differ from it.
        ++fallbacks;
        const ActionParse parsed = parseAction(*caption);
        const ButtonAction* back = std::get_if<ButtonAction>(&parsed);
        EXPECT_TRUE(!back || !(*back == action)) << "'" << *caption << "' identifies " << describe(action)
                                                 << " but larkctl wrote '" << text << "'";
    }
    EXPECT_LT(fallbacks, static_cast<int>(everyAction().size()));
}

struct ParseCase {
    const char* text;
    ButtonAction expected;
};

class ActionParseTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ActionParseTable, Parses)
{
    const ActionParse parsed = parseAction(GetParam().text);
    ASSERT_TRUE(std::holds_alternative<ButtonAction>(parsed)) << std::get<ActionParseError>(parsed).message;
    EXPECT_EQ(std::get<ButtonAction>(parsed), GetParam().expected)
        << describe(std::get<ButtonAction>(parsed));
}

INSTANTIATE_TEST_SUITE_P(
    Words, ActionParseTable,
    testing::Values(ParseCase{"LEFT CLICK", act(0, 1)}, ParseCase{"  left   click ", act(0, 1)},
                    ParseCase{"FORWARD", act(0, 16)}, ParseCase{"volume up", act(32, 0xE9)},
                    // A word never means a key in one case and an action in another: the action
                    // wins, and key: names the key.
                    ParseCase{"BACK", act(0, 8)}, ParseCase{"Back", act(0, 8)},
                    ParseCase{"key:Back", act(2, 0, 42)}, ParseCase{"Volume Up", act(32, 0xE9)},
                    ParseCase{"key: volume up", act(2, 0, 128)}, ParseCase{"Ctrl+key:Back", act(2, CtrlBit, 42)},
                    // The usual spellings of keys, and a name the keypad shares means the main block's key.
                    ParseCase{"Escape", act(2, 0, 0x29)}, ParseCase{"Esc", act(2, 0, 0x29)},
                    ParseCase{"Delete", act(2, 0, 0x4C)}, ParseCase{"Enter", act(2, 0, 0x28)},
                    ParseCase{"Return", act(2, 0, 0x28)}, ParseCase{"Super+L", act(2, WinBit, 0x0F)},
                    ParseCase{"+", act(2, 0, 0x2E)}, ParseCase{"Ctrl++", act(2, CtrlBit, 0x2E)},
                    ParseCase{"Key 0x58", act(2, 0, 0x58)}, ParseCase{"BROWSER", act(24, 0x96, 1)},
                    ParseCase{"CPI LOOP", act(9, 0xF1)}, ParseCase{"DISABLE", act(255, 0)},
                    ParseCase{"A", act(2, 0, 4)}, ParseCase{"Ctrl+Shift+A", act(2, CtrlBit | ShiftBit, 4)},
                    ParseCase{"shift+CTRL+a", act(2, CtrlBit | ShiftBit, 4)},
                    ParseCase{"Ctrl+Alt+Win+Shift+F5", act(2, 0x0F, 62)}, ParseCase{"Page Up", act(2, 0, 75)},
                    ParseCase{"Up Arrow", act(2, 0, 82)},
                    // A modifier key carries its own bit, as the key dialog encodes it.
                    ParseCase{"Left Shift", act(2, ShiftBit, 225)}, ParseCase{"Key 0x57", act(2, 0, 0x57)},
                    ParseCase{"Ctrl+Key 0x2e", act(2, CtrlBit, 0x2E)},
                    ParseCase{"fixed-cpi:800x1600", act(12, 0, 800, 1600)},
                    ParseCase{"fixed-cpi:820", act(12, 0, 800, 800)},
                    ParseCase{"fixed-cpi:849X50", act(12, 0, 850, 50)},
                    ParseCase{"CPI: 800", act(12, 0, 800, 800)},
                    ParseCase{"X: 800, Y: 1600", act(12, 0, 800, 1600)},
                    ParseCase{"raw:03,07,1234,5678", act(3, 7, 0x1234, 0x5678)}));

class ActionParseErrors : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ActionParseErrors, SaysWhatIsWrong)
{
    const ActionParse parsed = parseAction(GetParam().first);
    ASSERT_TRUE(std::holds_alternative<ActionParseError>(parsed))
        << GetParam().first << " parsed as " << describe(std::get<ButtonAction>(parsed));
    EXPECT_NE(std::get<ActionParseError>(parsed).message.find(GetParam().second), std::string::npos)
        << std::get<ActionParseError>(parsed).message;
}

INSTANTIATE_TEST_SUITE_P(
    Bad, ActionParseErrors,
    testing::Values(std::pair{"", "empty"}, std::pair{"   ", "empty"},
                    std::pair{"Hyper+A", "no action or key"}, std::pair{"Ctrl+", "no action or key"},
                    std::pair{"LEFT CLICKS", "no action or key"},

                    std::pair{"fixed-cpi:30000", "out of range"},
                    std::pair{"fixed-cpi:800x", "not a CPI value"}, std::pair{"CPI: 10", "out of range"},
                    std::pair{"raw:1,2", "raw:TT,CC"}, std::pair{"raw:100,0,0,0", "raw:TT,CC"},
                    std::pair{"Key 0x0", "Key 0x04"}, std::pair{"Key 0x10000", "Key 0x04"}));

}  // namespace
