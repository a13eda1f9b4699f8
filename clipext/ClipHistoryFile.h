#pragma once
// The clipboard history file (".CCF"): the magic text, then one record per
// entry: "CCC", the title's length and bytes, the number of blocks, a
// (format, size) pair per block, then the blocks' bytes. Integers are 32-bit
// little-endian, nothing is padded.
//
// The reader trusts nothing in the file: every length and count is checked
// against the bytes that remain before anything is taken, so a damaged or
// hostile file costs no more memory than its own size and never reads past
// its end. Reading stops at the first bad record; the records before it
// are good and are returned.

#include "clipext/ClipFormats.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace clipext {

inline constexpr char ClipFileMagic[] = "CORVANECLIP.CLIPBOARDFILE";
inline constexpr qsizetype ClipFileMagicSize = sizeof(ClipFileMagic) - 1;
inline constexpr qint32 MaxClipTitleBytes = 32766;

// A block or record inside the bytes of a file (valid while they are).
struct ClipBlockView {
    quint32 formatID = 0;
    QByteArrayView bytes;
};
struct ClipRecordView {
    QByteArrayView title;
    std::vector<ClipBlockView> blocks;  // non-empty, one per format
};

struct ClipFileContent {
    bool validMagic = false;
    std::vector<ClipRecordView> records;  // the good records, in file order
    bool damaged = false;                 // reading stopped at a bad record
    int damagedRecord = 0;                // 1-based number of that record
    qsizetype damageOffset = 0;           // where it starts in the file
};

// Reads a whole file's bytes. A record whose blocks are all empty gives no
// record (and is no damage); a format given twice in one record keeps its
// last block.
ClipFileContent ReadClipHistory(QByteArrayView file);

// The magic, to start a file with.
inline QByteArrayView ClipFileHeader() { return QByteArrayView(ClipFileMagic, ClipFileMagicSize); }
// Appends one record: title (1 to MaxClipTitleBytes bytes) and the blocks.
void AppendClipRecord(QByteArray& out, QByteArrayView title, const std::vector<ClipBlockView>& blocks);

// A history file as pieces to write one after the other: the magic and each
// record's head (tag, title, counts, formats and sizes) gathered in a buffer
// of its own, the blocks' bytes where they already lie. A history of large
// entries is so written without being copied whole in memory first.
class ClipFilePieces {
public:
    // Starts the file with the magic.
    ClipFilePieces();
    // The same bytes AppendClipRecord would append; the blocks are referred to.
    void AppendRecord(QByteArrayView title, const std::vector<ClipBlockView>& blocks);
    // The file's pieces in order, valid while this object lives unchanged and
    // the blocks' bytes stay as they were.
    std::vector<QByteArrayView> Pieces() const;

private:
    struct Piece {
        const char* data = nullptr;  // null: the range [offset, offset + size) of heads_
        qsizetype offset = 0;
        qsizetype size = 0;
    };
    QByteArray heads_;
    std::vector<Piece> pieces_;
};

}  // namespace clipext
