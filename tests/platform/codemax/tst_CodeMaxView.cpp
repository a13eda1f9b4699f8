// View settings: colours and font styles by item, margins, the highlighted
// line, splitters sharing one document, and colouring by a language.

#include "support/TestRegistry.h"

#include "platform/codemax/CodeMax.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QTest>

using platform::CodeMax;
using platform::CodeMaxLanguage;
using Sci = QsciScintillaBase;

namespace {

QColor styleFore(QsciScintilla* pane, int style)
{
    const long v = pane->SendScintilla(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(style));
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QColor styleBack(QsciScintilla* pane, int style)
{
    const long v = pane->SendScintilla(Sci::SCI_STYLEGETBACK, static_cast<unsigned long>(style));
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int styleAt(QsciScintilla* pane, int position)
{
    return int(pane->SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
}

CodeMaxLanguage testLanguage()
{
    CodeMaxLanguage language;
    language.SetOption(1, true);
    language.SetKeywords("G01\nM30\n");
    language.SetOperators("+\n-\n.");
    language.SetLineComment("(");
    language.SetCommentPair("(", ")");
    return language;
}

// A program of the given number of lines: addresses, now and then a
// comment or an M code; the last line "N<n> M30 (END)".
QString editedProgram(int lines)
{
    QString text;
    text.reserve(lines * 20);
    for (int i = 0; i < lines; ++i) {
        text += QLatin1Char('N') + QString::number(i);
        if (i % 50 == 0)
            text += QStringLiteral(" (PASS %1)\r\n").arg(i / 50);
        else if (i % 7 == 0)
            text += QStringLiteral(" M30\r\n");
        else
            text += QStringLiteral(" G01 X1.5 Y-2\r\n");
    }
    return text + QStringLiteral("N%1 M30 (END)").arg(lines);
}

// A block as pasted: keywords, comments, numbers and operators.
QString pastedBlock(int lines)
{
    QString block;
    for (int i = 0; i < lines; ++i)
        block += QStringLiteral("P%1 M30 (PASTED G01) X-%1.5\r\n").arg(i);
    return block;
}

// Every style byte of the pane's document.
QByteArray documentStyles(QsciScintilla* pane)
{
    // Scintilla's text range: character positions and a buffer of
    // character and style byte pairs.
    struct Range {
        long cpMin, cpMax;
        char* text;
    };
    const long length = pane->SendScintilla(Sci::SCI_GETLENGTH);
    QByteArray pairs(2 * length + 2, '\0');
    Range range{0, length, pairs.data()};
    pane->SendScintilla(Sci::SCI_GETSTYLEDTEXT, 0UL, static_cast<void*>(&range));
    QByteArray styles(length, '\0');
    for (long i = 0; i < length; ++i)
        styles[qsizetype(i)] = pairs[qsizetype(2 * i + 1)];
    return styles;
}

// The pixels of the colour in the band of lines [top, bottom) of an image.
int pixelsOf(const QImage& image, const QColor& colour, int top, int bottom)
{
    int count = 0;
    for (int y = std::max(0, top); y < std::min(image.height(), bottom); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

enum class ColourEdit {
    Type,
    TypeInTheMiddle,
    Paste,
    DeleteLines,
    ReplaceLines,
    JoinIntoComment,
    SplitComment,
    UndoReplace,
    RedoReplace,
};

}  // namespace

Q_DECLARE_METATYPE(ColourEdit)

namespace {

class TestCodeMaxView : public QObject {
    Q_OBJECT
private slots:
    void colourItemsAreWindowsColourValues_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<qint64>("colorRef");
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("back");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("numbers red") << 6 << qint64(255) << 1 << false << QColor(255, 0, 0);
        QTest::newRow("text magenta") << 4 << qint64(0xFF00FF) << 0 << false << QColor(255, 0, 255);
        QTest::newRow("keywords blue") << 8 << qint64(0xFF0000) << 2 << false << QColor(0, 0, 255);
        QTest::newRow("comments dark blue") << 14 << qint64(0xC00000) << 5 << false << QColor(0, 0, 0xC0);
        QTest::newRow("keyword back green") << 9 << qint64(0x00FF00) << 2 << true << QColor(0, 255, 0);
        QTest::newRow("line numbers") << 26 << qint64(0x0000FF) << int(Sci::STYLE_LINENUMBER) << false
                                      << QColor(255, 0, 0);
        QTest::newRow("line number back") << 27 << qint64(0x404040) << int(Sci::STYLE_LINENUMBER) << true
                                           << QColor(0x40, 0x40, 0x40);
    }
    void colourItemsAreWindowsColourValues()
    {
        QFETCH(int, item);
        QFETCH(qint64, colorRef);
        QFETCH(int, style);
        QFETCH(bool, back);
        QFETCH(QColor, expected);
        CodeMax c;
        c.SetHSplitterPos(100);  // every pane takes the colours
        c.SetColor(item, colorRef);
        QCOMPARE(c.GetColor(item), colorRef);
        for (int i = 0; i < c.PaneCount(); ++i)
            QCOMPARE(back ? styleBack(c.Pane(i), style) : styleFore(c.Pane(i), style), expected);
    }

    void unsetBackColoursFollowTheWindow()
    {
        CodeMax c;
        c.SetColor(0, 0x00FFFF);  // yellow window
        QCOMPARE(styleBack(c.Pane(0), 0), QColor(255, 255, 0));
        QCOMPARE(styleBack(c.Pane(0), 5), QColor(255, 255, 0));
        c.SetColor(15, 0x808080);
        QCOMPARE(styleBack(c.Pane(0), 5), QColor(128, 128, 128));
        c.SetColor(99, 0);  // an item the control does not use: accepted and ignored
        c.SetColor(-1, 0);
        QCOMPARE(c.GetColor(99), qint64(-1));
        QCOMPARE(styleBack(c.Pane(0), 5), QColor(128, 128, 128));
        QCOMPARE(styleBack(c.Pane(0), 0), QColor(255, 255, 0));
        QCOMPARE(styleFore(c.Pane(0), 0), QColor(0, 0, 0));
    }

    // The programs set the text colours but never the operator items: a
    // white-on-black scheme must not leave operators black on black.
    void operatorsFollowTheTextUntilColoured()
    {
        CodeMax c;
        c.SetColor(0, 0x000000);
        c.SetColor(4, 0xFFFFFF);
        c.SetColor(5, 0x202020);
        QCOMPARE(styleFore(c.Pane(0), 3), QColor(255, 255, 255));
        QCOMPARE(styleBack(c.Pane(0), 3), QColor(0x20, 0x20, 0x20));
        c.SetColor(10, 0x0000FF);
        c.SetColor(11, 0x00FF00);
        c.SetColor(4, 0x00FFFF);  // set: operators keep their own colours now
        QCOMPARE(styleFore(c.Pane(0), 3), QColor(255, 0, 0));
        QCOMPARE(styleBack(c.Pane(0), 3), QColor(0, 255, 0));
        QCOMPARE(styleFore(c.Pane(0), 0), QColor(255, 255, 0));
    }

    void fontStyles_data()
    {
        QTest::addColumn<int>("fontStyle");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("underline");
        QTest::newRow("normal") << 0 << false << false << false;
        QTest::newRow("bold") << 1 << true << false << false;
        QTest::newRow("italic") << 2 << false << true << false;
        QTest::newRow("bold italic") << 3 << true << true << false;
        QTest::newRow("underline") << 4 << false << false << true;
    }
    void fontStyles()
    {
        QFETCH(int, fontStyle);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(bool, underline);
        CodeMax c;
        c.SetFontStyle(2, fontStyle);
        QsciScintilla* pane = c.Pane(0);
        const QFont keyword = pane->lexer()->font(2);
        QCOMPARE(keyword.bold(), bold);
        QCOMPARE(pane->SendScintilla(Sci::SCI_STYLEGETITALIC, 2UL) != 0, italic);
        QCOMPARE(pane->SendScintilla(Sci::SCI_STYLEGETUNDERLINE, 2UL) != 0, underline);
        QCOMPARE(pane->lexer()->font(0).bold(), false);  // text untouched
    }

    void highlightedLineIsOneMarker()
    {
        CodeMax c;
        c.SetText("A\r\nB\r\nC\r\nD");
        c.SetHighlightedLine(2);
        QCOMPARE(c.HighlightedLine(), 2);
        QsciScintilla* pane = c.Pane(0);
        const auto highlighted = [&](int line) { return pane->SendScintilla(Sci::SCI_MARKERGET, (unsigned long)line) != 0; };
        QVERIFY(highlighted(2));
        c.SetHighlightedLine(1);
        QVERIFY(!highlighted(2));
        QVERIFY(highlighted(1));
        c.SetHighlightedLine(40);  // outside the text: ignored
        QCOMPARE(c.HighlightedLine(), 1);
        c.ReplaceText("X\r\n", {0, 0, 0, 0});  // the highlight follows its line
        QCOMPARE(c.HighlightedLine(), 2);
        c.SetHighlightedLine(-1);
        QCOMPARE(c.HighlightedLine(), -1);
        QVERIFY(!highlighted(2));
    }

    // The highlighted line and the bookmarks are painted in the colours of
    // their items, set before or after the marks are placed.
    void marksArePaintedInTheirColours_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<qint64>("colorRef");
        QTest::addColumn<QColor>("expected");
        QTest::addColumn<bool>("inMargin");
        QTest::addColumn<int>("atLeast");
        QTest::newRow("highlighted line") << 30 << qint64(0x0000FF) << QColor(255, 0, 0) << false << 2000;
        QTest::newRow("bookmark fill") << 3 << qint64(0xFF0000) << QColor(0, 0, 255) << true << 20;
        QTest::newRow("bookmark outline") << 2 << qint64(0x00C000) << QColor(0, 0xC0, 0) << true << 8;
    }
    void marksArePaintedInTheirColours()
    {
        QFETCH(int, item);
        QFETCH(qint64, colorRef);
        QFETCH(QColor, expected);
        QFETCH(bool, inMargin);
        QFETCH(int, atLeast);
        for (const bool colourFirst : {true, false}) {
            CodeMax c;
            c.SetText("N10 G01 X1\r\nN20 G01 X2\r\nN30 G01 X3\r\nN40 M30");
            c.SetDisplayLeftMargin(true);
            c.resize(400, 200);
            if (colourFirst)
                c.SetColor(item, colorRef);
            c.SetHighlightedLine(1);
            c.SetBookmark(1, true);
            if (!colourFirst)
                c.SetColor(item, colorRef);
            QsciScintilla* pane = c.Pane(0);
            const QImage image = pane->viewport()->grab().toImage();
            const int lineHeight = int(pane->SendScintilla(Sci::SCI_TEXTHEIGHT, 1UL));
            const int top = int(pane->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL,
                                                    pane->SendScintilla(Sci::SCI_POSITIONFROMLINE, 1UL)));
            const int marginEnd = pane->marginWidth(1);
            QVERIFY(marginEnd > 0);
            int inside = 0, outside = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixelColor(x, y) == expected) {
                        const bool onLine = y >= top && y < top + lineHeight;
                        const bool inPlace = onLine && (x < marginEnd) == inMargin;
                        ++(inPlace ? inside : outside);
                    }
            QVERIFY2(inside >= atLeast, qPrintable(QStringLiteral("%1 pixels").arg(inside)));
            QCOMPARE(outside, 0);
        }
    }

    void margins()
    {
        CodeMax c;
        QsciScintilla* pane = c.Pane(0);
        QCOMPARE(pane->marginWidth(0), 0);
        QCOMPARE(pane->marginWidth(1), 0);
        c.SetLineNumbering(true);
        const int narrow = pane->marginWidth(0);
        QVERIFY(narrow > 0);
        QString text;
        for (int i = 0; i < 100000; ++i)
            text += "N1\r\n";
        c.SetText(text);  // the margin widens with the line count
        QVERIFY(pane->marginWidth(0) > narrow);
        c.SetDisplayLeftMargin(true);
        QVERIFY(pane->marginWidth(1) > 0);
        c.SetDisplayWhitespace(true);
        QCOMPARE(pane->SendScintilla(Sci::SCI_GETVIEWWS), long(Sci::SCWS_VISIBLEALWAYS));
        c.SetLineNumbering(false);
        QCOMPARE(pane->marginWidth(0), 0);
    }

    void splittersSharingOneDocument()
    {
        CodeMax c;
        c.resize(600, 400);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        QVERIFY(c.EnableHSplitter());
        QVERIFY(c.EnableVSplitter());
        QCOMPARE(c.PaneCount(), 1);
        c.SetText("N10\r\nN20");
        c.SetEnableVSplitter(true);
        c.SetHSplitterPos(300);  // left and right panes
        QCOMPARE(c.PaneCount(), 2);
        QVERIFY(qAbs(c.HSplitterPos() - 300) < 10);
        QCOMPARE(c.Pane(1)->text(), QString("N10\r\nN20"));
        QVERIFY(c.Pane(1)->mapTo(&c, QPoint()).x() >= 290);
        c.SetVSplitterPos(150);  // and upper and lower
        QCOMPARE(c.PaneCount(), 4);
        QVERIFY(c.Pane(2)->mapTo(&c, QPoint()).y() >= 140);
        QVERIFY(qAbs(c.VSplitterPos() - 150) < 10);

        // An edit in one pane is seen in all; the others keep their own caret.
        c.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c));
        c.Pane(3)->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(c.ActivePane(), c.Pane(3));
        c.ExecuteCmd(platform::CodeMaxCmd::DocumentEnd);
        QTest::keyClicks(c.Pane(3), "X");
        for (int i = 0; i < 4; ++i)
            QCOMPARE(c.Pane(i)->text(), QString("N10\r\nN20X"));
        QCOMPARE(c.GetSel(false), (platform::CodeMaxRange{1, 4, 1, 4}));
        c.ExecuteCmd(platform::CodeMaxCmd::BookmarkToggle);  // bookmarks belong to the document
        QCOMPARE(c.Pane(0)->markersAtLine(1) & 2u, 2u);

        // Clearing the splits (disable both, then enable again) leaves one pane.
        c.SetEnableHSplitter(false);
        c.SetEnableVSplitter(false);
        c.SetEnableHSplitter(true);
        c.SetEnableVSplitter(true);
        QCOMPARE(c.PaneCount(), 1);
        QCOMPARE(c.ActivePane(), c.Pane(0));
        QCOMPARE(c.Text(), QString("N10\r\nN20X"));
        c.Undo();
        QCOMPARE(c.Text(), QString("N10\r\nN20"));
    }

