// Every key as Qt reports it, through the usage the dialog captures, the caption the page shows
// and the bytes APPLY writes, against usages written out from the HID Usage Tables
// (Keyboard/Keypad page 0x07), independently of the code under test.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/Actions.h"
#include "model/KeyUsages.h"
#include "pages/mapping/KeyCapture.h"
#include "pages/mapping/KeyEventMapping.h"
#include "settings/SettingsBlock.h"
#include "support/TestPlatform.h"

using namespace lark;

namespace {

// Key events belong to an input device that the application owns; without one the device
// Qt makes up for the events outlives the test.
class GuiApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        lark::test::useOffscreenByDefault();
        app_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "key_event_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> app_;
};

const auto* const kGuiEnvironment = ::testing::AddGlobalTestEnvironment(new GuiApplicationEnvironment);

// HID Usage Tables, Keyboard/Keypad page.
const std::map<std::string, std::uint16_t>& hidUsages()
{
    static const std::map<std::string, std::uint16_t> usages = [] {
        std::map<std::string, std::uint16_t> u = {
            {"Enter", 0x28},       {"Escape", 0x29},   {"Backspace", 0x2A},   {"Tab", 0x2B},
            {"Space", 0x2C},       {"-", 0x2D},        {"=", 0x2E},           {"[", 0x2F},
            {"]", 0x30},           {"\\", 0x31},       {"NonUS#", 0x32},      {";", 0x33},
            {"'", 0x34},           {"`", 0x35},        {",", 0x36},           {".", 0x37},
            {"/", 0x38},           {"CapsLock", 0x39}, {"PrintScreen", 0x46}, {"ScrollLock", 0x47},
            {"Pause", 0x48},       {"Insert", 0x49},   {"Home", 0x4A},        {"PageUp", 0x4B},
            {"Delete", 0x4C},      {"End", 0x4D},      {"PageDown", 0x4E},    {"Right", 0x4F},
            {"Left", 0x50},        {"Down", 0x51},     {"Up", 0x52},          {"NumLock", 0x53},
            {"KP/", 0x54},         {"KP*", 0x55},      {"KP-", 0x56},         {"KP+", 0x57},
            {"KPEnter", 0x58},     {"KP0", 0x62},      {"KP.", 0x63},         {"NonUS\\", 0x64},
            {"Application", 0x65}, {"Power", 0x66},    {"KP=", 0x67},         {"Execute", 0x74},
            {"Help", 0x75},        {"Menu", 0x76},     {"Select", 0x77},      {"Stop", 0x78},
            {"Again", 0x79},       {"Undo", 0x7A},     {"Cut", 0x7B},         {"Copy", 0x7C},
            {"Paste", 0x7D},       {"Find", 0x7E},     {"Mute", 0x7F},        {"VolumeUp", 0x80},
            {"VolumeDown", 0x81},  {"KP,", 0x85},      {"LeftCtrl", 0xE0},    {"LeftShift", 0xE1},
            {"LeftAlt", 0xE2},     {"LeftGUI", 0xE3},  {"RightCtrl", 0xE4},   {"RightShift", 0xE5},
            {"RightAlt", 0xE6},    {"RightGUI", 0xE7},
        };
        for (int i = 0; i < 26; ++i)
            u[std::string(1, char('A' + i))] = static_cast<std::uint16_t>(0x04 + i);
        for (int i = 1; i <= 9; ++i) {
            u[std::to_string(i)] = static_cast<std::uint16_t>(0x1E + i - 1);
            u[std::string("KP").append(std::to_string(i))] = static_cast<std::uint16_t>(0x59 + i - 1);
            u[std::string("Intl").append(std::to_string(i))] = static_cast<std::uint16_t>(0x87 + i - 1);
            u[std::string("Lang").append(std::to_string(i))] = static_cast<std::uint16_t>(0x90 + i - 1);
        }
        u["0"] = 0x27;
        for (int i = 1; i <= 12; ++i)
            u[std::string("F").append(std::to_string(i))] = static_cast<std::uint16_t>(0x3A + i - 1);
        for (int i = 13; i <= 24; ++i)
            u[std::string("F").append(std::to_string(i))] = static_cast<std::uint16_t>(0x68 + i - 13);
        return u;
    }();
    return usages;
}

