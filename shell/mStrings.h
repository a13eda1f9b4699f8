#pragma once
// String procedures shared by the windows of the editor.
// Compare mode: 0 compares character codes exactly, 1 ignores letter case.

#include <QString>
#include <QStringList>

inline constexpr int vbBinaryCompare = 0;
inline constexpr int vbTextCompare = 1;

// The text without any occurrence of the one-character string ch.
QString RemoveAllOf(const QString& text, const QString& ch);

// Replaces every occurrence of find, scanning from the left; a replacement
// that contains find is not replaced again. An empty find changes nothing.
QString ReplaceString(const QString& text, const QString& find, const QString& replacement,
                      int compareMode = vbBinaryCompare);

// 1-based position of the last occurrence of find that starts before limit
// (limit -1: the length of text), 0 when there is none.
int InStrLast(const QString& text, const QString& find, int limit = -1,
              int compareMode = vbBinaryCompare);

// Splits text at each delimiter: adjacent delimiters give an empty item, an
// empty rest after the last delimiter gives none. With limit not -1 the
// split stops once more than limit items are stored and the rest becomes
// the last item. An empty delimiter gives the whole text as one item.
QStringList SplitToArray(const QString& text, const QString& delimiter, int limit = -1,
                         int compareMode = vbBinaryCompare);
