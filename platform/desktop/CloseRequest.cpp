#include "platform/desktop/CloseRequest.h"

#include "platform/desktop/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray Request = "close\n";
const QByteArray ClosedAnswer = "closed\n";
const QByteArray RefusedAnswer = "refused\n";

// A folder of this user's alone: no other user can put a socket there first
// nor reach one there.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid()
           && (status.st_mode & 0777) == 0700;
}

// The runtime folder when it is the user's own, else "talvex-UID" in the
// temporary folder, or, should another user have taken that name first,
// "talvex-UID-1" and so on.
QByteArray privateFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && isPrivateFolder(runtime))
        return runtime;
    const QByteArray stem = QFile::encodeName(QDir::tempPath()) + "/talvex-" + QByteArray::number(::geteuid());
    for (int index = 0; index < 4; ++index) {
        const QByteArray folder = index == 0 ? stem : stem + '-' + QByteArray::number(index);
        // Made 0700 whatever the umask; one another user made is passed by.
        if (::mkdir(folder.constData(), 0700) == 0)
            ::chmod(folder.constData(), 0700);
        if (isPrivateFolder(folder))
            return folder;
    }
    return QByteArray();
}

}  // namespace

QString CloseRequestName(qint64 processId)
{
    const QByteArray folder = privateFolder();
    return folder.isEmpty() ? QString() : QFile::decodeName(folder) + QStringLiteral("/talvex-close-%1").arg(processId);
}

CloseRequestListener::CloseRequestListener(std::function<bool()> handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), server_(std::make_unique<QLocalServer>())
{
    const QString name = CloseRequestName(QCoreApplication::applicationPid());
    if (name.isEmpty())
        return;
    QLocalServer::removeServer(name);  // a socket left by a crashed process of the same id
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(name))
        connect(server_.get(), &QLocalServer::newConnection, this, &CloseRequestListener::accept);
}

CloseRequestListener::~CloseRequestListener() = default;

bool CloseRequestListener::isListening() const
{
    return server_->isListening();
}

void CloseRequestListener::accept()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (!PeerIsSameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() != Request)
                return;
            QPointer<QLocalSocket> alive(socket);
            const bool closed = handler_ ? handler_() : false;
            if (!alive)
                return;
            alive->write(closed ? ClosedAnswer : RefusedAnswer);
            alive->flush();
            alive->waitForBytesWritten(1000);
        });
    }
}

CloseAnswer RequestClose(qint64 processId, int connectTimeoutMs)
{
    const QString name = CloseRequestName(processId);
    if (name.isEmpty())
        return CloseAnswer::NotListening;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(connectTimeoutMs))
        return CloseAnswer::NotListening;
    if (!PeerIsSameUser(socket.socketDescriptor())) {
        socket.abort();
        return CloseAnswer::NotListening;
    }
    socket.write(Request);
    socket.flush();
    QEventLoop loop;
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (socket.canReadLine())
            loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, &QEventLoop::quit);
    if (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (socket.canReadLine())
        return socket.readLine() == RefusedAnswer ? CloseAnswer::Refused : CloseAnswer::Closed;
    return CloseAnswer::Closed;  // it went away while being asked
}

}  // namespace platform
