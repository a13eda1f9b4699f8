// The edit commands on the active document, their guard messages, the
// typing mode and the status line.

#include "ShellFixture.h"
#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/Error.h"
#include "shell/MDIMain.h"
#include "shell/MEditCommands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

using platform::CodeMax;
using platform::CodeMaxRange;

namespace {

QStringList StatusLine(const MDIMain& main)
{
    return {main.labelInsert->text(), main.lblLine->text(), main.lblColumn->text(),
            main.lblTotalLines->text()};
}

// A new document holding text, made the active one.
CodeMax& NewText(MDIMain& main, const QString& text)
{
    NewDocument();
    CodeMax& control = *main.ActiveForm()->Text1();
    control.SetText(text);
    return control;
}

}  // namespace

class TestEditCommands : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        CreateDocumentForm = MakeFakeDocument;
        QGuiApplication::clipboard()->clear();
    }
    void cleanup() { CreateDocumentForm = nullptr; }

    void statusLineWithoutDocument()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        UpdateStatusBar();
        QCOMPARE(StatusLine(*main), (QStringList{"Ready", "Line: 0", "Col: 0", "Total Lines: 0"}));
    }

    void statusLineFollowsTheSelection_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CodeMaxRange>("selection");
        QTest::addColumn<QStringList>("status");
        QTest::newRow("caret at the start of one line")
            << "G00" << CodeMaxRange{0, 0, 0, 0}
            << QStringList{"Insert", "Line: 1", "Col: 1", "Total Lines: 1"};
        QTest::newRow("selection made backwards")
            << "N10\r\nN20 G01 X5.\r\nN30\r\nN40 G01 Y7.\r\nN50" << CodeMaxRange{3, 7, 1, 4}
            << QStringList{"Insert", "Line: 2", "Col: 5", "Total Lines: 5"};
        QTest::newRow("caret after a final line break")
            << "N10\r\nN20\r\n" << CodeMaxRange{2, 0, 2, 0}
            << QStringList{"Insert", "Line: 3", "Col: 1", "Total Lines: 3"};
    }
    void statusLineFollowsTheSelection()
    {
        QFETCH(QString, text);
        QFETCH(CodeMaxRange, selection);
        QFETCH(QStringList, status);
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        CodeMax& control = NewText(*main, text);
        control.SetSel(selection, true);
        UpdateStatusBar();
        QCOMPARE(StatusLine(*main), status);
        QCOMPARE(SelRange, selection.Normalized());
    }

    void guardMessages_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("title");
        QTest::newRow("copy") << 0 << "No text selected to copy." << platform::vbCritical << "Editor Error";
        QTest::newRow("cut") << 1 << "No text selected so cut." << platform::vbCritical << "Talvex Editor Error";
        QTest::newRow("paste") << 2 << "No text selected to paste." << platform::vbCritical
                               << "Talvex Editor Error";
        QTest::newRow("undo") << 3 << "Undo buffer is empty." << platform::vbInformation << "Talvex Editor";
        QTest::newRow("redo") << 4 << "Redo buffer is empty." << platform::vbInformation << "Talvex Editor";
    }
    void guardMessages()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        QFETCH(int, style);
        QFETCH(QString, title);
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        NewDocument();
        CodeMax& control = *main->ActiveForm()->Text1();
        control.OpenFile([&] {
            const QString path = fixture.ProgramPath(QStringLiteral("part.nc"));
            ShellFixture::WriteBytes(path, "G00 X1.\r\n");
            return path;
        }());
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        if (command == 2)
            QGuiApplication::clipboard()->clear();

        platform::ScriptedAnswers answers;
        void (*const commands[])() = {EditCopy, EditCut, EditPaste, EditUndo, EditRedo};
        commands[command]();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, text);
        QCOMPARE(answers.msgBoxes()[0].style, style);
        QCOMPARE(answers.msgBoxes()[0].title, title);
        QCOMPARE(control.Text(), QStringLiteral("G00 X1.\r\n"));
        QVERIFY(!DocumentState[1].Modified);
        if (command != 2)
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    }

    void cutCopyPasteAndDelete()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        CodeMax& control = NewText(*main, QStringLiteral("G00 X1.\r\nM30"));
        control.SetSel({0, 0, 0, 3}, true);
        EditCopy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("G00"));
        control.SetSel({0, 4, 0, 7}, true);
        EditCut();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("X1."));
        QCOMPARE(control.Text(), QStringLiteral("G00 \r\nM30"));

        DocumentState[1].Modified = false;
        SuppressClipCapture = true;
        control.SetSel({1, 0, 1, 0}, true);
        EditPaste();
        QCOMPARE(control.Text(), QStringLiteral("G00 \r\nX1.M30"));
        QVERIFY(DocumentState[1].Modified);
        QVERIFY(!SuppressClipCapture);

        control.SetSel({1, 3, 1, 6}, true);
        EditDelete();
        QCOMPARE(control.Text(), QStringLiteral("G00 \r\nX1."));
        EditSelectAll();
        QCOMPARE(control.GetSel(true), (CodeMaxRange{0, 0, 1, 3}));
    }

    void withoutDocument()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        platform::ScriptedAnswers answers;
        EditCopy();
        EditCut();
        EditPaste();
        EditUndo();
        EditRedo();
        ToggleInsertMode();
        QCOMPARE(answers.msgBoxes().size(), 0);
        EditSelectAll();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Select all error occured."));
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QVERIFY_THROWS_EXCEPTION(platform::Error, EditDelete());
    }

    void undoKeepsTheRedoItemInStep()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        NewDocument();
        DocumentForm* window = main->ActiveForm();
        auto* redo = new QAction(window);
        redo->setObjectName(QStringLiteral("mnuEditRedo"));
        CodeMax& control = *window->Text1();

        platform::ScriptedAnswers answers;
        EditUndo();   // nothing to undo: says so, and Redo follows anyway
        QCOMPARE(answers.msgBoxes().size(), 1);
        QVERIFY(!redo->isEnabled());

        control.SetText(QStringLiteral("G01"));
        DocumentState[1].Modified = false;
        EditUndo();
        QCOMPARE(control.Text(), QString());
        QVERIFY(redo->isEnabled());
        QVERIFY(!DocumentState[1].Modified);   // undo and redo leave the flag to the control's events
        EditRedo();
        QCOMPARE(control.Text(), QStringLiteral("G01"));
        QCOMPARE(answers.msgBoxes().size(), 1);
    }

    void insertKeyTogglesTheTypingMode()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        CodeMax& control = NewText(*main, QStringLiteral("G00"));
        ToggleInsertMode();
        QVERIFY(!InsertMode);
        QVERIFY(control.OverwriteMode());
        QCOMPARE(main->labelInsert->text(), QStringLiteral("Overwrite"));
        ToggleInsertMode();
        QVERIFY(InsertMode);
        QVERIFY(!control.OverwriteMode());
        QCOMPARE(main->labelInsert->text(), QStringLiteral("Insert"));
    }

    // Each document has its own typing mode: the status line shows the
    // active one's, and Insert switches that one.
    void typingModeFollowsTheActiveDocument()
    {
        ShellFixture fixture;
        const std::unique_ptr<MDIMain> main = Main({});
        CodeMax& first = NewText(*main, QStringLiteral("A"));
        ToggleInsertMode();
        QVERIFY(first.OverwriteMode());
        CodeMax& second = NewText(*main, QStringLiteral("B"));
        UpdateStatusBar();
        QCOMPARE(main->labelInsert->text(), QStringLiteral("Insert"));
        ToggleInsertMode();
        QVERIFY(second.OverwriteMode());
        QCOMPARE(main->labelInsert->text(), QStringLiteral("Overwrite"));
        QVERIFY(first.OverwriteMode());
    }
};

REGISTER_TEST(TestEditCommands);
#include "tst_MEditCommands.moc"
