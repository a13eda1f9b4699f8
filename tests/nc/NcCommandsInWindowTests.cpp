#include "document/frmNotePad.h"
#include "nc/FrameFixture.h"
#include "nc/NcCommandFrame.h"
#include "nc/frmChangeValue.h"
#include "nc/frmShiftAddress.h"
#include "nc/frmSwitchXYZ.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/MEditCommands.h"

#include <QAction>
#include <QDateTime>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "support/TestRegistry.h"
#include "support/CodeMaxRangeType.h"

namespace {

QByteArray Bytes(platform::CodeMax& text)
{
    return QByteArray::fromStdString(text.DocumentBytes());
}

platform::CodeMaxRange Caret(int line, int column)
{
    return platform::CodeMaxRange{line, column, line, column};
}

// After a command the editor has the focus and takes the shortcuts again: Ctrl+S reaches Save.
void ExpectEditorTakesShortcuts(frmNotePad& window)
{
    platform::CodeMax& text = *window.Text1();
    QVERIFY(FrameFixture::HasFocus(text));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus != nullptr && (focus == &text || text.isAncestorOf(focus)));
    platform::ScriptedAnswers answers;  // the Save As dialog of an untitled document is cancelled
    QSignalSpy save(window.mnuFSave, &QAction::triggered);
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(save.count(), 1);
}

// A scripted dialog is put on the screen and takes the focus, as the real one does, before the
// script presses its buttons.
void ShowAsModal(QDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

}  // namespace


