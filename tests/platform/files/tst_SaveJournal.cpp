#include "platform/files/AtomicWrite.h"
#include "platform/files/SaveJournal.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"
#include "support/Unprivileged.h"

#include "fuzz/JournalFuzzCheck.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

QByteArray journalTestBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool journalTestWrite(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Written where it lies (same inode), as another program's plain write.
bool journalTestRewrite(const QString& path, const QByteArray& bytes, int flags = O_TRUNC)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | flags);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size();
    if (fd >= 0)
        ::close(fd);
    return ok;
}

QByteArray journalTestProgram(int lines, const char* word)
{
    QByteArray text;
    for (int n = 0; n < lines; ++n)
        text += "N" + QByteArray::number(n * 10) + " G01 X" + QByteArray::number(n % 97) + ' ' + word + "\r\n";
    return text;
}

ino_t journalTestInode(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// The journals, and the old content kept apart, go to folders of the test's
// own while it lives.
class JournalFolderForTest {
public:
    JournalFolderForTest() : cache_(qgetenv("XDG_CACHE_HOME")), data_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("cache"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("data"))));
    }
    ~JournalFolderForTest()
    {
        qputenv("XDG_CACHE_HOME", cache_);
        qputenv("XDG_DATA_HOME", data_);
    }
    QString path() const { return dir_.path(); }
    QStringList journals() const { return QDir(SaveJournalFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot); }
    QString keptFolder() const { return dir_.filePath(QStringLiteral("data/Talvex/kept")); }
    QStringList kept() const { return QDir(keptFolder()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir dir_;
    QByteArray cache_;
    QByteArray data_;
};

QString journalTestTool() { return QCoreApplication::applicationDirPath() + QStringLiteral("/save_tool"); }

// Why saves cannot be killed part way here; empty when they can.
QString journalTestStraceMissing()
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        return QStringLiteral("strace is not installed (package strace)");
    if (QProcess::execute(strace, {QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                                   QStringLiteral("true")})
        != 0)
        return QStringLiteral("strace may not trace here (ptrace refused)");
    return QString();
}

// Runs a save_tool step, ended should it not end by itself in time (a
// journal that blocks it); its output, or a null list when it hung.
QStringList journalTestRun(const QStringList& arguments)
{
    QProcess tool;
    tool.start(journalTestTool(), arguments);
    if (!tool.waitForFinished(30000)) {
        tool.kill();
        tool.waitForFinished();
        return QStringList();
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// A save (or append) of save_tool killed on entering the when-th `call`
// (strace injects the signal); false when it was not cut short. Writes are
// counted on the file alone: the sanitizers' runtime writes too.
bool journalTestCutShort(const QString& step, const QString& path, const QString& content, const QString& call, int when)
{
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                          QStringLiteral("-e"), QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call).arg(when)};
    if (call == QLatin1String("write"))
        arguments << QStringLiteral("-P") << path;
    QProcess killed;
    killed.start(QStandardPaths::findExecutable(QStringLiteral("strace")),
                 arguments + QStringList{journalTestTool(), step, path, content});
    return killed.waitForFinished(60000) && !killed.readAllStandardOutput().contains("saved");
}

// A save in place cut short after its first block, as a kill leaves it.
bool journalTestLeaveTorn(const QString& path, const QByteArray& next, const QByteArray& target = QByteArray())
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    SaveJournal journal;
    const QByteArrayView view(next);
    int error = 0;
    QString cause;
    const bool ok = journal.begin(target.isNull() ? QFile::encodeName(path) : target, fd, {&view, 1}, false, &error,
                                  &cause)
                 && ::pwrite(fd, next.constData(), std::size_t(std::min<qsizetype>(next.size(), 4096)), 0) > 0;
    ::close(fd);
    return ok;
}

// The file holds `old`, a save of it was cut short, then another program
// rewrote it as "THEIRS".
bool journalTestLeaveChangedSince(const QString& path, const QByteArray& old)
{
    return journalTestWrite(path, old) && journalTestLeaveTorn(path, journalTestProgram(500, "NEW"))
        && journalTestRewrite(path, "THEIRS\r\n");
}

// Where the journal of the file would lie (none is left there).
QString journalTestJournalOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    SaveJournal journal;
    int error = 0;
    QString cause;
    if (fd < 0 || !journal.begin(QFile::encodeName(path), fd, {}, false, &error, &cause))
        return QString();
    const QString where = journal.path();
    journal.finish();
    ::close(fd);
    return where;
}

}  // namespace

