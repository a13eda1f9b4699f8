// PrintContents prints through QPrinter: printed to PDF, read back with
// pdftotext.

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/ScriptedAnswers.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using platform::CodeMax;

namespace {

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

class TestCodeMaxPrint : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void printsTheWholeText()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("out.pdf");
        CodeMax c;
        QString text = "%\r\nO1000 (PRINT TEST)\r\n";
        for (int i = 1; i <= 150; ++i)
            text += QString("N%1 G01 X%2 Y-%3\r\n").arg(i * 10).arg(i).arg(i * 2);
        text += "N9999 M30\r\n%";
        c.SetText(text);
        c.SetLineNumbering(true);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(c.PrintContents(&printer, CodeMax::PrintColours));
        const QString printed = pdfText(pdf);
        QVERIFY2(printed.contains("O1000 (PRINT TEST)"), qPrintable(printed.left(400)));
        QVERIFY(printed.contains("N10 G01 X1 Y-2"));
        QVERIFY(printed.contains("N1500 G01 X150 Y-300"));
        QVERIFY(printed.contains("N9999 M30"));
        QVERIFY(printed.count(QChar('\f')) >= 1);  // more than one page
    }

    void printsTheSelection()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sel.pdf");
        CodeMax c;
        c.SetText("N10 KEEP OUT\r\nN20 SELECTED\r\nN30 KEEP OUT");
        c.SetSel({1, 0, 1, 12}, false);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QVERIFY(c.PrintContents(&printer, CodeMax::PrintSelection));
        const QString printed = pdfText(pdf);
        QVERIFY(printed.contains("N20 SELECTED"));
        QVERIFY(!printed.contains("KEEP OUT"));
    }

    void cancelledPrintDialogPrintsNothing()
    {
        CodeMax c;
        c.SetText("N10");
        platform::ScriptedAnswers answers;  // answers the print dialog with Cancel
        QVERIFY(!c.PrintContents(nullptr, CodeMax::PrintColours));
        QCOMPARE(answers.modals().size(), 1);
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxPrint);
#include "tst_CodeMaxPrint.moc"
