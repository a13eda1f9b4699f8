// Search and replace over a small document through a pane that selects and
// replaces by byte offsets: directions, case, whole words, soft wraps, every
// confirmation answer, and replace loops that must end.

#include "editctl/engine/ZuSearch.h"
#include "editctl/engine/ZuTextDocument.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// A pane over a document in tiny blocks; the caret stands at the selection's moving end.
class FakePane : public ZuSearchPane {
public:
    explicit FakePane(const std::string& text, std::uint32_t blockSize = 8) : doc(&metrics, blockSize)
    {
        std::uint64_t taken = 0;
        doc.AppendText(taken, text.data(), text.size(), ZuCrLfText, 0);
        doc.EnsureBlock();
        doc.EnsureFinalLine();
    }
    const ZuTextDocument& SearchDocument() const override { return doc; }
    int SearchPaneIndex() const override { return pane; }
    std::uint64_t CaretOffset() const override { return caret; }
    ZuErr SelectMatch(std::uint64_t from, std::uint64_t to) override
    {
        visited.push_back(int(from));
        anchor = from;
        caret = to;
        return ZuOk;
    }
    ZuErr ReplaceSelection(std::string_view bytes) override
    {
        if (failReplaceAt >= 0 && int(replaced) == failReplaceAt)
            return ZuErrLineLength;
        if (ignoreReplace)
            return ZuOk;
        if (ZuErr e = doc.RemoveBytes(nullptr, anchor, caret))
            return e;
        if (ZuErr e = doc.InsertTextAt(anchor, bytes))
            return e;
        ++replaced;
        caret = anchor += bytes.size();
        if (caretToStart)
            caret = 0;
        return ZuOk;
    }

    ZuFixedMetrics metrics{7};
    ZuTextDocument doc;
    int pane = 0;
    std::uint64_t anchor = 0;
    std::uint64_t caret = 0;
    std::vector<int> visited;
    unsigned replaced = 0;
    int failReplaceAt = -1;
    bool ignoreReplace = false; // answers success and changes nothing
    bool caretToStart = false;  // puts the caret at the text's start after replacing
};

// Answers from a list, one per question; the last one repeats.
struct Answers {
    std::vector<int> list;
    int asked = 0;
    void operator()(std::int16_t& answer)
    {
        QCOMPARE(answer, std::int16_t(4));
        answer = std::int16_t(list[std::min<std::size_t>(std::size_t(asked), list.size() - 1)]);
        ++asked;
    }
};

// A search for a target (GCC 12 warns falsely on assigning short literals to the members).
std::unique_ptr<ZuSearch> Searching(std::string target, std::string replacement = {})
{
    auto search = std::make_unique<ZuSearch>();
    search->target = std::move(target);
    search->replacement = std::move(replacement);
    return search;
}

// The answer read straight off the whole text: paragraphs split at CR LF, a
// match inside one paragraph, words bounded by blanks or the paragraph's ends.
std::int64_t ReferenceFind(const std::string& text, const std::string& what, std::uint64_t from, bool forward,
                           bool caseSensitive, bool wholeWords)
{
    const auto fold = [caseSensitive](unsigned char c) {
        return !caseSensitive && c >= 'A' && c <= 'Z' ? c + 32 : int(c);
    };
    const auto blank = [](unsigned char c) { return c == 0 || c == '\t' || c == ' ' || c == 0xFF; };
    std::int64_t best = -1;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        for (std::size_t at = start; at + what.size() <= end; ++at) {
            bool match = true;
            for (std::size_t i = 0; i < what.size() && match; ++i)
                match = fold(static_cast<unsigned char>(text[at + i])) == fold(static_cast<unsigned char>(what[i]));
            if (match && wholeWords)
                match = (at == start || blank(static_cast<unsigned char>(text[at - 1]))) &&
                        (at + what.size() == end || blank(static_cast<unsigned char>(text[at + what.size()])));
            if (!match)
                continue;
            if (forward && at >= from)
                return std::int64_t(at);
            if (!forward && at < from)
                best = std::int64_t(at);
        }
        start = end + 2;
    }
    return forward ? -1 : best;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<int>)

