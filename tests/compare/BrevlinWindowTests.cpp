#include "platform/files/AtomicWrite.h"
// Brevlin's window as the user works it: opening both files through the
// dialogs, comparing, stepping through the marks, stopping, saving and
// closing.

#include "compare/MCompare.h"
#include "compare/frmCompare.h"
#include "platform/codemax/CodeMax.h"
#include "platform/desktop/HelpWindow.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/WaitCursor.h"
#include "platform/files/MemoryRoom.h"
#include "platform/forms/ScriptedAnswers.h"
#include "shell/FileTestHelpers.h"
#include "support/TestRegistry.h"
#include "support/ToolbarLook.h"
#include "support/WindowFits.h"
#include "support/Unprivileged.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QPushButton>
#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTimer>
#include <QToolTip>
#include <QTest>

#include <sys/stat.h>

using namespace platform;

namespace {

const QString Identical = QStringLiteral("Files are identical!.");
const QString NotIdentical = QStringLiteral("Files are not identical!.");
const QString NotSameSize = QStringLiteral("Files are not identical in size\r\nContinue?");

// Where the help's heading on comparing stands in the view: its top, in
// pixels from the top of the visible part; -1 without the heading.
int CompareHeadingTop(const QTextBrowser& browser)
{
    const QTextBlock heading = browser.document()->find(QStringLiteral("Comparing programs (Brevlin)")).block();
    if (!heading.isValid())
        return -1;
    const QRectF block = browser.document()->documentLayout()->blockBoundingRect(heading);
    return qRound(block.top()) - browser.verticalScrollBar()->value();
}

class Fixture {
public:
    Fixture()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the window did not become active");
        window.Editor[0]->SetFocus();
        CompareDefaultDir = dir.path();
    }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return file.fileName();
    }
    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Opens both texts through the Open command's two dialogs.
    void OpenBoth(const QByteArray& text1, const QByteArray& text2)
    {
        Write(QStringLiteral("ONE.NC"), text1);
        Write(QStringLiteral("TWO.NC"), text2);
        answers.scriptModal(ChooseFiles(dir.path(), {QStringLiteral("ONE.NC")}));
        answers.scriptModal(ChooseFiles(dir.path(), {QStringLiteral("TWO.NC")}));
        window.Button(QStringLiteral("Open"))->trigger();
        // The dialogs gave the focus back where it was.
        QTRY_VERIFY(window.Editor[0]->isAncestorOf(QApplication::focusWidget()));
    }

    // The bookmarked lines of a pane, counted from 1.
    QList<int> Marks(int pane) const
    {
        QList<int> lines;
        for (int line = 0; line < window.Editor[pane]->LineCount(); ++line)
            if (window.Editor[pane]->HasBookmark(line))
                lines.append(line + 1);
        return lines;
    }

    QTemporaryDir dir;
    ScriptedAnswers answers;
    frmCompare window;
};

QByteArray Program(int lines, int changeEvery, bool changed)
{
    QByteArray text;
    for (int i = 1; i <= lines; ++i) {
        text += "N" + QByteArray::number(i) + " G01 X" + QByteArray::number(i % 83) + ".5";
        if (changed && i % changeEvery == 0)
            text += "1";
        text += "\r\n";
    }
    return text;
}

// Pixels of the colour on the highlighted line of a pane, as painted.
int HighlightPixels(CodeMax& control, const QColor& colour)
{
    using Sci = QsciScintillaBase;
    QsciScintilla* pane = control.ActivePane();
    const QImage image = pane->viewport()->grab().toImage();
    const int top = int(pane->SendScintilla(
        Sci::SCI_POINTYFROMPOSITION, 0UL,
        pane->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(control.HighlightedLine()))));
    const int bottom = std::min(image.height(), top + int(pane->SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL)));
    int count = 0;
    for (int y = std::max(0, top); y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

}  // namespace

