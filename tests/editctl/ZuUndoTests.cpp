// The undo history: grouping, limits, the redo list, suspension, failures run
// back, and a randomised run in which undoing everything gives the first text
// and redoing everything the last, byte for byte.

#include "editctl/ZuRtfFuzzCheck.h"
#include "editctl/engine/ZuInsertionUndoAction.h"
#include "editctl/engine/ZuLineEndUndoAction.h"
#include "editctl/engine/ZuRemovalUndoAction.h"
#include "editctl/engine/ZuUndoManager.h"
#include "editctl/engine/ZuWrapUndoAction.h"
#include "support/TestRegistry.h"
#include "editctl/ZuTestSupport.h"

#include <QTest>
#include <random>
#include <string>

namespace {

// Appends to / takes from a string; fails on demand.
class LogAction : public ZuUndoAction {
public:
    LogAction(std::string& log, char c, bool failUndo = false, bool failRedo = false)
        : failUndo_(failUndo), log_(log), c_(c), failRedo_(failRedo)
    {
    }
    ZuErr Undo() override
    {
        if (failUndo_)
            return ZuErrDataDamage;
        if (log_.empty() || log_.back() != c_)
            return ZuErrUnknown;
        log_.pop_back();
        return ZuOk;
    }
    ZuErr Redo() override
    {
        if (failRedo_)
            return ZuErrDataDamage;
        log_.push_back(c_);
        return ZuOk;
    }
    bool failUndo_;

private:
    std::string& log_;
    char c_;
    bool failRedo_;
};

// One recorded edit of the string: does it and files the action in its own group.
void Edit(ZuUndoManager& manager, std::string& log, char c)
{
    manager.Nest(true);
    log.push_back(c);
    manager.AddAction(std::make_unique<LogAction>(log, c));
    manager.Nest(false);
}

} // namespace

class ZuUndoTests : public QObject {
    Q_OBJECT
private slots:
    void limitKeepsTheNewestGroups()
    {
        ZuUndoManager manager;
        std::string log;
        manager.SetLimit(3);
        for (char c : std::string("abcd"))
            Edit(manager, log, c);
        QCOMPARE(manager.UndoCount(), std::size_t(3));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(manager.Undo(), ZuOk);
        QCOMPARE(log, std::string("a"));
        QCOMPARE(manager.CanUndo(), 0);
        QCOMPARE(manager.Undo(), ZuOk); // nothing left: no change
        QCOMPARE(log, std::string("a"));
        // A lowered limit trims only when the next top-level group closes.
        manager.SetLimit(1);
        QCOMPARE(manager.RedoCount(), std::size_t(3));
        Edit(manager, log, 'x');
        QCOMPARE(manager.UndoCount(), std::size_t(1));
        QCOMPARE(manager.CanRedo(), 0); // a new edit empties the redo list
    }

    void nestingMakesOneGroupAndEmptyGroupsVanish()
    {
        ZuUndoManager manager;
        std::string log;
        manager.Nest(true);
        Edit(manager, log, 'a');
        manager.Nest(true);
        Edit(manager, log, 'b');
        manager.Nest(false);
        manager.Nest(false);
        QCOMPARE(manager.NestingCount(), 0);
        QCOMPARE(manager.UndoCount(), std::size_t(1));
        manager.Nest(true);
        manager.Nest(false); // a key that changed nothing
        QCOMPARE(manager.UndoCount(), std::size_t(1));
        QCOMPARE(manager.Undo(), ZuOk);
        QCOMPARE(log, std::string());
        QCOMPARE(manager.Redo(), ZuOk);
        QCOMPARE(log, std::string("ab"));
        QCOMPARE(manager.CanUndo(), -1);
        QCOMPARE(manager.CanRedo(), 0);
    }