class tst_SaveJournal : public QObject {
    Q_OBJECT
private slots:
    void interruptedSaveIsRolledBack_data();
    void interruptedSaveIsRolledBack();
    void fileChangedSinceIsLeftAsItIs_data();
    void fileChangedSinceIsLeftAsItIs();
    void tornFileIsPutBackUnderAnyName_data();
    void tornFileIsPutBackUnderAnyName();
    void oldContentIsKeptUnderAFreeName();
    void oldContentThatCannotBeKeptStays();
    void untrustedJournalsAreLeftAlone_data();
    void untrustedJournalsAreLeftAlone();
    void damagedJournalsAreNotActedOn_data();
    void damagedJournalsAreNotActedOn();
    void fuzzSeedsKeepTheRule();
    void piecesAreWrittenInPlaceInOrder_data();
    void piecesAreWrittenInPlaceInOrder();
    void journalOnAFullDiskSaysItWasNotKept();
    void tornJournalLeavesTheFileAlone();
    void saveGoingOnIsNotRolledBack();
    void leftTemporariesGoAtTheNextSave();
};

// A save killed at a chosen system call (strace injects the signal): the
// file is the old or the new one, whole, once the next program looked at it,
// and nothing of the save stays behind after the next save.
void tst_SaveJournal::interruptedSaveIsRolledBack_data()
{
    QTest::addColumn<QString>("step");      // of save_tool
    QTest::addColumn<bool>("linked");       // a second name: written in place
    QTest::addColumn<int>("lines");         // of the new content (or the appended)
    QTest::addColumn<QString>("call");      // killed on entering the n-th of these
    QTest::addColumn<int>("when");
    QTest::addColumn<QString>("afterKill");  // old, new or mixed
    QTest::addColumn<QString>("recovery");   // what save_tool recover says
    QTest::addColumn<QString>("final");      // old or new
    // In a fresh cache folder the three folders made are flushed first
    // (fsync 1 to 3); then the journal (4) and its folder (5), the file (6).
    QTest::newRow("replace: killed writing") << "replace" << false << 2000 << "writev" << 1 << "old" << "nothing"
                                             << "old";
    QTest::newRow("replace: killed before the rename") << "replace" << false << 2000 << "rename" << 1 << "old"
                                                       << "nothing" << "old";
    QTest::newRow("replace: killed after the rename") << "replace" << false << 2000 << "fsync" << 2 << "new"
                                                      << "nothing" << "new";
    QTest::newRow("in place: killed writing the journal") << "replace" << true << 2000 << "pwrite64" << 2 << "old"
                                                          << "nothing" << "old";
    QTest::newRow("in place: killed flushing the journal") << "replace" << true << 2000 << "fsync" << 4 << "old"
                                                           << "nothing" << "old";
    QTest::newRow("in place: killed before writing the file") << "replace" << true << 2000 << "write" << 1 << "old"
                                                              << "nothing" << "old";
    QTest::newRow("in place: killed growing the file") << "replace" << true << 60000 << "write" << 2 << "mixed"
                                                       << "restored" << "old";
    QTest::newRow("in place: killed before cutting the file") << "replace" << true << 2000 << "ftruncate" << 2
                                                              << "mixed" << "restored" << "old";
    QTest::newRow("in place: killed before the journal went") << "replace" << true << 2000 << "unlinkat" << 1 << "new"
                                                              << "restored" << "old";
    QTest::newRow("append: killed between two writes") << "append" << false << 60000 << "write" << 2 << "mixed"
                                                       << "restored" << "old";
    QTest::newRow("append: killed before the flush") << "append" << false << 300 << "fsync" << 6 << "new"
                                                     << "restored" << "old";
}

