// The file association: our registry keys and the desktop's entry, MIME
// type, icon and default application, each written and read back.

#include "ShellFixture.h"
#include "support/TestRegistry.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/forms/Error.h"
#include "platform/registry/Registry.h"
#include "shell/CAssociate.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// XDG_DATA_HOME and XDG_CONFIG_HOME in temporary folders for one test.
class XdgFolders {
public:
    XdgFolders()
        : data_(qgetenv("XDG_DATA_HOME")), config_(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataDir_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir_.path()));
    }
    ~XdgFolders()
    {
        qputenv("XDG_DATA_HOME", data_);
        qputenv("XDG_CONFIG_HOME", config_);
    }
    QString data(const QString& name) const { return dataDir_.filePath(name); }
    QString config(const QString& name) const { return configDir_.filePath(name); }

private:
    QTemporaryDir dataDir_;
    QTemporaryDir configDir_;
    QByteArray data_;
    QByteArray config_;
};

QString ClassesValue(const QString& subKey)
{
    platform::HKEY key = 0;
    if (platform::RegOpenKeyEx(platform::HKEY_CLASSES_ROOT, subKey, &key) != platform::ERROR_SUCCESS)
        return QStringLiteral("<no key>");
    quint32 type = 0;
    QByteArray data;
    const platform::LSTATUS status = platform::RegQueryValueEx(key, QString(), &type, &data);
    platform::RegCloseKey(key);
    if (status != platform::ERROR_SUCCESS || type != platform::REG_SZ)
        return QStringLiteral("<no value>");
    return platform::RegStringFromData(data);
}

CAssociate Filled(const QString& folder, const QString& extension = QStringLiteral(".nc"))
{
    CAssociate associate;
    associate.AppTitle(QStringLiteral("Corvane Editor file extentions"));
    associate.AppClassName(QStringLiteral("CorvaneEditor.Ext"));
    associate.Extension(extension);
    associate.AppCommandLine(u'"' + folder + QStringLiteral("/Pelmar\" /f \"%1\""));
    associate.AppIcon(folder + QStringLiteral("\\Pelmar.exe,0"));
    return associate;
}

QString Icon48()
{
    return qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/resources/Images/Pelmar.png");
}

}  // namespace

