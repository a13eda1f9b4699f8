// libFuzzer entry for the history-file reader.

#include "clipext/CcfFuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ccffuzz::CheckInput(reinterpret_cast<const char*>(data), size);
    return 0;
}