void tst_SaveJournal::interruptedSaveIsRolledBack()
{
    QFETCH(QString, step);
    QFETCH(bool, linked);
    QFETCH(int, lines);
    QFETCH(QString, call);
    QFETCH(int, when);
    QFETCH(QString, afterKill);
    QFETCH(QString, recovery);
    QFETCH(QString, final);
    if (const QString why = journalTestStraceMissing(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY2(QFile::exists(journalTestTool()), qPrintable(journalTestTool()));

    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QString content = dir.filePath(QStringLiteral("content"));
    const QByteArray old = journalTestProgram(6000, "OLD");
    const QByteArray added = journalTestProgram(lines, "NEW");
    const QByteArray now = step == QLatin1String("append") ? old + added : added;
    QVERIFY(journalTestWrite(path, old));
    QVERIFY(journalTestWrite(content, added));
    if (linked)
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("COPY.NC"))).constData()), 0);

    QVERIFY2(journalTestCutShort(step, path, content, call, when), "the save was not cut short");

    const QByteArray left = journalTestBytes(path);
    if (afterKill == QLatin1String("old"))
        QCOMPARE(left, old);
    else if (afterKill == QLatin1String("new"))
        QCOMPARE(left, now);
    else
        QVERIFY(left != old && left != now);

    const QStringList said = journalTestRun({QStringLiteral("recover"), path});
    QVERIFY(!said.isEmpty());
    QCOMPARE(said.first(), recovery);
    QCOMPARE(journalTestBytes(path), final == QLatin1String("old") ? old : now);
    if (linked)
        QCOMPARE(journalTestBytes(dir.filePath(QStringLiteral("COPY.NC"))), journalTestBytes(path));
    QCOMPARE(journals.journals(), QStringList());
    QCOMPARE(journals.kept(), QStringList());

    // The next save goes through, and takes along what the killed one left.
    QVERIFY(WriteFileAtomically(path, "O1000\r\nM30\r\n").ok);
    QCOMPARE(journalTestBytes(path), QByteArray("O1000\r\nM30\r\n"));
    QStringList expected{QStringLiteral("O1000.NC"), QStringLiteral("content")};
    if (linked)
        expected.prepend(QStringLiteral("COPY.NC"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(journals.journals(), QStringList());
}

// The journal named its file by device and inode alone and held only its
// old content: whatever another program (or user) wrote to the file after
// a save was cut short went when the suite next opened it. Now the file is
// put back only as that save can have left it; else it stays as it is and
// its old content is kept apart, where the message says.
void tst_SaveJournal::fileChangedSinceIsLeftAsItIs_data()
{
    QTest::addColumn<QString>("step");   // the save cut short: replace (in place) or append
    QTest::addColumn<QString>("since");  // what happened to the file after
    QTest::newRow("save, rewritten in place") << "replace" << "rewritten";
    QTest::newRow("save, appended to") << "replace" << "appended";
    QTest::newRow("save, a new program on the freed inode") << "replace" << "new file";
    QTest::newRow("save, its torn bytes in a new file on the freed inode") << "replace" << "same bytes, new file";
    QTest::newRow("save, another user saved over the torn file") << "replace" << "another user's save";
    QTest::newRow("append, appended to") << "append" << "appended";
    QTest::newRow("append, rewritten in place") << "append" << "rewritten";
}

void tst_SaveJournal::fileChangedSinceIsLeftAsItIs()
{
    QFETCH(QString, step);
    QFETCH(QString, since);
    if (const QString why = journalTestStraceMissing(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const bool append = step == QLatin1String("append");
    JournalFolderForTest journals;
    QTemporaryDir dir;
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QString copy = dir.filePath(QStringLiteral("COPY.NC"));
    const QString content = dir.filePath(QStringLiteral("content"));
    const QByteArray old = journalTestProgram(6000, "OLD");
    QVERIFY(journalTestWrite(path, old));
    QVERIFY(journalTestWrite(content, journalTestProgram(append ? 60000 : 2000, "NEW")));
    // In place for its second name; killed with the file torn.
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()), 0);
    QVERIFY(journalTestCutShort(step, path, content, append ? QStringLiteral("write") : QStringLiteral("ftruncate"), 2));
    const QByteArray torn = journalTestBytes(path);
    QVERIFY(torn != old);
    QCOMPARE(journals.journals().size(), 1);

    QByteArray theirs = journalTestProgram(3000, "THEIRS");
    if (since == QLatin1String("rewritten")) {
        QVERIFY(journalTestRewrite(path, theirs));
    } else if (since == QLatin1String("appended")) {
        QVERIFY(journalTestRewrite(path, "N99999 M30\r\n", O_APPEND));
        theirs = torn + "N99999 M30\r\n";
    } else if (since.endsWith(QLatin1String("new file"))) {
        // The old file goes; ext4 gives its inode to the next new file. Where
        // the file system did not, its journal is put under the new inode.
        if (since.startsWith(QLatin1String("same bytes")))
            theirs = torn;
        const ino_t inode = journalTestInode(path);
        const QString journal = SaveJournalFolder() + u'/' + journals.journals().first();
        QVERIFY(QFile::remove(copy));
        QVERIFY(QFile::remove(path));
        QVERIFY(journalTestWrite(path, theirs));
        if (journalTestInode(path) != inode) {
            const QString reused = journal.left(journal.lastIndexOf(u'-') + 1)
                                 + QString::number(journalTestInode(path), 16) + QStringLiteral(".journal");
            QVERIFY(QFile::rename(journal, reused));
        }
    } else {
        // Another user saves the shared file, in place (the folder is not
        // theirs), with a journal of their own that knows nothing of ours.
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0666), 0);
        QTemporaryDir otherHome;
        QCOMPARE(::chmod(QFile::encodeName(otherHome.path()).constData(), 0755), 0);
        QVERIFY(AsUnprivilegedUser::GiveToUser(otherHome.path()));
        const QByteArray ours = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(otherHome.path()));
        WriteOutcome saved;
        {
            AsUnprivilegedUser user;
            saved = WriteFileAtomically(path, theirs);
        }
        qputenv("XDG_CACHE_HOME", ours);
        QVERIFY2(saved.ok, qPrintable(saved.error));
        QCOMPARE(journalTestInode(path), journalTestInode(copy));
    }
    QCOMPARE(journalTestBytes(path), theirs);

    const QStringList said = journalTestRun({QStringLiteral("recover"), path});
    QCOMPARE(said.size(), 2);
    QCOMPARE(said[0], QStringLiteral("kept"));
    QCOMPARE(journalTestBytes(path), theirs);
    QCOMPARE(journals.journals(), QStringList());
    const QString changed =
        QStringLiteral("A save of %1 was cut short, and the file has been changed since. It was left as it is").arg(path);
    if (append) {
        QCOMPARE(said[1], changed + u'.');
        QCOMPARE(journals.kept(), QStringList());
    } else {
        QCOMPARE(journals.kept().size(), 1);
        const QString kept = journals.keptFolder() + u'/' + journals.kept().first();
        QVERIFY2(QRegularExpression(QStringLiteral("/O1000\\.NC\\.\\d{8}-\\d{6}$")).match(kept).hasMatch(), qPrintable(kept));
        QCOMPARE(journalTestBytes(kept), old);
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(kept).constData(), &status), 0);
        QCOMPARE(int(status.st_mode & 07777), 0600);
        QCOMPARE(said[1], changed + QStringLiteral("; its content from before that save is kept in %1.").arg(kept));
    }
    // The journal acts no more.
    QCOMPARE(journalTestRun({QStringLiteral("recover"), path}).value(0), QStringLiteral("nothing"));
    QCOMPARE(journalTestBytes(path), theirs);
}