class BrevlinWindowTests : public QObject {
    Q_OBJECT
private slots:
    void openingBothFilesEnablesTheCommands()
    {
        Fixture f;
        f.Write(QStringLiteral("ONE.NC"), "G01 X1\r\nM30\r\n");
        f.answers.scriptModal(ChooseFiles(f.dir.path(), {QStringLiteral("ONE.NC")}));
        f.answers.scriptModal(CancelDialog());
        f.window.Button(QStringLiteral("Open"))->trigger();
        // The first file stays loaded; nothing can be compared yet.
        QCOMPARE(f.answers.modals().size(), 2);
        QCOMPARE(f.answers.modals()[0].windowTitle, QStringLiteral("Open File #1"));
        QCOMPARE(f.answers.modals()[1].windowTitle, QStringLiteral("Open File #2"));
        QCOMPARE(f.window.lblEditor[0]->text(), QStringLiteral(" File #1 ") + f.dir.filePath(QStringLiteral("ONE.NC")));
        QCOMPARE(f.window.lblLines[0]->text(), QStringLiteral(" Total Lines = 2"));
        QVERIFY(!f.window.Button(QStringLiteral("Compare"))->isEnabled());

        f.OpenBoth("G01 X1\r\nM30\r\n", "G01 X1\r\nM30");
        QCOMPARE(f.window.lblEditor[1]->text(), QStringLiteral(" File #2 ") + f.dir.filePath(QStringLiteral("TWO.NC")));
        QCOMPARE(f.window.lblLines[1]->text(), QStringLiteral(" Total Lines = 2"));
        QVERIFY(f.window.Button(QStringLiteral("Compare"))->isEnabled());
        QVERIFY(f.window.mnuBookmarks->menuAction()->isEnabled());
        // Stop only runs with a compare.
        QVERIFY(!f.window.Button(QStringLiteral("Stop"))->isEnabled());
    }

    void compares_data()
    {
        QTest::addColumn<QByteArray>("text1");
        QTest::addColumn<QByteArray>("text2");
        QTest::addColumn<QList<int>>("marks1");
        QTest::addColumn<QList<int>>("marks2");
        QTest::addColumn<QString>("message");
        QTest::newRow("identical") << QByteArray("N1 G00\r\nN2 M30\r\n") << QByteArray("N1 G00\r\nN2 M30\r\n")
                                   << QList<int>() << QList<int>() << Identical;
        QTest::newRow("a few lines") << QByteArray("N1\nN2\nG01 X10\nN4\nM30\n") << QByteArray("N1\nN2\nG01 X10.0\nN4\nM31\n")
                                     << QList<int>{3, 5} << QList<int>{3, 5} << NotIdentical;
        QTest::newRow("line ends only") << QByteArray("A\r\nB\r\nC") << QByteArray("A\nB\r\nC")
                                        << QList<int>{1} << QList<int>{1} << NotIdentical;
        // The same letter in UTF-8 and in Windows-1252 are different bytes.
        QTest::newRow("outside ASCII") << QByteArray("(\xC3\xA9)\nX1\n") << QByteArray("(\xE9)\nX1\n")
                                       << QList<int>{1} << QList<int>{1} << NotIdentical;
        QTest::newRow("outside ASCII alike") << QByteArray("(\xCE\xB1)\nX1\n") << QByteArray("(\xCE\xB2)\nX1\n")
                                             << QList<int>{1} << QList<int>{1} << NotIdentical;
    }
    void compares()
    {
        QFETCH(QByteArray, text1);
        QFETCH(QByteArray, text2);
        QFETCH(QList<int>, marks1);
        QFETCH(QList<int>, marks2);
        QFETCH(QString, message);
        Fixture f;
        f.OpenBoth(text1, text2);
        f.window.Editor[1]->SetFocus();
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        QCOMPARE(f.answers.msgBoxes()[0].prompt, message);
        QCOMPARE(f.answers.msgBoxes()[0].style, vbInformation);
        QCOMPARE(f.answers.msgBoxes()[0].title, QStringLiteral("File Compare"));
        QCOMPARE(f.Marks(0), marks1);
        QCOMPARE(f.Marks(1), marks2);
        // The bookmark margin shows, and the panes stand on the first differing line.
        QVERIFY(f.window.Editor[0]->DisplayLeftMargin());
        if (!marks1.isEmpty()) {
            QCOMPARE(f.window.Editor[0]->HighlightedLine(), marks1.first() - 1);
            QCOMPARE(f.window.Editor[1]->HighlightedLine(), marks1.first() - 1);
        }
        // The compare changes nothing the user would have to save, and the focus stays.
        QVERIFY(!f.window.Changed());
        QVERIFY(f.window.Editor[1]->isAncestorOf(QApplication::focusWidget()));
    }

