#pragma once

#include <string>

#include "app/WindowEntry.h"

namespace lark {

using RunWindow = int (*)(WindowStart*);

// The window's entry. Where the window is a module of its own (Qt as shared libraries), loading
// it loads Qt's GUI libraries, which costs more than the mouse's first reads: the program starts
// those first. Null, with the loader's reason in `whyNot`, when the module cannot be loaded.
RunWindow loadWindow(std::string& whyNot);

}  // namespace lark
