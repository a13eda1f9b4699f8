#include "platform/shell/Shell.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

using namespace platform;

class ShellTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QString writeFile(const QString& name, const QByteArray& bytes, QFileDevice::Permissions extra = {})
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(bytes);
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | extra);
        return path;
    }
    // A program that writes its folder and arguments to args.txt beside it.
    QString argumentPrinter(const QString& name)
    {
        return writeFile(name,
                         "#!/bin/sh\n"
                         "out=\"$(dirname \"$0\")/args.txt\"\n"
                         "pwd > \"$out.tmp\"\n"
                         "for a in \"$@\"; do echo \"[$a]\" >> \"$out.tmp\"; done\n"
                         "mv \"$out.tmp\" \"$out\"\n",
                         QFileDevice::ExeOwner);
    }
    QByteArray waitForArgs()
    {
        const QString path = dir_.filePath("args.txt");
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(path) && timer.elapsed() < 30000)
            QTest::qWait(20);
        QFile f(path);
        const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        QFile::remove(path);
        return bytes;
    }

private slots:
    void startsAProgramWithItsArguments()
    {
        const QString program = argumentPrinter("printer");
        const int result = ShellExecute("open", program, "one \"two words\" three", QString(), SW_SHOWNORMAL);
        QVERIFY(result > 32);
        QCOMPARE(waitForArgs(), dir_.path().toUtf8() + "\n[one]\n[two words]\n[three]\n");
    }

    void argumentListReachesTheProgramAsGiven()
    {
        // Blanks, quotes and shell characters stay inside their argument.
        const QString program = argumentPrinter("lister");
        const QStringList arguments{"/f", "/tmp/my part \"1\".nc", "$HOME;ls", ""};
        QVERIFY(ShellExecuteWithArguments("open", program, arguments) > 32);
        QCOMPARE(waitForArgs(),
                 dir_.path().toUtf8() + "\n[/f]\n[/tmp/my part \"1\".nc]\n[$HOME;ls]\n[]\n");
    }

    void windowsProgramNamesFindTheProgram()
    {
        argumentPrinter("Prentil");
        QVERIFY(ShellExecute("open", dir_.filePath("Prentil.exe"), QString(), QString(), 1) > 32);
        QCOMPARE(waitForArgs(), dir_.path().toUtf8() + "\n");
        // A bare name is looked up on the search path, with or without ".exe".
        QVERIFY(ShellExecute("open", "true", QString(), QString(), 1) > 32);
        QVERIFY(ShellExecute("", "true.exe", QString(), QString(), 1) > 32);
    }

    void failureCodes_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("expected");
        QTest::newRow("missing file") << "open" << "missing.exe" << SE_ERR_FNF;
        QTest::newRow("missing program name") << "open" << "talvex-no-such-program" << SE_ERR_FNF;
        QTest::newRow("file in a missing folder") << "open" << "nofolder/x.exe" << SE_ERR_PNF;
        QTest::newRow("empty name") << "open" << "" << SE_ERR_FNF;
        QTest::newRow("program without execute permission") << "open" << "noexec" << SE_ERR_ACCESSDENIED;
        QTest::newRow("program that cannot run") << "open" << "badelf" << SE_ERR_BAD_FORMAT;
        QTest::newRow("unknown verb on a document") << "print" << "doc.nc" << SE_ERR_NOASSOC;
        QTest::newRow("unknown verb on a program") << "print" << "printer2" << SE_ERR_NOASSOC;
    }
    void failureCodes()
    {
        QFETCH(QString, operation);
        QFETCH(QString, file);
        QFETCH(int, expected);
        writeFile("noexec", "#!/bin/sh\nexit 0\n");
        writeFile("badelf", QByteArray("\x7f" "ELF garbage that is no program"), QFileDevice::ExeOwner);
        writeFile("doc.nc", "%\nG0 X0\n%\n");
        argumentPrinter("printer2");
        // Names of the fixture are in the test folder; the others stand alone.
        const bool fixture = !file.isEmpty() && !file.startsWith("talvex");
        const QString path = fixture ? dir_.filePath(file) : file;
        QCOMPARE(ShellExecute(operation, path, QString(), QString(), 1), expected);
    }

    void documentsGoToTheDesktopHandler()
    {
        QList<QUrl> opened;
        bool succeed = true;
        SetDocumentOpener([&](const QUrl& url) {
            opened << url;
            return succeed;
        });
        const auto restore = qScopeGuard([] { SetDocumentOpener({}); });
        const QString document = writeFile("part.nc", "%\n");
        QVERIFY(ShellExecute("open", document) > 32);
        QVERIFY(ShellExecute("open", "part.nc", QString(), dir_.path()) > 32);
        QVERIFY(ShellExecute("open", dir_.path()) > 32);
        QVERIFY(ShellExecute("open", "https://example.org/help") > 32);
        succeed = false;
        QCOMPARE(ShellExecute("open", document), SE_ERR_NOASSOC);
        QCOMPARE(opened, (QList<QUrl>{QUrl::fromLocalFile(document), QUrl::fromLocalFile(document),
                                      QUrl::fromLocalFile(dir_.path()), QUrl("https://example.org/help"),
                                      QUrl::fromLocalFile(document)}));
    }

    void programStarterSeam()
    {
        QStringList calls;
        SetProgramStarter([&](const QString& program, const QStringList& arguments, const QString& folder) {
            calls << program + u'|' + arguments.join(u',') + u'|' + folder;
            return program.endsWith("printer3");
        });
        const auto restore = qScopeGuard([] { SetProgramStarter({}); });
        const QString program = argumentPrinter("printer3");
        QVERIFY(ShellExecute("open", program, "/f \"a b.nc\"", "/tmp") > 32);
        QCOMPARE(calls, QStringList{program + "|/f,a b.nc|/tmp"});
        const QString other = argumentPrinter("other");
        QCOMPARE(ShellExecute("open", other), SE_ERR_BAD_FORMAT);
    }

    void runProgramWaitsForTheExitCode()
    {
        const ProgramResult done = RunProgram("/bin/sh", {"-c", "exit 3"}, 30000);
        QVERIFY(done.started);
        QVERIFY(done.finished);
        QVERIFY(!done.timedOut);
        QCOMPARE(done.exitCode, 3);

        const ProgramResult endless = RunProgram("/bin/sh", {"-c", "sleep 30"}, 200);
        QVERIFY(endless.started);
        QVERIFY(!endless.finished);
        QVERIFY(endless.timedOut);

        const ProgramResult missing = RunProgram(dir_.filePath("none"), {}, 1000);
        QVERIFY(!missing.started);
        QVERIFY(!missing.error.isEmpty());

        const ProgramResult crashed = RunProgram("/bin/sh", {"-c", "kill -9 $$"}, 30000);
        QVERIFY(crashed.finished);
        QVERIFY(crashed.crashed);
    }

    // While it waits the program's own events go on (timers, repaints), and
    // starting the program says nothing on the console.
    void runProgramKeepsTheEventLoopGoing()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QProcess")));
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(20);
        const ProgramResult done = RunProgram("/bin/sh", {"-c", "sleep 0.4; exit 5"}, 30000);
        QVERIFY(done.finished);
        QCOMPARE(done.exitCode, 5);
        QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));

        ticks = 0;
        QElapsedTimer clock;
        clock.start();
        const ProgramResult endless = RunProgram("/bin/sh", {"-c", "sleep 30"}, 300);
        QVERIFY(endless.timedOut);
        QVERIFY(clock.elapsed() < 10000);
        QVERIFY(ticks >= 3);
    }

    void startProgramGivesTheProcessId()
    {
        qint64 pid = 0;
        QVERIFY(StartProgram("/bin/sh", {"-c", "exit 0"}, QString(), &pid));
        QVERIFY(pid > 0);
        QVERIFY(!StartProgram(dir_.filePath("none"), {}));
    }
};

QTEST_GUILESS_MAIN(ShellTest)
#include "tst_Shell.moc"