    void differentLengthsAskFirst()
    {
        Fixture f;
        f.OpenBoth("A\nB\n", "A\nB\nC\nD\n");
        f.answers.answerMsgBox(vbCancel);
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        QCOMPARE(f.answers.msgBoxes()[0].prompt, NotSameSize);
        QCOMPARE(f.answers.msgBoxes()[0].style, vbOKCancel | vbQuestion);
        QVERIFY(f.Marks(1).isEmpty());

        f.answers.answerMsgBox(vbOK);
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QCOMPARE(f.answers.msgBoxes().size(), 3);
        QCOMPARE(f.answers.msgBoxes()[2].prompt, NotIdentical);
        // Marks only where the pane has the line: none past the end of the shorter file.
        QCOMPARE(f.Marks(0), QList<int>());
        QCOMPARE(f.Marks(1), (QList<int>{3, 4}));
    }

    void stepsThroughTheMarks()
    {
        Fixture f;
        f.OpenBoth("1\n2\n3\n4\n5\n6\n", "1\nX\n3\n4\nY\n6\n");
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QCOMPARE(f.window.Editor[0]->HighlightedLine(), 1);
        f.window.Button(QStringLiteral("NextBookmark"))->trigger();
        QCOMPARE(f.window.Editor[0]->HighlightedLine(), 4);
        QCOMPARE(f.window.Editor[1]->HighlightedLine(), 4);
        f.window.Button(QStringLiteral("PrevBookmark"))->trigger();
        QCOMPARE(f.window.Editor[1]->HighlightedLine(), 1);
        f.window.Button(QStringLiteral("ClearBookmarks"))->trigger();
        QVERIFY(f.Marks(0).isEmpty() && f.Marks(1).isEmpty());
        QCOMPARE(f.window.Editor[0]->HighlightedLine(), -1);
        // A second compare marks again from scratch.
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QCOMPARE(f.Marks(1), (QList<int>{2, 5}));
    }

