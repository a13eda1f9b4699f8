// Text, lines, ranges and selection of the editing control.

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/Error.h"
#include "support/CodeMaxRangeType.h"

#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::CodeMax;
using platform::CodeMaxPosition;
using platform::CodeMaxRange;


namespace {

// Counts the control's change events.
struct Events {
    explicit Events(CodeMax& c)
    {
        QObject::connect(&c, &CodeMax::ContentChange, [this](CodeMax*) { ++content; });
        QObject::connect(&c, &CodeMax::SelectionChange, [this](CodeMax*) { ++selection; });
        QObject::connect(&c, &CodeMax::CaretNotify, [this](CodeMax*) { ++caret; });
    }
    int content = 0, selection = 0, caret = 0;
};

class TestCodeMaxText : public QObject {
    Q_OBJECT
private slots:
    void lineModel_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("empty") << "" << 1 << "";
        QTest::newRow("one line") << "G01 X1" << 1 << "G01 X1";
        QTest::newRow("two lines") << "A\r\nB" << 2 << "B";
        QTest::newRow("final break") << "A\r\nB\r\n" << 3 << "";
        QTest::newRow("lone LF is a break") << "A\nB" << 2 << "B";
        QTest::newRow("non-ASCII") << "(\u00e9t\u00e9)\r\nX\u00b0" << 2 << "X\u00b0";
    }
    void lineModel()
    {
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(QString, lastLine);
        CodeMax c;
        c.SetText(text);
        QCOMPARE(c.LineCount(), lines);
        QCOMPARE(c.GetLine(lines - 1), lastLine);
        QString expected = text;
        expected.replace("\r\n", "\n").replace("\n", "\r\n");
        QCOMPARE(c.Text(), expected);  // always CR LF
    }

    void lineOutsideTextIsRefused()
    {
        CodeMax c;
        c.SetText("A\r\nB");
        QVERIFY_THROWS_EXCEPTION(platform::Error, c.GetLine(5));
        QVERIFY_THROWS_EXCEPTION(platform::Error, c.GetLine(-1));
        QVERIFY_THROWS_EXCEPTION(platform::Error, c.DeleteLine(2));
        QVERIFY_THROWS_EXCEPTION(platform::Error, c.SetSel({2, 0, 5, 0}, true));
        QVERIFY_THROWS_EXCEPTION(platform::Error, c.ReplaceText("x", {0, 0, 7, 0}));
        QCOMPARE(c.Text(), QString("A\r\nB"));
    }

