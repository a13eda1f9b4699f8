#pragma once
// Line-break conversions between the programs' text (always CR LF) and a
// document's bytes (its file's own line breaks).

#include <QByteArray>
#include <QString>

namespace platform::CodeMaxText {

// The first CR or LF in [p, end), or end.
const char* FindLineBreak(const char* p, const char* end);
// Every line break (CR LF, LF or CR alone) of the bytes becomes lineBreak.
QByteArray WithLineBreak(const QByteArray& bytes, const QByteArray& lineBreak);
// The document's bytes as text with CR LF line breaks, decoded as UTF-8 or
// Latin-1.
QString ToProgramText(const char* bytes, qsizetype length, bool utf8);
// Program text as document bytes: encoded as UTF-8 or Latin-1, every line
// break made lineBreak.
QByteArray ToDocumentBytes(const QString& text, bool utf8, const QByteArray& lineBreak);

}  // namespace platform::CodeMaxText
