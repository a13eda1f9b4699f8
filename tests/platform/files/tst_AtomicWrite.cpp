#include "platform/files/AtomicWrite.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"
#include "support/Unprivileged.h"

#include "platform/files/SaveJournal.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/xattr.h>

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
    void fileTheUserMayNotWriteIsRefused();
    void keepsOwnerAndGroup();
    void hardLinksKeepSharingTheFile_data();
    void hardLinksKeepSharingTheFile();
    void failedWriteOfALinkedFileKeepsItWhole_data();
    void failedWriteOfALinkedFileKeepsItWhole();
    void chainOfLinksLeadsToTheFile();
    void filesOfOthersAreSavedInPlace_data();
    void filesOfOthersAreSavedInPlace();
    void replacedFileKeepsItsAclAndAttributes_data();
    void replacedFileKeepsItsAclAndAttributes();
    void newFileGetsWhatTheFolderGives_data();
    void newFileGetsWhatTheFolderGives();
    void fileReplacedBeforeTheOpenIsNotWritten_data();
    void fileReplacedBeforeTheOpenIsNotWritten();
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

namespace {

struct stat statusOf(const QString& path)
{
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

}  // namespace

// Replacing needs only the folder's permission; a read-only file of the
// user's own in a folder of theirs was replaced, and stayed read-only.
void tst_AtomicWrite::fileTheUserMayNotWriteIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ro.nc"));
    QVERIFY(WriteFileAtomically(path, "O1000\r\nM30\r\n").ok);
    QVERIFY(AsUnprivilegedUser::GiveToUser(dir.path()));
    QVERIFY(AsUnprivilegedUser::GiveToUser(path));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const ino_t inode = statusOf(path).st_ino;
    WriteOutcome outcome;
    {
        AsUnprivilegedUser user;
        REQUIRE_UNPRIVILEGED(user);
        outcome = WriteFileAtomically(path, "O1000\r\nM02\r\n");
    }
    QVERIFY(!outcome);
    QCOMPARE(outcome.error, QStringLiteral("Permission denied (the file %1 may not be written)").arg(path));
    QCOMPARE(outcome.errorNumber, EACCES);
    QCOMPARE(readAll(path), QByteArray("O1000\r\nM30\r\n"));
    QCOMPARE(statusOf(path).st_ino, inode);
    QCOMPARE(int(statusOf(path).st_mode & 07777), 0444);
    QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("ro.nc")});
}

// Root saving another user's file gave it to root.
void tst_AtomicWrite::keepsOwnerAndGroup()
{
    if (::geteuid() != 0)
        QSKIP("only root can write a file that another user owns and may set its owner");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    QCOMPARE(::chown(QFile::encodeName(path).constData(), AsUnprivilegedUser::Nobody, AsUnprivilegedUser::NoGroup), 0);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0664), 0);
    const WriteOutcome outcome = WriteFileAtomically(path, "new");
    QVERIFY(outcome.ok);
    QCOMPARE(readAll(path), QByteArray("new"));
    const struct stat st = statusOf(path);
    QCOMPARE(st.st_uid, AsUnprivilegedUser::Nobody);
    QCOMPARE(st.st_gid, AsUnprivilegedUser::NoGroup);
    QCOMPARE(int(st.st_mode & 07777), 0664);
    QVERIFY(outcome.written == StampOfFile(path));
}

// A file with a second name was separated from it: the other name kept the old text.
void tst_AtomicWrite::hardLinksKeepSharingTheFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("shorter") << QByteArray("N10\r\n");
    QTest::newRow("as long") << program(2000);
    QTest::newRow("longer") << program(3 << 20);
    QTest::newRow("empty") << QByteArray();
}

void tst_AtomicWrite::hardLinksKeepSharingTheFile()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PART.NC"));
    const QString other = dir.filePath(QStringLiteral("COPY.NC"));
    QVERIFY(WriteFileAtomically(path, program(2000)).ok);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    const ino_t inode = statusOf(path).st_ino;

    const WriteOutcome outcome = WriteFileAtomically(path, content);
    QVERIFY(outcome.ok);
    QCOMPARE(readAll(path), content);
    QCOMPARE(readAll(other), content);
    QCOMPARE(statusOf(path).st_ino, inode);
    QCOMPARE(statusOf(other).st_ino, inode);
    QCOMPARE(int(statusOf(path).st_mode & 07777), 0640);
    QVERIFY(outcome.written == StampOfFile(path));
    QCOMPARE(filesIn(dir.path()), (QStringList{QStringLiteral("COPY.NC"), QStringLiteral("PART.NC")}));
}

