#include "platform/desktop/CloseRequest.h"
#include "platform/desktop/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QtEndian>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

// The child process: holds the claim until it is killed or 60 s pass.
int runHolder(const QStringList& args)
{
    SingleInstance instance(args.value(2), args.value(3));
    if (!instance.claim())
        return 3;
    QObject::connect(&instance, &SingleInstance::messageReceived, [](const QByteArray& message) {
        QTextStream(stdout) << "got " << message.toHex() << Qt::endl;
    });
    QTextStream(stdout) << "claimed" << Qt::endl;
    QTimer::singleShot(60000, QCoreApplication::instance(), &QCoreApplication::quit);
    return QCoreApplication::exec();
}

// What another user on the machine can do, run as that user:
//   --can-run              ends at once (whether this user may run it)
//   --send NAME HEX        hands a message to the instance listening at the
//                          abstract NAME; prints its answer or "not taken"
//   --request PATH         asks the program listening at PATH to close;
//                          prints its answer or "not taken"
//   --squat abstract|file NAME...   listens at the names first, prints how
//                          many it holds, then everything it is sent
int runOtherUser(const QStringList& args)
{
    QTextStream out(stdout);
    const QString mode = args.value(1);
    if (mode == QLatin1String("--can-run"))
        return 0;
    if (mode == QLatin1String("--send") || mode == QLatin1String("--request")) {
        QLocalSocket socket;
        if (mode == QLatin1String("--send"))
            socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        socket.connectToServer(args.value(2));
        QByteArray message = mode == QLatin1String("--send") ? QByteArray::fromHex(args.value(3).toLatin1())
                                                             : QByteArray("close\n");
        if (mode == QLatin1String("--send")) {
            char head[4];
            qToBigEndian<quint32>(quint32(message.size()), head);
            message.prepend(head, 4);
        }
        QByteArray answer;
        if (socket.waitForConnected(3000)) {
            socket.write(message);
            socket.waitForBytesWritten(3000);
            while (answer.size() < 2 && socket.waitForReadyRead(3000))
                answer += socket.readAll();
        }
        out << (answer.isEmpty() ? QByteArray("not taken") : answer.trimmed()) << Qt::endl;
        return 0;
    }
    std::vector<std::unique_ptr<QLocalServer>> servers;
    for (const QString& name : args.mid(3)) {
        auto server = std::make_unique<QLocalServer>();
        if (args.value(2) == QLatin1String("abstract"))
            server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        else if (QFileInfo(name).isAbsolute())
            QDir().mkpath(QFileInfo(name).path());
        if (!server->listen(name))
            continue;
        QLocalServer* listening = server.get();
        QObject::connect(listening, &QLocalServer::newConnection, listening, [listening] {
            while (QLocalSocket* socket = listening->nextPendingConnection())
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
                    QTextStream(stdout) << "got " << socket->readAll().toHex() << Qt::endl;
                    socket->write("OK\n");
                });
        });
        servers.push_back(std::move(server));
    }
    out << "holding " << servers.size() << Qt::endl;
    QTimer::singleShot(60000, QCoreApplication::instance(), &QCoreApplication::quit);
    return QCoreApplication::exec();
}

// Starts this program as another user (nobody), for the modes above.
class OtherUser {
public:
    OtherUser()
    {
        if (::geteuid() != 0)
            reason_ = QStringLiteral("only root can run a process as another user");
        else if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            reason_ = QStringLiteral("setpriv is not installed (package util-linux)");
        else if (QProcess::execute(QStringLiteral("setpriv"), command({QStringLiteral("--can-run")}).mid(1)) != 0)
            reason_ = QStringLiteral("this test cannot run as the user nobody here (setpriv refused, or the build "
                                     "folder is closed to that user)");
    }
    QString reason() const { return reason_; }
    void start(QProcess& process, const QStringList& args) const
    {
        const QStringList all = command(args);
        process.start(all.first(), all.mid(1));
    }
    // Waits for the process to end, letting this one's events run meanwhile.
    static QByteArray finished(QProcess& process)
    {
        QElapsedTimer timer;
        timer.start();
        while (process.state() != QProcess::NotRunning && timer.elapsed() < 20000)
            QTest::qWait(10);
        return process.readAllStandardOutput().trimmed();
    }

private:
    static QStringList command(const QStringList& args)
    {
        return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups"), QStringLiteral("--"), QCoreApplication::applicationFilePath()}
               + args;
    }
    QString reason_;
};

#define REQUIRE_OTHER_USER(other)                    \
    do {                                             \
        if (!(other).reason().isEmpty())             \
            QSKIP(qPrintable((other).reason()));     \
    } while (false)

