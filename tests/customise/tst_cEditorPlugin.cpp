// The host object as plug-ins use it: every member called by name, acting on
// the active document of the main window.
#include "HostFixture.h"

#include "customise/cEditorPlugin.h"
#include "platform/com/CallByName.h"
#include "platform/forms/Error.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditor.h"

#include <QApplication>
#include <QClipboard>
#include <Qsci/qsciscintilla.h>
#include "support/TestRegistry.h"

using platform::CodeMaxRange;

namespace {

QVariant Call(cEditorPlugin& host, const QString& member, const QVariantList& arguments = {})
{
    return platform::CallByName(&host, member, platform::VbMethod, arguments);
}

CodeMaxRange Range(const QList<int>& r)
{
    return r.size() == 4 ? CodeMaxRange{r[0], r[1], r[2], r[3]} : CodeMaxRange{r[0], r[1], r[0], r[1]};
}

QList<int> Selection(const CodeMaxRange& r)
{
    return {r.startLine, r.startCol, r.endLine, r.endCol};
}

QList<int> Selection(const platform::CodeMax& text)
{
    return Selection(text.GetSel(true));
}

// The error a call raises (0 when it raises none).
int ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const platform::Error& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

class TestEditorPlugin : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ProgramFixture> program_;
    std::unique_ptr<MainWindowFixture> window_;

private slots:
    void init()
    {
        program_ = std::make_unique<ProgramFixture>();
        QVERIFY(program_->IsValid());
        window_ = std::make_unique<MainWindowFixture>();
    }
    void cleanup()
    {
        window_.reset();
        program_.reset();
    }

    // Members that move the caret or change the text, and whether each marks
    // the document modified. A selection is {line, column} for a caret or
    // {start line, column, end line, column}; an empty one is not checked.
    void membersActOnTheActiveDocument_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<bool>("marks");

