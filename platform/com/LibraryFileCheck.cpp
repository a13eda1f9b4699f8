#include "platform/com/LibraryFileCheck.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cstring>
#include <elf.h>
#include <link.h>
#include <vector>

namespace platform {

namespace {

using FileHeader = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
using SectionHeader = ElfW(Shdr);

constexpr unsigned char OwnClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char OwnByteOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

const QString Damaged = QStringLiteral("The file's ELF headers are damaged.");

QString CutShort(qint64 size, quint64 needed)
{
    return QStringLiteral("The file is cut short: it holds %1 bytes, its headers need %2.")
        .arg(QString::number(size), QString::number(needed));
}

// The end of count entries of entrySize bytes from offset; false when the
// sum does not fit (the headers promise the impossible).
bool EndOf(quint64 offset, quint64 entrySize, quint64 count, quint64& end)
{
    quint64 length = 0;
    return !__builtin_mul_overflow(entrySize, count, &length) && !__builtin_add_overflow(offset, length, &end);
}

bool ReadAt(QFile& file, quint64 offset, void* data, qint64 size)
{
    return file.seek(static_cast<qint64>(offset)) && file.read(static_cast<char*>(data), size) == size;
}

QString Unreadable(const QFile& file)
{
    return QStringLiteral("The file cannot be read: %1.").arg(file.errorString());
}

}  // namespace

QString LibraryFileFault(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return QStringLiteral("There is no such file.");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Unreadable(file);
    const qint64 size = file.size();

    FileHeader header{};
    const qint64 got = file.read(reinterpret_cast<char*>(&header), sizeof header);
    if (got < 0)
        return Unreadable(file);
    if (got < SELFMAG || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0)
        return QStringLiteral("The file is not a library: it has no ELF header.");
    if (got < qint64(sizeof header))
        return CutShort(size, sizeof header);
    if (header.e_ident[EI_CLASS] != OwnClass || header.e_ident[EI_DATA] != OwnByteOrder
        || header.e_ident[EI_VERSION] != EV_CURRENT || header.e_version != EV_CURRENT)
        return QStringLiteral("The file is not a library for this machine.");
    if (header.e_type != ET_DYN)
        return QStringLiteral("The file is not a shared library.");
    // A count of PN_XNUM would stand elsewhere; no shared library needs that many.
    if (header.e_ehsize != sizeof header || header.e_phentsize != sizeof(ProgramHeader) || header.e_phnum == 0
        || header.e_phnum == PN_XNUM)
        return Damaged;

    quint64 needed = 0;
    if (!EndOf(header.e_phoff, sizeof(ProgramHeader), header.e_phnum, needed))
        return Damaged;
    if (needed > quint64(size))
        return CutShort(size, needed);
    std::vector<ProgramHeader> segments(header.e_phnum);
    if (!ReadAt(file, header.e_phoff, segments.data(), qint64(segments.size() * sizeof(ProgramHeader))))
        return Unreadable(file);
    bool loadable = false;
    for (const ProgramHeader& segment : segments) {
        loadable = loadable || segment.p_type == PT_LOAD;
        quint64 end = 0;
        if (!EndOf(segment.p_offset, segment.p_filesz, 1, end))
            return Damaged;
        if (segment.p_filesz > 0)
            needed = std::max(needed, end);
    }
    if (!loadable)
        return Damaged;

    // The loader never reads them, but sections past the end tell of a copy
    // broken off.
    if (header.e_shoff != 0) {
        if (header.e_shentsize != sizeof(SectionHeader))
            return Damaged;
        quint64 count = header.e_shnum;
        quint64 end = 0;
        if (count == 0) {
            // So many sections that the count stands in the first one.
            if (!EndOf(header.e_shoff, sizeof(SectionHeader), 1, end))
                return Damaged;
            if (end > quint64(size))
                return CutShort(size, std::max(needed, end));
            SectionHeader first{};
            if (!ReadAt(file, header.e_shoff, &first, sizeof first))
                return Unreadable(file);
            count = first.sh_size;
        }
        if (!EndOf(header.e_shoff, sizeof(SectionHeader), count, end))
            return Damaged;
        needed = std::max(needed, end);
    }
    if (needed > quint64(size))
        return CutShort(size, needed);
    return {};
}

}  // namespace platform