    // The differing line found is highlighted in the colour Pelmar gives its
    // highlighted line: colour item 2 of its settings, yellow by default.
    void highlightedDifferenceShowsInPelmarsColour_data()
    {
        QTest::addColumn<QByteArray>("colors");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("Pelmar's setting") << QByteArray("[Colors]\r\nclr2fr = 255\r\n") << QColor(255, 0, 0);
        QTest::newRow("default") << QByteArray() << QColor(255, 255, 0);
    }
    void highlightedDifferenceShowsInPelmarsColour()
    {
        QFETCH(QByteArray, colors);
        QFETCH(QColor, expected);
        QTemporaryDir program;
        const QByteArray previous = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program.path().toLocal8Bit());
        const auto restore = qScopeGuard([&] { qputenv("TALVEX_PROGRAM_DIR", previous); });
        if (!colors.isEmpty())
            QVERIFY(WriteFileAtomically(program.filePath(QStringLiteral("Editor.ini")), colors));
        Fixture f;
        f.OpenBoth("1\n2\n3\n4\n", "1\nX\n3\n4\n");
        f.window.Button(QStringLiteral("Compare"))->trigger();
        for (CodeMax* pane : f.window.Editor) {
            QCOMPARE(pane->HighlightedLine(), 1);
            QVERIFY2(HighlightPixels(*pane, expected) > 200, qPrintable(pane->objectName()));
        }
    }

    void stopEndsACompareWithoutAMessage()
    {
        Fixture f;
        const std::size_t lines = frmCompare::LinesPerStep;
        const qint64 interval = frmCompare::EventIntervalMs;
        frmCompare::LinesPerStep = 1000;
        frmCompare::EventIntervalMs = 0;
        f.OpenBoth(Program(20000, 10, false), Program(20000, 10, true));
        bool wasRunning = false, openDisabled = false, stopEnabled = false, exitEnabled = false;
        QTimer::singleShot(0, &f.window, [&] {
            wasRunning = f.window.CompareRunning();
            openDisabled = !f.window.Button(QStringLiteral("Open"))->isEnabled()
                           && !f.window.Button(QStringLiteral("Compare"))->isEnabled();
            stopEnabled = f.window.Button(QStringLiteral("Stop"))->isEnabled();
            exitEnabled = f.window.Button(QStringLiteral("Exit"))->isEnabled();
            f.window.Button(QStringLiteral("Stop"))->trigger();
        });
        QCOMPARE(f.window.CompareFiles(f.window.Editor[0]->DocumentBytes(), f.window.Editor[1]->DocumentBytes()),
                 frmCompare::CompareOutcome::Stopped);
        frmCompare::LinesPerStep = lines;
        frmCompare::EventIntervalMs = interval;
        QVERIFY(wasRunning && openDisabled && stopEnabled && exitEnabled);
        QCOMPARE(f.answers.msgBoxes().size(), 0);
        // The marks found before the stop stay.
        QCOMPARE(f.Marks(1).size(), 100);
        QVERIFY(!f.window.CompareRunning());
        QVERIFY(f.window.Button(QStringLiteral("Compare"))->isEnabled());
        QVERIFY(!f.window.Button(QStringLiteral("Stop"))->isEnabled());

        // A Stop given while nothing runs is no Stop of the next compare.
        f.window.Button(QStringLiteral("Stop"))->trigger();
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        QCOMPARE(f.answers.msgBoxes()[0].prompt, NotIdentical);
        QCOMPARE(f.Marks(1).size(), 2000);
    }

    void exitDuringACompareStopsItFirst()
    {
        Fixture f;
        const std::size_t lines = frmCompare::LinesPerStep;
        const qint64 interval = frmCompare::EventIntervalMs;
        frmCompare::LinesPerStep = 1000;
        frmCompare::EventIntervalMs = 0;
        f.OpenBoth(Program(20000, 10, false), Program(20000, 10, true));
        QTimer::singleShot(0, &f.window, [&] { f.window.Button(QStringLiteral("Exit"))->trigger(); });
        f.window.Button(QStringLiteral("Compare"))->trigger();
        frmCompare::LinesPerStep = lines;
        frmCompare::EventIntervalMs = interval;
        QCOMPARE(f.answers.msgBoxes().size(), 0);
        QTRY_VERIFY(!f.window.isVisible());
    }

    void saveAsWritesPaneTwoAsRead()
    {
        Fixture f;
        // CR LF and LF mixed, and bytes that are not UTF-8.
        const QByteArray two("N1 G00\r\nN2 (\xE9\xE8)\nN3 M30");
        f.OpenBoth("N1\r\n", two);
        const QString copy = f.dir.filePath(QStringLiteral("COPY.NC"));
        f.answers.scriptModal(ChooseFiles(f.dir.path(), {QStringLiteral("COPY.NC")}));
        f.window.Button(QStringLiteral("Save"))->trigger();
        QCOMPARE(f.answers.modals().last().windowTitle, QStringLiteral("Save File As"));
        QCOMPARE(Fixture::Read(copy), two);
        QCOMPARE(f.window.lblEditor[1]->text(), QStringLiteral(" File #2 ") + copy);

        // An edit sets the changed flag; only a save that worked clears it.
        f.window.Editor[1]->ExecuteCmd(191);
        f.window.Editor[1]->AddText(QStringLiteral("\r\nN4"));
        QVERIFY(f.window.Changed());
        // A full disk: the save fails.
        platform::SetSimulatedFreeSpaceForTests(0);
        f.answers.scriptModal(ChooseFiles(f.dir.path(), {QStringLiteral("FULL.NC")}));
        f.window.Button(QStringLiteral("Save"))->trigger();
        platform::SetSimulatedFreeSpaceForTests(-1);
        QVERIFY(f.window.Changed());
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        QVERIFY(f.answers.msgBoxes()[0].prompt.startsWith(QStringLiteral("The file was not saved: ")));
        f.answers.scriptModal(ChooseFiles(f.dir.path(), {QStringLiteral("COPY.NC")}));
        f.window.Button(QStringLiteral("Save"))->trigger();
        QVERIFY(!f.window.Changed());
        QCOMPARE(Fixture::Read(copy), two + "\r\nN4");  // the file's first line break
    }

    // Save As over a read-only file of the user's own replaced it, without a word.
    void saveAsOverAReadOnlyFileIsRefused()
    {
        Fixture f;
        f.OpenBoth("N1\r\n", "N2\r\n");
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("RO.NC"));
        QVERIFY(WriteFileBytes(path, "OLD\r\n"));
        QVERIFY(AsUnprivilegedUser::GiveToUser(folder.path()));
        QVERIFY(AsUnprivilegedUser::GiveToUser(path));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        f.answers.scriptModal(ChooseFiles(folder.path(), {QStringLiteral("RO.NC")}));
        f.answers.answerMsgBox(vbYes);  // it exists: replace it?
        {
            AsUnprivilegedUser user;
            REQUIRE_UNPRIVILEGED(user);
            f.window.Button(QStringLiteral("Save"))->trigger();
        }
        QCOMPARE(Fixture::Read(path), QByteArray("OLD\r\n"));
        QCOMPARE(f.answers.msgBoxes().size(), 2);
        QCOMPARE(f.answers.msgBoxes()[1].prompt,
                 QStringLiteral("The file was not saved: Cannot write %1: Permission denied (the file %1 may not be "
                                "written)")
                     .arg(path));
        QCOMPARE(f.window.lblEditor[1]->text(), QStringLiteral(" File #2 ") + f.dir.filePath(QStringLiteral("TWO.NC")));
    }

    // A file far larger than the memory is refused before it is read, by its
    // size; the file already open stays.
    void fileTooLargeForTheMemoryIsRefused()
    {
        Fixture f;
        f.OpenBoth("N1\r\n", "N2\r\n");
        const QString big = f.dir.filePath(QStringLiteral("BIG.NC"));
        {
            QFile file(big);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(qint64(5) << 30));  // sparse: no disk is used
        }
        f.answers.scriptModal(ChooseFiles(f.dir.path(), {QStringLiteral("BIG.NC")}));
        SetAvailableMemoryForTests(qint64(2) << 30);
        f.window.Button(QStringLiteral("Open"))->trigger();
        SetAvailableMemoryForTests(-1);
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        QVERIFY2(f.answers.msgBoxes()[0].prompt.startsWith(
                     QStringLiteral("The file %1 is too large to be read: it has 5,368,709,120 bytes (5.0 GB)").arg(big)),
                 qPrintable(f.answers.msgBoxes()[0].prompt));
        QCOMPARE(f.window.Editor[0]->Text(), QStringLiteral("N1\r\n"));
        QCOMPARE(f.window.lblEditor[0]->text(), QStringLiteral(" File #1 ") + f.dir.filePath(QStringLiteral("ONE.NC")));
    }

    void closingAsksAboutChanges()
    {
        Fixture f;
        f.OpenBoth("A\n", "B\n");
        f.window.Editor[1]->AddText(QStringLiteral("X"));
        QVERIFY(f.window.Changed());
        // Cancel, and Yes with the save dialog cancelled, keep the window and the edit.
        f.answers.answerMsgBox(vbCancel);
        QVERIFY(!f.window.close());
        f.answers.answerMsgBox(vbYes);
        f.answers.scriptModal(CancelDialog());
        QVERIFY(!f.window.close());
        QCOMPARE(f.answers.msgBoxes().size(), 2);
        QCOMPARE(f.answers.msgBoxes()[0].prompt, QStringLiteral("Save changes to file?"));
        QCOMPARE(f.answers.msgBoxes()[0].style, vbYesNoCancel | vbQuestion);
        QCOMPARE(f.answers.msgBoxes()[0].title, QStringLiteral("Corvane File Compare"));
        QVERIFY(f.window.isVisible());
        QCOMPARE(f.window.Editor[1]->GetLine(0), QStringLiteral("XB"));
        // Yes with a save closes; the file has the edit.
        f.answers.answerMsgBox(vbYes);
        f.answers.scriptModal(ChooseFiles(f.dir.path(), {QStringLiteral("SAVED.NC")}));
        QVERIFY(f.window.close());
        QCOMPARE(Fixture::Read(f.dir.filePath(QStringLiteral("SAVED.NC"))), QByteArray("XB\n"));
    }

    void noQuestionWithoutChanges()
    {
        Fixture f;
        f.OpenBoth("A\n", "B\n");
        f.window.Button(QStringLiteral("Compare"))->trigger();
        QVERIFY(f.window.close());
        QCOMPARE(f.answers.msgBoxes().size(), 1);  // only the compare's result
    }

    void editMenuActsOnTheRightPane()
    {
        Fixture f;
        f.OpenBoth("AAA\n", "BBB\n");
        f.window.Editor[0]->SetFocus();
        f.window.Editor[0]->ExecuteCmd(137);  // select all
        f.window.mnuCopy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("AAA\n"));  // the file's own line break
        // Paste always goes into the second file.
        f.window.Editor[1]->ExecuteCmd(189);
        f.window.mnuPaste->trigger();
        QCOMPARE(f.window.Editor[1]->GetLine(0), QStringLiteral("AAA"));
        QCOMPARE(f.window.Editor[0]->GetLine(0), QStringLiteral("AAA"));
        f.window.Editor[1]->SetFocus();
        f.window.mnuUndo->trigger();
        QCOMPARE(f.window.Editor[1]->GetLine(0), QStringLiteral("BBB"));
        f.window.mnuRedo->trigger();
        QCOMPARE(f.window.Editor[1]->GetLine(0), QStringLiteral("AAA"));
    }

    // On a 1024 x 768 screen the window, maximised as the program shows it,
    // fits and shows its menus, toolbar and labels whole with two files of
    // long paths open; so does the help window.
    void fitsTheScreenWithItsTextsWhole()
    {
        Fixture f;
        f.window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QCOMPARE(f.window.screen()->availableGeometry().size(), QSize(1024, 768));
        const QString folder = QStringLiteral("customer-programs/pump-housing-rev-c/second-operation");
        QVERIFY(QDir(f.dir.path()).mkpath(folder));
        const QString one = f.Write(folder + QStringLiteral("/O1000-ROUGHING-AND-FINISHING.NC"), "G01 X1\r\nM30\r\n");
        const QString two = f.Write(folder + QStringLiteral("/O1000-ROUGHING-AND-FINISHING-V2.NC"), "G01 X2\r\nM30\r\n");
        QStringList problems;
        f.answers.scriptModal([&](QDialog& dialog) {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            problems << windowfits::Problems(dialog);
            windowfits::ScreenShot(dialog, QStringLiteral("brevlin-open"));
            ChooseFiles(QFileInfo(one).path(), {QFileInfo(one).fileName()})(dialog);
        });
        f.answers.scriptModal(ChooseFiles(QFileInfo(two).path(), {QFileInfo(two).fileName()}));
        f.window.Button(QStringLiteral("Open"))->trigger();
        QCOMPARE(f.window.lblEditor[1]->text(), QStringLiteral(" File #2 ") + two);
        problems << windowfits::Problems(f.window);
        windowfits::ScreenShot(f.window, QStringLiteral("brevlin"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        // A path too long for its label shows whole as the label's tooltip.
        for (QLabel* label : f.window.lblEditor) {
            QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(label, &help);
            QTRY_COMPARE(QToolTip::text(), label->text());
        }
    }

    // The toolbar's images read on the desktop's palette, light or dark (Top
    // and Bottom of File among them), disabled ones fainter.
    void toolbarImagesReadOnAnyPalette_data()
    {
        toolbarlook::PaletteRows();
    }
    void toolbarImagesReadOnAnyPalette()
    {
        QFETCH(QPalette, palette);
        const toolbarlook::ApplicationPalette desktop(palette);
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        const std::vector<toolbarlook::ButtonLook> looks = toolbarlook::Measure(*f.window.TBCompare);
        QCOMPARE(looks.size(), size_t(11));
        const QStringList faults = toolbarlook::Unreadable(looks);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    // Help Topics shows the suite's own help, as the editor does; without
    // the file it says so.
    void helpTopicsShowsTheSuitesHelp()
    {
        QTemporaryDir program;
        const QByteArray previous = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program.path().toLocal8Bit());
        Fixture f;
        f.window.mnuHelpTopics->trigger();
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        QCOMPARE(f.answers.msgBoxes()[0].prompt, QStringLiteral("Help file not found."));
        QCOMPARE(f.answers.msgBoxes()[0].style, vbInformation);
        QCOMPARE(f.answers.msgBoxes()[0].title, QStringLiteral("Talvex Compare"));
        QVERIFY(HelpWindow::Instance() == nullptr);

        QVERIFY(QFile::copy(qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/resources/Editor.html"),
                            program.filePath(QStringLiteral("Editor.html"))));
        f.window.mnuHelpTopics->trigger();
        QCOMPARE(f.answers.msgBoxes().size(), 1);
        HelpWindow* help = HelpWindow::Instance();
        QVERIFY(help != nullptr && help->isVisible());
        QCOMPARE(help->parentWidget(), &f.window);
        QVERIFY(help->txtHelp->toPlainText().contains(QStringLiteral("Block Hightlight Search")));
        QVERIFY(QTest::qWaitForWindowExposed(help));
        const QStringList problems = windowfits::Problems(*help);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        // At the section on comparing: its heading at the top of the view, or
        // as near it as the end of the text allows.
        QCOMPARE(help->txtHelp->source().fragment(), QStringLiteral("compare"));
        QScrollBar* scroll = help->txtHelp->verticalScrollBar();
        const auto atSection = [&] {
            const int top = CompareHeadingTop(*help->txtHelp);
            return scroll->value() > 0 && (top == 0 || (scroll->value() == scroll->maximum() && top > 0))
                   && top < help->txtHelp->viewport()->height() / 2;
        };
        QTRY_VERIFY(atSection());
        // Asked again, the same window comes to the front, at that section again.
        scroll->setValue(0);
        f.window.mnuHelpTopics->trigger();
        QCOMPARE(HelpWindow::Instance(), help);
        QTRY_VERIFY(atSection());
        help->cmdClose->click();
        QTRY_VERIFY(HelpWindow::Instance() == nullptr);
        qputenv("TALVEX_PROGRAM_DIR", previous);
    }
};

REGISTER_TEST(BrevlinWindowTests);
#include "BrevlinWindowTests.moc"
