#pragma once
// Raw access to the clipboard by format number (ClipFormats.h): open it for
// an owner, list its formats, read and write the bytes of any format, close
// it. Writes made while it is open are gathered and put on the clipboard
// together when it closes, as the clipboard holds one content at a time.

#include "clipext/ClipFormats.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QMimeData;
class QObject;

class cCustomClipboard {
public:
    static constexpr qint64 ErrNotOpen = 0x80040622;
    static constexpr qint64 ErrCannotOpen = 0x80040623;

    cCustomClipboard();
    ~cCustomClipboard();  // closes the clipboard when open
    cCustomClipboard(const cCustomClipboard&) = delete;
    cCustomClipboard& operator=(const cCustomClipboard&) = delete;

    // RegisterFormat: the number of a format name (above 0xC000), the same
    // every time.
    quint32 AddFormat(const QString& name) const;
    // The number of formats on the clipboard now.
    int FormatCount() const;
    // Reads the list of formats on the clipboard, in its order; the count.
    int GetCurrentFormats(QObject* owner);
    quint32 GetCurrentFormatID(int position) const;   // 1-based; 0 outside
    QString GetCurrentFormatName(int position) const;
    bool HasCurrentFormat(quint32 id) const;
    QString FormatName(quint32 id) const;
    quint32 FormatIDForName(const QString& name) const;  // in the current list
    bool IsDataAvailableForFormatName(const QString& name) const;
    bool IsDataAvailableForFormat(quint32 id) const;

    // These need the clipboard open (else platform::Error ErrNotOpen).
    bool GetBinaryData(quint32 id, QByteArray& bytes) const;
    bool SetBinaryData(quint32 id, const QByteArray& bytes);
    void ClearClipboard();
    // Text of format 1 or 13 as text; other formats' bytes read as text.
    // Reading text needs no open clipboard.
    bool GetTextData(quint32 id, QString& text) const;
    bool SetTextData(quint32 id, const QString& text);

    // Opens for owner (not null); raises ErrCannotOpen when it cannot.
    bool ClipboardOpen(QObject* owner);
    // Puts the writes made since opening on the clipboard, then closes.
    void ClipboardClose();
    bool IsOpen() const { return owner_ != nullptr; }

private:
    void RequireOpen() const;

    QObject* owner_ = nullptr;
    std::unique_ptr<QMimeData> pending_;  // the writes made while open
    bool cleared_ = false;
    std::vector<quint32> currentIDs_;
};