// Opened under another name than it was saved under (its folder renamed,
// or through its other link once the first was removed), a torn file kept
// its new start and old end for good: the journal was dropped as its
// recorded path led nowhere. The file opened decides.
void tst_SaveJournal::tornFileIsPutBackUnderAnyName_data()
{
    QTest::addColumn<bool>("folderRenamed");  // else the first name removed
    QTest::newRow("through its other link") << false;
    QTest::newRow("in its renamed folder") << true;
}

void tst_SaveJournal::tornFileIsPutBackUnderAnyName()
{
    QFETCH(bool, folderRenamed);
    if (const QString why = journalTestStraceMissing(); !why.isEmpty())
        QSKIP(qPrintable(why));
    JournalFolderForTest journals;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("programs")));
    const QString path = dir.filePath(QStringLiteral("programs/O1000.NC"));
    const QString content = dir.filePath(QStringLiteral("content"));
    const QByteArray old = journalTestProgram(6000, "OLD");
    QVERIFY(journalTestWrite(path, old));
    QVERIFY(journalTestWrite(content, journalTestProgram(2000, "NEW")));
    const QByteArray copy = QFile::encodeName(dir.filePath(QStringLiteral("programs/COPY.NC")));
    QCOMPARE(::link(QFile::encodeName(path).constData(), copy.constData()), 0);
    QVERIFY(journalTestCutShort(QStringLiteral("replace"), path, content, QStringLiteral("ftruncate"), 2));
    QVERIFY(journalTestBytes(path) != old);

    QString opened;
    if (folderRenamed) {
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("programs"), QStringLiteral("moved")));
        opened = dir.filePath(QStringLiteral("moved/O1000.NC"));
    } else {
        QVERIFY(QFile::remove(path));
        opened = dir.filePath(QStringLiteral("programs/COPY.NC"));
    }
    const QStringList said = journalTestRun({QStringLiteral("recover"), opened});
    QCOMPARE(said.value(0), QStringLiteral("restored"));
    QCOMPARE(said.value(1),
             QStringLiteral("A save of %1 was cut short. The file was put back as it was before that save.").arg(path));
    QCOMPARE(journalTestBytes(opened), old);
    QCOMPARE(journals.journals(), QStringList());
}

