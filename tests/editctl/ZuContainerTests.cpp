// The growable array and the pointer ring the engine keeps its data in.

#include "editctl/engine/ZuGrowArray.h"
#include "editctl/engine/ZuListBase.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <vector>

namespace {

struct Item : ZuListItem {
    explicit Item(int v, int* destroyed = nullptr) : value(v), destroyed(destroyed) {}
    ~Item() override
    {
        if (destroyed != nullptr)
            ++*destroyed;
    }
    int value;
    int* destroyed;
};

// Records the hooks in the order they come.
class RecordingList : public ZuListBase {
public:
    void ItemsInserted(std::uint32_t first, std::uint32_t n) override { log.push_back({'+', first, n}); }
    void ItemsRemoving(std::uint32_t first, std::uint32_t n) override { log.push_back({'-', first, n}); }
    void CurrentChanged(std::uint32_t previous) override { log.push_back({'c', previous, CurrentIndex()}); }
    struct Entry {
        char what;
        std::uint32_t a, b;
        bool operator==(const Entry&) const = default;
    };
    std::vector<Entry> log;
};

std::vector<int> Values(const ZuListBase& list)
{
    std::vector<int> values;
    for (std::uint32_t i = 1; i <= list.Count(); ++i)
        values.push_back(static_cast<Item*>(list.ItemAt(i))->value);
    return values;
}

} // namespace

class ZuContainerTests : public QObject {
    Q_OBJECT
private slots:
    void arrayInsertsCopiesOfOneElement()
    {
        ZuGrowArray array(4);
        const std::int32_t seven = 7;
        QCOMPARE(array.Insert(&seven, 0, 3), ZuOk);
        const std::int32_t one = 1;
        QCOMPARE(array.Insert(&one, 1, 2), ZuOk);
        QCOMPARE(array.Count(), 5u);
        const std::vector<int> expected{7, 1, 1, 7, 7};
        for (std::uint32_t i = 0; i < 5; ++i)
            QCOMPARE(array.At<std::int32_t>(i), expected[i]);
        QCOMPARE(array.Capacity(), 100u); // grows in whole steps
        QCOMPARE(array.Insert(nullptr, 5, 250), ZuOk);
        QCOMPARE(array.Capacity(), 300u);
    }

    void arraySourceInsideItselfSurvivesReallocation()
    {
        ZuGrowArray array(4);
        array.SetGrowStep(1);
        const std::int32_t values[] = {11, 22};
        array.Insert(&values[0], 0, 1);
        array.Insert(&values[1], 1, 1);
        QCOMPARE(array.Capacity(), 2u);
        // The source is element 1 of the array itself; the insertion reallocates.
        QCOMPARE(array.Insert(&array.At<std::int32_t>(1), 0, 3), ZuOk);
        for (std::uint32_t i = 0; i < 3; ++i)
            QCOMPARE(array.At<std::int32_t>(i), 22);
        QCOMPARE(array.At<std::int32_t>(3), 11);
    }

    void arrayGapBeyondCountIsZeroFilled()
    {
        ZuGrowArray array(4);
        const std::int32_t nine = 9;
        array.Insert(&nine, 0, 1);
        QCOMPARE(array.Insert(&nine, 4, 1), ZuOk);
        QCOMPARE(array.Count(), 5u);
        QCOMPARE(array.At<std::int32_t>(1), 0);
        QCOMPARE(array.At<std::int32_t>(3), 0);
        QCOMPARE(array.At<std::int32_t>(4), 9);
    }

    void arrayRemoveRangeStopsAtTheEnd()
    {
        ZuGrowArray array(1);
        const char bytes[] = "abcdef";
        for (std::uint32_t i = 0; i < 6; ++i)
            array.Insert(&bytes[i], i, 1);
        array.RemoveRange(4, 100);
        QCOMPARE(array.Count(), 4u);
        array.RemoveRange(4, 1); // at the count: nothing
        array.RemoveRange(1, 2);
        QCOMPARE(array.Count(), 2u);
        QCOMPARE(array.At<char>(0), 'a');
        QCOMPARE(array.At<char>(1), 'd');
        QCOMPARE(array.Capacity(), 100u); // never shrinks
    }