class ZuSearchTests : public QObject {
    Q_OBJECT
private slots:
    void findsOneMatch_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("wholeWords");
        QTest::addColumn<int>("found");

        QTest::newRow("forward from the caret") << QByteArray("ab ab\r\nab") << QByteArray("ab") << 1 << true
                                                << false << false << 3;
        QTest::newRow("forward onto a later line") << QByteArray("ab ab\r\nab") << QByteArray("ab") << 4 << true
                                                   << false << false << 7;
        QTest::newRow("forward past the end") << QByteArray("ab ab\r\nab") << QByteArray("ab") << 8 << true << false
                                              << false << -1;
        QTest::newRow("backward: the later of two on the last line")
            << QByteArray("x\r\nword and word") << QByteArray("word") << 16 << false << false << false << 12;
        QTest::newRow("backward onto an earlier line")
            << QByteArray("word\r\nand word") << QByteArray("word") << 10 << false << false << false << 0;
        QTest::newRow("backward: a match may reach past the caret")
            << QByteArray("abcd") << QByteArray("bc") << 2 << false << false << false << 1;
        QTest::newRow("case folded") << QByteArray("x HeLLo") << QByteArray("hello") << 0 << true << false << false
                                     << 2;
        QTest::newRow("case kept") << QByteArray("x HeLLo hello") << QByteArray("hello") << 0 << true << true
                                   << false << 8;
        QTest::newRow("accented capitals fold") << QByteArray("caf\xC9") << QByteArray("\xE9") << 0 << true
                                                << false << false << 3;
        QTest::newRow("a match never spans a line break")
            << QByteArray("ab\r\ncd") << QByteArray("bc") << 0 << true << false << false << -1;
        QTest::newRow("whole word between blanks") << QByteArray("abcd x abc\ty") << QByteArray("abc") << 0 << true
                                                   << false << true << 7;
        QTest::newRow("whole word at line start") << QByteArray("abc y") << QByteArray("abc") << 0 << true << false
                                                  << true << 0;
        QTest::newRow("whole word at line end") << QByteArray("y abc") << QByteArray("abc") << 0 << true << false
                                                << true << 2;
        QTest::newRow("not a whole word before a period")
            << QByteArray("abc. abcd") << QByteArray("abc") << 0 << true << false << true << -1;
        QTest::newRow("not a whole word backward inside a longer word")
            << QByteArray("abc xabc") << QByteArray("abc") << 8 << false << false << true << 0;
        QTest::newRow("0xFF is a blank") << QByteArray("a\xFF" "abc\xFF") << QByteArray("abc") << 0 << true << false
                                         << true << 2;
        QTest::newRow("an empty target finds nothing") << QByteArray("abc") << QByteArray() << 0 << true << false
                                                       << false << -1;
    }
    void findsOneMatch()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, target);
        QFETCH(int, caret);
        QFETCH(bool, forward);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, wholeWords);
        QFETCH(int, found);
        FakePane pane(text.toStdString());
        pane.caret = std::uint64_t(caret);
        auto searching = Searching(target.toStdString());
        ZuSearch& search = *searching;
        search.to = forward ? 1 : 0;
        search.caseSensitive = caseSensitive;
        search.wholeWordsOnly = wholeWords;
        QCOMPARE(search.Search(pane), ZuOk);
        QCOMPARE(search.Result(), found >= 0 ? 1 : 0);
        if (found >= 0) {
            QCOMPARE(pane.visited, std::vector<int>{found});
            QCOMPARE(pane.anchor, std::uint64_t(found));
            QCOMPARE(pane.caret, std::uint64_t(found + target.size()));
        } else {
            QVERIFY(pane.visited.empty());
        }
    }

    void findsWhatTheWholeTextShows()
    {
        // Random texts in tiny blocks, one pane wrapped narrow, against the reference.
        std::mt19937 random(127);
        const char letters[] = {'a', 'b', 'A', ' ', '\t'};
        for (int round = 0; round < 300; ++round) {
            std::string text;
            for (int n = int(random() % 60); n > 0; --n)
                text += random() % 7 == 0 ? std::string("\r\n") : std::string(1, letters[random() % 5]);
            FakePane pane(text, 8);
            pane.pane = int(random() % 2);
            ZuWrapRequest wrap;
            wrap.lastLine = pane.doc.LineCount(1);
            wrap.width = int(1 + random() % 6) * 7;
            wrap.wholeWords = random() % 2 == 0;
            QCOMPARE(pane.doc.WrapLines(wrap, 1), ZuOk);
            std::string what;
            for (int n = 1 + int(random() % 3); n > 0; --n)
                what += letters[random() % 4];
            ZuSearch search;
            search.caseSensitive = random() % 2 == 0;
            search.wholeWordsOnly = random() % 3 == 0;
            const bool forward = random() % 2 == 0;
            const std::uint64_t from = random() % (text.size() + 1);
            const std::int64_t expected =
                ReferenceFind(pane.doc.Text(), what, from, forward, search.caseSensitive, search.wholeWordsOnly);
            QCOMPARE(search.Find(pane.doc, pane.pane, what, from, forward), expected);
        }
    }

    void entireScopeReachesTheFirstAndLastByte()
    {
        FakePane pane("a\r\nxxa");
        pane.caret = 4;
        auto searching = Searching("a");
        ZuSearch& search = *searching;
        search.origin = 1;
        search.to = 0;
        QCOMPARE(search.Search(pane), ZuOk);
        QCOMPARE(pane.visited, std::vector<int>{5});
        QCOMPARE(search.origin, 0); // the next step goes on from the match
        search.origin = 1;
        search.to = 1;
        QCOMPARE(search.Search(pane), ZuOk);
        QCOMPARE(pane.visited.back(), 0);
    }

    void matchCrossesASoftWrapButWordsAreParagraphWords()
    {
        // Pane 1 wrapped at 4 characters: "abcd" "efgh" "ij".
        FakePane pane("abcdefghij");
        pane.pane = 1;
        ZuWrapRequest wrap;
        wrap.lastLine = pane.doc.LineCount(1);
        wrap.width = 4 * 7;
        QCOMPARE(pane.doc.WrapLines(wrap, 1), ZuOk);
        QCOMPARE(pane.doc.LineCount(1), 3u);
        auto searching = Searching("defg");
        ZuSearch& search = *searching;
        QCOMPARE(search.Search(pane), ZuOk);
        QCOMPARE(pane.visited, std::vector<int>{3});
        // "efgh" starts a wrapped line but not a word.
        search.target = std::string("efgh");
        search.wholeWordsOnly = true;
        pane.caret = 0;
        QCOMPARE(search.Search(pane), ZuOk);
        QCOMPARE(search.Result(), 0);
        search.to = 0;
        pane.caret = 10;
        search.target = std::string("ghij");
        search.wholeWordsOnly = false;
        QCOMPARE(search.Search(pane), ZuOk);
        QCOMPARE(pane.visited.back(), 6);
    }

    void replaceLoopEnds_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<int>("caret");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<int>("action");       // SearchReplaceAction
        QTest::addColumn<std::vector<int>>("answers"); // of the container, when confirming
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<int>("count");
        QTest::addColumn<std::vector<int>>("visited");

        QTest::newRow("replace all forward") << QByteArray("a a a") << QByteArray("a") << QByteArray("b") << 0
                                             << true << 2 << std::vector<int>{} << QByteArray("b b b") << 3
                                             << std::vector<int>{0, 2, 4};
        QTest::newRow("replace all backward") << QByteArray("a a a") << QByteArray("a") << QByteArray("b") << 5
                                              << false << 2 << std::vector<int>{} << QByteArray("b b b") << 3
                                              << std::vector<int>{4, 2, 0};
        QTest::newRow("forward, the replacement holds its target")
            << QByteArray("a a\r\na") << QByteArray("a") << QByteArray("aa") << 0 << true << 2
            << std::vector<int>{} << QByteArray("aa aa\r\naa") << 3 << std::vector<int>{0, 3, 7};
        QTest::newRow("backward, the replacement holds its target")
            << QByteArray("a a\r\na") << QByteArray("a") << QByteArray("aa") << 6 << false << 2
            << std::vector<int>{} << QByteArray("aa aa\r\naa") << 3 << std::vector<int>{5, 2, 0};
        QTest::newRow("backward, the replacement ends in its target")
            << QByteArray("xa xa") << QByteArray("a") << QByteArray("ba") << 5 << false << 2 << std::vector<int>{}
            << QByteArray("xba xba") << 2 << std::vector<int>{4, 1};
        QTest::newRow("replace all from the caret on") << QByteArray("a a a") << QByteArray("a") << QByteArray("b")
                                                       << 1 << true << 2 << std::vector<int>{}
                                                       << QByteArray("a b b") << 2 << std::vector<int>{2, 4};
        QTest::newRow("replace one") << QByteArray("a a a") << QByteArray("a") << QByteArray("b") << 0 << true << 1
                                     << std::vector<int>{} << QByteArray("b a a") << 1 << std::vector<int>{0};
        QTest::newRow("always skip, forward") << QByteArray("a a a") << QByteArray("a") << QByteArray("b") << 0
                                              << true << 0 << std::vector<int>{2} << QByteArray("a a a") << 0
                                              << std::vector<int>{0, 2, 4};
        QTest::newRow("always skip, backward") << QByteArray("aa aa") << QByteArray("aa") << QByteArray("b") << 5
                                               << false << 0 << std::vector<int>{2} << QByteArray("aa aa") << 0
                                               << std::vector<int>{3, 0};
        QTest::newRow("skip overlapping matches") << QByteArray("aaa") << QByteArray("aa") << QByteArray("b") << 0
                                                  << true << 0 << std::vector<int>{2} << QByteArray("aaa") << 0
                                                  << std::vector<int>{0};
        QTest::newRow("stop at once") << QByteArray("a a a") << QByteArray("a") << QByteArray("b") << 0 << true << 0
                                      << std::vector<int>{0} << QByteArray("a a a") << 0 << std::vector<int>{0};
        QTest::newRow("replace and stop") << QByteArray("a a a") << QByteArray("a") << QByteArray("b") << 0 << true
                                          << 0 << std::vector<int>{3} << QByteArray("b a a") << 1
                                          << std::vector<int>{0};
        QTest::newRow("replace, skip, replace all") << QByteArray("a a a a") << QByteArray("a") << QByteArray("b")
                                                    << 0 << true << 0 << std::vector<int>{1, 2, 4}
                                                    << QByteArray("b a b b") << 3 << std::vector<int>{0, 2, 4, 6};
        QTest::newRow("an answer out of range stops") << QByteArray("a a") << QByteArray("a") << QByteArray("b") << 0
                                                      << true << 0 << std::vector<int>{7} << QByteArray("a a") << 0
                                                      << std::vector<int>{0};
        QTest::newRow("a negative answer stops") << QByteArray("a a") << QByteArray("a") << QByteArray("b") << 3
                                                 << false << 0 << std::vector<int>{-1} << QByteArray("a a") << 0
                                                 << std::vector<int>{2};
        QTest::newRow("nothing to replace") << QByteArray("a a") << QByteArray("z") << QByteArray("b") << 0 << true
                                            << 2 << std::vector<int>{} << QByteArray("a a") << 0
                                            << std::vector<int>{};
    }
    void replaceLoopEnds()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, replacement);
        QFETCH(int, caret);
        QFETCH(bool, forward);
        QFETCH(int, action);
        QFETCH(std::vector<int>, answers);
        QFETCH(QByteArray, result);
        QFETCH(int, count);
        QFETCH(std::vector<int>, visited);
        FakePane pane(text.toStdString());
        pane.caret = std::uint64_t(caret);
        auto searching = Searching(target.toStdString(), replacement.toStdString());
        ZuSearch& search = *searching;
        search.to = forward ? 1 : 0;
        search.replaceAction = action;
        Answers confirm{answers};
        search.confirm = [&confirm](std::int16_t& answer) { confirm(answer); };
        QCOMPARE(search.Replace(pane), ZuOk);
        QCOMPARE(QByteArray::fromStdString(pane.doc.Text()), result);
        QCOMPARE(search.ReplaceCount(), count);
        QCOMPARE(pane.visited, visited);
        QCOMPARE(search.Result(), visited.empty() ? 0 : 1);
        // Asked for each match until an answer of 4, never when the action answers.
        int asked = 0;
        for (std::size_t i = 0; action == 0 && i < visited.size(); ++i) {
            ++asked;
            if (answers[std::min(i, answers.size() - 1)] == 4)
                break;
        }
        QCOMPARE(confirm.asked, asked);
    }

    void loopsEndWhateverThePaneDoes()
    {
        for (const bool forward : {true, false}) {
            // The caret wandering off after each replacement.
            FakePane wandering("a a a");
            wandering.caret = forward ? 0 : 5;
            wandering.caretToStart = true;
            auto searching = Searching("a", "aa");
            searching->to = forward ? 1 : 0;
            searching->replaceAction = 2;
            QCOMPARE(searching->Replace(wandering), ZuOk);
            QCOMPARE(wandering.doc.Text(), std::string("aa aa aa"));
            QCOMPARE(searching->ReplaceCount(), 3);
            // A pane that claims to replace and changes nothing.
            FakePane stubborn("a a a");
            stubborn.caret = forward ? 0 : 5;
            stubborn.ignoreReplace = true;
            searching->replacement.clear();
            QCOMPARE(searching->Replace(stubborn), ZuOk);
            QCOMPARE(stubborn.visited.size(), std::size_t(1));
        }
    }

    void searchAgainGoesOnFromTheLastMatch()
    {
        for (const bool forward : {true, false}) {
            FakePane pane("ab ab ab");
            pane.caret = forward ? 0 : 8;
            auto searching = Searching("ab");
            ZuSearch& search = *searching;
            search.to = forward ? 1 : 0;
            QCOMPARE(search.Search(pane), ZuOk);
            QCOMPARE(search.SearchAgain(pane), ZuOk);
            QCOMPARE(search.SearchAgain(pane), ZuOk);
            QCOMPARE(search.Result(), 1);
            QCOMPARE(search.SearchAgain(pane), ZuOk);
            QCOMPARE(search.Result(), 0);
            QCOMPARE(pane.visited, forward ? std::vector<int>({0, 3, 6}) : std::vector<int>({6, 3, 0}));
        }
    }

    void searchAgainAfterAReplaceGoesOnReplacing()
    {
        FakePane pane("a a a");
        auto searching = Searching("a", "bb");
        ZuSearch& search = *searching;
        Answers confirm{{3, 1}};
        search.confirm = [&confirm](std::int16_t& answer) { confirm(answer); };
        QCOMPARE(search.Replace(pane), ZuOk);
        QCOMPARE(pane.doc.Text(), std::string("bb a a"));
        QCOMPARE(search.SearchAgain(pane), ZuOk);
        QCOMPARE(pane.doc.Text(), std::string("bb bb bb"));
        QCOMPARE(search.ReplaceCount(), 3);
        // With an empty target it is a plain search.
        search.target.clear();
        QCOMPARE(search.SearchAgain(pane), ZuOk);
        QCOMPARE(search.Result(), 0);
    }

    void replaceAllDoesNotCarryOverAFailedReplace()
    {
        FakePane pane("a a a");
        pane.failReplaceAt = 1;
        auto searching = Searching("a", "b");
        ZuSearch& search = *searching;
        Answers confirm{{4}};
        search.confirm = [&confirm](std::int16_t& answer) { confirm(answer); };
        QCOMPARE(search.Replace(pane), ZuErrLineLength);
        QCOMPARE(pane.doc.Text(), std::string("b a a"));
        QCOMPARE(confirm.asked, 1);
        // The next replace asks again.
        pane.failReplaceAt = -1;
        pane.caret = 0;
        confirm.list = {2};
        QCOMPARE(search.Replace(pane), ZuOk);
        QCOMPARE(confirm.asked, 3);
        QCOMPARE(pane.doc.Text(), std::string("b a a"));
        QCOMPARE(search.ReplaceCount(), 0);
    }
};

REGISTER_TEST(ZuSearchTests);
#include "ZuSearchTests.moc"
