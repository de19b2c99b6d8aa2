#include "app/LogRouting.h"

#include <cstdio>
#include <cstring>

#include "device/Log.h"

Q_LOGGING_CATEGORY(lcLarkDevice, "lark.device", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLarkHotplug, "lark.hotplug", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLarkApp, "lark.app", QtInfoMsg)

namespace lark {

namespace {

QLoggingCategory::CategoryFilter previousFilter = nullptr;

// Qt calls this for each category whenever the rules change: the core's flags follow the
// rules, so a category that is off costs the core one flag check.
void followRules(QLoggingCategory* category)
{
    if (previousFilter)
        previousFilter(category);
    const char* name = category->categoryName();
    if (std::strcmp(name, "lark.device") == 0)
        logging::setEnabled(LogCategory::Device, category->isDebugEnabled());
    else if (std::strcmp(name, "lark.hotplug") == 0)
        logging::setEnabled(LogCategory::Hotplug, category->isDebugEnabled());
    else if (std::strcmp(name, "lark.app") == 0)
        logging::setEnabled(LogCategory::App, category->isDebugEnabled());
}

void toQt(LogCategory category, const std::string& line)
{
    switch (category) {
    case LogCategory::Device:
        qCDebug(lcLarkDevice, "%s", line.c_str());
        break;
    case LogCategory::Hotplug:
        qCDebug(lcLarkHotplug, "%s", line.c_str());
        break;
    case LogCategory::App:
        qCDebug(lcLarkApp, "%s", line.c_str());
        break;
    }
}

void writeToStderr(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

}  // namespace

void sendMessagesToStderr()
{
    qInstallMessageHandler(writeToStderr);
}

void setUpDiagnostics(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--verbose")))
        QLoggingCategory::setFilterRules(QStringLiteral("lark.*.debug=true"));
    logging::setSink(toQt);
    // Once is enough: the filter stays and sees every later change of the rules.
    static const bool installed = [] {
        previousFilter = QLoggingCategory::installFilter(followRules);
        return true;
    }();
    (void)installed;
    // Registers the categories, which runs the filter on each.
    lcLarkDevice();
    lcLarkHotplug();
    lcLarkApp();
}

}  // namespace lark
