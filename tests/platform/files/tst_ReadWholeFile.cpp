#include "platform/files/AtomicWrite.h"
#include "platform/files/ReadWholeFile.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

class tst_ReadWholeFile : public QObject {
    Q_OBJECT
private slots:
    // Every byte, from an empty file to one large enough for the huge-page buffer.
    void readsEveryByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("small, with NUL and CR") << QByteArray("O1000\r\n\0G00\r", 12);
        QByteArray large(6 * 1024 * 1024 + 123, Qt::Uninitialized);
        for (qsizetype i = 0; i < large.size(); ++i)
            large[i] = char(i * 31 % 251);
        QTest::newRow("6 MB") << large;
    }
    void readsEveryByte()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("HISTORY.CCF"));
        QVERIFY(WriteFileAtomically(path, bytes).ok);
        QByteArray read = "left over";
        QVERIFY(ReadWholeFile(path, read).ok);
        QCOMPARE(read, bytes);
    }

    // A file whose size says nothing of its bytes (as the system's own
    // files do) is read to its real end.
    void readsPastAZeroSize()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.exists())
            QSKIP("no /proc here");
        QByteArray read;
        QVERIFY(ReadWholeFile(status.fileName(), read).ok);
        QVERIFY(read.startsWith("Name:"));
        QVERIFY(read.contains("\nPid:"));
    }

    void failuresSayWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << "no/such/file" << "No such file or directory";
        QTest::newRow("a folder") << "." << "Is a directory";
    }
    void failuresSayWhy()
    {
        QFETCH(QString, name);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QByteArray read = "left over";
        const ReadOutcome outcome = ReadWholeFile(dir.filePath(name), read);
        QVERIFY(!outcome);
        QCOMPARE(outcome.error, error);
        QVERIFY(read.isEmpty());
    }
};

REGISTER_TEST(tst_ReadWholeFile);
#include "tst_ReadWholeFile.moc"
