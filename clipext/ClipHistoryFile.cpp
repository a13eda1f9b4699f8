#include "clipext/ClipHistoryFile.h"

#include <QtEndian>

#include <unordered_map>


namespace clipext {
namespace {

// A cursor over the file's bytes that refuses to pass their end.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}
    qsizetype pos() const { return pos_; }
    qsizetype remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    bool take(qsizetype size, QByteArrayView& out)
    {
        if (size < 0 || size > remaining())
            return false;
        out = bytes_.sliced(pos_, size);
        pos_ += size;
        return true;
    }
    bool int32(qint32& value)
    {
        QByteArrayView raw;
        if (!take(4, raw))
            return false;
        value = qFromLittleEndian<qint32>(raw.data());
        return true;
    }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

// One record; false when it is bad (nothing of it is kept then).
bool ReadRecord(Reader& in, ClipRecordView& record)
{
    QByteArrayView tag;
    if (!in.take(3, tag) || tag != QByteArrayView("CCC"))
        return false;
    qint32 titleLength = 0;
    if (!in.int32(titleLength) || titleLength < 1 || titleLength > MaxClipTitleBytes
        || !in.take(titleLength, record.title))
        return false;
    qint32 count = 0;
    if (!in.int32(count) || count < 1 || count > in.remaining() / 8)
        return false;
    std::vector<std::pair<quint32, qint32>> pairs(static_cast<size_t>(count));
    qint64 total = 0;
    for (auto& [formatID, size] : pairs) {
        qint32 id = 0;
        if (!in.int32(id) || !in.int32(size) || size < 0)
            return false;
        formatID = static_cast<quint32>(id);
        total += size;
    }
    if (total > in.remaining())
        return false;
    record.blocks.clear();
    std::unordered_map<quint32, size_t> positions;  // format -> block, for a format given twice
    for (const auto& [formatID, size] : pairs) {
        QByteArrayView bytes;
        in.take(size, bytes);
        if (bytes.isEmpty())
            continue;
        const auto [held, added] = positions.emplace(formatID, record.blocks.size());
        if (added)
            record.blocks.push_back({formatID, bytes});
        else
            record.blocks[held->second].bytes = bytes;
    }
    return true;
}

void AppendInt32(QByteArray& out, qint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    out.append(raw, 4);
}

// The record without its blocks' bytes.
void AppendRecordHead(QByteArray& out, QByteArrayView title, const std::vector<ClipBlockView>& blocks)
{
    out.append("CCC", 3);
    AppendInt32(out, static_cast<qint32>(title.size()));
    out.append(title);
    AppendInt32(out, static_cast<qint32>(blocks.size()));
    for (const ClipBlockView& block : blocks) {
        AppendInt32(out, static_cast<qint32>(block.formatID));
        AppendInt32(out, static_cast<qint32>(block.bytes.size()));
    }
}

}  // namespace

ClipFileContent ReadClipHistory(QByteArrayView file)
{
    ClipFileContent content;
    if (!file.startsWith(ClipFileHeader()))
        return content;
    content.validMagic = true;
    Reader in(file.sliced(ClipFileMagicSize));
    int number = 0;
    while (!in.atEnd()) {
        ++number;
        const qsizetype start = in.pos();
        ClipRecordView record;
        if (!ReadRecord(in, record)) {
            content.damaged = true;
            content.damagedRecord = number;
            content.damageOffset = ClipFileMagicSize + start;
            break;
        }
        if (!record.blocks.empty())
            content.records.push_back(std::move(record));
    }
    return content;
}

void AppendClipRecord(QByteArray& out, QByteArrayView title, const std::vector<ClipBlockView>& blocks)
{
    // No reserve here: the caller knows the whole file's size, and growing
    // record by record would copy the file once per record.
    AppendRecordHead(out, title, blocks);
    for (const ClipBlockView& block : blocks)
        out.append(block.bytes);
}

ClipFilePieces::ClipFilePieces()
{
    heads_.append(ClipFileHeader());
    pieces_.push_back({nullptr, 0, heads_.size()});
}

void ClipFilePieces::AppendRecord(QByteArrayView title, const std::vector<ClipBlockView>& blocks)
{
    const qsizetype start = heads_.size();
    AppendRecordHead(heads_, title, blocks);
    pieces_.push_back({nullptr, start, heads_.size() - start});
    for (const ClipBlockView& block : blocks)
        if (!block.bytes.isEmpty())
            pieces_.push_back({block.bytes.data(), 0, block.bytes.size()});
}

std::vector<QByteArrayView> ClipFilePieces::Pieces() const
{
    std::vector<QByteArrayView> pieces;
    pieces.reserve(pieces_.size());
    for (const Piece& piece : pieces_)
        pieces.push_back(piece.data ? QByteArrayView(piece.data, piece.size)
                                    : QByteArrayView(heads_.constData() + piece.offset, piece.size));
    return pieces;
}

}  // namespace clipext