    void deleteLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("result");
        QTest::newRow("first") << "A\r\nB" << 0 << "B";
        QTest::newRow("middle") << "A\r\nB\r\nC" << 1 << "A\r\nC";
        QTest::newRow("empty last line takes the break before it") << "A\r\nB\r\n" << 2 << "A\r\nB";
        QTest::newRow("last line") << "A\r\nB" << 1 << "A";
        QTest::newRow("only line") << "A" << 0 << "";
    }
    void deleteLine()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, result);
        CodeMax c;
        c.SetText(text);
        Events events(c);
        c.DeleteLine(line);
        QCOMPARE(c.Text(), result);
        QCOMPARE(events.content, 1);
    }

    void replaceTextIsOneUndoStep()
    {
        CodeMax c;
        c.SetText("L0\r\nL1\r\nL2");
        Events events(c);
        c.ReplaceText("X\r\n", {0, 0, 1, 2});
        QCOMPARE(c.Text(), QString("X\r\n\r\nL2"));
        QCOMPARE(c.GetSel(true), (CodeMaxRange{1, 0, 1, 0}));
        QCOMPARE(events.content, 1);
        QVERIFY(events.selection >= 1);
        c.Undo();
        QCOMPARE(c.Text(), QString("L0\r\nL1\r\nL2"));
        c.Undo();  // SetText was the first step
        QVERIFY(!c.CanUndo());
    }

    void replaceWholeLargeTextIsOneUndoStep()
    {
        CodeMax c;
        QString text, renumbered;
        for (int i = 0; i < 20000; ++i) {
            text += QString("N%1 G01 X%2\r\n").arg(i).arg(i % 97);
            renumbered += QString("N%1 G01 X%2\r\n").arg(i * 10).arg(i % 97);
        }
        c.SetText(text);
        c.ReplaceText(renumbered, {0, 0, c.LineCount() - 1, 0});
        QCOMPARE(c.Text(), renumbered);
        c.Undo();
        QCOMPARE(c.Text(), text);
    }

    void columnsClampToLineEnd()
    {
        CodeMax c;
        c.SetText("ABC\r\nDEF");
        c.ReplaceText("x", {0, 99, 1, 1});
        QCOMPARE(c.Text(), QString("ABCxEF"));
    }

    void columnsCountCharactersNotBytes()
    {
        CodeMax c;
        c.SetText("\u00e9\u00e9\u00e9XYZ\r\n\u20ac1");
        c.SetSel({0, 3, 0, 5}, false);
        QCOMPARE(c.SelText(), QString("XY"));
        c.SetSel({1, 2, 0, 1}, false);  // backwards
        QCOMPARE(c.GetSel(false), (CodeMaxRange{1, 2, 0, 1}));
        QCOMPARE(c.GetSel(true), (CodeMaxRange{0, 1, 1, 2}));
        c.ReplaceText("E", {1, 0, 1, 1});
        QCOMPARE(c.GetLine(1), QString("E1"));
    }

    // A column that falls inside a character of two code units (the second
    // half of an emoji) means that character's start, never the line's end.
    void columnInsideACharacterSnapsToItsStart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CodeMaxRange>("range");
        QTest::addColumn<QString>("selected");   // SelText after SetSel(range)
        QTest::addColumn<QString>("replaced");   // Text after ReplaceText("#", range)
        const QString smile = QStringLiteral("\U0001F600");
        QTest::newRow("start inside") << smile + "AB" << CodeMaxRange{0, 1, 0, 3} << smile + "A" << "#B";
        QTest::newRow("start and end inside") << smile + "AB" << CodeMaxRange{0, 1, 0, 1} << "" << "#" + smile + "AB";
        QTest::newRow("end inside") << "x" + smile + "y" << CodeMaxRange{0, 0, 0, 2} << "x" << "#" + smile + "y";
        QTest::newRow("just after the character") << smile + "AB" << CodeMaxRange{0, 2, 0, 3} << "A" << smile + "#B";
        QTest::newRow("inside the second of two") << smile + smile << CodeMaxRange{0, 3, 0, 4} << smile << smile + "#";
        QTest::newRow("past the end clamps") << smile << CodeMaxRange{0, 1, 0, 9} << smile << "#";
        QTest::newRow("after one- and two-byte characters") << QStringLiteral("\u00e9\u20ac") + smile + "x"
            << CodeMaxRange{0, 3, 0, 5} << smile + "x" << QStringLiteral("\u00e9\u20ac#");
        QTest::newRow("second line, across lines") << "A\r\nB" + smile + "C" << CodeMaxRange{0, 1, 1, 2}
            << "\r\nB" << "A#" + smile + "C";
    }
    void columnInsideACharacterSnapsToItsStart()
    {
        QFETCH(QString, text);
        QFETCH(CodeMaxRange, range);
        QFETCH(QString, selected);
        QFETCH(QString, replaced);
        CodeMax c;
        c.SetText(text);
        c.SetSel(range, false);
        QCOMPARE(c.SelText(), selected);
        c.ReplaceText("#", range);
        QCOMPARE(c.Text(), replaced);
    }

    void selectionRanges()
    {
        CodeMax c;
        c.SetText("0\r\n1\r\n2\r\n3xyz\r\n4");
        c.SetSel({3, 2, 1, 0}, true);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{3, 2, 1, 0}));
        QCOMPARE(c.GetSel(true), (CodeMaxRange{1, 0, 3, 2}));
        QCOMPARE(c.SelText(), QString("1\r\n2\r\n3x"));
        c.SetSel({2, 0, 2, 0}, false);
        QCOMPARE(c.SelText(), QString());
        QCOMPARE(c.GetSel(false), (CodeMaxRange{2, 0, 2, 0}));
    }

    void selTextAssignmentReplacesOrInserts()
    {
        CodeMax c;
        c.SetText("N10 X1\r\nN20");
        c.SetSel({0, 4, 0, 6}, false);
        c.SetSelText("Y2\r\nZ3");
        QCOMPARE(c.Text(), QString("N10 Y2\r\nZ3\r\nN20"));
        QCOMPARE(c.GetSel(false), (CodeMaxRange{1, 2, 1, 2}));
        c.SetSelText("!");  // nothing selected: goes in at the caret
        QCOMPARE(c.GetLine(1), QString("Z3!"));
        c.SetSel({0, 0, 0, 4}, false);
        c.SetSelText("");
        QCOMPARE(c.GetLine(0), QString("Y2"));
    }

    void addTextGoesInAtTheCaret()
    {
        CodeMax c;
        c.SetText("AB\r\nCD");
        c.SetSel({1, 1, 0, 1}, false);  // caret at (0,1), a selection
        Events events(c);
        c.AddText("xy\r\n");
        QCOMPARE(c.Text(), QString("Axy\r\nB\r\nCD"));
        QCOMPARE(c.GetSel(false), (CodeMaxRange{1, 0, 1, 0}));
        QCOMPARE(events.content, 1);
    }

    void eventsComeBeforeTheCallReturns()
    {
        CodeMax c;
        Events events(c);
        c.SetText("A\r\nB");
        QCOMPARE(events.content, 1);
        c.ExecuteCmd(platform::CodeMaxCmd::DocumentEnd);
        QCOMPARE(events.selection, 1);
        QCOMPARE(events.caret, 1);
        c.ExecuteCmd(platform::CodeMaxCmd::LineStart);  // a plain caret move
        QCOMPARE(events.selection, 2);
        c.ExecuteCmd(platform::CodeMaxCmd::LineStart);  // no move: no event
        QCOMPARE(events.selection, 2);
        QCOMPARE(events.content, 1);
    }

    void editsFromOutsideRaiseContentChangeOnce()
    {
        // Edits the control did not make itself (a drop, an input method)
        // are reported once the edit is over.
        CodeMax c;
        c.SetText("AB");
        Events events(c);
        c.ActivePane()->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 1UL, "xy");
        c.ActivePane()->SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 0UL, "z");
        QCOMPARE(events.content, 0);
        QCoreApplication::processEvents();
        QCOMPARE(events.content, 1);
        QCOMPARE(c.Text(), QString("zAxyB"));
    }

    void mouseButtonsAndFocus()
    {
        CodeMax c;
        c.SetText("N10 X1");
        QList<int> downs, ups;
        int focus = 0;
        connect(&c, &CodeMax::MouseDown, [&](CodeMax*, int button, int, int, int) { downs.append(button); });
        connect(&c, &CodeMax::MouseUp, [&](CodeMax*, int button, int shift, int, int) { ups.append(button * 10 + shift); });
        connect(&c, &CodeMax::GotFocus, [&](CodeMax*) { ++focus; });
        c.show();
        c.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c));
        c.SetFocus();
        QTRY_COMPARE(focus, 1);
        QWidget* viewport = c.ActivePane()->viewport();
        QTest::mouseClick(viewport, Qt::RightButton, Qt::ShiftModifier, QPoint(20, 5));
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5));
        QCOMPARE(downs, (QList<int>{2, 1}));
        QCOMPARE(ups, (QList<int>{21, 10}));
    }

    void replaceWithSameTextChangesNothing()
    {
        CodeMax c;
        c.SetText("A\r\nB");
        Events events(c);
        c.ReplaceText("A\r\nB", {0, 0, 1, 1});
        QCOMPARE(events.content, 0);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{1, 1, 1, 1}));
    }

    void replaceKeepsBookmarksOfUnchangedLines()
    {
        CodeMax c;
        c.SetText("N1\r\nN2\r\nN3\r\nN4");
        c.SetSel({3, 0, 3, 0}, false);
        c.ExecuteCmd(platform::CodeMaxCmd::BookmarkToggle);
        c.ReplaceText("N1\r\nN22\r\nN3\r\nN4", {0, 0, 3, 2});  // a whole-text rewrite
        c.ExecuteCmd(platform::CodeMaxCmd::DocumentStart);
        c.ExecuteCmd(platform::CodeMaxCmd::BookmarkNext);
        QCOMPARE(c.GetSel(false).startLine, 3);
    }

    // The byte-level pair converts nothing: each line keeps its own break and a
    // Latin-1 document gives and takes its own bytes; one undo step, one event.
    void documentBytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<CodeMaxRange>("range");
        QTest::addColumn<QByteArray>("inRange");
        QTest::addColumn<QByteArray>("saved");
        const CodeMaxRange whole{-1, -1, -1, -1};
        QTest::newRow("mixed breaks, whole")
            << QByteArray("A\r\nB\nC\r\n") << QByteArray("X\nY\r\nZ\n") << whole
            << QByteArray("A\r\nB\nC\r\n") << QByteArray("X\nY\r\nZ\n");
        QTest::newRow("mixed breaks, lines")
            << QByteArray("A\r\nB\nC\r\nD\n") << QByteArray("X\r\nY\nZ") << CodeMaxRange{1, 0, 2, 1}
            << QByteArray("B\nC") << QByteArray("A\r\nX\r\nY\nZ\r\nD\n");
        QTest::newRow("Latin-1, whole")
            << QByteArray("(\xC9)\nX\xB0\r\n") << QByteArray("(\xC9\xC9)\nX\xFF\r\n") << whole
            << QByteArray("(\xC9)\nX\xB0\r\n") << QByteArray("(\xC9\xC9)\nX\xFF\r\n");
        // Columns count characters, as for ReplaceText.
        QTest::newRow("UTF-8, columns")
            << QByteArray("(\xC3\xA9t\xC3\xA9)\nB\r\n") << QByteArray("E") << CodeMaxRange{0, 1, 0, 2}
            << QByteArray("\xC3\xA9") << QByteArray("(Et\xC3\xA9)\nB\r\n");
    }
    void documentBytesRoundTrip()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, bytes);
        QFETCH(CodeMaxRange, range);
        QFETCH(QByteArray, inRange);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath("x.nc");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(file);
        }
        const auto savedBytes = [&](CodeMax& c) {
            c.SaveFile(path, false);
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        CodeMax c;
        c.OpenFile(path);
        const bool whole = range.startLine < 0;
        const std::string before = whole ? c.DocumentBytes() : c.DocumentBytes(range);
        QCOMPARE(QByteArray::fromStdString(before), inRange);
        Events events(c);
        if (whole)
            c.ReplaceDocumentBytes(bytes.toStdString());
        else
            c.ReplaceDocumentBytes(bytes.toStdString(), range);
        QCOMPARE(events.content, 1);
        QCOMPARE(QByteArray::fromStdString(c.DocumentBytes()), saved);
        QCOMPARE(savedBytes(c), saved);
        c.Undo();
        QVERIFY(!c.CanUndo());
        QCOMPARE(savedBytes(c), file);
    }

    // Read-only holds the user back, not the program: the programs make a
    // file read-only after opening it and then write into it (compare panes).
    void programEditsApplyWhenReadOnly_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("result");
        // Text "AB\r\nCD", "B" selected with the caret after it.
        QTest::newRow("SetText") << "SetText" << "X";
        QTest::newRow("SetSelText") << "SetSelText" << "AX\r\nCD";
        QTest::newRow("AddText") << "AddText" << "ABX\r\nCD";
        QTest::newRow("ReplaceText") << "ReplaceText" << "AB\r\nX";
        QTest::newRow("DeleteLine") << "DeleteLine" << "CD";
        QTest::newRow("InsertFile") << "InsertFile" << "AB\r\nX\r\nCD";
        QTest::newRow("ReplaceDocumentBytes") << "ReplaceDocumentBytes" << "X";
        QTest::newRow("ReplaceDocumentBytes range") << "ReplaceDocumentBytes range" << "AB\r\nX";
    }
    void programEditsApplyWhenReadOnly()
    {
        QFETCH(QString, call);
        QFETCH(QString, result);
        QTemporaryDir dir;
        const QString file = dir.filePath("x.nc");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("X\r\n");
        }
        CodeMax c;
        c.SetText("AB\r\nCD");
        c.SetSel({0, 1, 0, 2}, false);
        c.SetReadOnly(true);
        QList<bool> readOnlyInEvent;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax* control) { readOnlyInEvent.append(control->ReadOnly()); });
        if (call == "SetText")
            c.SetText("X");
        else if (call == "SetSelText")
            c.SetSelText("X");
        else if (call == "AddText")
            c.AddText("X");
        else if (call == "ReplaceText")
            c.ReplaceText("X", {1, 0, 1, 2});
        else if (call == "DeleteLine")
            c.DeleteLine(0);
        else if (call == "ReplaceDocumentBytes")
            c.ReplaceDocumentBytes("X");
        else if (call == "ReplaceDocumentBytes range")
            c.ReplaceDocumentBytes("X", {1, 0, 1, 2});
        else
            c.InsertFile(file, {1, 0});
        QCOMPARE(c.Text(), result);
        QCOMPARE(readOnlyInEvent, QList<bool>{true});  // one event, and still read-only in it
        QVERIFY(c.ReadOnly());

        // The user stays held back.
        c.SetSel({0, 0, 0, 0}, false);
        QTest::keyClicks(c.ActivePane(), "Z");
        QTest::keyClick(c.ActivePane(), Qt::Key_Delete);
        c.ExecuteCmd(platform::CodeMaxCmd::LineDelete);
        c.Undo();
        QCOMPARE(c.Text(), result);
        QCOMPARE(readOnlyInEvent.size(), 1);
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxText);
#include "tst_CodeMaxText.moc"
