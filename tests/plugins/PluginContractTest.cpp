// The four plug-ins as the host meets them: registered with the tool,
// created by the ProgID their file names give, and read by name.

#include "PluginFolder.h"

#include "platform/com/CallByName.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ComServer.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/Error.h"

#include <QLibrary>
#include <QTest>
#include "support/TestRegistry.h"

using namespace platform;

class PluginContractTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<PluginFolder>();
        QVERIFY(m_folder->IsValid());
    }
    void cleanupTestCase() { m_folder.reset(); }

    void pluginsAnswerTheContract_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("pluginId");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("version");
        QTest::newRow("stats") << "STATS.so" << "Stats.Main" << "Program Statistics" << "Program Statistics" << "1.1.0";
        QTest::newRow("sfm") << "Sfm.so" << "Sfm.Main" << "Surface feet per minute (SFM)"
                             << "To find surface feet per minute" << "1.0.0";
        QTest::newRow("Tornel") << "Tornel.so" << "Tornel.Main" << "Revolutions per minute (RPM)"
                                << "To find revolutions per minute" << "1.0.0";
        QTest::newRow("Avanco") << "Avanco.so" << "Avanco.Main" << "Feed rate inches per minute (IPM)"
                                << "To find feed rate in inches per minute (IPM)" << "1.0.0";
    }
    void pluginsAnswerTheContract()
    {
        QFETCH(QString, file);
        QFETCH(QString, progId);
        QFETCH(QString, pluginId);
        QFETCH(QString, description);
        QFETCH(QString, version);

        UnregisterClass(progId);
        const ProgramResult run = RegisterLibrary(m_folder->Library(file), 30000);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(run.exitCode, RegsvrSuccess);
        QCOMPARE(LookupClass(progId)->libraryPath, QFileInfo(m_folder->Library(file)).canonicalFilePath());

        // The host forms the ProgID from the file name: "STATS.so" gives "STATS.Main".
        const QString fromFileName = file.section(u'.', 0, 0) + QStringLiteral(".Main");
        const std::unique_ptr<QObject> plugin = CreateObject(fromFileName, m_folder->Plugins());
        QVERIFY(plugin);
        // Spelt as the host spells them.
        QCOMPARE(CallByName(plugin.get(), QStringLiteral("pluginId"), VbMethod).toString(), pluginId);
        QCOMPARE(CallByName(plugin.get(), QStringLiteral("pluginversion"), VbMethod).toString(), version);
        // ... and that is the library's own version, as the library reports it.
        QLibrary library(m_folder->Library(file));
        const auto getVersion = reinterpret_cast<DllGetVersionFunction>(library.resolve(DllGetVersionName));
        QVERIFY2(getVersion, qPrintable(library.errorString()));
        LibraryVersion libraryVersion{-1, -1, -1};
        getVersion(&libraryVersion);
        QCOMPARE(VersionText(libraryVersion), version);
        QCOMPARE(CallByName(plugin.get(), QStringLiteral("PluginDescription"), VbMethod).toString(), description);
        QCOMPARE(CallByName(plugin.get(), QStringLiteral("strReturn"), VbGet).toString(), QString());
        QCOMPARE(HasMember(plugin.get(), QStringLiteral("HostAppObject")), version == u"1.1.0");
        QVERIFY(HasMember(plugin.get(), QStringLiteral("pluginstart")));
    }

    void versionTextIsWholeNumbersJoinedByPoints_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("host object contract") << 1 << 1 << 0 << "1.1.0";
        QTest::newRow("old contract") << 1 << 0 << 0 << "1.0.0";
        QTest::newRow("several digits") << 2 << 10 << 305 << "2.10.305";
    }
    void versionTextIsWholeNumbersJoinedByPoints()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(VersionText(LibraryVersion{major, minor, revision}), text);
    }

    // The host passes its object by reference and the plug-in keeps it in HostObject.
    void statsKeepsTheHostObject()
    {
        QCOMPARE(RegisterLibrary(m_folder->Library(QStringLiteral("STATS.so")), 30000).exitCode, RegsvrSuccess);
        const std::unique_ptr<QObject> plugin = CreateObject(QStringLiteral("stats.main"), m_folder->Plugins());
        QObject host;
        CallByName(plugin.get(), QStringLiteral("HostAppObject"), VbSet, {ObjectValue(&host)});
        QCOMPARE(CallByName(plugin.get(), QStringLiteral("HostObject"), VbGet).value<QObject*>(), &host);
    }

    // Plug-ins of two libraries in one process each keep their own class Main.
    void pluginsStayApartInOneProcess()
    {
        for (const char* file : {"STATS.so", "Sfm.so", "Tornel.so", "Avanco.so"})
            QCOMPARE(RegisterLibrary(m_folder->Library(QString::fromLatin1(file)), 30000).exitCode, RegsvrSuccess);
        const std::unique_ptr<QObject> stats = CreateObject(QStringLiteral("Stats.Main"));
        const std::unique_ptr<QObject> sfm = CreateObject(QStringLiteral("Sfm.Main"));
        const std::unique_ptr<QObject> tornel = CreateObject(QStringLiteral("Tornel.Main"));
        QCOMPARE(CallByName(tornel.get(), QStringLiteral("PluginId"), VbMethod).toString(),
                 QStringLiteral("Revolutions per minute (RPM)"));
        QCOMPARE(CallByName(sfm.get(), QStringLiteral("PluginId"), VbMethod).toString(),
                 QStringLiteral("Surface feet per minute (SFM)"));
        QCOMPARE(CallByName(stats.get(), QStringLiteral("PluginId"), VbMethod).toString(),
                 QStringLiteral("Program Statistics"));
    }

private:
    std::unique_ptr<PluginFolder> m_folder;
};

REGISTER_TEST(PluginContractTest);

#include "PluginContractTest.moc"
