// Runs one NC text procedure as a whole process, the way sed or awk runs an edit: reads the file,
// writes the new text to standard output. nc_bench times it beside its yardstick.
//
//   nc_run PROCEDURE FILE

#include "NcRunProcedures.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n < 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: nc_run PROCEDURE FILE\n");
        return 2;
    }
    const NcRunProcedure* procedure = FindNcRunProcedure(argv[1]);
    if (procedure == nullptr) {
        std::fprintf(stderr, "nc_run: no procedure %s\n", argv[1]);
        return 2;
    }
    const int fd = ::open(argv[2], O_RDONLY);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    void* mapped = size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0) : nullptr;
    if (mapped == MAP_FAILED) {
        std::perror(argv[2]);
        return 1;
    }
    const std::string_view text(static_cast<const char*>(mapped), size);
    std::string error;
    const std::string result = procedure->run(text, error);
    if (!error.empty()) {
        std::fprintf(stderr, "nc_run: %s\n", error.c_str());
        return 1;
    }
    return WriteAll(result) ? 0 : 1;
}
