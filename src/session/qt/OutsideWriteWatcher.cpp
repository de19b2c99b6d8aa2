#include "session/qt/OutsideWriteWatcher.h"

#include <QFile>

#include "device/OutsideAccess.h"

namespace lark {

OutsideWriteWatcher::OutsideWriteWatcher(const QString& directory, QObject* parent) : QObject(parent)
{
    if (directory.isEmpty())
        return;
    file_ = QString::fromStdString(writeAnnouncementPath(directory.toStdString()));
    // The directory tells of the file's first appearance, the file of every later rewrite.
    watcher_.addPath(directory);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &OutsideWriteWatcher::check);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &OutsideWriteWatcher::check);
    QFile stamp(file_);
    if (stamp.open(QIODevice::ReadOnly)) {
        lastStamp_ = stamp.readAll();  // an announcement from before we started is old news
        watcher_.addPath(file_);
    }
}

void OutsideWriteWatcher::check()
{
    QFile stamp(file_);
    if (!stamp.open(QIODevice::ReadOnly))
        return;
    // Removed and written again, the file needs watching anew.
    if (!watcher_.files().contains(file_))
        watcher_.addPath(file_);
    const QByteArray now = stamp.readAll();
    // Truncation shows as an empty file before the new stamp lands; wait for the stamp.
    if (now.isEmpty() || now == lastStamp_)
        return;
    lastStamp_ = now;
    emit announced();
}

}  // namespace lark
