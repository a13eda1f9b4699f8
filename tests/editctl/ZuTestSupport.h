#pragma once
// Printing of engine values in test failures.

#include "editctl/engine/ZuTextRange.h"

#include <QMetaType>
#include <QTest>

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
