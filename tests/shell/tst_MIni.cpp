#include "ShellFixture.h"
#include "support/TestRegistry.h"
#include "platform/files/AtomicWrite.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/cRegistry.h"

#include <QFileInfo>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

using namespace platform;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void defaultFilesAreExact()
    {
        ShellFixture fixture;
        CreateDefaultIni();
        QCOMPARE(ShellFixture::ReadBytes(IniFile), ShellFixture::ReadBytes(ShellFixture::Fixture("Editor.ini")));
        QCOMPARE(ShellFixture::ReadBytes(MacroIniFile), ShellFixture::ReadBytes(ShellFixture::Fixture("Macro.ini")));
        QVERIFY(!ShellFixture::ReadBytes(IniFile).isEmpty());
    }

    void existingFilesAreLeftAlone()
    {
        ShellFixture fixture;
        ShellFixture::WriteBytes(IniFile, "[Window]\r\nLeft = 5\r\n");
        ShellFixture::WriteBytes(MacroIniFile, "[Macros]\nMacronumber=1\nMacro1=Mine\n");
        CreateDefaultIni();
        QCOMPARE(ShellFixture::ReadBytes(IniFile), QByteArray("[Window]\r\nLeft = 5\r\n"));
        QCOMPARE(ShellFixture::ReadBytes(MacroIniFile), QByteArray("[Macros]\nMacronumber=1\nMacro1=Mine\n"));
    }

    void defaultFilesOnAFullDiskAreNotLeftCut()
    {
        ShellFixture fixture;
        ScriptedAnswers answers;
        SetSimulatedFreeSpaceForTests(64);
        CreateDefaultIni();
        SetSimulatedFreeSpaceForTests(-1);
        QVERIFY(!QFileInfo::exists(IniFile));
        QVERIFY(!QFileInfo::exists(MacroIniFile));
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("Unable to write the settings file %1: No space left on device.").arg(IniFile));
        QVERIFY(answers.msgBoxes()[1].prompt.contains(MacroIniFile));
        // The next start writes them whole.
        CreateDefaultIni();
        QCOMPARE(ShellFixture::ReadBytes(IniFile), ShellFixture::ReadBytes(ShellFixture::Fixture("Editor.ini")));
    }

    void readIniStringKeepsLongValues()
    {
        ShellFixture fixture;
        const QString longDir = QStringLiteral("/") + QString(300, QLatin1Char('d'));
        QVERIFY(WriteIniString(QStringLiteral("Directory"), QStringLiteral("DefaultDir"), longDir, IniFile) != 0);
        QCOMPARE(ReadIniString(QStringLiteral("directory"), QStringLiteral("defaultdir"), IniFile), longDir);
        QCOMPARE(ReadIniString(QStringLiteral("Directory"), QStringLiteral("Missing"), IniFile), QString());
        QCOMPARE(ReadIniString(QStringLiteral("Directory"), QStringLiteral("DefaultDir"),
                               fixture.ProgramPath(QStringLiteral("none.ini"))),
                 QString());
    }

    void writeIniStringKeepsOneLine()
    {
        ShellFixture fixture;
        WriteIniString(QStringLiteral("Macros"), QStringLiteral("Macro1"), QStringLiteral("two\r\nlines\nhere"),
                       MacroIniFile);
        WriteIniString(QStringLiteral("Macros"), QStringLiteral("Macro2"), QStringLiteral("next"), MacroIniFile);
        QCOMPARE(ReadIniString(QStringLiteral("Macros"), QStringLiteral("Macro1"), MacroIniFile),
                 QStringLiteral("two lines here"));
        QCOMPARE(ReadIniString(QStringLiteral("Macros"), QStringLiteral("Macro2"), MacroIniFile),
                 QStringLiteral("next"));
    }

    void noRegistryKeyGivesDefaults()
    {
        ShellFixture fixture;
        Startnumber = 1;
        Increment = 0;
        DisplayPath = 0;
        SkipChars = {QStringLiteral("x")};
        cRegistry registry;
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(DefaultDir, fixture.ProgramFolder());
        QCOMPARE(DefaultExt, QStringLiteral("All Files (*.*)|*.*"));
        QCOMPARE(Startnumber, 10);
        QCOMPARE(Increment, 10);
        QCOMPARE(RestartNum, 9999);
        QCOMPARE(N, 1);
        QCOMPARE(Space, 0);
        QCOMPARE(BlankLines, 0);
        QCOMPARE(NumPopup, 0);
        QCOMPARE(DisplayPath, 1);
        QCOMPARE(Corvane, 30);
        QCOMPARE(CorvaneExt, 0);
        QCOMPARE(CharNumber, 3);
        QCOMPARE(SkipChars, (QStringList{"%", "(", "O"}));
    }

    void saveThenLoadKeepsEveryValue()
    {
        ShellFixture fixture;
        DefaultDir = QStringLiteral("/nc/parts");
        DefaultExt = QStringLiteral("NC Code (*.nc)|*.nc");
        Startnumber = 100;
        Increment = 5;
        RestartNum = 90000;
        N = 0;
        Space = 1;
        BlankLines = 1;
        NumPopup = 1;
        DisplayPath = 0;
        Corvane = 7;
        CorvaneExt = 1;
        CharNumber = 2;
        SkipChars = {QStringLiteral("N"), QStringLiteral(";")};
        {
            ScriptedAnswers answers;
            cRegistry registry;
            SaveRegistrySettings(registry, HKEY_CURRENT_USER);
            QCOMPARE(answers.msgBoxes().size(), 0);
        }
        SetDefaultEditorOptions();
        cRegistry registry;
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(DefaultDir, QStringLiteral("/nc/parts"));
        QCOMPARE(DefaultExt, QStringLiteral("NC Code (*.nc)|*.nc"));
        QCOMPARE(Startnumber, 100);
        QCOMPARE(Increment, 5);
        QCOMPARE(RestartNum, 90000);
        QCOMPARE(N, 0);
        QCOMPARE(Space, 1);
        QCOMPARE(BlankLines, 1);
        QCOMPARE(NumPopup, 1);
        QCOMPARE(DisplayPath, 0);
        QCOMPARE(Corvane, 7);
        QCOMPARE(CorvaneExt, 1);
        QCOMPARE(CharNumber, 2);
        QCOMPARE(SkipChars, (QStringList{"N", ";"}));

        // Numbers are stored as numbers, texts as texts.
        HKEY key = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, EditorOptionsKey, &key), ERROR_SUCCESS);
        quint32 type = 0;
        QByteArray data;
        RegQueryValueEx(key, QStringLiteral("Increment"), &type, &data);
        QCOMPARE(type, REG_DWORD);
        RegQueryValueEx(key, QStringLiteral("Char1"), &type, &data);
        QCOMPARE(type, REG_SZ);
        RegCloseKey(key);
    }

    void storedValuesThatNeedMending()
    {
        ShellFixture fixture;
        const auto number = [](const char* name, int value) {
            cRegistry r;
            r.SectionKey(EditorOptionsKey);
            r.ValueKey(QLatin1String(name));
            r.ValueType(REG_DWORD);
            r.Value(value);
        };
        number("RestartNum", 0);
        number("CharNumber", 0);
        cRegistry registry;
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(RestartNum, 9999);
        QCOMPARE(CharNumber, 3);
        QCOMPARE(SkipChars, (QStringList{"%", "(", "O"}));
    }

    // A count no settings dialog can store: reading it whole would never
    // end, so it stops at the dialog's 16-bit bound.
    void skipCharCountIsBounded_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("count");
        QTest::newRow("largest 32-bit") << 2147483647 << MaxCharNumber;
        QTest::newRow("one past the bound") << MaxCharNumber + 1 << MaxCharNumber;
        QTest::newRow("the bound itself") << MaxCharNumber << MaxCharNumber;
    }
    void skipCharCountIsBounded()
    {
        QFETCH(int, stored);
        QFETCH(int, count);
        ShellFixture fixture;
        cRegistry r;
        r.SectionKey(EditorOptionsKey);
        r.ValueType(REG_DWORD);
        r.ValueKey(QStringLiteral("CharNumber"));
        r.Value(stored);
        r.ValueType(REG_SZ);
        r.ValueKey(QStringLiteral("Char1"));
        r.Value(QStringLiteral(";"));
        cRegistry registry;
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(CharNumber, count);
        QCOMPARE(SkipChars.size(), count);
        QCOMPARE(SkipChars.first(), QStringLiteral(";"));
    }

    // Open, Save and Insert start where the user may write: the program
    // folder when it is writable (the rule of the settings files), else the
    // home folder; with no stored options and with options that lack it.
    void ncFolderIsOneTheUserMayWrite_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("home");
        QTest::newRow("writable program folder") << "writable" << false;
        QTest::newRow("read-only program folder") << "read-only" << true;
        QTest::newRow("program folder gone") << "gone" << true;
    }
    void ncFolderIsOneTheUserMayWrite()
    {
        QFETCH(QString, program);
        QFETCH(bool, home);
        ShellFixture fixture;
        const QString folder = fixture.ProgramPath(program);
        if (program != QLatin1String("gone"))
            QVERIFY(QDir().mkpath(folder));
        // Root writes into any folder: a read-only file system stops it too.
        const QByteArray path = QFile::encodeName(folder);
        bool mounted = false;
        const auto writable = qScopeGuard([&] {
            if (mounted)
                ::umount2(path.constData(), MNT_DETACH);
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        });
        if (program == QLatin1String("read-only")) {
            if (::geteuid() == 0) {
                if (::mount("tmpfs", path.constData(), "tmpfs", MS_RDONLY, "size=4096") != 0)
                    QSKIP("mounting a read-only tmpfs was refused");
                mounted = true;
            } else {
                QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            }
            QVERIFY(::access(path.constData(), W_OK) != 0);
        }
        qputenv("TALVEX_PROGRAM_DIR", QFile::encodeName(folder));
        const QString expected = home ? QDir::homePath() : folder;

        cRegistry registry;
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(DefaultDir, expected);

        cRegistry r;
        r.SectionKey(EditorOptionsKey);
        r.ValueKey(QStringLiteral("Startnumber"));
        r.ValueType(REG_DWORD);
        r.Value(500);
        DefaultDir.clear();
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(Startnumber, 500);
        QCOMPARE(DefaultDir, expected);
    }

    void missingValueKeepsItsDefault()
    {
        // A key holding only some values: the others must not read as 0 (a
        // step of 0 numbers every block alike).
        ShellFixture fixture;
        cRegistry r;
        r.SectionKey(EditorOptionsKey);
        r.ValueKey(QStringLiteral("Startnumber"));
        r.ValueType(REG_DWORD);
        r.Value(500);
        cRegistry registry;
        LoadRegistrySettings(registry, HKEY_CURRENT_USER);
        QCOMPARE(Startnumber, 500);
        QCOMPARE(Increment, 10);
        QCOMPARE(DisplayPath, 1);
        QCOMPARE(DefaultDir, fixture.ProgramFolder());
        QCOMPARE(SkipChars, (QStringList{"%", "(", "O"}));
    }

    void colorItemsFallBackPerValue()
    {
        ShellFixture fixture;
        CreateDefaultIni();
        WriteIniString(QStringLiteral("Colors"), QStringLiteral("clr3fr"), QStringLiteral("abc"), IniFile);
        WriteIniString(QStringLiteral("Colors"), QStringLiteral("clr4bg"), QStringLiteral("123"), IniFile);
        WriteIniString(QStringLiteral("Colors"), QStringLiteral("clr5fnt"), QString(""), IniFile);
        LoadColorItems();
        for (int i = 0; i < ColorItemsUsed; ++i) {
            ColorItem expected = DefaultColorItems[static_cast<size_t>(i)];
            if (i == 4)
                expected.BackColor = 123;
            QCOMPARE(ColorItems[static_cast<size_t>(i)], expected);
        }
        QCOMPARE(ColorItems[10], ColorItem{});   // item 10 is written, never read
    }

    void saveIniSettingsWritesMacroList()
    {
        ShellFixture fixture;
        ShellFixture::WriteBytes(MacroIniFile, "[Macros]\r\nMacronumber=5\r\nMacro1=a\r\nMacro2=b\r\n"
                                               "Macro3=c\r\nMacro4=d\r\nMacro5=e\r\n");
        DefaultDir = QStringLiteral("/nc");
        DefaultExt = QStringLiteral("All Files (*.*)|*.*");
        Macronumber = 2;
        MacroDescriptions[0] = QStringLiteral("Drill cycle");
        MacroDescriptions[1] = QString();
        SaveIniSettings();
        QCOMPARE(ShellFixture::ReadBytes(MacroIniFile),
                 QByteArray("[Macros]\r\nMacronumber=2\r\nMacro1=Drill cycle\r\nMacro2=\r\n"
                            "Macro3=c\r\nMacro4=d\r\nMacro5=e\r\n"));
        QCOMPARE(ReadIniString(QStringLiteral("Directory"), QStringLiteral("DefaultDir"), IniFile),
                 QStringLiteral("/nc"));
    }

    // Settings lost at shutdown are reported once, naming the file; what can
    // be written still is.
    void unwritableSettingsAreReportedOnce_data()
    {
        QTest::addColumn<bool>("editorFails");
        QTest::addColumn<bool>("macroFails");
        QTest::newRow("Editor.ini") << true << false;
        QTest::newRow("Macro.ini") << false << true;
        QTest::newRow("both") << true << true;
    }
    void unwritableSettingsAreReportedOnce()
    {
        QFETCH(bool, editorFails);
        QFETCH(bool, macroFails);
        ShellFixture fixture;
        // A folder that cannot exist, for root too: its parent is a file.
        ShellFixture::WriteBytes(fixture.ProgramPath(QStringLiteral("plain")), "x");
        const QString blocked = fixture.ProgramPath(QStringLiteral("plain"));
        if (editorFails)
            IniFile = blocked + QStringLiteral("/Editor.ini");
        if (macroFails)
            MacroIniFile = blocked + QStringLiteral("/Macro.ini");
        DefaultDir = QStringLiteral("/nc");
        Macronumber = 1;
        MacroDescriptions[0] = QStringLiteral("Drill cycle");

        ScriptedAnswers answers;
        SaveIniSettings();
        QCOMPARE(answers.msgBoxes().size(), 1);
        const auto& box = answers.msgBoxes()[0];
        QCOMPARE(box.style, int(vbCritical));
        QCOMPARE(box.title, QStringLiteral("Talvex Editor"));
        QCOMPARE(box.prompt.contains(IniFile), editorFails);
        QCOMPARE(box.prompt.contains(MacroIniFile), macroFails);
        if (!editorFails)
            QCOMPARE(ReadIniString(QStringLiteral("Directory"), QStringLiteral("DefaultDir"), IniFile),
                     QStringLiteral("/nc"));
        if (!macroFails)
            QCOMPARE(ReadIniString(QStringLiteral("Macros"), QStringLiteral("Macro1"), MacroIniFile),
                     QStringLiteral("Drill cycle"));
    }

    void windowPlacementFallsBack()
    {
        ShellFixture fixture;
        ShellFixture::WriteBytes(IniFile, "[Window]\r\nLeft = abc\r\nTop = 300\r\nWidth = \r\n"
                                          "Height = 6000\r\nWindowState = 7\r\n");
        const WindowPlacement placement = ReadWindowPlacement();
        QCOMPARE(placement.Left, -60.0);
        QCOMPARE(placement.Top, 300.0);
        QCOMPARE(placement.Width, 12120.0);
        QCOMPARE(placement.Height, 6000.0);
        QCOMPARE(placement.WindowState, 2);
    }
};

REGISTER_TEST(TestSettings);
#include "tst_MIni.moc"
