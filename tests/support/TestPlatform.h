#pragma once

#include <QtGlobal>

namespace lark::test {

// Offscreen unless the caller chose a platform (the binaries also run outside ctest). On Windows
// the system's own windows, Qt's default there: Wine hands no QT_ variable to its programs.
inline void useOffscreenByDefault()
{
#ifndef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
}

// What the status line says of a mouse that is there but may not be opened: a permission the udev
// rule gives on Linux; on Windows anyone may open it, so another program holds it.
#ifdef Q_OS_WIN
inline constexpr const char* kMayNotOpenWords = "held by another program";
#else
inline constexpr const char* kMayNotOpenWords = "permission denied";
#endif

}  // namespace lark::test
