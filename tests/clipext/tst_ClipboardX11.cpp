// The extender records a copy made by another program. Needs a real X server: ctest runs it
// on an Xvfb of its own; without one it is skipped and says why.
//
//   test_clipext_x11                    the test
//   test_clipext_x11 --own TEXT         the other program: puts TEXT on the clipboard and keeps
//                                       it there until stdin closes (at most 30 s)

#include "ClipFixture.h"

#include <QApplication>
#include <QListWidget>
#include <QProcess>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <unistd.h>

class TestClipboardAcrossProcesses : public QObject {
    Q_OBJECT
private slots:
    void recordsAnotherProgramsCopy()
    {
        if (qEnvironmentVariableIsSet("TALVEX_NO_XVFB"))
            QSKIP("Xvfb is not installed: another program's copy can only be seen on an X server");
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("no X server: run under xvfb-run to see another program's copy");
        ClipFixture fixture;
        frmClipMain& window = fixture.window();
        window.show();

        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {"--own", "G01 X5 (FROM ANOTHER PROGRAM)"});
        QVERIFY(other.waitForStarted());
        QVERIFY(other.waitForReadyRead(10000));
        const auto rows = [&window] {
            QStringList titles;
            for (int i = 0; i < window.lstClipboard->count(); ++i)
                titles.append(window.lstClipboard->item(i)->text());
            return titles;
        };
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList{"G01 X5 (FROM ANOTHER PROGRAM)"}, 10000);
        other.closeWriteChannel();
        QVERIFY(other.waitForFinished(10000));

        // Our own copy back is not recorded, not even when the notice of the
        // other program's exit comes after it; the other program's next copy is.
        window.mnuEditCopy->trigger();
        QTest::qWait(200);
        QCOMPARE(rows().join(u'|'), QStringLiteral("G01 X5 (FROM ANOTHER PROGRAM)"));
        QProcess again;
        again.start(QCoreApplication::applicationFilePath(), {"--own", "M30"});
        QVERIFY(again.waitForReadyRead(10000));
        QTRY_COMPARE_WITH_TIMEOUT(rows(), QStringList({"M30", "G01 X5 (FROM ANOTHER PROGRAM)"}), 10000);
        again.closeWriteChannel();
        QVERIFY(again.waitForFinished(10000));
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--own") == 0) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(argv[2]));
        std::printf("ready\n");
        std::fflush(stdout);
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
            char byte = 0;
            if (read(STDIN_FILENO, &byte, 1) <= 0)
                app.quit();
        });
        QTimer::singleShot(30000, &app, &QCoreApplication::quit);
        return QApplication::exec();
    }
    TestClipboardAcrossProcesses test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ClipboardX11.moc"
