#pragma once
// Pieces of a history file written by hand, for the tests that read them.

#include <QByteArray>
#include <QtEndian>

// A number as the file stores it: four bytes, least significant first.
inline QByteArray Int32(qint32 value)
{
    QByteArray raw(4, '\0');
    qToLittleEndian(value, raw.data());
    return raw;
}
