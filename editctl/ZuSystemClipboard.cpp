#include "editctl/ZuSystemClipboard.h"

#include "editctl/engine/ZuCodePage.h"
#include "platform/desktop/Clipboard.h"

#include <QMimeData>
#include <QStringList>

#include <algorithm>
#include <iterator>

const QString ZuSystemClipboard::RangeMimeType = QStringLiteral("application/x-vbeditor-text");

namespace {

const QString RtfMimeTypes[] = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf")};

QString MimeTypeOf(std::string_view format)
{
    if (ZuSameClipFormat(format, ZuClipRtfFormat))
        return RtfMimeTypes[0];
    if (ZuSameClipFormat(format, ZuClipRangeFormat))
        return ZuSystemClipboard::RangeMimeType;
    return QString::fromLatin1(format.data(), qsizetype(format.size()));
}

std::string Bytes(const QByteArray& data)
{
    return std::string(data.constData(), std::size_t(data.size()));
}

} // namespace

ZuSystemClipboard::ZuSystemClipboard() = default;
ZuSystemClipboard::~ZuSystemClipboard()
{
    Close();
}

ZuErr ZuSystemClipboard::Open(const void* owner)
{
    Close();
    open_ = true;
    owner_ = owner;
    return ZuOk;
}

void ZuSystemClipboard::Close()
{
    if (!open_)
        return;
    open_ = false;
    read_.clear();
    if (pending_)
        platform::TheClipboard().setMimeData(pending_.release());
}

void ZuSystemClipboard::StartPending(bool keepContent)
{
    pending_ = std::make_unique<QMimeData>();
    const QMimeData* now = platform::TheClipboard().mimeData();
    if (!keepContent || !now)
        return;
    for (const QString& type : now->formats())
        pending_->setData(type, now->data(type));
}

void ZuSystemClipboard::Empty()
{
    if (open_)
        StartPending(false);
}

const std::string* ZuSystemClipboard::Get(std::string_view format)
{
    if (!open_)
        return nullptr;
    const std::string key(format);
    if (const auto it = read_.find(key); it != read_.end())
        return &it->second;
    const QMimeData* data = pending_ ? pending_.get() : platform::TheClipboard().mimeData();
    if (!data)
        return nullptr;
    std::string bytes;
    if (ZuSameClipFormat(format, ZuClipTextFormat)) {
        if (!data->hasText())
            return nullptr;
        bytes = ZuUnicodeToAnsi(data->text().toStdU32String());
    } else if (ZuSameClipFormat(format, ZuClipRtfFormat)) {
        const QString* type = std::find_if(std::begin(RtfMimeTypes), std::end(RtfMimeTypes),
                                           [data](const QString& t) { return data->hasFormat(t); });
        if (type == std::end(RtfMimeTypes))
            return nullptr;
        bytes = Bytes(data->data(*type));
    } else {
        const QString type = MimeTypeOf(format);
        if (!data->hasFormat(type))
            return nullptr;
        bytes = Bytes(data->data(type));
    }
    return &read_.emplace(key, std::move(bytes)).first->second;
}

ZuErr ZuSystemClipboard::Set(std::string_view format, std::string data)
{
    if (!open_)
        return ZuErrClipboard;
    if (!pending_)
        StartPending(true);
    read_.erase(std::string(format));
    if (ZuSameClipFormat(format, ZuClipTextFormat)) {
        const std::u32string text = ZuAnsiToUnicode(data);
        pending_->setText(QString::fromUcs4(text.data(), qsizetype(text.size())));
    } else {
        pending_->setData(MimeTypeOf(format), QByteArray(data.data(), qsizetype(data.size())));
    }
    return ZuOk;
}
