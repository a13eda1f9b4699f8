#include "clipext/cClipboardCache.h"

#include "clipext/ClipHistoryFile.h"
#include "clipext/ClipText.h"

#include <algorithm>

namespace clipext {

bool cClipboardCache::RecordToSave(QByteArray& title, std::vector<ClipBlockView>& blocks) const
{
    blocks.clear();
    blocks.reserve(blocks_.size());
    for (const ClipBlock& block : blocks_)
        if (!block.bytes.isEmpty())
            blocks.push_back({block.formatID, block.bytes});
    if (blocks.empty())
        return false;
    title = titleBytes_;
    if (title.isEmpty() || DecodeText(title).size() > MaxTitleLength)
        title = Title().left(MaxTitleLength).toUtf8();
    return true;
}

void cClipboardCache::Serialise(QByteArray& out) const
{
    QByteArray title;
    std::vector<ClipBlockView> blocks;
    if (RecordToSave(title, blocks))
        AppendClipRecord(out, title, blocks);
}

void cClipboardCache::Serialise(ClipFilePieces& out) const
{
    QByteArray title;
    std::vector<ClipBlockView> blocks;
    if (RecordToSave(title, blocks))
        out.AppendRecord(title, blocks);
}

void cClipboardCache::DeSerialise(const ClipRecordView& record, const QByteArray& file)
{
    ClearUp();
    const auto inFile = [&file](QByteArrayView bytes) {
        return !file.isEmpty() && bytes.data() >= file.constData()
               && bytes.data() + bytes.size() <= file.constData() + file.size();
    };
    blocks_.reserve(record.blocks.size());
    for (const ClipBlockView& block : record.blocks) {
        if (inFile(block.bytes)) {
            // A view of the file's bytes, kept valid by file_.
            file_ = file;
            CacheItem(QByteArray::fromRawData(block.bytes.data(), block.bytes.size()), block.formatID);
        } else {
            CacheItem(block.bytes.toByteArray(), block.formatID);
        }
    }
    titleBytes_ = record.title.toByteArray();
    title_ = DecodeText(titleBytes_);
    used_ = true;
}

void cClipboardCache::CacheItem(const QByteArray& bytes, quint32 formatID)
{
    if (bytes.isEmpty())
        return;
    const auto held = std::find_if(blocks_.begin(), blocks_.end(),
                                   [formatID](const ClipBlock& block) { return block.formatID == formatID; });
    if (held != blocks_.end())
        held->bytes = bytes;
    else
        blocks_.push_back({formatID, bytes});
}

int cClipboardCache::IndexOfFormat(std::initializer_list<quint32> ids) const
{
    for (int position = FormatCount(); position >= 1; --position)
        if (std::find(ids.begin(), ids.end(), FormatAt(position)) != ids.end())
            return position;
    return 0;
}

QString cClipboardCache::Title() const
{
    if (!title_.isEmpty())
        return title_;
    const int text = IndexOfFormat({CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT});
    if (text > 0)
        return CleanDisplayString(BlockText(text));
    return blocks_.empty() ? QString() : QStringLiteral("Clipboard Data");
}

QString cClipboardCache::RenderString()
{
    title_ = Title();
    return title_;
}

void cClipboardCache::RenderString(const QString& title)
{
    title_ = title;
    titleBytes_.clear();
}

QString cClipboardCache::Filename()
{
    static const QString dropped = QStringLiteral("$.,\"'?&:!=/\\");
    QString name;
    for (const QChar c : RenderString().trimmed())
        if (!dropped.contains(c) && c.unicode() >= 32 && c.unicode() != 127)
            name.append(c);
    return name.trimmed().isEmpty() ? QStringLiteral("Clipboard Data") : name;
}

QString cClipboardCache::BlockText(int position) const
{
    return clipext::BlockText(BlockAt(position), FormatAt(position));
}

void cClipboardCache::ClearUp()
{
    blocks_.clear();
    used_ = false;
    title_.clear();
    titleBytes_.clear();
    file_.clear();
}

}  // namespace clipext
