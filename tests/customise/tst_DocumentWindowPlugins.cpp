// The Plugins menu of real document windows, filled when each window loads,
// as the program sets it up.
#include "HostFixture.h"

#include "customise/PluginMenu.h"
#include "document/frmNotePad.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/ScriptedAnswers.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include "support/LibraryCuts.h"
#include "support/TestRegistry.h"

namespace {

QStringList Captions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << item->text();
    return captions;
}

bool InMenuBar(const MDIMain& main, const QMenu* menu)
{
    for (const QAction* action : main.menuBar()->actions())
        if (action->menu() == menu && action->isVisible())
            return true;
    return false;
}

}  // namespace

class TestDocumentWindowPlugins : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<MainWindowFixture> window_;

    static frmNotePad* Active() { return qobject_cast<frmNotePad*>(ActiveDocumentForm()); }

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QVERIFY(program_->IsValid());
        window_ = std::make_unique<MainWindowFixture>();
        CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
        ScanPluginsHook = [](frmNotePad& window) { ScanPlugins(window, *window.mnuPlugins); };
    }
    void cleanup()
    {
        window_.reset();
        ScanPluginsHook = nullptr;
        program_.reset();
    }

    // Each window lists the plug-ins when it loads; only the first has to
    // register them.
    void eachWindowListsTheFourPlugins()
    {
        for (const char* file : {"STATS.so", "Sfm.so", "Tornel.so", "Avanco.so"})
            QVERIFY(program_->AddShippedPlugin(QLatin1String(file)));
        QVERIFY(program_->LogRegistrations());
        platform::ScriptedAnswers answers;
        const QStringList listed{"Feed rate inches per minute (IPM)", "Surface feet per minute (SFM)",
                                 "Program Statistics", "Revolutions per minute (RPM)"};

        window_->OpenDocument(QStringLiteral("N10"));
        frmNotePad* first = Active();
        QVERIFY(first);
        QCOMPARE(Captions(first->mnuPlugins), listed);
        QVERIFY(InMenuBar(window_->Main(), first->mnuPlugins));
        QCOMPARE(program_->RegistrationLog().size(), 4);

        window_->OpenDocument(QStringLiteral("N20"));
        frmNotePad* second = Active();
        QVERIFY(second != first);
        QCOMPARE(Captions(second->mnuPlugins), listed);
        QVERIFY(InMenuBar(window_->Main(), second->mnuPlugins));
        QCOMPARE(program_->RegistrationLog().size(), 4);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // A plug-in registered whole and then broken off (an update left half
    // done) is refused in each new window with the message for a library
    // that cannot be loaded; the other plug-ins are listed and the documents
    // keep their text. Loaded, the file would end the program.
    void cutPluginIsRefusedAndTheOthersListed_data()
    {
        AddLibraryCutRows();
    }
    void cutPluginIsRefusedAndTheOthersListed()
    {
        QFETCH(LibraryCut, cut);
        for (const char* file : {"STATS.so", "Sfm.so", "Tornel.so", "Avanco.so"}) {
            QVERIFY(program_->AddShippedPlugin(QLatin1String(file)));
            // In a process of its own: this one loads the plug-in first when it is cut.
            QCOMPARE(platform::RegisterLibrary(program_->Library(QLatin1String(file)), 30000).exitCode,
                     platform::RegsvrSuccess);
        }
        const QString stats = program_->Library(QStringLiteral("STATS.so"));
        QVERIFY(WriteCutLibrary(QStringLiteral(TALVEX_BIN "/Plugins/STATS.so"), stats, cut));
        platform::ScriptedAnswers answers;
        const QStringList others{"Feed rate inches per minute (IPM)", "Surface feet per minute (SFM)",
                                 "Revolutions per minute (RPM)"};

        QList<platform::CodeMax*> texts;
        for (const QString& typed : {QStringLiteral("G01 X5 "), QStringLiteral("G02 Y7 "), QString()}) {
            platform::CodeMax& text = window_->OpenDocument(QStringLiteral("N10"));
            QCOMPARE(Captions(Active()->mnuPlugins), others);
            text.AddText(typed);
            texts << &text;
        }
        QCOMPARE(texts[0]->Text(), QStringLiteral("G01 X5 N10"));
        QCOMPARE(texts[1]->Text(), QStringLiteral("G02 Y7 N10"));
        QCOMPARE(answers.msgBoxes().size(), 3);
        for (const auto& box : answers.msgBoxes())
            QCOMPARE(box.prompt, QStringLiteral("Error Registering: regsvr /s ") + stats);
    }

    // With no plug-ins the Plugins menu is still in the menu bar, disabled;
    // other empty menus stay out of it.
    void noPluginsMenuShownDisabled()
    {
        platform::ScriptedAnswers answers;
        window_->OpenDocument(QStringLiteral("N10"));
        QMenu* plugins = Active()->mnuPlugins;
        QVERIFY(plugins->isEmpty());
        QVERIFY(InMenuBar(window_->Main(), plugins));
        QVERIFY(!plugins->menuAction()->isEnabled());
        QCOMPARE(answers.msgBoxes().size(), 0);

        // Another menu left empty goes out of the bar.
        QMenu* help = Active()->mnuHelp;
        for (QAction* item : help->actions())
            help->removeAction(item);
        QVERIFY(help->isEmpty());
        QVERIFY(!InMenuBar(window_->Main(), help));
    }

    // A plug-in started from the window's menu edits the active document
    // through the host object, and its strReturn follows at the caret.
    void startFromTheWindowsMenu()
    {
        QVERIFY(program_->AddTestPlugin("Alpha.so"));
        ProgramFixture::SetFixture("Alpha", "hostCall", QStringLiteral("AddText"));
        ProgramFixture::SetFixture("Alpha", "hostArgs", QVariantList{"G90 "});
        ProgramFixture::SetFixture("Alpha", "return", QStringLiteral("G01 "));
        ProgramFixture::SetFixture("Alpha", "starts", QVariantList{"1", "0"});
        platform::ScriptedAnswers answers;
        platform::CodeMax& text = window_->OpenDocument(QStringLiteral("X1"));
        Active()->mnuPlugins->actions().at(0)->trigger();
        QCOMPARE(text.Text(), QStringLiteral("G90 G01 X1"));
        QCOMPARE(ProgramFixture::FixtureValue("Alpha", "calls").toInt(), 2);
        QCOMPARE(ProgramFixture::FixtureValue("Alpha", "hostClass").toString(), QStringLiteral("cEditorPlugin"));
        QVERIFY(MainWindowFixture::ActiveModified());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // The statistics plug-in, started from the menu of one window, reads the
    // document of the active window through the host object.
    void statisticsOfTheActiveDocument()
    {
        QVERIFY(program_->AddShippedPlugin("STATS.so"));
        platform::ScriptedAnswers answers;
        window_->OpenDocument(QStringLiteral("N10"));
        frmNotePad* first = Active();
        window_->OpenDocument(QStringLiteral("G0 X-10 Y-20 Z-5\r\nG1 X-50 Y-2 Z-1\r\n"));
        QStringList boxes;
        answers.scriptModal([&](QDialog& dialog) {
            QTRY_VERIFY(!dialog.findChild<QLabel*>(QStringLiteral("lblCalc"))->isVisible());
            for (const char* name : {"txt0", "txt1", "txtLX", "txtWY", "txtHZ"})
                boxes << dialog.findChild<QLineEdit*>(QLatin1String(name))->text();
            dialog.accept();
        });
        first->mnuPlugins->actions().at(0)->trigger();
        QCOMPARE(boxes, (QStringList{"-50.000", "-10.000", "40.000", "18.000", "4.000"}));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }
};

REGISTER_TEST(TestDocumentWindowPlugins);

#include "tst_DocumentWindowPlugins.moc"