// Written in place, a failure half way must not leave a mixed file under
// either name: the old content comes back (or, on a real full disk, no byte
// of it changes).
void tst_AtomicWrite::failedWriteOfALinkedFileKeepsItWhole_data()
{
    QTest::addColumn<bool>("realDisk");
    QTest::newRow("small disk") << true;
    QTest::newRow("simulated") << false;
}

void tst_AtomicWrite::failedWriteOfALinkedFileKeepsItWhole()
{
    QFETCH(bool, realDisk);
    SmallDisk disk(64 * 1024);
    QTemporaryDir dir;
    if (realDisk)
        REQUIRE_SMALL_DISK(disk);
    const auto at = [&](const QString& name) { return realDisk ? disk.path(name) : dir.filePath(name); };
    const QString path = at(QStringLiteral("PART.NC"));
    const QString other = at(QStringLiteral("COPY.NC"));
    const QByteArray old = program(2000);
    QVERIFY(WriteFileAtomically(path, old).ok);
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    if (realDisk)
        disk.fillLeaving(8192);
    else
        SetSimulatedFreeSpaceForTests(4096);
    const WriteOutcome outcome = WriteFileAtomically(path, program(20000).replace('G', 'H'));
    SetSimulatedFreeSpaceForTests(-1);
    QVERIFY(!outcome);
    QCOMPARE(outcome.error, QStringLiteral("No space left on device"));
    QCOMPARE(outcome.errorNumber, ENOSPC);
    QCOMPARE(readAll(path), old);
    QCOMPARE(readAll(other), old);
    QCOMPARE(statusOf(path).st_ino, statusOf(other).st_ino);
    QCOMPARE(filesIn(QFileInfo(path).path()).filter(QStringLiteral("NC")),
             (QStringList{QStringLiteral("COPY.NC"), QStringLiteral("PART.NC")}));
}

