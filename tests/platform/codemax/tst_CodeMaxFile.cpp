// Opening, saving and inserting files: bytes, encodings, line breaks, errors.

#include "support/SmallDisk.h"
#include "support/TestRegistry.h"
#include "support/Unprivileged.h"

#include "platform/codemax/CodeMax.h"
#include "platform/files/AtomicWrite.h"
#include "platform/forms/Error.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::CodeMax;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class TestCodeMaxFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // Saves `size` bytes over `file`, which holds "OLD\r\n", on a disk
    // that cannot take them.
    void expectFailedSave(const QString& file, int size)
    {
        CodeMax c;
        c.SetText(QString(size, QChar('X')));
        QVERIFY(c.Modified());
        try {
            c.SaveFile(file, true);
            QFAIL("the save reported success");
        } catch (const platform::Error& e) {
            QCOMPARE(e.number(), 75);
            QVERIFY2(e.description().endsWith(QStringLiteral(": No space left on device")),
                     qPrintable(e.description()));
        }
        QVERIFY(c.Modified());
        QCOMPARE(readFile(file), QByteArray("OLD\r\n"));
        QCOMPARE(QFileInfo(file).dir().entryList({QStringLiteral(".PART.NC*"), QStringLiteral(".simulated*")},
                                                 QDir::Files | QDir::Hidden),
                 QStringList());
    }

