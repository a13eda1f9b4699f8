// libFuzzer entry for the macro files (Macro0.bin to Macro9.bin): any bytes
// are refused or read as a macro that is written and read back as it was.

#include "platform/codemax/CodeMaxMacro.h"
#include "platform/forms/Error.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "macro file reader: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using platform::CodeMaxMacro;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CodeMaxMacro macro;
    try {
        macro = CodeMaxMacro::FromBytes(bytes);
    } catch (const platform::Error&) {
        return 0;
    }
    const QByteArray written = macro.ToBytes();
    CodeMaxMacro again;
    try {
        again = CodeMaxMacro::FromBytes(written);
    } catch (const platform::Error&) {
        Require(false, "a macro read is written as an image that is refused");
    }
    Require(again == macro, "a macro changes when written and read back");
    Require(again.ToBytes() == written, "a second write differs from the first");
    return 0;
}
