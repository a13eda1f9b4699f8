#include "platform/files/AtomicWrite.h"
#include "platform/profile/PrivateProfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace platform;

namespace {

// Makes every write beyond a few bytes fail, even for root: the way to
// prove that a failed write leaves the old file whole.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

// The child process of the concurrency test: writes count keys, each
// prefix plus its number, into one section.
int runWriter(const QStringList& args)
{
    const QString file = args.value(2);
    const QString prefix = args.value(3);
    const int count = args.value(4).toInt();
    for (int i = 0; i < count; ++i) {
        if (!WritePrivateProfileString(QStringLiteral("Keys"), prefix + QString::number(i), QString::number(i), file))
            return 2;
    }
    return 0;
}

const QByteArray Fixture =
    "; settings of the editor\r\n"
    "[Window]\r\n"
    "Left = -60\r\n"
    "  Top=  -60  \r\n"
    "WindowState = 2\r\n"
    "; kept comment\r\n"
    "\r\n"
    "[Directory]\r\n"
    "DefaultDir=C:\\\r\n"
    "DefaultExt=All Files (*.*)|*.*\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Window]\r\n"
    "Left=999\r\n";

}  // namespace

class PrivateProfileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString file_;

    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("Editor.ini"))
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write fixture");
        f.write(bytes);
        return path;
    }
    static QByteArray contents(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private slots:
    void init() { file_ = write(Fixture); }

    void reads_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact") << "Window" << "Left" << "-60";
        QTest::newRow("case of section and key ignored") << "WINDOW" << "windowstate" << "2";
        QTest::newRow("blanks around names and value dropped") << " window " << "top" << "-60";
        QTest::newRow("first section of a name wins") << "Window" << "left" << "-60";
        QTest::newRow("backslash value") << "Directory" << "DefaultDir" << "C:\\";
        QTest::newRow("bars and stars") << "Directory" << "DefaultExt" << "All Files (*.*)|*.*";
        QTest::newRow("quotes removed, inner blanks kept") << "Directory" << "Quoted" << "  spaced  ";
        QTest::newRow("single quotes removed") << "Directory" << "Single" << "x";
        QTest::newRow("unmatched quote kept") << "Directory" << "Half" << "\"open";
        QTest::newRow("empty value") << "Directory" << "Empty" << "";
        QTest::newRow("missing key gives default") << "Directory" << "Nope" << "dflt";
        QTest::newRow("missing section gives default") << "Colors" << "clr0bg" << "dflt";
        QTest::newRow("comment is no key") << "Window" << "; kept comment" << "dflt";
    }
    void reads()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(GetPrivateProfileString(section, key, QStringLiteral("dflt"), file_), expected);
    }

    void missingFileGivesDefault()
    {
        const QString missing = dir_.filePath(QStringLiteral("none.ini"));
        QCOMPARE(GetPrivateProfileString("A", "B", "  fallback  ", missing), QString("fallback"));
        QCOMPARE(GetPrivateProfileInt("A", "B", 7, missing), 7);
        QVERIFY(GetPrivateProfileSections(missing).isEmpty());
    }

    void longValueIsCutAtTheBuffer()
    {
        const QByteArray value(300, 'v');
        const QString path = write("[Directory]\r\nDefaultDir=" + value + "\r\n", "long.ini");
        QCOMPARE(GetPrivateProfileString("Directory", "DefaultDir", "", path), QString(254, u'v'));
        QCOMPARE(GetPrivateProfileString("Directory", "DefaultDir", "", path, 10), QString(9, u'v'));
        QCOMPARE(GetPrivateProfileString("Directory", "Missing", QString(300, u'd'), path).size(), 254);
        // A character outside the basic plane is never cut in half.
        QCOMPARE(GetPrivateProfileString("D", "M", QString(253, u'd') + QString::fromUtf8("😀"), path),
                 QString(253, u'd'));
    }

    void readsNumbers()
    {
        const QString path = write("[N]\nA=42\nB=-7x\nC=abc\nD=\n", "n.ini");
        QCOMPARE(GetPrivateProfileInt("N", "A", 1, path), 42);
        QCOMPARE(GetPrivateProfileInt("N", "B", 1, path), -7);
        QCOMPARE(GetPrivateProfileInt("N", "C", 1, path), 0);
        QCOMPARE(GetPrivateProfileInt("N", "D", 1, path), 0);
        QCOMPARE(GetPrivateProfileInt("N", "E", 1, path), 1);
    }

    void listsSectionsAndKeys()
    {
        QCOMPARE(GetPrivateProfileSections(file_), (QStringList{"Window", "Directory", "Window"}));
        QCOMPARE(GetPrivateProfileKeys("window", file_), (QStringList{"Left", "Top", "WindowState"}));
    }

    // Names are cut at blanks only, as the file is read: a key listed with
    // another white space at its edge (a Latin-1 no-break space) reads by
    // the name it is listed with, and a write finds it.
    void listedNamesReadByTheirNames()
    {
        const QString path = write(QByteArray("[Tools \xA0]\r\n\xA0" "Depth = 5\r\nDepth=7\r\n"), "spaces.ini");
        const QString section = QString::fromLatin1("Tools \xA0");
        QCOMPARE(GetPrivateProfileSections(path), QStringList{section});
        const QStringList keys = GetPrivateProfileKeys(section, path);
        QCOMPARE(keys, (QStringList{QString::fromLatin1("\xA0" "Depth"), "Depth"}));
        QCOMPARE(GetPrivateProfileString(section, keys[0], "<none>", path), QString("5"));
        QCOMPARE(GetPrivateProfileString(section, " Depth\t", "<none>", path), QString("7"));
        QCOMPARE(GetPrivateProfileString("Tools", "Depth", "<none>", path), QString("<none>"));
        QVERIFY(WritePrivateProfileString(section, keys[0], "6", path));
        QCOMPARE(contents(path), QByteArray("[Tools \xA0]\r\n\xA0" "Depth=6\r\nDepth=7\r\n"));
    }

    void writeKeepsEveryOtherByte_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("before");  // the bytes replaced ...
        QTest::addColumn<QByteArray>("after");   // ... by these

        QTest::newRow("existing key, spelling of the file kept")
            << "window" << "Windowstate" << "0"
            << QByteArray("WindowState = 2\r\n") << QByteArray("WindowState=0\r\n");
        QTest::newRow("indented key keeps its indent")
            << "Window" << "Top" << "15"
            << QByteArray("  Top=  -60  \r\n") << QByteArray("  Top=15\r\n");
        QTest::newRow("new key after the last line of its section, before the blank line")
            << "Window" << "Width" << "12120"
            << QByteArray("; kept comment\r\n\r\n[Directory]")
            << QByteArray("; kept comment\r\nWidth=12120\r\n\r\n[Directory]");
        QTest::newRow("empty value")
            << "Directory" << "DefaultDir" << ""
            << QByteArray("DefaultDir=C:\\\r\n") << QByteArray("DefaultDir=\r\n");
        QTest::newRow("new section at the end")
            << "Colors" << "clr0bg" << "16777215"
            << QByteArray("Left=999\r\n") << QByteArray("Left=999\r\n[Colors]\r\nclr0bg=16777215\r\n");
        QTest::newRow("null value deletes the key")
            << "Directory" << "quoted" << QString()
            << QByteArray("Quoted=\"  spaced  \"\r\n") << QByteArray();
        QTest::newRow("null key deletes the section up to its blank lines")
            << "Directory" << QString() << QString()
            << QByteArray("[Directory]\r\nDefaultDir=C:\\\r\nDefaultExt=All Files (*.*)|*.*\r\n"
                          "Quoted=\"  spaced  \"\r\nSingle='x'\r\nHalf=\"open\r\nEmpty=\r\n")
            << QByteArray();
    }
    void writeKeepsEveryOtherByte()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QVERIFY(Fixture.count(before) == 1);
        QByteArray expected = Fixture;
        expected.replace(before, after);
        QVERIFY(WritePrivateProfileString(section, key, value, file_));
        QCOMPARE(contents(file_), expected);
        if (!key.isNull() && !value.isNull())
            QCOMPARE(GetPrivateProfileString(section, key, "dflt", file_), value);
    }

    void deletingWhatIsMissingChangesNothing()
    {
        QVERIFY(WritePrivateProfileString("Nope", "Key", QString(), file_));
        QVERIFY(WritePrivateProfileString("Window", "Nope", QString(), file_));
        QVERIFY(WritePrivateProfileString("Nope", QString(), QString(), file_));
        QCOMPARE(contents(file_), Fixture);
    }

    void createsMissingFileWithCrLf()
    {
        const QString path = dir_.filePath(QStringLiteral("Macro.ini"));
        QFile::remove(path);
        QVERIFY(WritePrivateProfileString("Macros", "Macronumber", "0", path));
        QVERIFY(WritePrivateProfileString("Macros", "Macro1", "first", path));
        QCOMPARE(contents(path), QByteArray("[Macros]\r\nMacronumber=0\r\nMacro1=first\r\n"));
    }

    void newLinesFollowTheFilesLineEnd()
    {
        const QString path = write("[A]\nx=1", "lf.ini");  // no final line end
        QVERIFY(WritePrivateProfileString("A", "y", "2", path));
        QVERIFY(WritePrivateProfileString("B", "z", "3", path));
        QCOMPARE(contents(path), QByteArray("[A]\nx=1\ny=2\n[B]\nz=3\n"));
    }

    void bytesRoundTripAsLatin1()
    {
        const QString path = write("[S]\r\nk=\xE9t\xE9\r\nother=\xFF\r\n", "latin.ini");
        QCOMPARE(GetPrivateProfileString("S", "k", "", path), QString::fromLatin1("\xE9t\xE9"));
        QVERIFY(WritePrivateProfileString("S", "k", QString::fromLatin1("\xFC"), path));
        QCOMPARE(contents(path), QByteArray("[S]\r\nk=\xFC\r\nother=\xFF\r\n"));
    }

    // Text outside Latin-1 is written as UTF-8; everything else stays
    // Latin-1 bytes, and each line reads back in its own encoding.
    void keepsTextOutsideLatin1_data()
    {
        QTest::addColumn<QByteArray>("before");  // the file; empty: none yet
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QString macro = QString::fromUtf8("Фреза Ø10");
        QTest::newRow("Cyrillic into a new file")
            << QByteArray() << "Macros" << "Macro1" << macro
            << "[Macros]\r\nMacro1=" + macro.toUtf8() + "\r\n";
        QTest::newRow("Cyrillic beside a Latin-1 line, which keeps its bytes")
            << QByteArray("[Macros]\r\nMacro1=Fr\xE4se \xD8" "10\r\nMacro2=x\r\n") << "macros" << "Macro2" << macro
            << "[Macros]\r\nMacro1=Fr\xE4se \xD8" "10\r\nMacro2=" + macro.toUtf8() + "\r\n";
        QTest::newRow("Latin-1 text stays Latin-1")
            << QByteArray("[Macros]\r\nMacro1=x\r\n") << "Macros" << "Macro1" << QString::fromUtf8("Fräse Ø10")
            << QByteArray("[Macros]\r\nMacro1=Fr\xE4se \xD8" "10\r\n");
        QTest::newRow("Cyrillic section and key")
            << QByteArray("[A]\r\nx=1\r\n") << QString::fromUtf8("Станок") << QString::fromUtf8("Шпиндель") << "S1200"
            << QByteArray("[A]\r\nx=1\r\n") + QString::fromUtf8("[Станок]\r\nШпиндель=S1200\r\n").toUtf8();
        QTest::newRow("new key in a section of Cyrillic name")
            << QString::fromUtf8("[Станок]\r\nx=1\r\n").toUtf8() << QString::fromUtf8("станок") << "y" << "2"
            << QString::fromUtf8("[Станок]\r\nx=1\r\ny=2\r\n").toUtf8();
        QTest::newRow("Latin-1 key of the file rewritten with a Cyrillic value")
            << QByteArray("[S]\r\n  Gr\xF6\xDF" "e = 1\r\n") << "S" << QString::fromUtf8("GRÖßE") << macro
            << "[S]\r\n  " + QString::fromUtf8("Größe=").toUtf8() + macro.toUtf8() + "\r\n";
        QTest::newRow("UTF-8 key of the file rewritten with a Latin-1 value")
            << QString::fromUtf8("[S]\r\nФреза=1\r\n").toUtf8() << "S" << QString::fromUtf8("фреза") << QString::fromUtf8("Ø")
            << QString::fromUtf8("[S]\r\nФреза=Ø\r\n").toUtf8();
        QTest::newRow("Latin-1 text that would read as UTF-8")
            << QByteArray() << "S" << "k" << QString::fromUtf8("Ã©")
            << QString::fromUtf8("[S]\r\nk=Ã©\r\n").toUtf8();
    }
    void keepsTextOutsideLatin1()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString path = dir_.filePath(QStringLiteral("Macro.ini"));
        QFile::remove(path);
        if (!before.isEmpty())
            write(before, QStringLiteral("Macro.ini"));
        QVERIFY(WritePrivateProfileString(section, key, value, path));
        QCOMPARE(contents(path), after);
        QCOMPARE(GetPrivateProfileString(section, key, "dflt", path), value);
        QCOMPARE(GetPrivateProfileString(section.toUpper(), key.toLower(), "dflt", path), value);
    }

    // A U+FEFF that starts a name or a value is text like any other: it was
    // dropped on reading, and each later write added one more line.
    void keepsLeadingByteOrderMark_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QString mark(QChar(0xFEFF));
        QTest::newRow("value") << "S" << "k" << mark + "G01";
        QTest::newRow("key") << "S" << mark + "k" << "1";
        QTest::newRow("section") << mark + "S" << "k" << "1";
        QTest::newRow("all three") << mark + "S" << mark + "k" << mark;
    }
    void keepsLeadingByteOrderMark()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString path = write("[S]\r\nk=0\r\n", "mark.ini");
        QVERIFY(WritePrivateProfileString(section, key, value, path));
        const QByteArray once = contents(path);
        QCOMPARE(GetPrivateProfileString(section, key, "dflt", path), value);
        QVERIFY(GetPrivateProfileSections(path).contains(section));
        QVERIFY(GetPrivateProfileKeys(section, path).contains(key));
        QVERIFY(WritePrivateProfileString(section, key, value, path));
        QVERIFY(WritePrivateProfileString(section, key, value, path));
        QCOMPARE(contents(path), once);
    }

    void readsEachLineInItsOwnEncoding()
    {
        const QString cyrillic = QString::fromUtf8("Фреза Ø10");
        const QString path = write(QByteArray("\xEF\xBB\xBF[Macros]\r\n")            // UTF-8 mark before the first line
                                       + "Macronumber=3\r\n"
                                       + "Macro1=" + cyrillic.toUtf8() + "\r\n"  // UTF-8
                                       + "Macro2=Fr\xE4se \xD8" "10\r\n"         // Latin-1
                                       + "Macro3=\xC3\xA4 \xFF\r\n"             // not UTF-8 as a whole: Latin-1
                                       + QString::fromUtf8("[Станок]\nОсь=X\n").toUtf8(),
                                   "mixed.ini");
        QCOMPARE(GetPrivateProfileString("Macros", "Macronumber", "", path), QString("3"));
        QCOMPARE(GetPrivateProfileString("Macros", "Macro1", "", path), cyrillic);
        QCOMPARE(GetPrivateProfileString("Macros", "Macro2", "", path), QString::fromUtf8("Fräse Ø10"));
        QCOMPARE(GetPrivateProfileString("Macros", "Macro3", "", path), QString::fromLatin1("\xC3\xA4 \xFF"));
        QCOMPARE(GetPrivateProfileString(QString::fromUtf8("станок"), QString::fromUtf8("ОСЬ"), "", path), QString("X"));
        QCOMPARE(GetPrivateProfileSections(path), (QStringList{"Macros", QString::fromUtf8("Станок")}));
        QCOMPARE(GetPrivateProfileKeys(QString::fromUtf8("Станок"), path), QStringList{QString::fromUtf8("Ось")});
        // The default comes back whole too.
        QCOMPARE(GetPrivateProfileString("Macros", "Macro9", cyrillic, path), cyrillic);
        // A write elsewhere keeps every other byte, the mark included.
        const QByteArray before = contents(path);
        QVERIFY(WritePrivateProfileString("Macros", "Macronumber", "4", path));
        QCOMPARE(contents(path), QByteArray(before).replace("Macronumber=3", "Macronumber=4"));
    }

    void refusesTextThatBreaksTheFile_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in value") << "Window" << "Left" << "1\r\n[Evil]";
        QTest::newRow("line break in key") << "Window" << "a\nb" << "1";
        QTest::newRow("equals in key") << "Window" << "a=b" << "1";
        QTest::newRow("bracket in section") << "Win]dow" << "a" << "1";
        QTest::newRow("empty section") << "" << "a" << "1";
        QTest::newRow("control character in value") << "Window" << "Left" << "1\x01";
        QTest::newRow("half of a surrogate pair") << "Window" << "Left" << QString(QChar(0xD83D));
    }
    void refusesTextThatBreaksTheFile()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QVERIFY(!WritePrivateProfileString(section, key, value, file_));
        QCOMPARE(contents(file_), Fixture);
    }

    void failedWriteKeepsOldFile()
    {
        const QByteArray big(4096, 'x');
        {
            FileSizeLimit limit(Fixture.size() + 16);
            QVERIFY(!WritePrivateProfileString("Window", "Left", QString::fromLatin1(big), file_));
        }
        QCOMPARE(contents(file_), Fixture);
        QCOMPARE(dir_.path(), QFileInfo(file_).absolutePath());
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).filter("Editor.ini").size(), 1);
    }

    void fullDiskKeepsOldFile()
    {
        SetSimulatedFreeSpaceForTests(64);
        const bool written = WritePrivateProfileString("Window", "Left", QString(4096, u'x'), file_);
        SetSimulatedFreeSpaceForTests(-1);
        QVERIFY(!written);
        QCOMPARE(contents(file_), Fixture);
        QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).filter("Editor.ini").size(), 1);
    }

    void readOnlyFileIsNotWritten()
    {
        if (geteuid() == 0)
            QSKIP("root may write a read-only file");
        QFile::setPermissions(file_, QFileDevice::ReadOwner);
        QVERIFY(!WritePrivateProfileString("Window", "Left", "1", file_));
        QFile::setPermissions(file_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(contents(file_), Fixture);
    }

    // Three programs writing one file at once lost 98 of 150 keys, while
    // every write reported success.
    void processesWritingAtOnceKeepEveryKey()
    {
        const int count = 50;
        const QString path = dir_.filePath(QStringLiteral("shared.ini"));
        std::vector<std::unique_ptr<QProcess>> writers;
        for (const char* prefix : {"first", "second", "third"}) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            p->start(QCoreApplication::applicationFilePath(), {"--writer", path, prefix, QString::number(count)});
            writers.push_back(std::move(p));
        }
        for (auto& p : writers) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        QCOMPARE(GetPrivateProfileKeys("Keys", path).size(), 3 * count);
        QCOMPARE(GetPrivateProfileString("Keys", "third49", "", path), QString("49"));
        QVERIFY(!QFileInfo::exists(path + ".lock"));
    }

    void lockLeftByAKilledWriterDoesNotBlock()
    {
        write(QByteArray(), QStringLiteral("Editor.ini.lock"));  // what a killed writer leaves
        QVERIFY(WritePrivateProfileString("Window", "Left", "1", file_));
        QCOMPARE(GetPrivateProfileString("Window", "Left", "", file_), QString("1"));
        QVERIFY(!QFileInfo::exists(file_ + ".lock"));
    }

    void writeKeepsPermissions()
    {
        QVERIFY(QFile::setPermissions(file_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
        const QFileDevice::Permissions before = QFile::permissions(file_);
        QVERIFY(WritePrivateProfileString("Window", "Left", "1", file_));
        QCOMPARE(QFile::permissions(file_), before);
        QVERIFY(!(before & QFileDevice::ReadOther));
    }

    void damagedFileIsReadAsFarAsSoundAndReportedOnce()
    {
        QStringList reports;
        SetProfileDamageHandler([&](const QString& file, const QString& problem) {
            reports << QFileInfo(file).fileName() + QStringLiteral(": ") + problem;
        });
        const auto restore = qScopeGuard([] { SetProfileDamageHandler({}); });
        const QByteArray damaged = QByteArray("[Good]\r\na=1\r\n[Broken\r\njunk line\r\nb=2\r\n")
                                   + QByteArray("\0\x01\x02\xff", 4) + "\r\n[Tail]\r\nc=3\r\n";
        const QString path = write(damaged, "damaged.ini");
        QCOMPARE(GetPrivateProfileString("Good", "a", "", path), QString("1"));
        QCOMPARE(GetPrivateProfileString("Tail", "c", "", path), QString("3"));
        // "b" follows a broken header: it stays in the section before it.
        QCOMPARE(GetPrivateProfileString("Good", "b", "", path), QString("2"));
        QCOMPARE(reports, QStringList{"damaged.ini: line 3: no closing ']'"});
        // A write keeps the damaged bytes as they are.
        QVERIFY(WritePrivateProfileString("Tail", "c", "4", path));
        QCOMPARE(contents(path), QByteArray(damaged).replace("c=3", "c=4"));
        QCOMPARE(reports.size(), 1);
        // New content, still damaged: reported once more, then no more.
        GetPrivateProfileString("Good", "a", "", path);
        GetPrivateProfileString("Good", "a", "", path);
        QCOMPARE(reports.size(), 2);
    }

    void binaryJunkNeverCrashes()
    {
        QByteArray junk;
        for (int i = 0; i < 20000; ++i)
            junk += char((i * 7919) % 256);
        const QString path = write(junk, "junk.ini");
        GetPrivateProfileString("A", "B", "", path);
        GetPrivateProfileSections(path);
        QVERIFY(WritePrivateProfileString("A", "B", "C", path));
        QCOMPARE(GetPrivateProfileString("A", "B", "", path), QString("C"));
        QVERIFY(contents(path).startsWith(junk));
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QStringLiteral("--writer"))
        return runWriter(app.arguments());
    PrivateProfileTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_PrivateProfile.moc"
