// libFuzzer entry for the macro files (Macro0.bin to Macro9.bin): any bytes
// are refused or read as a macro that is written and read back as it was.

#include "platform/codemax/CodeMaxMacro.h"

#include "ByteImageRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzimage::CheckRoundTrip<platform::CodeMaxMacro>(data, size, "macro file reader");
    return 0;
}
