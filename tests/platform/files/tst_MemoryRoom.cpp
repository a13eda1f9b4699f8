#include "platform/files/MemoryRoom.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace platform;

class tst_MemoryRoom : public QObject {
    Q_OBJECT
private slots:
    // The system's own figure is read: more than nothing, less than the machine has.
    void availableMemoryIsTheSystems()
    {
        const qint64 available = AvailableMemory();
        QVERIFY(available > 0);
        QVERIFY(available <= qint64(::sysconf(_SC_PHYS_PAGES)) * ::sysconf(_SC_PAGESIZE));
    }

    void fileIsRefusedByWhatItTakes_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<double>("perByte");
        QTest::addColumn<qint64>("available");
        QTest::addColumn<bool>("ok");
        QTest::newRow("fits") << (qint64(3) << 30) << 2.5 << (qint64(8) << 30) << true;
        QTest::newRow("just fits") << (qint64(2) << 30) << 4.0 << (qint64(8) << 30) << true;
        QTest::newRow("a byte too many") << (qint64(2) << 30) + 1 << 4.0 << (qint64(8) << 30) << false;
        QTest::newRow("empty") << qint64(0) << 6.0 << qint64(0) << true;
    }
    void fileIsRefusedByWhatItTakes()
    {
        QFETCH(qint64, size);
        QFETCH(double, perByte);
        QFETCH(qint64, available);
        QFETCH(bool, ok);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("BIG.NC"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));  // sparse
        file.close();
        SetAvailableMemoryForTests(available);
        const ReadOutcome room = RoomToRead(path, perByte);
        // What is no regular file is its reader's to refuse.
        const ReadOutcome folder = RoomToRead(dir.path(), perByte);
        SetAvailableMemoryForTests(-1);
        QCOMPARE(room.ok, ok);
        QVERIFY(folder.ok);
        if (!ok)
            QCOMPARE(room.error, QStringLiteral("The file %1 is too large to be read: it has 2,147,483,649 bytes "
                                                "(2.0 GB), and holding it takes about 8.0 GB of memory, but only "
                                                "8.0 GB is available. Nothing was read.")
                                     .arg(path));
    }
};

REGISTER_TEST(tst_MemoryRoom);
#include "tst_MemoryRoom.moc"
