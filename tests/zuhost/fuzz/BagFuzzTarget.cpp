// libFuzzer entry for the container's form file reader.

#include "zuhost/ZuBagFuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    bagfuzz::CheckInput(reinterpret_cast<const char*>(data), size);
    return 0;
}