    void arrayRefusesCountsPast32Bits()
    {
        ZuGrowArray array(16);
        QCOMPARE(array.Insert(nullptr, 0, 0x10000000u), ZuErrLineCount);
        QCOMPARE(array.Count(), 0u);
        ZuGrowArray copy(2);
        const std::int16_t x = 5;
        array.Init(2);
        array.Insert(&x, 0, 3);
        QCOMPARE(copy.Assign(array), ZuOk);
        QCOMPARE(copy.Count(), 3u);
        QCOMPARE(copy.At<std::int16_t>(2), 5);
    }

    void ringWalksFromTheNearestEnd()
    {
        ZuListBase list;
        std::vector<Item> items;
        items.reserve(10);
        for (int i = 1; i <= 10; ++i) {
            items.emplace_back(i);
            list.AddTail(&items.back());
        }
        QCOMPARE(static_cast<Item*>(list.GoTo(5))->value, 5);
        QCOMPARE(static_cast<Item*>(list.GoTo(9))->value, 9);
        QCOMPARE(list.LastWalkSteps(), 1u); // back from the last node
        list.GoTo(5);
        QCOMPARE(static_cast<Item*>(list.GoTo(2))->value, 2);
        QCOMPARE(list.LastWalkSteps(), 1u); // forward from the first node
        QCOMPARE(list.CurrentIndex(), 2u);
        QCOMPARE(static_cast<Item*>(list.Forward(9))->value, 1); // wraps round
        QCOMPARE(static_cast<Item*>(list.Backward(1))->value, 10);
        QCOMPARE(static_cast<Item*>(list.GoTo(0))->value, 1); // clamped
        QCOMPARE(static_cast<Item*>(list.GoTo(99))->value, 10);
        list.RemoveAll();
    }

    void ringKeepsTheCurrentPositionThroughEdits()
    {
        RecordingList list;
        int destroyed = 0;
        for (int i = 1; i <= 4; ++i)
            list.AddTail(new Item(i, &destroyed));
        list.GoTo(3);
        list.log.clear();
        list.AddHead(new Item(0, &destroyed)); // before the current item
        QCOMPARE(list.CurrentIndex(), 4u);
        QCOMPARE(static_cast<Item*>(list.Current())->value, 3);
        list.DeleteAt(1); // before the current item again
        QCOMPARE(list.CurrentIndex(), 3u);
        QCOMPARE(static_cast<Item*>(list.Current())->value, 3);
        delete list.RemoveCurrent(); // the next item becomes current
        QCOMPARE(static_cast<Item*>(list.Current())->value, 4);
        QCOMPARE(list.CurrentIndex(), 3u);
        delete list.RemoveCurrent(); // the last one: the new last item becomes current
        QCOMPARE(static_cast<Item*>(list.Current())->value, 2);
        QCOMPARE(list.CurrentIndex(), 2u);
        QCOMPARE(Values(list), (std::vector<int>{1, 2}));
        const std::vector<RecordingList::Entry> expected{{'+', 1, 1}, {'-', 1, 1}, {'-', 3, 1}, {'-', 3, 1}};
        QVERIFY(list.log == expected);
        list.InsertAfter(1, new Item(9, &destroyed));
        QCOMPARE(Values(list), (std::vector<int>{1, 9, 2}));
        QCOMPARE(list.CurrentIndex(), 3u);
        list.DeleteAll();
        QCOMPARE(destroyed, 6);
        QCOMPARE(list.CurrentIndex(), 0u);
        QVERIFY(list.Current() == nullptr && list.First() == nullptr && list.GoTo(1) == nullptr);
        QVERIFY(list.RemoveHead() == nullptr);
    }
};

REGISTER_TEST(ZuContainerTests);
#include "ZuContainerTests.moc"
