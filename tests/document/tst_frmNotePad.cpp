// The document window: its load and activation, its events, its File,
// Insert, Window and Edit menus, and how it closes, alone and with the
// main window.

#include "DocumentFixture.h"
#include "support/SmallDisk.h"
#include "support/TestRegistry.h"
#include "shell/FileTestHelpers.h"

#include "platform/files/AtomicWrite.h"
#include "shell/MEditCommands.h"
#include "shell/MRecentFiles.h"
#include "shell/basFileDialogs.h"
#include "shell/frmMsg.h"
#include "DocumentTestHelpers.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QUrl>
#include <Qsci/qsciscintilla.h>

using platform::CodeMax;
using platform::CodeMaxRange;

namespace {

using document_test::OpenFile;

using document_test::SaveQuestion;

QStringList MenuBar(const MDIMain& main)
{
    QStringList captions;
    for (const QAction* action : main.menuBar()->actions())
        if (action->isVisible())
            captions.append(action->text());
    return captions;
}

QStringList Captions()
{
    QStringList captions;
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
        if (DocumentForm* window = DocumentWindow(slot))
            captions.append(window->Caption());
    return captions;
}

// A document with unsaved typing in it.
void Type(frmNotePad& window, const QString& text)
{
    window.Text1()->SetSel({0, 0, 0, 0}, true);
    window.Text1()->AddText(text);
}

// Notes the widgets painted, in order, each frame of their window ("frame"),
// and the layout requests they get.
class RepaintLog : public QObject {
public:
    explicit RepaintLog(const QList<QWidget*>& widgets)
    {
        for (QWidget* widget : widgets)
            widget->installEventFilter(this);
    }
    QStringList painted, laidOut;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.append(watched->objectName());
        else if (event->type() == QEvent::UpdateRequest)
            painted.append(QStringLiteral("frame"));
        else if (event->type() == QEvent::LayoutRequest)
            laidOut.append(watched->objectName());
        return false;
    }
};

// While alive, every message box is a real window that takes the
// activation, and its OK button is pressed, as a user meets one.
class BoxesAsWindows {
public:
    BoxesAsWindows()
    {
        previous_ = platform::SetMsgBoxHandler([this](const QString& prompt, int, const QString& title) {
            QMessageBox box(QMessageBox::Information, title, prompt, QMessageBox::Ok);
            box.show();
            (void)QTest::qWaitForWindowActive(&box, 2000);
            box.button(QMessageBox::Ok)->click();
            prompts.append(prompt);
            return platform::vbOK;
        });
    }
    ~BoxesAsWindows() { platform::SetMsgBoxHandler(previous_); }
    BoxesAsWindows(const BoxesAsWindows&) = delete;
    BoxesAsWindows& operator=(const BoxesAsWindows&) = delete;

    QStringList prompts;

private:
    platform::MsgBoxHandler previous_;
};

}  // namespace

class TestNotePad : public QObject {
    Q_OBJECT
private slots:
    void newWindowLoads()
    {
        int scans = 0;
        ScanPluginsHook = [&](frmNotePad&) { ++scans; };
        DocumentFixture fixture;
        Macronumber = 2;
        MacroDescriptions[0] = QStringLiteral("Drill cycle");
        MacroDescriptions[1] = QStringLiteral("Tool change");
        WordListShown = true;
        fixture.main->mnuNew_Click();
        ScanPluginsHook = nullptr;

        frmNotePad* window = fixture.Active();
        QVERIFY(window != nullptr);
        QCOMPARE(window->Caption(), QStringLiteral("Untitled:1"));
        QCOMPARE(window->Text1()->Language(), QStringLiteral("CNC"));
        QVERIFY(!window->frWords->isVisible());
        QVERIFY(!WordListShown);
        QCOMPARE(scans, 1);
        QCOMPARE(window->mnuMacros[1]->text(), QStringLiteral("Drill cycle"));
        QCOMPARE(window->mnuMacros[2]->text(), QStringLiteral("Tool change"));
        QCOMPARE(window->mnuMacros[3]->text(), QStringLiteral("Macro 3 - not assigned"));
        QCOMPARE(window->mnuMacros[4]->text(), QStringLiteral("Marco 4 - not assigned"));
        // Its menus take the menu bar while it is active; the main window's
        // come back when no document is left.
        const QStringList menus{"&File", "&Edit", "&Search", "&View", "&Insert", "&NC Functions", "&Utilities",
                                "&Accessories", "&Macros", "&Plugins", "&Options", "&Window", "&Help"};
        QCOMPARE(MenuBar(*fixture.main), menus);
        // A menu without items stays out of the menu bar; it shows as soon as a command is added to it.
        const QList<QAction*> items = window->mnuInsert->actions();
        for (QAction* item : items)
            window->mnuInsert->removeAction(item);
        QVERIFY(!MenuBar(*fixture.main).contains(QStringLiteral("&Insert")));
        window->mnuInsert->addActions(items);
        QCOMPARE(MenuBar(*fixture.main), menus);
        window->mnuFClose_Click();
        QCOMPARE(MenuBar(*fixture.main), (QStringList{"&File", "&Options", "&Help"}));
    }

