// The document against a plain byte string: thousands of random edits at tiny
// block sizes, each followed by a check of text, line count, byte count and
// the block structure. Seeded and bounded in iterations, so a failure repeats.

#include "editctl/engine/ZuTextDocument.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <random>
#include <string>

namespace {

std::uint32_t ExpectedLines(const std::string& text)
{
    std::uint32_t lines = 1;
    for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2))
        ++lines;
    return lines;
}

class Model {
public:
    Model(std::uint32_t blockSize, unsigned seed) : doc(&metrics, blockSize), random(seed) { doc.EnsureBlock(); }

    std::string RandomBytes()
    {
        static const char* pieces[] = {"a", "b", "c", " ", "\r\n", "\r", "\n", "xy", "\t", "long words here "};
        std::string bytes;
        const int n = Pick(1, 6);
        for (int i = 0; i < n; ++i)
            bytes += pieces[Pick(0, 9)];
        return bytes;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    // A random place, as the position the document resolves it to.
    std::uint64_t Place(ZuTextPosition& position)
    {
        return PlaceAt(std::uint64_t(Pick(0, int(text.size()))), position);
    }
    std::uint64_t PlaceAt(std::uint64_t offset, ZuTextPosition& position)
    {
        position = doc.OffsetToPosition(0, std::min<std::uint64_t>(offset, text.size()));
        return doc.PositionToOffset(0, position);
    }
    // A second place at most `span` bytes after the first (now and then anywhere).
    std::uint64_t PlaceNear(std::uint64_t from, int span, ZuTextPosition& position)
    {
        if (Pick(0, 20) == 0)
            return Place(position);
        return PlaceAt(from + std::uint64_t(Pick(0, span)), position);
    }

    QString Step()
    {
        const int what = Pick(0, 99);
        ZuTextPosition a, b;
        if (what < 40 || text.size() < 4) {
            const std::uint64_t at = Place(a);
            const std::string bytes = RandomBytes();
            if (doc.InsertText(0, a, bytes) != ZuOk)
                return "insert refused";
            text.insert(std::size_t(at), bytes);
        } else if (what < 65) {
            std::uint64_t from = Place(a);
            std::uint64_t to = PlaceNear(from, 12, b);
            if (to < from)
                std::swap(from, to), std::swap(a, b);
            if (doc.RemoveRange(nullptr, 0, ZuTextRange(a, b, ZuRangeStream)) != ZuOk)
                return "remove refused";
            text.erase(std::size_t(from), std::size_t(to - from));
        } else if (what < 80) {
            const std::uint64_t at = Place(a);
            const bool lastLine = a.y == doc.LineCount(0);
            const std::uint32_t length = doc.LineLength(0, a.y);
            if (doc.RemoveCharAt(0, a.x, a.y) != ZuOk)
                return "remove char refused";
            if (a.x < length)
                text.erase(std::size_t(at), 1);
            else if (!lastLine)
                text.erase(std::size_t(at), 2);
        } else if (what < 88) {
            // Cut a piece and put it back elsewhere through a fragment.
            std::uint64_t from = Place(a);
            std::uint64_t to = PlaceNear(from, 40, b);
            if (to < from)
                std::swap(from, to), std::swap(a, b);
            ZuTextDocument fragment(&metrics, doc.BlockSize());
            if (doc.RemoveRange(&fragment, 0, ZuTextRange(a, b, ZuRangeStream)) != ZuOk)
                return "cut refused";
            const std::string piece = text.substr(std::size_t(from), std::size_t(to - from));
            text.erase(std::size_t(from), std::size_t(to - from));
            if (fragment.Text() != piece)
                return "fragment holds other bytes";
            if (const std::string fault = fragment.CheckStructure(false); !fault.empty())
                return "fragment: " + QString::fromStdString(fault);
            if (!piece.empty() && fragment.LineCount(0) != ExpectedLines(piece) - (piece.ends_with("\r\n") ? 1 : 0))
                return "fragment line count";
            ZuTextPosition c;
            const std::uint64_t at = Place(c);
            if (doc.InsertFragment(0, ZuTextRange(c, c, ZuRangeStream), fragment) != ZuOk)
                return "paste refused";
            if (fragment.ByteCount() != 0)
                return "fragment not emptied";
            text.insert(std::size_t(at), piece);
        } else if (what < 93) {
            Place(a);
            const bool on = Pick(0, 1) == 1;
            const bool ends = doc.EndsParagraph(0, a.y);
            const std::uint64_t end = doc.PositionToOffset(0, {ZuEndOfLine, a.y});
            const ZuErr error = doc.SetParagraphEnd(0, a.y, on);
            if (error != ZuOk)
                return "paragraph end refused";
            if (on && !ends)
                text.insert(std::size_t(end), "\r\n");
            else if (!on && ends)
                text.erase(std::size_t(end), 2);
        } else if (what < 97) {
            Place(a);
            Place(b);
            doc.ApplyColor(Pick(0, 1) == 0 ? 7 : 6, 0, ZuTextRange(a, b, ZuRangeStream), std::uint32_t(Pick(0, 3)));
        } else {
            ZuWrapRequest request;
            request.firstLine = 1;
            request.lastLine = doc.LineCount(1);
            request.width = 7 * Pick(0, 12);
            request.wholeWords = Pick(0, 1) == 1;
            doc.WrapLines(request, 1);
        }
        return Check();
    }

    QString Check()
    {
        if (doc.Text() != text)
            return "text differs";
        if (doc.ByteCount() != text.size())
            return "byte count differs";
        if (doc.LineCount(0) != ExpectedLines(text))
            return QString("line count %1, expected %2").arg(doc.LineCount(0)).arg(ExpectedLines(text));
        if (doc.LineCount(1) < doc.LineCount(0))
            return "wrapped pane has fewer lines";
        const std::string fault = doc.CheckStructure();
        if (!fault.empty())
            return QString::fromStdString(fault);
        for (int i = 0; i < 3; ++i) {
            const std::uint64_t offset = std::uint64_t(Pick(0, int(text.size())));
            for (int pane = 0; pane < 2; ++pane) {
                const ZuTextPosition position = doc.OffsetToPosition(pane, offset);
                const std::uint64_t back = doc.PositionToOffset(pane, position);
                // Only the byte between a CR and its LF has no position of its own.
                const bool insideBreak = offset > 0 && offset < text.size() && text[offset - 1] == '\r' &&
                                         text[offset] == '\n';
                if (back != offset && !(insideBreak && back == offset - 1))
                    return QString("offset %1 comes back as %2 in pane %3").arg(offset).arg(back).arg(pane);
            }
        }
        return {};
    }

    ZuFixedMetrics metrics{7};
    ZuTextDocument doc;
    std::string text;
    std::mt19937 random;
};

} // namespace