        const QString three = QStringLiteral("N10 G00\r\nN20 X15\r\nN30 M30");
        QTest::newRow("AddText at the caret") << "AddText" << QVariantList{"G01 "} << "N10 X1" << QList<int>{0, 4}
                                              << "N10 G01 X1" << QList<int>{0, 8} << true;
        QTest::newRow("PageHome") << "PageHome" << QVariantList{} << three << QList<int>{2, 3} << three
                                  << QList<int>{0, 0} << false;
        QTest::newRow("PageEnd") << "PageEnd" << QVariantList{} << three << QList<int>{0, 3} << three
                                 << QList<int>{2, 7} << false;
        QTest::newRow("LineHome") << "LineHome" << QVariantList{} << three << QList<int>{1, 4} << three
                                  << QList<int>{1, 0} << false;
        QTest::newRow("LineEnd") << "LineEnd" << QVariantList{} << three << QList<int>{1, 1} << three
                                 << QList<int>{1, 7} << false;
        QTest::newRow("LineDown") << "LineDown" << QVariantList{} << three << QList<int>{0, 2} << three
                                  << QList<int>{1, 2} << false;
        QTest::newRow("LineUp") << "LineUp" << QVariantList{} << three << QList<int>{2, 2} << three
                                << QList<int>{1, 2} << false;
        QTest::newRow("InsertLine") << "InsertLine" << QVariantList{} << "N10\r\nN20" << QList<int>{0, 3}
                                    << "N10\r\n\r\nN20" << QList<int>{1, 0} << true;
        QTest::newRow("ReplaceAll") << "ReplaceAll" << QVariantList{"X", "Y"} << "X1 X2\r\nX3" << QList<int>{0, 0}
                                    << "Y1 Y2\r\nY3" << QList<int>{} << false;
        QTest::newRow("ReplaceAll with a longer text") << "ReplaceAll" << QVariantList{"X", "XX"} << "X1 X2"
                                                       << QList<int>{0, 0} << "XX1 XX2" << QList<int>{} << false;
        QTest::newRow("FindText") << "FindText" << QVariantList{"X2"} << "X1 X2" << QList<int>{0, 0} << "X1 X2"
                                  << QList<int>{0, 3, 0, 5} << false;
        QTest::newRow("SelectLineEnd") << "SelectLineEnd" << QVariantList{} << "N10 G00\r\nN20" << QList<int>{0, 4}
                                       << "N10 G00\r\nN20" << QList<int>{0, 4, 0, 7} << false;
        QTest::newRow("SelectAll") << "SelectAll" << QVariantList{} << "N10\r\nG01" << QList<int>{0, 1}
                                   << "N10\r\nG01" << QList<int>{0, 0, 1, 3} << false;
        QTest::newRow("DeleteSelection") << "DeleteSelection" << QVariantList{} << "N10 G00 X1"
                                         << QList<int>{0, 3, 0, 7} << "N10 X1" << QList<int>{0, 3} << false;
    }
    void membersActOnTheActiveDocument()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, text);
        QFETCH(QList<int>, before);
        QFETCH(QString, expected);
        QFETCH(QList<int>, after);
        QFETCH(bool, marks);

        // Another document behind the active one must stay as it is.
        platform::CodeMax& behind = window_->OpenDocument(QStringLiteral("BEHIND"));
        platform::CodeMax& control = window_->OpenDocument(text);
        control.SetSel(Range(before), true);
        platform::ScriptedAnswers answers;
        cEditorPlugin host;
        Call(host, member, arguments);

        QCOMPARE(control.Text(), expected);
        if (!after.isEmpty())
            QCOMPARE(Selection(control), Selection(Range(after)));
        QCOMPARE(MainWindowFixture::ActiveModified(), marks);
        QCOMPARE(TextChanged, member == u"AddText");
        QCOMPARE(behind.Text(), QStringLiteral("BEHIND"));
        QVERIFY(!DocumentState[1].Modified);
        QCOMPARE(answers.msgBoxes().size(), 0);
    }

    // Undo and Paste mark the document modified; Redo, Cut and Copy do not.
    void editCommandsGoThroughTheEditCommands()
    {
        platform::CodeMax& control = window_->OpenDocument(QStringLiteral("N10 G00"));
        platform::ScriptedAnswers answers;
        cEditorPlugin host;

        control.SetSel({0, 3, 0, 7}, true);
        Call(host, QStringLiteral("Copy"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(" G00"));
        QVERIFY(!MainWindowFixture::ActiveModified());

        Call(host, QStringLiteral("Cut"));
        QCOMPARE(control.Text(), QStringLiteral("N10"));
        QVERIFY(!MainWindowFixture::ActiveModified());

        Call(host, QStringLiteral("Undo"));
        QCOMPARE(control.Text(), QStringLiteral("N10 G00"));
        QVERIFY(MainWindowFixture::ActiveModified());

        DocumentState[1].Modified = false;
        Call(host, QStringLiteral("Redo"));
        QCOMPARE(control.Text(), QStringLiteral("N10"));
        QVERIFY(!MainWindowFixture::ActiveModified());

        Call(host, QStringLiteral("Paste"));
        QCOMPARE(control.Text(), QStringLiteral("N10 G00"));
        QVERIFY(MainWindowFixture::ActiveModified());
        QCOMPARE(answers.msgBoxes().size(), 0);

        // With nothing to act on, the edit command's own message.
        control.SetSel({0, 0, 0, 0}, true);
        Call(host, QStringLiteral("Copy"));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("No text selected to copy."));
    }

    // The find and replace dialogs and the go-to-line prompt of the control.
    void dialogsOfTheControl()
    {
        platform::CodeMax& control = window_->OpenDocument(QStringLiteral("N10\r\nN20\r\nN30\r\nN40"));
        platform::ScriptedAnswers answers;
        cEditorPlugin host;

        Call(host, QStringLiteral("Find"));
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].objectName, QStringLiteral("CodeMaxFindDialog"));
        QVERIFY(!MainWindowFixture::ActiveModified());

        // Replace marks the document whatever the user does in the dialog.
        Call(host, QStringLiteral("Replace"));
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(answers.modals()[1].objectName, QStringLiteral("CodeMaxReplaceDialog"));
        QVERIFY(MainWindowFixture::ActiveModified());

        // With the highlight option on, the line gone to is the one highlighted; with it off, none is.
        LineHighlightOn = true;
        answers.answerInputBox(QStringLiteral("3"));
        Call(host, QStringLiteral("GoToDlg"));
        QCOMPARE(answers.inputBoxes().size(), 1);
        QCOMPARE(control.GetSel(true).startLine, 2);
        QCOMPARE(control.HighlightedLine(), 2);
        LineHighlightOn = false;
        answers.answerInputBox(QStringLiteral("1"));
        Call(host, QStringLiteral("GoToDlg"));
        QCOMPARE(control.GetSel(true).startLine, 0);
        QCOMPARE(control.HighlightedLine(), -1);
    }

    void getLineTrimsBlanks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("reports");
        QTest::newRow("blanks around") << "  N10 G00 X1  \r\nN20" << 1 << "N10 G00 X1" << false;
        QTest::newRow("tabs stay") << "N10\r\n\tN20 " << 2 << "\tN20" << false;
        QTest::newRow("empty line") << "N10\r\n\r\nN30" << 2 << "" << false;
        QTest::newRow("past the last line") << "N10\r\nN20" << 3 << "" << true;
        QTest::newRow("line 0") << "N10" << 0 << "" << true;
    }
    void getLineTrimsBlanks()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        QFETCH(QString, expected);
        QFETCH(bool, reports);
        window_->OpenDocument(text);
        platform::ScriptedAnswers answers;
        cEditorPlugin host;
        QCOMPARE(Call(host, QStringLiteral("GetLine"), {line}).toString(), expected);
        QCOMPARE(answers.msgBoxes().size(), reports ? 1 : 0);
        if (reports)
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
    }

    void gotoLine_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("caretLine");  // -1: the caret stays, with the message
        QTest::newRow("first") << 1 << 0;
        QTest::newRow("last") << 3 << 2;
        QTest::newRow("past the last") << 4 << -1;
        QTest::newRow("zero") << 0 << -1;
        QTest::newRow("negative") << -5 << -1;
    }
    void gotoLine()
    {
        QFETCH(int, line);
        QFETCH(int, caretLine);
        platform::CodeMax& control = window_->OpenDocument(QStringLiteral("N10\r\nN20 X1\r\nN30"));
        control.SetSel({1, 2, 1, 2}, true);
        platform::ScriptedAnswers answers;
        cEditorPlugin host;
        Call(host, QStringLiteral("GotoLine"), {line});
        if (caretLine >= 0) {
            QCOMPARE(control.GetSel(true).startLine, caretLine);
            QCOMPARE(answers.msgBoxes().size(), 0);
        } else {
            QCOMPARE(control.GetSel(true), (CodeMaxRange{1, 2, 1, 2}));
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Invalid line number"));
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
            QCOMPARE(answers.msgBoxes()[0].style & 0x70, platform::vbInformation);
        }
        QCOMPARE(answers.inputBoxes().size(), 0);
    }

    // SplitVert gives left and right panes, SplitHorz upper and lower ones;
    // ClearSplits leaves one pane and both splitters available.
    void splits()
    {
        platform::CodeMax& control = window_->OpenDocument(QStringLiteral("N10"));
        QVERIFY(control.width() > 100 && control.height() > 100);
        cEditorPlugin host;
        const auto panesSideBySide = [&] {
            return control.PaneCount() == 2
                   && control.Pane(0)->mapTo(&control, QPoint()).x() < control.Pane(1)->mapTo(&control, QPoint()).x();
        };
        Call(host, QStringLiteral("SplitVert"));
        QVERIFY(panesSideBySide());
        Call(host, QStringLiteral("ClearSplits"));
        QCOMPARE(control.PaneCount(), 1);
        QVERIFY(control.EnableHSplitter() && control.EnableVSplitter());

        Call(host, QStringLiteral("SplitHorz"));
        QCOMPARE(control.PaneCount(), 2);
        QVERIFY(control.Pane(0)->mapTo(&control, QPoint()).y() < control.Pane(1)->mapTo(&control, QPoint()).y());
        Call(host, QStringLiteral("ClearSplits"));
        QCOMPARE(control.PaneCount(), 1);
        QVERIFY(control.EnableHSplitter() && control.EnableVSplitter());
    }

    void textAllAndApplicationPath()
    {
        window_->OpenDocument(QStringLiteral("%\r\nO1000\r\nM30\r\n%"));
        cEditorPlugin host;
        QCOMPARE(Call(host, QStringLiteral("TextAll")).toString(), QStringLiteral("%\r\nO1000\r\nM30\r\n%"));
        QCOMPARE(platform::CallByName(&host, QStringLiteral("ApplicationPath"), platform::VbGet).toString(),
                 program_->ProgramFolder());

        const QByteArray previous = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", "/");
        QCOMPARE(Call(host, QStringLiteral("ApplicationPath")).toString(), QStringLiteral("/"));
        qputenv("TALVEX_PROGRAM_DIR", "/opt/pelmar/");
        QCOMPARE(Call(host, QStringLiteral("ApplicationPath")).toString(), QStringLiteral("/opt/pelmar"));
        qputenv("TALVEX_PROGRAM_DIR", previous);
    }

    // With no document: members on the control raise 91 to the plug-in; the
    // others do what their procedure does without one.
    void withoutDocument()
    {
        window_->OpenDocument(QStringLiteral("N10"));
        window_->CloseAll();
        QVERIFY(ActiveDocumentForm() == nullptr);
        platform::ScriptedAnswers answers;
        cEditorPlugin host;
        for (const char* member : {"TextAll", "PageHome", "PageEnd", "LineHome", "LineEnd", "LineDown", "LineUp",
                                   "InsertLine", "DeleteSelection", "Find", "Replace", "GoToDlg", "SplitVert",
                                   "SplitHorz"})
            QCOMPARE(ErrorOf([&] { Call(host, QLatin1String(member)); }), 91);
        QCOMPARE(ErrorOf([&] { Call(host, QStringLiteral("AddText"), {"X"}); }), 91);
        QCOMPARE(ErrorOf([&] { Call(host, QStringLiteral("ReplaceAll"), {"X", "Y"}); }), 91);
        QCOMPARE(ErrorOf([&] { Call(host, QStringLiteral("FindText"), {"X"}); }), 91);
        QCOMPARE(answers.msgBoxes().size(), 0);

        for (const char* member : {"Copy", "Cut", "Paste", "Undo", "Redo", "ClearSplits", "SelectLineEnd"})
            QCOMPARE(ErrorOf([&] { Call(host, QLatin1String(member)); }), 0);
        QCOMPARE(ErrorOf([&] { Call(host, QStringLiteral("GotoLine"), {1}); }), 0);
        QCOMPARE(answers.msgBoxes().size(), 0);

        QCOMPARE(Call(host, QStringLiteral("GetLine"), {1}).toString(), QString());
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor Program Error."));
        QCOMPARE(Call(host, QStringLiteral("SelectAll")), QVariant());
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(answers.msgBoxes()[1].prompt, QStringLiteral("Select all error occured."));

        QCOMPARE(Call(host, QStringLiteral("ApplicationPath")).toString(), program_->ProgramFolder());
    }

    // A window whose Tag names no slot of the table: the edit still happens,
    // marking it raises a subscript error to the plug-in.
    void markingAWindowWithoutSlotRaisesSubscriptError()
    {
        window_->OpenDocument(QStringLiteral("N10"));
        DocumentForm* stray = window_->Main().AddDocument(std::make_unique<HostDocument>());
        stray->Tag = QStringLiteral("99");
        window_->Main().ShowDocument(stray);
        QCOMPARE(ActiveDocumentForm(), stray);
        cEditorPlugin host;
        QCOMPARE(ErrorOf([&] { Call(host, QStringLiteral("AddText"), {"G01"}); }), 9);
        QCOMPARE(stray->Text1()->Text(), QStringLiteral("G01"));
        QVERIFY(!DocumentState[1].Modified);
        UnloadDocument(*stray, vbFormCode, false);
    }
};

REGISTER_TEST(TestEditorPlugin);

#include "tst_cEditorPlugin.moc"
