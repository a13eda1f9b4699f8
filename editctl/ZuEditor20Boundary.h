#pragma once
// Small rules of the control's boundary shared by its automation files: the
// range of a 16-bit argument, the clamps of the setters, and the errors raised
// when a member cannot be read or written.

#include "editctl/ZuControlErrors.h"

#include <QString>

#include <algorithm>

namespace zuboundary {

// A short argument outside 16 bits overflows, as the automation types do.
inline int Short(int value)
{
    if (value < -32768 || value > 32767)
        throw platform::Error(6, QStringLiteral("Overflow"));
    return value;
}

inline int Clamp(int value, int low, int high) { return std::clamp(value, low, high); }

[[noreturn]] inline void SetNotSupported()
{
    throw platform::Error(ZuErrSetNotSupported, QStringLiteral("Property is read-only"));
}

[[noreturn]] inline void GetNotSupported()
{
    throw platform::Error(ZuErrGetNotSupported, QStringLiteral("Property is write-only"));
}

// An engine result that is not 0 leaves the operation.
inline void Check(ZuErr code)
{
    if (code != ZuOk)
        throw ZuErrnoException{code};
}

// A getter's failure becomes the automation error at once (getters run no frame).
inline void CheckRead(ZuErr code)
{
    if (code != ZuOk)
        throw *ZuBoundaryError(std::make_exception_ptr(ZuErrnoException{code}));
}

}  // namespace zuboundary
