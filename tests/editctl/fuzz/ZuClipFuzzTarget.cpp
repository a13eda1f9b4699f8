// libFuzzer entry for the editor control's clipboard reader.

#include "editctl/ZuClipFuzzCheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zuclipfuzz::CheckInput(reinterpret_cast<const char*>(data), size);
    return 0;
}
