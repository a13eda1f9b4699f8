// RTF read and written: documents with fonts, colours, tab stops and
// bookmarks come back to the same model; the writer's escapes give every
// byte back; hostile input ends in 0 or 0x700F with a sound document.

#include "editctl/ZuRtfFuzzCheck.h"
#include "editctl/engine/ZuGlobalOutStream.h"
#include "editctl/engine/ZuMemoryInStream.h"
#include "editctl/engine/ZuTextDocument.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <random>

namespace {

QByteArray ShownRtf(const std::string& s)
{
    return QByteArray::fromStdString(rtffuzz::Shown(s));
}

using rtffuzz::Model;

ZuErr Read(ZuTextDocument& doc, const std::string& rtf)
{
    ZuMemoryInStream in(rtf.data(), rtf.size());
    return doc.LoadRtf(in);
}

std::string Write(const ZuTextDocument& doc, ZuTextRange range = ZuTextRange({0, 0}, {0, 0}, ZuRangeWhole))
{
    ZuGlobalOutStream out;
    const ZuErr error = doc.SaveRtf(out, 0, range);
    return error == ZuOk ? out.Data() : "error " + std::to_string(error);
}

ZuTextRange Span(const ZuTextDocument& doc, std::uint64_t from, std::uint64_t to)
{
    return ZuTextRange(doc.OffsetToPosition(0, from), doc.OffsetToPosition(0, to), ZuRangeStream);
}

void SetText(ZuTextDocument& doc, const std::string& text)
{
    ZuMemoryInStream in(text.data(), text.size());
    int type = ZuTextDos;
    QCOMPARE(doc.Load(in, type, false), ZuOk);
}

std::string AllBytes()
{
    std::string s;
    for (int c = 0; c < 256; ++c)
        s.push_back(char(c));
    return s;
}

void SetFace(ZuTextDocument& doc, std::uint64_t a, std::uint64_t b, int attribute, ZuAttributeValue value)
{
    QCOMPARE(doc.ApplyCharFormat(attribute, 0, Span(doc, a, b), value), ZuOk);
}

std::unique_ptr<ZuTabSet> Tabs(std::initializer_list<std::array<std::uint32_t, 3>> stops)
{
    auto tabs = std::make_unique<ZuTabSet>();
    for (const auto& [x, alignment, leader] : stops) {
        const std::int32_t i = tabs->InsertStop(std::int32_t(x));
        tabs->SetAlignment(alignment, i, ZuTabsByIndex);
        tabs->SetLeader(leader, i, ZuTabsByIndex);
    }
    return tabs;
}

// A document of random paragraphs and bytes with random formats, tab sets and bookmarks.
void Randomise(ZuTextDocument& doc, unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::string text;
    const int paragraphs = pick(1, 12);
    for (int p = 0; p < paragraphs; ++p) {
        const int n = pick(0, 40);
        for (int i = 0; i < n; ++i) {
            const int kind = pick(0, 9);
            text.push_back(kind < 6 ? char(pick('a', 'z')) : kind < 8 ? char(pick(0, 255)) : "{}\\\t ;"[pick(0, 5)]);
        }
        if (p + 1 < paragraphs)
            text += "\r\n";
    }
    SetText(doc, text);
    const std::uint64_t size = doc.ByteCount();
    static const char* Faces[] = {"Times", "Arial", "Cou{r}ier\\x;", "Sym bol"};
    for (int k = pick(0, 12); k > 0; --k) {
        const std::uint64_t a = std::uint64_t(pick(0, int(size)));
        const std::uint64_t b = std::min<std::uint64_t>(size, a + std::uint64_t(pick(0, 30)));
        const ZuTextRange range = Span(doc, a, b);
        switch (pick(0, 7)) {
        case 0: doc.ApplyCharFormat(ZuAttrBold, 0, range, ZuAttributeValue::Number(pick(0, 1))); break;
        case 1: doc.ApplyCharFormat(ZuAttrItalic, 0, range, ZuAttributeValue::Number(1)); break;
        case 2: doc.ApplyCharFormat(ZuAttrUnderline, 0, range, ZuAttributeValue::Number(1)); break;
        case 3: doc.ApplyCharFormat(ZuAttrStrikethrough, 0, range, ZuAttributeValue::Number(1)); break;
        case 4: doc.ApplyCharFormat(ZuAttrSize, 0, range, ZuAttributeValue::Number(pick(6, 40))); break;
        case 5: doc.ApplyCharFormat(ZuAttrFaceName, 0, range, ZuAttributeValue::Text(Faces[pick(0, 3)])); break;
        case 6: doc.ApplyColor(7, 0, range, std::uint32_t(pick(0, 0xFFFFFF))); break;
        default: doc.ApplyColor(6, 0, range, pick(0, 1) ? 0x80000005u : std::uint32_t(pick(0, 3))); break;
        }
    }
    for (int k = pick(0, 4); k > 0; --k) {
        auto tabs = std::make_unique<ZuTabSet>();
        for (int s = pick(0, 4); s > 0; --s) {
            const std::int32_t i = tabs->InsertStop(pick(1, 900));
            tabs->SetAlignment(std::uint32_t(pick(0, 2)), i, ZuTabsByIndex);
            tabs->SetLeader(std::uint32_t(pick(0, 5)), i, ZuTabsByIndex);
        }
        doc.SetParagraphTabSet(std::uint64_t(pick(0, int(size))), std::move(tabs));
    }
    doc.SetBookmarkCount(std::uint32_t(pick(0, 4)));
    static const char* Names[] = {"start", "with space", "b{r}a\\ce;", "\xE9t\xE9"};
    for (std::uint32_t i = 0; i < doc.BookmarkCount(); ++i) {
        if (pick(0, 3) != 0)
            doc.SetBookmarkName(i, Names[pick(0, 3)]);
        std::uint64_t at = std::uint64_t(pick(0, int(size)));
        // A mark between a CR and its LF has no place in the written text.
        if (at > 0 && at < size && doc.Text()[at] == '\n' && doc.Text()[at - 1] == '\r')
            --at;
        doc.SetBookmarkOffset(i, std::int64_t(at));
    }
}

std::string ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = file.readAll();
    return std::string(all.constData(), std::size_t(all.size()));
}

} // namespace

