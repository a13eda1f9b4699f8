#pragma once
// The history ring: a fixed number N of entries whose Order values are
// always a permutation of 1..N, the used entries holding the lowest orders
// (1 = newest). List row r shows the used entry of Order r + 1. A new
// content takes the oldest slot; nothing is evicted for a content of which
// no block could be kept.

#include "clipext/cClipboardCache.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace clipext {

struct ClipRecordView;

class ClipHistory {
public:
    // The ring size for the stored setting: 15 without the settings key;
    // with it, EntriesToKeep (missing reads 0) with below 1 giving 10 and
    // above 512 giving 512.
    static int RingSize(bool keyExists, std::optional<qint64> entriesToKeep);
    static constexpr int DefaultSize = 15;
    static constexpr int MaxSize = 512;

    explicit ClipHistory(int size = DefaultSize);

    // N, the number of slots. Growing adds empty slots at the old end;
    // shrinking keeps the newest entries, renumbered 1..size.
    int NumberOfLines() const { return static_cast<int>(entries_.size()); }
    void NumberOfLines(int size);

    int UsedCount() const;
    // Slots by index 0..N-1 (an index stays with its entry).
    cClipboardCache& Entry(int index) { return *entries_.at(static_cast<size_t>(index)); }
    const cClipboardCache& Entry(int index) const { return *entries_.at(static_cast<size_t>(index)); }
    // The slot index shown in each list row, newest first.
    std::vector<int> Rows() const;
    // The slot shown in row; -1 when the row holds none.
    int EntryAtRow(int row) const;
    // The row that shows the slot; -1 when it is unused.
    int RowOfEntry(int index) const;

    // Empties the oldest slot and makes it the newest (Order 1, Used);
    // returns its index.
    int AllocateHistoryEntry();
    // A new clipboard content: the blocks of the stored formats, in
    // clipboard order. Returns the slot now holding it, or -1 when no block
    // could be kept (and then nothing changed).
    int Capture(const std::vector<ClipBlock>& blocks);
    // Records read from a file, each becoming the newest in turn (so the
    // file's last record ends on top). Returns how many were loaded. Given
    // the file's bytes, the entries share them when they keep most of them
    // (see cClipboardCache::DeSerialise); else they copy their blocks.
    int Load(const std::vector<ClipRecordView>& records, const QByteArray& file = QByteArray());

    // The list's operations on a row; each returns whether anything changed.
    bool Delete(int row);    // the entry goes; the rows below move up
    bool MoveUp(int row);
    bool MoveDown(int row);
    void Clear();
    // A title cut to MaxTitleLength characters; an empty title changes nothing.
    bool Rename(int row, const QString& title);

private:
    int IndexOfOrder(int order) const;

    std::vector<std::unique_ptr<cClipboardCache>> entries_;
};

}  // namespace clipext
