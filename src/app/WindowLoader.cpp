#include "app/WindowLoader.h"

#ifdef LARK_WINDOW_MODULE
#include <dlfcn.h>
#endif

namespace lark {

RunWindow loadWindow(std::string& whyNot)
{
#ifdef LARK_WINDOW_MODULE
    // Found through the program's run path: beside it in the build folder, in its private
    // library folder once installed. Never unloaded: Qt's own exit handlers run at the end.
    void* module = dlopen(LARK_WINDOW_MODULE, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* error = dlerror();
        whyNot = error ? error : "unknown error";
        return nullptr;
    }
    auto* entry = reinterpret_cast<RunWindow>(dlsym(module, "larkConfigRunWindow"));
    if (!entry)
        whyNot = "no window entry in " LARK_WINDOW_MODULE;
    return entry;
#else
    whyNot.clear();
    return &larkConfigRunWindow;
#endif
}

}  // namespace lark
