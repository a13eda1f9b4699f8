// libFuzzer entry for the RTF reader.

#include "editctl/ZuRtfFuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    rtffuzz::CheckInput(reinterpret_cast<const char*>(data), size);
    return 0;
}