    void positionSetWhileDisabledSplitsOnEnable()
    {
        CodeMax c;
        c.SetEnableHSplitter(false);
        c.SetHSplitterPos(120);
        QCOMPARE(c.PaneCount(), 1);
        c.SetEnableHSplitter(true);
        QCOMPARE(c.PaneCount(), 2);
        c.SetHSplitterPos(0);
        QCOMPARE(c.PaneCount(), 1);
    }

    void languageColoursEveryPane()
    {
        platform::CodeMaxGlobals().RegisterLanguage("TestNC", testLanguage());
        CodeMax c;
        c.SetText("N10 g01 X-1.5 (NOTE G01) M30");
        c.SetLanguage("testnc");  // names ignore letter case
        c.SetHSplitterPos(100);
        c.Colourise();
        for (int i = 0; i < c.PaneCount(); ++i) {
            QsciScintilla* pane = c.Pane(i);
            QCOMPARE(styleAt(pane, 0), int(CodeMaxLanguage::Text));       // N
            QCOMPARE(styleAt(pane, 1), int(CodeMaxLanguage::Number));     // 10
            QCOMPARE(styleAt(pane, 4), int(CodeMaxLanguage::Keyword));    // g01
            QCOMPARE(styleAt(pane, 9), int(CodeMaxLanguage::Operator));   // -
            QCOMPARE(styleAt(pane, 10), int(CodeMaxLanguage::Number));    // 1.5
            QCOMPARE(styleAt(pane, 14), int(CodeMaxLanguage::Comment));   // (NOTE G01)
            QCOMPARE(styleAt(pane, 23), int(CodeMaxLanguage::Comment));
            QCOMPARE(styleAt(pane, 25), int(CodeMaxLanguage::Keyword));   // M30
        }
        c.SetColorSyntax(false);
        c.Colourise();
        QCOMPARE(styleAt(c.Pane(0), 4), int(CodeMaxLanguage::Text));
        c.SetColorSyntax(true);
        c.SetLanguage("NoSuchLanguage");
        c.Colourise();
        QCOMPARE(styleAt(c.Pane(0), 4), int(CodeMaxLanguage::Text));
    }

