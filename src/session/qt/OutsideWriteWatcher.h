#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace lark {

// Tells when another program (larkctl) announces that it changed the mouse's settings: it
// rewrites the announcement file in the runtime directory after every write the mouse accepted.
class OutsideWriteWatcher : public QObject {
    Q_OBJECT

public:
    // `directory` empty: nothing is watched.
    explicit OutsideWriteWatcher(const QString& directory, QObject* parent = nullptr);

signals:
    void announced();

private:
    void check();

    QString file_;
    QFileSystemWatcher watcher_;
    QByteArray lastStamp_;
};

}  // namespace lark
