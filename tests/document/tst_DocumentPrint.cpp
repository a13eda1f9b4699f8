// Printing: the quick print's line cutting, and the print dialog printing
// the current file or the selection to PDF, read back with pdftotext; the
// user's clipboard is never touched.

#include "DocumentFixture.h"
#include "DocumentTestHelpers.h"

#include "document/frmPrint.h"
#include "shell/CommonDialogObject.h"
#include "shell/MPrinting.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QGuiApplication>
#include <QImage>
#include <QMultiMap>
#include <QRegularExpression>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

using document_test::OpenFile;
using document_test::SaveShortcutReachesTheText;

namespace {

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The non-empty lines of a PDF's text, blanks around them dropped.
QStringList PdfLines(const QString& pdf)
{
    QStringList lines;
    for (const QString& line : PdfText(pdf).split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    return lines;
}

// Where pdftotext -bbox finds each word on the first page, in points.
QMultiMap<QString, QRectF> PdfWordBoxes(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                   QStringLiteral("1"), pdf, QStringLiteral("-")});
    QMultiMap<QString, QRectF> boxes;
    if (!process.waitForFinished(30000))
        return boxes;
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        boxes.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return boxes;
}

// The first page of a PDF as pdftoppm draws it, at the given dots per inch.
QImage PdfPage(const QString& pdf, int dpi)
{
    const QString prefix = pdf + QStringLiteral("-page");
    QProcess process;
    process.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                                               QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                               QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// The darkest and the lightest pixel drawn inside a word's box.
struct InkOfWord {
    QColor darkest = Qt::white;
    QColor lightest = Qt::black;
};

InkOfWord Ink(const QImage& page, const QRectF& points, int dpi)
{
    const double scale = dpi / 72.0;
    const QRect box = QRectF(points.topLeft() * scale, points.bottomRight() * scale).toAlignedRect() & page.rect();
    InkOfWord ink;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (qGray(c.rgb()) < qGray(ink.darkest.rgb()))
                ink.darkest = c;
            if (qGray(c.rgb()) > qGray(ink.lightest.rgb()))
                ink.lightest = c;
        }
    return ink;
}

const QByteArray PrintedProgram = "%\r\nO1001\r\nN10 G00 X1 Y2\r\nN20 G01 Z-3 F200\r\nN30 M30\r\n%\r\n";

struct PrintSession {
    DocumentFixture fixture;
    frmNotePad* window = nullptr;
    bool active = false;
    QString pdf;
    PrintSession()
    {
        fixture.main->show();
        active = QTest::qWaitForWindowActive(fixture.main.get());
        window = OpenFile(fixture, QStringLiteral("part.nc"), PrintedProgram);
        window->Text1()->SetFocus();
        pdf = fixture.Path(QStringLiteral("out.pdf"));
        ApplicationPrinter().setOutputFormat(QPrinter::PdfFormat);
        ApplicationPrinter().setOutputFileName(pdf);
    }
};

void PressPrinterDialog(QDialog& dialog, QDialogButtonBox::StandardButton button)
{
    QVERIFY(qobject_cast<QPrintDialog*>(&dialog) != nullptr);
    dialog.findChild<QDialogButtonBox*>()->button(button)->click();
}

// The file dialog of a quick print to a file: what its name box proposed,
// then the name typed where the keyboard is and Enter pressed (an empty
// name: Escape).
platform::ScriptedAnswers::ModalScript TypeFileName(const QString& path, QString* proposed = nullptr)
{
    return [path, proposed](QDialog& dialog) {
        auto* files = qobject_cast<QFileDialog*>(&dialog);
        QVERIFY(files != nullptr);
        QCOMPARE(files->windowTitle(), QStringLiteral("Print To File"));
        auto* nameBox = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (proposed != nullptr)
            *proposed = nameBox->text();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTRY_COMPARE(QApplication::focusWidget(), nameBox);
        QWidget* keyboard = nameBox;
        if (path.isEmpty()) {
            QTest::keyClick(keyboard, Qt::Key_Escape);
            return;
        }
        QTest::keyClick(keyboard, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(keyboard, path);
        QTest::keyClick(keyboard, Qt::Key_Return);
    };
}

// The print dialog with "Selected Text" and OK.
void PrintTheSelection(QDialog& dialog)
{
    auto& print = dynamic_cast<frmPrint&>(dialog);
    QVERIFY(print.chkSelect->isChecked());
    print.cmdButton[0]->click();
}

}  // namespace

class TestDocumentPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void quickPrintLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        const QString a80(80, QLatin1Char('a'));
        QTest::newRow("80 characters: one line") << a80 << QStringList{a80};
        QTest::newRow("81 without blanks: 80 and 1") << a80 + "b" << QStringList{a80, "b"};
        const QString blankAt75 = QString(74, QLatin1Char('x')) + " " + QString(25, QLatin1Char('y'));
        QTest::newRow("last blank at 75") << blankAt75
                                          << QStringList{QString(74, QLatin1Char('x')) + " ", QString(25, QLatin1Char('y'))};
        const QString crAt85 = QString(40, QLatin1Char('x')) + " " + QString(43, QLatin1Char('y')) + "\r\n" + "z";
        QTest::newRow("break past 80 is no cut")
            << crAt85 << QStringList{QString(40, QLatin1Char('x')) + " ", QString(43, QLatin1Char('y')), "z"};
        QTest::newRow("CR LF in the first 80") << "abc\r\n" + QString(90, QLatin1Char('q'))
                                               << QStringList{"abc", QString(80, QLatin1Char('q')), "qqqqqqqqqq"};
        QTest::newRow("LF lines") << "N10\nN20\nN30" << QStringList{"N10", "N20", "N30"};
        QTest::newRow("lone CR keeps the next character") << "N10\rN20\r\nN30\r\n" << QStringList{"N10", "N20", "N30"};
        QTest::newRow("empty lines stay") << "A\r\n\r\nB" << QStringList{"A", "", "B"};
        QTest::newRow("long text with LF breaks")
            << QString(60, QLatin1Char('a')) + "\n" + QString(60, QLatin1Char('b')) + "\n"
            << QStringList{QString(60, QLatin1Char('a')), QString(60, QLatin1Char('b'))};
    }

    void quickPrintLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(QuickPrintLines(text), lines);
    }

    void printSelectedText()
    {
        PrintSession s;
        QGuiApplication::clipboard()->setText(QStringLiteral("kept on the clipboard"));
        s.window->Text1()->SetSel({2, 0, 4, 0}, false);
        platform::ScriptedAnswers answers;
        bool selectionOffered = false;
        answers.scriptModal([&](QDialog& dialog) {
            auto& print = dynamic_cast<frmPrint&>(dialog);
            QCOMPARE(print.windowTitle(), QStringLiteral("Print"));
            selectionOffered = print.chkSelect->isEnabled() && print.chkSelect->isChecked();
            print.cmdButton[0]->click();
        });
        // The printer writes a file: the quick print asks which.
        const QString selection = s.fixture.Path(QStringLiteral("selection.pdf"));
        answers.scriptModal(TypeFileName(selection));
        s.window->mnuFilePrint->trigger();
        QVERIFY(selectionOffered);
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(PdfLines(selection), (QStringList{"N10 G00 X1 Y2", "N20 G01 Z-3 F200"}));
        QVERIFY(!QFile::exists(s.pdf));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept on the clipboard"));
        QVERIFY(answers.msgBoxes().isEmpty());
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    void printCurrentFile()
    {
        PrintSession s;
        platform::ScriptedAnswers answers;
        bool onlyCurrent = false;
        answers.scriptModal([&](QDialog& dialog) {
            auto& print = dynamic_cast<frmPrint&>(dialog);
            onlyCurrent = !print.chkSelect->isEnabled() && print.chkCurrent->isChecked();
            print.cmdButton[0]->click();
        });
        answers.scriptModal([](QDialog& dialog) { PressPrinterDialog(dialog, QDialogButtonBox::Ok); });
        s.window->mnuFilePrint->trigger();
        QVERIFY(onlyCurrent);
        QCOMPARE(answers.modals().size(), 2);
        QCOMPARE(PdfLines(s.pdf), (QStringList{"%", "O1001", "N10 G00 X1 Y2", "N20 G01 Z-3 F200", "N30 M30", "%"}));
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    // With line numbers shown, the printed numbers are dark on the white
    // paper (the screen's are light on a dark margin), and the coloured
    // words keep their colours.
    void printedLineNumbersAreReadable()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        PrintSession s;
        for (int i = 0; i < ColorItemsUsed; ++i)
            ColorItems[static_cast<size_t>(i)] = DefaultColorItems[static_cast<size_t>(i)];
        ApplyColorItems(*s.window->Text1());
        s.window->mnuLineNumbers->trigger();
        QVERIFY(s.window->Text1()->LineNumbering());
        // As the screen shows them: light numbers, blue keywords.
        QCOMPARE(s.window->Text1()->GetColor(26), qint64(0xFFFFFF));
        QCOMPARE(s.window->Text1()->GetColor(8), qint64(0xFF0000));
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { dynamic_cast<frmPrint&>(dialog).cmdButton[0]->click(); });
        answers.scriptModal([](QDialog& dialog) { PressPrinterDialog(dialog, QDialogButtonBox::Ok); });
        s.window->mnuFilePrint->trigger();
        QCOMPARE(answers.modals().size(), 2);

        const QMultiMap<QString, QRectF> words = PdfWordBoxes(s.pdf);
        const int dpi = 150;
        const QImage page = PdfPage(s.pdf, dpi);
        QVERIFY(!page.isNull());
        for (const char* number : {"1", "3", "6"}) {
            QVERIFY2(words.contains(QLatin1String(number)), number);
            const InkOfWord ink = Ink(page, words.value(QLatin1String(number)), dpi);
            QVERIFY2(qGray(ink.darkest.rgb()) < 96, qPrintable(ink.darkest.name()));
            QVERIFY2(qGray(ink.lightest.rgb()) > 240, qPrintable(ink.lightest.name()));
        }
        QVERIFY(words.contains(QStringLiteral("G00")));
        const QColor keyword = Ink(page, words.value(QStringLiteral("G00")), dpi).darkest;
        QVERIFY2(keyword.blue() > 160 && keyword.red() < 96 && keyword.green() < 96, qPrintable(keyword.name()));
    }

    // After the whole program went to a file, printing a selection asks where
    // it goes, proposing that file, and replaces it only after the question
    // a save asks; Cancel prints nothing.
    void selectionNeverReplacesTheLastPrintUnasked()
    {
        PrintSession s;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { dynamic_cast<frmPrint&>(dialog).cmdButton[0]->click(); });
        answers.scriptModal([](QDialog& dialog) { PressPrinterDialog(dialog, QDialogButtonBox::Ok); });
        s.window->mnuFilePrint->trigger();
        const QByteArray wholeProgram = FileBytes(s.pdf);
        QCOMPARE(PdfLines(s.pdf).size(), 6);

        s.window->Text1()->SetSel({2, 0, 4, 0}, false);
        QString proposed;
        answers.scriptModal(PrintTheSelection);
        answers.scriptModal(TypeFileName(s.pdf, &proposed));
        answers.answerMsgBox(platform::vbNo);  // keep it: the dialog again
        answers.scriptModal(TypeFileName(QString()));
        s.window->mnuFilePrint->trigger();
        QCOMPARE(proposed, QStringLiteral("out.pdf"));
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("out.pdf already exists.\nDo you want to replace it?"));
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Print To File"));
        QCOMPARE(answers.modals().size(), 5);
        QCOMPARE(FileBytes(s.pdf), wholeProgram);

        answers.scriptModal(PrintTheSelection);
        answers.scriptModal(TypeFileName(s.pdf));
        answers.answerMsgBox(platform::vbYes);
        s.window->mnuFilePrint->trigger();
        QCOMPARE(answers.msgBoxes().size(), 2);
        QCOMPARE(PdfLines(s.pdf), (QStringList{"N10 G00 X1 Y2", "N20 G01 Z-3 F200"}));
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    // The whole program printed to a file that is there already: the print
    // dialog asks before replacing it, and No keeps it.
    void currentFileAsksBeforeReplacingAFile()
    {
        PrintSession s;
        QVERIFY(WriteFileBytes(s.pdf, "kept"));
        platform::ScriptedAnswers answers;
        QString question;
        answers.scriptModal([](QDialog& dialog) { dynamic_cast<frmPrint&>(dialog).cmdButton[0]->click(); });
        answers.scriptModal([&question](QDialog& dialog) {
            QTimer answerBox;
            QObject::connect(&answerBox, &QTimer::timeout, [&question] {
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
                        question = box->text();
                        box->button(QMessageBox::No)->click();
                    }
            });
            answerBox.start(10);
            PressPrinterDialog(dialog, QDialogButtonBox::Ok);
            answerBox.stop();
            if (dialog.isVisible())
                PressPrinterDialog(dialog, QDialogButtonBox::Cancel);
        });
        s.window->mnuFilePrint->trigger();
        QVERIFY2(question.contains(QLatin1String("already exists")), qPrintable(question));
        QCOMPARE(FileBytes(s.pdf), QByteArray("kept"));
    }

    // The selection went before OK: it says so, prints nothing and stays open.
    void selectionGoneBeforeOk()
    {
        PrintSession s;
        s.window->Text1()->SetSel({2, 0, 3, 0}, false);
        platform::ScriptedAnswers answers;
        bool stayedOpen = false;
        answers.scriptModal([&](QDialog& dialog) {
            auto& print = dynamic_cast<frmPrint&>(dialog);
            bool closed = false;
            QObject::connect(&print, &QDialog::finished, &print, [&closed] { closed = true; });
            s.window->Text1()->SetSel({2, 0, 2, 0}, false);
            print.cmdButton[0]->click();
            stayedOpen = !closed;
            print.cmdButton[1]->click();
        });
        s.window->mnuFilePrint->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(answers.msgBoxes().size(), 1);
        QCOMPARE(answers.msgBoxes()[0].prompt, QStringLiteral("There is no text selected to print."));
        QCOMPARE(answers.msgBoxes()[0].title, QStringLiteral("Quick Print Error"));
        QVERIFY(!QFile::exists(s.pdf));
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    void cancelPrintsNothing()
    {
        PrintSession s;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { dynamic_cast<frmPrint&>(dialog).cmdButton[1]->click(); });
        s.window->mnuFilePrint->trigger();
        // Current File with the printer dialog cancelled.
        answers.scriptModal([](QDialog& dialog) { dynamic_cast<frmPrint&>(dialog).cmdButton[0]->click(); });
        answers.scriptModal([](QDialog& dialog) { PressPrinterDialog(dialog, QDialogButtonBox::Cancel); });
        s.window->mnuFilePrint->trigger();
        QCOMPARE(answers.modals().size(), 3);
        QVERIFY(!QFile::exists(s.pdf));
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }

    // Enter on the focused Cancel cancels: nothing is printed, no printer
    // dialog comes.
    void enterOnCancelCancels()
    {
        PrintSession s;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) {
            auto& print = dynamic_cast<frmPrint&>(dialog);
            print.cmdButton[1]->setFocus();
            QCOMPARE(print.focusWidget(), print.cmdButton[1]);
            QTest::keyClick(print.cmdButton[1], Qt::Key_Return);
        });
        s.window->mnuFilePrint->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QCOMPARE(answers.modals()[0].result, int(QDialog::Rejected));
        QVERIFY(!QFile::exists(s.pdf));
    }

    // Setup shows the printer set-up, then the dialog comes back, no longer modal.
    void setupBringsTheDialogBackModeless()
    {
        PrintSession s;
        platform::ScriptedAnswers answers;
        QPointer<frmPrint> print;
        answers.scriptModal([&](QDialog& dialog) {
            print = dynamic_cast<frmPrint*>(&dialog);
            print->cmdButton[2]->click();
        });
        answers.scriptModal([](QDialog& dialog) { PressPrinterDialog(dialog, QDialogButtonBox::Cancel); });
        s.window->mnuFilePrint->trigger();
        QCOMPARE(answers.modals().size(), 2);
        QTRY_VERIFY(print != nullptr && print->isVisible());
        QVERIFY(!print->isModal());
        QCOMPARE(print->windowModality(), Qt::NonModal);
        print->cmdButton[0]->click();  // Current File
        QCOMPARE(answers.modals().size(), 3);
        QTRY_VERIFY(print == nullptr);
    }

    void printSetupMenu()
    {
        PrintSession s;
        platform::ScriptedAnswers answers;
        answers.scriptModal([](QDialog& dialog) { PressPrinterDialog(dialog, QDialogButtonBox::Cancel); });
        QVERIFY(s.window->mnuFilePrintSetup->isEnabled() && s.window->mnuFilePrint->isEnabled());
        s.window->mnuFilePrintSetup->trigger();
        QCOMPARE(answers.modals().size(), 1);
        QTRY_VERIFY(SaveShortcutReachesTheText(*s.window));
    }
};

REGISTER_TEST(TestDocumentPrint);
#include "tst_DocumentPrint.moc"
