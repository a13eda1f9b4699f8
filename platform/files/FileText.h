#pragma once
// Text read from the suite's own files (INI lines, hive names and values).

#include <QByteArrayView>
#include <QString>

namespace platform {

// The text of UTF-8 bytes, a leading U+FEFF kept as a character:
// QString::fromUtf8 drops it, though inside a name or a value it is text.
QString TextFromUtf8(QByteArrayView bytes);

}  // namespace platform
