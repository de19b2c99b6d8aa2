#include "app/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QString>

namespace lark {

struct SingleInstance::Native {
    QString path;
    std::unique_ptr<QLockFile> lock;
};

SingleInstance::SingleInstance(const char* name) : native_(std::make_unique<Native>())
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    native_->path = dir + QLatin1Char('/') + QString::fromUtf8(name) + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    if (native_->lock)
        native_->lock->unlock();
}

bool SingleInstance::acquire()
{
    auto lock = std::make_unique<QLockFile>(native_->path);
    // A lock left by a copy that crashed counts as free; only a live holder blocks.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        native_->lock = std::move(lock);
        return true;
    }
    // When the lock file cannot be made at all, run unguarded.
    return lock->error() != QLockFile::LockFailedError;
}

}  // namespace lark
