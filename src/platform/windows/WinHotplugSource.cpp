#include "platform/windows/WinHotplugSource.h"

#include <QWinEventNotifier>

namespace lark::win {

WinHotplugSource::WinHotplugSource(QObject* parent) : HotplugSource(parent) {}

WinHotplugSource::~WinHotplugSource()
{
    delete watcher_;  // before the notifier closes the event it watches
}

bool WinHotplugSource::listen()
{
    return listening_ || (listening_ = notifier_.start());
}

bool WinHotplugSource::start()
{
    if (watcher_)
        return true;
    if (!listen())
        return false;
    watcher_ = new QWinEventNotifier(reinterpret_cast<Qt::HANDLE>(notifier_.waitHandle()));
    connect(watcher_, &QWinEventNotifier::activated, this, &WinHotplugSource::drain);
    return true;
}

void WinHotplugSource::drain()
{
    for (const WinDeviceNotifier::Notice& notice : notifier_.take()) {
        const QString name = QString::fromStdString(notice.name);
        if (notice.arrival)
            emit deviceArrived(name);
        else
            emit deviceRemoved(name);
    }
}

}  // namespace lark::win

namespace lark {

std::unique_ptr<HotplugSource> makePlatformHotplugSource()
{
    return std::make_unique<win::WinHotplugSource>();
}

}  // namespace lark
