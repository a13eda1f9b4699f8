#include "platform/files/FileLock.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

class tst_FileLock : public QObject {
    Q_OBJECT
private slots:
    void heldLockIsBusyUntilReleased()
    {
        QTemporaryDir dir;
        const QString path = LockFileOf(dir.filePath(QStringLiteral("Editor.ini")));
        FileLock first(path);
        QCOMPARE(first.lock(0), FileLock::Outcome::Locked);
        QVERIFY(first.isLocked());
        FileLock second(path);
        QCOMPARE(second.lock(0), FileLock::Outcome::Busy);
        QCOMPARE(second.lock(30), FileLock::Outcome::Busy);
        first.unlock();
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(second.lock(0), FileLock::Outcome::Locked);
    }

    // A lock file that nobody holds, whatever it contains, is taken at
    // once: an empty one, left by a killed process, once blocked writes
    // for 30 seconds.
    void leftoverLockFileIsTakenAtOnce_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a process number") << QByteArray("2147483000\nPelmar\nhost\n");
        QTest::newRow("junk") << QByteArray("\x01\x02\xff");
    }
    void leftoverLockFileIsTakenAtOnce()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("HKEY_CURRENT_USER.hive.lock"));
        QFile leftover(path);
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.write(content);
        leftover.close();
        FileLock lock(path);
        QCOMPARE(lock.lock(0), FileLock::Outcome::Locked);
    }

    void missingFolderFails()
    {
        QTemporaryDir dir;
        FileLock lock(dir.filePath(QStringLiteral("no/such/Editor.ini.lock")));
        QCOMPARE(lock.lock(1000), FileLock::Outcome::Failed);
        QCOMPARE(lock.error(), QStringLiteral("No such file or directory"));
        QVERIFY(!lock.isLocked());
    }
};

REGISTER_TEST(tst_FileLock);
#include "tst_FileLock.moc"