    void colourisesTheWholeOfALargeText()
    {
        platform::CodeMaxGlobals().RegisterLanguage("TestNC", testLanguage());
        CodeMax c;
        c.SetLanguage("TestNC");
        QString text;
        for (int i = 0; i < 40000; ++i)
            text += "N10 G01 X1\r\n";  // 480 KB: coloured a piece at a time
        c.SetText(text + "M30");
        c.Colourise();
        const int length = int(c.Pane(0)->SendScintilla(Sci::SCI_GETLENGTH));
        QCOMPARE(int(c.Pane(0)->SendScintilla(Sci::SCI_GETENDSTYLED)), length);
        QCOMPARE(styleAt(c.Pane(0), length - 1), int(CodeMaxLanguage::Keyword));
        QCOMPARE(styleAt(c.Pane(0), 20000 * 12 + 4), int(CodeMaxLanguage::Keyword));
    }

    void linesOnScreenAreColouredFirst()
    {
        platform::CodeMaxGlobals().RegisterLanguage("TestNC", testLanguage());
        CodeMax c;
        c.SetLanguage("TestNC");
        QString text;
        for (int i = 0; i < 200000; ++i)
            text += "N10 G01 X1\r\n";
        c.SetText(text + "M30");
        c.resize(500, 300);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        c.ExecuteCmd(platform::CodeMaxCmd::DocumentEnd);
        c.Pane(0)->viewport()->repaint();
        QsciScintilla* pane = c.Pane(0);
        const int length = int(pane->SendScintilla(Sci::SCI_GETLENGTH));
        QVERIFY(pane->SendScintilla(Sci::SCI_GETENDSTYLED) < length / 2);  // the text above waits
        QCOMPARE(styleAt(pane, length - 1), int(CodeMaxLanguage::Keyword));  // what is shown is coloured
        QCOMPARE(styleAt(pane, length - 15 + 4), int(CodeMaxLanguage::Keyword));  // G01 of the line before
        // Idle time colours the rest.
        QTRY_COMPARE_WITH_TIMEOUT(int(pane->SendScintilla(Sci::SCI_GETENDSTYLED)), length, 20000);
        QCOMPARE(styleAt(pane, 100000 * 12 + 5), int(CodeMaxLanguage::Keyword));
    }

