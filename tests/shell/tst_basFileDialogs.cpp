// Opening, saving and inserting NC files: the dialogs, the document each
// file gets, and what a failure leaves behind.

#include "FileTestHelpers.h"
#include "ShellFixture.h"
#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MRecentFiles.h"
#include "shell/basFileDialogs.h"
#include "platform/forms/WaitCursor.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString ProgramErrorTitle = QStringLiteral("Talvex Editor Program Error.");

// The documents' frames in slot order.
QList<QMdiSubWindow*> Frames()
{
    QList<QMdiSubWindow*> frames;
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
        if (DocumentForm* window = DocumentWindow(slot))
            frames.append(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
    return frames;
}

// A document window that notes whether the wait pointer showed as it came up.
class WaitRecordingDocument : public FakeDocument {
public:
    void Form_Activate() override
    {
        FakeDocument::Form_Activate();
        if (waitWhenShown != nullptr)
            waitWhenShown->append(platform::IsWaitCursor());
    }
    QList<bool>* waitWhenShown = nullptr;
};

}  // namespace

class TestFileOpenSave : public QObject {
    Q_OBJECT
private slots:
    void init() { CreateDocumentForm = MakeFakeDocument; }
    void cleanup() { CreateDocumentForm = nullptr; }

    void fileTitle_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("displayPath");
        QTest::addColumn<QString>("title");
        QTest::newRow("untitled") << "Untitled:3" << 0 << "Untitled:3";
        QTest::newRow("full path shown") << "/nc/part.nc" << 1 << "/nc/part.nc";
        QTest::newRow("file name shown") << "/nc/part.nc" << 0 << "part.nc";
        QTest::newRow("dotted folder") << "/nc/v1.2/PART" << 0 << "PART";
        QTest::newRow("bare name keeps itself") << "part.nc" << 0 << "part.nc";
    }
    void fileTitle()
    {
        QFETCH(QString, path);
        QFETCH(int, displayPath);
        QFETCH(QString, title);
        ShellFixture fixture;
        DisplayPath = displayPath;
        QCOMPARE(GetFileTitle(path), title);
    }

    void openedFileBecomesTheActiveDocument()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString path = fixture.ProgramPath(QStringLiteral("part.nc"));
        QVERIFY(WriteFileBytes(path, "G00 X1.\r\nM30\r\n"));
        QVERIFY(OpenFileInWindow(path, false));

        DocumentForm* window = main->ActiveForm();
        QVERIFY(window != nullptr);
        QCOMPARE(window->Tag, QStringLiteral("1"));
        QCOMPARE(window->Caption(), path.toUpper());
        QCOMPARE(window->FilePath, path);
        QCOMPARE(DocumentPaths[0], path);
        QCOMPARE(OpenDocumentCount(), 1);
        QVERIFY(!DocumentState[1].Modified);
        QVERIFY(!window->Text1()->ReadOnly());
        QCOMPARE(main->lblTotalLines->text(), QStringLiteral("Total Lines: 3"));
    }

    // The caption shows the file name only, but the document still reads
    // and writes the file it came from.
    void fileNameCaptionStillSavesToTheRealFile()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        DisplayPath = 0;
        QDir(fixture.ProgramFolder()).mkpath(QStringLiteral("Jobs"));
        const QString path = fixture.ProgramPath(QStringLiteral("Jobs/Part.nc"));
        QVERIFY(WriteFileBytes(path, "OLD\r\n"));
        QVERIFY(OpenFileInWindow(path, false));
        DocumentForm* window = main->ActiveForm();
        QCOMPARE(window->Caption(), QStringLiteral("PART.NC"));
        QCOMPARE(DocumentPaths[0], QStringLiteral("Part.nc"));

        window->Text1()->SetText(QStringLiteral("NEW\r\n"));
        QVERIFY(SaveDocument(*window, window->FilePath));
        QCOMPARE(FileBytes(path), QByteArray("NEW\r\n"));
        // The caption and the path table show the path in upper case; the
        // next save still goes to the file as it is named on disk.
        QCOMPARE(window->Caption(), path.toUpper());
        QCOMPARE(DocumentPaths[0], path.toUpper());
        window->Text1()->SetText(QStringLiteral("NEWER\r\n"));
        QVERIFY(SaveDocument(*window, window->FilePath));
        QCOMPARE(FileBytes(path), QByteArray("NEWER\r\n"));
        QVERIFY(!QFileInfo::exists(path.toUpper()));
    }

    // A drop, "/f" and the recent files open through here alone: the wait
    // pointer shows while the file is read and never stays behind.
    void openShowsTheWaitPointerWhileItReads()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        QList<bool> waitWhenShown;
        CreateDocumentForm = [&waitWhenShown] {
            auto window = std::make_unique<WaitRecordingDocument>();
            window->waitWhenShown = &waitWhenShown;
            return std::unique_ptr<DocumentForm>(std::move(window));
        };
        const QString path = fixture.ProgramPath(QStringLiteral("part.nc"));
        QVERIFY(WriteFileBytes(path, "M30\r\n"));
        platform::SetWaitCursor(false);
        QVERIFY(OpenFileInWindow(path, false));
        QCOMPARE(waitWhenShown, QList<bool>{true});
        QVERIFY(!platform::IsWaitCursor());

        // A failure: its message comes with the normal pointer, whatever the
        // caller had set, and the pointer stays normal.
        QList<bool> waitAtMessage;
        platform::ScriptedAnswers answers;
        const platform::MsgBoxHandler previous =
            platform::SetMsgBoxHandler([&waitAtMessage](const QString&, int, const QString&) {
                waitAtMessage.append(platform::IsWaitCursor());
                return platform::vbOK;
            });
        for (const bool callerWait : {false, true}) {
            platform::SetWaitCursor(callerWait);
            QVERIFY(!OpenFileInWindow(fixture.ProgramPath(QStringLiteral("gone.nc")), false));
            QVERIFY(!platform::IsWaitCursor());
        }
        platform::SetMsgBoxHandler(previous);
        QCOMPARE(waitAtMessage, (QList<bool>{false, false}));
    }

    void failedOpenLeavesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing file") << "gone.nc";
        QTest::newRow("a folder") << "folder.nc";
    }
    void failedOpenLeavesNothing()
    {
        QFETCH(QString, name);
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        QDir(fixture.ProgramFolder()).mkdir(QStringLiteral("folder.nc"));
        NewDocument();
        platform::ScriptedAnswers answers;
        QVERIFY(!OpenFileInWindow(fixture.ProgramPath(name), false));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, ProgramErrorTitle);
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, platform::vbCritical);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(name));
        QCOMPARE(OpenDocumentCount(), 1);
        QCOMPARE(main->mdiArea->subWindowList().size(), 1);
        QCOMPARE(DocumentPaths[1], QString());
        QCOMPARE(main->ActiveForm()->Caption(), QStringLiteral("Untitled:1"));
    }

    void thirtyFirstDocumentIsRefused()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        for (int i = 0; i < MaxDocuments; ++i)
            NewDocument();
        QCOMPARE(OpenDocumentCount(), 30);
        const QString path = fixture.ProgramPath(QStringLiteral("part.nc"));
        QVERIFY(WriteFileBytes(path, "M30\r\n"));

        platform::ScriptedAnswers answers;
        QVERIFY(!OpenFileInWindow(path, false));
        NewDocument();
        QCOMPARE(answers.msgBoxes().size(), 2);
        for (const auto& box : answers.msgBoxes()) {
            QCOMPARE(box.title, ProgramErrorTitle);
            QVERIFY(box.prompt.contains(QStringLiteral("30")));
        }
        QCOMPARE(OpenDocumentCount(), 30);
        QCOMPARE(main->mdiArea->subWindowList().size(), 30);
        QCOMPARE(DocumentPaths[29], QStringLiteral("Untitled:30"));
    }

    void openDialogOpensEachChosenFileTiled()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString folder = fixture.ProgramFolder();
        for (const char* name : {"a.nc", "b.nc", "c.nc"})
            QVERIFY(WriteFileBytes(fixture.ProgramPath(QLatin1String(name)), "M30\r\n"));

        platform::ScriptedAnswers answers;
        answers.scriptModal(ChooseFiles(folder, {"c.nc", "a.nc", "b.nc"}));
        OpenFiles();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Open File(s)"));
        QCOMPARE(answers.msgBoxes().size(), 0);
        const QString c = fixture.ProgramPath("c.nc"), a = fixture.ProgramPath("a.nc"),
                      b = fixture.ProgramPath("b.nc");
        QCOMPARE(Captions(), (QStringList{c.toUpper(), a.toUpper(), b.toUpper()}));
        // The last one opened is the newest recent file.
        QCOMPARE((QStringList{RecentFile(1), RecentFile(2), RecentFile(3)}), (QStringList{b, a, c}));
        QVERIFY(!DialogCancelled);

        // Tiled side by side: full height, one column each, in slot order.
        const QList<QMdiSubWindow*> frames = Frames();
        const QRect area = main->mdiArea->viewport()->rect();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(frames[i]->geometry().top(), 0);
            QCOMPARE(frames[i]->geometry().height(), area.height());
            QCOMPARE(frames[i]->geometry().left(), area.width() * i / 3);
        }
    }

    // NC programs are often named without an extension: the name typed is
    // the file opened, in the Open dialog and in any open mode.
    void typedNameOpensAsItStands()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString folder = fixture.ProgramFolder();
        DefaultDir = folder;
        const QString program = fixture.ProgramPath(QStringLiteral("O1000"));
        QVERIFY(WriteFileBytes(program, "%\r\nO1000\r\nM30\r\n%\r\n"));

        platform::ScriptedAnswers answers;
        answers.scriptModal(ChooseFiles(folder, {"O1000"}));
        OpenFiles();
        QCOMPARE(Captions(), QStringList{program.toUpper()});
        QCOMPARE(answers.msgBoxes().size(), 0);

        for (const int mode : {1, OpenFileDialogCreate}) {
            answers.scriptModal(ChooseFiles(folder, {"O1000"}));
            QCOMPARE(ShowFileDialog(main.get(), QStringLiteral("Open"), QStringLiteral("Text Files (*.txt)|*.txt"), 1,
                                    QString(), folder, QStringLiteral("txt"), mode),
                     program);
        }
        // Saving still adds it.
        answers.scriptModal(ChooseFiles(folder, {"O2000"}));
        QCOMPARE(ShowFileDialog(main.get(), QStringLiteral("Save As"), QStringLiteral("Text Files (*.txt)|*.txt"), 1,
                                QString(), folder, QStringLiteral("txt"), SaveFileDialog),
                 fixture.ProgramPath(QStringLiteral("O2000.txt")));
    }

    void openDialogGoesOnPastAFileThatFails()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        for (const char* name : {"a.nc", "pipe.nc", "b.nc"})
            QVERIFY(WriteFileBytes(fixture.ProgramPath(QLatin1String(name)), "M30\r\n"));
        platform::ScriptedAnswers answers;
        answers.scriptModal([&fixture](QDialog& dialog) {
            ChooseFiles(fixture.ProgramFolder(), {"a.nc", "pipe.nc", "b.nc"})(dialog);
            // Chosen, then made a file no one can read before it is opened.
            QVERIFY(QFile::remove(fixture.ProgramPath("pipe.nc")));
            QCOMPARE(::mkfifo(QFile::encodeName(fixture.ProgramPath("pipe.nc")).constData(), 0644), 0);
        });
        OpenFiles();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(answers.msgBoxes()[0].prompt.contains(QStringLiteral("pipe.nc")));
        QCOMPARE(Captions(), (QStringList{fixture.ProgramPath("a.nc").toUpper(),
                                          fixture.ProgramPath("b.nc").toUpper()}));
    }

    void cancelledOpenIsForgottenByTheMainWindow()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        platform::ScriptedAnswers answers;
        answers.scriptModal(CancelDialog());
        OpenFiles();
        QVERIFY(DialogCancelled);
        DialogCancelled = false;

        answers.scriptModal(CancelDialog());
        main->mnuOpen_Click();
        QVERIFY(!DialogCancelled);
        QCOMPARE(OpenDocumentCount(), 0);
        QVERIFY(!main->ToolbarButton(*main->cToolbar1, QStringLiteral("Save"))->isEnabled());
    }

    void saveAsDialog()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        NewDocument();
        NewDocument();
        DocumentForm* second = main->ActiveForm();
        const QString folder = fixture.ProgramFolder();
        DefaultDir = folder;

        // Untitled:2 proposes Editor2.cnc; a name without an extension gets
        // the chosen filter's.
        platform::ScriptedAnswers answers;
        QString proposal;
        answers.scriptModal([&](QDialog& dialog) {
            proposal = dynamic_cast<QFileDialog&>(dialog).selectedFiles().value(0);
            ChooseFiles(folder, {"part"}, 1)(dialog);
        });
        QString path;
        QVERIFY(!GetSaveAsFileName(path, second));
        QCOMPARE(QFileInfo(proposal).fileName(), QStringLiteral("Editor2.cnc"));
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Save As"));
        QCOMPARE(path, QDir(folder).filePath(QStringLiteral("part.txt")));

        answers.scriptModal(ChooseFiles(folder, {"prog"}, 2));
        QVERIFY(!GetSaveAsFileName(path, second));
        QCOMPARE(path, QDir(folder).filePath(QStringLiteral("prog")));
        QVERIFY(!DialogCancelled);

        answers.scriptModal(CancelDialog());
        QVERIFY(GetSaveAsFileName(path, second));
        QCOMPARE(path, QString());
        QVERIFY(DialogCancelled);
    }

    // "part" with "Text Files" chosen writes part.txt: the dialog only saw
    // "part", so the existing part.txt must still be asked about.
    void saveAsAsksBeforeReplacingTheFileWithTheAddedExtension()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        NewDocument();
        const QString folder = fixture.ProgramFolder();
        DefaultDir = folder;
        const QString existing = QDir(folder).filePath(QStringLiteral("part.txt"));
        QVERIFY(WriteFileBytes(existing, "OLD\r\n"));

        // No: the dialog comes again with the name as typed; a name that is
        // free is then taken without a question.
        platform::ScriptedAnswers answers;
        answers.scriptModal(ChooseFiles(folder, {"part"}, 1));
        answers.answerMsgBox(platform::vbNo);
        QString again;
        answers.scriptModal([&](QDialog& dialog) {
            auto& files = dynamic_cast<QFileDialog&>(dialog);
            again = QFileInfo(files.selectedFiles().value(0)).fileName() + u'|' + files.selectedNameFilter();
            ChooseFiles(folder, {"other"}, 1)(dialog);
        });
        QString path;
        QVERIFY(!GetSaveAsFileName(path, main->ActiveForm()));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("part.txt already exists.\nDo you want to replace it?"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbYesNo | platform::vbExclamation);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Save As"));
        QVERIFY(again.startsWith(QStringLiteral("part|Text Files")));
        QCOMPARE(path, QDir(folder).filePath(QStringLiteral("other.txt")));
        QCOMPARE(answers.modals().size(), 2);

        // Yes replaces it.
        answers.scriptModal(ChooseFiles(folder, {"part"}, 1));
        answers.answerMsgBox(platform::vbYes);
        QVERIFY(!GetSaveAsFileName(path, main->ActiveForm()));
        QCOMPARE(path, existing);
        QCOMPARE(answers.msgBoxes().size(), 2);

        // No, then Cancel: nothing chosen.
        answers.scriptModal(ChooseFiles(folder, {"part"}, 1));
        answers.answerMsgBox(platform::vbNo);
        answers.scriptModal(CancelDialog());
        QVERIFY(GetSaveAsFileName(path, main->ActiveForm()));
        QCOMPARE(path, QString());
        QVERIFY(DialogCancelled);
        QCOMPARE(answers.pendingCount(), 0);
        QCOMPARE(answers.unscriptedCount(), 0);
        QCOMPARE(FileBytes(existing), QByteArray("OLD\r\n"));

        // The existing name typed whole is asked about once, by the same
        // question (the file dialog never asks on its own).
        answers.clear();
        answers.scriptModal(ChooseFiles(folder, {"part.txt"}, 1));
        answers.answerMsgBox(platform::vbYes);
        QVERIFY(!GetSaveAsFileName(path, main->ActiveForm()));
        QCOMPARE(path, existing);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("part.txt already exists.\nDo you want to replace it?"));
        QCOMPARE(answers.modals().size(), 1);
    }

    void saveAsTakesTheNewNameAndTitle()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        DisplayPath = 0;
        NewDocument();
        DocumentForm* window = main->ActiveForm();
        window->Text1()->SetText(QStringLiteral("G01 X5.\r\n"));
        const QString path = fixture.ProgramPath(QStringLiteral("Part.nc"));
        QVERIFY(SaveDocumentAs(*window, path));
        QCOMPARE(FileBytes(path), QByteArray("G01 X5.\r\n"));
        QCOMPARE(window->Caption(), QStringLiteral("PART.NC"));
        QCOMPARE(DocumentPaths[0], path.toUpper());
        QCOMPARE(window->FilePath, path);
        QVERIFY(!window->IsUntitled());
    }

    void failedSaveChangesNothing()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString path = fixture.ProgramPath(QStringLiteral("part.nc"));
        QVERIFY(WriteFileBytes(path, "OLD\r\n"));
        QVERIFY(OpenFileInWindow(path, false));
        DocumentForm* window = main->ActiveForm();
        window->Text1()->SetText(QString(100000, QLatin1Char('X')));

        platform::ScriptedAnswers answers;
        bool saved = true;
        {
            FullDisk full;
            saved = SaveDocumentAs(*window, fixture.ProgramPath(QStringLiteral("other.nc")));
            saved = saved || SaveDocument(*window, path);
        }
        QVERIFY(!saved);
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[0].title, ProgramErrorTitle);
        QCOMPARE(FileBytes(path), QByteArray("OLD\r\n"));
        QVERIFY(!QFileInfo::exists(fixture.ProgramPath(QStringLiteral("other.nc"))));
        QCOMPARE(window->Caption(), path.toUpper());
        QCOMPARE(window->FilePath, path);
        QCOMPARE(DocumentPaths[0], path);
        QVERIFY(window->Text1()->Modified());
    }

    void insertFileDialog()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        const QString path = fixture.ProgramPath(QStringLiteral("piece.NC"));
        QVERIFY(WriteFileBytes(path, "G00\r\n"));
        platform::ScriptedAnswers answers;
        QString filter;
        answers.scriptModal([&](QDialog& dialog) {
            filter = dynamic_cast<QFileDialog&>(dialog).selectedNameFilter();
            ChooseFiles(fixture.ProgramFolder(), {"piece.NC"})(dialog);
        });
        QCOMPARE(InsertFileDialog(), path);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("File Insert Open"));
        QVERIFY(filter.startsWith(QStringLiteral("All Files")));
        answers.scriptModal(CancelDialog());
        QCOMPARE(InsertFileDialog(), QString());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }
};

REGISTER_TEST(TestFileOpenSave);
#include "tst_basFileDialogs.moc"