    void notRecordingDropsActions()
    {
        ZuUndoManager manager;
        std::string log;
        manager.AddAction(std::make_unique<LogAction>(log, 'a')); // not nested
        QCOMPARE(manager.CanUndo(), 0);
        manager.Nest(true);
        const std::int32_t saved = manager.Suspend();
        QVERIFY(!manager.Recording());
        manager.AddAction(std::make_unique<LogAction>(log, 'b'));
        manager.Nest(true); // ignored while suspended
        QCOMPARE(manager.Resume(saved), 0);
        QCOMPARE(manager.NestingCount(), 1);
        manager.Nest(false);
        QCOMPARE(manager.CanUndo(), 0);
    }

    void undoIsRefusedWhileAnOpenGroupHoldsActions()
    {
        ZuUndoManager manager;
        std::string log;
        Edit(manager, log, 'a');
        manager.Nest(true);
        QCOMPARE(manager.Undo(), ZuOk); // the open group holds nothing yet
        QCOMPARE(log, std::string());
        QCOMPARE(manager.Redo(), ZuOk);
        log.push_back('b');
        manager.AddAction(std::make_unique<LogAction>(log, 'b'));
        QCOMPARE(manager.Undo(), ZuErrBadParameter);
        QCOMPARE(log, std::string("ab"));
        manager.Nest(false);
        QCOMPARE(manager.Undo(), ZuOk);
        QCOMPARE(log, std::string("a"));
    }

    void aFailedUndoOrRedoLeavesEverythingAsItWas()
    {
        ZuUndoManager manager;
        std::string log;
        manager.Nest(true);
        log = "abc";
        manager.AddAction(std::make_unique<LogAction>(log, 'a'));
        auto middle = std::make_unique<LogAction>(log, 'b', true, false);
        LogAction* failing = middle.get();
        manager.AddAction(std::move(middle));
        manager.AddAction(std::make_unique<LogAction>(log, 'c'));
        manager.Nest(false);
        QCOMPARE(manager.Undo(), ZuErrDataDamage);
        QCOMPARE(log, std::string("abc")); // 'c' was taken back and made again
        QCOMPARE(manager.CanUndo(), -1);
        failing->failUndo_ = false;
        QCOMPARE(manager.Undo(), ZuOk);
        QCOMPARE(log, std::string());

        // The run back fails too: the history can no longer be trusted.
        ZuUndoManager second;
        std::string other = "xy";
        second.Nest(true);
        second.AddAction(std::make_unique<LogAction>(other, 'x', true, false));
        second.AddAction(std::make_unique<LogAction>(other, 'y', false, true));
        second.Nest(false);
        Edit(second, other, 'z');
        QCOMPARE(second.Undo(), ZuOk);
        QCOMPARE(second.Undo(), ZuErrDataDamage);
        QCOMPARE(second.CanUndo(), 0);
        QCOMPARE(second.CanRedo(), 0);
    }

    void aLostActionDiscardsTheWholeGroup()
    {
        ZuUndoManager manager;
        std::string log;
        Edit(manager, log, 'a');
        manager.Nest(true);
        Edit(manager, log, 'b');
        manager.AddAction(nullptr); // the action could not be made
        Edit(manager, log, 'c');
        manager.Nest(false);
        QVERIFY(!manager.Invalid());
        QCOMPARE(manager.CanUndo(), 0); // neither the older history nor the partial group
        Edit(manager, log, 'd');
        QCOMPARE(manager.UndoCount(), std::size_t(1));
    }

    void documentEditsUndoExactly()
    {
        ZuFixedMetrics metrics(7);
        ZuTextDocument doc(&metrics, 8);
        doc.EnsureBlock();
        ZuUndoManager manager;
        ZuErr error = ZuOk;
        manager.Nest(true);
        manager.AddAction(ZuInsertionUndoAction::Insert(doc, 0, 0, "one\r\ntwo three\r\nfour", error));
        manager.Nest(false);
        QCOMPARE(error, ZuOk);
        const std::string typed = doc.Text();
        doc.ApplyColor(7, 0, ZuStreamRangeOf(doc, 0, 5, 8), 3);
        manager.Nest(true);
        manager.AddAction(ZuRemovalUndoAction::Remove(doc, 0, 2, 12, error));
        manager.AddAction(ZuLineEndUndoAction::Set(doc, 0, 1, false, error));
        manager.Nest(false);
        QCOMPARE(manager.Undo(), ZuOk);
        QCOMPARE(Shown(doc.Text()), Shown(typed));
        // The removed text came back with its colour.
        QCOMPARE(doc.QueryColor(7, 0, ZuStreamRangeOf(doc, 0, 5, 8)), 3u);
        QCOMPARE(manager.Undo(), ZuOk);
        QCOMPARE(Shown(doc.Text()), Shown(std::string()));
        QCOMPARE(manager.Redo(), ZuOk);
        QCOMPARE(manager.Redo(), ZuOk);
        QCOMPARE(Shown(doc.Text()), Shown(std::string("oneefour")));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
    }

