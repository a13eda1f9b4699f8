#include "document/frmNotePad.h"
#include "nc/FrameFixture.h"
#include "nc/NcCommandFrame.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditCommands.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <climits>
#include "support/TestRegistry.h"

namespace {

}  // namespace

// The commands in the editor's own document window, with its change, selection and not-found
// handling.
class TestFrameInDocumentWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        QVERIFY(!BulkEditRunning);
        QVERIFY(!SearchingG91);
        QVERIFY(!DialogCancelled);
        QVERIFY(!platform::IsWaitCursor());
        QVERIFY(frmMsg::Loaded() == nullptr);
    }

    void ncMenusAsListed()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01\r\n"));
        QStringList nc;
        for (const QAction* item : window.mnuNC->actions())
            nc.append(item->isSeparator() ? QStringLiteral("-") : item->objectName() + ": " + item->text());
        QCOMPARE(nc, (QStringList{"mnuInsertNumbers: &Insert Block Numbers",
                                  "mnuRemoveBlockNumbers: &Remove Block Numbers",
                                  "RemoveZeros: Remove Leading Number &Zeros", "-", "mnuSpaceInsert: Insert &Spaces",
                                  "mnuSpaceRemove: Remove Spaces", "mnuRemoveBlankLines: Remove &Blank Lines",
                                  "mnuAddMachine: &Add/Delete Machine"}));
        // Add/Delete Machine does nothing.
        platform::ScriptedAnswers answers;
        window.mnuNC->findChild<QAction*>(QStringLiteral("mnuAddMachine"))->trigger();
        QCOMPARE(window.Text1()->Text(), QStringLiteral("G01\r\n"));
        QVERIFY(!window.Text1()->CanUndo());
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(answers.modals().size(), 0);
        QStringList utilities;
        for (const QAction* item : window.mnuUtilities->actions())
            utilities.append(item->objectName() + ": " + item->text());
        QCOMPARE(utilities, (QStringList{"mnuG90: &Absolute G90", "mnuG91: &Incremental G91",
                                         "mnuClipboard: &Clipboard Extender",
                                         "mnuSwitch: &Switch XYZ...", "mnuChangeMain: Change &Value...",
                                         "mnuShiftAddress: Shift &Address", "mnuSyntax: Syntax &Checker",
                                         "mnuUBar1: ", "mnuLineHighlight: &Highlight Line"}));
        for (int i : {8, 9, 11, 12})
            QVERIFY(window.mnuPEdit[static_cast<std::size_t>(i)]->isVisible());
    }

    void ncMenuItemsRunTheirCommands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const QByteArray program = "G91\r\nN5 G01 X1  Y1\r\n\r\nN005 X2\r\n";
        QTest::newRow("insert numbers") << "mnuInsertNumbers" << program
                                        << "N010G91\r\nN020G01 X1  Y1\r\n\r\nN030X2\r\n";
        QTest::newRow("remove numbers") << "mnuRemoveBlockNumbers" << program << "G91\r\nG01 X1  Y1\r\n\r\nX2\r\n";
        QTest::newRow("zeros") << "RemoveZeros" << program << "G91\r\nN5 G01 X1  Y1\r\n\r\nN5 X2\r\n";
        QTest::newRow("insert spaces") << "mnuSpaceInsert" << program << "G91\r\nN5 G01 X1 Y1\r\n\r\nN005 X2\r\n";
        QTest::newRow("remove spaces") << "mnuSpaceRemove" << program << "G91\r\nN5G01X1Y1\r\n\r\nN005X2\r\n";
        QTest::newRow("blank lines") << "mnuRemoveBlankLines" << program << "G91\r\nN5 G01 X1  Y1\r\nN005 X2\r\n";
        QTest::newRow("incremental") << "mnuG91" << program << "G91\r\nN5 G01 X1  Y1\r\n\r\nN005 X1.0000\r\n";
        QTest::newRow("absolute") << "mnuG90" << program << "G91\r\nN5 G01 X1  Y1\r\n\r\nN005 X3.0000\r\n";
        QTest::newRow("popup: insert numbers") << "mnuPEdit8" << program
                                               << "N010G91\r\nN020G01 X1  Y1\r\n\r\nN030X2\r\n";
        QTest::newRow("popup: remove numbers") << "mnuPEdit9" << program << "G91\r\nG01 X1  Y1\r\n\r\nX2\r\n";
        QTest::newRow("popup: remove spaces") << "mnuPEdit11" << program << "G91\r\nN5G01X1Y1\r\n\r\nN005X2\r\n";
        QTest::newRow("popup: insert spaces") << "mnuPEdit12" << program
                                              << "G91\r\nN5 G01 X1 Y1\r\n\r\nN005 X2\r\n";
    }
    void ncMenuItemsRunTheirCommands()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::ScriptedAnswers answers;
        QAction* action = window.findChild<QAction*>(item);
        QVERIFY(action != nullptr);

        action->trigger();

        QCOMPARE(window.Text1()->Text(), expected);
        QCOMPARE(answers.msgBoxes().size(), 0);
        QVERIFY(FrameFixture::Modified(window));
        EditUndo();
        QCOMPARE(window.Text1()->Text().toUtf8(), file);
    }

    void insertBlockNumbersIsOneUndoStep()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("%\r\nG00 X0\r\nN5 G01 X1\r\nM30"));
        platform::CodeMax& text = *window.Text1();
        text.SetSel({2, 3, 2, 3}, false);
        QApplication::processEvents();
        platform::ScriptedAnswers answers;
        // The document window ignores selection changes while the whole text is rewritten.
        platform::CodeMaxRange rangeAtWrite;
        connect(&text, &platform::CodeMax::ContentChange, this,
                [&](platform::CodeMax*) { rangeAtWrite = window.CurrentRange; });

        window.mnuInsertNumbers->trigger();

        QCOMPARE(text.Text(), QStringLiteral("%\r\nN010G00 X0\r\nN020G01 X1\r\nN030M30"));
        QCOMPARE(rangeAtWrite, (platform::CodeMaxRange{2, 3, 2, 3}));
        // Then it follows the selection again: the caret is on the first line.
        QCOMPARE(window.CurrentRange, (platform::CodeMaxRange{0, 0, 0, 0}));
        QVERIFY(TextChanged);
        QVERIFY(FrameFixture::Modified(window));
        QVERIFY(FrameFixture::HasFocus(text));
        EditUndo();
        QCOMPARE(text.Text(), QStringLiteral("%\r\nG00 X0\r\nN5 G01 X1\r\nM30"));
        QVERIFY(!text.CanUndo());
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // After a failed numbering the window follows the selection again.
    void failedNumberingLeavesSelectionHandlingOn()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01\r\nG02\r\nG03\r\n"));
        platform::CodeMax& text = *window.Text1();
        Startnumber = INT_MIN;
        Increment = -1;
        platform::ScriptedAnswers answers;

        InsertBlockNumbersCommand();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(answers.msgBoxes()[0].style & 0x70, platform::vbCritical);
        QVERIFY(!TextChanged);
        text.SetSel({1, 1, 2, 2}, false);
        QApplication::processEvents();
        QCOMPARE(window.CurrentRange, (platform::CodeMaxRange{1, 1, 2, 2}));
        QCOMPARE(text.Text(), QStringLiteral("G01\r\nG02\r\nG03\r\n"));
    }

    // The G91 search reports through the window's not-found handling, once.
    void absoluteWithoutG91ReportsOnce()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G90\r\nX10\r\nX20\r\n"));
        platform::CodeMax& text = *window.Text1();
        platform::ScriptedAnswers answers;

        window.mnuG90->trigger();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("G91 was not found!"));
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbExclamation);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QCOMPARE(text.Text(), QStringLiteral("G90\r\nX10\r\nX20\r\n"));
        QVERIFY(!text.CanUndo());
        // A later failed search says the usual thing.
        text.SetFindText(QStringLiteral("Q99"));
        text.ExecuteCmd(platform::CodeMaxCmd::FindMarkAll);
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[1].prompt, QStringLiteral("Data was not found!"));
    }

    void insertSpacesProgramErrorLeavesDocumentUnmodified()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01X1\r\n#1=5\r\n"));
        platform::CodeMax& text = *window.Text1();
        platform::ScriptedAnswers answers;

        window.mnuSpaceInsert->trigger();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Program error at line #  2"));
        QCOMPARE(text.Text(), QStringLiteral("G01X1\r\n#1=5\r\n"));
        QVERIFY(!text.CanUndo());
        QVERIFY(!text.CanRedo());
        QVERIFY(!TextChanged);
        QVERIFY(!FrameFixture::Modified(window));
    }
};

REGISTER_TEST(TestFrameInDocumentWindow);

#include "DocumentWindowTests.moc"
