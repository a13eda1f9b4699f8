// libFuzzer entry for the hot-key file (Hotkeys.bin): any bytes are refused
// or read as a table that is written and read back as it was.

#include "platform/codemax/CodeMaxHotKeyTable.h"
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
        std::fprintf(stderr, "hot-key file reader: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using platform::CodeMaxHotKeyTable;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CodeMaxHotKeyTable table;
    try {
        table = CodeMaxHotKeyTable::FromBytes(bytes);
    } catch (const platform::Error&) {
        return 0;
    }
    const QByteArray written = table.ToBytes();
    CodeMaxHotKeyTable again;
    try {
        again = CodeMaxHotKeyTable::FromBytes(written);
    } catch (const platform::Error&) {
        Require(false, "a table read is written as an image that is refused");
    }
    Require(again == table, "a table changes when written and read back");
    Require(again.ToBytes() == written, "a second write differs from the first");
    for (const CodeMaxHotKeyTable::Binding& binding : table.Bindings())
        Require(table.CommandOf(binding.key) == binding.command, "a bound key gives another command");
    return 0;
}