constexpr quint32 kNone = 0;
constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

struct KeyCase {
    const char* what;
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;  // X11 key code: Linux input code + 8
    quint32 keysym;
    const char* hidKey;   // name in hidUsages(), nullptr for a key that must be refused
    const char* caption;  // what the page shows for it
};

// clang-format off
const KeyCase kCases[] = {
    // Letters, with and without Shift, with and without native codes.
    {"a", Qt::Key_A, Qt::NoModifier, 38, 0x61, "A", "A"},
    {"Shift+m", Qt::Key_M, Qt::ShiftModifier, 58, 0x4d, "M", "M"},
    {"z", Qt::Key_Z, Qt::NoModifier, kNone, kNone, "Z", "Z"},
    // Digits and their US-layout shifted symbols.
    {"1", Qt::Key_1, Qt::NoModifier, 10, 0x31, "1", "1"},
    {"5", Qt::Key_5, Qt::NoModifier, kNone, kNone, "5", "5"},
    {"9", Qt::Key_9, Qt::NoModifier, 18, 0x39, "9", "9"},
    {"0", Qt::Key_0, Qt::NoModifier, 19, 0x30, "0", "0"},
    {"!", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, "1", "1"},
    {"@", Qt::Key_At, Qt::ShiftModifier, kNone, kNone, "2", "2"},
    {"#", Qt::Key_NumberSign, Qt::ShiftModifier, 12, 0x23, "3", "3"},
    {"$", Qt::Key_Dollar, Qt::ShiftModifier, kNone, kNone, "4", "4"},
    {"%", Qt::Key_Percent, Qt::ShiftModifier, kNone, kNone, "5", "5"},
    {"^", Qt::Key_AsciiCircum, Qt::ShiftModifier, kNone, kNone, "6", "6"},
    {"&", Qt::Key_Ampersand, Qt::ShiftModifier, kNone, kNone, "7", "7"},
    {"* main", Qt::Key_Asterisk, Qt::ShiftModifier, 17, 0x2a, "8", "8"},
    {"(", Qt::Key_ParenLeft, Qt::ShiftModifier, kNone, kNone, "9", "9"},
    {")", Qt::Key_ParenRight, Qt::ShiftModifier, 19, 0x29, "0", "0"},
    // Main-block punctuation, both symbols of each key.
    {"-", Qt::Key_Minus, Qt::NoModifier, 20, 0x2d, "-", "-"},
    {"_", Qt::Key_Underscore, Qt::ShiftModifier, 20, 0x5f, "-", "-"},
    {"=", Qt::Key_Equal, Qt::NoModifier, 21, 0x3d, "=", "+"},
    {"+ main", Qt::Key_Plus, Qt::ShiftModifier, 21, 0x2b, "=", "+"},
    {"[", Qt::Key_BracketLeft, Qt::NoModifier, 34, 0x5b, "[", "["},
    {"{", Qt::Key_BraceLeft, Qt::ShiftModifier, kNone, kNone, "[", "["},
    {"]", Qt::Key_BracketRight, Qt::NoModifier, 35, 0x5d, "]", "]"},
    {"}", Qt::Key_BraceRight, Qt::ShiftModifier, kNone, kNone, "]", "]"},
    {"\\", Qt::Key_Backslash, Qt::NoModifier, 51, 0x5c, "\\", "\\"},
    {"|", Qt::Key_Bar, Qt::ShiftModifier, kNone, kNone, "\\", "\\"},
    {";", Qt::Key_Semicolon, Qt::NoModifier, 47, 0x3b, ";", ";"},
    {":", Qt::Key_Colon, Qt::ShiftModifier, kNone, kNone, ";", ";"},
    {"'", Qt::Key_Apostrophe, Qt::NoModifier, 48, 0x27, "'", "'"},
    {"\"", Qt::Key_QuoteDbl, Qt::ShiftModifier, 48, 0x22, "'", "'"},
    {"`", Qt::Key_QuoteLeft, Qt::NoModifier, 49, 0x60, "`", "`"},
    {"~", Qt::Key_AsciiTilde, Qt::ShiftModifier, 49, 0x7e, "`", "`"},
    {",", Qt::Key_Comma, Qt::NoModifier, 59, 0x2c, ",", ","},
    {"<", Qt::Key_Less, Qt::ShiftModifier, 59, 0x3c, ",", ","},
    {".", Qt::Key_Period, Qt::NoModifier, 60, 0x2e, ".", "."},
    {">", Qt::Key_Greater, Qt::ShiftModifier, kNone, kNone, ".", "."},
    {"/", Qt::Key_Slash, Qt::NoModifier, 61, 0x2f, "/", "/"},
    {"?", Qt::Key_Question, Qt::ShiftModifier, kNone, kNone, "/", "/"},
    // ISO keys, told apart by the scan code.
    {"< on the ISO key", Qt::Key_Less, Qt::NoModifier, 94, 0x3c, "NonUS\\", "Non-US \\"},
    {"\\ on the ISO key (UK)", Qt::Key_Backslash, Qt::NoModifier, 94, 0x5c, "NonUS\\", "Non-US \\"},
    {"# beside Enter (UK)", Qt::Key_NumberSign, Qt::NoModifier, 51, 0x23, "NonUS#", "Non-US #"},
    // Whitespace and control keys.
    {"Return", Qt::Key_Return, Qt::NoModifier, 36, 0xff0d, "Enter", "Enter"},
    {"Escape", Qt::Key_Escape, Qt::NoModifier, 9, 0xff1b, "Escape", "Esc"},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, 22, 0xff08, "Backspace", "Back"},
    {"Tab", Qt::Key_Tab, Qt::NoModifier, 23, 0xff09, "Tab", "Tab"},
    {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, 23, 0xfe20, "Tab", "Tab"},
    {"Space", Qt::Key_Space, Qt::NoModifier, 65, 0x20, "Space", "Space"},
    {"Caps Lock", Qt::Key_CapsLock, Qt::NoModifier, 66, 0xffe5, "CapsLock", "Caps Lock"},
    // Function keys.
    {"F1", Qt::Key_F1, Qt::NoModifier, 67, 0xffbe, "F1", "F1"},
    {"F10", Qt::Key_F10, Qt::NoModifier, kNone, kNone, "F10", "F10"},
    {"F12", Qt::Key_F12, Qt::NoModifier, 96, 0xffc9, "F12", "F12"},
    {"F13", Qt::Key_F13, Qt::NoModifier, 191, 0xffca, "F13", "F13"},
    {"F18", Qt::Key_F18, Qt::NoModifier, kNone, kNone, "F18", "F18"},
    {"F24", Qt::Key_F24, Qt::NoModifier, kNone, kNone, "F24", "F24"},
    // System keys and the editing block.
    {"Print Screen", Qt::Key_Print, Qt::NoModifier, 107, 0xff61, "PrintScreen", "Print Screen"},
    {"Alt+Print Screen", Qt::Key_SysReq, Qt::AltModifier, 107, 0xff15, "PrintScreen", "Print Screen"},
    {"Scroll Lock", Qt::Key_ScrollLock, Qt::NoModifier, 78, 0xff14, "ScrollLock", "Scroll Lock"},
    {"Pause", Qt::Key_Pause, Qt::NoModifier, 127, 0xff13, "Pause", "Pause"},
    {"Ctrl+Break", Qt::Key_Cancel, Qt::ControlModifier, 127, kNone, "Pause", "Pause"},
    {"Insert", Qt::Key_Insert, Qt::NoModifier, 118, 0xff63, "Insert", "Ins"},
    {"Home", Qt::Key_Home, Qt::NoModifier, 110, 0xff50, "Home", "Home"},
    {"Page Up", Qt::Key_PageUp, Qt::NoModifier, 112, 0xff55, "PageUp", "Page Up"},
    {"Delete", Qt::Key_Delete, Qt::NoModifier, 119, 0xffff, "Delete", "Del"},
    {"End", Qt::Key_End, Qt::NoModifier, 115, 0xff57, "End", "End"},
    {"Page Down", Qt::Key_PageDown, Qt::NoModifier, 117, 0xff56, "PageDown", "Page Down"},
    {"Right", Qt::Key_Right, Qt::NoModifier, 114, 0xff53, "Right", "Right Arrow"},
    {"Left", Qt::Key_Left, Qt::NoModifier, 113, 0xff51, "Left", "Left Arrow"},
    {"Down", Qt::Key_Down, Qt::NoModifier, 116, 0xff54, "Down", "Down Arrow"},
    {"Up", Qt::Key_Up, Qt::NoModifier, 111, 0xff52, "Up", "Up Arrow "},
    {"Menu", Qt::Key_Menu, Qt::NoModifier, 135, 0xff67, "Application", "Application"},
    // Keypad with Num Lock on.
    {"Num Lock", Qt::Key_NumLock, Qt::NoModifier, 77, 0xff7f, "NumLock", "Num Lock"},
    {"KP /", Qt::Key_Slash, kKeypad, 106, 0xffaf, "KP/", "/"},
    {"KP *", Qt::Key_Asterisk, kKeypad, 63, 0xffaa, "KP*", "*"},
    {"KP -", Qt::Key_Minus, kKeypad, 82, 0xffad, "KP-", "-"},
    {"KP +", Qt::Key_Plus, kKeypad, 86, 0xffab, "KP+", "+"},
    {"KP Enter", Qt::Key_Enter, kKeypad, 104, 0xff8d, "KPEnter", "Enter"},
    {"KP 1", Qt::Key_1, kKeypad, 87, 0xffb1, "KP1", "1"},
    {"KP 2", Qt::Key_2, kKeypad, kNone, kNone, "KP2", "2"},
    {"KP 3", Qt::Key_3, kKeypad, kNone, kNone, "KP3", "3"},
    {"KP 4", Qt::Key_4, kKeypad, kNone, kNone, "KP4", "4"},
    {"KP 5", Qt::Key_5, kKeypad, 84, 0xffb5, "KP5", "5"},
    {"KP 6", Qt::Key_6, kKeypad, kNone, kNone, "KP6", "6"},
    {"KP 7", Qt::Key_7, kKeypad, kNone, kNone, "KP7", "7"},
    {"KP 8", Qt::Key_8, kKeypad, kNone, kNone, "KP8", "8"},
    {"KP 9", Qt::Key_9, kKeypad, 81, 0xffb9, "KP9", "9"},
    {"KP 0", Qt::Key_0, kKeypad, 90, 0xffb0, "KP0", "0"},
    {"KP .", Qt::Key_Period, kKeypad, 91, 0xffae, "KP.", "."},
    {"KP decimal comma", Qt::Key_Comma, kKeypad, 91, 0xffac, "KP.", "."},
    {"KP =", Qt::Key_Equal, kKeypad, 125, 0xffbd, "KP=", "="},
    {"KP comma", Qt::Key_Comma, kKeypad, 129, 0xffac, "KP,", ","},
    // Keypad with Num Lock off: the same keys, by position.
    {"KP 1 as End", Qt::Key_End, kKeypad, 87, 0xff9c, "KP1", "1"},
    {"KP 2 as Down", Qt::Key_Down, kKeypad, kNone, kNone, "KP2", "2"},
    {"KP 3 as Page Down", Qt::Key_PageDown, kKeypad, kNone, kNone, "KP3", "3"},
    {"KP 4 as Left", Qt::Key_Left, kKeypad, kNone, kNone, "KP4", "4"},
    {"KP 5 as Clear", Qt::Key_Clear, kKeypad, 84, 0xff9d, "KP5", "5"},
    {"KP 5 as Clear, no keypad flag", Qt::Key_Clear, Qt::NoModifier, kNone, kNone, "KP5", "5"},
    {"KP 6 as Right", Qt::Key_Right, kKeypad, kNone, kNone, "KP6", "6"},
    {"KP 7 as Home", Qt::Key_Home, kKeypad, 79, 0xff95, "KP7", "7"},
    {"KP 8 as Up", Qt::Key_Up, kKeypad, kNone, kNone, "KP8", "8"},
    {"KP 9 as Page Up", Qt::Key_PageUp, kKeypad, kNone, kNone, "KP9", "9"},
    {"KP 0 as Insert", Qt::Key_Insert, kKeypad, 90, 0xff9e, "KP0", "0"},
    {"KP . as Delete", Qt::Key_Delete, kKeypad, 91, 0xff9f, "KP.", "."},
    // Keys beyond the classic board.
    {"Power", Qt::Key_PowerOff, Qt::NoModifier, 124, 0x1008ff2a, "Power", "Power"},
    {"Execute", Qt::Key_Execute, Qt::NoModifier, kNone, kNone, "Execute", "Execute"},
    {"Help", Qt::Key_Help, Qt::NoModifier, 146, 0xff6a, "Help", "Help"},
    {"Menu key", Qt::Key_Menu, Qt::NoModifier, 147, 0xff67, "Menu", "Menu"},
    {"Select", Qt::Key_Select, Qt::NoModifier, kNone, kNone, "Select", "Select"},
    {"Stop", Qt::Key_Stop, Qt::NoModifier, kNone, kNone, "Stop", "Stop"},
    {"Stop as Cancel", Qt::Key_Cancel, Qt::NoModifier, 136, 0xff69, "Stop", "Stop"},
    {"Again", Qt::Key_Redo, Qt::NoModifier, 137, 0xff66, "Again", "Again"},
    {"Undo", Qt::Key_Undo, Qt::NoModifier, 139, 0xff65, "Undo", "Undo"},
    {"Cut", Qt::Key_Cut, Qt::NoModifier, kNone, kNone, "Cut", "Cut"},
    {"Copy", Qt::Key_Copy, Qt::NoModifier, kNone, kNone, "Copy", "Copy"},
    {"Paste", Qt::Key_Paste, Qt::NoModifier, kNone, kNone, "Paste", "Paste"},
    {"Find", Qt::Key_Find, Qt::NoModifier, 144, 0xff68, "Find", "Find"},
    {"Mute", Qt::Key_VolumeMute, Qt::NoModifier, 121, 0x1008ff12, "Mute", "Mute"},
    {"Volume Up", Qt::Key_VolumeUp, Qt::NoModifier, 123, 0x1008ff13, "VolumeUp", "Volume Up "},
    {"Volume Down", Qt::Key_VolumeDown, Qt::NoModifier, 122, 0x1008ff11, "VolumeDown", "Volume Down"},
    // International keys.
    {"Ro", Qt::Key_Backslash, Qt::NoModifier, 97, 0x5c, "Intl1", "Ro"},
    {"Shift+Ro", Qt::Key_Underscore, Qt::ShiftModifier, 97, 0x5f, "Intl1", "Ro"},
    {"Katakana/Hiragana", Qt::Key_Hiragana_Katakana, Qt::NoModifier, 101, 0xff27, "Intl2", "Katakana/Hiragana"},
    {"Yen", Qt::Key_yen, Qt::NoModifier, kNone, kNone, "Intl3", "Yen"},
    {"Yen key, backslash", Qt::Key_Backslash, Qt::NoModifier, 132, 0x5c, "Intl3", "Yen"},
    {"Henkan", Qt::Key_Henkan, Qt::NoModifier, 100, 0xff23, "Intl4", "Henkan"},
    {"Muhenkan", Qt::Key_Muhenkan, Qt::NoModifier, 102, 0xff22, "Intl5", "Muhenkan"},
    {"JP keypad comma", Qt::Key_Comma, kKeypad, 103, 0xffac, "Intl6", ","},
    {"Hangul", Qt::Key_Hangul, Qt::NoModifier, 130, 0xff31, "Lang1", "Hangul"},
    {"Hanja", Qt::Key_Hangul_Hanja, Qt::NoModifier, 131, 0xff34, "Lang2", "Hanja"},
    {"Katakana", Qt::Key_Katakana, Qt::NoModifier, 98, 0xff26, "Lang3", "Katakana"},
    {"Hiragana", Qt::Key_Hiragana, Qt::NoModifier, 99, 0xff25, "Lang4", "Hiragana"},
    {"Zenkaku/Hankaku", Qt::Key_Zenkaku_Hankaku, Qt::NoModifier, 93, 0xff2a, "Lang5", "Zenkaku/Hankaku"},
    {"Zenkaku/Hankaku where ` is", Qt::Key_Zenkaku_Hankaku, Qt::NoModifier, 49, 0xff2a, "`", "`"},
    // Keys Qt has no name for, placed by their scan code.
    {"dead acute on the = key", Qt::Key_Dead_Acute, Qt::NoModifier, 21, 0xfe51, "=", "+"},
    {"a-umlaut on the ' key", Qt::Key_Adiaeresis, Qt::NoModifier, 48, 0xe4, "'", "'"},
    {"unknown key on Q", Qt::Key_unknown, Qt::NoModifier, 24, kNone, "Q", "Q"},
    // Modifier sides by keysym.
    {"Shift_L", Qt::Key_Shift, Qt::ShiftModifier, kNone, 0xffe1, "LeftShift", "Left Shift"},
    {"Shift_R", Qt::Key_Shift, Qt::ShiftModifier, kNone, 0xffe2, "RightShift", "Right Shift"},
    {"Control_L", Qt::Key_Control, Qt::ControlModifier, kNone, 0xffe3, "LeftCtrl", "Left Control"},
    {"Control_R", Qt::Key_Control, Qt::ControlModifier, kNone, 0xffe4, "RightCtrl", "Right Control"},
    {"Alt_L", Qt::Key_Alt, Qt::AltModifier, kNone, 0xffe9, "LeftAlt", "Left Alt"},
    {"Alt_R", Qt::Key_Alt, Qt::AltModifier, kNone, 0xffea, "RightAlt", "Right Alt"},
    {"Meta_L as Alt (Shift+Alt)", Qt::Key_Alt, Qt::AltModifier, kNone, 0xffe7, "LeftAlt", "Left Alt"},
    {"Super_L", Qt::Key_Meta, Qt::MetaModifier, kNone, 0xffeb, "LeftGUI", "Left Window"},
    {"Super_R", Qt::Key_Meta, Qt::MetaModifier, kNone, 0xffec, "RightGUI", "Right Window"},
    {"Meta_R", Qt::Key_Meta, Qt::MetaModifier, kNone, 0xffe8, "RightGUI", "Right Window"},
    {"Super_L key", Qt::Key_Super_L, Qt::NoModifier, kNone, 0xffeb, "LeftGUI", "Left Window"},
    {"Super_R key", Qt::Key_Super_R, Qt::NoModifier, kNone, 0xffec, "RightGUI", "Right Window"},
    {"AltGr", Qt::Key_AltGr, Qt::NoModifier, 108, 0xfe03, "RightAlt", "Right Alt"},
    // Modifier sides by scan code when the keysym says nothing.
    {"scan LShift", Qt::Key_Shift, Qt::NoModifier, 50, kNone, "LeftShift", "Left Shift"},
    {"scan RShift", Qt::Key_Shift, Qt::NoModifier, 62, kNone, "RightShift", "Right Shift"},
    {"scan LCtrl", Qt::Key_Control, Qt::NoModifier, 37, kNone, "LeftCtrl", "Left Control"},
    {"scan RCtrl", Qt::Key_Control, Qt::NoModifier, 105, kNone, "RightCtrl", "Right Control"},
    {"scan LAlt", Qt::Key_Alt, Qt::NoModifier, 64, kNone, "LeftAlt", "Left Alt"},
    {"scan RAlt", Qt::Key_Alt, Qt::NoModifier, 108, kNone, "RightAlt", "Right Alt"},
    {"scan LSuper", Qt::Key_Meta, Qt::NoModifier, 133, kNone, "LeftGUI", "Left Window"},
    {"scan RSuper", Qt::Key_Meta, Qt::NoModifier, 134, kNone, "RightGUI", "Right Window"},
    // The keysym wins over a scan code that says otherwise (remapped keyboards).
    {"keysym over scan", Qt::Key_Shift, Qt::NoModifier, 50, 0xffe2, "RightShift", "Right Shift"},
    // Nothing tells: the left key.
    {"bare Shift", Qt::Key_Shift, Qt::NoModifier, kNone, kNone, "LeftShift", "Left Shift"},
    {"bare Control", Qt::Key_Control, Qt::NoModifier, 999, 0x1234, "LeftCtrl", "Left Control"},
    {"bare Alt", Qt::Key_Alt, Qt::NoModifier, kNone, kNone, "LeftAlt", "Left Alt"},
    {"bare Meta", Qt::Key_Meta, Qt::NoModifier, kNone, kNone, "LeftGUI", "Left Window"},
    // Keys without a keyboard usage: refused, never another key.
    {"F25", Qt::Key_F25, Qt::NoModifier, kNone, kNone, nullptr, nullptr},
    {"Sleep", Qt::Key_Sleep, Qt::NoModifier, 150, 0x1008ff2f, nullptr, nullptr},
    {"Printer", Qt::Key_Printer, Qt::NoModifier, kNone, kNone, nullptr, nullptr},
    {"Play", Qt::Key_MediaPlay, Qt::NoModifier, 180, 0x1008ff14, nullptr, nullptr},
    {"Next track", Qt::Key_MediaNext, Qt::NoModifier, 179, 0x1008ff17, nullptr, nullptr},
    {"Browser Back", Qt::Key_Back, Qt::NoModifier, 166, 0x1008ff26, nullptr, nullptr},
    {"Browser Refresh", Qt::Key_Refresh, Qt::NoModifier, kNone, kNone, nullptr, nullptr},
    {"Calculator", Qt::Key_Launch1, Qt::NoModifier, 148, 0x1008ff1d, nullptr, nullptr},
    {"Hyper", Qt::Key_Hyper_L, Qt::NoModifier, kNone, 0xffed, nullptr, nullptr},
    {"unknown key, no scan code", Qt::Key_unknown, Qt::NoModifier, kNone, kNone, nullptr, nullptr},
    {"unknown key, unknown scan code", Qt::Key_unknown, Qt::NoModifier, 255, kNone, nullptr, nullptr},
    {"keypad Space", Qt::Key_Space, kKeypad, kNone, 0xff80, nullptr, nullptr},
};
// clang-format on