// Only the first link of a chain was followed: the second was replaced by a file.
void tst_AtomicWrite::chainOfLinksLeadsToTheFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("programs/old")));
    const QString path = dir.filePath(QStringLiteral("programs/old/PART.NC"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    const QString middle = dir.filePath(QStringLiteral("programs/CURRENT.NC"));
    const QString first = dir.filePath(QStringLiteral("LATEST.NC"));
    QCOMPARE(::symlink("old/PART.NC", QFile::encodeName(middle).constData()), 0);
    QCOMPARE(::symlink("programs/CURRENT.NC", QFile::encodeName(first).constData()), 0);

    QVERIFY(WriteFileAtomically(first, "new").ok);
    QCOMPARE(readAll(path), QByteArray("new"));
    QVERIFY(S_ISLNK(statusOf(first).st_mode));
    QVERIFY(S_ISLNK(statusOf(middle).st_mode));

    // A loop of links is no file.
    const QString loop = dir.filePath(QStringLiteral("LOOP.NC"));
    QCOMPARE(::symlink("LOOP.NC", QFile::encodeName(loop).constData()), 0);
    const WriteOutcome outcome = WriteFileAtomically(loop, "x");
    QVERIFY(!outcome);
    QCOMPARE(outcome.errorNumber, ELOOP);
    QVERIFY(S_ISLNK(statusOf(loop).st_mode));
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

namespace {

constexpr char AccessAcl[] = "system.posix_acl_access";

// An extended attribute's value; null when the file has none of that name.
QByteArray attributeOf(const QString& path, const char* name)
{
    const QByteArray file = QFile::encodeName(path);
    const ssize_t size = ::getxattr(file.constData(), name, nullptr, 0);
    if (size < 0)
        return QByteArray();
    QByteArray value(qsizetype(size), '\0');
    if (::getxattr(file.constData(), name, value.data(), std::size_t(size)) != size)
        return QByteArray();
    return value.isEmpty() ? QByteArray("", 0) : value;
}

bool setAcl(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("setfacl"), arguments) == 0;
}

// The journals of the unprivileged user go to a folder of that user's while
// the object lives (the test's home is root's).
class UserJournalFolder {
public:
    UserJournalFolder() : previous_(qgetenv("XDG_CACHE_HOME"))
    {
        ::chmod(QFile::encodeName(dir_.path()).constData(), 0755);
        QDir(dir_.path()).mkdir(QStringLiteral("cache"));
        AsUnprivilegedUser::GiveToUser(dir_.filePath(QStringLiteral("cache")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("cache"))));
    }
    ~UserJournalFolder() { qputenv("XDG_CACHE_HOME", previous_); }
    QStringList journals() const { return QDir(SaveJournalFolder()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

}  // namespace

// A file the user may write in a folder the user may not (a shared NC
// folder) could not be saved; one the user may write but does not own was
// given to the user, its ACL dropped and its group allowed to write. Such a
// file is written in place now, keeping all it had; a refusal names the file
// or the folder that refused.
void tst_AtomicWrite::filesOfOthersAreSavedInPlace_data()
{
    QTest::addColumn<bool>("rootsFile");     // else the user's own
    QTest::addColumn<bool>("usersGroup");    // the file's group is the user's
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("acl");           // an entry user:nobody:rw-
    QTest::addColumn<bool>("usersFolder");   // else root's, 0755
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("refusedBy");  // "file", "folder" or "" (saved)
    QTest::newRow("ACL entry, shared folder") << true << false << 0644 << true << false << true << "";
    QTest::newRow("ACL entry, folder of the user's") << true << false << 0644 << true << true << true << "";
    QTest::newRow("group may write, shared folder") << true << true << 0664 << false << false << true << "";
    QTest::newRow("group may write, folder of the user's") << true << true << 0664 << false << true << true << "";
    QTest::newRow("own file, shared folder") << false << true << 0640 << false << false << true << "";
    QTest::newRow("not the user's to write") << true << false << 0644 << false << true << true << "file";
    QTest::newRow("new file, shared folder") << false << false << 0644 << false << false << false << "folder";
}

void tst_AtomicWrite::filesOfOthersAreSavedInPlace()
{
    QFETCH(bool, rootsFile);
    QFETCH(bool, usersGroup);
    QFETCH(int, mode);
    QFETCH(bool, acl);
    QFETCH(bool, usersFolder);
    QFETCH(bool, exists);
    QFETCH(QString, refusedBy);
    if (::geteuid() != 0)
        QSKIP("only root can give files to the other owners these cases need");
    if (acl && QStandardPaths::findExecutable(QStringLiteral("setfacl")).isEmpty())
        QSKIP("setfacl is not installed (package acl)");
    UserJournalFolder journals;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("shared"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("shared")));
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
    if (usersFolder)
        QVERIFY(AsUnprivilegedUser::GiveToUser(folder));
    const QString path = folder + QStringLiteral("/O1000.NC");
    const QByteArray old = program(3000);
    if (exists) {
        QVERIFY(WriteFileAtomically(path, old).ok);
        QCOMPARE(::chown(QFile::encodeName(path).constData(), rootsFile ? 0 : AsUnprivilegedUser::Nobody,
                         usersGroup ? AsUnprivilegedUser::NoGroup : 0),
                 0);
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        if (acl)
            QVERIFY(setAcl({QStringLiteral("-m"), QStringLiteral("user:nobody:rw-"), path}));
    }
    const struct stat before = statusOf(path);
    const QByteArray aclBefore = attributeOf(path, AccessAcl);
    QCOMPARE(aclBefore.isNull(), !acl);

    const QByteArray content = program(5000).replace('G', 'H');
    WriteOutcome outcome;
    {
        AsUnprivilegedUser user;
        REQUIRE_UNPRIVILEGED(user);
        outcome = WriteFileAtomically(path, content);
    }
    if (!refusedBy.isEmpty()) {
        QVERIFY(!outcome);
        QCOMPARE(outcome.errorNumber, EACCES);
        QCOMPARE(outcome.error, QStringLiteral("Permission denied (the %1 %2 may not be written)")
                                    .arg(refusedBy, refusedBy == QLatin1String("file") ? path : folder));
        QCOMPARE(readAll(path), exists ? old : QByteArray());
    } else {
        QVERIFY2(outcome.ok, qPrintable(outcome.error));
        QCOMPARE(readAll(path), content);
        const struct stat after = statusOf(path);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(attributeOf(path, AccessAcl), aclBefore);
        QVERIFY(outcome.written == StampOfFile(path));
    }
    QCOMPARE(filesIn(folder), exists ? QStringList{QStringLiteral("O1000.NC")} : QStringList());
    QCOMPARE(journals.journals(), QStringList());
}

// A replaced file lost its ACL (the mask became group bits: the group could
// then write) and its extended attributes; a new file took the folder's
// default ACL, which may grant more than the old file did.
void tst_AtomicWrite::replacedFileKeepsItsAclAndAttributes_data()
{
    QTest::addColumn<bool>("fileAcl");
    QTest::addColumn<bool>("defaultAcl");  // of the folder
    QTest::newRow("ACL and attribute") << true << false;
    QTest::newRow("folder's default ACL, file without") << false << true;
    QTest::newRow("both") << true << true;
}

void tst_AtomicWrite::replacedFileKeepsItsAclAndAttributes()
{
    QFETCH(bool, fileAcl);
    QFETCH(bool, defaultAcl);
    if (QStandardPaths::findExecutable(QStringLiteral("setfacl")).isEmpty())
        QSKIP("setfacl is not installed (package acl)");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    QVERIFY(WriteFileAtomically(path, "old").ok);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    if (fileAcl)
        QVERIFY(setAcl({QStringLiteral("-m"), QStringLiteral("user:nobody:r--"), path}));
    if (defaultAcl)
        QVERIFY(setAcl({QStringLiteral("-d"), QStringLiteral("-m"), QStringLiteral("user:nobody:rwx"), dir.path()}));
    if (::setxattr(QFile::encodeName(path).constData(), "user.origin", "CAM", 3, 0) != 0)
        QSKIP("this file system keeps no user attributes");
    const struct stat before = statusOf(path);
    const QByteArray aclBefore = attributeOf(path, AccessAcl);

    const WriteOutcome outcome = WriteFileAtomically(path, "new");
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(readAll(path), QByteArray("new"));
    const struct stat after = statusOf(path);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(attributeOf(path, AccessAcl), aclBefore);
    QCOMPARE(attributeOf(path, "user.origin"), QByteArray("CAM"));
    QVERIFY(outcome.written == StampOfFile(path));
}

namespace {

// A file's permission bits in octal, as they are read.
QString permissionsOf(const QString& path)
{
    return QString::number(statusOf(path).st_mode & 07777, 8);
}

}  // namespace

// A new file got 0666 less the umask, set after it was made: in a folder
// whose default ACL closes it to others, it was readable by everyone. It gets
// what `touch` gets there now; an old file keeps its own mode and ACL.
void tst_AtomicWrite::newFileGetsWhatTheFolderGives_data()
{
    QTest::addColumn<QString>("defaultAcl");  // of the folder, none when empty
    QTest::addColumn<int>("mask");            // the umask
    for (const int mask : {022, 077, 002}) {
        const QByteArray umask = "umask " + QByteArray::number(mask, 8).rightJustified(3, '0');
        QTest::addRow("no default ACL, %s", umask.constData()) << QString() << mask;
        QTest::addRow("closed to others, %s", umask.constData()) << QStringLiteral("u::rwx,g::rwx,o::---") << mask;
        QTest::addRow("a named user, %s", umask.constData())
            << QStringLiteral("u::rwx,g::r-x,o::---,u:nobody:rw-") << mask;
    }
}

void tst_AtomicWrite::newFileGetsWhatTheFolderGives()
{
    QFETCH(QString, defaultAcl);
    QFETCH(int, mask);
    if (QStandardPaths::findExecutable(QStringLiteral("setfacl")).isEmpty())
        QSKIP("setfacl is not installed (package acl)");
    QTemporaryDir dir;
    if (!defaultAcl.isEmpty())
        QVERIFY(setAcl({QStringLiteral("-d"), QStringLiteral("-m"), defaultAcl, dir.path()}));
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QString touched = dir.filePath(QStringLiteral("TOUCHED.NC"));
    WriteOutcome outcome;
    {
        const mode_t previous = ::umask(mode_t(mask));
        const auto restore = qScopeGuard([previous] { ::umask(previous); });
        QCOMPARE(QProcess::execute(QStringLiteral("touch"), {touched}), 0);
        outcome = WriteFileAtomically(path, "O1000\r\nM30\r\n");
    }
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(permissionsOf(path), permissionsOf(touched));
    QCOMPARE(attributeOf(path, AccessAcl), attributeOf(touched, AccessAcl));

    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0604), 0);
    const QByteArray aclBefore = attributeOf(path, AccessAcl);
    {
        const mode_t previous = ::umask(mode_t(mask));
        const auto restore = qScopeGuard([previous] { ::umask(previous); });
        outcome = WriteFileAtomically(path, "O1000\r\nM02\r\n");
    }
    QVERIFY2(outcome.ok, qPrintable(outcome.error));
    QCOMPARE(readAll(path), QByteArray("O1000\r\nM02\r\n"));
    QCOMPARE(permissionsOf(path), QStringLiteral("604"));
    QCOMPARE(attributeOf(path, AccessAcl), aclBefore);
}