class ZuModelTests : public QObject {
    Q_OBJECT
private slots:
    void randomEditsMatchAString_data()
    {
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("blocks of 4") << 4 << 1u;
        QTest::newRow("blocks of 8") << 8 << 2u;
        QTest::newRow("blocks of 16") << 16 << 3u;
        QTest::newRow("blocks of 64") << 64 << 4u;
    }
    void randomEditsMatchAString()
    {
        QFETCH(int, blockSize);
        QFETCH(unsigned, seed);
        Model model(std::uint32_t(blockSize), seed);
        std::size_t maxBlocks = 0;
        for (int step = 0; step < 2500; ++step) {
            const QString fault = model.Step();
            maxBlocks = std::max(maxBlocks, model.doc.BlockCount());
            if (!fault.isEmpty())
                QFAIL(qPrintable(QString("step %1: %2").arg(step).arg(fault)));
            // Keep the text small enough that every step stays cheap.
            if (model.text.size() > 600) {
                ZuTextPosition a = model.doc.OffsetToPosition(0, 0);
                ZuTextPosition b = model.doc.OffsetToPosition(0, 300);
                const std::uint64_t to = model.doc.PositionToOffset(0, b);
                QCOMPARE(model.doc.RemoveRange(nullptr, 0, ZuTextRange(a, b, ZuRangeStream)), ZuOk);
                model.text.erase(0, std::size_t(to));
                QCOMPARE(model.Check(), QString());
            }
        }
        QVERIFY2(maxBlocks > 8, "the edits should have crossed many block borders");
        // Unwrapping the second pane gives it the lines of the first again.
        ZuWrapRequest request;
        request.lastLine = model.doc.LineCount(1);
        QCOMPARE(model.doc.UnwrapLines(request, 1), ZuOk);
        QCOMPARE(model.doc.LineCount(1), model.doc.LineCount(0));
        QCOMPARE(QString::fromStdString(model.doc.CheckStructure()), QString());
    }
};

REGISTER_TEST(ZuModelTests);
#include "ZuModelTests.moc"
