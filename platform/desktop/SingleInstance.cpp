#include "platform/desktop/SingleInstance.h"

#include "platform/forms/ProgramFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QtEndian>
#include <algorithm>

#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

// A socket in the abstract namespace: no file to go stale after a crash,
// and binding it is atomic, so two instances starting together cannot both
// win. The user's id is part of the key; every local user can reach it all
// the same, hence the checks of the peer's user on both ends.
QString instanceKey(const QString& programName, const QString& programFolder)
{
    // The same folder reached through a link is the same program.
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(qulonglong(::getuid())));
    hash.addData(QByteArrayView("\n"));
    hash.addData(folder.toUtf8());
    hash.addData(QByteArrayView("\n"));
    hash.addData(programName.toUtf8());
    return QStringLiteral("talvex-instance-") + QString::fromLatin1(hash.result().toHex().left(32));
}

// Larger messages are refused, so that a stray writer cannot make us hold
// gigabytes.
constexpr quint32 MaxMessage = 1 << 20;

// The key, then the names taken when another user holds it first.
constexpr int Names = 4;

QString nameAt(const QString& key, int index)
{
    return index == 0 ? key : key + QLatin1Char('-') + QString::number(index);
}

}  // namespace

bool PeerIsSameUser(qintptr socketDescriptor)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return socketDescriptor >= 0
           && ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
           && size == sizeof peer && peer.uid == ::geteuid();
}

SingleInstance::SingleInstance(const QString& programName, const QString& programFolder,
                               QObject* parent)
    : QObject(parent),
      key_(instanceKey(programName.isEmpty() ? QCoreApplication::applicationName() : programName,
                       programFolder.isEmpty() ? ProgramFolder() : programFolder))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::anotherIsRunning() const
{
    if (isClaimed())
        return false;
    QLocalSocket socket;
    const bool connected = connectToRunning(socket, 2000);
    if (connected)
        socket.abort();
    return connected;
}

// Connects to the instance of this user that holds one of the names; another
// user's process that holds one is left at once, having been sent nothing.
bool SingleInstance::connectToRunning(QLocalSocket& socket, int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    for (int index = 0; index < Names; ++index) {
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(nameAt(key_, index));
        // Connecting to a listening socket completes without the other
        // side's event loop; a missing one fails at once.
        if (socket.waitForConnected(std::max(1, timeoutMs - int(timer.elapsed())))
            && PeerIsSameUser(socket.socketDescriptor()))
            return true;
        socket.abort();
    }
    return false;
}

bool SingleInstance::claim()
{
    if (isClaimed())
        return true;
    // Names are taken in order, but one of ours may hold a later one while
    // the earlier is free again.
    if (anotherIsRunning())
        return false;
    for (int index = 0; index < Names; ++index) {
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        if (server->listen(nameAt(key_, index))) {
            server_ = std::move(server);
            connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
            return true;
        }
        // Held: by one of ours that started meanwhile, or by another user.
        QLocalSocket socket;
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(nameAt(key_, index));
        const bool ours = socket.waitForConnected(2000) && PeerIsSameUser(socket.socketDescriptor());
        socket.abort();
        if (ours)
            return false;
    }
    return false;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!PeerIsSameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // A check connects and goes; a sender writes its message's length
        // (4 bytes, high byte first) and the message, then waits for "OK".
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray head = socket->peek(4);
            if (head.size() < 4)
                return;
            const quint32 length = qFromBigEndian<quint32>(head.constData());
            if (length > MaxMessage) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < qint64(4 + length))
                return;
            socket->read(4);
            const QByteArray message = socket->read(length);
            socket->write("OK");
            socket->flush();
            socket->disconnectFromServer();
            // After the sender has its answer: what the message starts may
            // take a while (a message box, a long command).
            QMetaObject::invokeMethod(
                this, [this, message] { emit messageReceived(message); }, Qt::QueuedConnection);
        });
    }
}

bool SingleInstance::sendToRunning(const QByteArray& message, int timeoutMs) const
{
    if (isClaimed() || quint32(message.size()) > MaxMessage)
        return false;
    QElapsedTimer timer;
    timer.start();
    auto left = [&] { return std::max(1, timeoutMs - int(timer.elapsed())); };
    QLocalSocket socket;
    if (!connectToRunning(socket, left()))
        return false;
    char head[4];
    qToBigEndian<quint32>(quint32(message.size()), head);
    socket.write(head, 4);
    socket.write(message);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(left()))
            return false;
    while (socket.bytesAvailable() < 2)
        if (timer.elapsed() >= timeoutMs || !socket.waitForReadyRead(left()))
            return false;
    return socket.read(2) == "OK";
}

void SingleInstance::release() { server_.reset(); }

bool SingleInstance::isClaimed() const { return server_ && server_->isListening(); }

}  // namespace platform
