#include "ShellFixture.h"
#include "support/TestRegistry.h"
#include "support/ToolbarLook.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Twips.h"
#include "shell/MDIMain.h"
#include "shell/basFileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QScreen>
#include <QToolBar>
#include <QTest>

namespace {

// The toolbars' picture strip laid in the fixture's program folder.
bool CopyIconStrip(const ShellFixture& fixture)
{
    return QDir().mkpath(fixture.ProgramPath(QStringLiteral("Images")))
        && QFile::copy(qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/resources/Images/smallAll.bmp"),
                       fixture.ProgramPath(QStringLiteral("Images/smallAll.bmp")));
}

// A menu's entries as captions, "-" for a separator, ">" before a submenu.
QStringList Entries(const QMenu* menu)
{
    QStringList entries;
    for (const QAction* action : menu->actions())
        entries.append(action->isSeparator() ? QStringLiteral("-")
                       : action->menu()      ? QStringLiteral(">") + action->text()
                                             : action->text());
    return entries;
}

QStringList Names(const QMenu* menu)
{
    QStringList names;
    for (const QAction* action : menu->actions())
        names.append(action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

QStringList EnabledKeys(const QToolBar* toolbar, bool enabled)
{
    QStringList keys;
    for (const QAction* action : toolbar->actions())
        if (!action->isSeparator() && action->isEnabled() == enabled)
            keys.append(action->data().toString());
    return keys;
}

const QStringList DocumentButtons1 = {"Save", "Save All", "Insert", "Cut", "Copy", "Paste", "Print",
                                      "Undo", "Redo", "Find", "Find Next", "Find Prev", "Replace",
                                      "Block Number", "Goto Line", "Insert Spaces", "Remove Spaces",
                                      "Close", "Close All"};

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private:
    int macroListLoads_ = 0;

private slots:
    void init()
    {
        macroListLoads_ = 0;
        LoadMacroListHook = [this] { ++macroListLoads_; };
        CreateDocumentForm = MakeFakeDocument;
    }
    void cleanup()
    {
        LoadMacroListHook = nullptr;
        CreateDocumentForm = nullptr;
    }

    void menusAreAsListed()
    {
        ShellFixture fixture;
        MDIMain main;
        QCOMPARE(main.windowTitle(), QStringLiteral("Talvex Editor V5.1"));
        QStringList bar;
        for (const QAction* action : main.menuBar()->actions())
            bar.append(action->text());
        QCOMPARE(bar, (QStringList{"&File", "&Options", "&Help"}));

        QCOMPARE(Entries(main.mnuFileMain),
                 (QStringList{"&New", "&Open", "-", "&Compare Files", "-", "Prentil", "-", "E&xit", "-",
                              "RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4", "RecentFile5",
                              "RecentFile6"}));
        QCOMPARE(Names(main.mnuFileMain),
                 (QStringList{"mnuNew", "mnuOpen", "mnuFBar1", "mnuCompare", "mnuFBar2", "mnuCorvanePrint",
                              "mnuFBar3", "mnuExit", "mnuRecentFile0", "mnuRecentFile1", "mnuRecentFile2",
                              "mnuRecentFile3", "mnuRecentFile4", "mnuRecentFile5", "mnuRecentFile6"}));
        for (QAction* entry : main.mnuRecentFile)
            QVERIFY(!entry->isVisible());   // nothing listed yet: no entries, no separator

        QCOMPARE(Entries(main.mnuOptionMain),
                 (QStringList{"Talvex Editor &Properties...", "-", "Show Toolbar &Captions", ">&Machines"}));
        QCOMPARE(Names(main.mnuOptionMain),
                 (QStringList{"mnuEditProp", "mnuOptionsBar1", "mnuShowCaptions", "mnuMachines"}));
        QCOMPARE(Entries(main.mnuMachines), QStringList{"&Add/Delete Machine"});
        QVERIFY(main.mnuShowCaptions->isCheckable());
        QVERIFY(!main.mnuShowCaptions->isChecked());

        QCOMPARE(Entries(main.mnuHelpMain),
                 (QStringList{"Talvex &Editor Help Topics", "&About...", "-", "&Show tip of the day..."}));
        QCOMPARE(Names(main.mnuHelpMain), (QStringList{"mnuHTopics", "mnuAbout", "mnuHBar1", "mnuShowTip"}));

        QCOMPARE(main.labelInsert->text(), QStringLiteral("Insert"));
        QCOMPARE(main.lblLine->text(), QStringLiteral("Line:"));
        QCOMPARE(main.lblColumn->text(), QStringLiteral("Col:"));
        QCOMPARE(main.lblTotalLines->text(), QStringLiteral("Total Lines:"));
        QCOMPARE(main.cToolbar1->objectName(), QStringLiteral("Toolbar1"));
        QCOMPARE(main.cToolbar3->objectName(), QStringLiteral("Toolbar3"));
        QCOMPARE(main.cToolbar4->objectName(), QStringLiteral("Toolbar4"));
    }

    void firstStartWritesDefaults()
    {
        ShellFixture fixture;
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        QCOMPARE(MDIMain::Instance(), main.get());
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(IniFile, fixture.ProgramPath(QStringLiteral("Editor.ini")));
        QCOMPARE(MacroIniFile, fixture.ProgramPath(QStringLiteral("Macro.ini")));
        QCOMPARE(HelpFile, QStringLiteral("\\Editor.html"));
        QVERIFY(InsertMode);
        QCOMPARE(ShellFixture::ReadBytes(IniFile), ShellFixture::ReadBytes(ShellFixture::Fixture("Editor.ini")));
        QCOMPARE(ShellFixture::ReadBytes(MacroIniFile), ShellFixture::ReadBytes(ShellFixture::Fixture("Macro.ini")));

        QVERIFY(main->isVisible());
        QVERIFY(main->isMaximized());
        for (int i = 0; i < ColorItemsUsed; ++i)
            QCOMPARE(ColorItems[static_cast<size_t>(i)], DefaultColorItems[static_cast<size_t>(i)]);
        // The registry's default folder wins over the file's.
        QCOMPARE(DefaultDir, fixture.ProgramFolder());
        QCOMPARE(Startnumber, 10);
        QCOMPARE(Increment, 10);
        QCOMPARE(RestartNum, 9999);
        QCOMPARE(macroListLoads_, 1);
        QVERIFY(main->acceptDrops());
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(!AnyDocumentsOpen());

        QCOMPARE(EnabledKeys(main->cToolbar1, true), (QStringList{"Exit", "New", "Open"}));
        QCOMPARE(EnabledKeys(main->cToolbar1, false), DocumentButtons1);
        QCOMPARE(EnabledKeys(main->cToolbar3, true), (QStringList{"Talvex Editor Properties", "Compare Files"}));
        QCOMPARE(EnabledKeys(main->cToolbar4, true), QStringList{});
    }

    void toolbarsHoldTheirEntries()
    {
        ShellFixture fixture;
        QVERIFY(CopyIconStrip(fixture));
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        const QList<QAction*> entries = main->cToolbar1->actions();
        QCOMPARE(entries.size(), 31);
        QList<int> separators;
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i]->isSeparator())
                separators.append(i);
        QCOMPARE(separators, (QList<int>{1, 6, 8, 12, 14, 17, 22, 25, 28}));
        QCOMPARE(entries[0]->data().toString(), QStringLiteral("Exit"));
        QCOMPARE(entries[0]->toolTip(), QStringLiteral("Exit Program"));
        QCOMPARE(entries[20]->data().toString(), QStringLiteral("Find Prev"));
        QCOMPARE(entries[20]->toolTip(), QStringLiteral("Find Previous"));
        QCOMPARE(entries[30]->data().toString(), QStringLiteral("Close All"));
        QCOMPARE(main->cToolbar3->actions().size(), 12);
        QCOMPARE(main->ToolbarButton(*main->cToolbar3, QStringLiteral("Toggle Bookmarks"))->toolTip(),
                 QStringLiteral("Toggle Boomarks"));
        QCOMPARE(main->cToolbar4->actions().size(), 3);
        // Every button shows an image of the strip.
        for (QToolBar* toolbar : {main->cToolbar1, main->cToolbar3, main->cToolbar4})
            for (QAction* action : toolbar->actions())
                QVERIFY(action->isSeparator() || !action->icon().isNull());

        main->SetButtons(true);
        QCOMPARE(EnabledKeys(main->cToolbar1, false), QStringList{});
        QCOMPARE(EnabledKeys(main->cToolbar3, false), QStringList{});
        main->SetButtons(false);
        QCOMPARE(EnabledKeys(main->cToolbar1, false), DocumentButtons1);
    }

