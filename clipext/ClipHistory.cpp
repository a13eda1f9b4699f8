#include "clipext/ClipHistory.h"

#include "clipext/ClipHistoryFile.h"

#include <algorithm>

namespace clipext {

int ClipHistory::RingSize(bool keyExists, std::optional<qint64> entriesToKeep)
{
    if (!keyExists)
        return DefaultSize;
    const qint64 stored = entriesToKeep.value_or(0);
    if (stored < 1)
        return 10;
    return static_cast<int>(std::min<qint64>(stored, MaxSize));
}

ClipHistory::ClipHistory(int size)
{
    NumberOfLines(std::max(size, 1));
}

void ClipHistory::NumberOfLines(int size)
{
    const int old = NumberOfLines();
    if (size < 1 || size == old)
        return;
    if (size > old) {
        for (int index = old; index < size; ++index)
            entries_.push_back(std::make_unique<cClipboardCache>(index + 1));
        return;
    }
    // Keep the entries of Order 1..size (the newest), in their order.
    std::erase_if(entries_, [size](const std::unique_ptr<cClipboardCache>& entry) { return entry->Order() > size; });
}

int ClipHistory::UsedCount() const
{
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [](const auto& entry) { return entry->Used(); }));
}

std::vector<int> ClipHistory::Rows() const
{
    std::vector<int> byOrder(entries_.size(), -1);
    for (size_t index = 0; index < entries_.size(); ++index) {
        const cClipboardCache& entry = *entries_[index];
        if (entry.Used() && entry.Order() >= 1 && entry.Order() <= NumberOfLines())
            byOrder[static_cast<size_t>(entry.Order() - 1)] = static_cast<int>(index);
    }
    std::vector<int> rows;
    for (const int index : byOrder) {
        if (index < 0)
            break;
        rows.push_back(index);
    }
    return rows;
}

int ClipHistory::IndexOfOrder(int order) const
{
    for (size_t index = 0; index < entries_.size(); ++index)
        if (entries_[index]->Order() == order)
            return static_cast<int>(index);
    return -1;
}

int ClipHistory::EntryAtRow(int row) const
{
    const int index = IndexOfOrder(row + 1);
    return index >= 0 && entries_[static_cast<size_t>(index)]->Used() ? index : -1;
}

int ClipHistory::RowOfEntry(int index) const
{
    if (index < 0 || index >= NumberOfLines() || !Entry(index).Used())
        return -1;
    return Entry(index).Order() - 1;
}

int ClipHistory::AllocateHistoryEntry()
{
    const int n = NumberOfLines();
    int slot = -1;
    for (size_t index = 0; index < entries_.size(); ++index) {
        cClipboardCache& entry = *entries_[index];
        if (entry.Order() == n) {
            entry.ClearUp();
            entry.Order(1);
            entry.Used(true);
            slot = static_cast<int>(index);
        } else {
            entry.Order(entry.Order() + 1);
        }
    }
    return slot;
}

int ClipHistory::Capture(const std::vector<ClipBlock>& blocks)
{
    const bool anything = std::any_of(blocks.begin(), blocks.end(),
                                      [](const ClipBlock& block) { return !block.bytes.isEmpty(); });
    if (!anything)
        return -1;
    const int slot = AllocateHistoryEntry();
    for (const ClipBlock& block : blocks)
        Entry(slot).CacheItem(block.bytes, block.formatID);
    return slot;
}

int ClipHistory::Load(const std::vector<ClipRecordView>& records, const QByteArray& file)
{
    // Only the last N records stay; the ones before would be evicted at once.
    const size_t skip = records.size() > entries_.size() ? records.size() - entries_.size() : 0;
    // Sharing the file's bytes saves a copy of them all, but keeps the whole
    // file in memory as long as one entry of it lives: only worth it when
    // the entries hold most of the file.
    qsizetype kept = 0;
    for (size_t i = skip; i < records.size(); ++i)
        for (const ClipBlockView& block : records[i].blocks)
            kept += block.bytes.size();
    const QByteArray shared = kept >= file.size() / 2 ? file : QByteArray();
    int loaded = 0;
    for (size_t i = skip; i < records.size(); ++i) {
        Entry(AllocateHistoryEntry()).DeSerialise(records[i], shared);
        ++loaded;
    }
    return loaded;
}

bool ClipHistory::Delete(int row)
{
    const int index = EntryAtRow(row);
    if (index < 0)
        return false;
    const int order = row + 1;
    for (auto& entry : entries_)
        if (entry->Order() > order)
            entry->Order(entry->Order() - 1);
    cClipboardCache& gone = Entry(index);
    gone.ClearUp();
    gone.Order(NumberOfLines());
    return true;
}

bool ClipHistory::MoveUp(int row)
{
    const int index = EntryAtRow(row);
    if (row < 1 || index < 0)
        return false;
    Entry(IndexOfOrder(row)).Order(row + 1);
    Entry(index).Order(row);
    return true;
}

bool ClipHistory::MoveDown(int row)
{
    const int index = EntryAtRow(row);
    const int below = EntryAtRow(row + 1);
    if (index < 0 || below < 0)
        return false;
    Entry(below).Order(row + 1);
    Entry(index).Order(row + 2);
    return true;
}

void ClipHistory::Clear()
{
    for (size_t index = 0; index < entries_.size(); ++index) {
        entries_[index]->ClearUp();
        entries_[index]->Order(static_cast<int>(index) + 1);
    }
}

bool ClipHistory::Rename(int row, const QString& title)
{
    const int index = EntryAtRow(row);
    if (index < 0 || title.isEmpty())
        return false;
    Entry(index).RenderString(title.left(MaxTitleLength));
    return true;
}

}  // namespace clipext