// A file written in place was opened by its path after the checks, through
// whatever stood there then: one who may write a shared folder could swap
// the program for a link to the saver's private file, and the saver wrote
// its program into that. What stands there now is left as it is.
void tst_AtomicWrite::fileReplacedBeforeTheOpenIsNotWritten_data()
{
    QTest::addColumn<bool>("append");    // else a save in place (the file has a second name)
    QTest::addColumn<QString>("swapIn");  // "link", "file" or "fifo"
    for (const bool append : {false, true}) {
        const char* how = append ? "append" : "in place";
        QTest::addRow("%s, link to a private file", how) << append << QStringLiteral("link");
        QTest::addRow("%s, another file", how) << append << QStringLiteral("file");
        QTest::addRow("%s, FIFO", how) << append << QStringLiteral("fifo");
    }
}

void tst_AtomicWrite::fileReplacedBeforeTheOpenIsNotWritten()
{
    QFETCH(bool, append);
    QFETCH(QString, swapIn);
    UserJournalFolder journals;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("O1000.NC"));
    const QString secret = dir.filePath(QStringLiteral("private.txt"));
    const QString copy = dir.filePath(QStringLiteral("COPY.NC"));
    const QByteArray old = program(3000);
    const QByteArray secretText = program(700).replace('G', 'Q');
    QVERIFY(WriteFileAtomically(path, old).ok);
    QVERIFY(WriteFileAtomically(secret, secretText).ok);
    if (!append)
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()), 0);
    const QByteArray file = QFile::encodeName(path);
    bool swapped = false;
    SetBeforeOpenInPlaceHookForTests([&] {
        swapped = ::unlink(file.constData()) == 0
                  && (swapIn == QLatin1String("link")   ? ::symlink("private.txt", file.constData()) == 0
                      : swapIn == QLatin1String("file") ? ::rename(QFile::encodeName(secret).constData(), file.constData()) == 0
                                                         : ::mkfifo(file.constData(), 0644) == 0);
    });
    const auto unhook = qScopeGuard([] { SetBeforeOpenInPlaceHookForTests({}); });
    const QByteArray content = program(5000).replace('G', 'H');
    const QByteArrayView piece(content);
    const WriteOutcome outcome = append ? AppendToFile(path, std::span<const QByteArrayView>(&piece, 1))
                                        : WriteFileAtomically(path, content);
    QVERIFY(swapped);
    QVERIFY(!outcome);
    QCOMPARE(outcome.error, QStringLiteral("The file %1 was replaced while it was being saved; nothing was written to it")
                                .arg(path));
    const struct stat now = statusOf(path);
    if (swapIn == QLatin1String("link")) {
        QVERIFY(S_ISLNK(now.st_mode));
        QCOMPARE(QFile::symLinkTarget(path), secret);
        QCOMPARE(readAll(secret), secretText);
    } else if (swapIn == QLatin1String("file")) {
        QVERIFY(S_ISREG(now.st_mode));
        QCOMPARE(readAll(path), secretText);
    } else {
        QVERIFY(S_ISFIFO(now.st_mode));
    }
    if (!append)
        QCOMPARE(readAll(copy), old);
    QCOMPARE(journals.journals(), QStringList());
}

REGISTER_TEST(tst_AtomicWrite);
#include "tst_AtomicWrite.moc"
