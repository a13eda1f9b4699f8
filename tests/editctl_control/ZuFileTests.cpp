// The control's files at its boundary: a file that cannot be used raises
// the error its cause maps to, with the cause in its text, and a save that
// fails leaves the file exactly as it was, in every mode and format.

#include "ZuControlSupport.h"
#include "platform/files/SaveJournal.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zutest;

namespace {

QByteArray Program(int bytes)
{
    QByteArray text;
    for (int n = 10; text.size() < bytes; n += 10)
        text += "N" + QByteArray::number(n) + " G01 X12.5 Y-3.25 F200\r\n";
    return text;
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

ino_t InodeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

}  // namespace

class ZuFileTests : public QObject {
    Q_OBJECT

private slots:
    // Number as the cause of a file maps it (not found 53, a folder 75,
    // access denied 5), the text the file and the system's words. A missing
    // file of FileOpen stays the directory search's run-time error.
    void fileFailuresNameTheirCause_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("name");     // in a folder of the user's; "" the folder itself
        QTest::addColumn<int>("mode");         // of an existing file "old.nc"; 0: none
        QTest::addColumn<bool>("append");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("cause");
        QTest::newRow("save over a read-only file") << "FileSave" << "old.nc" << 0444 << false << 5
                                                    << "Permission denied";
        QTest::newRow("append to a read-only file") << "FileSave" << "old.nc" << 0444 << true << 5
                                                    << "Permission denied";
        QTest::newRow("save into a missing folder") << "FileSave" << "gone/new.nc" << 0 << false << 53
                                                    << "No such file or directory";
        QTest::newRow("save over a folder") << "FileSave" << "" << 0 << false << 75 << "Is a directory";
        QTest::newRow("open an unreadable file") << "FileOpen" << "old.nc" << 0200 << false << 5
                                                 << "Permission denied";
        QTest::newRow("insert a missing file") << "FileInsert" << "new.nc" << 0 << false << 53
                                               << "No such file or directory";
        QTest::newRow("insert an unreadable file") << "FileInsert" << "old.nc" << 0200 << false << 5
                                                   << "Permission denied";
        QTest::newRow("insert a folder") << "FileInsert" << "" << 0 << false << 75 << "Is a directory";
        QTest::newRow("open a missing file") << "FileOpen" << "new.nc" << 0 << false << 1000 << "";
    }
    void fileFailuresNameTheirCause()
    {
        QFETCH(QString, member);
        QFETCH(QString, name);
        QFETCH(int, mode);
        QFETCH(bool, append);
        QFETCH(int, number);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString old = dir.filePath(QStringLiteral("old.nc"));
        QVERIFY(Write(old, "O1000\r\nM30\r\n"));
        QVERIFY(AsUnprivilegedUser::GiveToUser(dir.path()));
        QVERIFY(AsUnprivilegedUser::GiveToUser(old));
        if (mode != 0)
            QCOMPARE(::chmod(QFile::encodeName(old).constData(), mode_t(mode)), 0);
        const ino_t inode = InodeOf(old);
        const QString path = name.isEmpty() ? dir.path() : dir.filePath(name);

        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", QStringLiteral("O1000\r\nM02\r\n"));
        Let(control.get(), "FileSaveAppend", append);
        Raised raised;
        {
            AsUnprivilegedUser user;
            REQUIRE_UNPRIVILEGED(user);
            raised = RaisedBy([&] { Let(control.get(), member, path); });
        }
        QCOMPARE(raised.number, number);
        if (number == 1000)
            QCOMPARE(raised.text, QStringLiteral("No Files Found."));
        else
            QCOMPARE(raised.text, QStringLiteral("%1: %2").arg(path, cause));
        QCOMPARE(Read(old), QByteArray("O1000\r\nM30\r\n"));
        QCOMPARE(InodeOf(old), inode);
        QCOMPARE(Get(control.get(), "TextAll").toString(), QStringLiteral("O1000\r\nM02\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.nc")});
    }

    // On a nearly full disk an append left 8,192 bytes of the new text after
    // the old file and a replacing save said "Unknown Error.".
    void fullDiskLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<bool>("append");
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("selected");
        for (const bool append : {false, true})
            for (const auto& [type, format] : {std::pair{1, "DOS"}, std::pair{2, "Unix"}, std::pair{3, "RTF"}}) {
                const QByteArray mode = append ? "append " : "replace ";
                QTest::newRow(mode + format) << append << type << false;
                QTest::newRow(mode + format + " selection") << append << type << true;
            }
    }
    void fullDiskLeavesTheFileAsItWas()
    {
        QFETCH(bool, append);
        QFETCH(int, type);
        QFETCH(bool, selected);
        SmallDisk disk(128 * 1024);
        REQUIRE_SMALL_DISK(disk);
        const QString path = disk.path(QStringLiteral("PART.NC"));
        const QByteArray old = Program(2000);
        QVERIFY(Write(path, old));

        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        Let(control.get(), "TextAll", QString::fromLatin1(Program(40000)));
        Let(control.get(), "TextType", type);
        Let(control.get(), "FileSaveAppend", append);
        if (selected) {
            // All lines, as a line selection of the first pane.
            Let(control.get(), "PaneIndex", 0);
            Let(control.get(), "CaretY", 1);
            Let(control.get(), "SelDefaultType", 2);
            Let(control.get(), "SelEndY", Get(control.get(), "Count").toInt());
        }
        disk.fillLeaving(4096);
        const Raised raised = RaisedBy([&] { Let(control.get(), selected ? "FileSaveSelected" : "FileSave", path); });
        QCOMPARE(Read(path), old);
        QCOMPARE(raised.number, 5);
        QCOMPARE(raised.text, QStringLiteral("%1: No space left on device").arg(path));
        QCOMPARE(QDir(disk.path(QString())).entryList({QStringLiteral("*PART.NC*")}, QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("PART.NC")});
    }

    // An append cut short (the program killed) left a piece of a line that
    // the next append built on. The next load or save takes it off first.
    void interruptedAppendIsTakenOff_data()
    {
        QTest::addColumn<bool>("append");  // the next step: an append, else a load
        QTest::newRow("load") << false;
        QTest::newRow("append") << true;
    }
    void interruptedAppendIsTakenOff()
    {
        QFETCH(bool, append);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("LOG.NC"));
        const QByteArray old = Program(300);
        QVERIFY(Write(path, old));
        {
            // As an append killed before its flush leaves the file and its journal.
            const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
            QVERIFY(fd >= 0);
            platform::SaveJournal journal;
            int error = 0;
            QString cause;
            const QByteArrayView added("N9990 G01 X1", 12);
            QVERIFY(journal.begin(QFile::encodeName(path), fd, {&added, 1}, true, &error, &cause));
            QCOMPARE(::write(fd, added.data(), 12), ssize_t(12));
            ::close(fd);
        }
        const auto control = NewControl();
        Let(control.get(), "TextType", 1);
        if (append) {
            Let(control.get(), "TextAll", QStringLiteral("N9990 M30\r\n"));
            Let(control.get(), "FileSaveAppend", true);
            Let(control.get(), "FileSave", path);
            QCOMPARE(Read(path), old + "N9990 M30\r\n");
        } else {
            Let(control.get(), "FileOpen", path);
            QCOMPARE(Get(control.get(), "TextAll").toString(), QString::fromLatin1(old));
            QCOMPARE(Read(path), old);
        }
    }
};

REGISTER_TEST(ZuFileTests);
#include "ZuFileTests.moc"
