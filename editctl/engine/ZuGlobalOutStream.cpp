#include "editctl/engine/ZuGlobalOutStream.h"

#include <new>
#include <stdexcept>

void ZuGlobalOutStream::Write(const void* source, std::size_t n)
{
    if (Bad() || n == 0)
        return;
    try {
        data_.append(static_cast<const char*>(source), n);
    } catch (const std::bad_alloc&) {
        Fail(ZuStreamFailed, ZuErrNoMemory);
    } catch (const std::length_error&) {
        Fail(ZuStreamFailed, ZuErrNoMemory);
    }
}

std::string ZuGlobalOutStream::Detach()
{
    std::string out;
    out.swap(data_);
    return out;
}
