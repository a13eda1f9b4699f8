#include "platform/desktop/CloseRequest.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <unistd.h>

namespace platform {

namespace {

const QByteArray Request = "close\n";
const QByteArray ClosedAnswer = "closed\n";
const QByteArray RefusedAnswer = "refused\n";

}  // namespace

QString CloseRequestName(qint64 processId)
{
    return QStringLiteral("talvex-close-%1-%2").arg(::getuid()).arg(processId);
}

CloseRequestListener::CloseRequestListener(std::function<bool()> handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), server_(std::make_unique<QLocalServer>())
{
    const QString name = CloseRequestName(QCoreApplication::applicationPid());
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
    QLocalSocket socket;
    socket.connectToServer(CloseRequestName(processId));
    if (!socket.waitForConnected(connectTimeoutMs))
        return CloseAnswer::NotListening;
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
