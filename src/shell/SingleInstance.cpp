#include "shell/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace ov {
namespace {

constexpr int kNotifyTimeoutMs = 500;

}  // namespace

SingleInstance::SingleInstance(QString folder) : folder_(std::move(folder)) {
    if (folder_.isEmpty()) folder_ = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // Without a runtime folder the claim is still one per user, as each user
    // gets a folder of their own under the temporary folder.
    if (folder_.isEmpty()) folder_ = QDir::tempPath() + QStringLiteral("/ovplayer-") + QString::number(getuid());
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(QString::fromLatin1(kName) + ".lock"));
    // The lock is held for the life of the process; a crashed copy leaves a
    // stale file that QLockFile recognises by its dead process id.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        NotifyRunningCopy();
        return false;
    }
    Listen();
    return true;
}

void SingleInstance::Listen() {
    const QString path = QDir(folder_).filePath(QString::fromLatin1(kName));
    // Holding the lock proves that a socket left at this path is a dead copy's.
    QLocalServer::removeServer(path);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) return;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            emit ActivationRequested();
        }
    });
}

void SingleInstance::NotifyRunningCopy() const {
    QLocalSocket socket;
    socket.connectToServer(QDir(folder_).filePath(QString::fromLatin1(kName)));
    if (socket.waitForConnected(kNotifyTimeoutMs)) socket.disconnectFromServer();
}

}  // namespace ov