// The table above plus every letter, digit and function key as Qt reports it.
std::vector<KeyCase> allCases()
{
    static std::vector<std::string> names;  // owns the texts the generated cases point to
    std::vector<KeyCase> cases(std::begin(kCases), std::end(kCases));
    if (names.empty()) {
        for (int i = 0; i < 26; ++i)
            names.push_back(std::string(1, char('A' + i)));
        for (int i = 0; i < 10; ++i)
            names.push_back(std::to_string(i));
        for (int i = 1; i <= 24; ++i)
            names.push_back(std::string("F").append(std::to_string(i)));
    }
    std::size_t n = 0;
    for (int i = 0; i < 26; ++i, ++n)
        cases.push_back({names[n].c_str(), Qt::Key_A + i, Qt::NoModifier, kNone, kNone, names[n].c_str(),
                         names[n].c_str()});
    for (int i = 0; i < 10; ++i, ++n)
        cases.push_back({names[n].c_str(), Qt::Key_0 + i, Qt::NoModifier, kNone, kNone, names[n].c_str(),
                         names[n].c_str()});
    for (int i = 0; i < 24; ++i, ++n)
        cases.push_back({names[n].c_str(), Qt::Key_F1 + i, Qt::NoModifier, kNone, kNone, names[n].c_str(),
                         names[n].c_str()});
    return cases;
}

