// libFuzzer entry for the hot-key file (Hotkeys.bin): any bytes are refused
// or read as a table that is written and read back as it was.

#include "platform/codemax/CodeMaxHotKeyTable.h"

#include "ByteImageRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using platform::CodeMaxHotKeyTable;
    constexpr const char* reader = "hot-key file reader";
    const std::optional<CodeMaxHotKeyTable> table = fuzzimage::CheckRoundTrip<CodeMaxHotKeyTable>(data, size, reader);
    if (!table)
        return 0;
    for (const CodeMaxHotKeyTable::Binding& binding : table->Bindings())
        fuzzimage::Require(table->CommandOf(binding.key) == binding.command, reader,
                           "a bound key gives another command");
    return 0;
}