class TestCAssociate : public QObject {
    Q_OBJECT

private slots:
    void missingPropertiesRaiseInOrder_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("all empty") << "" << "" << "" << "" << 922 << "Application title not specified";
        QTest::newRow("title only") << "T" << "" << "" << "" << 926 << "Application Class name not specified";
        QTest::newRow("no command") << "T" << "C" << "" << ".nc" << 930
                                    << "Command line of the program not specified";
        QTest::newRow("blank command") << "T" << "C" << "   " << ".nc" << 930
                                       << "Command line of the program not specified";
        QTest::newRow("no extension") << "T" << "C" << "p /f %1" << "" << 934 << "File extension not specified";
        QTest::newRow("dot only") << "T" << "C" << "p /f %1" << "." << 934 << "File extension not specified";
        QTest::newRow("dots only") << "T" << "C" << "p /f %1" << "..." << 934 << "File extension not specified";
        QTest::newRow("pattern") << "T" << "C" << "p /f %1" << ".*" << 934 << "File extension not specified";
        QTest::newRow("path") << "T" << "C" << "p /f %1" << "../../x" << 934 << "File extension not specified";
    }
    void missingPropertiesRaiseInOrder()
    {
        QFETCH(QString, title);
        QFETCH(QString, className);
        QFETCH(QString, command);
        QFETCH(QString, extension);
        QFETCH(int, number);
        QFETCH(QString, description);
        ShellFixture fixture;
        XdgFolders xdg;
        CAssociate associate;
        associate.AppTitle(title);
        associate.AppClassName(className);
        associate.AppCommandLine(command);
        associate.Extension(extension);
        try {
            associate.Associate();
            QFAIL("no error raised");
        } catch (const platform::Error& error) {
            QCOMPARE(error.number(), number);
            QCOMPARE(error.description(), description);
            QCOMPARE(error.source(), QStringLiteral("Associate Class"));
        }
        // Nothing is written before the checks pass.
        QCOMPARE(ClassesValue(QStringLiteral("C")), QStringLiteral("<no key>"));
        QVERIFY(!QFileInfo::exists(xdg.data(QStringLiteral("applications"))));
        QVERIFY(!QFileInfo::exists(xdg.config(QStringLiteral("mimeapps.list"))));
    }

    void writesRegistryAndDesktop()
    {
        ShellFixture fixture;
        XdgFolders xdg;
        const QString folder = fixture.ProgramPath(QStringLiteral("my programs"));
        QDir().mkpath(folder + QStringLiteral("/Images"));
        QVERIFY(QFile::copy(Icon48(), folder + QStringLiteral("/Images/Pelmar.png")));
        qputenv("TALVEX_PROGRAM_DIR", QFile::encodeName(folder));
        ShellFixture::WriteBytes(xdg.config(QStringLiteral("mimeapps.list")),
                                 "[Default Applications]\ntext/plain=gedit.desktop;\n\n"
                                 "[Removed Associations]\nimage/png=foo.desktop;\n");
        CAssociate associate = Filled(folder);
        associate.Associate();

        QCOMPARE(ClassesValue(QStringLiteral("CorvaneEditor.Ext")),
                 QStringLiteral("Corvane Editor file extentions"));
        QCOMPARE(ClassesValue(QStringLiteral(".nc")), QStringLiteral("CorvaneEditor.Ext"));
        QCOMPARE(ClassesValue(QStringLiteral("CorvaneEditor.Ext\\shell\\open\\command")),
                 associate.AppCommandLine());
        QCOMPARE(ClassesValue(QStringLiteral("CorvaneEditor.Ext\\DefaultIcon")), associate.AppIcon());

        const QString id = CAssociate::DesktopId();
        QCOMPARE(platform::DesktopEntryPath(id), xdg.data(QStringLiteral("applications/") + id));
        QCOMPARE(platform::ReadDesktopEntryValue(id, QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(platform::ReadDesktopEntryValue(id, QStringLiteral("Exec")),
                 QStringLiteral("\"%1/Pelmar\" /f %f").arg(folder));
        QCOMPARE(platform::ReadDesktopEntryValue(id, QStringLiteral("MimeType")),
                 QStringLiteral("text/x-talvex-nc;"));
        QCOMPARE(platform::ReadDesktopEntryValue(id, QStringLiteral("Icon")), CAssociate::IconName());
        QVERIFY(QFileInfo::exists(xdg.data(QStringLiteral("icons/hicolor/48x48/apps/talvex-pelmar.png"))));

        const QByteArray mime = ShellFixture::ReadBytes(platform::MimePackagePath(QStringLiteral("talvex-pelmar-nc")));
        QVERIFY(mime.contains("<mime-type type=\"text/x-talvex-nc\">"));
        QVERIFY(mime.contains("<glob pattern=\"*.nc\""));
        QVERIFY(mime.contains("<comment>Corvane Editor file extentions</comment>"));
        QVERIFY(mime.contains("<sub-class-of type=\"text/plain\"/>"));

        QCOMPARE(platform::DefaultApplication(QStringLiteral("text/x-talvex-nc")), id);
        // The user's other entries stay as they were.
        QCOMPARE(platform::DefaultApplication(QStringLiteral("text/plain")), QStringLiteral("gedit.desktop"));
        const QByteArray list = ShellFixture::ReadBytes(xdg.config(QStringLiteral("mimeapps.list")));
        QVERIFY(list.contains("[Removed Associations]\nimage/png=foo.desktop;\n"));
        QVERIFY(list.contains("[Added Associations]\ntext/x-talvex-nc=talvex-pelmar.desktop;\n"));
        QCOMPARE(list.count("[Default Applications]"), 1);
    }

    void secondExtensionKeepsTheFirstAndWinsOverOthers()
    {
        ShellFixture fixture;
        XdgFolders xdg;
        ShellFixture::WriteBytes(xdg.config(QStringLiteral("mimeapps.list")),
                                 "[Default Applications]\ntext/x-talvex-cnc=other.desktop;\n");
        Filled(fixture.ProgramFolder()).Associate();
        Filled(fixture.ProgramFolder(), QStringLiteral(".CNC")).Associate();
        Filled(fixture.ProgramFolder()).Associate();  // again: nothing doubles
        const QString id = CAssociate::DesktopId();
        QCOMPARE(platform::ReadDesktopEntryValue(id, QStringLiteral("MimeType")),
                 QStringLiteral("text/x-talvex-nc;text/x-talvex-cnc;"));
        QCOMPARE(platform::DefaultApplication(QStringLiteral("text/x-talvex-nc")), id);
        QCOMPARE(platform::DefaultApplication(QStringLiteral("text/x-talvex-cnc")), id);
        const QByteArray list = ShellFixture::ReadBytes(xdg.config(QStringLiteral("mimeapps.list")));
        QVERIFY(list.contains("text/x-talvex-cnc=talvex-pelmar.desktop;other.desktop;\n"));
        QCOMPARE(list.count("text/x-talvex-nc="), 2);  // default and added, once each
        QVERIFY(ShellFixture::ReadBytes(platform::MimePackagePath(QStringLiteral("talvex-pelmar-cnc")))
                    .contains("<glob pattern=\"*.CNC\""));
        // Without an icon file of ours the entry names none.
        QCOMPARE(platform::ReadDesktopEntryValue(id, QStringLiteral("Icon")), QString());
        QCOMPARE(ClassesValue(QStringLiteral(".CNC")), QStringLiteral("CorvaneEditor.Ext"));
    }

    void emptyIconStillWritesTheIconKey()
    {
        ShellFixture fixture;
        XdgFolders xdg;
        CAssociate associate = Filled(fixture.ProgramFolder());
        associate.AppIcon(QString());
        associate.Associate();
        QCOMPARE(ClassesValue(QStringLiteral("CorvaneEditor.Ext\\DefaultIcon")), QString());
    }

    void pngIconIsInstalled()
    {
        ShellFixture fixture;
        XdgFolders xdg;
        CAssociate associate = Filled(fixture.ProgramFolder());
        associate.AppIcon(Icon48() + QStringLiteral(",0"));
        associate.Associate();
        QCOMPARE(ShellFixture::ReadBytes(xdg.data(QStringLiteral("icons/hicolor/48x48/apps/talvex-pelmar.png"))),
                 ShellFixture::ReadBytes(Icon48()));
    }

    void failedWriteRaises()
    {
        ShellFixture fixture;
        XdgFolders xdg;
        // A file where the applications folder should be.
        ShellFixture::WriteBytes(xdg.data(QStringLiteral("applications")), "in the way");
        try {
            Filled(fixture.ProgramFolder()).Associate();
            QFAIL("no error raised");
        } catch (const platform::Error& error) {
            QCOMPARE(error.number(), 938);
            QCOMPARE(error.source(), QStringLiteral("Associate Class"));
            QVERIFY(error.description().contains(QStringLiteral("desktop entry")));
        }
    }

    void desktopStartsThePathAsOneArgument_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("file");
        QTest::newRow("blanks") << "/opt/talvex/Pelmar" << "/home/ann/NC programs/part 1.nc";
        QTest::newRow("program with blanks") << "/opt/my talvex/Pelmar" << "/tmp/a.nc";
        QTest::newRow("quotes and dollars") << "/opt/t$x`y/Pelmar" << "/tmp/it's \"$HOME\" `x`.nc";
        QTest::newRow("backslash and percent") << "/opt/a\\b%1/Pelmar" << "/tmp/100% \\ done.nc";
    }
    void desktopStartsThePathAsOneArgument()
    {
        QFETCH(QString, program);
        QFETCH(QString, file);
        ShellFixture fixture;
        XdgFolders xdg;
        CAssociate associate = Filled(fixture.ProgramFolder());
        associate.AppCommandLine(u'"' + program + QStringLiteral("\" /f \"%1\""));
        associate.Associate();
        const QString exec = platform::ReadDesktopEntryValue(CAssociate::DesktopId(), QStringLiteral("Exec"));
        QCOMPARE(platform::ExpandDesktopExec(exec, file), (QStringList{program, QStringLiteral("/f"), file}));
    }
};

REGISTER_TEST(TestCAssociate);
#include "tst_CAssociate.moc"
