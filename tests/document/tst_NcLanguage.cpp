// The "CNC" language: its lists as registered, and how it colours NC text
// in every editing control.

#include "support/TestRegistry.h"
#include "document/NcLanguage.h"

#include "platform/codemax/CodeMax.h"

#include <Qsci/qsciscintilla.h>

#include <QTest>

#include <memory>
#include <vector>

using platform::CodeMax;
using platform::CodeMaxGlobals;
using platform::CodeMaxLanguage;

namespace {

// The style of each character of the line, as letters: t text, n number,
// k keyword, o operator, c comment.
QString styles(CodeMax& c, const QString& line)
{
    c.SetText(line);
    c.Colourise();
    QString out;
    const QByteArray bytes = line.toUtf8();
    for (int i = 0; i < bytes.size(); ++i) {
        switch (c.Pane(0)->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(i))) {
        case CodeMaxLanguage::Text: out += 't'; break;
        case CodeMaxLanguage::Number: out += 'n'; break;
        case CodeMaxLanguage::Keyword: out += 'k'; break;
        case CodeMaxLanguage::Operator: out += 'o'; break;
        case CodeMaxLanguage::Comment: out += 'c'; break;
        default: out += '?'; break;
        }
    }
    return out;
}

class TestNcLanguage : public QObject {
    Q_OBJECT
private slots:
    void keywordList()
    {
        CodeMax c;
        RegisterNcLanguage(c);
        const auto language = CodeMaxGlobals().FindLanguage("CNC");
        QVERIFY(language);
        const QString list = language->Keywords();
        QCOMPARE(list.size(), 865);
        QVERIFY(list.endsWith("M98\nM99\n"));
        QVERIFY(list.startsWith("G0\nG00\nG1\nG01\n"));
        const QStringList entries = list.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(entries.size(), 221);
        QCOMPARE(entries.at(0), QString("G0"));
        QCOMPARE(entries.at(1), QString("G00"));
        QCOMPARE(entries.at(19), QString("G09"));
        QCOMPARE(entries.at(20), QString("G10"));
        QCOMPARE(entries.at(110), QString("G106"));
        QCOMPARE(entries.at(220), QString("M99"));
        QCOMPARE(QSet<QString>(entries.begin(), entries.end()).size(), 221);
        QCOMPARE(language->Operators(), QString("+\n-\n.\n0.\n1.\n2.\n3.\n4.\n5.\n6."));
        QCOMPARE(language->LineComment(), QString("("));
        QCOMPARE(language->CommentOpen(), QString("("));
        QCOMPARE(language->CommentClose(), QString(")"));
        QVERIFY(language->IgnoreCase());
    }

    void keywords_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("keyword");
        for (const char* w : {"G1", "G01", "G106", "M9", "M09", "G0", "G99", "M30", "g01", "m30"})
            QTest::newRow(w) << w << true;
        for (const char* w : {"G100", "M100", "M009", "G001", "M106", "X1", "G"})
            QTest::newRow(w) << w << false;
    }
    void keywords()
    {
        QFETCH(QString, word);
        QFETCH(bool, keyword);
        CodeMax c;
        RegisterNcLanguage(c);
        QCOMPARE(CodeMaxGlobals().FindLanguage("CNC")->IsKeyword(word), keyword);
    }

    void colouring_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("expected");
        QTest::newRow("block") << "N10 G01 X1.0 (ROUGH G01) M30"
                               << "tnntkkkttnnntccccccccccctkkk";
        QTest::newRow("words run together") << "N10G01X-1.5" << "tnnkkktonnn";
        QTest::newRow("G100 is no keyword") << "G100X5" << "tnnntn";
        QTest::newRow("M009 is no keyword") << "M009" << "tnnn";
        QTest::newRow("6. is an operator, 7. is not") << "X6. Y7." << "toottnn";
        QTest::newRow("lower case") << "g1 m09" << "kktkkk";
        QTest::newRow("comment to line end") << "G01 (OPEN" << "kkktccccc";
        QTest::newRow("signs") << "Z+25. W-2." << "tonnnttooo";
        QTest::newRow("comment ends at line end") << "(A\r\nG01" << "ccttkkk";
    }
    void colouring()
    {
        QFETCH(QString, line);
        QFETCH(QString, expected);
        CodeMax c;
        RegisterNcLanguage(c);
        c.SetLanguage("CNC");
        QCOMPARE(styles(c, line), expected);
    }

    void tenWindowsColourAlike()
    {
        std::vector<std::unique_ptr<CodeMax>> windows;
        for (int i = 0; i < 10; ++i) {
            windows.push_back(std::make_unique<CodeMax>());
            RegisterNcLanguage(*windows.back());
            windows.back()->SetLanguage("CNC");
        }
        for (auto& w : windows)
            QCOMPARE(styles(*w, "N5 G02 (ARC) M05"), QString("tntkkktccccctkkk"));
    }

    void shownWindowColoursByItself()
    {
        CodeMax c;
        RegisterNcLanguage(c);
        c.SetLanguage("CNC");
        c.SetText("G01 X5 (C)");
        c.resize(400, 200);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QTRY_COMPARE(c.Pane(0)->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 0UL),
                     long(CodeMaxLanguage::Keyword));
        QCOMPARE(c.Pane(0)->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 8UL), long(CodeMaxLanguage::Comment));
    }
};

}  // namespace

REGISTER_TEST(TestNcLanguage);
#include "tst_NcLanguage.moc"
