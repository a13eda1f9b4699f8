#include "platform/files/AtomicWrite.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace platform;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray program(int bytes)
{
    QByteArray text;
    for (int n = 10; text.size() < bytes; n += 10)
        text += "N" + QByteArray::number(n) + " G01 X12.5 Y-3.25 F200\r\n";
    text.truncate(bytes);
    return text;
}

}  // namespace

class tst_AtomicWrite : public QObject {
    Q_OBJECT
private slots:
    void writesNewAndReplacesOld();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void simulatedFullDiskKeepsOldFile();
    void missingFolderIsReported();
    void keepsPermissionsAndFollowsLinks();
    void piecesAreWrittenInOrder_data();
    void piecesAreWrittenInOrder();
    void piecesOnAFullDiskKeepOldFile();
};

void tst_AtomicWrite::writesNewAndReplacesOld()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000"));
    QVERIFY(WriteFileAtomically(path, "first").ok);
    QCOMPARE(readAll(path), QByteArray("first"));
    QVERIFY(WriteFileAtomically(path, "").ok);
    QCOMPARE(readAll(path), QByteArray());
    QVERIFY(WriteFileAtomically(path, "second\r\n").ok);
    QCOMPARE(readAll(path), QByteArray("second\r\n"));
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("O1000")});
}

void tst_AtomicWrite::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("6000 bytes") << 6000;
    QTest::newRow("15000 bytes") << 15000;
}

void tst_AtomicWrite::fullDiskKeepsOldFile()
{
    QFETCH(int, size);
    SmallDisk disk(64 * 1024);
    REQUIRE_SMALL_DISK(disk);
    const QString path = disk.path(QStringLiteral("PART.NC"));
    const QByteArray old = program(2000);
    QVERIFY(WriteFileAtomically(path, old).ok);
    disk.fillLeaving(4096);
    const WriteOutcome outcome = WriteFileAtomically(path, program(size));
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, QStringLiteral("No space left on device"));
    QCOMPARE(readAll(path), old);
    QCOMPARE(QDir(disk.path(QString())).entryList({QStringLiteral(".PART.NC*")}, QDir::Files | QDir::Hidden),
             QStringList());
}

void tst_AtomicWrite::simulatedFullDiskKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    SetSimulatedFreeSpaceForTests(4096);
    const WriteOutcome outcome = WriteFileAtomically(path, program(6000));
    SetSimulatedFreeSpaceForTests(-1);
    QVERIFY(!outcome);
    QCOMPARE(outcome.error, QStringLiteral("No space left on device"));
    QCOMPARE(readAll(path), QByteArray("old"));
}

void tst_AtomicWrite::missingFolderIsReported()
{
    QTemporaryDir dir;
    const WriteOutcome outcome = WriteFileAtomically(dir.filePath(QStringLiteral("no/such/PART.NC")), "x");
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.error, QStringLiteral("No such file or directory"));
}

void tst_AtomicWrite::keepsPermissionsAndFollowsLinks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    ::chmod(QFile::encodeName(path).constData(), 0640);
    const QString link = dir.filePath(QStringLiteral("LINK.NC"));
    QVERIFY(QFile::link(path, link));
    QVERIFY(WriteFileAtomically(link, "new").ok);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(path), QByteArray("new"));
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 0777), 0640);
}


// A file given as pieces is their bytes one after the other, however many
// there are (more than one system call takes) and whatever their sizes.
void tst_AtomicWrite::piecesAreWrittenInOrder_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::newRow("one") << QList<QByteArray>{program(300)};
    QTest::newRow("none") << QList<QByteArray>{};
    QTest::newRow("empty ones among them") << QList<QByteArray>{"", "O1000\r\n", "", "", "M30\r\n", ""};
    QList<QByteArray> many;
    for (int i = 0; i < 1500; ++i)
        many.append(i % 3 == 0 ? QByteArray() : "N" + QByteArray::number(i) + "\r\n");
    QTest::newRow("more than a call takes") << many;
    QTest::newRow("large ones") << QList<QByteArray>{program(300000), "(MIDDLE)\r\n", program(200000)};
}

void tst_AtomicWrite::piecesAreWrittenInOrder()
{
    QFETCH(QList<QByteArray>, pieces);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HISTORY.CCF"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    std::vector<QByteArrayView> views(pieces.begin(), pieces.end());
    QVERIFY(WriteFileAtomically(path, views).ok);
    QCOMPARE(readAll(path), pieces.join());
}

// Cut inside a piece after many others: nothing of the new file replaces the old one.
void tst_AtomicWrite::piecesOnAFullDiskKeepOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HISTORY.CCF"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    QList<QByteArray> pieces;
    for (int i = 0; i < 700; ++i)
        pieces.append(program(10 + i % 7));
    pieces.append(program(8000));
    const std::vector<QByteArrayView> views(pieces.begin(), pieces.end());
    SetSimulatedFreeSpaceForTests(pieces.join().size() - 5000);
    const WriteOutcome outcome = WriteFileAtomically(path, views);
    SetSimulatedFreeSpaceForTests(-1);
    QVERIFY(!outcome);
    QCOMPARE(outcome.error, QStringLiteral("No space left on device"));
    QCOMPARE(readAll(path), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("HISTORY.CCF")});
}

REGISTER_TEST(tst_AtomicWrite);
#include "tst_AtomicWrite.moc"
