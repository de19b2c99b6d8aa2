#pragma once

#include <QLoggingCategory>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcLarkDevice)
Q_DECLARE_LOGGING_CATEGORY(lcLarkHotplug)
Q_DECLARE_LOGGING_CATEGORY(lcLarkApp)

namespace lark {

// Sends the core's diagnostic lines to the debug output of the Qt categories "lark.device",
// "lark.hotplug" and "lark.app". They are off unless the logging rules turn them on
// (QT_LOGGING_RULES="lark.*.debug=true"), or `arguments` hold "--verbose". The core formats
// a line only while its category is on, also when the rules change later.
void setUpDiagnostics(const QStringList& arguments);

// Every Qt message goes to stderr, formatted as Qt formats it. For --verbose: a window program on
// Windows has no console, and Qt would send the lines to the debugger instead.
void sendMessagesToStderr();

}  // namespace lark
