#pragma once

#include "settings/MouseSettings.h"

namespace lark {

// The user's edits laid over settings read from the mouse: every field that `edited` changed
// from `base` takes the edited value, every other field (the bytes the tool never shows
// included) the mouse's. Used when the pages were edited before the mouse's settings were known.
MouseSettings mergeEdits(const MouseSettings& base, const MouseSettings& edited, const MouseSettings& mouse);

}  // namespace lark
