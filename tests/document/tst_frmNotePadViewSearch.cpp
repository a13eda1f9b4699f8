// The document window's View, Window, Options and Search menus: split panes,
// line numbers, spaces and the highlighted line with their check marks, the
// arrangement of the windows, the NC word searches with their bookmarks, go
// to line (menu, toolbar button, command line) and the block search dialog.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"

#include "document/frmBlockSearch.h"
#include "shell/MEditCommands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <Qsci/qsciscintilla.h>

using document_test::OpenFile;
using document_test::SaveShortcutReachesTheText;
using platform::CodeMaxRange;

namespace {

const QByteArray SearchedProgram = "G00 X1\r\nG01 X2\r\nG1 Y3\r\nM06 T2\r\n\r\nG90 F200 S1200\r\n";

QList<int> Bookmarked(const platform::CodeMax& text)
{
    QList<int> lines;
    for (int line = 0; line < text.LineCount(); ++line)
        if (text.Pane(0)->markersAtLine(line) & (1 << 1))
            lines.append(line);
    return lines;
}

// Runs the block search with the given texts typed into From and To, then
// presses OK (and Cancel when the dialog stayed open).
struct BlockSearchRun {
    bool okEnabledBeforeTo = true;
    bool stayedOpen = false;
};

BlockSearchRun RunBlockSearch(frmNotePad& window, platform::ScriptedAnswers& answers, const QString& from,
                              const QString& to)
{
    BlockSearchRun run;
    answers.scriptModal([&](QDialog& dialog) {
        auto& search = static_cast<frmBlockSearch&>(dialog);
        bool closed = false;
        QObject::connect(&search, &QDialog::finished, &search, [&closed] { closed = true; });
        run.okEnabledBeforeTo = search.cmdBlock[0]->isEnabled();
        QTest::keyClicks(search.txtLine1, from);
        QTest::keyClicks(search.txtLine2, to);
        search.cmdBlock[0]->click();
        run.stayedOpen = !closed;
        if (run.stayedOpen)
            search.cmdBlock[1]->click();
    });
    window.mnuBlockSearch->trigger();
    return run;
}

}  // namespace

