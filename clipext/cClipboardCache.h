#pragma once
// One remembered clipboard content: its place in the history (Order 1 is
// the newest), its title, and a private copy of each stored format's bytes,
// kept exactly as they were captured or read from a history file.

#include "clipext/ClipFormats.h"

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <vector>

namespace clipext {

struct ClipBlockView;
struct ClipRecordView;
class ClipFilePieces;

// The longest title Rename and saving keep, in characters.
inline constexpr int MaxTitleLength = 512;

class cClipboardCache {
public:
    explicit cClipboardCache(int order = 1) : order_(order) {}

    int FormatCount() const { return static_cast<int>(blocks_.size()); }
    bool Used() const { return used_; }
    void Used(bool used) { used_ = used; }
    int Order() const { return order_; }
    void Order(int order) { order_ = order; }

    // Appends the entry's record to a history file's bytes: nothing when it
    // holds no non-empty block. The title is cut to MaxTitleLength
    // characters; a title read from a file and not renamed since is written
    // with the very bytes it was read with.
    void Serialise(QByteArray& out) const;
    // The same record added to a file written as pieces: the blocks are
    // referred to, not copied, so they must stay as they are until it is written.
    void Serialise(ClipFilePieces& out) const;
    // Empties the entry, then fills it from a record read from a file and
    // marks it Used. With file (the bytes the record was read from) the
    // blocks share those bytes instead of copying them, and the entry keeps
    // them alive; without it they are copied.
    void DeSerialise(const ClipRecordView& record, const QByteArray& file = QByteArray());

    // Stores a copy of bytes under the format; empty bytes store nothing.
    // A format already held is replaced in its position.
    void CacheItem(const QByteArray& bytes, quint32 formatID);
    // The position (1 to FormatCount) of the last block whose format is one
    // of ids; 0 when none.
    int IndexOfFormat(std::initializer_list<quint32> ids) const;

    // The title: when none is stored yet, the first line of the entry's text
    // (CleanDisplayString), "Clipboard Data" for an entry without text, ""
    // for an empty entry; the computed title is stored.
    QString RenderString();
    void RenderString(const QString& title);
    // A file name proposed for the entry: the title without characters that
    // do not belong in a file name; "Clipboard Data" when nothing is left.
    QString Filename();

    // Block at position 1 to FormatCount.
    quint32 FormatAt(int position) const { return blocks_.at(static_cast<size_t>(position - 1)).formatID; }
    const QByteArray& BlockAt(int position) const { return blocks_.at(static_cast<size_t>(position - 1)).bytes; }
    const std::vector<ClipBlock>& Blocks() const { return blocks_; }
    // The block's text (ClipText's BlockText).
    QString BlockText(int position) const;

    // Frees every block and the title; Order is kept.
    void ClearUp();

private:
    // The title and the non-empty blocks the entry is saved with; false when
    // there is nothing to save.
    bool RecordToSave(QByteArray& title, std::vector<ClipBlockView>& blocks) const;

    QString Title() const;

    int order_ = 1;
    bool used_ = false;
    QString title_;
    QByteArray titleBytes_;  // as read from a file; empty once renamed
    QByteArray file_;        // the file bytes the blocks share, when they do
    std::vector<ClipBlock> blocks_;
};

}  // namespace clipext
