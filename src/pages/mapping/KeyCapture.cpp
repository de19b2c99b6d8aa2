#include "pages/mapping/KeyCapture.h"

#include "model/Actions.h"

namespace lark {

ButtonAction encodeKeyboardAction(KeyCaptureState& capture)
{
    const ButtonAction action = keyboardAction(capture.capturedKeyCode, capture.capturedModifiers);
    capture.capturedModifiers = action.code;
    return action;
}

std::optional<std::string> actionCaption(const ButtonAction& action, KeyCaptureState& capture)
{
    if (action.type == static_cast<std::uint8_t>(ActionKind::KeyboardKey)) {
        capture.capturedModifiers = action.code;
        capture.capturedKeyCode = action.param1;
    }
    return actionCaption(action);
}

}  // namespace lark