private slots:
    void unchangedFileSavesTheSameBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("CR LF") << QByteArray("N10 G01\r\nN20 M30\r\n") << "N10 G01\r\nN20 M30\r\n" << true;
        QTest::newRow("LF") << QByteArray("N10 G01\nN20 M30") << "N10 G01\r\nN20 M30" << true;
        QTest::newRow("CR") << QByteArray("A\rB\r") << "A\r\nB\r\n" << true;
        QTest::newRow("mixed") << QByteArray("A\r\nB\nC\rD\r\n") << "A\r\nB\r\nC\r\nD\r\n" << true;
        QTest::newRow("UTF-8") << QByteArray("(\xc3\xa9\xc3\xa9)\nX\xe2\x82\xac") << "(\u00e9\u00e9)\r\nX\u20ac" << true;
        QTest::newRow("Latin-1 degree") << QByteArray("X1\xb0\r\n(\xe9)") << "X1\u00b0\r\n(\u00e9)" << false;
        QTest::newRow("broken UTF-8") << QByteArray("A\xc3\r\n\xe2\x82") << "A\u00c3\r\n\u00e2\u0082" << false;
        QTest::newRow("NUL bytes") << QByteArray("A\0B\r\nC", 6) << QString::fromLatin1("A\0B\r\nC", 6) << true;
        QTest::newRow("empty") << QByteArray() << "" << true;
    }
    void unchangedFileSavesTheSameBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(bool, utf8);
        const QString in = path("in.nc"), out = path("out.nc");
        writeFile(in, bytes);
        CodeMax c;
        int changes = 0;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        c.OpenFile(in);
        QCOMPARE(changes, 0);  // opening is not an edit
        QVERIFY(!c.Modified());
        QVERIFY(!c.CanUndo());
        QCOMPARE(c.IsUtf8(), utf8);
        QCOMPARE(c.Text(), text);
        c.SaveFile(out, true);
        QCOMPARE(readFile(out), bytes);
    }

    void editsKeepTheFileLineBreaks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("LF") << QByteArray("A\nB\n") << QByteArray("A\nX\nY\nB\n");
        QTest::newRow("CR LF") << QByteArray("A\r\nB\r\n") << QByteArray("A\r\nX\r\nY\r\nB\r\n");
        QTest::newRow("mostly LF") << QByteArray("A\nB\r\nC\n") << QByteArray("A\nX\nY\nB\r\nC\n");
    }
    void editsKeepTheFileLineBreaks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        const QString file = path("breaks.nc");
        writeFile(file, bytes);
        CodeMax c;
        c.OpenFile(file);
        c.ReplaceText("X\r\nY\r\n", {1, 0, 1, 0});
        c.SaveFile(file, true);
        QCOMPARE(readFile(file), saved);
    }

    // Whether another program changed the file: a rewrite in place that kept
    // its size and set its time back went unnoticed, and a failed save whose
    // old content was put back looked like another program's change.
    void changesOnDiskAreNoticedButNotOurOwn_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("noticed");
        QTest::newRow("none") << "none" << false;
        QTest::newRow("same size and time") << "rewrite" << true;
        QTest::newRow("a failed save put back") << "failed save" << false;
    }
    void changesOnDiskAreNoticedButNotOurOwn()
    {
        QFETCH(QString, change);
        QFETCH(bool, noticed);
        const QString file = path("post.nc");
        writeFile(file, "N10 G01 X1\r\nM30\r\n");
        // A second name: the save writes in place.
        QFile::remove(path("post-link.nc"));
        QCOMPARE(::link(QFile::encodeName(file).constData(), QFile::encodeName(path("post-link.nc")).constData()), 0);
        CodeMax c;
        c.OpenFile(file);
        struct stat before {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &before), 0);
        if (change == QLatin1String("rewrite")) {
            writeFile(file, "N10 G01 X2\r\nM30\r\n");
            const timespec times[2] = {before.st_atim, before.st_mtim};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
        } else if (change == QLatin1String("failed save")) {
            c.ReplaceText(QString(3000, u'X'), {0, 0, 0, 0});
            platform::SetSimulatedFreeSpaceForTests(100);
            bool thrown = false;
            try {
                c.SaveFile(file, true);
            } catch (const platform::Error&) {
                thrown = true;
            }
            platform::SetSimulatedFreeSpaceForTests(-1);
            QVERIFY(thrown);
            QCOMPARE(readFile(file), QByteArray("N10 G01 X1\r\nM30\r\n"));
        }
        QCOMPARE(c.FileChangedOnDisk(file), noticed);
    }

    void latin1FileStaysLatin1()
    {
        const QString file = path("latin1.nc");
        writeFile(file, QByteArray("T1 \xb0\r\n"));
        CodeMax c;
        c.OpenFile(file);
        c.ReplaceText("\u00e9", {0, 0, 0, 0});
        c.SaveFile(file, true);
        QCOMPARE(readFile(file), QByteArray("\xe9T1 \xb0\r\n"));
    }

    // Only a file that may grow past 2 GiB gets the document with 64-bit
    // positions (four more bytes per line); every other file opens in a
    // plain one. Either kind is shown by every pane and edits alike.
    void largeDocumentOnlyAboveItsSize_data()
    {
        QTest::addColumn<qint64>("threshold");
        QTest::addColumn<bool>("large");
        QTest::newRow("below") << qint64(1000) << false;
        QTest::newRow("at the size") << qint64(20) << true;
        QTest::newRow("above") << qint64(8) << true;
    }
    void largeDocumentOnlyAboveItsSize()
    {
        QFETCH(qint64, threshold);
        QFETCH(bool, large);
        const qint64 kept = CodeMax::LargeDocumentBytes();
        CodeMax::SetLargeDocumentBytes(threshold);
        const QString file = path("large.nc"), saved = path("large-saved.nc");
        const QByteArray bytes("N10 G01 X1\r\nN20 X\xb0\r\n");  // 20 bytes, Latin-1
        writeFile(file, bytes);
        CodeMax c;
        c.resize(400, 300);
        c.SetHSplitterPos(150);
        QCOMPARE(c.PaneCount(), 2);
        c.SetReadOnly(true);
        c.OpenFile(file);
        CodeMax::SetLargeDocumentBytes(kept);
        QCOMPARE(c.IsLargeDocument(), large);
        for (int i = 0; i < c.PaneCount(); ++i) {
            const long options = c.Pane(i)->SendScintilla(QsciScintillaBase::SCI_GETDOCUMENTOPTIONS);
            QCOMPARE(bool(options & QsciScintillaBase::SC_DOCUMENTOPTION_TEXT_LARGE), large);
            QCOMPARE(c.Pane(i)->SendScintilla(QsciScintillaBase::SCI_GETLENGTH), long(bytes.size()));
        }
        QVERIFY(c.ReadOnly());
        QVERIFY(!c.IsUtf8());
        QVERIFY(!c.CanUndo());
        QVERIFY(!c.Modified());
        c.ReplaceText("N5\r\n", {0, 0, 0, 0});
        QCOMPARE(QString::fromLatin1(c.Pane(1)->bytes(0, 4).constData()), QStringLiteral("N5\r\n"));
        c.SaveFile(saved, true);
        QCOMPARE(readFile(saved), "N5\r\n" + bytes);
        c.SetReadOnly(false);
        c.Undo();
        QCOMPARE(c.Text(), QString::fromLatin1(bytes));

        // The next file takes the kind its own size asks for.
        c.OpenFile(saved);
        QVERIFY(!c.IsLargeDocument());
        QCOMPARE(c.Pane(1)->SendScintilla(QsciScintillaBase::SCI_GETDOCUMENTOPTIONS), 0L);
        QCOMPARE(c.Text(), QString::fromLatin1("N5\r\n" + bytes));
    }

    void newDocumentUsesCrLf()
    {
        CodeMax c;
        QCOMPARE(c.LineBreak(), QByteArray("\r\n"));
        c.SetText("A\nB");
        c.SaveFile(path("new.nc"), true);
        QCOMPARE(readFile(path("new.nc")), QByteArray("A\r\nB"));
    }

    void saveClearsModifiedOnlyWhenAsked()
    {
        CodeMax c;
        int notices = 0;
        connect(&c, &CodeMax::ModifiedChange, [&](CodeMax*) { ++notices; });
        c.SetText("G01");
        QVERIFY(c.Modified());
        c.SaveFile(path("keep.nc"), false);
        QVERIFY(c.Modified());
        c.SaveFile(path("keep.nc"), true);
        QVERIFY(!c.Modified());
        QCOMPARE(notices, 2);
    }

    void failedSaveKeepsOldFile()
    {
        // The disk fills up half way through the save: a file size limit
        // makes the write fail, even for root.
        const QString folder = path("full");
        QDir().mkpath(folder);
        const QString file = folder + "/prog.nc";
        writeFile(file, "OLD\r\n");
        CodeMax c;
        c.SetText(QString(200000, QChar('X')));
        struct rlimit old {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
        struct rlimit small = old;
        small.rlim_cur = 4096;
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        bool threw = false;
        try {
            c.SaveFile(file, true);
        } catch (const platform::Error& e) {
            threw = e.number() == 75;
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, oldHandler);
        QVERIFY(threw);
        QCOMPARE(readFile(file), QByteArray("OLD\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"prog.nc"});  // no leftovers
        QVERIFY(c.Modified());
    }

    void fullDiskSaveKeepsOldFileAndNamesTheCause_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("6000 bytes") << 6000;
        QTest::newRow("15000 bytes") << 15000;
    }
    void fullDiskSaveKeepsOldFileAndNamesTheCause()
    {
        // A 64 KB disk with 4 KB free: the save once left the program cut
        // off at 4,096 bytes and reported success.
        QFETCH(int, size);
        SmallDisk disk(64 * 1024);
        REQUIRE_SMALL_DISK(disk);
        const QString file = disk.path(QStringLiteral("PART.NC"));
        writeFile(file, "OLD\r\n");
        disk.fillLeaving(4096);
        expectFailedSave(file, size);
    }
    void simulatedFullDiskSaveKeepsOldFile()
    {
        const QString file = path("simulated.nc");
        writeFile(file, "OLD\r\n");
        platform::SetSimulatedFreeSpaceForTests(4096);
        expectFailedSave(file, 6000);
        platform::SetSimulatedFreeSpaceForTests(-1);
    }

    // A program the user may write is saved also in a folder the user may
    // not write (a shared NC folder), in place; a new file there is refused,
    // naming the folder.
    void saveIntoReadOnlyFolder_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("the user's program there: saved") << true;
        QTest::newRow("a new file there: refused") << false;
    }
    void saveIntoReadOnlyFolder()
    {
        QFETCH(bool, exists);
        const QString folder = path(exists ? "locked-old" : "locked-new");
        const QString cache = path(exists ? "cache-old" : "cache-new");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QDir().mkpath(cache));
        const QString file = folder + "/prog.nc";
        if (exists)
            writeFile(file, "OLD\r\n");
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        QVERIFY(AsUnprivilegedUser::GiveToUser(cache));
        if (exists)
            QVERIFY(AsUnprivilegedUser::GiveToUser(file));
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        // The journal of a save in place goes to the user's cache folder.
        const QByteArray previousCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        CodeMax c;
        c.SetText("NEW");
        QString error;
        {
            AsUnprivilegedUser user;
            REQUIRE_UNPRIVILEGED(user);
            try {
                c.SaveFile(file, true);
            } catch (const platform::Error& failure) {
                error = failure.description();
            }
        }
        qputenv("XDG_CACHE_HOME", previousCache);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        if (exists) {
            QCOMPARE(error, QString());
            QCOMPARE(readFile(file), QByteArray("NEW"));
        } else {
            QVERIFY2(error.contains(QStringLiteral("Permission denied (the folder %1 may not be written)").arg(folder)),
                     qPrintable(error));
            QVERIFY(!QFile::exists(file));
        }
    }

    void saveIntoMissingFolderFails()
    {
        CodeMax c;
        c.SetText("NEW");
        try {
            c.SaveFile(path("no/such/folder/prog.nc"), true);
            QFAIL("no error");
        } catch (const platform::Error& e) {
            QCOMPARE(e.number(), 75);
            QVERIFY(e.description().contains("prog.nc"));
        }
        QVERIFY(c.Modified());
    }

    void saveKeepsPermissions()
    {
        const QString file = path("perm.nc");
        writeFile(file, "A");
        ::chmod(QFile::encodeName(file).constData(), 0640);
        CodeMax c;
        c.SetText("B");
        c.SaveFile(file, true);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0640);
    }

    void refusesWhatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("number");
        QTest::newRow("folder") << "FOLDER" << 75;
        QTest::newRow("pipe") << "PIPE" << 75;
        QTest::newRow("device") << "/dev/zero" << 75;
        QTest::newRow("missing") << "MISSING" << 53;
    }
    void refusesWhatIsNotARegularFile()
    {
        QFETCH(QString, target);
        QFETCH(int, number);
        QString file = target;
        if (target == "FOLDER") {
            file = path("afolder");
            QDir().mkpath(file);
        } else if (target == "PIPE") {
            file = path("apipe");
            QFile::remove(file);
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        } else if (target == "MISSING") {
            file = path("missing.nc");
        }
        CodeMax c;
        c.SetText("KEEP");
        for (int pass = 0; pass < 2; ++pass) {
            try {
                if (pass == 0)
                    c.OpenFile(file);
                else
                    c.InsertFile(file, {0, 0});
                QFAIL("no error");
            } catch (const platform::Error& e) {
                QCOMPARE(e.number(), number);
                QVERIFY2(e.description().contains(file), qPrintable(e.description()));
            }
        }
        QCOMPARE(c.Text(), QString("KEEP"));  // nothing read, nothing lost
        if (number == 75) {
            QVERIFY_THROWS_EXCEPTION(platform::Error, c.SaveFile(file, true));
        }
    }

    void insertFileConvertsToTheDocument()
    {
        const QString host = path("host.nc"), part = path("part.nc");
        writeFile(host, "A\nB\n");  // LF, UTF-8
        writeFile(part, "X\xb0\r\nY\r\n");  // CR LF, Latin-1
        CodeMax c;
        c.OpenFile(host);
        int changes = 0;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        c.InsertFile(part, {1, 0});
        QCOMPARE(changes, 1);
        QCOMPARE(c.Text(), QString("A\r\nX\u00b0\r\nY\r\nB\r\n"));
        c.SaveFile(host, true);
        QCOMPARE(readFile(host), QByteArray("A\nX\xc2\xb0\nY\nB\n"));
        c.Undo();
        QCOMPARE(c.Text(), QString("A\r\nB\r\n"));
    }

    void openAfterEditsStartsClean()
    {
        const QString file = path("clean.nc");
        writeFile(file, "N1\r\nN2\r\n");
        CodeMax c;
        c.SetText("SOMETHING\r\nELSE");
        c.ExecuteCmd(platform::CodeMaxCmd::BookmarkToggle);
        c.SetHighlightedLine(1);
        c.OpenFile(file);
        QVERIFY(!c.Modified());
        QVERIFY(!c.CanUndo());
        QCOMPARE(c.HighlightedLine(), -1);
        QCOMPARE(c.GetSel(false), (platform::CodeMaxRange{0, 0, 0, 0}));
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxFile);
#include "tst_CodeMaxFile.moc"
