// ExecuteCmd: movement, selection, go to line, search, replace, bookmarks,
// typing modes and the find dialogs.

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxFindDialog.h"
#include "platform/forms/ScriptedAnswers.h"
#include "support/CodeMaxRangeType.h"

#include <Qsci/qsciscintilla.h>

#include <QCheckBox>
#include <QClipboard>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using platform::CodeMax;
using platform::CodeMaxRange;
namespace Cmd = platform::CodeMaxCmd;


namespace {

struct Failures {
    explicit Failures(CodeMax& c)
    {
        QObject::connect(&c, &CodeMax::CommandFailure,
                         [this](CodeMax*, int command, int code) { list.append({command, code}); });
    }
    QList<std::pair<int, int>> list;
};

const char* const program = "%\r\nO1000 (TEST)\r\nN10 G00 X0 Y0\r\nN20 G01 X10.5 F200\r\n"
                            "N30 G02 X20 Y5 R5\r\nN40 M05\r\nN50 M30\r\n%";

class TestCodeMaxCommands : public QObject {
    Q_OBJECT
private slots:
    void movement_data()
    {
        QTest::addColumn<CodeMaxRange>("start");
        QTest::addColumn<int>("command");
        QTest::addColumn<CodeMaxRange>("result");
        const CodeMaxRange mid{3, 4, 3, 4};
        QTest::newRow("137 select all") << mid << Cmd::SelectAll << CodeMaxRange{0, 0, 7, 1};
        QTest::newRow("155 line end") << mid << Cmd::LineEnd << CodeMaxRange{3, 18, 3, 18};
        QTest::newRow("154 line end extend") << mid << Cmd::LineEndExtend << CodeMaxRange{3, 4, 3, 18};
        QTest::newRow("165 home") << CodeMaxRange{1, 3, 1, 3} << Cmd::Home << CodeMaxRange{1, 0, 1, 0};
        QTest::newRow("164 home extend") << CodeMaxRange{1, 3, 1, 3} << Cmd::HomeExtend << CodeMaxRange{1, 3, 1, 0};
        QTest::newRow("151 line start") << mid << Cmd::LineStart << CodeMaxRange{3, 0, 3, 0};
        QTest::newRow("189 text start") << mid << Cmd::DocumentStart << CodeMaxRange{0, 0, 0, 0};
        QTest::newRow("188 text start extend") << mid << Cmd::DocumentStartExtend << CodeMaxRange{3, 4, 0, 0};
        QTest::newRow("191 text end") << mid << Cmd::DocumentEnd << CodeMaxRange{7, 1, 7, 1};
        QTest::newRow("190 text end extend") << mid << Cmd::DocumentEndExtend << CodeMaxRange{3, 4, 7, 1};
        QTest::newRow("149 line up") << mid << Cmd::LineUp << CodeMaxRange{2, 4, 2, 4};
        QTest::newRow("157 line down") << mid << Cmd::LineDown << CodeMaxRange{4, 4, 4, 4};
        QTest::newRow("156 line down extend") << mid << Cmd::LineDownExtend << CodeMaxRange{3, 4, 4, 4};
        QTest::newRow("201 char right") << mid << Cmd::CharRight << CodeMaxRange{3, 5, 3, 5};
        QTest::newRow("202 char left extend") << mid << Cmd::CharLeftExtend << CodeMaxRange{3, 4, 3, 3};
        QTest::newRow("136 select lines") << CodeMaxRange{2, 3, 3, 1} << Cmd::SelectLine << CodeMaxRange{2, 0, 4, 0};
        QTest::newRow("184 end of line first") << mid << Cmd::End << CodeMaxRange{3, 18, 3, 18};
        QTest::newRow("unknown number") << mid << 9999 << mid;
    }
    void movement()
    {
        QFETCH(CodeMaxRange, start);
        QFETCH(int, command);
        QFETCH(CodeMaxRange, result);
        CodeMax c;
        c.SetText(program);
        c.SetSel(start, false);
        c.ExecuteCmd(command);
        QCOMPARE(c.GetSel(false), result);
    }