// The block marks, time stamp, axis switch, Change Value, Shift Address and the syntax check, run
// from the document window's menus.
class TestNcCommandsInWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        QVERIFY(!BulkEditRunning);
        QVERIFY(!DialogCancelled);
        QVERIFY(!platform::IsWaitCursor());
        QVERIFY(frmMsg::Loaded() == nullptr);
        XShiftValue = YShiftValue = ZShiftValue = 0;
    }

    void menusAsListed()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01\r\n"));
        const auto items = [](const QMenu* menu, const QString& from) {
            QStringList listed;
            bool on = from.isEmpty();
            for (const QAction* item : menu->actions()) {
                on = on || item->objectName() == from;
                if (on && !item->isSeparator())
                    listed.append(item->objectName() + ": " + item->text());
            }
            return listed;
        };
        QCOMPARE(items(window.mnuInsert, QStringLiteral("mnuBlockSkips")),
                 (QStringList{"mnuBlockSkips: &Block Skips", "mnuComment: Co&mments", "mnuEndOFBlocks: &End of Blocks",
                              "mnuTime: &Time/Date"}));
        QCOMPARE(items(window.mnuEdit, QStringLiteral("mnuDelBlockSkips")),
                 (QStringList{"mnuDelBlockSkips: Remove &Block Skips", "mnuDelComments: Remove Co&mments",
                              "mnuDelEndBlocks: Remove End &Of Blocks"}));
        QCOMPARE(items(window.mnuUtilities, QStringLiteral("mnuSwitch")),
                 (QStringList{"mnuSwitch: &Switch XYZ...", "mnuChangeMain: Change &Value...",
                              "mnuShiftAddress: Shift &Address", "mnuSyntax: Syntax &Checker",
                              "mnuLineHighlight: &Highlight Line"}));
    }

    // ------------------------------------------------------------ block marks

    void markingCommands_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<platform::CodeMaxRange>("selection");
        QTest::addColumn<QString>("answer");  // the end-of-block text typed
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("caretLine");  // -1: not checked
        const QByteArray program = "L0\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7";
        QTest::newRow("skips, no selection, caret mid-line")
            << "mnuBlockSkips" << QByteArray("G01 X1\r\nG02\r\n") << Caret(1, 2) << QString()
            << QByteArray("/G01 X1\r\n/G02\r\n") << 0;
        QTest::newRow("skips, selection inside one line")
            << "mnuBlockSkips" << QByteArray("A\r\nBCD\r\nE") << platform::CodeMaxRange{1, 1, 1, 2} << QString()
            << QByteArray("A\r\n/BCD\r\nE") << 0;
        QTest::newRow("skips, start of line 3 to start of line 6")
            << "mnuBlockSkips" << program << platform::CodeMaxRange{3, 0, 6, 0} << QString()
            << QByteArray("L0\r\nL1\r\nL2\r\n/L3\r\n/L4\r\n/L5\r\n/L6\r\nL7") << 0;
        QTest::newRow("skips, backward selection to the last line")
            << "mnuBlockSkips" << program << platform::CodeMaxRange{7, 1, 6, 1} << QString()
            << QByteArray("L0\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n/L6\r\n/L7") << 0;
        QTest::newRow("skips, LF lines keep their breaks")
            << "mnuBlockSkips" << QByteArray("A\nB\r\n\nC") << Caret(0, 0) << QString()
            << QByteArray("/A\n/B\r\n/\n/C") << 0;
        QTest::newRow("skips, one line of a program broken by CR alone")
            << "mnuBlockSkips" << QByteArray("A\rB\rC") << platform::CodeMaxRange{1, 0, 1, 1} << QString()
            << QByteArray("A\r/B\rC") << 0;
        QTest::newRow("comments, no final break added")
            << "mnuComment" << QByteArray("G01 (X)\r\nM30") << Caret(0, 0) << QString()
            << QByteArray("(G01 (X))\r\n(M30)") << -1;
        QTest::newRow("comments, empty line in the selection")
            << "mnuComment" << QByteArray("A\r\n\r\nB\r\n") << platform::CodeMaxRange{0, 1, 1, 0} << QString()
            << QByteArray("(A)\r\n()\r\nB\r\n") << -1;
        QTest::newRow("end of blocks, blanks around the answer go")
            << "mnuEndOFBlocks" << QByteArray("G01  \r\nX1\r\n") << Caret(1, 1) << " ; "
            << QByteArray("G01  ;\r\nX1;\r\n") << 0;
        QTest::newRow("end of blocks, several characters")
            << "mnuEndOFBlocks" << QByteArray("G01\r\nX1") << Caret(0, 0) << "EOB" << QByteArray("G01EOB\r\nX1EOB") << 0;
        QTest::newRow("end of blocks, text outside Latin-1 in a UTF-8 program")
            << "mnuEndOFBlocks" << QByteArray("\xc3\xa9\r\nX1") << Caret(0, 0) << QString::fromUtf8("\xe2\x82\xac")
            << QByteArray("\xc3\xa9\xe2\x82\xac\r\nX1\xe2\x82\xac") << 0;
    }
    void markingCommands()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, file);
        QFETCH(platform::CodeMaxRange, selection);
        QFETCH(QString, answer);
        QFETCH(QByteArray, expected);
        QFETCH(int, caretLine);
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::CodeMax& text = *window.Text1();
        text.SetSel(selection, false);
        QApplication::processEvents();
        platform::ScriptedAnswers answers;
        if (!answer.isEmpty())
            answers.answerInputBox(answer);

        window.findChild<QAction*>(item)->trigger();

        QCOMPARE(Bytes(text), expected);
        if (caretLine >= 0)
            QCOMPARE(text.GetSel(false), Caret(caretLine, 0));
        QCOMPARE(answers.msgBoxes().size(), 0);
        QCOMPARE(answers.unscriptedCount(), 0);
        if (!answer.isEmpty()) {
            QCOMPARE(answers.inputBoxes()[0].prompt, QStringLiteral("Enter End of Block Character"));
            QCOMPARE(answers.inputBoxes()[0].title, QStringLiteral("Talvex Editor"));
            QVERIFY(answers.inputBoxes()[0].defaultText.isEmpty());
            ExpectEditorTakesShortcuts(window);
        }
        QVERIFY(FrameFixture::Modified(window));
        EditUndo();
        QCOMPARE(Bytes(text), file);
        QVERIFY(!text.CanUndo());
    }

    void endOfBlocksCancelledChangesNothing()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01\r\nX1\r\n"));
        platform::CodeMax& text = *window.Text1();
        text.SetSel(Caret(1, 1), false);
        platform::ScriptedAnswers answers;
        answers.cancelInputBox();
        answers.answerInputBox(QStringLiteral("   "));

        window.mnuEndOFBlocks->trigger();
        window.mnuEndOFBlocks->trigger();  // blanks alone are no answer either

        QCOMPARE(Bytes(text), QByteArray("G01\r\nX1\r\n"));
        QVERIFY(!text.CanUndo());
        QVERIFY(!FrameFixture::Modified(window));
        QCOMPARE(text.GetSel(false), Caret(0, 0));
        ExpectEditorTakesShortcuts(window);
    }

    void endOfBlocksALatin1ProgramCannotHoldIsRefused()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01 \xe9\r\nX1\r\n"));  // not UTF-8: read as Latin-1
        platform::CodeMax& text = *window.Text1();
        platform::ScriptedAnswers answers;
        answers.answerInputBox(QString::fromUtf8("\xe2\x82\xac"));

        window.mnuEndOFBlocks->trigger();

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QCOMPARE(Bytes(text), QByteArray("G01 \xe9\r\nX1\r\n"));
        QVERIFY(!text.CanUndo());
        ExpectEditorTakesShortcuts(window);
    }

    void timeDateStamp()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01 ABC X1"));
        platform::CodeMax& text = *window.Text1();
        const auto stamps = [](const QDateTime& before) {
            return QStringList{TimeDateStamp(before, QLocale::system()),
                               TimeDateStamp(QDateTime::currentDateTime(), QLocale::system())};
        };

        // A selection is replaced by the stamp.
        text.SetSel({0, 4, 0, 7}, false);
        QDateTime before = QDateTime::currentDateTime();
        window.mnuTime->trigger();
        QString line = text.GetLine(0);
        QString stamp = line.mid(4, line.size() - 7);
        QVERIFY2(stamps(before).contains(stamp), qPrintable(line));
        QVERIFY(line.startsWith(QLatin1String("G01 (")) && line.endsWith(QLatin1String(") X1")));

        // Without one, it goes in at the caret.
        text.SetSel(Caret(0, 0), false);
        before = QDateTime::currentDateTime();
        window.mnuTime->trigger();
        line = text.GetLine(0);
        QVERIFY2(stamps(before).contains(line.left(stamp.size())), qPrintable(line));
        QVERIFY(line.mid(stamp.size()).startsWith(QLatin1String("G01 (")));
    }

    void timeDateStampUsesShortFormsWithoutTimeZone()
    {
        const QDateTime when(QDate(2026, 3, 9), QTime(14, 5, 7));
        QCOMPARE(TimeDateStamp(when, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("(14:05 09.03.26)"));
        for (const QLocale& locale : {QLocale::system(), QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::French, QLocale::France), QLocale::c()}) {
            const QString stamp = TimeDateStamp(when, locale);
            QVERIFY2(!stamp.contains(QLatin1String("UTC")) && !stamp.contains(QLatin1String("GMT")) &&
                         !stamp.contains(QLatin1String("CET")),
                     qPrintable(stamp));
            QString expected = QStringLiteral("(") + locale.toString(QTime(14, 5, 7), QLocale::ShortFormat) +
                               QStringLiteral(" ") + locale.toString(QDate(2026, 3, 9), QLocale::ShortFormat) +
                               QStringLiteral(")");
            expected.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
            QCOMPARE(stamp, expected);
            for (const QChar c : stamp)
                QVERIFY(!c.isSpace() || c == QLatin1Char(' '));
        }
    }

    // ------------------------------------------------------------ removals

    void removals_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("block skips, everywhere") << "mnuDelBlockSkips" << QByteArray("G01 (12) #1=#22 $\r\nX1;$\r\n");
        QTest::newRow("comment brackets") << "mnuDelComments" << QByteArray("//G01 1/2 #1=#2/2 $\r\n/X1;$\r\n");
        QTest::newRow("end of blocks: the dollar only") << "mnuDelEndBlocks"
                                                        << QByteArray("//G01 (1/2) #1=#2/2 \r\n/X1;\r\n");
    }
    void removals()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, expected);
        const QByteArray file = "//G01 (1/2) #1=#2/2 $\r\n/X1;$\r\n";
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::CodeMax& text = *window.Text1();
        text.SetSel(Caret(1, 2), false);
        platform::ScriptedAnswers answers;

        window.findChild<QAction*>(item)->trigger();

        QCOMPARE(Bytes(text), expected);
        QCOMPARE(answers.msgBoxes().size(), 0);
        QVERIFY(FrameFixture::Modified(window));
        // The caret stays where it was, as far as the line still reaches.
        QCOMPARE(text.GetSel(false).endLine, 1);
        EditUndo();
        QCOMPARE(Bytes(text), file);
        QVERIFY(!text.CanUndo());
    }

    void removalWithNothingToRemoveMakesNoEdit()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("G01 X1\r\n"));
        platform::CodeMax& text = *window.Text1();
        for (QAction* item : {window.mnuDelBlockSkips, window.mnuDelComments, window.mnuDelEndBlocks})
            item->trigger();
        QVERIFY(!text.CanUndo());
        QVERIFY(!FrameFixture::Modified(window));
    }

    // ------------------------------------------------------------ axis switch

    void switchAxes_data()
    {
        QTest::addColumn<QList<int>>("clicks");  // option clicks: axis * 3 + index
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("message");
        const QByteArray program = "G01 X1 Y2 Z3 (WHAT?)\r\nx1\r\n";
        QTest::newRow("X and Y") << QList<int>{1, 3} << QByteArray("G01 Y1 X2 Z3 (WHAT?)\r\nx1\r\n") << QString();
        QTest::newRow("X and Z") << QList<int>{2, 6} << QByteArray("G01 Z1 Y2 X3 (WHAT?)\r\nx1\r\n") << QString();
        QTest::newRow("Y and Z") << QList<int>{5, 7} << QByteArray("G01 X1 Z2 Y3 (WHAT?)\r\nx1\r\n") << QString();
        QTest::newRow("rotation") << QList<int>{1, 5, 6} << QByteArray("G01 Y1 Z2 X3 (WHAT?)\r\nx1\r\n")
                                  << QString();
        QTest::newRow("all to X") << QList<int>{3, 6} << program << "Must have different axis";
        QTest::newRow("two to X") << QList<int>{1, 3, 6} << program << "Must have different axis";
        QTest::newRow("unchanged after a click") << QList<int>{0} << program << QString();
    }
    void switchAxes()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QByteArray, expected);
        QFETCH(QString, message);
        const QByteArray file = "G01 X1 Y2 Z3 (WHAT?)\r\nx1\r\n";
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::CodeMax& text = *window.Text1();
        text.SetSel(Caret(1, 1), false);
        platform::ScriptedAnswers answers;
        bool okWasDisabled = false;
        answers.scriptModal([&](QDialog& dialog) {
            auto& form = static_cast<frmSwitchXYZ&>(dialog);
            ShowAsModal(form);
            okWasDisabled = !form.cmdSwitch[0]->isEnabled();
            const std::array<std::array<QRadioButton*, 3>*, 3> options{&form.optX, &form.optY, &form.optZ};
            for (int click : clicks)
                (*options[static_cast<std::size_t>(click / 3)])[static_cast<std::size_t>(click % 3)]->click();
            form.cmdSwitch[0]->click();
        });

        window.mnuSwitch->trigger();

        QVERIFY(okWasDisabled);
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Switch"));
        QCOMPARE(Bytes(text), expected);
        if (message.isEmpty()) {
            QCOMPARE(answers.msgBoxes().size(), 0);
        } else {
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, message);
            QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        }
        if (expected != file) {
            QCOMPARE(text.GetSel(false), Caret(1, 1));
            EditUndo();
            QCOMPARE(Bytes(text), file);
        }
        QVERIFY(!text.CanUndo());
        ExpectEditorTakesShortcuts(window);
    }

    void switchCancelledOrClosedChangesNothing_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }
    void switchCancelledOrClosedChangesNothing()
    {
        QFETCH(bool, closeBox);
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("X1 Y2\r\n"));
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            auto& form = static_cast<frmSwitchXYZ&>(dialog);
            ShowAsModal(form);
            form.optX[1]->click();
            form.optY[0]->click();
            if (closeBox)
                form.close();
            else
                form.cmdSwitch[1]->click();
        });

        window.mnuSwitch->trigger();

        QCOMPARE(Bytes(*window.Text1()), QByteArray("X1 Y2\r\n"));
        QVERIFY(!window.Text1()->CanUndo());
        QCOMPARE(answers.msgBoxes().size(), 0);
        QVERIFY(!DialogCancelled);  // read and cleared
        ExpectEditorTakesShortcuts(window);
    }

    void switchOptionClickWritesTheWindowAtOnce()
    {
        qint16 x = 0;
        qint16 y = 1;
        qint16 z = 2;
        frmSwitchXYZ form(SwitchValues{&x, &y, &z});
        QCOMPARE(form.windowTitle(), QStringLiteral("Switch"));
        QCOMPARE(form.fraAxis[1]->title(), QStringLiteral("Y="));
        QVERIFY(form.optX[0]->isChecked() && form.optY[1]->isChecked() && form.optZ[2]->isChecked());
        form.optZ[0]->click();
        QCOMPARE(z, qint16(0));  // before OK
        QVERIFY(form.cmdSwitch[0]->isEnabled());
        form.optX[2]->setChecked(true);  // not clicked: only OK reads it
        QCOMPARE(x, qint16(0));
        form.cmdSwitch[0]->click();
        QCOMPARE(x, qint16(2));
        QCOMPARE(y, qint16(1));
        QCOMPARE(z, qint16(0));
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!DialogCancelled);
    }

    // ------------------------------------------------------------ change value

    void changeValue_data()
    {
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray program = "X1 X15 X1.5 x1\r\n";
        QTest::newRow("inside longer words, case matters") << "X1" << "X2" << true << QByteArray("X2 X25 X2.5 x1\r\n");
        QTest::newRow("no rescanning") << "X" << "XX" << true << QByteArray("XX1 XX15 XX1.5 x1\r\n");
        QTest::newRow("empty change") << "X1" << "" << true << program;
        QTest::newRow("Cancel") << "X1" << "X2" << false << program;
    }
    void changeValue()
    {
        QFETCH(QString, find);
        QFETCH(QString, change);
        QFETCH(bool, ok);
        QFETCH(QByteArray, expected);
        const QByteArray file = "X1 X15 X1.5 x1\r\n";
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::CodeMax& text = *window.Text1();
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            auto& form = static_cast<frmChangeValue&>(dialog);
            ShowAsModal(form);
            QVERIFY(form.txtFind->text().isEmpty() && form.txtChange->text().isEmpty());
            QTest::keyClicks(form.txtFind, find);
            QVERIFY(!form.cmdChange[0]->isEnabled());
            // Typed and taken back again, "Change to:" still enables OK.
            QTest::keyClicks(form.txtChange, QStringLiteral("Q"));
            QTest::keyClick(form.txtChange, Qt::Key_Backspace);
            QTest::keyClicks(form.txtChange, change);
            QVERIFY(form.cmdChange[0]->isEnabled());
            form.cmdChange[ok ? 0 : 1]->click();
        });

        window.mnuChangeMain->trigger();

        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Change Value"));
        QCOMPARE(answers.modals()[0].result, ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(Bytes(text), expected);
        QCOMPARE(answers.msgBoxes().size(), 0);
        if (expected != file) {
            EditUndo();
            QCOMPARE(Bytes(text), file);
        }
        QVERIFY(!text.CanUndo());
        ExpectEditorTakesShortcuts(window);
    }

    void changeValueALatin1ProgramCannotHoldIsRefused()
    {
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("X1 \xe9\r\n"));  // not UTF-8: read as Latin-1
        platform::ScriptedAnswers answers;

        ChangeValue(QStringLiteral("X1"), QString::fromUtf8("X\xe2\x82\xac"));  // not in Latin-1
        ChangeValue(QString::fromUtf8("\xe2\x82\xac"), QStringLiteral("X2"));   // cannot be in it either

        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
        QCOMPARE(Bytes(*window.Text1()), QByteArray("X1 \xe9\r\n"));
        QVERIFY(!window.Text1()->CanUndo());
        ChangeValue(QString::fromLatin1("\xe9"), QStringLiteral("X2"));  // a Latin-1 character is found
        QCOMPARE(Bytes(*window.Text1()), QByteArray("X1 X2\r\n"));
    }

    void changeValueEnterMovesOn()
    {
        FrameFixture fixture(MakeNotePad);
        frmChangeValue form(&fixture.Main());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.focusWidget(), form.txtFind);
        QTest::keyClick(form.txtFind, Qt::Key_Return);
        QCOMPARE(form.focusWidget(), form.txtChange);
        QTest::keyClick(form.txtChange, Qt::Key_Return);  // empty: stays
        QCOMPARE(form.focusWidget(), form.txtChange);
        QVERIFY(form.isVisible());
        QTest::keyClicks(form.txtChange, QStringLiteral("X2"));
        QTest::keyClick(form.txtChange, Qt::Key_Return);
        QCOMPARE(form.focusWidget(), form.cmdChange[0]);
        QVERIFY(form.isVisible());
    }

    // ------------------------------------------------------------ shift address

    void shiftAddress_data()
    {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("message");
        QTest::newRow("X only") << QStringList{"5", "", ""} << QByteArray("X10 Y20\r\n(MAX) X\r\n")
                                << QByteArray("X15 Y20\r\n(MAX) X\r\n") << QString();
        QTest::newRow("three axes, comma separator") << QStringList{"-10", "0,5", "-0.25"}
                                                     << QByteArray("X10Y0Z0") << QByteArray("X0Y.5Z-.25") << QString();
        QTest::newRow("all empty") << QStringList{"", "", ""} << QByteArray("X10") << QByteArray("X10") << QString();
        QTest::newRow("bad box") << QStringList{"5", "abc", "1"} << QByteArray("X10 Y1 Z1") << QByteArray("X10 Y1 Z1")
                                 << "An error as occured";
        QTest::newRow("value it cannot read")
            << QStringList{"1", "", ""} << QByteArray("X1\r\nX1,5\r\n") << QByteArray("X1\r\nX1,5\r\n")
            << "The value at line 2 is not one decimal number and cannot be shifted. The program was left unchanged.";
    }
    void shiftAddress()
    {
        QFETCH(QStringList, boxes);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, expected);
        QFETCH(QString, message);
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::CodeMax& text = *window.Text1();
        platform::ScriptedAnswers answers;
        answers.scriptModal([&](QDialog& dialog) {
            auto& form = static_cast<frmShiftAddress&>(dialog);
            ShowAsModal(form);
            QCOMPARE(form.focusWidget(), form.txtVX);
            QCOMPARE(form.txtAX->text(), QStringLiteral("X"));
            QCOMPARE(form.txtVX->font().family(), QStringLiteral("Arial"));
            QTest::keyClicks(form.txtVX, boxes[0]);
            QTest::keyClicks(form.txtVY, boxes[1]);
            QTest::keyClicks(form.txtVZ, boxes[2]);
            form.cmdBut[0]->click();
        });

        window.mnuShiftAddress->trigger();

        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].windowTitle, QStringLiteral("Shift Address"));
        QCOMPARE(Bytes(text), expected);
        if (message.isEmpty()) {
            QCOMPARE(answers.msgBoxes().size(), 0);
        } else {
            QCOMPARE(answers.msgBoxes().size(), 1);
            QCOMPARE(answers.msgBoxes()[0].prompt, message);
            QCOMPARE(answers.msgBoxes()[0].style, platform::vbCritical);
            QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Talvex Editor"));
        }
        if (expected != file) {
            QVERIFY(TextChanged);
            EditUndo();
            QCOMPARE(Bytes(text), file);
        }
        QVERIFY(!text.CanUndo());
        ExpectEditorTakesShortcuts(window);
    }

    // A shift once accepted is never applied again by a later Cancel, close box or bad box.
    void shiftNeverRepeatsAnEarlierOne_data()
    {
        QTest::addColumn<int>("how");  // 0 Cancel, 1 close box, 2 bad box
        QTest::newRow("Cancel") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("bad box") << 2;
    }
    void shiftNeverRepeatsAnEarlierOne()
    {
        QFETCH(int, how);
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open("X10\r\n"));
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            auto& form = static_cast<frmShiftAddress&>(dialog);
            QTest::keyClicks(form.txtVX, QStringLiteral("5"));
            form.cmdBut[0]->click();
        });
        answers.scriptModal([how](QDialog& dialog) {
            auto& form = static_cast<frmShiftAddress&>(dialog);
            ShowAsModal(form);
            QVERIFY(form.txtVX->text().isEmpty());  // each showing starts empty
            if (how == 0) {
                form.cmdBut[1]->click();
            } else if (how == 1) {
                form.close();
            } else {
                QTest::keyClicks(form.txtVX, QStringLiteral("1.2.3"));
                form.cmdBut[0]->click();
            }
        });

        window.mnuShiftAddress->trigger();
        window.mnuShiftAddress->trigger();

        QCOMPARE(Bytes(*window.Text1()), QByteArray("X15\r\n"));
        QCOMPARE(answers.msgBoxes().size(), how == 2 ? 1 : 0);
        ExpectEditorTakesShortcuts(window);
    }

    // ------------------------------------------------------------ Enter on a button

    // In every dialog of these commands, Enter on the button that has the focus presses it.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray file = "X1 Y2\r\n";
        QTest::newRow("Switch, OK") << "mnuSwitch" << "cmdSwitch0" << QByteArray("Y1 X2\r\n");
        QTest::newRow("Switch, Cancel") << "mnuSwitch" << "cmdSwitch1" << file;
        QTest::newRow("Change Value, OK") << "mnuChangeMain" << "cmdChange0" << QByteArray("X5 Y2\r\n");
        QTest::newRow("Change Value, Cancel") << "mnuChangeMain" << "cmdChange1" << file;
        QTest::newRow("Shift Address, OK") << "mnuShiftAddress" << "cmdBut0" << QByteArray("X6 Y2\r\n");
        QTest::newRow("Shift Address, Cancel") << "mnuShiftAddress" << "cmdBut1" << file;
        QTest::newRow("numbering, OK") << "mnuInsertNumbers" << "cmdBut0" << QByteArray("N100X1 Y2\r\n");
        QTest::newRow("numbering, Cancel") << "mnuInsertNumbers" << "cmdBut1" << file;
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, command);
        QFETCH(QString, button);
        QFETCH(QByteArray, expected);
        const QByteArray file = "X1 Y2\r\n";
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        NumPopup = 1;
        platform::ScriptedAnswers answers;
        bool focused = false;
        answers.scriptModal([&](QDialog& dialog) {
            ShowAsModal(dialog);
            const auto type = [&dialog](const char* box, const char* text) {
                auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(box));
                edit->selectAll();
                QTest::keyClicks(edit, QLatin1String(text));
            };
            if (auto* form = qobject_cast<frmSwitchXYZ*>(&dialog)) {
                form->optX[1]->click();
                form->optY[0]->click();
            }
            if (qobject_cast<frmChangeValue*>(&dialog)) {
                type("txtFind", "X1");
                type("txtChange", "X5");
            }
            if (qobject_cast<frmShiftAddress*>(&dialog))
                type("txtVX", "5");
            if (dialog.findChild<QLineEdit*>(QStringLiteral("txtStart")))
                type("txtStart", "100");
            auto* pressed = dialog.findChild<QPushButton*>(button);
            pressed->setFocus();
            focused = dialog.focusWidget() == pressed;
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
            // Still open: Enter did nothing; closed by the script's end, as nothing pressed.
            if (dialog.isVisible())
                dialog.done(-1);
        });

        window.findChild<QAction*>(command)->trigger();

        QVERIFY(focused);
        QCOMPARE(answers.modals().size(), 1);
        const bool ok = button.endsWith(QLatin1Char('0'));
        QCOMPARE(answers.modals()[0].result, ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(Bytes(*window.Text1()), expected);
        QCOMPARE(answers.msgBoxes().size(), 0);
        ExpectEditorTakesShortcuts(window);
    }

    // ------------------------------------------------------------ syntax check

    void syntaxCheck_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("line");
        QTest::newRow("clean") << QByteArray("G01 X1\r\nM30\r\n") << "No syntax errors found." << platform::vbOKOnly
                               << 0;
        QTest::newRow("empty document") << QByteArray() << "No syntax errors found." << platform::vbOKOnly << 0;
        QTest::newRow("first of two faults") << QByteArray("G01\r\n%G5\r\nG00 M13\r\nG5\r\n")
                                             << "Invalid MCode Number M13" << platform::vbOKOnly << 2;
        QTest::newRow("G code") << QByteArray("G01\nG5 X1\n") << "Invalid GCode Number G5" << platform::vbOKOnly << 1;
        QTest::newRow("brackets") << QByteArray("G01\r\nG01 X1. (GO HOME\r\n") << "Missed matched comment brackets."
                                  << platform::vbExclamation << 1;
    }
    void syntaxCheck()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QFETCH(int, style);
        QFETCH(int, line);
        FrameFixture fixture(MakeNotePad);
        frmNotePad& window = NotePad(fixture.Open(file));
        platform::CodeMax& text = *window.Text1();
        text.SetSel({0, 0, text.LineCount() - 1, 0}, false);  // a selection does not narrow the check
        bool workingClosed = false;
        QStringList shown;
        connect(&text, &platform::CodeMax::ContentChange, this, [] { QFAIL("the check changed the text"); });
        const auto previous = platform::SetMsgBoxHandler([&](const QString& prompt, int boxStyle, const QString& title) {
            workingClosed = frmMsg::Loaded() == nullptr;
            shown << prompt << QString::number(boxStyle) << title;
            return platform::vbOK;
        });

        window.mnuSyntax->trigger();

        platform::SetMsgBoxHandler(previous);
        QCOMPARE(shown, (QStringList{message, QString::number(style), QStringLiteral("Talvex Editor")}));
        QVERIFY(workingClosed);
        QCOMPARE(text.GetSel(false), Caret(line, 0));
        if (message != QLatin1String("No syntax errors found."))
            QCOMPARE(text.HighlightedLine(), line);
        QVERIFY(!FrameFixture::Modified(window));
        QVERIFY(!text.CanUndo());
        ExpectEditorTakesShortcuts(window);
    }
};

REGISTER_TEST(TestNcCommandsInWindow);

#include "NcCommandsInWindowTests.moc"