    // Removals over many blocks move the whole blocks into the fragment and back:
    // formats, tab stops and bookmarks come back exactly, wherever the ends fall.
    void largeRemovalsUndoExactly_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("everything") << 0 << 560;
        QTest::newRow("inside lines") << 3 << 400;
        QTest::newRow("from between CR and LF") << 13 << 300;
        QTest::newRow("to between CR and LF") << 20 << 279;
        QTest::newRow("paragraph to paragraph") << 28 << 420;
    }
    void largeRemovalsUndoExactly()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        ZuFixedMetrics metrics(7);
        ZuTextDocument doc(&metrics, 16);
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "line " + std::to_string(10 + i) + " text\r\n";
        ZuErr error = ZuOk;
        doc.EnsureBlock();
        QCOMPARE(doc.InsertTextAt(0, text), ZuOk);
        QCOMPARE(doc.ApplyCharFormat(ZuAttrBold, 0, ZuStreamRangeOf(doc, 0, 10, 200), ZuAttributeValue::Number(1)),
                 ZuOk);
        doc.ApplyColor(7, 0, ZuStreamRangeOf(doc, 0, 150, 450), 0x0000FF);
        auto tabs = std::make_unique<ZuTabSet>();
        tabs->InsertStop(60);
        QCOMPARE(doc.SetParagraphTabSet(98, std::move(tabs)), ZuOk);
        doc.SetBookmarkCount(3);
        doc.SetBookmarkOffset(0, 2);
        doc.SetBookmarkOffset(1, 250);
        doc.SetBookmarkOffset(2, 555);
        // Marks in the removed text stay removed after the undo.
        for (std::uint32_t i = 0; i < doc.BookmarkCount(); ++i)
            if (doc.BookmarkOffset(i) >= from && doc.BookmarkOffset(i) < to)
                doc.SetBookmarkOffset(i, -1);
        const std::string before = rtffuzz::Model(doc);

        auto action = ZuRemovalUndoAction::Remove(doc, 0, std::uint64_t(from), std::uint64_t(to), error);
        QCOMPARE(error, ZuOk);
        const std::string removed = doc.Text();
        QCOMPARE(Shown(removed), Shown(text.substr(0, std::size_t(from)) + text.substr(std::size_t(to))));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
        QCOMPARE(action->Undo(), ZuOk);
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
        const QStringList got = QString::fromStdString(rtffuzz::Model(doc)).split('\n');
        const QStringList want = QString::fromStdString(before).split('\n');
        for (qsizetype i = 0; i < std::min(got.size(), want.size()); ++i)
            QCOMPARE(got[i], want[i]);
        QCOMPARE(got.size(), want.size());
        QCOMPARE(action->Redo(), ZuOk);
        QCOMPARE(Shown(doc.Text()), Shown(removed));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
    }

    // Random recorded edits at tiny block sizes: after any run, undoing all gives
    // the first text and redoing all the last; undoing part way gives each earlier text.
    void randomEditsUndoAndRedoByteForByte_data()
    {
        QTest::addColumn<int>("blockSize");
        QTest::addColumn<unsigned>("seed");
        QTest::newRow("blocks of 4") << 4 << 11u;
        QTest::newRow("blocks of 16") << 16 << 12u;
        QTest::newRow("blocks of 64") << 64 << 13u;
    }
    void randomEditsUndoAndRedoByteForByte()
    {
        QFETCH(int, blockSize);
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        static const char* pieces[] = {"a", "b", " ", "\r\n", "\r", "\n", "xy", "\t", "some words "};
        ZuFixedMetrics metrics(7);
        ZuTextDocument doc(&metrics, std::uint32_t(blockSize));
        doc.EnsureBlock();
        ZuUndoManager manager;
        manager.SetLimit(1000);
        std::vector<std::string> texts{doc.Text()};
        for (int step = 0; step < 400; ++step) {
            const std::uint64_t size = doc.ByteCount();
            auto offset = [&] {
                return doc.PositionToOffset(0, doc.OffsetToPosition(0, std::uint64_t(pick(0, int(size)))));
            };
            ZuErr error = ZuOk;
            manager.Nest(true);
            const int what = pick(0, 9);
            const int edits = pick(1, 2); // now and then two edits in one group
            for (int e = 0; e < edits; ++e) {
                if (what < 5 || doc.ByteCount() < 4) {
                    std::string bytes;
                    for (int i = pick(1, 4); i > 0; --i)
                        bytes += pieces[pick(0, 8)];
                    manager.AddAction(ZuInsertionUndoAction::Insert(doc, 0, offset(), bytes, error));
                } else if (what < 8) {
                    std::uint64_t from = offset(), to = offset();
                    if (to < from)
                        std::swap(from, to);
                    to = std::min(to, from + 20);
                    to = doc.PositionToOffset(0, doc.OffsetToPosition(0, to));
                    manager.AddAction(ZuRemovalUndoAction::Remove(doc, 0, from, to, error));
                } else if (what < 9) {
                    const int pane = pick(0, 1);
                    const std::uint32_t line = doc.OffsetToPosition(pane, offset()).y;
                    const bool on = !doc.EndsParagraph(pane, line);
                    if (auto action = ZuLineEndUndoAction::Set(doc, pane, line, on, error))
                        manager.AddAction(std::move(action));
                } else {
                    const std::uint32_t lines = doc.LineCount(1);
                    auto before = ZuWrapUndoAction::LineLengths(doc, 1, 1, lines);
                    ZuWrapRequest request;
                    request.firstLine = 1;
                    request.lastLine = lines;
                    request.width = 7 * pick(2, 10);
                    if (doc.WrapLines(request, 1) == ZuOk)
                        manager.AddAction(std::make_unique<ZuWrapUndoAction>(
                            doc, 1, 1, std::move(before), ZuWrapUndoAction::LineLengths(doc, 1, 1, doc.LineCount(1))));
                }
                QCOMPARE(error, ZuOk);
            }
            manager.Nest(false);
            if (manager.UndoCount() == texts.size())
                texts.push_back(doc.Text());
            else
                texts.back() = doc.Text(); // an empty group was dropped; nothing changed
            QCOMPARE(Shown(doc.Text()), Shown(texts.back()));
            // Now and then undo a few groups and redo some of them.
            if (pick(0, 15) == 0) {
                const int back = pick(1, 4);
                std::size_t at = texts.size() - 1;
                for (int i = 0; i < back && at > 0; ++i, --at) {
                    QCOMPARE(manager.Undo(), ZuOk);
                    QCOMPARE(Shown(doc.Text()), Shown(texts[at - 1]));
                }
                for (int i = pick(0, back); i > 0 && manager.CanRedo(); --i, ++at) {
                    QCOMPARE(manager.Redo(), ZuOk);
                    QCOMPARE(Shown(doc.Text()), Shown(texts[at + 1]));
                }
                texts.resize(at + 1);
            }
            QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
        }
        const std::string last = doc.Text();
        while (manager.CanUndo()) {
            QCOMPARE(manager.Undo(), ZuOk);
            QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
        }
        QCOMPARE(Shown(doc.Text()), Shown(texts.front()));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
        while (manager.CanRedo())
            QCOMPARE(manager.Redo(), ZuOk);
        QCOMPARE(Shown(doc.Text()), Shown(last));
        QCOMPARE(QString::fromStdString(doc.CheckStructure()), QString());
    }
};

REGISTER_TEST(ZuUndoTests);
#include "ZuUndoTests.moc"
