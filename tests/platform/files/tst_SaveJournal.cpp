#include "platform/files/AtomicWrite.h"
#include "platform/files/SaveJournal.h"
#include "support/TestRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
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

QByteArray journalTestProgram(int lines, const char* word)
{
    QByteArray text;
    for (int n = 0; n < lines; ++n)
        text += "N" + QByteArray::number(n * 10) + " G01 X" + QByteArray::number(n % 97) + ' ' + word + "\r\n";
    return text;
}

// The journals go to a folder of the test's own while it lives.
class JournalFolderForTest {
public:
    JournalFolderForTest() : previous_(qgetenv("XDG_CACHE_HOME")) { qputenv("XDG_CACHE_HOME", dir_.path().toLocal8Bit()); }
    ~JournalFolderForTest() { qputenv("XDG_CACHE_HOME", previous_); }
    QString path() const { return dir_.path(); }
    QStringList journals() const { return QDir(SaveJournalFolder()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

}  // namespace

class tst_SaveJournal : public QObject {
    Q_OBJECT
private slots:
    void interruptedSaveIsRolledBack_data();
    void interruptedSaveIsRolledBack();
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
    QTest::addColumn<QString>("call");      // killed on entering the n-th of these
    QTest::addColumn<int>("when");
    QTest::addColumn<QString>("afterKill");  // old, new or mixed
    QTest::addColumn<QString>("recovery");   // what save_tool recover says
    QTest::addColumn<QString>("final");      // old or new
    QTest::newRow("replace: killed writing") << "replace" << false << "writev" << 1 << "old" << "nothing" << "old";
    QTest::newRow("replace: killed before the rename") << "replace" << false << "rename" << 1 << "old" << "nothing"
                                                       << "old";
    QTest::newRow("replace: killed after the rename") << "replace" << false << "fsync" << 2 << "new" << "nothing"
                                                      << "new";
    QTest::newRow("in place: killed writing the journal") << "replace" << true << "pwrite64" << 2 << "old"
                                                          << "nothing" << "old";
    QTest::newRow("in place: killed flushing the journal") << "replace" << true << "fsync" << 1 << "old"
                                                           << "restored" << "old";
    QTest::newRow("in place: killed writing the file") << "replace" << true << "writev" << 1 << "old" << "restored"
                                                       << "old";
    QTest::newRow("in place: killed before cutting the file") << "replace" << true << "ftruncate" << 2 << "mixed"
                                                              << "restored" << "old";
    QTest::newRow("in place: killed before the journal went") << "replace" << true << "unlink" << 1 << "new"
                                                              << "restored" << "old";
    QTest::newRow("append: killed part way") << "append" << false << "write" << 3 << "mixed" << "restored" << "old";
    QTest::newRow("append: killed before the flush") << "append" << false << "fsync" << 3 << "new" << "restored"
                                                     << "old";
}

void tst_SaveJournal::interruptedSaveIsRolledBack()
{
    QFETCH(QString, step);
    QFETCH(bool, linked);
    QFETCH(QString, call);
    QFETCH(int, when);
    QFETCH(QString, afterKill);
    QFETCH(QString, recovery);
    QFETCH(QString, final);
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        QSKIP("strace is not installed (package strace)");
    if (QProcess::execute(strace, {QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                                   QStringLiteral("true")})
        != 0)
        QSKIP("strace may not trace here (ptrace refused)");
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/save_tool");
    QVERIFY2(QFile::exists(tool), qPrintable(tool));

    JournalFolderForTest journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QString content = dir.filePath(QStringLiteral("content"));
    const QByteArray old = journalTestProgram(6000, "OLD");
    const QByteArray added = journalTestProgram(step == QLatin1String("append") ? 300 : 2000, "NEW");
    const QByteArray now = step == QLatin1String("append") ? old + added : added;
    QVERIFY(journalTestWrite(path, old));
    QVERIFY(journalTestWrite(content, added));
    if (linked)
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(dir.filePath(QStringLiteral("COPY.NC"))).constData()), 0);

    QProcess killed;
    killed.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"), QStringLiteral("/dev/null"),
                          QStringLiteral("-e"), QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call).arg(when),
                          tool, step, path, content});
    QVERIFY(killed.waitForFinished(60000));
    QVERIFY2(!killed.readAllStandardOutput().contains("saved"), "the save was not cut short");

    const QByteArray left = journalTestBytes(path);
    if (afterKill == QLatin1String("old"))
        QCOMPARE(left, old);
    else if (afterKill == QLatin1String("new"))
        QCOMPARE(left, now);
    else
        QVERIFY(left != old && left != now);

    QProcess recover;
    recover.start(tool, {QStringLiteral("recover"), path});
    QVERIFY(recover.waitForFinished(60000));
    QCOMPARE(QString::fromLocal8Bit(recover.readAllStandardOutput()).trimmed(), recovery);
    QCOMPARE(journalTestBytes(path), final == QLatin1String("old") ? old : now);
    if (linked)
        QCOMPARE(journalTestBytes(dir.filePath(QStringLiteral("COPY.NC"))), journalTestBytes(path));
    QCOMPARE(journals.journals(), QStringList());

    // The next save goes through, and takes along what the killed one left.
    QVERIFY(WriteFileAtomically(path, "O1000\r\nM30\r\n").ok);
    QCOMPARE(journalTestBytes(path), QByteArray("O1000\r\nM30\r\n"));
    QStringList expected{QStringLiteral("O1000.NC"), QStringLiteral("content")};
    if (linked)
        expected.prepend(QStringLiteral("COPY.NC"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(journals.journals(), QStringList());
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
        QVERIFY(journal.begin(QFile::encodeName(path), fd, false, &error, &cause));
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
    QVERIFY(journal.begin(QFile::encodeName(path), fd, false, &error, &cause));
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
