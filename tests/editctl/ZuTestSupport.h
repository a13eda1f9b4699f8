#pragma once
// Printing of engine values and texts in test failures.

#include "editctl/engine/ZuTextRange.h"

#include <QByteArray>
#include <QMetaType>
#include <QTest>

#include <string>

Q_DECLARE_METATYPE(ZuTextPosition)
Q_DECLARE_METATYPE(ZuTextRange)

namespace QTest {
template <> inline char* toString(const ZuTextPosition& p)
{
    return qstrdup(QByteArray("(" + QByteArray::number(p.x) + ", " + QByteArray::number(p.y) + ")"));
}
template <> inline char* toString(const ZuTextRange& r)
{
    return qstrdup(QByteArray("type " + QByteArray::number(r.type) + " (" + QByteArray::number(r.start.x) + ", " +
                              QByteArray::number(r.start.y) + ")-(" + QByteArray::number(r.end.x) + ", " +
                              QByteArray::number(r.end.y) + ")"));
}
} // namespace QTest

// A text with its control characters and line ends spelled out.
inline QByteArray Shown(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size())).toPercentEncoding(" ");
}