// Where slot 0's action sits in the settings block.
constexpr std::size_t kFirstSlot = 0x37;

}  // namespace

TEST(KeyEventMapping, EveryKeyReachesTheMouseAsItselfOrIsRefused)
{
    for (const KeyCase& c : allCases()) {
        std::uint16_t expected = 0;
        if (c.hidKey) {
            const auto it = hidUsages().find(c.hidKey);
            ASSERT_NE(it, hidUsages().end()) << c.what;
            expected = it->second;
        }
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            const QKeyEvent event(type, c.qtKey, c.modifiers, c.scanCode, c.keysym, 0);
            EXPECT_EQ(keyUsageOf(event), expected)
                << c.what << (type == QEvent::KeyPress ? " press" : " release");
        }
        if (!c.hidKey)
            continue;

        // The usage captured, encoded into the slot and sent to the mouse in the settings block.
        KeyCaptureState capture{expected, 0, ""};
        MouseSettings settings;
        setDefaults(settings);
        settings.buttons[0].action = encodeKeyboardAction(capture);
        SettingsBlock block{};
        encodeSettings(settings, block);
        EXPECT_EQ(block[kFirstSlot], 2) << c.what;
        EXPECT_EQ(block[kFirstSlot + 2], expected & 0xFF) << c.what;
        EXPECT_EQ(block[kFirstSlot + 3], expected >> 8) << c.what;

        // The caption right after the capture and the one read back from the block agree.
        MouseSettings readBack;
        decodeSettings(block, readBack);
        KeyCaptureState decoded;
        EXPECT_EQ(actionCaption(readBack.buttons[0].action, decoded), std::optional<std::string>(c.caption))
            << c.what;
        EXPECT_EQ(keyboardCaption(capture.capturedModifiers, expected), c.caption) << c.what;
    }
}