    // New document windows open whole inside the workspace, cascading from
    // its top left at three quarters of its size; the workspace scrolls to
    // a window moved partly out of it.
    void newDocumentsCascadeInsideTheWorkspace()
    {
        ShellFixture fixture;
        CreateDocumentForm = MakeFakeDocument;
        const std::unique_ptr<MDIMain> main = Main({});
        main->showNormal();
        main->resize(1000, 760);
        QTRY_VERIFY(main->mdiArea->viewport()->width() > 700);
        const QRect area = main->mdiArea->viewport()->rect();
        QList<QRect> frames;
        for (int i = 0; i < 12; ++i) {
            NewDocument();
            frames.append(main->ActiveForm()->parentWidget()->geometry());
        }
        CreateDocumentForm = nullptr;
        for (const QRect& frame : frames) {
            QVERIFY2(area.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(frame.x()).arg(frame.y())
                                                          .arg(frame.width()).arg(frame.height())));
            QCOMPARE(frame.size(), QSize(area.width() * 3 / 4, area.height() * 3 / 4));
        }
        QCOMPARE(frames[0].topLeft(), QPoint(0, 0));
        QVERIFY(frames[1].x() > 0);
        QCOMPARE(frames[1].x(), frames[1].y());
        QCOMPARE(frames[2].x(), 2 * frames[1].x());
        // Past the room left, the next starts at the top left again.
        QVERIFY(frames.contains(QRect(QPoint(0, 0), frames[0].size()))
                && frames.lastIndexOf(QRect(QPoint(0, 0), frames[0].size())) > 0);