class TestNotePadViewSearch : public QObject {
    Q_OBJECT
private slots:
    void splitsAndClearingThem()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram);
        QVERIFY(window != nullptr);
        QWidget* frame = window->parentWidget();
        QVERIFY(frame != nullptr);
        frame->resize(600, 400);
        platform::CodeMax& text = *window->Text1();

        window->mnuHSplit->trigger();
        QVERIFY(text.EnableVSplitter());
        QCOMPARE(text.VSplitterPos(), frame->frameGeometry().height() / 2.0);
        QCOMPARE(text.PaneCount(), 2);
        window->mnuVSplit->trigger();
        // Read back from the panes: the splitter's handle takes a few pixels.
        QVERIFY(qAbs(text.HSplitterPos() - frame->frameGeometry().width() / 2.0) <= 4);
        QCOMPARE(text.PaneCount(), 4);
        QVERIFY(text.Pane(3) != nullptr);
        // Typing in one pane shows in the others: one document.
        text.Pane(3)->insert(QStringLiteral("N1"));
        QCOMPARE(text.Pane(0)->text(0), QStringLiteral("N1G00 X1\r\n"));

        window->mnuClearSplits->trigger();
        QCOMPARE(text.PaneCount(), 1);
        QVERIFY(text.EnableHSplitter() && text.EnableVSplitter());
        window->mnuClearSplits->trigger();  // unsplit stays unsplit
        QCOMPARE(text.PaneCount(), 1);
        QVERIFY(text.EnableHSplitter() && text.EnableVSplitter());
    }

    // Clearing the splits keeps the pane the user worked in: its caret, its
    // scroll position and the keyboard go to the pane that stays, so typing,
    // Insert > File and the status line agree on where the user was.
    void clearingSplitsKeepsTheWorkingPane_data()
    {
        QTest::addColumn<QString>("split");      // "upper/lower", "left/right" or "both"
        QTest::addColumn<int>("otherPane");      // clicked first, on line 2
        QTest::addColumn<int>("workingPane");    // clicked last, on line 10
        QTest::addColumn<bool>("insertFile");    // else typing
        QTest::newRow("upper/lower, typing in the lower") << "upper/lower" << 0 << 1 << false;
        QTest::newRow("upper/lower, inserting in the lower") << "upper/lower" << 0 << 1 << true;
        QTest::newRow("upper/lower, typing in the upper") << "upper/lower" << 1 << 0 << false;
        QTest::newRow("left/right, typing in the right") << "left/right" << 0 << 1 << false;
        QTest::newRow("left/right, inserting in the right") << "left/right" << 0 << 1 << true;
        QTest::newRow("both, typing in the lower right") << "both" << 0 << 3 << false;
        QTest::newRow("both, inserting in the lower left") << "both" << 1 << 2 << true;
        QTest::newRow("both, typing in the upper right") << "both" << 2 << 1 << false;
    }

    void clearingSplitsKeepsTheWorkingPane()
    {
        QFETCH(QString, split);
        QFETCH(int, otherPane);
        QFETCH(int, workingPane);
        QFETCH(bool, insertFile);
        DocumentFixture fixture;
        fixture.main->resize(900, 700);
        fixture.main->show();
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        QByteArray program;
        for (int n = 1; n <= 60; ++n)
            program += "N" + QByteArray::number(n) + " X" + QByteArray::number(n) + ".\r\n";
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), program);
        QVERIFY(window != nullptr);
        window->parentWidget()->resize(700, 560);
        platform::CodeMax& text = *window->Text1();
        if (split != QLatin1String("left/right"))
            window->mnuHSplit->trigger();
        if (split != QLatin1String("upper/lower"))
            window->mnuVSplit->trigger();
        QCOMPARE(text.PaneCount(), split == QLatin1String("both") ? 4 : 2);

        // Clicks on a line as the user does, where the pane shows it.
        const auto clickLine = [&text](int paneIndex, int line) {
            QsciScintilla* pane = text.Pane(paneIndex);
            const long at = pane->positionFromLineIndex(line, 0);
            const int x = int(pane->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, at));
            const int y = int(pane->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, at));
            const int height = int(pane->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL, 0L));
            QVERIFY(y >= 0 && y + height <= pane->viewport()->height());
            QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, QPoint(x + 2, y + height / 2));
        };
        clickLine(otherPane, 1);
        QsciScintilla* working = text.Pane(workingPane);
        working->setFirstVisibleLine(5);  // scrolled down a little
        clickLine(workingPane, 9);
        QTest::keyClick(working, Qt::Key_End);
        QTest::keyClicks(working, QStringLiteral("QQ"));
        QCOMPARE(text.GetLine(9), QStringLiteral("N10 X10.QQ"));

        window->mnuClearSplits->trigger();
        QCOMPARE(text.PaneCount(), 1);
        QsciScintilla* remaining = text.Pane(0);
        QCOMPARE(text.GetSel(true), (CodeMaxRange{9, 10, 9, 10}));
        QCOMPARE(fixture.main->lblLine->text(), QStringLiteral("Line: 10"));
        QCOMPARE(remaining->firstVisibleLine(), 5);
        QCOMPARE(QApplication::focusWidget(), remaining);
        if (insertFile) {
            QVERIFY(WriteFileBytes(fixture.Path(QStringLiteral("piece.nc")), "G00\r\nG01\r\n"));
            platform::ScriptedAnswers answers;
            answers.scriptModal(ChooseFiles(fixture.Folder(), {"piece.nc"}));
            window->mnuInsertFile->trigger();
            QCOMPARE(text.GetLine(9), QStringLiteral("G00"));
            QCOMPARE(text.GetLine(10), QStringLiteral("G01"));
            QCOMPARE(text.GetLine(11), QStringLiteral("N10 X10.QQ"));
        } else {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ZZ"));
            QCOMPARE(text.GetLine(9), QStringLiteral("N10 X10.QQZZ"));
            QCOMPARE(fixture.main->lblLine->text(), QStringLiteral("Line: 10"));
        }
        QCOMPARE(text.GetLine(1), QStringLiteral("N2 X2."));
    }

    // Line numbers and spaces follow the control of the active document: the
    // check marks are read from it when the menu opens.
    void checkMarksFollowTheActiveDocument()
    {
        DocumentFixture fixture;
        frmNotePad* a = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram);
        frmNotePad* b = OpenFile(fixture, QStringLiteral("b.nc"), SearchedProgram);
        b->mnuLineNumbers->trigger();
        b->mnuWhiteSpace->trigger();
        QVERIFY(b->Text1()->LineNumbering() && b->Text1()->DisplayWhitespace());
        QVERIFY(b->mnuLineNumbers->isChecked() && b->mnuWhiteSpace->isChecked());

        fixture.main->ShowDocument(a);
        emit a->mnuView->aboutToShow();
        emit a->mnuSearch->aboutToShow();
        QVERIFY(!a->mnuLineNumbers->isChecked() && !a->mnuWhiteSpace->isChecked());
        a->mnuLineNumbers->trigger();
        QVERIFY(a->Text1()->LineNumbering() && a->mnuLineNumbers->isChecked());
        QVERIFY(!a->Text1()->DisplayWhitespace());

        fixture.main->ShowDocument(b);
        b->mnuWhiteSpace->trigger();
        QVERIFY(!b->Text1()->DisplayWhitespace() && !b->mnuWhiteSpace->isChecked());
        QVERIFY(b->Text1()->LineNumbering());
    }

    // The highlighted line follows the option at once, on an empty line too;
    // every window's check mark shows the one program-wide option.
    void highlightLine()
    {
        DocumentFixture fixture;
        frmNotePad* a = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram);
        frmNotePad* b = OpenFile(fixture, QStringLiteral("b.nc"), SearchedProgram);
        platform::CodeMax& text = *b->Text1();
        text.SetSel({3, 2, 3, 2}, false);
        b->mnuLineHighlight->trigger();
        QVERIFY(LineHighlightOn && b->mnuLineHighlight->isChecked());
        QCOMPARE(text.HighlightedLine(), 3);
        QCOMPARE(text.GetSel(false), (CodeMaxRange{3, 0, 3, 0}));
        text.SetSel({1, 0, 1, 0}, false);
        QCOMPARE(text.HighlightedLine(), 1);

        text.SetSel({4, 0, 4, 0}, false);  // the empty line
        b->mnuLineHighlight->trigger();
        QVERIFY(!LineHighlightOn);
        QCOMPARE(text.HighlightedLine(), -1);
        b->mnuLineHighlight->trigger();
        QCOMPARE(text.HighlightedLine(), 4);

        fixture.main->ShowDocument(a);
        QVERIFY(!a->mnuLineHighlight->isChecked());
        emit a->mnuUtilities->aboutToShow();
        QVERIFY(a->mnuLineHighlight->isChecked());
    }

    void optionsMenu()
    {
        bool propertiesShown = false;
        ShowEditPropHook = [&] { propertiesShown = true; };
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram);
        QStatusBar* bar = fixture.main->statusBar();
        QVERIFY(!bar->isHidden());
        window->mnuOptions[0]->trigger();  // Toolbar: nothing
        QVERIFY(!bar->isHidden());
        window->mnuOptions[1]->trigger();
        QVERIFY(bar->isHidden() && !window->mnuOptions[1]->isChecked());
        window->mnuOptions[1]->trigger();
        QVERIFY(!bar->isHidden() && window->mnuOptions[1]->isChecked());
        QVERIFY(window->mnuOptions[3]->isEnabled());
        window->mnuOptions[3]->trigger();
        QVERIFY(propertiesShown);
        ShowEditPropHook = nullptr;

        // Without the settings dialog the item is there but disabled.
        frmNotePad other;
        QVERIFY(!other.mnuOptions[3]->isEnabled());
    }

    void windowArrangements()
    {
        DocumentFixture fixture;
        fixture.main->resize(900, 700);
        fixture.main->show();
        for (const char* name : {"a.nc", "b.nc", "c.nc"})
            QVERIFY(OpenFile(fixture, QLatin1String(name), SearchedProgram) != nullptr);
        frmNotePad* window = fixture.Active();
        const QRect area = fixture.main->mdiArea->viewport()->rect();
        const auto frames = [&fixture] {
            QList<QRect> rects;
            for (QMdiSubWindow* sub : fixture.main->mdiArea->subWindowList(QMdiArea::CreationOrder))
                rects.append(sub->geometry());
            return rects;
        };

        window->mnuTileHorz->trigger();
        QList<QRect> rects = frames();
        QCOMPARE(rects.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rects[i].left(), 0);
            QCOMPARE(rects[i].width(), area.width());
            QCOMPARE(rects[i].top(), area.height() * i / 3);
        }
        window->mnuWindowTileHorizontal->trigger();
        rects = frames();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rects[i].top(), 0);
            QCOMPARE(rects[i].height(), area.height());
            QCOMPARE(rects[i].left(), area.width() * i / 3);
        }
        window->mnuWCascade->trigger();
        rects = frames();
        QVERIFY(rects[0].topLeft() != rects[1].topLeft() && rects[1].topLeft() != rects[2].topLeft());
        QVERIFY(rects[0].left() < rects[1].left() || rects[0].left() < rects[2].left());

        // Arrange Icons lines the minimised windows up along the bottom.
        QList<QMdiSubWindow*> subs = fixture.main->mdiArea->subWindowList(QMdiArea::CreationOrder);
        subs[0]->showMinimized();
        subs[1]->showMinimized();
        window->mnuWArrange->trigger();
        QCOMPARE(subs[0]->geometry().bottom(), area.bottom());
        QCOMPARE(subs[1]->geometry().bottom(), area.bottom());
        QCOMPARE(subs[1]->geometry().left(), subs[0]->geometry().right() + 1);

        // New Window opens an empty document beside the others.
        window->mnuNewWindow->trigger();
        QCOMPARE(OpenDocumentCount(), 4);
        QCOMPARE(fixture.Active()->Caption(), QStringLiteral("Untitled:4"));
    }

    // Window > Cascade from any layout: the windows step down from the
    // workspace's top left, each large enough to show a good part of its
    // program and its caption clear of the one above; minimised windows stay
    // in their row, and the active window stays on top with the keyboard.
    void cascadeShowsAUsefulPartOfEachWindow_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("before");
        QTest::newRow("one window") << 1 << "";
        QTest::newRow("three after tile horizontally") << 3 << "mnuTileHorz";
        QTest::newRow("three after tile vertically") << 3 << "mnuWindowTileHorizontal";
        QTest::newRow("three, one minimised, one maximised") << 3 << "minimise and maximise";
        QTest::newRow("ten after tile vertically") << 10 << "mnuWindowTileHorizontal";
        QTest::newRow("ten after cascade") << 10 << "mnuWCascade";
    }
    void cascadeShowsAUsefulPartOfEachWindow()
    {
        QFETCH(int, count);
        QFETCH(QString, before);
        DocumentFixture fixture;
        fixture.main->showNormal();
        fixture.main->resize(1024, 768);
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        QTRY_VERIFY(fixture.main->mdiArea->viewport()->width() > 900);
        QByteArray lines;
        for (int i = 1; i <= 60; ++i)
            lines += "N" + QByteArray::number(i * 10) + " G01 X" + QByteArray::number(i) + "\r\n";
        for (int i = 0; i < count; ++i)
            QVERIFY(OpenFile(fixture, QStringLiteral("p%1.nc").arg(i), lines) != nullptr);
        QList<QMdiSubWindow*> subs = fixture.main->mdiArea->subWindowList(QMdiArea::CreationOrder);
        QMdiSubWindow* minimised = nullptr;
        if (before == QLatin1String("minimise and maximise")) {
            minimised = subs[0];
            minimised->showMinimized();
            fixture.main->mdiArea->setActiveSubWindow(subs[2]);
            subs[2]->showMaximized();
        } else if (!before.isEmpty()) {
            fixture.Active()->findChild<QAction*>(before)->trigger();
        }
        fixture.Active()->Text1()->SetFocus();
        frmNotePad* active = fixture.Active();
        QTRY_VERIFY(active->Text1()->isAncestorOf(QApplication::focusWidget()));
        QMdiSubWindow* activeFrame = fixture.main->mdiArea->activeSubWindow();

        active->mnuWCascade->trigger();

        const QRect area = fixture.main->mdiArea->viewport()->rect();
        const int caption = activeFrame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, activeFrame);
        QList<QMdiSubWindow*> stacked;
        for (QMdiSubWindow* sub : fixture.main->mdiArea->subWindowList(QMdiArea::StackingOrder))
            if (sub != minimised)
                stacked.append(sub);
        QCOMPARE(stacked.size(), minimised != nullptr ? count - 1 : count);
        QCOMPARE(stacked.last(), activeFrame);
        QVERIFY(!activeFrame->isMaximized());
        QPoint previous(-1, -1);
        for (QMdiSubWindow* sub : std::as_const(stacked)) {
            const QRect frame = sub->geometry();
            const QString where = QStringLiteral("%1,%2 %3x%4 in %5x%6")
                                      .arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
                                      .arg(area.width()).arg(area.height());
            QVERIFY2(area.contains(frame), qPrintable(where));
            QVERIFY2(frame.width() >= area.width() / 2 && frame.height() >= area.height() / 2, qPrintable(where));
            // From the top left, each a caption's height below and right of
            // the one under it, or back at the top left once there is no room.
            QVERIFY2(frame.topLeft() == QPoint(0, 0) || frame.topLeft() == previous + QPoint(caption, caption),
                     qPrintable(where));
            previous = frame.topLeft();
            // The text shows many lines of the program.
            auto* window = qobject_cast<frmNotePad*>(sub->widget());
            QVERIFY2(window->Text1()->height() > frame.height() / 2, qPrintable(where));
        }
        QCOMPARE(stacked.first()->geometry().topLeft(), QPoint(0, 0));
        if (minimised != nullptr) {
            QVERIFY(minimised->isMinimized());
            for (QMdiSubWindow* sub : std::as_const(stacked))
                QVERIFY(sub->geometry().bottom() < minimised->geometry().top());
        }
        QCOMPARE(fixture.Active(), active);
        QVERIFY(active->Text1()->isAncestorOf(QApplication::focusWidget()));

        // A new window goes on from the last one cascaded.
        active->mnuFNew->trigger();
        QMdiSubWindow* added = fixture.main->mdiArea->activeSubWindow();
        QVERIFY(area.contains(added->geometry()));
        QVERIFY(added->geometry().topLeft() == activeFrame->geometry().topLeft() + QPoint(caption, caption)
                || added->geometry().topLeft() == QPoint(0, 0));
    }

    void ncWordSearch_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QList<int>>("marked");
        QTest::newRow("G codes: G0 words only") << "mnuGCodes" << QList<int>{0, 1};
        QTest::newRow("M codes") << "mnuMCodes" << QList<int>{3};
        QTest::newRow("feeds") << "mnuFeeds" << QList<int>{5};
        QTest::newRow("spindle") << "mnuSpindle" << QList<int>{5};
        QTest::newRow("tool change") << "mnuToolChange" << QList<int>{3};
    }

    // Each search clears the user's bookmarks and marks the lines holding
    // its word, the last line included; Repeat then goes to the next one.
    void ncWordSearch()
    {
        QFETCH(QString, item);
        QFETCH(QList<int>, marked);
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram + "T5");
        platform::CodeMax& text = *window->Text1();
        text.SetSel({2, 0, 2, 0}, false);
        text.ExecuteCmd(platform::CodeMaxCmd::BookmarkToggle);
        QCOMPARE(Bookmarked(text), QList<int>{2});

        platform::ScriptedAnswers answers;
        window->findChild<QAction*>(item)->trigger();
        if (item == QLatin1String("mnuToolChange"))
            marked.append(6);  // "T5" on the last line, without a line break
        QCOMPARE(Bookmarked(text), marked);
        QVERIFY(text.DisplayLeftMargin());
        QVERIFY(answers.msgBoxes().isEmpty());

        text.SetSel({0, 0, 0, 0}, false);
        window->mnuSFindNext->trigger();
        QCOMPARE(text.GetSel(true).startLine, marked.first());
    }

    void ncWordSearchWithoutHitsSaysSo()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), "X1 Y2\r\n");
        platform::ScriptedAnswers answers;
        window->mnuGCodes->trigger();
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("Data was not found!"));
        QVERIFY(Bookmarked(*window->Text1()).isEmpty());
    }

    void findReplaceAndJumps()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram);
        platform::CodeMax& text = *window->Text1();
        platform::ScriptedAnswers answers;
        window->mnuSFind->trigger();
        window->mnuSearchReplace->trigger();
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(answers.modals()[0].objectName, QStringLiteral("CodeMaxFindDialog"));
        QCOMPARE(answers.modals()[1].objectName, QStringLiteral("CodeMaxReplaceDialog"));
        window->mnuJumpBottom->trigger();
        QCOMPARE(text.GetSel(false).endLine, text.LineCount() - 1);
        window->mnuJumpTop->trigger();
        QCOMPARE(text.GetSel(false), (CodeMaxRange{0, 0, 0, 0}));
        // The tool-change steps have no command: shown, but disabled.
        QVERIFY(!window->mnuNextToolChange->isEnabled() && !window->mnuPrevToolchange->isEnabled());
    }

    // Go to line from the menu, the toolbar's hidden button and "/g" alike:
    // the caret goes to the line, which is highlighted while the option is on.
    void goToLine_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<bool>("highlight");
        QTest::newRow("menu") << "menu" << true;
        QTest::newRow("menu, no highlight") << "menu" << false;
        QTest::newRow("toolbar button") << "button" << true;
        QTest::newRow("command line") << "command line" << true;
        QTest::newRow("command line, no highlight") << "command line" << false;
    }

    void goToLine()
    {
        QFETCH(QString, way);
        QFETCH(bool, highlight);
        DocumentFixture fixture;
        fixture.main->show();
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), SearchedProgram);
        platform::CodeMax& text = *window->Text1();
        text.SetSel({1, 3, 1, 3}, false);
        text.SetFocus();
        LineHighlightOn = highlight;
        platform::ScriptedAnswers answers;
        if (way == QLatin1String("command line")) {
            fixture.main->ApplyCommandLine(QStringLiteral("/f ") + fixture.Path(QStringLiteral("a.nc"))
                                           + QStringLiteral(" /g 6"));
            window = fixture.Active();
        } else {
            answers.answerInputBox(QStringLiteral("6"));
            if (way == QLatin1String("menu"))
                window->mnuSGoto->trigger();
            else
                window->cmdGoto->click();
            QCOMPARE(answers.inputBoxes().size(), 1);
        }
        QCOMPARE(window->Text1()->GetSel(false), (CodeMaxRange{5, 0, 5, 0}));
        QCOMPARE(window->Text1()->HighlightedLine(), highlight ? 5 : -1);
        QTRY_VERIFY(SaveShortcutReachesTheText(*window));

        // Past the last line goes to the last line; a cancel stays.
        if (way != QLatin1String("command line")) {
            answers.answerInputBox(QStringLiteral("99"));
            window->mnuSGoto->trigger();
            QCOMPARE(text.GetSel(false).startLine, text.LineCount() - 1);
            answers.cancelInputBox();
            window->mnuSGoto->trigger();
            QCOMPARE(text.GetSel(false).startLine, text.LineCount() - 1);
        }
    }

    void blockSearch_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<CodeMaxRange>("selection");
        QTest::newRow("3 to 5: whole lines") << "3" << "5" << CodeMaxRange{2, 0, 5, 0};
        QTest::newRow("one line") << "4" << "4" << CodeMaxRange{3, 0, 4, 0};
        QTest::newRow("through the last line") << "8" << "10" << CodeMaxRange{7, 0, 9, 4};
        QTest::newRow("beyond the last line") << "9" << "25" << CodeMaxRange{8, 0, 9, 4};
        QTest::newRow("rounded, halves to even") << "2.5" << "3.5" << CodeMaxRange{1, 0, 4, 0};
    }

    void blockSearch()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(CodeMaxRange, selection);
        DocumentFixture fixture;
        fixture.main->show();
        QVERIFY(QTest::qWaitForWindowActive(fixture.main.get()));
        QByteArray program;
        for (int i = 1; i <= 10; ++i)
            program += "N" + QByteArray::number(i * 10) + (i < 10 ? "\r\n" : "");
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), program);
        platform::ScriptedAnswers answers;
        const BlockSearchRun run = RunBlockSearch(*window, answers, from, to);
        QVERIFY(!run.okEnabledBeforeTo);
        QVERIFY(!run.stayedOpen);
        QVERIFY(answers.msgBoxes().isEmpty());
        QVERIFY(!DialogCancelled);
        QCOMPARE(window->Text1()->GetSel(true), selection);
        QCOMPARE(window->BlockLine1, frmBlockSearch::LineNumber(from).value());
        QTRY_VERIFY(SaveShortcutReachesTheText(*window));
    }

    void blockSearchRefusals_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("message");
        QTest::newRow("from 0") << "0" << "3" << true;
        QTest::newRow("from above to") << "5" << "3" << true;
        QTest::newRow("from beyond the last line") << "12" << "13" << true;
        QTest::newRow("letters") << "abc" << "3" << false;
        QTest::newRow("empty from") << "" << "3" << false;
        QTest::newRow("empty to") << "3" << "" << false;
    }

    // A refused entry keeps the dialog open (with a message for numbers that
    // do not fit the text); leaving it with Cancel changes nothing.
    void blockSearchRefusals()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, message);
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), QByteArray("N10\r\n").repeated(10));
        window->Text1()->SetSel({1, 1, 1, 2}, false);
        platform::ScriptedAnswers answers;
        const BlockSearchRun run = RunBlockSearch(*window, answers, from, to);
        QVERIFY(run.stayedOpen);
        QCOMPARE(answers.msgBoxes().size(), message ? 1 : 0);
        if (message)
            QCOMPARE(answers.msgBoxes()[0].prompt,
                     QStringLiteral("Line numbers must be between 1 and the number of lines, From not above To."));
        QCOMPARE(window->Text1()->GetSel(false), (CodeMaxRange{1, 1, 1, 2}));
        QVERIFY(!DialogCancelled);  // read and cleared by the command
    }

    // Enter in a box presses OK; Enter on the focused Cancel cancels.
    void blockSearchByKeyboard()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), QByteArray("N10\r\n").repeated(10));
        window->Text1()->SetSel({1, 1, 1, 2}, false);
        platform::ScriptedAnswers answers;
        const auto type = [](frmBlockSearch& search, QWidget* enterOn) {
            QTest::keyClicks(search.txtLine1, QStringLiteral("3"));
            QTest::keyClicks(search.txtLine2, QStringLiteral("4"));
            enterOn->setFocus();
            QCOMPARE(search.focusWidget(), enterOn);
            QTest::keyClick(enterOn, Qt::Key_Return);
        };
        answers.scriptModal([&](QDialog& dialog) {
            auto& search = static_cast<frmBlockSearch&>(dialog);
            type(search, search.cmdBlock[1]);
        });
        window->mnuBlockSearch->trigger();
        QCOMPARE(answers.modals().last().result, int(QDialog::Rejected));
        QCOMPARE(window->Text1()->GetSel(false), (CodeMaxRange{1, 1, 1, 2}));

        answers.scriptModal([&](QDialog& dialog) {
            auto& search = static_cast<frmBlockSearch&>(dialog);
            type(search, search.txtLine2);
        });
        window->mnuBlockSearch->trigger();
        QCOMPARE(answers.modals().last().result, int(QDialog::Accepted));
        QCOMPARE(window->Text1()->GetSel(true), (CodeMaxRange{2, 0, 4, 0}));
    }

    void blockSearchCloseBoxIsCancel()
    {
        DocumentFixture fixture;
        frmNotePad* window = OpenFile(fixture, QStringLiteral("a.nc"), QByteArray("N10\r\n").repeated(10));
        window->Text1()->SetSel({1, 1, 1, 2}, false);
        window->BlockLine1 = 2;
        window->BlockLine2 = 4;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            dialog.show();
            QTest::keyClicks(static_cast<frmBlockSearch&>(dialog).txtLine2, QStringLiteral("5"));
            dialog.close();
        });
        window->mnuBlockSearch->trigger();
        QCOMPARE(window->Text1()->GetSel(false), (CodeMaxRange{1, 1, 1, 2}));
    }
};

REGISTER_TEST(TestNotePadViewSearch);
#include "tst_frmNotePadViewSearch.moc"
