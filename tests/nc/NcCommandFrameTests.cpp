#include "nc/FrameFixture.h"
#include "nc/NcCommandFrame.h"
#include "nc/NcResult.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/forms/ScriptedAnswers.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>
#include <QTest>

#include <climits>
#include "support/TestRegistry.h"
#include "support/CodeMaxRangeType.h"


namespace {

struct Command {
    const char* name;
    void (*run)();
    bool bulkEdit;       // BulkEditRunning while it writes
    bool waitPointer;    // the wait pointer while it writes
    bool textChanged;    // sets TextChanged itself
    bool modified;       // marks the slot itself
    bool caretToStart;   // caret to the first line and focus afterwards
};

const Command Commands[] = {
    {"InsertBlockNumbers", InsertBlockNumbersCommand, true, true, true, true, true},
    {"RemoveBlockNumbers", RemoveBlockNumbersCommand, true, true, true, true, true},
    {"RemoveLeadingZeros", RemoveLeadingZerosCommand, false, true, false, true, true},
    {"InsertSpaces", InsertSpacesCommand, false, true, true, true, true},
    {"RemoveSpaces", RemoveSpacesCommand, false, true, true, true, true},
    {"RemoveBlankLines", RemoveBlankLinesCommand, false, false, true, false, true},
    {"DoIncremental", DoIncremental, false, false, false, false, false},
    {"DoAbsolute", DoAbsolute, false, false, false, false, false},
};

const Command& CommandNamed(const QString& name)
{
    for (const Command& command : Commands)
        if (name == QLatin1String(command.name))
            return command;
    qFatal("no command %s", qPrintable(name));
}

// What the editing control shows at the moment the command writes.
struct WriteMoment {
    int writes = 0;
    bool bulkEdit = false;
    bool waitPointer = false;
    bool working = false;
};

QMetaObject::Connection Watch(platform::CodeMax& text, WriteMoment& moment)
{
    return QObject::connect(&text, &platform::CodeMax::ContentChange, &text, [&moment](platform::CodeMax*) {
        ++moment.writes;
        moment.bulkEdit = BulkEditRunning;
        moment.waitPointer = platform::IsWaitCursor();
        moment.working = frmMsg::Loaded() != nullptr;
    });
}

const QByteArray FrameProgram = "%\r\nO1000\r\n(PART)\r\nN5 G00 X10 Y5\r\n\r\nN010G91X20 Y5\r\n\r\nM30\r\n";

}  // namespace