// The old content kept apart never replaces a file kept before under the
// same name, and only the user may read it.
void tst_SaveJournal::oldContentIsKeptUnderAFreeName()
{
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O2000.NC"));
    const QByteArray old = journalTestProgram(800, "OLD");
    QVERIFY(journalTestLeaveChangedSince(path, old));
    const QString journal = SaveJournalFolder() + u'/' + journals.journals().value(0);
    const QString first = journals.keptFolder() + QStringLiteral("/O2000.NC.")
                        + QFileInfo(journal).lastModified().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QVERIFY(QDir().mkpath(journals.keptFolder()));
    QVERIFY(journalTestWrite(first, "KEPT BEFORE"));

    const RecoveryOutcome outcome = RecoverInterruptedSave(path);
    QCOMPARE(outcome.kind, RecoveryOutcome::Kind::Kept);
    QCOMPARE(outcome.kept, first + QStringLiteral("-2"));
    QCOMPARE(journalTestBytes(outcome.kept), old);
    QCOMPARE(journalTestBytes(first), QByteArray("KEPT BEFORE"));
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(outcome.kept).constData(), &status), 0);
    QCOMPARE(int(status.st_mode & 07777), 0600);
    QCOMPARE(journalTestBytes(path), QByteArray("THEIRS\r\n"));
    QCOMPARE(journals.journals(), QStringList());
}

// When the old content cannot be kept apart, the journal keeps it: the
// outcome says so, and a save waits until it can be.
void tst_SaveJournal::oldContentThatCannotBeKeptStays()
{
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O3000.NC"));
    const QByteArray old = journalTestProgram(800, "OLD");
    QVERIFY(journalTestLeaveChangedSince(path, old));
    const QString journal = SaveJournalFolder() + u'/' + journals.journals().value(0);
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    QVERIFY(journalTestWrite(dir.filePath(QStringLiteral("blocker")), "a file, not a folder"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("blocker/data"))));
    const RecoveryOutcome outcome = RecoverInterruptedSave(path);
    const WriteOutcome saved = WriteFileAtomically(path, "MINE\r\n");
    qputenv("XDG_DATA_HOME", data);
    QCOMPARE(outcome.kind, RecoveryOutcome::Kind::Failed);
    QCOMPARE(outcome.message,
             QStringLiteral("A save of %1 was cut short, and the file has been changed since. It was left as it is, but "
                            "its content from before that save could not be kept in %2: Not a directory. It stays in %3.")
                 .arg(path, dir.filePath(QStringLiteral("blocker/data/Talvex/kept")), journal));
    QVERIFY(!saved.ok);
    QCOMPARE(saved.error, outcome.message);
    QCOMPARE(journalTestBytes(path), QByteArray("THEIRS\r\n"));
    QVERIFY(QFile::exists(journal));

    QCOMPARE(RecoverInterruptedSave(path).kind, RecoveryOutcome::Kind::Kept);
    QCOMPARE(journalTestBytes(journals.keptFolder() + u'/' + journals.kept().value(0)), old);
    QCOMPARE(journalTestBytes(path), QByteArray("THEIRS\r\n"));
}

// A FIFO at a journal's name hung every open and save of the file; a
// journal folder or journal that another user owns, or others may enter,
// was used all the same. Recovery leaves them alone; a save in place or an
// append refuses, saying what is wrong.
void tst_SaveJournal::untrustedJournalsAreLeftAlone_data()
{
    QTest::addColumn<QString>("spoil");
    QTest::addColumn<QString>("refusal");  // %1: the journal folder, %2: the journal
    QTest::newRow("a FIFO at the journal's name")
        << "fifo" << "File exists (%2, where the old content is to be kept until the save is done, is not a regular file)";
    QTest::newRow("journal folder of another user")
        << "folder owner"
        << "Permission denied (the folder %1, which keeps the old content until the save is done, is owned by another "
           "user)";
    QTest::newRow("journal folder open to others")
        << "folder mode"
        << "Permission denied (the folder %1, which keeps the old content until the save is done, is open to other "
           "users)";
    QTest::newRow("journal open to others")
        << "journal mode"
        << "Permission denied (%2, where the old content is to be kept until the save is done, is open to other users)";
}

