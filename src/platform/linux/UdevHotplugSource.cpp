#include "platform/linux/UdevHotplugSource.h"

#include <QSocketNotifier>

namespace lark {

UdevHotplugSource::UdevHotplugSource(QObject* parent) : HotplugSource(parent) {}

UdevHotplugSource::~UdevHotplugSource()
{
    delete notifier_;
}

bool UdevHotplugSource::listen()
{
    return listening_ || (listening_ = monitor_.start());
}

bool UdevHotplugSource::start()
{
    if (notifier_)
        return true;
    if (!listen())
        return false;
    notifier_ = new QSocketNotifier(static_cast<qintptr>(monitor_.waitHandle()), QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &UdevHotplugSource::drain);
    return true;
}

void UdevHotplugSource::drain()
{
    for (const UdevMonitor::Notice& notice : monitor_.take()) {
        const QString name = QString::fromStdString(notice.name);
        if (notice.arrival)
            emit deviceArrived(name);
        else
            emit deviceRemoved(name);
    }
}

std::unique_ptr<HotplugSource> makePlatformHotplugSource()
{
    return std::make_unique<UdevHotplugSource>();
}

}  // namespace lark
