#include "platform/desktop/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

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
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QStringLiteral("--hold"))
        return runHolder(app.arguments());
    SingleInstanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SingleInstance.moc"