void tst_SaveJournal::untrustedJournalsAreLeftAlone()
{
    QFETCH(QString, spoil);
    QFETCH(QString, refusal);
    if (spoil == QLatin1String("folder owner") && ::geteuid() != 0)
        QSKIP("only root can give the journal folder to another user");
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QString content = dir.filePath(QStringLiteral("content"));
    const QByteArray old = journalTestProgram(1000, "OLD");
    QVERIFY(journalTestWrite(path, old));
    QVERIFY(journalTestWrite(content, "N10 M30\r\n"));
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("COPY.NC"))).constData()), 0);
    const QString journal = journalTestJournalOf(path);
    QVERIFY(!journal.isEmpty());
    const QByteArray folder = QFile::encodeName(SaveJournalFolder());
    if (spoil == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(journal).constData(), 0600), 0);
    } else {
        // A torn file that the journal would put back.
        QVERIFY(journalTestLeaveTorn(path, journalTestProgram(900, "NEW")));
        if (spoil == QLatin1String("folder owner"))
            QCOMPARE(::chown(folder.constData(), AsUnprivilegedUser::Nobody, AsUnprivilegedUser::NoGroup), 0);
        else if (spoil == QLatin1String("folder mode"))
            QCOMPARE(::chmod(folder.constData(), 0755), 0);
        else
            QCOMPARE(::chmod(QFile::encodeName(journal).constData(), 0644), 0);
    }
    const QByteArray left = journalTestBytes(path);

    // Each in a process of its own, which is ended should it hang.
    QCOMPARE(journalTestRun({QStringLiteral("recover"), path}).value(0), QStringLiteral("nothing"));
    QCOMPARE(journalTestBytes(path), left);
    const QString refused = QStringLiteral("failed: ")
                          + QString(refusal).replace(QLatin1String("%1"), SaveJournalFolder()).replace(QLatin1String("%2"), journal);
    QCOMPARE(journalTestRun({QStringLiteral("replace"), path, content}), QStringList{refused});
    QCOMPARE(journalTestRun({QStringLiteral("append"), path, content}), QStringList{refused});
    QCOMPARE(journalTestBytes(path), left);

    // Made right again, the journal that was left alone puts the file back.
    if (spoil == QLatin1String("fifo"))
        return;
    if (spoil == QLatin1String("folder owner"))
        QCOMPARE(::chown(folder.constData(), ::geteuid(), ::getegid()), 0);
    else if (spoil == QLatin1String("folder mode"))
        QCOMPARE(::chmod(folder.constData(), 0700), 0);
    else
        QCOMPARE(::chmod(QFile::encodeName(journal).constData(), 0600), 0);
    QCOMPARE(RecoverInterruptedSave(path).kind, RecoveryOutcome::Kind::Restored);
    QCOMPARE(journalTestBytes(path), old);
}

namespace {

void journalTestPut(QByteArray& bytes, quint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += char((value >> (8 * i)) & 0xFF);
}

}  // namespace

// A journal whose sizes were near 2^63 overflowed a signed sum while it was
// read (undefined behaviour); a recorded path holding a NUL was accepted.
// Neither is acted on: the file stays as it is.
void tst_SaveJournal::damagedJournalsAreNotActedOn_data()
{
    QTest::addColumn<QByteArray>("journal");  // empty: a journal whose path holds a NUL
    const QByteArray magic("TVXJRNL\n");
    QByteArray first = magic;  // version, kind, device, inode, old size, path length, reserved, checksum
    for (const auto& [value, size] : {std::pair<quint64, int>{1, 4}, {1, 4}, {1, 8}, {2, 8},
                                      {(quint64(1) << 63) - 16, 8}, {8, 4}, {0, 4}, {0, 8}})
        journalTestPut(first, value, size);
    QTest::newRow("old size near 2^63, first form") << first + QByteArray("/tmp/O1\0", 8);
    // version, kind, device, inode, birth (seconds, nanoseconds), flags, old size, new size, path length, reserved, checksum
    const auto second = [&](quint64 kind, quint64 oldSize, quint64 newSize) {
        QByteArray bytes = magic;
        for (const auto& [value, size] : {std::pair<quint64, int>{2, 4}, {kind, 4}, {1, 8}, {2, 8}, {0, 8}, {0, 4},
                                          {0, 4}, {oldSize, 8}, {newSize, 8}, {8, 4}, {0, 4}, {0, 8}})
            journalTestPut(bytes, value, size);
        return bytes + QByteArray("/tmp/O1\0", 8);
    };
    QTest::newRow("old size near 2^63") << second(1, (quint64(1) << 63) - 16, 100);
    QTest::newRow("new size near 2^63") << second(1, 100, (quint64(1) << 63) - 16);
    QTest::newRow("appended length past 2^63") << second(2, (quint64(1) << 63) - 16, quint64(1) << 62);
    QTest::newRow("NUL in the recorded path") << QByteArray();
}