    void editing_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<CodeMaxRange>("selection");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("clipboard");  // "XY" before each row
        // Text "AB\r\nCD\r\nEF".
        const CodeMaxRange caret{1, 1, 1, 1};
        QTest::newRow("160 line delete") << Cmd::LineDelete << caret << "AB\r\nEF" << "XY";
        QTest::newRow("158 delete to start") << Cmd::LineDeleteToStart << caret << "AB\r\nD\r\nEF" << "XY";
        QTest::newRow("159 delete to end") << Cmd::LineDeleteToEnd << caret << "AB\r\nC\r\nEF" << "XY";
        QTest::newRow("194 delete back") << Cmd::DeleteBack << caret << "AB\r\nD\r\nEF" << "XY";
        QTest::newRow("195 delete the selection") << Cmd::Delete << CodeMaxRange{1, 0, 2, 1} << "AB\r\nF" << "XY";
        QTest::newRow("195 with nothing selected does nothing") << Cmd::Delete << caret << "AB\r\nCD\r\nEF" << "XY";
        QTest::newRow("Delete key: the next character") << Cmd::DeleteKey << caret << "AB\r\nC\r\nEF" << "XY";
        QTest::newRow("212 new line") << Cmd::NewLine << caret << "AB\r\nC\r\nD\r\nEF" << "XY";
        QTest::newRow("152 open below") << Cmd::LineOpenBelow << caret << "AB\r\nCD\r\n\r\nEF" << "XY";
        QTest::newRow("153 open above") << Cmd::LineOpenAbove << caret << "AB\r\n\r\nCD\r\nEF" << "XY";
        QTest::newRow("140 paste") << Cmd::Paste << CodeMaxRange{1, 0, 1, 1} << "AB\r\nXYD\r\nEF" << "XY";
        QTest::newRow("161 line cut") << Cmd::LineCut << caret << "AB\r\nEF" << "CD\r\n";
        QTest::newRow("196 cut selection") << Cmd::CutSelection << CodeMaxRange{1, 0, 2, 1} << "AB\r\nF"
                                           << "CD\r\nE";
        QTest::newRow("197 cut") << Cmd::Cut << CodeMaxRange{0, 2, 0, 0} << "\r\nCD\r\nEF" << "AB";
        QTest::newRow("198 copy") << Cmd::Copy << CodeMaxRange{1, 0, 1, 2} << "AB\r\nCD\r\nEF" << "CD";
    }
    void editing()
    {
        QFETCH(int, command);
        QFETCH(CodeMaxRange, selection);
        QFETCH(QString, result);
        QFETCH(QString, clipboard);
        const QString original = "AB\r\nCD\r\nEF";
        QGuiApplication::clipboard()->setText("XY");
        CodeMax c;
        c.SetText(original);
        c.SetSel(selection, false);
        int changes = 0;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        c.ExecuteCmd(command);
        QCOMPARE(c.Text(), result);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(changes, result == original ? 0 : 1);
        if (changes > 0) {
            c.Undo();  // each command is one undo step
            QCOMPARE(c.Text(), original);
        }
    }

