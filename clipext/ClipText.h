#pragma once
// Text in clipboard blocks and history files. New text is written as UTF-8;
// bytes that are not valid UTF-8 come from the old Windows programs and are
// read as Windows-1252, so nothing read is ever lost or replaced.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace clipext {

// UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodeText(QByteArrayView bytes);
// The text of a block of format id, cut at its first NUL: UTF-16LE for
// Unicode text (13), DecodeText for every other format.
QString BlockText(QByteArrayView bytes, quint32 id);
// The title rule: the first line of text that holds a character of code 32
// or more, taken from that character, out of the text's first 512
// characters (cut at a NUL first); "..." when there is none.
QString CleanDisplayString(const QString& text);

}  // namespace clipext
