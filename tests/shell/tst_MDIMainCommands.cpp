// The main window's commands: Exit, shutdown, dropped files, recent files
// and the programs and windows it starts.

#include "FileTestHelpers.h"
#include "ShellFixture.h"
#include "support/TestRegistry.h"

#include "platform/shell/Shell.h"
#include "shell/MDIMain.h"
#include "shell/MRecentFiles.h"
#include "shell/basFileDialogs.h"

#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>
#include <QTest>

namespace {

FakeDocument* Document(int slot)
{
    return qobject_cast<FakeDocument*>(DocumentWindow(slot));
}

void Drop(MDIMain& main, const QStringList& files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files)
        urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window, as the window system hands over a drop.
    static_cast<QObject&>(main).event(&event);
    QVERIFY(event.isAccepted());
}

}  // namespace

class TestMainCommands : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        CreateDocumentForm = MakeFakeDocument;
        FakeDocument::unloaded.clear();
    }
    void cleanup() { CreateDocumentForm = nullptr; }

    void newMakesAnUntitledDocument()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        WordListShown = true;
        main->mnuNew->trigger();
        QCOMPARE(Captions(), QStringList{"Untitled:1"});
        QVERIFY(!WordListShown);
        QVERIFY(main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save"))->isEnabled());
    }

    void newThatFailsLeavesTheDocumentButtonsOff()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        CreateDocumentForm = nullptr;  // no window can be made
        platform::ScriptedAnswers answers;
        main->mnuNew->trigger();
        QCOMPARE(OpenDocumentCount(), 0);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QVERIFY(!main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save"))->isEnabled());
    }

    void exitClosesTheDocumentsFirst()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        NewDocument();
        NewDocument();
        NewDocument();
        Document(2)->mayClose = false;   // its question is answered Cancel

        main->mnuExit_Click();
        QCOMPARE(FakeDocument::unloaded, (QStringList{"Untitled:1", "Untitled:3"}));
        QCOMPARE(Document(2)->asked, QList<int>{vbFormCode});
        QVERIFY(main->isVisible());
        QVERIFY(!DialogCancelled);

        Document(2)->mayClose = true;
        main->mnuExit_Click();
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(main->isVisible());
        // With nothing open, Exit ends the program.
        main->mnuExit_Click();
        QVERIFY(!main->isVisible());
    }

    void shutdownAsksEveryDocumentBeforeAnyGoes()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        for (int i = 0; i < 3; ++i)
            main->mnuNew_Click();
        Macronumber = 1;
        MacroDescriptions[0] = QStringLiteral("Drill cycle");
        const QByteArray editorIni = FileBytes(IniFile);
        const QByteArray macroIni = FileBytes(MacroIniFile);

        Document(3)->mayClose = false;
        QVERIFY(!main->close());
        QVERIFY(main->isVisible());
        QCOMPARE(OpenDocumentCount(), 3);
        QCOMPARE(FakeDocument::unloaded, QStringList{});
        QCOMPARE(Document(1)->asked, QList<int>{vbFormMDIForm});
        QCOMPARE(Document(3)->asked, QList<int>{vbFormMDIForm});
        QCOMPARE(FileBytes(IniFile), editorIni);
        QCOMPARE(FileBytes(MacroIniFile), macroIni);
        QVERIFY(main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save"))->isEnabled());

        Document(3)->mayClose = true;
        QVERIFY(main->close());
        QCOMPARE(FakeDocument::unloaded, (QStringList{"Untitled:1", "Untitled:2", "Untitled:3"}));
        // Each document was asked once per shutdown, never again while it went.
        QCOMPARE(FakeDocument::unloaded.size(), 3);
        QCOMPARE(ReadIniString(QStringLiteral("Macros"), QStringLiteral("Macronumber"), MacroIniFile),
                 QStringLiteral("1"));
        QCOMPARE(ReadIniString(QStringLiteral("Macros"), QStringLiteral("Macro1"), MacroIniFile),
                 QStringLiteral("Drill cycle"));
        QCOMPARE(ReadIniString(QStringLiteral("Directory"), QStringLiteral("DefaultDir"), IniFile), DefaultDir);
        QVERIFY(!ReadIniString(QStringLiteral("Window"), QStringLiteral("Windowstate"), IniFile).isEmpty());
    }

    void droppedFilesOpenLastFirstAndTile()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        // A long path opens whole.
        const QString folder = fixture.ProgramPath(QString(60, QLatin1Char('d')) + QStringLiteral("/")
                                                   + QString(60, QLatin1Char('e')));
        QVERIFY(QDir().mkpath(folder));
        const QString a = folder + QStringLiteral("/a.nc"), b = fixture.ProgramPath(QStringLiteral("b.nc")),
                      c = fixture.ProgramPath(QStringLiteral("c.nc"));
        QVERIFY(a.size() > 127);
        for (const QString& file : {a, b, c})
            QVERIFY(WriteFileBytes(file, "M30\r\n"));

        Drop(*main, {a, b, c});
        QCOMPARE(Captions(), (QStringList{c.toUpper(), b.toUpper(), a.toUpper()}));
        QCOMPARE((QStringList{RecentFile(1), RecentFile(2), RecentFile(3)}), (QStringList{a, b, c}));
        QVERIFY(main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save"))->isEnabled());
        const QList<QMdiSubWindow*> frames = main->mdiArea->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0]->x(), 0);
        QVERIFY(frames[1]->x() > frames[0]->x());
        QVERIFY(frames[2]->x() > frames[1]->x());
        QCOMPARE(frames[2]->height(), main->mdiArea->viewport()->height());

        // One file alone is not arranged.
        const QRect before = frames[0]->geometry();
        Drop(*main, {b});
        QCOMPARE(frames[0]->geometry(), before);
    }

    void droppedFileThatFailsDoesNotStopTheOthers()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString a = fixture.ProgramPath(QStringLiteral("a.nc")), c = fixture.ProgramPath(QStringLiteral("c.nc"));
        QVERIFY(WriteFileBytes(a, "M30\r\n"));
        QVERIFY(WriteFileBytes(c, "M30\r\n"));
        platform::ScriptedAnswers answers;
        main->DropFiles({a, fixture.ProgramPath(QStringLiteral("gone.nc")), c});
        QCOMPARE(Captions(), (QStringList{c.toUpper(), a.toUpper()}));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE((QStringList{RecentFile(1), RecentFile(2), RecentFile(3)}),
                 (QStringList{a, c, RecentFileNotUsed}));
    }

    void recentFileOpensWithoutMovingIt()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString a = fixture.ProgramPath(QStringLiteral("a&b.nc")), b = fixture.ProgramPath(QStringLiteral("b.nc"));
        QVERIFY(WriteFileBytes(a, "M30\r\n"));
        QVERIFY(WriteFileBytes(b, "M30\r\n"));
        UpdateRecentFiles(a);
        UpdateRecentFiles(b);
        QCOMPARE(main->RecentFilePath(2), a);

        main->mnuRecentFile[2]->trigger();
        QCOMPARE(Captions(), QStringList{a.toUpper()});
        QCOMPARE((QStringList{RecentFile(1), RecentFile(2)}), (QStringList{b, a}));
        QVERIFY(main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save"))->isEnabled());

        // A listed file that is gone: the open's message, nothing else changes.
        QVERIFY(QFile::remove(b));
        platform::ScriptedAnswers answers;
        main->mnuRecentFile_Click(1);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(OpenDocumentCount(), 1);
        QCOMPARE((QStringList{RecentFile(1), RecentFile(2)}), (QStringList{b, a}));
    }

    void launchFailuresAreReported_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("style");
        QTest::newRow("about") << 0 << "Error loading About Window! " << platform::vbCritical;
        QTest::newRow("compare") << 1 << "Error starting program" << platform::vbOKOnly;
        QTest::newRow("print program") << 2 << "Failed to open Prentil application" << platform::vbInformation;
    }
    void launchFailuresAreReported()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        QFETCH(int, style);
        // Nothing is installed beside the program and no class is registered.
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        platform::ScriptedAnswers answers;
        QAction* const items[] = {main->mnuAbout, main->mnuCompare, main->mnuCorvanePrint};
        items[command]->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, text);
        QCOMPARE(answers.msgBoxes()[0].style, style);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
    }

    void programsStartWithoutArguments()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(WriteFileBytes(fixture.ProgramPath(QStringLiteral("Prentil")), "#!/bin/sh\nexit 0\n"));
        QFile::setPermissions(fixture.ProgramPath(QStringLiteral("Prentil")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QStringList started;
        const platform::ProgramStarter previous = platform::SetProgramStarter(
            [&](const QString& program, const QStringList& arguments, const QString&) {
                started.append(QFileInfo(program).fileName() + QLatin1Char('|') + arguments.join(QLatin1Char(' ')));
                return true;
            });
        platform::ScriptedAnswers answers;
        main->mnuCompare_Click();
        main->mnuCorvanePrint_Click();
        platform::SetProgramStarter(previous);
        QCOMPARE(started, (QStringList{"Brevlin|", "Prentil|"}));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void optionsAndHelpWindows()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        int settingsShown = 0;
        ShowEditPropHook = [&] { ++settingsShown; };
        main->mnuEditProp->trigger();
        ShowEditPropHook = nullptr;
        QCOMPARE(settingsShown, 1);
        platform::ScriptedAnswers answers;
        main->mnuShowTip->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].className, QStringLiteral("frmTip"));
    }

    void arrangements()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        for (int i = 0; i < 3; ++i)
            NewDocument();
        const QRect area = main->mdiArea->viewport()->rect();
        const QList<QMdiSubWindow*> frames = main->mdiArea->subWindowList(QMdiArea::CreationOrder);
        main->Arrange(vbTileHorizontal);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(frames[i]->geometry(), QRect(0, area.height() * i / 3, area.width(),
                                                  area.height() * (i + 1) / 3 - area.height() * i / 3));
        main->Arrange(vbTileVertical);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(frames[i]->geometry(), QRect(area.width() * i / 3, 0,
                                                  area.width() * (i + 1) / 3 - area.width() * i / 3, area.height()));
    }
};

REGISTER_TEST(TestMainCommands);
#include "tst_MDIMainCommands.moc"