        auto* last = main->ActiveForm()->parentWidget();
        last->move(area.width() - 50, area.height() - 50);
        QTRY_VERIFY(main->mdiArea->horizontalScrollBar()->isVisible());
        QVERIFY(main->mdiArea->verticalScrollBar()->isVisible());
    }

    // A program opened by "/f" is placed before the main window is shown,
    // while the workspace has no size yet: it takes its place again once the
    // workspace has its real size, and keeps a place the user gave it.
    void fileSwitchWindowFitsTheShownWorkspace()
    {
        ShellFixture fixture;
        const QString path = fixture.ProgramPath(QStringLiteral("part.nc"));
        ShellFixture::WriteBytes(path, "G00 X1.\r\nM30\r\n");
        const std::unique_ptr<MDIMain> main = Main({QStringLiteral("/f"), path});
        QVERIFY(main != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        QWidget* frame = main->ActiveForm()->parentWidget();
        const int step = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
        QTRY_COMPARE(frame->geometry(), MDIMain::CascadeRect(main->mdiArea->viewport()->size(), 0, step));
        QVERIFY(frame->width() >= 480);

        main->showNormal();
        main->resize(1000, 760);
        QTRY_VERIFY(main->mdiArea->viewport()->width() > 700);
        QTRY_COMPARE(frame->geometry(), MDIMain::CascadeRect(main->mdiArea->viewport()->size(), 0, step));

        const QRect moved(30, 40, 500, 350);
        frame->setGeometry(moved);
        const QSize before = main->mdiArea->viewport()->size();
        main->resize(1100, 820);
        QTRY_VERIFY(main->mdiArea->viewport()->size() != before);
        QCOMPARE(frame->geometry(), moved);
    }

    void cascadeOfASmallWorkspace_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<int>("n");
        QTest::addColumn<QRect>("place");
        QTest::newRow("first") << QSize(800, 600) << 0 << QRect(0, 0, 600, 450);
        QTest::newRow("third") << QSize(800, 600) << 2 << QRect(40, 40, 600, 450);
        QTest::newRow("wraps") << QSize(800, 600) << 8 << QRect(0, 0, 600, 450);
        QTest::newRow("small: at least 480 x 320") << QSize(500, 350) << 0 << QRect(0, 0, 480, 320);
        QTest::newRow("smaller than that: all of it") << QSize(300, 200) << 3 << QRect(0, 0, 300, 200);
    }
    void cascadeOfASmallWorkspace()
    {
        QFETCH(QSize, area);
        QFETCH(int, n);
        QFETCH(QRect, place);
        QCOMPARE(MDIMain::CascadeRect(area, n, 20), place);
    }

    void windowsShowTheSuitesIcon()
    {
        ShellFixture fixture;
        CreateDocumentForm = MakeFakeDocument;
        const std::unique_ptr<MDIMain> main = Main({});
        NewDocument();
        CreateDocumentForm = nullptr;
        const QImage ours = QImage(MDIMain::IconResource).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!ours.isNull());
        const auto* frame = qobject_cast<QMdiSubWindow*>(main->ActiveForm()->parentWidget());
        QVERIFY(frame != nullptr);
        for (const QIcon& icon : {main->windowIcon(), frame->windowIcon()})
            QCOMPARE(icon.pixmap(ours.size()).toImage().convertToFormat(QImage::Format_ARGB32), ours);
    }

    void captionsToggleOnTheFirstToolbarOnly()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        QCOMPARE(main->cToolbar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
        main->mnuShowCaptions->trigger();
        QVERIFY(main->mnuShowCaptions->isChecked());
        QCOMPARE(main->cToolbar1->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QCOMPARE(main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save All"))->text(),
                 QStringLiteral("Save All"));
        QCOMPARE(main->cToolbar3->toolButtonStyle(), Qt::ToolButtonIconOnly);
        for (const QAction* action : main->cToolbar3->actions())
            QVERIFY(action->text().isEmpty());
        main->mnuShowCaptions->trigger();
        QVERIFY(!main->mnuShowCaptions->isChecked());
        QCOMPARE(main->cToolbar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }

    // The strip's images read on the desktop's palette, light or dark: their
    // line art against the face around them, disabled ones fainter, and the
    // captions' text.
    void toolbarImagesReadOnAnyPalette_data()
    {
        toolbarlook::PaletteRows();
    }
    void toolbarImagesReadOnAnyPalette()
    {
        QFETCH(QPalette, palette);
        const toolbarlook::ApplicationPalette desktop(palette);
        ShellFixture fixture;
        QVERIFY(CopyIconStrip(fixture));
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        main->mnuShowCaptions->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        std::vector<toolbarlook::ButtonLook> looks;
        for (QToolBar* toolbar : {main->cToolbar1, main->cToolbar3, main->cToolbar4})
            for (const toolbarlook::ButtonLook& look : toolbarlook::Measure(*toolbar))
                looks.push_back(look);
        // With no document open, buttons of either kind are shown.
        QVERIFY(std::any_of(looks.begin(), looks.end(), [](const auto& look) { return look.enabled; }));
        QVERIFY(std::any_of(looks.begin(), looks.end(), [](const auto& look) { return !look.enabled; }));
        QVERIFY(std::any_of(looks.begin(), looks.end(), [](const auto& look) { return look.caption != 0; }));
        const QStringList faults = toolbarlook::Unreadable(looks);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void placementAndColoursReadBack()
    {
        ShellFixture fixture;
        CreateDefaultIni();
        const auto set = [](const char* section, const char* key, const char* value) {
            WriteIniString(QLatin1String(section), QLatin1String(key), QLatin1String(value), IniFile);
        };
        set("Window", "Left", "1500");
        set("Window", "Top", "1200");
        set("Window", "Width", "9000");
        set("Window", "Height", "6000");
        set("Window", "Windowstate", "0");
        set("Colors", "clr0bg", "255");
        set("Colors", "clr9fnt", "3");
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        QVERIFY(!main->isMaximized());
        const QRect expected(platform::TwipsToPixelsX(1500), platform::TwipsToPixelsY(1200),
                             platform::TwipsToPixelsX(9000), platform::TwipsToPixelsY(6000));
        QCOMPARE(main->geometry(), expected);
        QCOMPARE(ColorItems[0].BackColor, 255);
        QCOMPARE(ColorItems[9].FontStyle, 3);
        QCOMPARE(ColorItems[1], DefaultColorItems[1]);

        const WindowPlacement placement = main->CurrentPlacement();
        QCOMPARE(placement.Left, 1500.0);
        QCOMPARE(placement.Width, 9000.0);
        QCOMPARE(placement.WindowState, 0);
    }

    void damagedPlacementStillStarts_data()
    {
        QTest::addColumn<QByteArray>("window");
        QTest::newRow("not numbers") << QByteArray("Left = abc\r\nTop = \r\nWidth = x\r\nHeight = 9120\r\n"
                                                   "WindowState = y\r\n");
        QTest::newRow("off every screen") << QByteArray("Left = -900000\r\nTop = 900000\r\nWidth = 6000\r\n"
                                                        "Height = 4500\r\nWindowState = 0\r\n");
        QTest::newRow("minimised") << QByteArray("Left = 300\r\nTop = 300\r\nWidth = 6000\r\n"
                                                 "Height = 4500\r\nWindowState = 1\r\n");
    }
    void damagedPlacementStillStarts()
    {
        QFETCH(QByteArray, window);
        ShellFixture fixture;
        ShellFixture::WriteBytes(IniFile, "[Window]\r\n" + window);
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        QVERIFY(!main->isMinimized());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.intersects(main->frameGeometry()));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void damagedSettingsFileIsReportedOnce()
    {
        ShellFixture fixture;
        ShellFixture::WriteBytes(IniFile, QByteArray("[Colors]\r\nclr0bg = 255\r\n[Window\r\nLeft = 5\r\n\0\x01junk\r\n", 51));
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbExclamation);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(IniFile));
        QCOMPARE(ColorItems[0].BackColor, 255);   // what is sound is still read
    }

    void secondInstanceWithoutAnswerSaysSo()
    {
        ShellFixture fixture;
        // Held on this thread, so it cannot answer while Main waits.
        platform::SingleInstance running(ProgramName, fixture.ProgramFolder());
        QVERIFY(running.claim());
        const int timeout = std::exchange(HandOverTimeoutMs, 300);
        const auto restore = qScopeGuard([timeout] { HandOverTimeoutMs = timeout; });
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main({QStringLiteral("/f"), QStringLiteral("a.nc")});
        QVERIFY(main == nullptr);
        QVERIFY(MDIMain::Instance() == nullptr);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbExclamation);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QDir::current().absoluteFilePath(QStringLiteral("a.nc"))));
        QCOMPARE(OpenDocumentCount(), 0);
        QCOMPARE(QDir(fixture.ProgramFolder()).entryList(QDir::Files), QStringList{});
        QCOMPARE(QDir(platform::RegistryFolder()).entryList(QDir::Files), QStringList{});
    }

    void helpSwitchShowsHelpAndEnds()
    {
        ShellFixture fixture;
        platform::ScriptedAnswers answers;
        std::unique_ptr<MDIMain> main =
            Main({QStringLiteral("/f"), QStringLiteral("a.nc"), QStringLiteral("/?")});
        QVERIFY(main == nullptr);
        QVERIFY(MDIMain::Instance() == nullptr);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, CommandLineHelpText());
        QCOMPARE(OpenDocumentCount(), 0);
        // The program ended: the next start is not a second instance.
        main = Main({});
        QVERIFY(main != nullptr);
    }

    void fileSwitchOpensThePath()
    {
        ShellFixture fixture;
        const QString path = fixture.ProgramPath(QStringLiteral("my part.nc"));
        ShellFixture::WriteBytes(path, "G00 X1.\r\nM30\r\n");
        const std::unique_ptr<MDIMain> main =
            Main({QStringLiteral("/f"), path, QStringLiteral("/g"), QStringLiteral("5")});
        QVERIFY(main != nullptr);
        QCOMPARE(OpenDocumentCount(), 1);
        DocumentForm* document = main->ActiveForm();
        QVERIFY(document != nullptr);
        QCOMPARE(document->FilePath, path);
        QCOMPARE(document->Caption(), path.toUpper());
        QCOMPARE(document->Text1()->Text(), QStringLiteral("G00 X1.\r\nM30\r\n"));
        QCOMPARE(CommandLineText, QStringLiteral("/f \"%1\" /g 5").arg(path));
        QCOMPARE(EnabledKeys(main->cToolbar1, false), QStringList{});
    }

    void fileSwitchWithoutDocument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("boxes");  // the titles of the messages shown
        QTest::newRow("no switches") << QStringList{} << QStringList{};
        QTest::newRow("blanks only") << QStringList{"  "} << QStringList{};
        QTest::newRow("/f last") << QStringList{"/g", "5", "/f"} << QStringList{"Talvex Editor"};
        QTest::newRow("open fails") << QStringList{"/f", "missing.nc", "/n"}
                                    << QStringList{"Talvex Editor Program Error."};
    }
    void fileSwitchWithoutDocument()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, boxes);
        ShellFixture fixture;
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main(arguments);
        QVERIFY(main != nullptr);
        QCOMPARE(OpenDocumentCount(), 0);
        QStringList titles;
        for (const auto& box : answers.msgBoxes())
            titles.append(box.title);
        QCOMPARE(titles, boxes);
        // No document came: the document buttons stay off.
        QCOMPARE(EnabledKeys(main->cToolbar1, false), DocumentButtons1);
    }

    // A file given alone is opened as "/f" opens it (the desktop and shells start programs so).
    void fileGivenAloneOpens()
    {
        ShellFixture fixture;
        const QString path = fixture.ProgramPath(QStringLiteral("my part.nc"));
        ShellFixture::WriteBytes(path, "G00 X1.\r\nM30\r\n");
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main({path});
        QVERIFY(main != nullptr);
        QCOMPARE(OpenDocumentCount(), 1);
        QCOMPARE(main->ActiveForm()->FilePath, path);
        QCOMPARE(CommandLineText, QStringLiteral("/f \"%1\"").arg(path));
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // Whatever is neither a switch nor a switch's value is named, never dropped without a word.
    void itemsThatAreNotSwitchesAreNamed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::addColumn<int>("documents");
        QTest::newRow("missing file alone") << QStringList{"missing.nc"} << "\"missing.nc\"" << 0;
        QTest::newRow("folder alone") << QStringList{"<folder>"} << "\"<folder>\"" << 0;
        QTest::newRow("unknown option") << QStringList{"--hlep"} << "\"--hlep\"" << 0;
        QTest::newRow("/F is not /f") << QStringList{"/F", "a.nc"} << "\"/F\", \"a.nc\"" << 0;
        QTest::newRow("beside an opened file") << QStringList{"/f", "<file>", "extra", "/g", "1", "/N"}
                                               << "\"extra\", \"/N\"" << 1;
    }
    void itemsThatAreNotSwitchesAreNamed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        QFETCH(int, documents);
        ShellFixture fixture;
        const QString file = fixture.ProgramPath(QStringLiteral("part.nc"));
        ShellFixture::WriteBytes(file, "M30\r\n");
        named.replace(QStringLiteral("<folder>"), fixture.ProgramFolder());
        arguments.replaceInStrings(QStringLiteral("<folder>"), fixture.ProgramFolder());
        arguments.replaceInStrings(QStringLiteral("<file>"), file);
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main(arguments);
        QVERIFY(main != nullptr);
        QCOMPARE(OpenDocumentCount(), documents);
        QCOMPARE(answers.msgBoxes().size(), 1);
        const auto& box = answers.msgBoxes()[0];
        QCOMPARE(box.title, QStringLiteral("Talvex Editor"));
        QCOMPARE(box.style, platform::vbExclamation);
        QVERIFY2(box.prompt.contains(QStringLiteral("not a switch: ") + named + QLatin1Char('.')),
                 qPrintable(box.prompt));
    }

    void secondStartHandsItsWorkOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("relative path with blanks") << QStringList{"/f", "my part.nc"} << true
                                                   << "/f \"%1\"";
        QTest::newRow("with a line to go to") << QStringList{"/f", "my part.nc", "/g", "2"} << true
                                              << "/f \"%1\" /g 2";
        QTest::newRow("no file: front only") << QStringList{} << false << "";
        QTest::newRow("switch without /f") << QStringList{"/g", "2"} << false << "/g 2";
        QTest::newRow("file given alone") << QStringList{"my part.nc"} << true << "/f \"%1\"";
    }
    // The running editor is this test; the second start is the real program.
    void secondStartHandsItsWorkOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, opens);
        QFETCH(QString, commandLine);
        const QString program = qEnvironmentVariable("TALVEX_BUILD_BIN") + QStringLiteral("/Pelmar");
        if (!QFileInfo(program).isExecutable())
            QSKIP("the Pelmar program is not built");
        ShellFixture fixture;
        const QString work = fixture.ProgramPath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(work));
        const QString path = QDir(work).filePath(QStringLiteral("my part.nc"));
        ShellFixture::WriteBytes(path, "G00 X1.\r\nM30\r\nM02\r\n");
        platform::ScriptedAnswers answers;
        const std::unique_ptr<MDIMain> main = Main({});
        QVERIFY(main != nullptr);
        main->showMinimized();

        QProcess second;
        second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        second.setWorkingDirectory(work);
        second.start(program, arguments);
        QVERIFY(second.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTest::qWait(50);  // the message is taken after the sender's answer

        QVERIFY(!main->isMinimized());  // came to the front in every case
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(OpenDocumentCount(), opens ? 1 : 0);
        if (opens) {
            QCOMPARE(main->ActiveForm()->FilePath, path);
            QCOMPARE(CommandLineText, commandLine.arg(path));
        }
        if (arguments.contains(QStringLiteral("/g")) && opens)
            QCOMPARE(main->ActiveForm()->Text1()->GetSel(true).endLine, 1);
    }

    void helpAtASecondStartIsAnsweredThere()
    {
        ShellFixture fixture;
        platform::SingleInstance running(ProgramName, fixture.ProgramFolder());
        QVERIFY(running.claim());
        QSignalSpy received(&running, &platform::SingleInstance::messageReceived);
        platform::ScriptedAnswers answers;
        QVERIFY(Main({QStringLiteral("/f"), QStringLiteral("a.nc"), QStringLiteral("/?")}) == nullptr);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, CommandLineHelpText());
        QTest::qWait(50);
        QCOMPARE(received.size(), 0);
    }

    // Without a display the program says what it needs instead of
    // aborting with the toolkit's plug-in message, naming the program as it
    // was started (an installed copy has no run.sh).
    void noDisplayIsExplained_data()
    {
        QTest::addColumn<QString>("linkName");
        QTest::addColumn<QString>("quote");
        QTest::newRow("plain path") << "bin/Pelmar" << "";
        QTest::newRow("path with a blank") << "my bin/Pelmar" << "'";
    }
    void noDisplayIsExplained()
    {
        QFETCH(QString, linkName);
        QFETCH(QString, quote);
        const QString program = qEnvironmentVariable("TALVEX_BUILD_BIN") + QStringLiteral("/Pelmar");
        if (!QFileInfo(program).isExecutable())
            QSKIP("the Pelmar program is not built");
        QTemporaryDir folder;
        QTemporaryDir links;
        const QString link = links.filePath(linkName);
        QVERIFY(QDir().mkpath(QFileInfo(link).path()));
        QVERIFY(QFile::link(program, link));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("TALVEX_PROGRAM_DIR"), folder.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(link, {});
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(said.startsWith(QStringLiteral("Pelmar needs a graphical session")), qPrintable(said));
        QVERIFY2(said.endsWith(QStringLiteral("xvfb-run -a ") + quote + link + quote + QLatin1Char('\n')),
                 qPrintable(said));
        QVERIFY(!QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral("Editor.ini"))));
    }

    // "--help" and "-h" list the switches on the terminal and end, display or not.
    void helpOnTheTerminal_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{"--help"};
        QTest::newRow("-h") << QStringList{"-h"};
        QTest::newRow("among others") << QStringList{"/f", "a.nc", "--help"};
    }
    void helpOnTheTerminal()
    {
        QFETCH(QStringList, arguments);
        const QString program = qEnvironmentVariable("TALVEX_BUILD_BIN") + QStringLiteral("/Pelmar");
        if (!QFileInfo(program).isExecutable())
            QSKIP("the Pelmar program is not built");
        QTemporaryDir folder;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("TALVEX_PROGRAM_DIR"), folder.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(process.readAllStandardOutput()),
                 CommandLineHelpText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(process.readAllStandardError(), QByteArray());
        QVERIFY(QDir(folder.path()).isEmpty());
    }

    void graphicalSession_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("available");
        QTest::newRow("nothing") << QString() << QStringList{"/f", "a.nc"} << false;
        QTest::newRow("X display") << "DISPLAY" << QStringList{} << true;
        QTest::newRow("Wayland") << "WAYLAND_DISPLAY" << QStringList{} << true;
        QTest::newRow("Qt platform") << "QT_QPA_PLATFORM" << QStringList{} << true;
        QTest::newRow("platform argument") << QString() << QStringList{"-platform", "offscreen"} << true;
        QTest::newRow("platform without a name") << QString() << QStringList{"-platform"} << false;
    }
    void graphicalSession()
    {
        QFETCH(QString, variable);
        QFETCH(QStringList, arguments);
        QFETCH(bool, available);
        const QList<QByteArray> names{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        QList<QByteArray> saved;
        for (const QByteArray& name : names) {
            saved.append(qgetenv(name.constData()));
            qunsetenv(name.constData());
        }
        if (!variable.isEmpty())
            qputenv(variable.toLatin1().constData(), "x");
        const bool result = platform::GraphicalSessionAvailable(arguments);
        for (qsizetype i = 0; i < names.size(); ++i)
            if (!saved[i].isNull())
                qputenv(names[i].constData(), saved[i]);
            else
                qunsetenv(names[i].constData());
        QCOMPARE(result, available);
    }

    void secondProcessEndsAtOnce()
    {
        const QString program = qEnvironmentVariable("TALVEX_BUILD_BIN") + QStringLiteral("/Pelmar");
        if (!QFileInfo(program).isExecutable())
            QSKIP("the Pelmar program is not built");
        QTemporaryDir folder;
        QTemporaryDir registry;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TALVEX_PROGRAM_DIR"), folder.path());
        environment.insert(QStringLiteral("TALVEX_REGISTRY_DIR"), registry.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        QProcess first;
        first.setProcessEnvironment(environment);
        first.start(program, {});
        QVERIFY(first.waitForStarted());
        const QString ini = QDir(folder.path()).filePath(QStringLiteral("Editor.ini"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(ini), 20000);
        QTest::qWait(300);
        const QByteArray before = ShellFixture::ReadBytes(ini);
        const QDateTime modified = QFileInfo(ini).lastModified();

        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(program, {QStringLiteral("/f"), QStringLiteral("a.nc")});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(ShellFixture::ReadBytes(ini), before);
        QCOMPARE(QFileInfo(ini).lastModified(), modified);

        first.kill();
        first.waitForFinished();
    }
};

REGISTER_TEST(TestStartup);
#include "tst_MDIMain.moc"
