// Dropped files, keeping a file's times and permissions across a rewrite,
// and the shell's open with its error table.

#include "ShellFixture.h"
#include "support/TestRegistry.h"

#include "platform/files/AtomicWrite.h"
#include "platform/forms/Error.h"
#include "platform/shell/Shell.h"
#include "shell/GShell.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct FileStatus {
    quint32 mode = 0;
    qint64 accessNs = 0;
    qint64 writeNs = 0;
};

FileStatus Status(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {quint32(status.st_mode & 07777),
            qint64(status.st_atim.tv_sec) * 1000000000 + status.st_atim.tv_nsec,
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

// 2001-01-01 00:00:00.5 UTC, and a day later for the access time.
constexpr qint64 Written2001 = 978307200LL * 1000000000 + 500000000;
constexpr qint64 Read2001 = Written2001 + 86400LL * 1000000000;

void SetTimesAndMode(const QString& path, quint32 mode)
{
    const timespec times[2] = {{978393600, 500000000}, {978307200, 500000000}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

}  // namespace

class TestGShell : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        FileDataKept = false;
        KeptFilePath.clear();
        KeptFileData = {};
    }

    void droppedFilesAreAccepted()
    {
        QWidget window;
        QVERIFY(!window.acceptDrops());
        AcceptDroppedFiles(&window);
        QVERIFY(window.acceptDrops());
        AcceptDroppedFiles(nullptr);  // no window: nothing to do, no crash
    }

    void missingFileKeepsNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("none.ccf"));
        KillFileKeepInfo(path);
        QVERIFY(!FileDataKept);
        RestoreFileInfo();
        QVERIFY(!FileDataKept);
        QVERIFY(!QFileInfo::exists(path));
    }

    void rewriteKeepsTimesAndMode_data()
    {
        QTest::addColumn<quint32>("mode");
        QTest::newRow("read-only") << quint32(0444);
        QTest::newRow("owner only") << quint32(0600);
        QTest::newRow("shared") << quint32(0664);
    }
    void rewriteKeepsTimesAndMode()
    {
        QFETCH(quint32, mode);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.ccf"));
        ShellFixture::WriteBytes(path, "old");
        SetTimesAndMode(path, mode);

        KillFileKeepInfo(path);
        QVERIFY(FileDataKept);
        QCOMPARE(KeptFilePath, path);
        QVERIFY(QFileInfo::exists(path));  // the file stays until it is replaced
        // A read-only file is refused, except to root, who may write it.
        const bool mayWrite = (mode & 0200) != 0 || ::geteuid() == 0;
        QCOMPARE(bool(platform::WriteFileAtomically(path, "new content")), mayWrite);
        RestoreFileInfo();

        QVERIFY(!FileDataKept);
        const FileStatus status = Status(path);  // before reading moves the access time
        QCOMPARE(ShellFixture::ReadBytes(path), mayWrite ? QByteArray("new content") : QByteArray("old"));
        QCOMPARE(status.mode, mode);
        QCOMPARE(status.writeNs, Written2001);
        QCOMPARE(status.accessNs, Read2001);
        // Kept data are used once: a second restore changes nothing.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
        RestoreFileInfo();
        QCOMPARE(Status(path).mode, 0644u);
    }

    void failedWriteKeepsTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.ccf"));
        ShellFixture::WriteBytes(path, "old content");
        SetTimesAndMode(path, 0444);
        KillFileKeepInfo(path);
        platform::SetSimulatedFreeSpaceForTests(3);
        const platform::WriteOutcome outcome = platform::WriteFileAtomically(path, "a longer new content");
        platform::SetSimulatedFreeSpaceForTests(-1);
        QVERIFY(!outcome);
        RestoreFileInfo();
        QCOMPARE(ShellFixture::ReadBytes(path), QByteArray("old content"));
        QCOMPARE(Status(path).mode, 0444u);
        QCOMPARE(Status(path).writeNs, Written2001);
    }

    void restoreOnAVanishedFileIsSilent()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gone.ccf"));
        ShellFixture::WriteBytes(path, "x");
        KillFileKeepInfo(path);
        QVERIFY(QFile::remove(path));
        RestoreFileInfo();
        QVERIFY(!FileDataKept);
        QVERIFY(!QFileInfo::exists(path));
    }

    void errorTable_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("description");
        const qint64 base = -2147220456LL;
        QTest::newRow("0") << 0 << qint64(7) << "Out of memory";
        QTest::newRow("8") << 8 << qint64(7) << "Out of memory";
        QTest::newRow("2") << 2 << qint64(53) << "File not found";
        QTest::newRow("3") << 3 << qint64(76) << "Path not found";
        QTest::newRow("5") << 5 << qint64(75) << "Path/file access error";
        QTest::newRow("11") << 11 << base + 11 << "The executable file is invalid or corrupt";
        QTest::newRow("26") << 26 << qint64(75) << "A sharing violation occurred.";
        QTest::newRow("27") << 27 << base + 27 << "This file type does not have a valid file association.";
        QTest::newRow("28") << 28 << qint64(286)
                            << "The file could not be opened due to time out. Please try again in a moment.";
        QTest::newRow("29") << 29 << qint64(285)
                            << "The file could not be opened because the DDE transaction failed. Please try "
                               "again in a moment.";
        QTest::newRow("30") << 30 << qint64(285)
                            << "The file could not be opened because the target application is busy. Please "
                               "try again in a moment.";
        QTest::newRow("31") << 31 << base + 31 << "No application is associated with this file type.";
        QTest::newRow("32") << 32 << qint64(48) << "The specified dynamic-link library was not found.";
        QTest::newRow("other") << 14 << base + 14
                               << "An error occurred occurred whilst trying to open or print the selected file.";
    }
    void errorTable()
    {
        QFETCH(int, result);
        QFETCH(qint64, number);
        QFETCH(QString, description);
        const ShellFailure failure = ShellFailureFor(result);
        QCOMPARE(failure.Number, platform::Error::toNumber(number));
        QCOMPARE(failure.Description, description);
    }

    void shellOpenReportsThroughTheErrorObject()
    {
        QTemporaryDir dir;
        const QString source = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                               + QStringLiteral(".GShell");
        QVERIFY(!ShellExecuteFile(dir.filePath(QStringLiteral("Numtra.exe")), 1, {}, QString(),
                                  QStringLiteral("open"), nullptr));
        QCOMPARE(ShellError.Number, 53);
        QCOMPARE(ShellError.Description, QStringLiteral("File not found"));
        QCOMPARE(ShellError.Source, source);

        QVERIFY(!ShellExecuteFile(dir.filePath(QStringLiteral("no/calc")), 1, {}, QString(),
                                  QStringLiteral("open"), nullptr));
        QCOMPARE(ShellError.Number, 76);

        const QString program = dir.filePath(QStringLiteral("calc"));
        ShellFixture::WriteBytes(program, "#!/bin/sh\nexit 0\n");
        QVERIFY(!ShellExecuteFile(program, 1, {}, QString(), QStringLiteral("open"), nullptr));
        QCOMPARE(ShellError.Number, 75);  // not executable

        // A success clears what the failure before it set.
        QStringList started;
        const auto previous = platform::SetProgramStarter(
            [&](const QString& file, const QStringList& arguments, const QString&) {
                started.append(QFileInfo(file).fileName() + u'|' + arguments.join(u','));
                return true;
            });
        const auto restore = qScopeGuard([&] { platform::SetProgramStarter(previous); });
        QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
        QVERIFY(ShellExecuteFile(program, 1, {QStringLiteral("a b.nc")}, QString(), QStringLiteral("open"),
                                 nullptr));
        QCOMPARE(ShellError.Number, 0);
        QCOMPARE(ShellError.Description, QString());
        QCOMPARE(started, QStringList{QStringLiteral("calc|a b.nc")});
    }
};

REGISTER_TEST(TestGShell);
#include "tst_GShell.moc"
