#include "clipext/cCustomClipboard.h"

#include "clipext/ClipText.h"
#include "platform/desktop/Clipboard.h"
#include "platform/forms/Error.h"

#include <QCoreApplication>
#include <QMimeData>

#include <algorithm>

namespace {

QString ErrorSource()
{
    return QCoreApplication::applicationName() + QStringLiteral(".cCustomClipboard");
}

const QMimeData* Current()
{
    return platform::TheClipboard().mimeData();
}

}  // namespace

cCustomClipboard::cCustomClipboard() = default;

cCustomClipboard::~cCustomClipboard()
{
    if (IsOpen())
        ClipboardClose();
}

quint32 cCustomClipboard::AddFormat(const QString& name) const
{
    const quint32 id = clipext::RegisterFormat(name);
    return id > clipext::FirstRegisteredFormat ? id : 0;
}

int cCustomClipboard::FormatCount() const
{
    const QMimeData* data = Current();
    return data == nullptr ? 0 : static_cast<int>(clipext::FormatsOf(data->formats()).size());
}

int cCustomClipboard::GetCurrentFormats(QObject* owner)
{
    const bool wasOpen = IsOpen();
    if (!wasOpen)
        ClipboardOpen(owner);
    const QMimeData* data = Current();
    currentIDs_ = data == nullptr ? std::vector<quint32>() : clipext::FormatsOf(data->formats());
    if (!wasOpen)
        ClipboardClose();
    return static_cast<int>(currentIDs_.size());
}

quint32 cCustomClipboard::GetCurrentFormatID(int position) const
{
    return position >= 1 && position <= static_cast<int>(currentIDs_.size())
               ? currentIDs_[static_cast<size_t>(position - 1)]
               : 0;
}

QString cCustomClipboard::GetCurrentFormatName(int position) const
{
    return FormatName(GetCurrentFormatID(position));
}

bool cCustomClipboard::HasCurrentFormat(quint32 id) const
{
    return std::find(currentIDs_.begin(), currentIDs_.end(), id) != currentIDs_.end();
}

QString cCustomClipboard::FormatName(quint32 id) const
{
    return clipext::FormatName(id);
}

quint32 cCustomClipboard::FormatIDForName(const QString& name) const
{
    for (const quint32 id : currentIDs_)
        if (FormatName(id) == name)
            return id;
    return 0;
}

bool cCustomClipboard::IsDataAvailableForFormatName(const QString& name) const
{
    const quint32 id = FormatIDForName(name);
    return id > 0 && IsDataAvailableForFormat(id);
}

bool cCustomClipboard::IsDataAvailableForFormat(quint32 id) const
{
    const QMimeData* data = Current();
    if (data == nullptr)
        return false;
    const std::vector<quint32> ids = clipext::FormatsOf(data->formats());
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void cCustomClipboard::RequireOpen() const
{
    if (!IsOpen())
        throw platform::Error(ErrNotOpen, QStringLiteral("Attempt to access the clipboard when clipboard not Open."),
                              ErrorSource());
}

bool cCustomClipboard::GetBinaryData(quint32 id, QByteArray& bytes) const
{
    RequireOpen();
    const QMimeData* data = Current();
    bytes = data == nullptr ? QByteArray() : clipext::BlockOf(*data, id);
    return !bytes.isEmpty();
}

bool cCustomClipboard::SetBinaryData(quint32 id, const QByteArray& bytes)
{
    RequireOpen();
    if (!pending_)
        pending_ = std::make_unique<QMimeData>();
    clipext::AddBlockTo(*pending_, {id, bytes});
    return true;
}

void cCustomClipboard::ClearClipboard()
{
    RequireOpen();
    pending_.reset();
    cleared_ = true;
}

bool cCustomClipboard::GetTextData(quint32 id, QString& text) const
{
    const QMimeData* data = Current();
    if (data == nullptr) {
        text.clear();
        return false;
    }
    if (id == clipext::CF_TEXT || id == clipext::CF_UNICODETEXT) {
        text = data->text();
        return data->hasText();
    }
    text = clipext::BlockText(clipext::BlockOf(*data, id), id);
    return !text.isEmpty();
}

bool cCustomClipboard::SetTextData(quint32 id, const QString& text)
{
    if (text.isEmpty())
        return false;
    QByteArray bytes = text.toUtf8();
    if (id == clipext::CF_TEXT)
        bytes.append('\0');
    return SetBinaryData(id, bytes);
}

bool cCustomClipboard::ClipboardOpen(QObject* owner)
{
    if (owner == nullptr) {
        owner_ = nullptr;
        throw platform::Error(ErrCannotOpen, QStringLiteral("Unable to Open Clipboard."), ErrorSource());
    }
    owner_ = owner;
    pending_.reset();
    cleared_ = false;
    return true;
}

void cCustomClipboard::ClipboardClose()
{
    if (!IsOpen())
        return;
    if (pending_)
        platform::TheClipboard().setMimeData(pending_.release());
    else if (cleared_)
        platform::TheClipboard().setMimeData(new QMimeData);
    owner_ = nullptr;
    cleared_ = false;
}