class ZuRtfTests : public QObject {
    Q_OBJECT
private slots:
    void read_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("text");
        auto row = [](const char* name, QByteArray rtf, int error, QByteArray text) {
            QTest::newRow(name) << rtf << error << text;
        };
        row("two paragraphs", "{\\rtf1 a\\par b}", 0, "a\r\nb");
        row("no closing brace", "{\\rtf1 a\\par b", ZuErrRtf, "a\r\nb");
        row("hex byte", "{\\rtf1 \\'e9\\'0D\\'0a\\'00x}", 0, QByteArray("\xE9\r\n\0x", 5));
        row("bad hex digit", "{\\rtf1 \\'g1}", ZuErrRtf, "");
        row("hex at the end", "{\\rtf1 a\\'", ZuErrRtf, "a");
        row("backslash and line end", "{\\rtf1 a\\\nb\\\r\nc}", 0, "a\r\nb\r\nc");
        row("line ends ignored", "{\\rtf1 a\r\nb\rc\nd}", 0, "abcd");
        row("escaped characters", "{\\rtf1 \\\\\\{\\}\\tab\\ldblquote x\\rdblquote}", 0, "\\{}\t\"x\"");
        row("delimiting space", "{\\rtf1\\b  x\\b0 y}", 0, " xy");
        row("skipped groups", "{\\rtf1{\\info{\\title T}}a{\\*\\foo b}{\\header h}c{\\pict 0a}}", 0, "ac");
        row("unknown words", "{\\rtf1\\unknown12 a\\x-5 b}", 0, "ab");
        row("bin bytes passed over", "{\\rtf1 a\\bin3 }}}b}", 0, "ab");
        row("bin without bytes", "{\\rtf1 a\\bin0 b\\bin-5 c}", 0, "abc");
        row("bin past the end", "{\\rtf1 a\\bin99999999 bc}", ZuErrRtf, "a");
        row("trailing bytes", QByteArray("{\\rtf1 a}\r\n\0", 12), 0, "a");
        row("extra closing brace", "{\\rtf1 a}}", ZuErrRtf, "a");
        row("byte-order mark", "\xEF\xBB\xBF{\\rtf1 a}", 0, "a");
        row("no signature", "{x}", ZuErrRtf, "");
        row("text before the group", " {\\rtf1 a}", ZuErrRtf, "");
        row("empty", "", ZuErrRtf, "");
        row("longest word", "{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdef a}", 0, "a");
        row("word too long", "{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdefg a}", ZuErrRtf, "");
        row("huge parameter", "{\\rtf1\\b99999999999999999999 a\\fs-2147483649 b}", 0, "ab");
        const QByteArray deepest = "{\\rtf1" + QByteArray(2047, '{') + "a" + QByteArray(2048, '}');
        row("depth 2048", deepest, 0, "a");
        row("depth 2049", "{\\rtf1" + QByteArray(2048, '{') + "a" + QByteArray(2049, '}'), ZuErrRtf, "");
    }
    void read()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(int, error);
        QFETCH(QByteArray, text);
        ZuTextDocument doc(nullptr, 16);
        QCOMPARE(Read(doc, rtf.toStdString()), error);
        QCOMPARE(ShownRtf(doc.Text()), ShownRtf(text.toStdString()));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
    }

    // Fonts, sizes, colours and tabs as another program writes them.
    void readFormats()
    {
        ZuTextDocument doc(nullptr, 16);
        const std::string rtf = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\froman Times;}{\\f1\\fswiss Arial;}"
                                "{\\f2 Bro\\'6ben\\'3bx;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue300;}\n"
                                "\\pard\\tqc\\tldot\\tx1440\\tx2880 \\f1\\fs21\\b\\cf1\\cb2 x\\plain y{\\f2\\i z}"
                                "{\\ul u}{\\strike s}{\\f7\\cf9 k}\\par\\pard w}";
        QCOMPARE(Read(doc, rtf), ZuOk);
        QCOMPARE(ShownRtf(doc.Text()), ShownRtf("xyzusk\r\nw"));
        auto attribute = [&](std::uint64_t at, int code) { return doc.QueryCharFormat(code, 0, Span(doc, at, at + 1)); };
        QCOMPARE(attribute(0, ZuAttrFaceName).text, std::string("Arial"));
        QCOMPARE(attribute(0, ZuAttrSize).number, 9.75); // 10 points, as the screen's pixels give them
        QCOMPARE(attribute(0, ZuAttrBold).number, -1.0);
        QCOMPARE(doc.QueryColor(7, 0, Span(doc, 0, 1)), 0x0000FFu);
        QCOMPARE(doc.QueryColor(6, 0, Span(doc, 0, 1)), 0xFF0000u); // blue held at 255
        QCOMPARE(attribute(1, ZuAttrFaceName).text, std::string("Times"));
        QCOMPARE(attribute(1, ZuAttrSize).number, 12.0);
        QCOMPARE(attribute(1, ZuAttrBold).number, 0.0);
        QCOMPARE(doc.QueryColor(7, 0, Span(doc, 1, 2)), doc.PaneColor(0, ZuColorTextFore));
        QCOMPARE(attribute(2, ZuAttrFaceName).text, std::string("Broken;x"));
        QCOMPARE(attribute(2, ZuAttrItalic).number, -1.0);
        QCOMPARE(attribute(3, ZuAttrUnderline).number, -1.0);
        QCOMPARE(attribute(4, ZuAttrStrikethrough).number, -1.0);
        // An unknown font keeps the face; an unknown colour is the default.
        QCOMPARE(attribute(5, ZuAttrFaceName).text, std::string("Times"));
        QCOMPARE(doc.QueryColor(7, 0, Span(doc, 5, 6)), doc.PaneColor(0, ZuColorTextFore));
        std::uint32_t index = 0;
        ZuFontEntry times(doc.Fonts().Provider());
        for (std::uint32_t i = 0; i < doc.Fonts().Count(); ++i)
            if (doc.Fonts().At(i).Font().faceName == "Times")
                index = i;
        QCOMPARE(doc.Fonts().At(index).Font().pitchAndFamily & 0xF0, 16);
        const ZuTabSet& tabs = doc.ParagraphTabSet(0);
        QCOMPARE(int(tabs.Count()), 2);
        QCOMPARE(tabs.StopPosition(0, ZuTabsByIndex, 8), 96);
        QCOMPARE(tabs.Alignment(0, ZuTabsByIndex), 1u);
        QCOMPARE(tabs.Leader(0, ZuTabsByIndex), 1u);
        QCOMPARE(tabs.StopPosition(1, ZuTabsByIndex, 8), 192);
        QCOMPARE(tabs.Alignment(1, ZuTabsByIndex), 0u);
        QCOMPARE(int(doc.ParagraphTabSet(8).Count()), 0); // \pard ends them
        QCOMPARE(doc.DefaultTabSet().DefaultWidth(8), 48);
    }

    void readBookmarks()
    {
        ZuTextDocument doc(nullptr, 16);
        QCOMPARE(Read(doc, "{\\rtf1 ab{\\bkmkstart one}{\\bkmkend one}cd\\par{\\bkmkstart t w\\'20o}x{\\bkmkstart}}"),
                 ZuOk);
        QCOMPARE(doc.BookmarkCount(), 3u);
        QCOMPARE(*doc.BookmarkName(0), std::string("one"));
        QCOMPARE(doc.BookmarkOffset(0), std::int64_t(2));
        QCOMPARE(*doc.BookmarkName(1), std::string("tw o"));
        QCOMPARE(doc.BookmarkOffset(1), std::int64_t(6));
        QCOMPARE(doc.BookmarkPosition(1), ZuTextPosition(0, 2));
        QVERIFY(doc.BookmarkName(2) == nullptr);
        QCOMPARE(doc.BookmarkOffset(2), std::int64_t(7));
    }

    // Reading appends: the first paragraph read continues the document's last
    // one, which keeps its own stops; later paragraphs take the stops read.
    void readAppends()
    {
        ZuTextDocument doc(nullptr, 16);
        SetText(doc, "first paragraph\r\nsecond");
        QCOMPARE(doc.SetParagraphTabSet(20, Tabs({{40, 0, 0}})), ZuOk);
        QCOMPARE(Read(doc, "{\\rtf1\\tx300 {\\b more}\\par next{\\bkmkstart m}}"), ZuOk);
        QCOMPARE(ShownRtf(doc.Text()), ShownRtf("first paragraph\r\nsecondmore\r\nnext"));
        QCOMPARE(doc.ParagraphTabSet(17).StopPosition(0, ZuTabsByIndex, 8), 40);
        QCOMPARE(doc.ParagraphTabSet(29).StopPosition(0, ZuTabsByIndex, 8), 20);
        QCOMPARE(doc.QueryCharFormat(ZuAttrBold, 0, Span(doc, 23, 27)).number, -1.0);
        QCOMPARE(doc.QueryCharFormat(ZuAttrBold, 0, Span(doc, 17, 23)).number, 0.0);
        QCOMPARE(doc.BookmarkOffset(0), std::int64_t(33));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
    }

    void hugeDataIsRefusedBeforeReading()
    {
        // A stream that claims 2^31 bytes and counts what is asked of it.
        class Huge : public ZuInStream {
        public:
            Huge() : ZuInStream(16) {}
            std::size_t Read(void*, std::size_t) override
            {
                ++reads;
                return 0;
            }
            void Seek(std::int64_t, int) override {}
            std::int64_t Tell() const override { return 0; }
            std::int64_t Length() const override { return std::int64_t(1) << 31; }
            int reads = 0;
        } huge;
        ZuTextDocument doc(nullptr, 16);
        QCOMPARE(doc.LoadRtf(huge), ZuErrLineCount);
        QCOMPARE(huge.reads, 0);
    }

    void detection_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("found");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("rtf") << QByteArray("{\\rtf1 a}") << 0 << 0 << 3 << QByteArray("a");
        QTest::newRow("braces stay text") << QByteArray("{x}") << 0 << 0 << 2 << QByteArray("{x}");
        QTest::newRow("json") << QByteArray("{\"a\": 1}\r\n") << 0 << 0 << 1 << QByteArray("{\"a\": 1}\r\n");
        QTest::newRow("broken rtf falls back") << QByteArray("{\\rtf1 a") << 0 << 0 << 2 << QByteArray("{\\rtf1 a");
        QTest::newRow("rtf asked, plain found") << QByteArray("{x}") << 3 << int(ZuErrRtf) << 3 << QByteArray("");
        QTest::newRow("broken rtf asked") << QByteArray("{\\rtf1 a") << 3 << int(ZuErrRtf) << 3 << QByteArray("a");
    }
    void detection()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, asked);
        QFETCH(int, error);
        QFETCH(int, found);
        QFETCH(QByteArray, text);
        ZuTextDocument doc(nullptr, 16);
        ZuMemoryInStream in(data.constData(), std::size_t(data.size()));
        int type = asked;
        QCOMPARE(doc.Load(in, type, false), error);
        QCOMPARE(type, found);
        QCOMPARE(ShownRtf(doc.Text()), ShownRtf(text.toStdString()));
    }

    void writeGolden()
    {
        ZuTextDocument doc(nullptr, 16);
        SetText(doc, "a{b}\\\r\nc\td");
        const std::string rtf = Write(doc);
        QCOMPARE(ShownRtf(rtf), ShownRtf("{\\rtf1\\ansi\\deff0\\deftab960\r\n{\\fonttbl{\\f0\\fnil Fixed;}}\r\n"
                                   "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"
                                   "\\pard\\plain a\\{b\\}\\\\\\par\r\nc\\tab d}"));
        // System colours are written as the colours they stand for.
        doc.SetPaneColor(0, ZuColorTextFore, 0x80000008u);
        doc.SetPaneColor(0, ZuColorTextBack, 0x80000018u);
        QVERIFY(Write(doc).find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue225;}") != std::string::npos);
        SetFace(doc, 1, 4, ZuAttrBold, ZuAttributeValue::Number(1));
        doc.ApplyColor(7, 0, Span(doc, 2, 3), 0x00FF00);
        QVERIFY2(Write(doc).find("a{\\f1\\b \\{}{\\cf2\\f1\\b b}{\\f1\\b \\}}\\\\") != std::string::npos,
                 Write(doc).c_str());
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("plain paragraphs") << 0;
        QTest::newRow("every byte") << 1;
        QTest::newRow("fonts and colours") << 2;
        QTest::newRow("tab stops") << 3;
        QTest::newRow("bookmarks") << 4;
        for (int seed = 1; seed <= 40; ++seed)
            QTest::newRow(qPrintable(QString("random %1").arg(seed))) << 100 + seed;
    }
    void roundTrip()
    {
        QFETCH(int, kind);
        ZuTextDocument doc(nullptr, 16);
        switch (kind) {
        case 0:
            SetText(doc, "one\r\ntwo\r\n\r\nthree\r\n");
            break;
        case 1:
            SetText(doc, AllBytes() + "\r\n" + AllBytes());
            break;
        case 2:
            SetText(doc, "plain bold italic\r\nred on blue\r\nsized faces");
            SetFace(doc, 6, 17, ZuAttrBold, ZuAttributeValue::Number(1));
            SetFace(doc, 11, 17, ZuAttrItalic, ZuAttributeValue::Number(1));
            doc.ApplyColor(7, 0, Span(doc, 19, 22), 0x0000FF);
            doc.ApplyColor(6, 0, Span(doc, 19, 30), 0xFF0000);
            SetFace(doc, 32, 37, ZuAttrSize, ZuAttributeValue::Number(9));
            SetFace(doc, 38, 43, ZuAttrFaceName, ZuAttributeValue::Text("Times New Roman"));
            SetFace(doc, 38, 43, ZuAttrUnderline, ZuAttributeValue::Number(1));
            SetFace(doc, 0, 2, ZuAttrStrikethrough, ZuAttributeValue::Number(1));
            doc.ApplyColor(7, 0, Span(doc, 40, 43), 0x80000005u);
            break;
        case 3:
            SetText(doc, "a\tb\r\nc\td\r\ne\r\nf\tg\r\nh");
            doc.DefaultTabSet().SetDefaultWidth(40);
            QCOMPARE(doc.SetParagraphTabSet(0, Tabs({{100, 1, 1}, {50, 2, 5}})), ZuOk);
            QCOMPARE(doc.SetParagraphTabSet(5, Tabs({{100, 1, 1}, {50, 2, 5}})), ZuOk); // the same again
            QCOMPARE(doc.SetParagraphTabSet(14, Tabs({{30, 0, 3}})), ZuOk);
            break;
        case 4:
            SetText(doc, "mark\r\nthese\r\nplaces");
            doc.SetBookmarkCount(4);
            doc.SetBookmarkName(0, "start");
            doc.SetBookmarkOffset(0, 0);
            doc.SetBookmarkName(1, "a {tricky} \\name; \xE9");
            doc.SetBookmarkOffset(1, 8);
            doc.SetBookmarkOffset(2, 8);
            doc.SetBookmarkName(3, "end");
            doc.SetBookmarkOffset(3, 19);
            break;
        default:
            Randomise(doc, unsigned(kind));
            break;
        }
        const std::string rtf = Write(doc);
        ZuTextDocument back(nullptr, 16);
        QCOMPARE(Read(back, rtf), ZuOk);
        const QStringList got = QString::fromStdString(Model(back)).split('\n');
        const QStringList want = QString::fromStdString(Model(doc)).split('\n');
        for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
            QCOMPARE(got[i], want[i]); // the first line that differs
        QCOMPARE(got.size(), want.size());
        QCOMPARE(QString::fromStdString(back.CheckStructure()), QString());
        // What a reading gives writes out the same again.
        const std::string second = Write(back);
        ZuTextDocument third(nullptr, 16);
        QCOMPARE(Read(third, second), ZuOk);
        QCOMPARE(ShownRtf(Write(third)), ShownRtf(second));
    }

    // Tab stops read into a fragment and pasted take their default width from
    // the document they went into, which outlives the fragment.
    void pastedTabStopsOutliveTheFragment()
    {
        ZuTextDocument doc(nullptr, 16);
        SetText(doc, "ab\r\ncd");
        doc.DefaultTabSet().SetDefaultWidth(30);
        {
            ZuTextDocument fragment(nullptr, 16);
            QCOMPARE(Read(fragment, "{\\rtf1\\deftab1500\\tx300 x\\tab y\\par z}"), ZuOk);
            QCOMPARE(fragment.ParagraphTabSet(0).DefaultWidth(8), 100);
            QCOMPARE(doc.InsertFragment(0, ZuTextRange({0, 2}, {0, 2}, ZuRangeStream), fragment), ZuOk);
        }
        QCOMPARE(ShownRtf(doc.Text()), ShownRtf("ab\r\nx\ty\r\nzcd"));
        const ZuTabSet& tabs = doc.ParagraphTabSet(4);
        QCOMPARE(int(tabs.Count()), 1);
        QCOMPARE(tabs.DefaultWidth(8), 30);
        QCOMPARE(tabs.StopPosition(1, ZuTabsByIndex, 8), 30);
    }

    void writeRanges_data()
    {
        QTest::addColumn<ZuTextRange>("range");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("stream") << ZuTextRange({1, 1}, {2, 2}, ZuRangeStream) << QByteArray("bc\\par\r\nde");
        QTest::newRow("lines") << ZuTextRange({1, 2}, {1, 1}, ZuRangeLine) << QByteArray("abc\\par\r\ndef");
        QTest::newRow("column") << ZuTextRange({1, 1}, {2, 3}, ZuRangeColumn)
                                << QByteArray("b\\par\r\ne\\par\r\n");
        QTest::newRow("whole") << ZuTextRange({0, 0}, {0, 0}, ZuRangeWhole) << QByteArray("abc\\par\r\ndef\\par\r\n");
    }
    void writeRanges()
    {
        QFETCH(ZuTextRange, range);
        QFETCH(QByteArray, body);
        ZuTextDocument doc(nullptr, 16);
        SetText(doc, "abc\r\ndef\r\n");
        const std::string rtf = Write(doc, range);
        const std::size_t at = rtf.find("\\pard\\plain ");
        QVERIFY(at != std::string::npos);
        QCOMPARE(ShownRtf(rtf.substr(at + 12)), ShownRtf(body.toStdString() + "}"));

        ZuGlobalOutStream out;
        QCOMPARE(doc.SaveRtf(out, 0, ZuTextRange({0, 0}, {1, 1}, 5)), ZuErrBadParameter);
        QVERIFY(out.Data().empty());
    }

    // Input another program or an attacker may give: each ends without a
    // crash in 0 or 0x700F, with a sound document that writes out and reads back.
    void hostile_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        const QByteArray head = "{\\rtf1{\\fonttbl{\\f0 A;}}{\\colortbl;\\red1;}";
        QTest::newRow("colour past the table") << head + "\\cf99 a\\cb-1 b}";
        QTest::newRow("fonts out of range") << head + "\\f-1 a\\f2000000000 b\\f2147483648 c}";
        QTest::newRow("font numbers in the table")
            << QByteArray("{\\rtf1{\\fonttbl{\\f-5 A;}{\\f2000000000 B;}{\\f C;}}\\f-5 a\\f2000000000 b}");
        QTest::newRow("sizes") << head + "\\fs0 a\\fs-20 b\\fs999999 c\\fs1 d}";
        QTest::newRow("colour values") << QByteArray("{\\rtf1{\\colortbl\\red-5\\green999\\blue300;}\\cf0 a}");
        QTest::newRow("nested groups") << "{\\rtf1" + QByteArray(100000, '{') + "a";
        QTest::newRow("long control word") << "{\\rtf1\\" + QByteArray(1 << 20, 'x') + " a}";
        QTest::newRow("long parameter") << "{\\rtf1\\b" + QByteArray(1 << 20, '9') + " a}";
        QTest::newRow("long names") << "{\\rtf1{\\fonttbl{\\f0 " + QByteArray(5000, 'n') + ";}}{\\bkmkstart " +
                                           QByteArray(5000, 'm') + "}a}";
        QTest::newRow("many fonts") << [] {
            QByteArray r = "{\\rtf1{\\fonttbl";
            for (int i = 0; i < 6000; ++i)
                r += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
            r += "}";
            for (int i = 0; i < 6000; i += 7)
                r += "\\f" + QByteArray::number(i) + " x";
            return r + "}";
        }();
        QTest::newRow("many colours and marks") << [] {
            QByteArray r = "{\\rtf1{\\colortbl" + QByteArray(200000, ';') + "}";
            for (int i = 0; i < 70000; ++i)
                r += "{\\bkmkstart}";
            return r + "a}";
        }();
        QTest::newRow("many tab stops") << "{\\rtf1" + QByteArray(3000, 'x').replace("x", "\\tx15") + "a\\tx-5\\tx0}";
        QTest::newRow("line too long") << "{\\rtf1 " + QByteArray(70000, 'a') + "}";
        QTest::newRow("destinations crossed")
            << QByteArray("{\\rtf1{\\fonttbl{\\colortbl{\\bkmkstart x;}\\red3;}\\f1 F;}\\par a\\f1 b}");
        QTest::newRow("only a pop") << QByteArray("{\\rtf1}}}}");
        QTest::newRow("nul bytes") << QByteArray("{\\rtf1 a\0b\0}", 12);
    }
    void hostile()
    {
        QFETCH(QByteArray, rtf);
        ZuTextDocument doc(nullptr, 16);
        const ZuErr error = Read(doc, rtf.toStdString());
        QVERIFY2(error == ZuOk || error == ZuErrRtf || error == ZuErrLineLength, qPrintable(QString::number(error)));
        QVERIFY(doc.Fonts().Count() <= 4097);
        QVERIFY(doc.BookmarkCount() <= 65536);
        rtffuzz::CheckInput(rtf.constData(), std::size_t(rtf.size()));
    }

    // The fuzzer's seeds replayed, then mutated at random (a bounded run that
    // needs no fuzzer).
    void corpus()
    {
        const QDir seeds(qEnvironmentVariable("TALVEX_SOURCE_DIR") + "/tests/editctl/fuzz/rtf-seeds");
        const QStringList names = seeds.entryList(QDir::Files, QDir::Name);
        QVERIFY(!names.isEmpty());
        std::vector<std::string> inputs;
        for (const QString& name : names) {
            inputs.push_back(ReadFile(seeds.filePath(name)));
            rtffuzz::CheckInput(inputs.back().data(), inputs.back().size());
        }
        std::mt19937 random(7);
        auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
        static const char* Pieces[] = {"{", "}", "\\", "\\par ", "\\'", "\\bin3 ", "\\f1 ", "\\cf2 ", "\\tx300 ",
                                       "{\\bkmkstart x}", "{\\*\\x ", ";", "\r\n", "\\fonttbl", "\\colortbl"};
        for (int round = 0; round < 3000; ++round) {
            std::string input = inputs[pick(inputs.size())];
            for (int k = int(pick(4)) + 1; k > 0 && !input.empty(); --k) {
                const std::size_t at = pick(input.size());
                switch (pick(4)) {
                case 0: input[at] = char(pick(256)); break;
                case 1: input.erase(at, pick(8) + 1); break;
                case 2: input.insert(at, Pieces[pick(std::size(Pieces))]); break;
                default: input.insert(at, input.substr(pick(input.size()), pick(32))); break;
                }
            }
            rtffuzz::CheckInput(input.data(), input.size());
        }
    }
};

REGISTER_TEST(ZuRtfTests);

#include "ZuRtfTests.moc"