    void newLineUsesTheDocumentLineBreak()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("lf.nc");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("AB\nCD\n");
        f.close();
        CodeMax c;
        c.OpenFile(file);
        c.SetSel({0, 1, 0, 1}, false);
        c.ExecuteCmd(Cmd::NewLine);
        c.SaveFile(file, true);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("A\nB\nCD\n"));
    }

    void goToLine_data()
    {
        QTest::addColumn<long long>("data");
        QTest::addColumn<int>("line");
        QTest::newRow("line 4") << 4LL << 4;
        QTest::newRow("first") << 0LL << 0;
        QTest::newRow("past the end clamps") << 500LL << 7;
        QTest::newRow("below -1 clamps") << -7LL << 0;
    }
    void goToLine()
    {
        QFETCH(long long, data);
        QFETCH(int, line);
        CodeMax c;
        c.SetText(program);
        c.SetSel({2, 2, 3, 3}, false);
        c.ExecuteCmd(Cmd::GotoLine, data);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{line, 0, line, 0}));
    }

    void goToLineAsksTheUser()
    {
        CodeMax c;
        c.SetText(program);
        platform::ScriptedAnswers answers;
        answers.answerInputBox("6");
        answers.cancelInputBox();
        answers.answerInputBox("abc");
        c.ExecuteCmd(Cmd::GotoLine, -1);
        QCOMPARE(c.GetSel(false).endLine, 5);  // the user counts from 1
        c.ExecuteCmd(Cmd::GotoLine);  // cancelled: stays
        QCOMPARE(c.GetSel(false).endLine, 5);
        c.ExecuteCmd(Cmd::GotoLine);  // not a number: stays
        QCOMPARE(c.GetSel(false).endLine, 5);
        QCOMPARE(answers.inputBoxes().size(), 3);
        QCOMPARE(answers.inputBoxes().first().defaultText, QString("1"));
    }

    void findNextAndPrevious()
    {
        CodeMax c;
        c.SetText(program);
        Failures failures(c);
        c.SetFindText("M0");
        c.ExecuteCmd(Cmd::FindNext);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{5, 4, 5, 6}));
        QCOMPARE(c.SelText(), QString("M0"));
        c.ExecuteCmd(Cmd::FindNext);  // round the end: the same, only match
        QCOMPARE(c.GetSel(false), (CodeMaxRange{5, 4, 5, 6}));
        c.SetFindText("G0");
        c.ExecuteCmd(Cmd::FindPrev);  // backwards from line 5
        QCOMPARE(c.GetSel(true), (CodeMaxRange{4, 4, 4, 6}));
        c.ExecuteCmd(Cmd::FindPrev);
        QCOMPARE(c.GetSel(true), (CodeMaxRange{3, 4, 3, 6}));
        QVERIFY(failures.list.isEmpty());
        c.SetFindText("g0");  // match case is on by default
        c.ExecuteCmd(Cmd::FindNext);
        QCOMPARE(failures.list, (QList<std::pair<int, int>>{{Cmd::FindNext, 4}}));
        c.SetFindMatchCase(false);
        c.ExecuteCmd(Cmd::FindNext);
        QCOMPARE(failures.list.size(), 1);
        c.SetFindText("ZZZ");
        c.ExecuteCmd(Cmd::FindPrev);
        QCOMPARE(failures.list.last(), (std::pair<int, int>{Cmd::FindPrev, 4}));
    }

    void findWordAtCaret()
    {
        CodeMax c;
        c.SetText("X10 Y20\r\nY30 X10");
        c.SetSel({0, 1, 0, 1}, false);
        c.ExecuteCmd(Cmd::FindNextWord);
        QCOMPARE(c.FindText(), QString("X10"));
        QCOMPARE(c.GetSel(true), (CodeMaxRange{1, 4, 1, 7}));
    }

    // 173 and 175 search for the word at the caret: with no word there,
    // they fail as a search does.
    void findWordWithNoWordFails_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("175 between words") << Cmd::FindNextWord << "N10    X1";
        QTest::newRow("173 between words") << Cmd::FindPrevWord << "N10    X1";
        QTest::newRow("175 empty text") << Cmd::FindNextWord << "";
        QTest::newRow("173 empty text") << Cmd::FindPrevWord << "";
    }
    void findWordWithNoWordFails()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        CodeMax c;
        c.SetText(text);
        c.SetFindText("N10");
        const CodeMaxRange at{0, qMin(5, int(text.size())), 0, qMin(5, int(text.size()))};
        c.SetSel(at, false);
        Failures failures(c);
        c.ExecuteCmd(command);
        QCOMPARE(failures.list, (QList<std::pair<int, int>>{{command, 4}}));
        QCOMPARE(c.GetSel(false), at);
        QCOMPARE(c.FindText(), QString("N10"));  // left as it was
    }

    void replaceAllChains()
    {
        CodeMax c;
        c.SetText("N005\r\nN0005\r\nN100");
        Failures failures(c);
        int changes = 0;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        c.SetFindText("N00");
        c.SetReplText("N");
        c.ExecuteCmd(Cmd::ReplaceAll);
        QCOMPARE(c.Text(), QString("N5\r\nN05\r\nN100"));
        c.SetFindText("N0");
        c.ExecuteCmd(Cmd::ReplaceAll);
        QCOMPARE(c.Text(), QString("N5\r\nN5\r\nN100"));
        QCOMPARE(changes, 2);
        c.Undo();  // one undo step per pass
        QCOMPARE(c.Text(), QString("N5\r\nN05\r\nN100"));
        QVERIFY(failures.list.isEmpty());
    }

    void replaceAllWithoutMatchRaisesNoFailure()
    {
        CodeMax c;
        c.SetText("N10");
        Failures failures(c);
        int changes = 0;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        c.SetFindText("Q");
        c.SetReplText("R");
        c.ExecuteCmd(Cmd::ReplaceAll);
        QVERIFY(failures.list.isEmpty());
        QCOMPARE(changes, 0);
    }

    void replaceAllDoesNotRescanItsOwnText()
    {
        CodeMax c;
        c.SetText("G1 G1\r\nG1");
        c.SetFindText("G1");
        c.SetReplText("G1G1");
        c.ExecuteCmd(Cmd::ReplaceAll);
        QCOMPARE(c.Text(), QString("G1G1 G1G1\r\nG1G1"));
        c.SetFindText("\r\n");  // line breaks are found as the program writes them
        c.SetReplText(" ");
        c.ExecuteCmd(Cmd::ReplaceAll);
        QCOMPARE(c.Text(), QString("G1G1 G1G1 G1G1"));
    }

    void markAllBookmarksEachLine()
    {
        CodeMax c;
        c.SetText(program);
        Failures failures(c);
        c.SetFindText("G0");
        c.ExecuteCmd(Cmd::FindMarkAll);
        QList<int> marked;
        c.ExecuteCmd(Cmd::DocumentStart);
        for (int i = 0; i < 5; ++i) {
            c.ExecuteCmd(Cmd::BookmarkNext);
            marked.append(c.GetSel(false).startLine);
        }
        QCOMPARE(marked, (QList<int>{2, 3, 4, 2, 3}));  // wraps round
        c.ExecuteCmd(Cmd::BookmarkPrev);
        QCOMPARE(c.GetSel(false).startLine, 2);
        c.ExecuteCmd(Cmd::BookmarkPrev);
        QCOMPARE(c.GetSel(false).startLine, 4);
        QVERIFY(failures.list.isEmpty());
        c.SetFindText("ZZZ");
        c.ExecuteCmd(Cmd::FindMarkAll);
        QCOMPARE(failures.list, (QList<std::pair<int, int>>{{Cmd::FindMarkAll, 4}}));
        c.ExecuteCmd(Cmd::BookmarkClearAll);
        c.SetSel({0, 0, 0, 0}, false);
        c.ExecuteCmd(Cmd::BookmarkNext);  // none: stays
        QCOMPARE(c.GetSel(false), (CodeMaxRange{0, 0, 0, 0}));
    }

    void toggleBookmark()
    {
        CodeMax c;
        c.SetText("A\r\nB\r\nC");
        c.SetSel({1, 1, 1, 1}, false);
        c.ExecuteCmd(Cmd::BookmarkToggle);
        c.SetSel({2, 0, 2, 0}, false);
        c.ExecuteCmd(Cmd::BookmarkNext);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{1, 0, 1, 0}));
        c.ExecuteCmd(Cmd::BookmarkToggle);  // off again
        c.SetSel({2, 0, 2, 0}, false);
        c.ExecuteCmd(Cmd::BookmarkNext);
        QCOMPARE(c.GetSel(false), (CodeMaxRange{2, 0, 2, 0}));
    }

    void typingModes()
    {
        CodeMax c;
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        c.SetText("ABCD\r\nE");
        c.SetSel({0, 1, 0, 1}, false);
        c.ExecuteCmd(Cmd::OverwriteMode);
        QVERIFY(c.OverwriteMode());
        QTest::keyClicks(c.ActivePane(), "xyz9");
        QCOMPARE(c.Text(), QString("Axyz9\r\nE"));  // never past the line end
        c.ExecuteCmd(Cmd::InsertMode);
        c.ExecuteCmd(Cmd::InsertMode);  // a set, not a toggle
        QVERIFY(!c.OverwriteMode());
        QTest::keyClicks(c.ActivePane(), "!");
        QCOMPARE(c.GetLine(0), QString("Axyz9!"));
    }

    // Overwriting takes as many characters as are typed, an emoji being one.
    void overwriteTakesWholeCharacters()
    {
        CodeMax c;
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        const QString smile = QStringLiteral("\U0001F600");
        c.SetText("A" + smile + "BC\r\nE");
        c.SetSel({0, 0, 0, 0}, false);
        c.ExecuteCmd(Cmd::OverwriteMode);
        QTest::keyClicks(c.ActivePane(), "x");
        QCOMPARE(c.GetLine(0), "x" + smile + "BC");
        QTest::keyClicks(c.ActivePane(), "y");
        QCOMPARE(c.GetLine(0), QString("xyBC"));
        c.SetSel({0, 0, 0, 0}, false);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, smile);
        QApplication::sendEvent(c.ActivePane(), &press);
        QCOMPARE(c.GetLine(0), smile + "yBC");
        QCOMPARE(c.GetLine(1), QString("E"));
    }

    void findDialogRunsOnTheControl()
    {
        CodeMax c;
        c.SetText(program);
        Failures failures(c);
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& d) {
            auto& dialog = static_cast<platform::CodeMaxFindDialog&>(d);
            dialog.txtFind->setText("x10");
            dialog.chkMatchCase->setChecked(false);
            dialog.cmdFindNext->click();
            dialog.cmdClose->click();
        });
        c.ExecuteCmd(Cmd::Find);
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals().first().windowTitle, QString("Find"));
        QCOMPARE(c.SelText(), QString("X10"));
        QCOMPARE(c.FindText(), QString("x10"));
        QVERIFY(!c.FindMatchCase());
        QVERIFY(failures.list.isEmpty());
    }

    void replaceDialogReplacesAndReportsNotFound()
    {
        CodeMax c;
        c.SetText("N10 X1\r\nN20 X1");
        Failures failures(c);
        int changes = 0;
        connect(&c, &CodeMax::ContentChange, [&](CodeMax*) { ++changes; });
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& d) {
            auto& dialog = static_cast<platform::CodeMaxFindDialog&>(d);
            dialog.txtFind->setText("X1");
            dialog.txtReplace->setText("Y2");
            dialog.cmdReplace->click();  // selects the first match
            dialog.cmdReplace->click();  // replaces it, selects the next
            QCOMPARE(changes, 1);        // raised while the dialog is open
            dialog.cmdReplaceAll->click();
            dialog.txtFind->setText("Q");
            dialog.cmdFindNext->click();
            dialog.cmdClose->click();
        });
        c.ExecuteCmd(Cmd::FindReplace);
        QCOMPARE(c.Text(), QString("N10 Y2\r\nN20 Y2"));
        QCOMPARE(failures.list, (QList<std::pair<int, int>>{{Cmd::FindNext, 4}}));
    }

    // Enter in a box finds the next match; Enter on a focused button presses
    // that button.
    void replaceDialogByKeyboard()
    {
        CodeMax c;
        c.SetText("N10 X1\r\nN20 X1");
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& d) {
            auto& dialog = static_cast<platform::CodeMaxFindDialog&>(d);
            QTest::keyClicks(dialog.txtFind, "X1");
            QTest::keyClicks(dialog.txtReplace, "Y2");
            dialog.txtReplace->setFocus();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            QCOMPARE(c.SelText(), QString("X1"));
            QCOMPARE(c.Text(), QString("N10 X1\r\nN20 X1"));
            dialog.cmdReplaceAll->setFocus();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            QCOMPARE(c.Text(), QString("N10 Y2\r\nN20 Y2"));
            dialog.cmdClose->setFocus();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        c.ExecuteCmd(Cmd::FindReplace);
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].result, int(QDialog::Accepted));
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxCommands);
#include "tst_CodeMaxCommands.moc"