class TestNcCommandFrame : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        // Every command leaves the program-wide state as it found it.
        QVERIFY(!BulkEditRunning);
        QVERIFY(!SearchingG91);
        QVERIFY(!DialogCancelled);
        QVERIFY(!platform::IsWaitCursor());
        QVERIFY(frmMsg::Loaded() == nullptr);
    }

    // ---- the text written, as one edit

    void commandWritesOneUndoStep_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("expected");  // as the program sees it (CR LF)

        QTest::newRow("insert block numbers")
            << "InsertBlockNumbers" << FrameProgram
            << QByteArray("%\r\nO1000\r\n(PART)\r\nN010G00 X10 Y5\r\n\r\nN020G91X20 Y5\r\n\r\nN030M30\r\n");
        QTest::newRow("insert block numbers without %")
            << "InsertBlockNumbers" << QByteArray("G00 X0\r\nM30") << QByteArray("N010G00 X0\r\nN020M30");
        QTest::newRow("insert block numbers, LF file")
            << "InsertBlockNumbers" << QByteArray("G00\nM30\n") << QByteArray("N010G00\r\nN020M30\r\n");
        QTest::newRow("remove block numbers keeps final break")
            << "RemoveBlockNumbers" << QByteArray("N10 G01 X1\r\nN20 (N30 CUT)\r\nNEXT\r\n")
            << QByteArray("G01 X1\r\n(N30 CUT)\r\nNEXT\r\n");
        QTest::newRow("remove block numbers, no final break")
            << "RemoveBlockNumbers" << QByteArray("N10 G01\r\nN20 X1") << QByteArray("G01\r\nX1");
        QTest::newRow("remove leading zeros")
            << "RemoveLeadingZeros" << QByteArray("N005 G01\r\nN0005\r\nN010\r\nN100 n005\r\n")
            << QByteArray("N5 G01\r\nN5\r\nN10\r\nN100 n005\r\n");
        QTest::newRow("insert spaces")
            << "InsertSpaces" << QByteArray("N10G01X1.5Y-2.0\r\nG01X1(CMT) Y2\r\n\r\n/1N10G00")
            << QByteArray("N10 G01 X1.5 Y-2.0\r\nG01 X1 (CMT) Y2\r\n\r\n/1 N10 G00");
        QTest::newRow("remove spaces")
            << "RemoveSpaces" << QByteArray("N10 G01 X 1.5 (ROUGH CUT)\r\nO 1000\r\n")
            << QByteArray("N10G01X1.5(ROUGH CUT)\r\nO 1000\r\n");
        QTest::newRow("remove blank lines")
            << "RemoveBlankLines" << QByteArray("\r\nA\r\n\r\n\r\nB\r\n\r\n") << QByteArray("A\r\nB\r\n");
        QTest::newRow("remove blank lines, LF file")
            << "RemoveBlankLines" << QByteArray("A\n\nB\n") << QByteArray("A\r\nB\r\n");
        QTest::newRow("incremental")
            << "DoIncremental" << QByteArray("G90\r\nG01 X10 Y5\r\nX20 Y5 (X99)\r\nX25.5\r\nX20\r\n")
            << QByteArray("G90\r\nG01 X10 Y5\r\nX10.0000 Y0.0000 (X99)\r\nX5.5000\r\nX-5.5000\r\n");
        QTest::newRow("absolute")
            << "DoAbsolute" << QByteArray("G91\r\nX10 Z1\r\nX10 Z-1\r\nX5.5\r\nX-5.5")
            << QByteArray("G91\r\nX10 Z1\r\nX20.0000 Z0.0000\r\nX25.5000\r\nX20.0000");
    }
    void commandWritesOneUndoStep()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open(file);
        platform::CodeMax& text = *window.Text1();
        const QString before = text.Text();
        WriteMoment moment;
        Watch(text, moment);

        CommandNamed(command).run();

        QCOMPARE(text.Text().toUtf8(), expected);
        QCOMPARE(moment.writes, 1);
        // The document keeps its own line breaks.
        QByteArray inFile = expected;
        if (!file.contains("\r\n"))
            inFile.replace("\r\n", "\n");
        QCOMPARE(fixture.Saved(window), inFile);
        text.Undo();
        QCOMPARE(text.Text(), before);
        QVERIFY(!text.CanUndo());
    }

    // A file that is not UTF-8 is read and written byte for byte: its accented comment survives.
    void latin1DocumentStaysLatin1()
    {
        FrameFixture fixture;
        DocumentForm& window = fixture.Open("N10 G01 X1 (CAF\xC9 \xB0)\r\n");

        RemoveSpacesCommand();

        QCOMPARE(window.Text1()->Text(), QStringLiteral("N10G01X1(CAF\u00C9 \u00B0)\r\n"));
        QCOMPARE(fixture.Saved(window), QByteArray("N10G01X1(CAF\xC9 \xB0)\r\n"));
    }

    // A file mixing CR LF and LF lines keeps each line's own break, whole text or selected lines.
    void keepsEachLinesOwnBreak_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");

        QTest::newRow("remove spaces")
            << "RemoveSpaces" << QByteArray("A B\r\nC D\nE F\r\n") << QByteArray("AB\r\nCD\nEF\r\n");
        QTest::newRow("insert block numbers")
            << "InsertBlockNumbers" << QByteArray("%\nG00 X0\r\nG01 X1\nM30\r\n")
            << QByteArray("%\nN010G00 X0\r\nN020G01 X1\nN030M30\r\n");
        QTest::newRow("incremental")
            << "DoIncremental" << QByteArray("G90\nX10\r\nX20\nX25\r\n")
            << QByteArray("G90\nX10\r\nX10.0000\nX5.0000\r\n");
        QTest::newRow("remove blank lines")
            << "RemoveBlankLines" << QByteArray("A\n\r\nB\r\n\nC\n") << QByteArray("A\nB\r\nC\n");
        // A CR alone is a line break too: that text is read with CR LF breaks and comes back in
        // the document's main style, as before.
        QTest::newRow("lone CR")
            << "RemoveSpaces" << QByteArray("A B\rC D\rE F\r\n") << QByteArray("AB\rCD\rEF\r");
    }
    void keepsEachLinesOwnBreak()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open(file);
        platform::CodeMax& text = *window.Text1();
        WriteMoment moment;
        Watch(text, moment);

        CommandNamed(command).run();

        QCOMPARE(moment.writes, 1);
        QCOMPARE(fixture.Saved(window), saved);
        text.Undo();
        QVERIFY(!text.CanUndo());
        QCOMPARE(fixture.Saved(window), file);
    }

    void numberingSelectedLinesKeepsEachLinesOwnBreak()
    {
        FrameFixture fixture;
        const QByteArray file("%\nG00 X0\r\nG01 X1\nG02 X2\r\nM30\n");
        DocumentForm& window = fixture.Open(file);
        platform::CodeMax& text = *window.Text1();
        text.SetSel({1, 2, 3, 1}, false);
        NumPopup = 0;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("cmdBut0"))->click();
        });

        InsertBlockNumbersCommand();

        QCOMPARE(fixture.Saved(window), QByteArray("%\nN010G00 X0\r\nN020G01 X1\nN030G02 X2\r\nM30\n"));
        text.Undo();
        QVERIFY(!text.CanUndo());
        QCOMPARE(fixture.Saved(window), file);
    }

    // Latin-1 bytes, mixed breaks and a read-only document: the command's write still applies.
    void latin1MixedBreaksKeepTheirBytes()
    {
        FrameFixture fixture;
        const QByteArray file("(\xC9T\xC9)\nG01 X\xB0" "1\r\nM30 \xFF\n");
        DocumentForm& window = fixture.Open(file);
        platform::CodeMax& text = *window.Text1();
        text.SetReadOnly(true);

        RemoveSpacesCommand();

        QVERIFY(text.ReadOnly());
        QCOMPARE(fixture.Saved(window), QByteArray("(\xC9T\xC9)\nG01X\xB0" "1\r\nM30\xFF\n"));
        text.Undo();  // read-only holds the user's Undo back
        text.SetReadOnly(false);
        text.Undo();
        QCOMPARE(fixture.Saved(window), file);
        QVERIFY(!text.CanUndo());
    }

    // ---- the frame around the text procedure

    void frameFollowsTheCommandTable_data()
    {
        QTest::addColumn<QString>("command");
        for (const Command& command : Commands)
            QTest::newRow(command.name) << command.name;
    }
    void frameFollowsTheCommandTable()
    {
        QFETCH(QString, command);
        const Command& row = CommandNamed(command);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open(FrameProgram);
        platform::CodeMax& text = *window.Text1();
        text.SetSel({3, 2, 3, 2}, false);
        // The focus elsewhere, for the command to bring back.
        QLineEdit elsewhere(&fixture.Main());
        elsewhere.show();
        elsewhere.setFocus();
        QVERIFY(!FrameFixture::HasFocus(text));
        WriteMoment moment;
        Watch(text, moment);
        platform::ScriptedAnswers answers;

        row.run();

        QCOMPARE(moment.writes, 1);
        QCOMPARE(moment.bulkEdit, row.bulkEdit);
        QCOMPARE(moment.waitPointer, row.waitPointer);
        QVERIFY(moment.working);
        QCOMPARE(TextChanged, row.textChanged);
        QCOMPARE(FrameFixture::Modified(window), row.modified);
        const platform::CodeMaxRange caret = text.GetSel(false);
        if (row.caretToStart) {
            QCOMPARE(caret, (platform::CodeMaxRange{0, 0, 0, 0}));
            QVERIFY(FrameFixture::HasFocus(text));
        } else {
            // Where the write-back left it: after the new text.
            const int last = text.LineCount() - 1;
            QCOMPARE(caret, (platform::CodeMaxRange{last, 0, last, 0}));
            QVERIFY(!FrameFixture::HasFocus(text));
        }
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    void guardsLeaveShortDocumentsAlone_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("runs");
        QTest::newRow("insert spaces, one line") << "InsertSpaces" << QByteArray("G01X1") << false;
        QTest::newRow("incremental, one line") << "DoIncremental" << QByteArray("G91 X1") << false;
        QTest::newRow("absolute, one line") << "DoAbsolute" << QByteArray("G91 X1") << false;
        QTest::newRow("blank lines, one line") << "RemoveBlankLines" << QByteArray("A") << false;
        QTest::newRow("remove spaces, one line") << "RemoveSpaces" << QByteArray("G01 X1") << true;
        QTest::newRow("remove numbers, one line") << "RemoveBlockNumbers" << QByteArray("N10 G01") << true;
        QTest::newRow("insert numbers, one line") << "InsertBlockNumbers" << QByteArray("G01") << true;
        QTest::newRow("zeros, one line") << "RemoveLeadingZeros" << QByteArray("N005") << true;
    }
    void guardsLeaveShortDocumentsAlone()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, file);
        QFETCH(bool, runs);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open(file);
        platform::CodeMax& text = *window.Text1();
        text.SetSel({0, 1, 0, 1}, false);
        platform::ScriptedAnswers answers;

        CommandNamed(command).run();

        QCOMPARE(text.CanUndo(), runs);
        if (!runs) {
            QCOMPARE(text.Text().toUtf8(), file);
            QCOMPARE(text.GetSel(false), (platform::CodeMaxRange{0, 1, 0, 1}));
            QVERIFY(!TextChanged);
            QVERIFY(!FrameFixture::Modified(window));
        }
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // ---- refusals and failures: a message, nothing written, the flags put back

    void refusedTextIsNotWritten_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::newRow("insert spaces, program error")
            << "InsertSpaces" << QByteArray("G01X1\r\n100\r\nM30\r\n")
            << QString::fromStdString(ProgramErrorText(2)) << "Talvex Editor";
        QTest::newRow("incremental, unreadable value")
            << "DoIncremental" << QByteArray("X1\r\nX2\r\nY1\r\nX1.2.3\r\n")
            << "The coordinate value at line 4 is not a number. The program was left unchanged."
            << "Talvex Editor";
        QTest::newRow("absolute, unreadable value")
            << "DoAbsolute" << QByteArray("G91\r\nZ-\r\n")
            << "The coordinate value at line 2 is not a number. The program was left unchanged."
            << "Talvex Editor";
    }
    void refusedTextIsNotWritten()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QFETCH(QString, title);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open(file);
        platform::CodeMax& text = *window.Text1();
        platform::ScriptedAnswers answers;

        CommandNamed(command).run();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QCOMPARE(answers.msgBoxes()[0].title, title);
        QCOMPARE(text.Text().toUtf8(), file);
        QVERIFY(!text.CanUndo());
        QVERIFY(!text.Modified());
        QVERIFY(!TextChanged);
        QVERIFY(!FrameFixture::Modified(window));
    }

    void numberOutOfRangeClearsBulkEditRunning()
    {
        FrameFixture fixture;
        DocumentForm& window = fixture.Open("G01\r\nG02\r\n");
        Startnumber = INT_MIN;
        Increment = -1;
        platform::ScriptedAnswers answers;
        bool bulkAtMessage = true;
        platform::SetMsgBoxHandler([&](const QString&, int, const QString&) {
            bulkAtMessage = BulkEditRunning || platform::IsWaitCursor() || frmMsg::Loaded() != nullptr;
            return platform::vbOK;
        });

        InsertBlockNumbersCommand();

        platform::SetMsgBoxHandler({});
        QVERIFY(!bulkAtMessage);
        QCOMPARE(window.Text1()->Text(), QStringLiteral("G01\r\nG02\r\n"));
        QVERIFY(!window.Text1()->CanUndo());
    }

    // A window that goes while the command lets events run is not written, nor is any other.
    void closedDocumentIsNotWrittenNorAnother()
    {
        FrameFixture fixture;
        DocumentForm& other = fixture.Open("G01 X1\r\n");
        DocumentForm& window = fixture.Open("N10 G01\r\nN20 X1\r\n");
        QCOMPARE(ActiveDocumentForm(), &window);
        platform::ScriptedAnswers answers;
        QPointer<DocumentForm> gone(&window);
        QTimer::singleShot(0, &window, [&] {
            fixture.Main().mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(other.parentWidget()));
            UnloadDocument(window, vbFormCode, false);
        });

        RemoveBlockNumbersCommand();

        QVERIFY(gone.isNull());
        QCOMPARE(other.Text1()->Text(), QStringLiteral("G01 X1\r\n"));
        QVERIFY(!other.Text1()->CanUndo());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QVERIFY(!TextChanged);
    }

    // The commands that report a failure with their own message: the window goes while the
    // command lets events run, nothing is written and the flags are cleared.
    void failureShowsTheCommandsMessage_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("remove spaces") << "RemoveSpaces" << "Error removing spaces.";
        QTest::newRow("insert spaces") << "InsertSpaces" << "An error was encountered while inserting spaces";
    }
    void failureShowsTheCommandsMessage()
    {
        QFETCH(QString, command);
        QFETCH(QString, message);
        FrameFixture fixture;
        DocumentForm& other = fixture.Open("G01 X1\r\nG02X2\r\n");
        DocumentForm& window = fixture.Open("G01 X1\r\nG02X2\r\n");
        platform::ScriptedAnswers answers;
        QPointer<DocumentForm> gone(&window);
        QTimer::singleShot(0, &window, [&] {
            fixture.Main().mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(other.parentWidget()));
            UnloadDocument(window, vbFormCode, false);
        });

        CommandNamed(command).run();

        QVERIFY(gone.isNull());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, message);
        QCOMPARE(answers.msgBoxes()[0].style, int(platform::vbCritical));
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        QCOMPARE(other.Text1()->Text(), QStringLiteral("G01 X1\r\nG02X2\r\n"));
        QVERIFY(!other.Text1()->CanUndo());
        QVERIFY(!TextChanged);
    }

    // Another window made active while the command runs does not change its target.
    void commandKeepsTheDocumentItStartedOn()
    {
        FrameFixture fixture;
        DocumentForm& other = fixture.Open("G01 X1\r\n");
        DocumentForm& window = fixture.Open("G01  X1\r\nG02 X2\r\n");
        QTimer::singleShot(0, &window, [&] {
            fixture.Main().mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(other.parentWidget()));
        });

        RemoveSpacesCommand();

        QCOMPARE(window.Text1()->Text(), QStringLiteral("G01X1\r\nG02X2\r\n"));
        QCOMPARE(other.Text1()->Text(), QStringLiteral("G01 X1\r\n"));
        QVERIFY(FrameFixture::Modified(window));
        QVERIFY(!FrameFixture::Modified(other));
    }

    // ---- the G91 search of the absolute conversion

    void absoluteWithoutG91ConvertsNothing()
    {
        FrameFixture fixture;
        DocumentForm& window = fixture.Open("G90\r\nX10\r\nX10\r\n");
        platform::CodeMax& text = *window.Text1();
        // The user's last Find options do not hide a "G91" (nor find a "g91").
        text.SetFindMatchCase(false);
        text.SetFindWholeWord(true);
        platform::ScriptedAnswers answers;

        DoAbsolute();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("G91 was not found!"));
        QCOMPARE(text.Text(), QStringLiteral("G90\r\nX10\r\nX10\r\n"));
        QVERIFY(!text.CanUndo());
        QVERIFY(!text.FindMatchCase());
        QVERIFY(text.FindWholeWord());

        // g91 is not G91; "G91X" is.
        fixture.Open("g91\r\nX10\r\nX10\r\n");
        DoAbsolute();
        QCOMPARE(answers.msgBoxes().size(), 2);
        DocumentForm& found = fixture.Open("G91X0\r\nX10\r\nX10\r\n");
        found.Text1()->SetFindWholeWord(true);
        DoAbsolute();
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(found.Text1()->Text(), QStringLiteral("G91X0\r\nX10.0000\r\nX20.0000\r\n"));
    }

    // ---- Insert Block Numbers: the popup and the selection

    void numberingPopupStartAndStep_data()
    {
        QTest::addColumn<int>("numPopup");
        QTest::addColumn<bool>("staleCancel");  // a Cancel of another dialog left DialogCancelled set
        QTest::newRow("popup") << 1 << false;
        QTest::newRow("popup after a stale cancel") << 1 << true;
        QTest::newRow("no popup") << 0 << false;
    }
    void numberingPopupStartAndStep()
    {
        QFETCH(int, numPopup);
        QFETCH(bool, staleCancel);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open("G00\r\nG01\r\n");
        NumPopup = numPopup;
        DialogCancelled = staleCancel;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("100"));
            dialog.findChild<QLineEdit*>(QStringLiteral("txtIncrement"))->setText(QStringLiteral(" 5 "));
            dialog.findChild<QPushButton*>(QStringLiteral("cmdBut0"))->click();
        });

        InsertBlockNumbersCommand();

        if (numPopup == 1) {
            QCOMPARE(answers.modals().size(), 1);
            QCOMPARE(answers.modals()[0].className, QStringLiteral("frmNumPopup"));
            QCOMPARE(window.Text1()->Text(), QStringLiteral("N100G00\r\nN105G01\r\n"));
            // The values stay in force for later runs.
            QCOMPARE(Startnumber, 100);
            QCOMPARE(Increment, 5);
        } else {
            QCOMPARE(answers.modals().size(), 0);
            QCOMPARE(window.Text1()->Text(), QStringLiteral("N010G00\r\nN020G01\r\n"));
        }
        DialogCancelled = false;
    }

    void numberingPopupCancelChangesNothing_data()
    {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("whole text, Cancel") << false << false;
        QTest::newRow("whole text, close box") << false << true;
        QTest::newRow("selection, Cancel") << true << false;
    }
    void numberingPopupCancelChangesNothing()
    {
        QFETCH(bool, selection);
        QFETCH(bool, closeBox);
        FrameFixture fixture;
        DocumentForm& window = fixture.Open("G00\r\nG01\r\n");
        platform::CodeMax& text = *window.Text1();
        if (selection)
            text.SetSel({0, 0, 1, 1}, false);
        NumPopup = 1;
        platform::ScriptedAnswers answers;
        answers.scriptModal([closeBox](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("500"));
            if (closeBox)
                dialog.close();
            else
                dialog.findChild<QPushButton*>(QStringLiteral("cmdBut1"))->click();
        });

        InsertBlockNumbersCommand();

        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(text.Text(), QStringLiteral("G00\r\nG01\r\n"));
        QVERIFY(!text.CanUndo());
        QCOMPARE(Startnumber, 10);
        QCOMPARE(Increment, 10);
        QVERIFY(!FrameFixture::Modified(window));
    }

    void numberingSelectionRenumbersWholeLines_data()
    {
        QTest::addColumn<platform::CodeMaxRange>("selection");
        // From inside line 1 to inside line 3, made downward and upward.
        QTest::newRow("downward") << platform::CodeMaxRange{1, 3, 3, 2};
        QTest::newRow("upward") << platform::CodeMaxRange{3, 2, 1, 3};
    }
    void numberingSelectionRenumbersWholeLines()
    {
        QFETCH(platform::CodeMaxRange, selection);
        FrameFixture fixture;
        const QString before = QStringLiteral("%\r\nN5 G00 X0\r\n(CUT)\r\nG01 X1\r\nM30\r\n");
        DocumentForm& window = fixture.Open(before.toUtf8());
        platform::CodeMax& text = *window.Text1();
        text.SetSel(selection, false);
        NumPopup = 0;  // the popup asks whatever NumPopup says
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("txtStart"))->setText(QStringLiteral("7"));
            dialog.findChild<QLineEdit*>(QStringLiteral("txtIncrement"))->setText(QStringLiteral("3"));
            dialog.findChild<QPushButton*>(QStringLiteral("cmdBut0"))->click();
        });
        WriteMoment moment;
        Watch(text, moment);

        InsertBlockNumbersCommand();

        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(text.Text(), QStringLiteral("%\r\nN007G00 X0\r\n(CUT)\r\nN010G01 X1\r\nM30\r\n"));
        QCOMPARE(moment.writes, 1);
        QVERIFY(moment.waitPointer);
        QVERIFY(!moment.bulkEdit);
        QVERIFY(!moment.working);
        // The popup's values served this run only.
        QCOMPARE(Startnumber, 10);
        QCOMPARE(Increment, 10);
        text.Undo();
        QCOMPARE(text.Text(), before);
        QVERIFY(!text.CanUndo());
    }
};

REGISTER_TEST(TestNcCommandFrame);

#include "NcCommandFrameTests.moc"