    // After an edit only the lines it touched are coloured again: the text
    // after them keeps its colours and the mark of what is coloured jumps
    // past it, while every edited line (typed, pasted, replaced, undone) is
    // coloured right. A text still being coloured in idle time goes on being
    // coloured from where it was.
    void editsColourOnlyTheirLines_data()
    {
        QTest::addColumn<ColourEdit>("edit");
        QTest::addColumn<bool>("colouredBefore");  // else still colouring in idle time
        QTest::addColumn<bool>("split");           // typed into the second of two panes
        QTest::addColumn<bool>("colouringOff");    // switched off after the edit
        QTest::newRow("type at line 1") << ColourEdit::Type << true << false << false;
        QTest::newRow("type at line 1 of a split view") << ColourEdit::Type << true << true << false;
        QTest::newRow("type at line 1 while colouring") << ColourEdit::Type << false << false << false;
        QTest::newRow("type in the middle while colouring") << ColourEdit::TypeInTheMiddle << false << false << false;
        QTest::newRow("paste many lines") << ColourEdit::Paste << true << false << false;
        QTest::newRow("paste many lines while colouring") << ColourEdit::Paste << false << false << false;
        QTest::newRow("paste many lines of a split view") << ColourEdit::Paste << true << true << false;
        QTest::newRow("delete lines") << ColourEdit::DeleteLines << true << false << false;
        QTest::newRow("replace many lines") << ColourEdit::ReplaceLines << true << false << false;
        QTest::newRow("join into a comment") << ColourEdit::JoinIntoComment << true << false << false;
        QTest::newRow("split a comment") << ColourEdit::SplitComment << true << false << false;
        QTest::newRow("undo a large replace") << ColourEdit::UndoReplace << true << false << false;
        QTest::newRow("redo a large replace") << ColourEdit::RedoReplace << true << false << false;
        QTest::newRow("type, then colouring off") << ColourEdit::Type << true << false << true;
    }
    void editsColourOnlyTheirLines()
    {
        QFETCH(ColourEdit, edit);
        QFETCH(bool, colouredBefore);
        QFETCH(bool, split);
        QFETCH(bool, colouringOff);
        platform::CodeMaxGlobals().RegisterLanguage("TestNC", testLanguage());
        const auto language = platform::CodeMaxGlobals().FindLanguage("TestNC");
        constexpr int lines = 200000;
        CodeMax c;
        c.SetLanguage("TestNC");
        c.SetColor(9, 0x0000FF);   // keyword back: red
        c.SetColor(15, 0x00C000);  // comment back: green
        c.SetText(editedProgram(lines));
        c.resize(500, 300);
        c.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c));
        if (split)
            c.SetHSplitterPos(250);
        QsciScintilla* pane = c.Pane(split ? 1 : 0);
        const auto length = [pane] { return pane->SendScintilla(Sci::SCI_GETLENGTH); };
        const auto marked = [pane] { return pane->SendScintilla(Sci::SCI_GETENDSTYLED); };

        // A line far after the edits, coloured wrongly on purpose: colouring
        // it again would put that right, so it shows what is coloured again.
        const QByteArray untouched = "\nN150000 ";
        if (colouredBefore) {
            c.Colourise();
            QCOMPARE(marked(), length());
            const long at = long(pane->text().toUtf8().indexOf(untouched)) + 1;
            pane->SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(at), 0L);
            pane->SendScintilla(Sci::SCI_SETSTYLING, 8UL, long(CodeMaxLanguage::Operator));
            pane->SendScintilla(Sci::SCI_STARTSTYLING, static_cast<unsigned long>(length()), 0L);
        } else {
            pane->viewport()->repaint();
            QVERIFY(marked() < length() / 2);
        }
        const long markBefore = marked();

        const platform::CodeMaxRange many{10, 0, 5010, 0};
        const QString block = pastedBlock(3000);
        pane->setFocus();
        switch (edit) {
        case ColourEdit::Type:
            c.SetSel({0, 0, 0, 0}, true);
            QTest::keyClicks(pane, "G01 (A");
            break;
        case ColourEdit::TypeInTheMiddle:
            c.SetSel({100000, 0, 100000, 0}, true);
            QTest::keyClicks(pane, "M30 ");
            break;
        case ColourEdit::Paste:
            c.SetSel({3, 0, 3, 0}, true);
            c.SetSelText(block);
            break;
        case ColourEdit::DeleteLines: c.ReplaceText(QString(), {0, 0, 100, 0}); break;
        case ColourEdit::ReplaceLines: c.ReplaceText(block, many); break;
        case ColourEdit::JoinIntoComment: c.ReplaceText("(", {0, 1 << 20, 1, 0}); break;   // line 2 joins a comment
        case ColourEdit::SplitComment: c.ReplaceText("\r\nG01", {50, 6, 50, 6}); break;  // "N50 (P" | "G01ASS 1)"
        case ColourEdit::UndoReplace:
        case ColourEdit::RedoReplace:
            c.ReplaceText(block, many);
            c.Colourise();
            c.Undo();
            if (edit == ColourEdit::RedoReplace) {
                c.Colourise();
                c.Redo();
            }
            break;
        }
        if (colouringOff)
            c.SetColorSyntax(false);
        c.SetSel({0, 0, 0, 0}, true);
        pane->viewport()->repaint();
        if (edit == ColourEdit::Type && !colouringOff) {
            // One line edited: shown, it is coloured and the mark goes back
            // where it was (moved by what was typed), not to the edit.
            QCOMPARE(marked(), colouredBefore ? length() : markBefore + 6);
        }
        if (!colouredBefore)
            QVERIFY(marked() < length());
        QTRY_COMPARE_WITH_TIMEOUT(marked(), length(), 60000);

        // Every line as the language colours it, but the one coloured wrongly
        // on purpose: it was not coloured again.
        const QByteArray text = pane->text().toUtf8();
        QByteArray wanted(text.size(), char(CodeMaxLanguage::Text));
        if (!colouringOff)
            language->StyleText(text.constData(), size_t(text.size()), wanted.data());
        if (colouredBefore && !colouringOff) {
            const qsizetype at = text.indexOf(untouched) + 1;
            QVERIFY(at > 0);
            for (qsizetype i = at; i < at + 8; ++i)
                wanted[i] = char(CodeMaxLanguage::Operator);
        }
        const QByteArray got = documentStyles(pane);
        QCOMPARE(got.size(), wanted.size());
        qsizetype wrong = 0;
        while (wrong < got.size() && got[wrong] == wanted[wrong])
            ++wrong;
        QVERIFY2(wrong == got.size(), qPrintable(QStringLiteral("style %1 at %2 of line %3, %4 wanted")
                                                     .arg(wrong < got.size() ? int(got[wrong]) : -1)
                                                     .arg(wrong)
                                                     .arg(text.left(wrong).count('\n'))
                                                     .arg(wrong < wanted.size() ? int(wanted[wrong]) : -1)));

        // Shown at the end: the last line "N<n> M30 (END)" in its colours.
        c.ExecuteCmd(platform::CodeMaxCmd::DocumentEnd);
        const QImage image = pane->viewport()->grab().toImage();
        const int lineHeight = int(pane->SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL));
        const int top = int(pane->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, length()));
        const int keyword = pixelsOf(image, QColor(255, 0, 0), top, top + lineHeight);
        const int comment = pixelsOf(image, QColor(0, 0xC0, 0), top, top + lineHeight);
        if (colouringOff) {
            QCOMPARE(keyword + comment, 0);
        } else {
            QVERIFY2(keyword >= 20 && comment >= 20, qPrintable(QStringLiteral("%1 / %2").arg(keyword).arg(comment)));
        }
    }

    void registeringAgainRecolours()
    {
        CodeMaxLanguage language = testLanguage();
        platform::CodeMaxGlobals().RegisterLanguage("Swap", language);
        CodeMax c;
        c.SetText("G01 G02");
        c.SetLanguage("Swap");
        c.Colourise();
        QCOMPARE(styleAt(c.Pane(0), 4), int(CodeMaxLanguage::Text));
        language.SetKeywords("G02\n");
        platform::CodeMaxGlobals().RegisterLanguage("SWAP", language);
        c.Colourise();
        QCOMPARE(styleAt(c.Pane(0), 0), int(CodeMaxLanguage::Text));
        QCOMPARE(styleAt(c.Pane(0), 4), int(CodeMaxLanguage::Keyword));
    }
};

}  // namespace

REGISTER_TEST(TestCodeMaxView);
#include "tst_CodeMaxView.moc"
