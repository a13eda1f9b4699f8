#pragma once
// Line-break conversions between the programs' text (always CR LF) and a
// document's bytes (its file's own line breaks), and columns within a line.

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

// The byte offset within a line's bytes of a column counted in UTF-16 code
// units. A column that falls inside a character (the second unit of an emoji)
// gives that character's start; a column past the end gives the length.
// Latin-1 bytes are one column each.
qsizetype ColumnToByte(const char* line, qsizetype length, qsizetype column, bool utf8);
// The byte offset after `count` characters (code points) of a line's bytes,
// at most the length.
qsizetype CharactersToBytes(const char* line, qsizetype length, qsizetype count, bool utf8);

}  // namespace platform::CodeMaxText
