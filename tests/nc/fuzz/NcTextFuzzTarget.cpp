// libFuzzer entry for the NC text procedures.

#include "nc/NcTextFuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ncfuzz::CheckInput(reinterpret_cast<const char*>(data), size);
    return 0;
}
