#pragma once
// Copies of a real library broken off where a half-finished copy would end,
// or made of noise, for the tests of loading such files. The places come
// from the library's own ELF headers.

#include <QByteArray>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <QTest>

#include <cstring>
#include <elf.h>
#include <link.h>

enum class LibraryCut {
    Empty,             // no byte at all
    InFileHeader,      // part of the ELF header
    InProgramHeaders,  // the ELF header and part of the segment table
    InCodeSegment,     // halfway through the executable segment
    InDataSegment,     // halfway through the last loadable segment
    InSectionHeaders,  // everything loadable, part of the section table
    Noise,             // bytes of no meaning, as many as the library has
};
Q_DECLARE_METATYPE(LibraryCut)

// The column "cut" and a row for each place a copy may break off.
inline void AddLibraryCutRows()
{
    QTest::addColumn<LibraryCut>("cut");
    QTest::newRow("no byte") << LibraryCut::Empty;
    QTest::newRow("in the ELF header") << LibraryCut::InFileHeader;
    QTest::newRow("in the segment table") << LibraryCut::InProgramHeaders;
    QTest::newRow("in the code") << LibraryCut::InCodeSegment;
    QTest::newRow("in the data") << LibraryCut::InDataSegment;
    QTest::newRow("in the section table") << LibraryCut::InSectionHeaders;
    QTest::newRow("noise") << LibraryCut::Noise;
}

// The bytes of whole cut as named; empty when whole is no library of this
// process's kind (the test then fails on it).
inline QByteArray CutLibraryBytes(const QByteArray& whole, LibraryCut cut)
{
    ElfW(Ehdr) header{};
    if (whole.size() < qsizetype(sizeof header))
        return {};
    std::memcpy(&header, whole.constData(), sizeof header);
    const auto segment = [&](int index) {
        ElfW(Phdr) entry{};
        std::memcpy(&entry, whole.constData() + header.e_phoff + qsizetype(index) * header.e_phentsize, sizeof entry);
        return entry;
    };
    const auto halfway = [&](bool (*wanted)(const ElfW(Phdr)&)) -> QByteArray {
        qsizetype at = 0;
        for (int i = 0; i < header.e_phnum; ++i) {
            const ElfW(Phdr) entry = segment(i);
            if (entry.p_type == PT_LOAD && entry.p_filesz > 0 && wanted(entry))
                at = qsizetype(entry.p_offset + entry.p_filesz / 2);
        }
        return at > 0 ? whole.left(at) : QByteArray();
    };
    switch (cut) {
    case LibraryCut::Empty:
        return QByteArray();
    case LibraryCut::InFileHeader:
        return whole.left(qsizetype(sizeof header) / 2);
    case LibraryCut::InProgramHeaders:
        return whole.left(qsizetype(header.e_phoff) + header.e_phentsize + header.e_phentsize / 2);
    case LibraryCut::InCodeSegment:
        return halfway([](const ElfW(Phdr)& entry) { return (entry.p_flags & PF_X) != 0; });
    case LibraryCut::InDataSegment:
        return halfway([](const ElfW(Phdr)&) { return true; });
    case LibraryCut::InSectionHeaders:
        return whole.left(qsizetype(header.e_shoff) + header.e_shentsize / 2);
    case LibraryCut::Noise: {
        QByteArray noise(whole.size(), Qt::Uninitialized);
        quint32 state = 0x2545F491u;
        for (char& byte : noise) {
            state = state * 1664525u + 1013904223u;
            byte = char(state >> 24);
        }
        return noise;
    }
    }
    return {};
}

// Writes the cut copy of the library at from to to, as a new file (a
// library loaded from to keeps its own); false when it cannot.
inline bool WriteCutLibrary(const QString& from, const QString& to, LibraryCut cut)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray whole = source.readAll();
    const QByteArray bytes = CutLibraryBytes(whole, cut);
    if (bytes.isEmpty() && cut != LibraryCut::Empty)
        return false;
    QFile::remove(to);
    QFile target(to);
    return target.open(QIODevice::WriteOnly | QIODevice::Truncate) && target.write(bytes) == bytes.size();
}
