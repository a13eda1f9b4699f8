#pragma once
// Word lists: ready-made pieces of program text kept in a plain text file,
// offered in the document window's word-list panel.
//
// The file is a sequence of fields, one list entry per field: a field ends
// at a comma or at the line end (CR LF, LF or a lone CR); its leading
// blanks are skipped; a field that begins with a double quote runs to the
// closing quote (commas inside belong to it, the quotes do not, and what
// follows the closing quote up to the next comma is dropped); an open quote
// ends at the line end. Blank lines give no entry.

#include <QString>
#include <QStringList>

QStringList ParseWordList(const QString& text);

// The text an entry puts into the program. An entry whose last character is
// ";" ends a line: it goes in without the ";" and with a line break. Others
// go in with a line break when lineBreak is set (keyboard insertion), as
// they stand otherwise (a click).
QString WordListInsertion(const QString& entry, bool lineBreak);
