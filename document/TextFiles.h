#pragma once
// Reading the plain text files the document window shows or takes pieces
// from (word lists, reference texts).

#include <QString>

// Reads a whole existing file into text: valid UTF-8 is read as UTF-8, any
// other file byte for byte as Latin-1, line breaks as they stand. False when
// the file is missing, not a regular file or cannot be read; a missing file
// is never created.
bool ReadTextFile(const QString& path, QString& text);