    void activationAppliesTheColourTable()
    {
        DocumentFixture fixture;
        for (int i = 0; i < ColorItemsUsed; ++i)
            ColorItems[static_cast<size_t>(i)] = {0x010000 * (i + 1) + 1, 0x000100 * (i + 1) + 2, i % 5};
        QStringList loads;
        LoadMacrosHook = [&] { loads.append(QStringLiteral("macros")); };
        LoadHotKeysHook = [&] { loads.append(QStringLiteral("hot keys")); };
        fixture.main->mnuNew_Click();
        LoadMacrosHook = nullptr;
        LoadHotKeysHook = nullptr;

        CodeMax& text = *fixture.Active()->Text1();
        const auto& c = ColorItems;
        const QList<QPair<int, qint64>> colours = {
            {2, c[0].ForeColor},  {3, c[0].BackColor},  {15, c[1].BackColor}, {14, c[1].ForeColor},
            {30, c[2].ForeColor}, {8, c[3].ForeColor},  {9, c[3].BackColor},  {1, c[4].ForeColor},
            {26, c[5].ForeColor}, {27, c[5].BackColor}, {6, c[6].ForeColor},  {7, c[6].BackColor},
            {4, c[7].ForeColor},  {5, c[7].BackColor},  {0, c[8].ForeColor}};
        for (const auto& [item, colour] : colours)
            QCOMPARE(text.GetColor(item), colour);
        const QList<QPair<int, int>> styles = {
            {5, c[1].FontStyle}, {2, c[3].FontStyle}, {11, c[5].FontStyle}, {1, c[6].FontStyle}, {0, c[7].FontStyle}};
        for (const auto& [item, style] : styles)
            QCOMPARE(text.GetFontStyle(item), style);
        QCOMPARE(loads, (QStringList{"macros", "hot keys"}));
    }

    void openedThenSavedFileKeepsItsBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("%\r\nO1001\r\nN10 G00 X1.\r\nM30\r\n%\r\n");
        QTest::newRow("LF") << QByteArray("%\nN10 G00 X1.\nM30\n%\n");
        QTest::newRow("Latin-1") << QByteArray("(D\xd8 10 \xb1 0.02)\r\nN10 G01 X1.\r\n");
        QTest::newRow("UTF-8") << QByteArray("(D\xc3\x98 10 \xc2\xb1 0.02)\r\nN10 G01 X1.\r\n");
        QTest::newRow("no final line break") << QByteArray("N10 G00\r\nM30");
    }
    void openedThenSavedFileKeepsItsBytes()
    {
        QFETCH(QByteArray, bytes);
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("part.nc"), bytes);
        QVERIFY(window != nullptr);
        QVERIFY(QFile::remove(fixture.Path(QStringLiteral("part.nc"))));
        window->cmdDummySave->click();
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("part.nc"))), bytes);
        QVERIFY(!DocumentState[1].Modified);
    }

    void editsMarkTheirOwnDocument()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* first = fixture.Active();
        fixture.main->mnuNew_Click();
        QVERIFY(fixture.Active() != first);
        Type(*first, QStringLiteral("G00"));
        QVERIFY(DocumentState[1].Modified);
        QVERIFY(!DocumentState[2].Modified);
        QVERIFY(TextChanged);
    }

    void saveWritesTheRealFile()
    {
        DocumentFixture fixture;
        DisplayPath = 0;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("Part.nc"), "OLD\r\n");
        QCOMPARE(window->Caption(), QStringLiteral("PART.NC"));
        window->Text1()->SetText(QStringLiteral("NEW\r\n"));
        QVERIFY(DocumentState[1].Modified);
        window->mnuFSave->trigger();
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("Part.nc"))), QByteArray("NEW\r\n"));
        QVERIFY(!DocumentState[1].Modified);
        QVERIFY(!TextChanged);
        QCOMPARE(window->Caption(), fixture.Path(QStringLiteral("Part.nc")).toUpper());
    }

    void saveOfANewDocumentAsksForAName()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        Type(*window, QStringLiteral("G01 X5.\r\n"));

        platform::ScriptedAnswers answers;
        answers.scriptModal(CancelDialog());
        window->mnuFSave_Click();
        QVERIFY(DocumentState[1].Modified);   // nothing saved: a later close still asks
        QVERIFY(!DialogCancelled);

        answers.scriptModal(ChooseFiles(fixture.Folder(), {"first"}, 1));
        window->mnuFSave_Click();
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("first.txt"))), QByteArray("G01 X5.\r\n"));
        QVERIFY(!DocumentState[1].Modified);
        QCOMPARE(window->FilePath, fixture.Path(QStringLiteral("first.txt")));

        answers.scriptModal(ChooseFiles(fixture.Folder(), {"second.nc"}, 2));
        window->mnuFSaveAs_Click();
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("second.nc"))), QByteArray("G01 X5.\r\n"));
        QCOMPARE(window->Caption(), fixture.Path(QStringLiteral("second.nc")).toUpper());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void failedSaveKeepsTheDocument()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("part.nc"), "OLD\r\n");
        window->Text1()->SetText(QString(100000, QLatin1Char('X')));
        platform::ScriptedAnswers answers;
        {
            FullDisk full;
            window->mnuFSave_Click();
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
            QVERIFY(DocumentState[1].Modified);

            // Closing: Yes, and the save fails again: the window stays.
            answers.answerMsgBox(platform::vbYes);
            window->mnuFClose_Click();
        }
        QCOMPARE(answers.msgBoxes().size(), 3);
        QCOMPARE(answers.msgBoxes()[1].prompt, SaveQuestion + fixture.Path(QStringLiteral("part.nc")));
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(DocumentState[1].Modified);
        QCOMPARE(DocumentPaths[0], fixture.Path(QStringLiteral("part.nc")));
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("part.nc"))), QByteArray("OLD\r\n"));
    }

    // A save onto a nearly full disk once left the program cut off at
    // 4,096 bytes, said nothing and cleared "modified".
    void fullDiskSaveNamesTheCauseAndKeepsTheOldFile_data()
    {
        QTest::addColumn<bool>("realDisk");
        QTest::newRow("small disk") << true;
        QTest::newRow("simulated") << false;
    }
    void fullDiskSaveNamesTheCauseAndKeepsTheOldFile()
    {
        QFETCH(bool, realDisk);
        DocumentFixture fixture;
        SmallDisk disk(64 * 1024);
        if (realDisk)
            REQUIRE_SMALL_DISK(disk);
        const QString path = realDisk ? disk.path(QStringLiteral("PART.NC")) : fixture.Path(QStringLiteral("PART.NC"));
        QByteArray old;
        for (int n = 10; old.size() < 2000; n += 10)
            old += "N" + QByteArray::number(n) + " G01 X12.5 Y-3.25 F200\r\n";
        QVERIFY(WriteFileBytes(path, old));
        QVERIFY(OpenFileInWindow(path, false));
        frmNotePad* window = fixture.Active();
        QVERIFY(window != nullptr);
        window->Text1()->SetText(QString::fromLatin1(old).repeated(6));
        QVERIFY(DocumentState[1].Modified);

        platform::ScriptedAnswers answers;
        if (realDisk)
            disk.fillLeaving(4096);
        else
            platform::SetSimulatedFreeSpaceForTests(4096);
        window->mnuFSave->trigger();
        platform::SetSimulatedFreeSpaceForTests(-1);

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(answers.msgBoxes()[0].prompt,
                 QStringLiteral("Cannot write %1: No space left on device").arg(path));
        QVERIFY(DocumentState[1].Modified);
        QVERIFY(window->Text1()->Modified());
        QCOMPARE(FileBytes(path), old);
        QCOMPARE(QFileInfo(path).dir().entryList({QStringLiteral(".PART.NC*")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    void closeQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::newRow("Yes saves and closes") << int(platform::vbYes) << true << QByteArray("NEW OLD\r\n");
        QTest::newRow("No closes") << int(platform::vbNo) << true << QByteArray("OLD\r\n");
        QTest::newRow("Cancel keeps it") << int(platform::vbCancel) << false << QByteArray("OLD\r\n");
    }
    void closeQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(QByteArray, onDisk);
        DocumentFixture fixture;
        DisplayPath = 0;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("part.nc"), "OLD\r\n");
        Type(*window, QStringLiteral("NEW "));
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(answer);
        window->mnuFClose_Click();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, SaveQuestion + QStringLiteral("part.nc"));
        QCOMPARE(answers.msgBoxes()[0].style, 35);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("PART.NC"));
        QCOMPARE(OpenDocumentCount(), closed ? 0 : 1);
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("part.nc"))), onDisk);
        QVERIFY(!DialogCancelled);
        if (!closed) {
            QVERIFY(DocumentState[1].Modified);
            QCOMPARE(DocumentPaths[0], QStringLiteral("part.nc"));
        } else {
            QCOMPARE(fixture.main->labelInsert->text(), QStringLiteral("Ready"));
            QVERIFY(!fixture.main->ToolbarButton(*fixture.main->cToolbar1, QStringLiteral("Save"))->isEnabled());
        }
    }

    void newDocumentYesWithCancelledNameStaysOpen()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        fixture.main->mnuNew_Click();
        frmNotePad* first = DocumentFixture::Window(1);
        Type(*first, QStringLiteral("G00"));
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(platform::vbYes);
        QString proposal;
        answers.scriptModal([&](QDialog& dialog) {
            proposal = QFileInfo(dynamic_cast<QFileDialog&>(dialog).selectedFiles().value(0)).fileName();
            dialog.reject();
        });
        // Closed through its own close box while the other window is active.
        qobject_cast<QMdiSubWindow*>(first->parentWidget())->close();
        QCOMPARE(proposal, QStringLiteral("Editor1.cnc"));
        QCOMPARE(OpenDocumentCount(), 2);
        QVERIFY(DocumentState[1].Modified);
        QVERIFY(!DialogCancelled);
    }

    void saveAllSavesWhatHasAName()
    {
        DocumentFixture fixture;
        frmNotePad* a = OpenFile(fixture, QStringLiteral("a.nc"), "A\r\n");
        fixture.main->mnuNew_Click();
        frmNotePad* b = fixture.Active();
        frmNotePad* c = OpenFile(fixture, QStringLiteral("c.nc"), "C\r\n");
        for (frmNotePad* window : {a, b, c})
            Type(*window, QStringLiteral("X"));

        platform::ScriptedAnswers answers;
        // b has no name: its dialog opens in the default folder and is cancelled.
        QString opensIn;
        answers.scriptModal([&opensIn](QDialog& dialog) {
            opensIn = dynamic_cast<QFileDialog&>(dialog).directory().absolutePath();
            dialog.reject();
        });
        QVERIFY(QDir::current() != QDir(DefaultDir));
        c->cmdDummySaveAll->click();
        QCOMPARE(opensIn, QDir(DefaultDir).absolutePath());
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Save As"));
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("a.nc"))), QByteArray("XA\r\n"));
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("c.nc"))), QByteArray("XC\r\n"));
        QVERIFY(!DocumentState[1].Modified);
        QVERIFY(DocumentState[2].Modified);
        QVERIFY(!DocumentState[3].Modified);
        QVERIFY(!SaveAllRunning);
        QCOMPARE(fixture.Active(), c);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void closeAllWithOneCancelKeepsIt()
    {
        DocumentFixture fixture;
        for (int i = 0; i < 3; ++i)
            fixture.main->mnuNew_Click();
        Type(*DocumentFixture::Window(2), QStringLiteral("G00"));
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(platform::vbCancel);
        DocumentFixture::Window(1)->mnuCloseAll_Click();
        QCOMPARE(Captions(), QStringList{"Untitled:2"});
        QVERIFY(fixture.main->ToolbarButton(*fixture.main->cToolbar1, QStringLiteral("Save"))->isEnabled());
        QVERIFY(!DialogCancelled);

        answers.answerMsgBox(platform::vbNo);
        fixture.Active()->mnuCloseAllFiles_Click();
        QCOMPARE(OpenDocumentCount(), 0);
        QCOMPARE(fixture.main->labelInsert->text(), QStringLiteral("Ready"));
        QVERIFY(!fixture.main->ToolbarButton(*fixture.main->cToolbar1, QStringLiteral("Save"))->isEnabled());
        for (const QString& path : DocumentPaths)
            QVERIFY(path.isEmpty());
        QCOMPARE(answers.msgBoxes().size(), 2);
    }

    void closeFileForgetsItsPath()
    {
        DocumentFixture fixture;
        OpenFile(fixture, QStringLiteral("a.nc"), "A\r\n");
        OpenFile(fixture, QStringLiteral("b.nc"), "B\r\n");
        DocumentFixture::Window(1)->mnuFClose_Click();   // closes the active one: b
        QCOMPARE(Captions(), QStringList{fixture.Path(QStringLiteral("a.nc")).toUpper()});
        QCOMPARE(DocumentPaths[1], QString());
        QCOMPARE(DocumentPaths[0], fixture.Path(QStringLiteral("a.nc")));
        fixture.Active()->mnuCloseWindow_Click();
        QCOMPARE(OpenDocumentCount(), 0);
        QCOMPARE(DocumentPaths[0], fixture.Path(QStringLiteral("a.nc")));   // Close Window keeps paths
        fixture.main->mnuNew_Click();
        QCOMPARE(Captions(), QStringList{"Untitled:1"});
    }

    // Closing a document window, however the user does it, brings back the
    // window worked in before it (in the order the user went through them,
    // not the order they were opened), with the keyboard in its text.
    void closingActivatesTheWindowWorkedInBefore_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"File > Close File", "Ctrl+F4", "close button", "Window > Close Window"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void closingActivatesTheWindowWorkedInBefore()
    {
        QFETCH(QString, how);
        DocumentFixture fixture;
        fixture.main->show();
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        QList<frmNotePad*> windows;
        for (const char* name : {"a.nc", "b.nc", "c.nc", "d.nc"})
            windows.append(OpenFile(fixture, QLatin1String(name), "G00 X1.\r\n"));
        QVERIFY(!windows.contains(nullptr));
        const auto workIn = [&fixture](frmNotePad* window) {
            QsciScintilla* pane = window->Text1()->Pane(0);
            QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, QPoint(40, 5));
            QCOMPARE(fixture.Active(), window);
        };
        workIn(windows[2]);
        workIn(windows[1]);
        workIn(windows[3]);
        QTRY_VERIFY(windows[3]->Text1()->isAncestorOf(QApplication::focusWidget()));

        const auto close = [&fixture, &how] {
            frmNotePad* active = fixture.Active();
            if (how == QLatin1String("File > Close File")) {
                active->mnuFClose->trigger();
            } else if (how == QLatin1String("Ctrl+F4")) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
            } else if (how == QLatin1String("close button")) {
                auto* frame = qobject_cast<QMdiSubWindow*>(active->parentWidget());
                QStyleOptionTitleBar bar;
                bar.initFrom(frame);
                bar.subControls = QStyle::SC_All;
                bar.titleBarFlags = frame->windowFlags();
                bar.titleBarState = int(frame->windowState()) | int(Qt::WindowActive);
                bar.state |= QStyle::State_Active;
                bar.rect.setHeight(frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, frame));
                const QRect button = frame->style()->subControlRect(QStyle::CC_TitleBar, &bar,
                                                                    QStyle::SC_TitleBarCloseButton, frame);
                QTest::mouseMove(frame, button.center());  // the button lights up under the mouse first
                QTest::mouseClick(frame, Qt::LeftButton, {}, button.center());
            } else {
                active->mnuCloseWindow->trigger();
            }
        };
        for (int expected : {1, 2, 0}) {
            const int before = OpenDocumentCount();
            close();
            QCOMPARE(OpenDocumentCount(), before - 1);
            QCOMPARE(fixture.Active(), windows[expected]);
            QTRY_VERIFY(windows[expected]->Text1()->isAncestorOf(QApplication::focusWidget()));
        }
    }

    void recentFilesInEveryWindow()
    {
        DocumentFixture fixture;
        frmNotePad* first = OpenFile(fixture, QStringLiteral("a.nc"), "A\r\n");
        fixture.main->mnuNew_Click();
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("b.nc")), "B\r\n"));
        UpdateRecentFiles(fixture.Path(QStringLiteral("b.nc")));
        for (frmNotePad* window : {first, fixture.Active()}) {
            QVERIFY(window->mnuRecentFile[0]->isVisible());
            QCOMPARE(window->mnuRecentFile[1]->data().toString(), fixture.Path(QStringLiteral("b.nc")));
            QVERIFY(window->mnuRecentFile[1]->isVisible());
            QVERIFY(!window->mnuRecentFile[2]->isVisible());
        }
        first->mnuRecentFile[1]->trigger();
        QCOMPARE(Captions().last(), fixture.Path(QStringLiteral("b.nc")).toUpper());
        QCOMPARE(RecentFile(1), fixture.Path(QStringLiteral("b.nc")));
    }

    // A window made after the list was written (New, "/f", the first open)
    // shows it as the main window does.
    void newWindowShowsTheRecentFiles()
    {
        DocumentFixture fixture;
        for (const char* name : {"a.nc", "b.nc"}) {
            QVERIFY(WriteFileBytes(fixture.Path(QLatin1String(name)), "M30\r\n"));
            UpdateRecentFiles(fixture.Path(QLatin1String(name)));
        }
        fixture.main->mnuNew_Click();
        frmNotePad* made = fixture.Active();
        frmNotePad* opened = OpenFile(fixture, QStringLiteral("c.nc"), "M30\r\n");
        for (frmNotePad* window : {made, opened}) {
            QVERIFY(window->mnuRecentFile[0]->isVisible());
            QCOMPARE(window->mnuRecentFile[1]->data().toString(), fixture.Path(QStringLiteral("b.nc")));
            QCOMPARE(window->mnuRecentFile[2]->data().toString(), fixture.Path(QStringLiteral("a.nc")));
            QVERIFY(window->mnuRecentFile[2]->isVisible());
            QVERIFY(!window->mnuRecentFile[3]->isVisible());
            QCOMPARE(window->mnuRecentFile[1]->data(), fixture.main->mnuRecentFile[1]->data());
        }
    }

    void insertFileGoesToTheStartOfTheSelectedLine()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        QStringList lines;
        for (int i = 0; i < 10; ++i)
            lines.append(QStringLiteral("N%1 X%1.").arg(i));
        window->Text1()->SetText(lines.join(QStringLiteral("\r\n")));
        window->Text1()->SetSel({5, 7, 9, 2}, true);
        DocumentState[1].Modified = false;
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("piece.nc")), "G00\r\nG01\r\n"));

        platform::ScriptedAnswers answers;
        answers.scriptModal(ChooseFiles(fixture.Folder(), {"piece.nc"}));
        window->cmdFileInsert->click();
        CodeMax& text = *window->Text1();
        QCOMPARE(text.GetLine(4), QStringLiteral("N4 X4."));
        QCOMPARE(text.GetLine(5), QStringLiteral("G00"));
        QCOMPARE(text.GetLine(6), QStringLiteral("G01"));
        QCOMPARE(text.GetLine(7), QStringLiteral("N5 X5."));
        QCOMPARE(window->InsertPos, (platform::CodeMaxPosition{5, 0}));
        QVERIFY(DocumentState[1].Modified);

        answers.scriptModal(CancelDialog());
        window->mnuInsertFile_Click();
        QCOMPARE(text.LineCount(), 12);
    }

    void commandFailures()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        platform::ScriptedAnswers answers;
        SearchingG91 = true;
        window->Text1_CommandFailure(177, 4);
        window->Text1_CommandFailure(176, 4);
        window->Text1_CommandFailure(214, 1);   // no macro playing: nothing
        MacroPlaying = true;
        window->Text1_CommandFailure(214, 1);
        window->Text1_CommandFailure(214, 2);
        QStringList prompts;
        for (const auto& box : answers.msgBoxes()) {
            prompts.append(box.prompt);
            QCOMPARE(box.style, platform::vbExclamation);
            QCOMPARE(box.title, QStringLiteral("Talvex Editor"));
        }
        QCOMPARE(prompts, (QStringList{"G91 was not found!", "Data was not found!",
                                       "No macro has been assigned to this selection!"}));
        QVERIFY(!SearchingG91);
        QVERIFY(!MacroPlaying);
        // A search that finds nothing reports through the same handler.
        window->Text1()->SetFindText(QStringLiteral("ZZZ"));
        window->Text1()->ExecuteCmd(platform::CodeMaxCmd::FindNext);
        QCOMPARE(answers.msgBoxes().size(), 4);
    }

    void insertKeySwitchesTheTypingMode()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        QVERIFY(window->Text1_KeyDown(45, 0));
        QVERIFY(window->Text1()->OverwriteMode());
        QCOMPARE(fixture.main->labelInsert->text(), QStringLiteral("Overwrite"));
        QVERIFY(!window->Text1_KeyDown(45, 1));   // with Shift: nothing
        QVERIFY(window->Text1()->OverwriteMode());
        QVERIFY(window->Text1_KeyDown(45, 0));
        QVERIFY(!window->Text1()->OverwriteMode());
        QCOMPARE(fixture.main->labelInsert->text(), QStringLiteral("Insert"));
        QVERIFY(window->Text1_SettingsRequest());
    }

    void selectionDrivesHighlightAndStatusLine()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        CodeMax& text = *window->Text1();
        text.SetText(QStringLiteral("N10\r\nN20 G01 X5.\r\nN30\r\nN40 G01 Y7.\r\nN50"));
        LineHighlightOn = true;
        text.SetSel({3, 7, 1, 4}, true);
        QCOMPARE(window->CurrentRange, (CodeMaxRange{1, 4, 3, 7}));
        QCOMPARE(text.HighlightedLine(), 3);
        QCOMPARE(fixture.main->lblLine->text(), QStringLiteral("Line: 2"));
        QCOMPARE(fixture.main->lblColumn->text(), QStringLiteral("Col: 5"));
        QCOMPARE(fixture.main->lblTotalLines->text(), QStringLiteral("Total Lines: 5"));
        LineHighlightOn = false;
        text.SetSel({2, 1, 2, 1}, true);
        QCOMPARE(text.HighlightedLine(), -1);
        QCOMPARE(fixture.main->lblLine->text(), QStringLiteral("Line: 3"));

        // A right click takes the selection as made and shows the edit popup.
        text.SetSel({3, 7, 1, 4}, true);
        window->Text1_MouseUp(2, 0, 5, 5);
        QCOMPARE(window->CurrentRange, (CodeMaxRange{3, 7, 1, 4}));
        QVERIFY(window->mnuPEditMain->isVisible());
        window->mnuPEditMain->hide();
    }

    // Typed keys show the caret's place on the status line at once. A key
    // repaints only the status text that changed, without laying out and
    // painting the whole status line again, and in the frame after the one
    // that shows the key in the text.
    void typingRepaintsOnlyTheStatusThatChanged()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.main.get()));
        QsciScintilla* pane = fixture.Active()->Text1()->ActivePane();
        MDIMain& main = *fixture.main;
        QTest::keyClicks(pane, "N10 G1");
        QCOMPARE(main.lblColumn->text(), QStringLiteral("Col: 7"));
        QCOMPARE(main.lblLine->text(), QStringLiteral("Line: 1"));
        QTest::keyClick(pane, Qt::Key_Return);
        QCOMPARE(main.lblLine->text(), QStringLiteral("Line: 2"));
        QCOMPARE(main.lblColumn->text(), QStringLiteral("Col: 1"));
        QCOMPARE(main.lblTotalLines->text(), QStringLiteral("Total Lines: 2"));
        QTest::keyClicks(pane, "X5");
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();

        main.statusBar()->setObjectName(QStringLiteral("statusBar"));
        pane->viewport()->setObjectName(QStringLiteral("text"));
        RepaintLog log({&main, pane->viewport(), main.statusBar(), main.pictStatusBar, main.labelInsert,
                        main.lblLine, main.lblColumn, main.lblTotalLines});
        QTest::keyClick(pane, Qt::Key_Y);
        QCOMPARE(main.lblColumn->text(), QStringLiteral("Col: 4"));
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(log.painted, (QStringList{"frame", "text", "frame", "lblColumn"}));
        QCOMPARE(log.laidOut, QStringList());
        QCOMPARE(main.labelInsert->text(), QStringLiteral("Insert"));
        QCOMPARE(main.lblLine->text(), QStringLiteral("Line: 2"));

        // Caret moves show too, also while bulk edits hold the selection
        // events back.
        QTest::keyClick(pane, Qt::Key_Home);
        QCOMPARE(main.lblColumn->text(), QStringLiteral("Col: 1"));
        BulkEditRunning = true;
        QTest::keyClick(pane, Qt::Key_Up);
        QTest::keyClick(pane, Qt::Key_End);
        BulkEditRunning = false;
        QCOMPARE(main.lblLine->text(), QStringLiteral("Line: 1"));
        QCOMPARE(main.lblColumn->text(), QStringLiteral("Col: 7"));
    }

    void editMenuRunsTheEditCommands()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        window->Text1()->SetText(QStringLiteral("G00\r\nM30"));
        window->mnuSelectAll->trigger();
        QCOMPARE(window->Text1()->SelText(), QStringLiteral("G00\r\nM30"));
        window->mnuEditDelete->trigger();
        QCOMPARE(window->Text1()->Text(), QString());
        window->mnuPEdit[0]->trigger();   // the popup's Undo
        QCOMPARE(window->Text1()->Text(), QStringLiteral("G00\r\nM30"));
        QVERIFY(window->mnuEditRedo->isEnabled());
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(platform::vbNo);   // the edits are not to be kept
        window->mnuPEdit[14]->trigger();  // the popup's Close
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(OpenDocumentCount(), 0);
    }

    void wordListPanelLayout()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        frmNotePad* window = fixture.Active();
        window->resize(600, 400);
        WordListShown = true;
        window->cmdWordlist->click();
        QVERIFY(window->frWords->isVisible());
        QCOMPARE(window->frWords->x() + window->frWords->width(), window->width());
        // 30 twips (2 pixels) between the text and the panel.
        QCOMPARE(window->Text1()->width(), window->width() - window->frWords->width() - 2);
        QCOMPARE(window->lstWords->size(), window->frWords->size());
        WordListShown = false;
        window->cmdWordlist->click();
        QVERIFY(!window->frWords->isVisible());
        QCOMPARE(window->Text1()->width(), window->width());
    }

    void exitAndShutdownAskAboutModifiedDocuments()
    {
        DocumentFixture fixture;
        fixture.main->mnuNew_Click();
        fixture.main->mnuNew_Click();
        Type(*DocumentFixture::Window(1), QStringLiteral("A"));
        Type(*DocumentFixture::Window(2), QStringLiteral("B"));
        const QByteArray editorIni = FileBytes(IniFile);

        // Shutdown: the first says No, the second Cancel: both stay open.
        platform::ScriptedAnswers answers;
        answers.answerMsgBox(platform::vbNo);
        answers.answerMsgBox(platform::vbCancel);
        QVERIFY(!fixture.main->close());
        QCOMPARE(OpenDocumentCount(), 2);
        QCOMPARE(FileBytes(IniFile), editorIni);

        // Exit: each asks; No, No closes both and the main window stays.
        answers.answerMsgBox(platform::vbNo);
        answers.answerMsgBox(platform::vbNo);
        fixture.main->mnuExit_Click();
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(fixture.main->isVisible());
        QCOMPARE(answers.msgBoxes().size(), 4);
        for (const auto& box : answers.msgBoxes())
            QVERIFY(box.prompt.startsWith(SaveQuestion));

        // A second Exit ends the program and writes the settings: the
        // placement of the window as it stands, the directories and the
        // macro list.
        fixture.main->ApplyPlacement({1500, 900, 9000, 6000, 0});
        fixture.main->ShowAsPlaced();
        DefaultDir = fixture.Path(QStringLiteral("Jobs"));
        DefaultExt = QStringLiteral("NC Code (*.nc)|*.nc");
        Macronumber = 2;
        MacroDescriptions[0] = QStringLiteral("Drill cycle");
        MacroDescriptions[1] = QStringLiteral("Tool change");
        fixture.main->mnuExit_Click();
        QVERIFY(!fixture.main->isVisible());
        const auto editor = [](const char* section, const char* key) {
            return ReadIniString(QLatin1String(section), QLatin1String(key), IniFile);
        };
        QCOMPARE(editor("Window", "Left"), QStringLiteral("1500"));
        QCOMPARE(editor("Window", "Top"), QStringLiteral("900"));
        QCOMPARE(editor("Window", "Width"), QStringLiteral("9000"));
        QCOMPARE(editor("Window", "Height"), QStringLiteral("6000"));
        QCOMPARE(editor("Window", "Windowstate"), QStringLiteral("0"));
        QCOMPARE(editor("Directory", "DefaultDir"), fixture.Path(QStringLiteral("Jobs")));
        QCOMPARE(editor("Directory", "DefaultExt"), QStringLiteral("NC Code (*.nc)|*.nc"));
        const auto macro = [](const char* key) {
            return ReadIniString(QStringLiteral("Macros"), QLatin1String(key), MacroIniFile);
        };
        QCOMPARE(macro("Macronumber"), QStringLiteral("2"));
        QCOMPARE(macro("Macro1"), QStringLiteral("Drill cycle"));
        QCOMPARE(macro("Macro2"), QStringLiteral("Tool change"));
        QCOMPARE(answers.msgBoxes().size(), 4);
    }

    // A window saved by its Yes during a shutdown that a later window
    // cancels holds nothing unsaved: closing it later asks nothing.
    void documentSavedByACancelledShutdownIsNotAskedAgain()
    {
        DocumentFixture fixture;
        frmNotePad* a = OpenFile(fixture, QStringLiteral("a.nc"), "A\r\n");
        frmNotePad* b = OpenFile(fixture, QStringLiteral("b.nc"), "B\r\n");
        Type(*a, QStringLiteral("X"));
        Type(*b, QStringLiteral("Y"));

        platform::ScriptedAnswers answers;
        answers.answerMsgBox(platform::vbYes);
        answers.answerMsgBox(platform::vbCancel);
        QVERIFY(!fixture.main->close());
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("a.nc"))), QByteArray("XA\r\n"));
        QVERIFY(!DocumentState[1].Modified);
        QVERIFY(DocumentState[2].Modified);
        QVERIFY(TextChanged);   // b still holds changes

        fixture.main->ShowDocument(a);
        a->mnuFClose_Click();
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(OpenDocumentCount(), 1);

        // The last changes saved by the question: nothing is left unsaved.
        answers.answerMsgBox(platform::vbYes);
        b->mnuFClose_Click();
        QCOMPARE(answers.msgBoxes().size(), 3);
        QCOMPARE(OpenDocumentCount(), 0);
        QCOMPARE(FileBytes(fixture.Path(QStringLiteral("b.nc"))), QByteArray("YB\r\n"));
        QVERIFY(!TextChanged);
    }

    // "Working..." comes and goes during an NC command: the user types on in
    // the document afterwards without clicking it first.
    void ncCommandLeavesTheFocusInTheEditor()
    {
        DocumentFixture fixture;
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        frmNotePad* window = OpenFile(fixture, QStringLiteral("part.nc"), "G00X1.Y2.\r\nG01Z-3.\r\n");
        window->Text1()->SetFocus();
        QTRY_VERIFY(window->Text1()->isAncestorOf(QApplication::focusWidget()));

        window->mnuSpaceInsert_Click();
        QCOMPARE(window->Text1()->GetLine(0), QStringLiteral("G00 X1. Y2."));
        QVERIFY(frmMsg::Loaded() == nullptr);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), fixture.main.get());
        QVERIFY(window->Text1()->isAncestorOf(QApplication::focusWidget()));
    }

    // After each dialog, message box and "Working..." window the keyboard is
    // back in the document: Ctrl+S saves and Ctrl+O opens at once, with no
    // click into the text first.
    void shortcutsWorkAfterEachWindow_data()
    {
        QTest::addColumn<QString>("step");
        for (const char* step : {"open dialog", "save as dialog", "save all dialog", "insert file dialog",
                                 "message box", "working window", "tip of the day"})
            QTest::newRow(step) << QString::fromLatin1(step);
    }
    void shortcutsWorkAfterEachWindow()
    {
        QFETCH(QString, step);
        DocumentFixture fixture;
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        frmNotePad* first = OpenFile(fixture, QStringLiteral("a.nc"), "G00X1.Y2.\r\nG01Z-3.\r\n");
        QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("b.nc")), "M30\r\n"));
        first->Text1()->SetFocus();
        QTRY_VERIFY(first->Text1()->isAncestorOf(QApplication::focusWidget()));

        platform::ScriptedAnswers answers;
        BoxesAsWindows boxes;
        if (step == QLatin1String("open dialog")) {
            answers.scriptModal(ChooseFiles(fixture.Folder(), {"b.nc"}));
            first->mnuFOpen_Click();
            QCOMPARE(fixture.Active()->Caption(), fixture.Path(QStringLiteral("b.nc")).toUpper());
        } else if (step == QLatin1String("save as dialog")) {
            answers.scriptModal(ChooseFiles(fixture.Folder(), {"c.nc"}));
            first->mnuFSaveAs_Click();
            QCOMPARE(first->FilePath, fixture.Path(QStringLiteral("c.nc")));
        } else if (step == QLatin1String("save all dialog")) {
            fixture.main->mnuNew_Click();
            Type(*fixture.Active(), QStringLiteral("M30"));
            answers.scriptModal(ChooseFiles(fixture.Folder(), {"new.nc"}));
            fixture.Active()->mnuFSaveAll_Click();
            QCOMPARE(fixture.Active()->FilePath, fixture.Path(QStringLiteral("new.nc")));
        } else if (step == QLatin1String("insert file dialog")) {
            answers.scriptModal(ChooseFiles(fixture.Folder(), {"b.nc"}));
            first->mnuInsertFile_Click();
            QCOMPARE(first->Text1()->GetLine(0), QStringLiteral("M30"));
        } else if (step == QLatin1String("message box")) {
            first->mnuECopy_Click();   // nothing selected
            QCOMPARE(boxes.prompts, QStringList{"No text selected to copy."});
        } else if (step == QLatin1String("working window")) {
            first->mnuSpaceInsert_Click();
            QCOMPARE(first->Text1()->GetLine(0), QStringLiteral("G00 X1. Y2."));
        } else {
            answers.scriptModal([](QDialog& dialog) {
                (void)QTest::qWaitForWindowActive(&dialog, 2000);
                dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
            fixture.main->mnuShowTip_Click();
            QCOMPARE(answers.modals().size(), 1);
        }
        QCOMPARE(answers.modals().size() - answers.unscriptedCount(), answers.modals().size());

        frmNotePad* active = fixture.Active();
        QTRY_COMPARE(QApplication::activeWindow(), fixture.main.get());
        QTRY_VERIFY(active->Text1()->isAncestorOf(QApplication::focusWidget()));
        // Ctrl+S writes the document.
        Type(*active, QStringLiteral("(SAVED)"));
        QVERIFY(!active->IsUntitled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(FileBytes(active->FilePath).startsWith("(SAVED)"));
        QVERIFY(!DocumentState[static_cast<size_t>(SlotOf(*active))].Modified);
        // Ctrl+O asks for files.
        const qsizetype before = answers.modals().size();
        answers.scriptModal(CancelDialog());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(answers.modals().size(), before + 1);
        QCOMPARE(answers.modals().last().windowTitle, QStringLiteral("Open File(s)"));
        QTRY_VERIFY(active->Text1()->isAncestorOf(QApplication::focusWidget()));
    }

    // Once a document is open its text fills the window: files dropped on
    // it (on any pane of a split view) open as a drop on the main window
    // does, while dragged text stays with the editor.
    void filesDroppedOnADocumentOpen()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), "A\r\n");
        for (const char* name : {"b.nc", "c.nc", "d.nc"})
            QVERIFY(WriteFileBytes(fixture.Path(QLatin1String(name)), "M30\r\n"));
        const auto drag = [](QWidget* target, const QMimeData& data) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &move);
            QDropEvent drop(QPointF(6, 6), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            return enter.isAccepted() && move.isAccepted() && drop.isAccepted();
        };
        const auto files = [&fixture](const QStringList& names) {
            auto data = std::make_unique<QMimeData>();
            QList<QUrl> urls;
            for (const QString& name : names)
                urls.append(QUrl::fromLocalFile(fixture.Path(name)));
            data->setUrls(urls);
            return data;
        };

        platform::ScriptedAnswers answers;
        QVERIFY(drag(window->Text1()->Pane(0)->viewport(), *files({"b.nc", "c.nc"})));
        // The last dropped first, then tiled.
        QCOMPARE(Captions(), (QStringList{fixture.Path("a.nc").toUpper(), fixture.Path("c.nc").toUpper(),
                                          fixture.Path("b.nc").toUpper()}));
        QCOMPARE(window->Text1()->Text(), QStringLiteral("A\r\n"));

        // A pane that a split added later.
        window->Text1()->SetHSplitterPos(100);
        QCOMPARE(window->Text1()->PaneCount(), 2);
        QVERIFY(drag(window->Text1()->Pane(1)->viewport(), *files({"d.nc"})));
        QCOMPARE(OpenDocumentCount(), 4);
        QCOMPARE(fixture.Active()->Caption(), fixture.Path("d.nc").toUpper());
        QCOMPARE(window->Text1()->Text(), QStringLiteral("A\r\n"));

        // Text is the editor's own: no document comes of it.
        QMimeData text;
        text.setText(QStringLiteral("G00"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->Text1()->Pane(0)->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragLeaveEvent leave;
        QApplication::sendEvent(window->Text1()->Pane(0)->viewport(), &leave);
        QCOMPARE(OpenDocumentCount(), 4);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void sampleProgramOpensForEditing()
    {
        DocumentFixture fixture;
        const QString sample =
            qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/resources/samples/BRACKET.NC");
        const QByteArray bytes = FileBytes(sample);
        QVERIFY(bytes.startsWith("%\r\nO1001"));
        frmNotePad* window = OpenFile(fixture, QStringLiteral("BRACKET.NC"), bytes);
        QVERIFY(window != nullptr);
        QVERIFY(window->Text1()->LineCount() > 30);
        QVERIFY(!window->Text1()->ReadOnly());
        window->Text1()->ReplaceText(QStringLiteral("S5000"), {10, 4, 10, 9});
        window->mnuFSave_Click();
        QVERIFY(FileBytes(fixture.Path(QStringLiteral("BRACKET.NC"))).contains("N60 S5000 M03\r\n"));
    }

};

REGISTER_TEST(TestNotePad);
#include "tst_frmNotePad.moc"