// The first line a started process prints.
QByteArray firstLine(QProcess& process)
{
    if (!process.waitForStarted(30000))
        return QByteArray();
    while (!process.canReadLine())
        if (!process.waitForReadyRead(30000))
            return QByteArray();
    return process.readLine().trimmed();
}

}  // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString folder(const char* name) const
    {
        const QString path = dir_.filePath(QLatin1String(name));
        QDir().mkpath(path);
        return path;
    }

private slots:
    void secondCheckForTheSameFolderSaysRunning()
    {
        SingleInstance first("Pelmar", folder("a"));
        QVERIFY(!first.anotherIsRunning());
        QVERIFY(first.claim());
        QVERIFY(first.isClaimed());
        QVERIFY(!first.anotherIsRunning());  // it is the running one itself

        SingleInstance second("Pelmar", folder("a") + "/./");
        QVERIFY(second.anotherIsRunning());
        QVERIFY(!second.claim());

        QVERIFY(!SingleInstance("Pelmar", folder("b")).anotherIsRunning());
        QVERIFY(!SingleInstance("Brevlin", folder("a")).anotherIsRunning());

        first.release();
        QVERIFY(!second.anotherIsRunning());
        QVERIFY(second.claim());
    }

    void anotherProcessIsSeenUntilItEnds()
    {
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", "Pelmar", folder("c")});
        QVERIFY(holder.waitForReadyRead(30000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("claimed"));

        SingleInstance here("Pelmar", folder("c"));
        QVERIFY(here.anotherIsRunning());
        QVERIFY(!here.claim());
        QVERIFY(!SingleInstance("Pelmar", folder("d")).anotherIsRunning());

        // A crashed instance leaves nothing behind that blocks the next start.
        holder.kill();
        QVERIFY(holder.waitForFinished(30000));
        QVERIFY(!here.anotherIsRunning());
        QVERIFY(here.claim());
    }

    void messagesReachTheRunningInstanceOnce()
    {
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", "Pelmar", folder("f")});
        QVERIFY(holder.waitForReadyRead(30000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("claimed"));

        SingleInstance later("Pelmar", folder("f"));
        const QByteArray message("/f\0/tmp/a b.nc\n\xff", 17);
        QVERIFY(later.sendToRunning(message));
        QVERIFY(later.sendToRunning(QByteArray()));
        // A check in between is no message.
        QVERIFY(later.anotherIsRunning());
        QVERIFY(later.sendToRunning("second"));
        QByteArray lines;
        while (lines.count('\n') < 3 && holder.waitForReadyRead(10000))
            lines += holder.readAll();
        QCOMPARE(lines, "got " + message.toHex() + "\ngot \ngot " + QByteArray("second").toHex() + "\n");

        // None runs: nothing to send to, and no wait.
        holder.kill();
        QVERIFY(holder.waitForFinished(30000));
        QVERIFY(!later.sendToRunning("x"));
        // The claim holder does not send to itself.
        QVERIFY(later.claim());
        QVERIFY(!later.sendToRunning("x", 200));
    }

    void checkingWritesNoFile()
    {
        const QString programFolder = folder("e");
        SingleInstance check("Pelmar", programFolder);
        QVERIFY(!check.anotherIsRunning());
        QVERIFY(QDir(programFolder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    // Any local user could reach the running Pelmar under a name computed
    // from the user id and the program folder, and make it open a file,
    // remove its spaces and number its blocks.
    void messageOfAnotherUserIsNotTaken()
    {
        const OtherUser other;
        REQUIRE_OTHER_USER(other);
        SingleInstance running("Pelmar", folder("g"));
        QVERIFY(running.claim());
        QSignalSpy received(&running, &SingleInstance::messageReceived);
        QProcess sender;
        other.start(sender, {"--send", running.key(), QByteArray("/f\0/tmp/PART.NC\0/rs\0/n").toHex()});
        QCOMPARE(OtherUser::finished(sender), QByteArray("not taken"));
        QCoreApplication::processEvents();
        QCOMPARE(received.size(), 0);
    }

    // Another user holding the name first got the command line of a start
    // (the file's path), and Pelmar ended without a window. Now the start
    // sends that user nothing and runs as the first instance under another
    // name, which later starts of its user find; with every name held it
    // runs unclaimed.
    void otherUserHoldingTheNameIsSentNothing_data()
    {
        QTest::addColumn<int>("held");  // names held by the other user
        QTest::newRow("the key") << 1;
        QTest::newRow("every name") << 4;
    }
    void otherUserHoldingTheNameIsSentNothing()
    {
        QFETCH(int, held);
        const OtherUser other;
        REQUIRE_OTHER_USER(other);
        const QString programFolder = folder(held == 1 ? "h" : "i");
        const QString key = SingleInstance("Pelmar", programFolder).key();
        QStringList names{key};
        for (int index = 1; index < held; ++index)
            names.append(key + QLatin1Char('-') + QString::number(index));
        QProcess squatter;
        other.start(squatter, QStringList{"--squat", "abstract"} + names);
        QCOMPARE(firstLine(squatter), "holding " + QByteArray::number(held));
        const auto stop = qScopeGuard([&squatter] {
            squatter.kill();
            squatter.waitForFinished(30000);
        });

        SingleInstance start("Pelmar", programFolder);
        QVERIFY(!start.anotherIsRunning());
        QVERIFY(!start.sendToRunning("/f /home/user/secret.nc", 2000));
        if (held == 1) {
            QProcess holder;
            holder.start(QCoreApplication::applicationFilePath(), {"--hold", "Pelmar", programFolder});
            QCOMPARE(firstLine(holder), QByteArray("claimed"));
            QVERIFY(start.anotherIsRunning());
            QVERIFY(!start.claim());
            QVERIFY(start.sendToRunning("/f PART.NC"));
            QVERIFY(holder.waitForReadyRead(10000));
            QCOMPARE(holder.readLine().trimmed(), "got " + QByteArray("/f PART.NC").toHex());
            holder.kill();
            holder.waitForFinished(30000);
        } else {
            QVERIFY(!start.claim());
            QVERIFY(!start.anotherIsRunning());
        }
        squatter.kill();
        squatter.waitForFinished(30000);
        QCOMPARE(squatter.readAllStandardOutput(), QByteArray());
    }

    // Brevlin listened for close requests at a socket in the shared
    // temporary folder, named by user and process id: another user could
    // take the name first, and Pelmar's request went to that user.
    void closeRequestsStayWithinTheUser_data()
    {
        QTest::addColumn<bool>("folderTaken");  // else the socket's name
        QTest::newRow("the socket's name") << false;
        QTest::newRow("the user's folder") << true;
    }
    void closeRequestsStayWithinTheUser()
    {
        QFETCH(bool, folderTaken);
        const OtherUser other;
        REQUIRE_OTHER_USER(other);
        // A temporary folder of the test's own, that the other user may write.
        QTemporaryDir temporary;
        QCOMPARE(::chmod(QFile::encodeName(temporary.path()).constData(), 01777), 0);
        const QByteArray previousTemporary = qgetenv("TMPDIR");
        const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        qunsetenv("XDG_RUNTIME_DIR");
        const auto restore = qScopeGuard([&] {
            qputenv("TMPDIR", previousTemporary);
            if (!previousRuntime.isEmpty())
                qputenv("XDG_RUNTIME_DIR", previousRuntime);
        });
        const qint64 self = QCoreApplication::applicationPid();
        const QString taken = folderTaken ? temporary.path() + QStringLiteral("/talvex-%1/talvex-close-%2").arg(::geteuid()).arg(self)
                                          : CloseRequestName(self);
        QProcess squatter;
        other.start(squatter, {"--squat", "file", taken});
        QVERIFY(firstLine(squatter).startsWith("holding "));
        const auto stop = qScopeGuard([&squatter] {
            squatter.kill();
            squatter.waitForFinished(30000);
        });

        // No program of ours listens yet: the request goes nowhere.
        QCOMPARE(RequestClose(self, 1000), CloseAnswer::NotListening);
        // The program listens all the same, and hears only its own user.
        int asked = 0;
        CloseRequestListener listener([&asked] {
            ++asked;
            return false;
        });
        QVERIFY(listener.isListening());
        QProcess requester;
        other.start(requester, {"--request", CloseRequestName(self)});
        QCOMPARE(OtherUser::finished(requester), QByteArray("not taken"));
        QCOMPARE(asked, 0);
        QCOMPARE(RequestClose(self, 1000), CloseAnswer::Refused);
        QCOMPARE(asked, 1);
        squatter.kill();
        squatter.waitForFinished(30000);
        QCOMPARE(squatter.readAllStandardOutput(), QByteArray());
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QStringLiteral("--hold"))
        return runHolder(app.arguments());
    if (QStringList{"--can-run", "--send", "--request", "--squat"}.contains(app.arguments().value(1)))
        return runOtherUser(app.arguments());
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SingleInstance.moc"
