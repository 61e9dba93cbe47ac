#include "desktop/windows/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace wexal::desktop {

namespace {

const QByteArray kActivate = QByteArrayLiteral("activate\n");
constexpr int kConnectWaitMs = 100;
constexpr int kRetryPauseMs = 50;

}  // namespace

SingleInstance::SingleInstance(const QString& folder, const QString& name)
    : socketPath_(QDir(folder).filePath(name + QStringLiteral(".socket"))),
      lock_(QDir(folder).filePath(name + QStringLiteral(".lock"))) {
    QDir().mkpath(folder);
    // A running program may hold the lock for days; only a dead holder
    // makes it stale.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_) {
        server_->close();
    }
}

SingleInstance::Role SingleInstance::Claim(std::chrono::milliseconds patience) {
    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (lock_.tryLock(0)) {
            Listen();
            return Role::kFirst;
        }
        QLocalSocket socket;
        socket.connectToServer(socketPath_);
        if (socket.waitForConnected(kConnectWaitMs)) {
            socket.write(kActivate);
            socket.waitForBytesWritten(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 100)));
            socket.disconnectFromServer();
            return Role::kHandedOver;
        }
        if (deadline.hasExpired()) {
            return Role::kUnreachable;
        }
        QThread::msleep(kRetryPauseMs);
    }
}

void SingleInstance::Listen() {
    // A socket left by a killed holder would refuse the new one.
    QLocalServer::removeServer(socketPath_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::Accept);
    server_->listen(socketPath_);
}

void SingleInstance::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        const auto read = [this, socket] {
            if (socket->readAll().contains(kActivate.trimmed())) {
                emit ActivationRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        connect(socket, &QLocalSocket::disconnected, this, [socket, read] {
            read();
            socket->deleteLater();
        });
        read();
    }
}

}  // namespace wexal::desktop
