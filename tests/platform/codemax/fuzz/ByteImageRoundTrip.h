#pragma once
// What a reader of one of the editor's byte files must keep on any bytes:
// they are refused, or read as a value that is written and read back as it
// was, and written again alike. Shared by the hot-key and macro fuzzers.

#include "platform/forms/Error.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace fuzzimage {

inline void Require(bool condition, const char* reader, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s: %s\n", reader, what);
        std::abort();
    }
}

// The value the bytes read as, checked; nothing when the reader refuses them.
template <class T>
std::optional<T> CheckRoundTrip(const uint8_t* data, size_t size, const char* reader)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    T value;
    try {
        value = T::FromBytes(bytes);
    } catch (const platform::Error&) {
        return std::nullopt;
    }
    const QByteArray written = value.ToBytes();
    T again;
    try {
        again = T::FromBytes(written);
    } catch (const platform::Error&) {
        Require(false, reader, "what was read is written as an image that is refused");
    }
    Require(again == value, reader, "what was read changes when written and read back");
    Require(again.ToBytes() == written, reader, "a second write differs from the first");
    return value;
}

}  // namespace fuzzimage