TEST(KeyEventMapping, TheTableReachesEveryUsageThatAKeyReports)
{
    std::set<std::uint16_t> reached;
    for (const KeyCase& c : allCases()) {
        if (c.hidKey)
            reached.insert(hidUsages().at(c.hidKey));
    }
    // No key of a PC board reports these.
    const std::set<std::string> withoutKey{"Intl7", "Intl8", "Intl9", "Lang6", "Lang7", "Lang8", "Lang9"};
    for (const auto& [name, usage] : hidUsages()) {
        if (!withoutKey.count(name)) {
            EXPECT_TRUE(reached.count(usage)) << name;
        }
    }
}

TEST(KeyEventMapping, NoQtKeyOrScanCodeGivesAUsageWithoutAName)
{
    // Whatever Qt reports maps to a key the caption can name, or to nothing.
    auto check = [](int qtKey, bool keypad, quint32 scanCode) {
        const std::uint16_t usage = keyUsageOf(qtKey, keypad, scanCode, 0);
        if (usage != 0) {
            ASSERT_FALSE(usageName(usage).empty()) << "Qt key 0x" << std::hex << qtKey << " keypad " << keypad
                                                   << " scan " << std::dec << scanCode;
        }
    };
    const std::pair<int, int> qtKeyRanges[] = {
        {0x0, 0x1FF}, {0x01000000, 0x01001FFF}, {0x01020000, 0x0102000F}, {0x01100000, 0x011000FF}};
    for (const auto& [first, last] : qtKeyRanges) {
        for (int key = first; key <= last; ++key) {
            for (bool keypad : {false, true})
                check(key, keypad, 0);
        }
    }
    for (quint32 scan = 0; scan < 1024; ++scan)
        check(Qt::Key_unknown, false, scan);
}