void tst_SaveJournal::damagedJournalsAreNotActedOn()
{
    QFETCH(QByteArray, journal);
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    QVERIFY(journalTestWrite(path, journalTestProgram(1000, "OLD")));
    if (journal.isEmpty()) {
        // Whole, and of this file, but its path names this file and more.
        QVERIFY(journalTestLeaveTorn(path, journalTestProgram(900, "NEW"),
                                     QFile::encodeName(path) + QByteArray("\0/elsewhere", 10)));
    } else {
        const QString name = journalTestJournalOf(path);
        QVERIFY(journalTestWrite(name, journal));
        QCOMPARE(::chmod(QFile::encodeName(name).constData(), 0600), 0);
    }
    const QByteArray left = journalTestBytes(path);
    QCOMPARE(RecoverInterruptedSave(path).kind, RecoveryOutcome::Kind::Nothing);
    QCOMPARE(journalTestBytes(path), left);
}

// The journal fuzzer's seeds, then inputs drawn at random (a bounded run
// that needs no fuzzer): the file changes only when its journal may put it
// back, and then to its old content.
void tst_SaveJournal::fuzzSeedsKeepTheRule()
{
    const QDir seeds(qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/tests/platform/files/fuzz/seeds"));
    const QStringList names = seeds.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    QList<QByteArray> inputs;
    for (const QString& name : names)
        inputs << journalTestBytes(seeds.filePath(name));
    QRandomGenerator random(20261211);
    for (int i = 0; i < 120; ++i) {
        QByteArray input(8 + random.bounded(40), Qt::Uninitialized);
        for (char& c : input)
            c = char(random.bounded(256));
        input[0] = char(i % 2);  // a save or an append: raw journals are the seeds' part
        inputs << input;
    }
    // In memory where the system has it: every journal is flushed.
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/talvex-journal-XXXXXX"));
    QVERIFY(dir.isValid());
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
    for (const QByteArray& input : inputs)
        journalfuzz::CheckInput(input.constData(), std::size_t(input.size()), dir.path());
    qputenv("XDG_CACHE_HOME", cache);
    qputenv("XDG_DATA_HOME", data);
}

// Written in place (or appended) in writes that end on block boundaries,
// whatever the pieces: runs of small ones gathered, large ones cut.
void tst_SaveJournal::piecesAreWrittenInPlaceInOrder_data()
{
    QTest::addColumn<bool>("append");
    QTest::addColumn<QList<QByteArray>>("pieces");
    QList<QByteArray> mixed{journalTestProgram(40000, "FIRST"), "(MIDDLE)\r\n"};
    for (int i = 0; i < 1500; ++i)
        mixed.append(i % 3 == 0 ? QByteArray() : "N" + QByteArray::number(i) + "\r\n");
    mixed.append(journalTestProgram(30000, "LAST"));
    QTest::newRow("in place") << false << mixed;
    QTest::newRow("appended") << true << mixed;
    QTest::newRow("appended, small ones only") << true << mixed.mid(1, 1501);
}

void tst_SaveJournal::piecesAreWrittenInPlaceInOrder()
{
    QFETCH(bool, append);
    QFETCH(QList<QByteArray>, pieces);
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QByteArray old = journalTestProgram(333, "OLD");
    QVERIFY(journalTestWrite(path, old));
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("COPY.NC"))).constData()), 0);
    const std::vector<QByteArrayView> views(pieces.begin(), pieces.end());
    const WriteOutcome outcome = append ? AppendToFile(path, views) : WriteFileAtomically(path, views);
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(journalTestBytes(path), append ? old + pieces.join() : pieces.join());
    QCOMPARE(journals.journals(), QStringList());
}

