#pragma once
// What every input to the history-file reader must give, whatever its
// bytes: no crash, nothing taken from outside the input, records that keep
// the format's limits, and a ring that stays sound after loading them.
// Shared by the fuzz target and the bounded mutation run of the tests.

#include "clipext/ClipHistory.h"
#include "clipext/ClipHistoryFile.h"

#include <cstdio>
#include <cstdlib>

namespace ccffuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "history file reader: %s\n", what);
        std::abort();
    }
}

inline void CheckInput(const char* data, size_t size)
{
    using namespace clipext;
    const QByteArrayView file(data, static_cast<qsizetype>(size));
    const ClipFileContent content = ReadClipHistory(file);
    Require(content.validMagic == file.startsWith(ClipFileHeader()), "magic");
    Require(content.validMagic || content.records.empty(), "records without the magic");
    const char* end = data + size;
    qsizetype taken = 0;
    for (const ClipRecordView& record : content.records) {
        Require(record.title.size() >= 1 && record.title.size() <= MaxClipTitleBytes, "title length");
        Require(record.title.data() >= data && record.title.data() + record.title.size() <= end, "title inside");
        Require(!record.blocks.empty(), "record without blocks");
        for (const ClipBlockView& block : record.blocks) {
            Require(!block.bytes.isEmpty(), "empty block");
            Require(block.bytes.data() >= data && block.bytes.data() + block.bytes.size() <= end, "block inside");
            taken += block.bytes.size();
        }
        taken += record.title.size();
    }
    Require(taken <= file.size(), "more bytes than the file");
    Require(!content.damaged || content.damageOffset >= ClipFileMagicSize, "damage offset");

    // Loaded twice: blocks copied, and blocks sharing the input's bytes.
    ClipHistory shared(2);
    shared.Load(content.records, QByteArray::fromRawData(data, static_cast<qsizetype>(size)));
    for (const int index : shared.Rows())
        Require(shared.Entry(index).FormatCount() > 0, "shared entry without blocks");
    ClipHistory history(4);
    history.Capture({{CF_TEXT, QByteArray("kept", 5)}});
    const int loaded = history.Load(content.records);
    Require(loaded == std::min<int>(4, static_cast<int>(content.records.size())), "loaded count");
    const std::vector<int> rows = history.Rows();
    Require(static_cast<int>(rows.size()) == history.UsedCount(), "rows and used entries");
    QByteArray saved(ClipFileHeader().data(), ClipFileMagicSize);
    for (const int index : rows)
        history.Entry(index).Serialise(saved);
    const ClipFileContent again = ReadClipHistory(saved);
    Require(!again.damaged && again.records.size() == rows.size(), "a saved history reads back whole");
}

}  // namespace ccffuzz
