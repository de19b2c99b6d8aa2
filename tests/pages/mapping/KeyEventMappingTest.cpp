#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>

#include <memory>

#include "pages/mapping/KeyEventMapping.h"

using namespace lark;

namespace {

// Key events belong to an input device that the application owns; without one the device
// Qt makes up for the events outlives the test.
class GuiApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
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

struct EventCase {
    const char* what;
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    quint32 scanCode;
    quint32 keysym;
    std::uint16_t virtualKey;
};

constexpr quint32 kNone = 0;

const EventCase kCases[] = {
    // Modifier sides by keysym.
    {"Shift_L", Qt::Key_Shift, Qt::ShiftModifier, kNone, 0xffe1, 0xA0},
    {"Shift_R", Qt::Key_Shift, Qt::ShiftModifier, kNone, 0xffe2, 0xA1},
    {"Control_L", Qt::Key_Control, Qt::ControlModifier, kNone, 0xffe3, 0xA2},
    {"Control_R", Qt::Key_Control, Qt::ControlModifier, kNone, 0xffe4, 0xA3},
    {"Alt_L", Qt::Key_Alt, Qt::AltModifier, kNone, 0xffe9, 0xA4},
    {"Alt_R", Qt::Key_Alt, Qt::AltModifier, kNone, 0xffea, 0xA5},
    {"Meta_L as Alt (Shift+Alt)", Qt::Key_Alt, Qt::AltModifier, kNone, 0xffe7, 0xA4},
    {"Super_L", Qt::Key_Meta, Qt::MetaModifier, kNone, 0xffeb, 0x5B},
    {"Super_R", Qt::Key_Meta, Qt::MetaModifier, kNone, 0xffec, 0x5C},
    {"Meta_R", Qt::Key_Meta, Qt::MetaModifier, kNone, 0xffe8, 0x5C},
    {"Super_R key", Qt::Key_Super_R, Qt::NoModifier, kNone, 0xffec, 0x5C},
    {"AltGr", Qt::Key_AltGr, Qt::NoModifier, 108, 0xfe03, 0xA5},
    // Modifier sides by evdev code + 8 when the keysym says nothing.
    {"scan LShift", Qt::Key_Shift, Qt::NoModifier, 50, kNone, 0xA0},
    {"scan RShift", Qt::Key_Shift, Qt::NoModifier, 62, kNone, 0xA1},
    {"scan LCtrl", Qt::Key_Control, Qt::NoModifier, 37, kNone, 0xA2},
    {"scan RCtrl", Qt::Key_Control, Qt::NoModifier, 105, kNone, 0xA3},
    {"scan LAlt", Qt::Key_Alt, Qt::NoModifier, 64, kNone, 0xA4},
    {"scan RAlt", Qt::Key_Alt, Qt::NoModifier, 108, kNone, 0xA5},
    {"scan LSuper", Qt::Key_Meta, Qt::NoModifier, 133, kNone, 0x5B},
    {"scan RSuper", Qt::Key_Meta, Qt::NoModifier, 134, kNone, 0x5C},
    // The keysym wins over a scan code that says otherwise (remapped keyboards).
    {"keysym over scan", Qt::Key_Shift, Qt::NoModifier, 50, 0xffe2, 0xA1},
    // Nothing tells: the left key.
    {"bare Shift", Qt::Key_Shift, Qt::NoModifier, kNone, kNone, 0xA0},
    {"bare Control", Qt::Key_Control, Qt::NoModifier, 999, 0x1234, 0xA2},
    {"bare Alt", Qt::Key_Alt, Qt::NoModifier, kNone, kNone, 0xA4},
    {"bare Meta", Qt::Key_Meta, Qt::NoModifier, kNone, kNone, 0x5B},
    // Letters and digits, with or without Shift.
    {"a", Qt::Key_A, Qt::NoModifier, 38, 0x61, 0x41},
    {"Z", Qt::Key_Z, Qt::ShiftModifier, 52, 0x5a, 0x5A},
    {"0", Qt::Key_0, Qt::NoModifier, 19, 0x30, 0x30},
    {"9", Qt::Key_9, Qt::NoModifier, 18, 0x39, 0x39},
    {"Shift+1", Qt::Key_Exclam, Qt::ShiftModifier, 10, 0x21, 0x31},
    {"Shift+0", Qt::Key_ParenRight, Qt::ShiftModifier, 19, 0x29, 0x30},
    // Function keys.
    {"F1", Qt::Key_F1, Qt::NoModifier, 67, 0xffbe, 0x70},
    {"F12", Qt::Key_F12, Qt::NoModifier, 96, 0xffc9, 0x7B},
    {"F13", Qt::Key_F13, Qt::NoModifier, kNone, kNone, 0x7C},
    {"F24", Qt::Key_F24, Qt::NoModifier, kNone, kNone, 0x87},
    {"F25 has no code", Qt::Key_F25, Qt::NoModifier, kNone, kNone, 0},
    // Keypad.
    {"KP 0", Qt::Key_0, Qt::KeypadModifier, 90, 0xffb0, 0x60},
    {"KP 9", Qt::Key_9, Qt::KeypadModifier, 81, 0xffb9, 0x69},
    {"KP *", Qt::Key_Asterisk, Qt::KeypadModifier, 63, 0xffaa, 0x6A},
    {"KP +", Qt::Key_Plus, Qt::KeypadModifier, 86, 0xffab, 0x6B},
    {"KP -", Qt::Key_Minus, Qt::KeypadModifier, 82, 0xffad, 0x6D},
    {"KP .", Qt::Key_Period, Qt::KeypadModifier, 91, 0xffae, 0x6E},
    {"KP /", Qt::Key_Slash, Qt::KeypadModifier, 106, 0xffaf, 0x6F},
    {"KP Enter", Qt::Key_Enter, Qt::KeypadModifier, 104, 0xff8d, 0x0D},
    {"KP Home (NumLock off)", Qt::Key_Home, Qt::KeypadModifier, 79, 0xff95, 0x24},
    // Keys of the main block.
    {"Return", Qt::Key_Return, Qt::NoModifier, 36, 0xff0d, 0x0D},
    {"Escape", Qt::Key_Escape, Qt::NoModifier, 9, 0xff1b, 0x1B},
    {"Tab", Qt::Key_Tab, Qt::NoModifier, 23, 0xff09, 0x09},
    {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, 23, 0xfe20, 0x09},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, 22, 0xff08, 0x08},
    {"Space", Qt::Key_Space, Qt::NoModifier, 65, 0x20, 0x20},
    {"Up", Qt::Key_Up, Qt::NoModifier, 111, 0xff52, 0x26},
    {"Page Down", Qt::Key_PageDown, Qt::NoModifier, 117, 0xff56, 0x22},
    {"Delete", Qt::Key_Delete, Qt::NoModifier, 119, 0xffff, 0x2E},
    {"main +/=", Qt::Key_Equal, Qt::NoModifier, 21, 0x3d, 0xBB},
    {"main -", Qt::Key_Minus, Qt::NoModifier, 20, 0x2d, 0xBD},
    {"grave", Qt::Key_QuoteLeft, Qt::NoModifier, 49, 0x60, 0xC0},
    {"backslash", Qt::Key_Backslash, Qt::NoModifier, 51, 0x5c, 0xDC},
    {"Shift+'", Qt::Key_QuoteDbl, Qt::ShiftModifier, 48, 0x22, 0xDE},
    {"Caps Lock", Qt::Key_CapsLock, Qt::NoModifier, 66, 0xffe5, 0x14},
    {"Pause", Qt::Key_Pause, Qt::NoModifier, 127, 0xff13, 0x13},
    {"Print", Qt::Key_Print, Qt::NoModifier, 107, 0xff61, 0x2C},
    {"Menu", Qt::Key_Menu, Qt::NoModifier, 135, 0xff67, 0x5D},
    {"Volume Mute", Qt::Key_VolumeMute, Qt::NoModifier, 121, 0x1008ff12, 0xAD},
    {"Volume Down", Qt::Key_VolumeDown, Qt::NoModifier, 122, 0x1008ff11, 0xAE},
    {"Volume Up", Qt::Key_VolumeUp, Qt::NoModifier, 123, 0x1008ff13, 0xAF},
    {"unknown key", Qt::Key_unknown, Qt::NoModifier, 200, kNone, 0},
};

}  // namespace

TEST(KeyEventMapping, PressAndReleaseGiveTheWindowsCode)
{
    for (const EventCase& c : kCases) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            const QKeyEvent event(type, c.qtKey, c.modifiers, c.scanCode, c.keysym, 0);
            EXPECT_EQ(virtualKeyOf(event), c.virtualKey)
                << c.what << (type == QEvent::KeyPress ? " press" : " release");
        }
    }
}
