// The Plugins menu: listing the plug-in folder (registering what is not yet
// registered) and starting a plug-in.
#include "HostFixture.h"

#include "customise/PluginMenu.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ScriptedAnswers.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include "platform/com/LibraryFileCheck.h"
#include "support/LibraryCuts.h"
#include "support/TestRegistry.h"

namespace {

// A window with an empty Plugins menu, as a document window has it.
struct PluginWindow {
    QWidget window;
    QMenu* mnuPlugins = new QMenu(QStringLiteral("&Plugins"), &window);

    PluginMenu& Scan() { return ScanPlugins(window, *mnuPlugins); }
    QStringList Captions() const
    {
        QStringList captions;
        for (const QAction* item : mnuPlugins->actions())
            captions << item->text();
        return captions;
    }
    QStringList Tags() const
    {
        QStringList tags;
        for (const QAction* item : mnuPlugins->actions())
            tags << item->data().toString();
        return tags;
    }
};

QString Registration(const QString& libraryPath)
{
    return QStringLiteral("[/s][%1]").arg(libraryPath);
}

int Icon(int style)
{
    return style & 0x70;
}

}  // namespace

class TestPluginMenu : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ProgramFixture> program_;

    static QVariant Fixture(const QString& base, const char* key) { return ProgramFixture::FixtureValue(base, key); }
    static void SetFixture(const QString& base, const char* key, const QVariant& value)
    {
        ProgramFixture::SetFixture(base, key, value);
    }
    void RegisterTestPlugin(const QString& file)
    {
        QVERIFY(program_->AddTestPlugin(file));
        QCOMPARE(platform::RegisterLibrary(program_->Library(file), 30000).exitCode, platform::RegsvrSuccess);
    }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QVERIFY(program_->IsValid());
    }
    void cleanup() { program_.reset(); }

    // ---------------------------------------------------------------- listing

    // Not registered at first: each library is registered once, then listed
    // in file-name order; a later window finds them registered.
    void listsTheShippedPlugins()
    {
        for (const char* file : {"STATS.so", "Tornel.so", "Sfm.so", "Avanco.so"})
            QVERIFY(program_->AddShippedPlugin(QLatin1String(file)));
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;

        PluginWindow first;
        PluginMenu& menu = first.Scan();
        QCOMPARE(first.Captions(), (QStringList{"Feed rate inches per minute (IPM)", "Surface feet per minute (SFM)",
                                                "Program Statistics", "Revolutions per minute (RPM)"}));
        QCOMPARE(first.Tags(), (QStringList{"Avanco.Main", "Sfm.Main", "STATS.Main", "Tornel.Main"}));
        QCOMPARE(menu.FilePlugin, (QStringList{"Avanco.so", "Sfm.so", "STATS.so", "Tornel.so"}));
        QCOMPARE(menu.mnupluginoptions.size(), 4);
        QVERIFY(first.mnuPlugins->isEnabled());
        QCOMPARE(program_->RegistrationLog(),
                 (QStringList{Registration(program_->Library("Avanco.so")), Registration(program_->Library("Sfm.so")),
                              Registration(program_->Library("STATS.so")), Registration(program_->Library("Tornel.so"))}));
        QCOMPARE(answers.msgBoxes().size(), 0);

        PluginWindow second;
        second.Scan();
        QCOMPARE(second.Tags(), first.Tags());
        QCOMPARE(program_->RegistrationLog().size(), 4);
    }

    void progIdIsTheNameUpToTheFirstDot()
    {
        for (const char* file : {"b.so", "A.so", "my.tools.so", "MY.so"})
            QVERIFY(program_->AddTestPlugin(QLatin1String(file)));
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;
        PluginWindow window;
        window.Scan();
        // "MY.so" comes first and gives the class of "my.tools.so" as well.
        QCOMPARE(window.Tags(), (QStringList{"A.Main", "b.Main", "MY.Main"}));
        QCOMPARE(window.Captions(), (QStringList{"A plug-in", "b plug-in", "MY plug-in"}));
        QCOMPARE(program_->RegistrationLog().size(), 3);
        QCOMPARE(answers.msgBoxes().size(), 0);

        QVERIFY(QFile::remove(program_->Library("MY.so")));
        PluginWindow next;
        next.Scan();
        QCOMPARE(next.Tags(), (QStringList{"A.Main", "b.Main", "my.Main"}));
        QCOMPARE(next.Captions(), (QStringList{"A plug-in", "b plug-in", "my plug-in"}));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // When "MY.so" fails, "my.tools.so" (the same class) is not tried again
    // and reported a second time under its own path.
    void failedProgIdIsReportedOnce()
    {
        for (const char* file : {"A.so", "my.tools.so", "MY.so"})
            QVERIFY(program_->AddTestPlugin(QLatin1String(file)));
        SetFixture("MY", "idError", 438);
        SetFixture("my", "idError", 438);
        platform::ScriptedAnswers answers;
        PluginWindow window;
        window.Scan();
        QCOMPARE(window.Tags(), (QStringList{"A.Main"}));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("438 - Raised by the fixture\n\n") + program_->Library("MY.so"));
    }

    void nothingToList_data()
    {
        QTest::addColumn<bool>("makeFolder");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("no Plugins folder") << false << QStringList{};
        QTest::newRow("empty folder") << true << QStringList{};
        QTest::newRow("no libraries") << true << QStringList{"readme.txt", "STATS.dll", "sub.so/"};
    }
    void nothingToList()
    {
        QFETCH(bool, makeFolder);
        QFETCH(QStringList, files);
        if (makeFolder)
            QVERIFY(QDir().mkpath(program_->Plugins()));
        for (const QString& file : files) {
            if (file.endsWith(u'/')) {
                QVERIFY(QDir().mkpath(program_->Library(file)));
            } else {
                QFile f(program_->Library(file));
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;
        PluginWindow window;
        window.mnuPlugins->setEnabled(false);
        window.Scan();
        QVERIFY(window.mnuPlugins->actions().isEmpty());
        QVERIFY(!window.mnuPlugins->isEnabled());
        QCOMPARE(answers.msgBoxes().size(), 0);
        QVERIFY(program_->RegistrationLog().isEmpty());
    }

    // Each failing library is reported once, with which library it is, and
    // the libraries after it are still listed.
    void brokenLibrariesAreReportedAndTheListingGoesOn()
    {
        QVERIFY(program_->AddTestPlugin("Alpha.so"));
        QVERIFY(program_->AddJunk("Junk.so"));     // the tool cannot load it
        QVERIFY(program_->AddTestPlugin("Noid.so"));   // its PluginId fails
        QVERIFY(program_->AddTestPlugin("Stray.so"));  // registers no class Main
        QVERIFY(program_->AddTestPlugin("zulu.so"));
        SetFixture("Noid", "idError", 438);
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;

        PluginWindow window;
        window.Scan();
        QCOMPARE(window.Tags(), (QStringList{"Alpha.Main", "zulu.Main"}));
        QCOMPARE(program_->RegistrationLog().size(), 5);

        const auto& boxes = answers.msgBoxes();
        QCOMPARE(boxes.size(), 3);
        QCOMPARE(boxes[0].prompt, QStringLiteral("Error Registering: regsvr /s ") + program_->Library("Junk.so"));
        QCOMPARE(boxes[0].title, QStringLiteral("ERROR"));
        QCOMPARE(Icon(boxes[0].style), platform::vbExclamation);
        QCOMPARE(boxes[1].prompt, QStringLiteral("438 - Raised by the fixture\n\n") + program_->Library("Noid.so"));
        QCOMPARE(Icon(boxes[1].style), platform::vbCritical);
        QCOMPARE(boxes[1].title, QString());
        QCOMPARE(boxes[2].prompt, QStringLiteral("429 - ActiveX component can't create object\n\n")
                                      + program_->Library("Stray.so"));
        QCOMPARE(Icon(boxes[2].style), platform::vbCritical);
    }

    // The registration tool, run as the host runs it, refuses a shipped
    // plug-in broken off anywhere with its cannot-load code; it does not crash.
    void registrationToolRefusesACutPlugin_data()
    {
        AddLibraryCutRows();
    }
    void registrationToolRefusesACutPlugin()
    {
        QFETCH(LibraryCut, cut);
        QVERIFY(QDir().mkpath(program_->Plugins()));
        const QString library = program_->Library("STATS.so");
        QVERIFY(WriteCutLibrary(QStringLiteral(TALVEX_BIN "/Plugins/STATS.so"), library, cut));
        const platform::ProgramResult run = platform::RegisterLibrary(library, 30000);
        QVERIFY2(run.finished, qPrintable(run.error));
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, platform::RegsvrFailLoad);
        QVERIFY(!platform::LookupClass(QStringLiteral("STATS.Main")));
    }

    // The check of library files lets every library of the build through.
    void librariesOfTheBuildAreWhole()
    {
        QStringList libraries{QStringLiteral(HOST_FIXTURE)};
        for (const QString& folder : {QStringLiteral(TALVEX_BIN), QStringLiteral(TALVEX_BIN "/Plugins")})
            for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.so")}, QDir::Files))
                libraries << file.filePath();
        QVERIFY(libraries.size() > 5);
        for (const QString& library : std::as_const(libraries))
            QVERIFY2(platform::LibraryFileFault(library).isEmpty(),
                     qPrintable(library + u' ' + platform::LibraryFileFault(library)));
    }

    // A ProgID registered to a library outside the plug-in folder is not
    // loaded from there: the folder's own library is registered and listed.
    void onlyThePluginFolderIsLoaded()
    {
        const QString elsewhere = program_->Outside(QStringLiteral("elsewhere"));
        QVERIFY(program_->AddTestPlugin("Alpha.so", elsewhere));
        QCOMPARE(platform::RegisterLibrary(elsewhere + QStringLiteral("/Alpha.so"), 30000).exitCode,
                 platform::RegsvrSuccess);
        QVERIFY(program_->AddTestPlugin("Alpha.so"));
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;

        PluginWindow window;
        window.Scan();
        QCOMPARE(window.Tags(), QStringList{"Alpha.Main"});
        QCOMPARE(program_->RegistrationLog(), QStringList{Registration(program_->Library("Alpha.so"))});
        QCOMPARE(platform::LookupClass("alpha.main")->libraryPath,
                 QFileInfo(program_->Library("Alpha.so")).canonicalFilePath());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void registrationToolFailure_data()
    {
        QTest::addColumn<bool>("toolMissing");
        QTest::newRow("tool fails") << false;
        QTest::newRow("tool missing") << true;
    }
    void registrationToolFailure()
    {
        QFETCH(bool, toolMissing);
        QVERIFY(program_->AddTestPlugin("Alpha.so"));
        QVERIFY(program_->AddTestPlugin("Beta.so"));
        if (toolMissing)
            QVERIFY(QFile::remove(program_->ProgramPath("regsvr")));
        else
            QVERIFY(program_->LogRegistrations(5));
        platform::ScriptedAnswers answers;

        PluginWindow window;
        window.Scan();
        QVERIFY(window.Tags().isEmpty());
        // One message per library, and the second library was tried too.
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[1].prompt,
                 QStringLiteral("Error Registering: regsvr /s ") + program_->Library("Beta.so"));
    }

    // Blanks and other characters of a path reach the tool as one argument.
    void pathsReachTheToolWhole()
    {
        program_.reset();
        program_ = std::make_unique<ProgramFixture>(QStringLiteral("program folder; 'x'"));
        QVERIFY(program_->IsValid());
        QVERIFY(program_->AddTestPlugin("Odd name;1.so"));
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;
        PluginWindow window;
        window.Scan();
        QCOMPARE(program_->RegistrationLog(), QStringList{Registration(program_->Library("Odd name;1.so"))});
        QCOMPARE(window.Tags(), QStringList{"Odd name;1.Main"});
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void namesAndPaths_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("withSeparator");
        QTest::newRow("plain") << "STATS.so" << "STATS.Main" << "STATS.so/";
        QTest::newRow("two dots") << "my.tools.so" << "my.Main" << "my.tools.so/";
        QTest::newRow("root") << "/" << "/.Main" << "/";
        QTest::newRow("folder") << "/opt/pelmar/Plugins" << "/opt/pelmar/Plugins.Main" << "/opt/pelmar/Plugins/";
        QTest::newRow("folder with separator") << "/opt/x/" << "/opt/x/.Main" << "/opt/x/";
    }
    void namesAndPaths()
    {
        QFETCH(QString, input);
        QFETCH(QString, progId);
        QFETCH(QString, withSeparator);
        QCOMPARE(PluginProgId(input), progId);
        QCOMPARE(EnsureTrailingBackslash(input), withSeparator);
    }

    // ---------------------------------------------------------------- starting

    void versionDecidesTheHostObject_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("hostClass");
        QTest::newRow("1.1.0") << "1.1.0" << "cEditorPlugin";
        QTest::newRow("with a blank") << "1.1.0 " << "";
        QTest::newRow("1.1") << "1.1" << "";
        QTest::newRow("1.0.0") << "1.0.0" << "";
    }
    void versionDecidesTheHostObject()
    {
        QFETCH(QString, version);
        QFETCH(QString, hostClass);
        RegisterTestPlugin("Alpha.so");
        SetFixture("Alpha", "version", version);
        MainWindowFixture main;
        main.OpenDocument(QStringLiteral("N10"));
        platform::ScriptedAnswers answers;
        StartPlugin(QStringLiteral("Alpha.Main"));
        QCOMPARE(Fixture("Alpha", "calls").toInt(), 1);
        QCOMPARE(Fixture("Alpha", "hostClass").toString(), hostClass);
        QCOMPARE(answers.msgBoxes().size(), 0);
        if (!hostClass.isEmpty()) {
            // The plug-in goes first, then the host object.
            QVERIFY(Fixture("Alpha", "hostAliveAtRelease").toBool());
            QVERIFY(Fixture("Alpha", "hostGone").toBool());
        }
        QVERIFY(Fixture("Alpha", "released").toBool());
    }

    void startRunsAgainWhileItAnswersOne_data()
    {
        QTest::addColumn<QVariantList>("answers");
        QTest::addColumn<int>("calls");
        QTest::newRow("1, 1, 1, 0") << QVariantList{"1", "1", "1", "0"} << 4;
        QTest::newRow("number 1") << QVariantList{1, 0} << 2;
        QTest::newRow("1 with blanks") << QVariantList{" 1 ", "0"} << 2;
        QTest::newRow("1.0") << QVariantList{"1.0", "0"} << 2;
        QTest::newRow("0") << QVariantList{"0"} << 1;
        QTest::newRow("empty") << QVariantList{""} << 1;
        QTest::newRow("not a number") << QVariantList{"abc"} << 1;
        QTest::newRow("2") << QVariantList{"2"} << 1;
        QTest::newRow("true") << QVariantList{true} << 1;
    }
    void startRunsAgainWhileItAnswersOne()
    {
        QFETCH(QVariantList, answers);
        QFETCH(int, calls);
        RegisterTestPlugin("Alpha.so");
        SetFixture("Alpha", "starts", answers);
        MainWindowFixture main;
        main.OpenDocument(QStringLiteral("N10"));
        platform::ScriptedAnswers boxes;
        StartPlugin(QStringLiteral("Alpha.Main"));
        QCOMPARE(Fixture("Alpha", "calls").toInt(), calls);
        // The program's events ran before every further call.
        QCOMPARE(Fixture("Alpha", "eventsBetween").toInt(), calls - 1);
        QCOMPARE(boxes.msgBoxes().size(), 0);
    }

    void strReturnGoesToTheCaretOfTheActiveDocument_data()
    {
        QTest::addColumn<QString>("strReturn");
        QTest::addColumn<QString>("expected");
        QTest::newRow("G01") << "G01 " << "N10 G01 X1";
        QTest::newRow("empty") << "" << "N10 X1";
    }
    void strReturnGoesToTheCaretOfTheActiveDocument()
    {
        QFETCH(QString, strReturn);
        QFETCH(QString, expected);
        RegisterTestPlugin("Alpha.so");
        SetFixture("Alpha", "return", strReturn);
        MainWindowFixture main;
        platform::CodeMax& behind = main.OpenDocument(QStringLiteral("N10 X1"));
        platform::CodeMax& active = main.OpenDocument(QStringLiteral("N10 X1"));
        active.SetSel({0, 4, 0, 4}, true);
        platform::ScriptedAnswers answers;
        StartPlugin(QStringLiteral("Alpha.Main"));
        QCOMPARE(active.Text(), expected);
        QCOMPARE(behind.Text(), QStringLiteral("N10 X1"));
        // The host marks nothing itself for this insertion.
        QVERIFY(!MainWindowFixture::ActiveModified());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // The plug-in edits through the host object it was handed.
    void pluginEditsThroughTheHostObject()
    {
        RegisterTestPlugin("Alpha.so");
        SetFixture("Alpha", "hostCall", QStringLiteral("AddText"));
        SetFixture("Alpha", "hostArgs", QVariantList{"G90 "});
        MainWindowFixture main;
        platform::CodeMax& text = main.OpenDocument(QStringLiteral("X1"));
        platform::ScriptedAnswers answers;
        StartPlugin(QStringLiteral("Alpha.Main"));
        QCOMPARE(text.Text(), QStringLiteral("G90 X1"));
        QVERIFY(MainWindowFixture::ActiveModified());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void failuresEndTheStart_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<int>("startError");
        QTest::addColumn<bool>("document");
        QTest::addColumn<QString>("message");
        QTest::newRow("PluginStart fails") << "Alpha.Main" << 5 << true << "5 - Raised by the fixture";
        QTest::newRow("not registered") << "Nothing.Main" << 0 << true
                                        << "429 - ActiveX component can't create object";
        QTest::newRow("no document for strReturn") << "Alpha.Main" << 0 << false
                                                   << "91 - Object variable or With block variable not set";
    }
    void failuresEndTheStart()
    {
        QFETCH(QString, progId);
        QFETCH(int, startError);
        QFETCH(bool, document);
        QFETCH(QString, message);
        RegisterTestPlugin("Alpha.so");
        SetFixture("Alpha", "startError", startError);
        SetFixture("Alpha", "return", QStringLiteral("G01"));
        MainWindowFixture main;
        platform::CodeMax* text = document ? &main.OpenDocument(QStringLiteral("N10")) : nullptr;
        platform::ScriptedAnswers answers;
        StartPlugin(progId);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(Icon(answers.msgBoxes()[0].style), platform::vbExclamation);
        if (text)
            QCOMPARE(text->Text(), QStringLiteral("N10"));
        // A failed start leaves the next one free to run.
        SetFixture("Alpha", "startError", 0);
        SetFixture("Alpha", "calls", 0);
        StartPlugin(QStringLiteral("Alpha.Main"));
        QCOMPARE(Fixture("Alpha", "calls").toInt(), 1);
    }

    // A click on a plug-in item while a start runs (the start lets events
    // run) starts nothing.
    void aSecondStartWhileOneRunsIsIgnored()
    {
        RegisterTestPlugin("Alpha.so");
        SetFixture("Alpha", "starts", QVariantList{"1", "0"});
        MainWindowFixture main;
        main.OpenDocument(QStringLiteral("N10"));
        platform::ScriptedAnswers answers;
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            clicked = true;
            StartPlugin(QStringLiteral("Alpha.Main"));
        });
        StartPlugin(QStringLiteral("Alpha.Main"));
        QVERIFY(clicked);
        QCOMPARE(Fixture("Alpha", "calls").toInt(), 2);
    }

    void menuItemStartsItsPlugin()
    {
        QVERIFY(program_->AddTestPlugin("Alpha.so"));
        QVERIFY(program_->AddTestPlugin("Beta.so"));
        MainWindowFixture main;
        main.OpenDocument(QStringLiteral("N10"));
        platform::ScriptedAnswers answers;
        PluginWindow window;
        PluginMenu& menu = window.Scan();
        window.mnuPlugins->actions().at(1)->trigger();
        QCOMPARE(Fixture("Beta", "calls").toInt(), 1);
        QVERIFY(!Fixture("Alpha", "calls").isValid());
        menu.mnupluginoptions_Click(0);
        QCOMPARE(Fixture("Alpha", "calls").toInt(), 1);
        menu.mnupluginoptions_Click(2);   // no such item: nothing
        QCOMPARE(answers.msgBoxes().size(), 0);
    }
};

REGISTER_TEST(TestPluginMenu);

#include "tst_PluginMenu.moc"