// A journal that could not be written was reported as if the old content
// had been kept ("while the old content was kept in ...").
void tst_SaveJournal::journalOnAFullDiskSaysItWasNotKept()
{
    SmallDisk disk(64 * 1024);
    REQUIRE_SMALL_DISK(disk);
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(disk.path(QStringLiteral("cache"))));
    QVERIFY(QDir().mkpath(SaveJournalFolder()));
    QCOMPARE(::chmod(QFile::encodeName(SaveJournalFolder()).constData(), 0700), 0);
    disk.fillLeaving(4096);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QByteArray old = journalTestProgram(6000, "OLD");
    QVERIFY(journalTestWrite(path, old));
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("COPY.NC"))).constData()), 0);
    const WriteOutcome outcome = WriteFileAtomically(path, "N10 M30\r\n");
    const QString folder = SaveJournalFolder();
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    qputenv("XDG_CACHE_HOME", cache);
    QVERIFY(!outcome);
    QCOMPARE(outcome.error, QStringLiteral("No space left on device (the old content could not be kept in %1 until the "
                                           "save is done)")
                                .arg(folder));
    QCOMPARE(journalTestBytes(path), old);
    QCOMPARE(left, QStringList());
}

// A journal cut short while it was written means the file was not touched:
// it goes, and the file stays as it is.
void tst_SaveJournal::tornJournalLeavesTheFileAlone()
{
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    QVERIFY(journalTestWrite(path, journalTestProgram(100, "OLD")));
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(fd >= 0);
        SaveJournal journal;
        int error = 0;
        QString cause;
        const QByteArrayView next("THEIRS");
        QVERIFY(journal.begin(QFile::encodeName(path), fd, {&next, 1}, false, &error, &cause));
        ::close(fd);
        // Left as a kill leaves it, then torn at its end.
        QCOMPARE(::truncate(QFile::encodeName(journal.path()).constData(), QFileInfo(journal.path()).size() - 7), 0);
    }
    QVERIFY(journalTestWrite(path, "THEIRS"));
    QCOMPARE(journals.journals().size(), 1);
    QCOMPARE(RecoverInterruptedSave(path).kind, RecoveryOutcome::Kind::Nothing);
    QCOMPARE(journalTestBytes(path), QByteArray("THEIRS"));
    QCOMPARE(journals.journals(), QStringList());
}

// A program that opens the file while another saves it in place must not
// roll that save back: the saver holds its journal's lock.
void tst_SaveJournal::saveGoingOnIsNotRolledBack()
{
    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    QVERIFY(journalTestWrite(path, "OLD"));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    QVERIFY(fd >= 0);
    SaveJournal journal;
    int error = 0;
    QString cause;
    const QByteArrayView next("NEW");
    QVERIFY(journal.begin(QFile::encodeName(path), fd, {&next, 1}, false, &error, &cause));
    QCOMPARE(::pwrite(fd, "NEW", 3, 0), ssize_t(3));
    QCOMPARE(RecoverInterruptedSave(path).kind, RecoveryOutcome::Kind::Nothing);
    QCOMPARE(journalTestBytes(path), QByteArray("NEW"));
    journal.finish();
    ::close(fd);
    QCOMPARE(journals.journals(), QStringList());
    QCOMPARE(RecoverInterruptedSave(path).kind, RecoveryOutcome::Kind::Nothing);
    QCOMPARE(journalTestBytes(path), QByteArray("NEW"));
}

// Temporaries interrupted saves left beside a file went nowhere: three kills
// of a large save left three copies. The next save removes those of the
// suite's own pattern that no save going on holds, and nothing else.
void tst_SaveJournal::leftTemporariesGoAtTheNextSave()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    QVERIFY(journalTestWrite(path, "OLD"));
    const QStringList left{QStringLiteral(".PART.NC.talvex-a1B2c3"), QStringLiteral(".PART.NC.talvex-Zz9Yy8")};
    const QStringList others{QStringLiteral(".PART.NC.talvex-held01"), QStringLiteral(".PART.NC.Ab12Cd"),
                             QStringLiteral(".PART.NC.talvex-toolong"), QStringLiteral(".OTHER.NC.talvex-a1B2c3"),
                             QStringLiteral("PART.NC.talvex-a1B2c3")};
    for (const QString& name : left + others)
        QVERIFY(journalTestWrite(dir.filePath(name), "partial"));
    // One a save going on holds.
    const int held = ::open(QFile::encodeName(dir.filePath(others[0])).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX), 0);

    QVERIFY(WriteFileAtomically(path, "NEW").ok);
    ::close(held);
    QStringList expected = others;
    expected.append(QStringLiteral("PART.NC"));
    expected.sort();
    QStringList found = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    found.sort();
    QCOMPARE(found, expected);
}

REGISTER_TEST(tst_SaveJournal);
#include "tst_SaveJournal.moc"
