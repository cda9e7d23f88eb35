#include "settings/single_instance.h"

#include "job/settings_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {
constexpr int kWaitMs = 3000;

QByteArray encode(const QStringList &paths)
{
    // NUL cannot occur in a path, so it separates them safely.
    QByteArray out;
    for (const QString &p : paths)
        out += p.toUtf8() + '\0';
    return out;
}

QStringList decode(const QByteArray &bytes)
{
    QStringList out;
    for (const QByteArray &part : bytes.split('\0')) {
        if (!part.isEmpty())
            out << QString::fromUtf8(part);
    }
    return out;
}
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
{
    // Per user, and per settings folder, so a test or a portable copy with its own
    // settings does not hand its pictures to the user's everyday window.
    const QByteArray tag
        = QCryptographicHash::hash(settingsFolder().toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    serverName_ = QStringLiteral("%1-%2-%3").arg(key).arg(uint(getuid())).arg(QString::fromLatin1(tag));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::sendTo(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(encode(paths));
    socket.flush();
    if (socket.bytesToWrite() > 0)
        socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kWaitMs);
    return true;
}

bool SingleInstance::handOverOrListen(const QStringList &paths)
{
    // Two starts at the same moment must not both become the server.
    const QString tmp = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    QLockFile lock(QDir(tmp).filePath(serverName_ + QStringLiteral(".lock")));
    lock.setStaleLockTime(10000);
    lock.tryLock(kWaitMs);

    if (sendTo(paths))
        return true;

    // Nobody answered: a socket file left by a crashed instance is stale.
    QLocalServer::removeServer(serverName_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_))
        return false; // run without the hand-over rather than not at all
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return false;
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        auto *buffer = new QByteArray;
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] { *buffer += socket->readAll(); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            const QStringList paths = decode(*buffer);
            delete buffer;
            socket->deleteLater();
            emit pathsReceived(paths);
        });
    }
}
