#include "platform/desktop/SingleInstance.h"

#include "platform/forms/ProgramFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace platform {
namespace {

// A socket in the abstract namespace: no file to go stale after a crash,
// and binding it is atomic, so two instances starting together cannot both
// win. The user's id is part of the key.
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

}  // namespace

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
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(key_);
    // Connecting to a listening socket completes without the other side's
    // event loop; a missing one fails at once.
    const bool connected = socket.waitForConnected(2000);
    if (connected)
        socket.abort();
    return connected;
}

bool SingleInstance::claim()
{
    if (isClaimed())
        return true;
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(key_))
        return false;
    // Checks connect only to see that we are here: close them.
    QLocalServer* raw = server.get();
    connect(raw, &QLocalServer::newConnection, raw, [raw] {
        while (QLocalSocket* socket = raw->nextPendingConnection()) {
            socket->abort();
            socket->deleteLater();
        }
    });
    server_ = std::move(server);
    return true;
}

void SingleInstance::release() { server_.reset(); }

bool SingleInstance::isClaimed() const { return server_ && server_->isListening(); }

}  // namespace platform
