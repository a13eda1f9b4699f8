// libFuzzer entry for Prentil's stored settings: the values under
// Software\KroPrint\Prentil, any of them of any type and content, are loaded
// into the print settings, which must stay usable and, once saved, load back
// as they were.

#include "platform/registry/Registry.h"
#include "print/CTxtPrintDoc.h"
#include "print/PrintProfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

using namespace platform;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "Prentil settings: %s\n", what);
        std::abort();
    }
}

// Every byte as %XX: the hive's escape, which reads any byte back.
QByteArray Escaped(const QByteArray& bytes)
{
    QByteArray out;
    for (const char c : bytes)
        out += '%' + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0').toUpper();
    return out;
}

QString UseMemoryRegistry()
{
    static const QString folder = [] {
        // In memory where the system has it: every hive write is synced to disk, which is slow.
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString path = base + QStringLiteral("/talvex-prentil-fuzz-%1").arg(::getpid());
        QDir().mkpath(path);
        qputenv("TALVEX_REGISTRY_DIR", QFile::encodeName(path));
        SetRegistryDamageHandler({});
        return path;
    }();
    return folder;
}

struct Entry {
    const char* section;
    const char* name;
};

// The values LoadSettings reads.
constexpr Entry Entries[] = {
    {"Misc settings", "Top Margin"}, {"Misc settings", "Bottom Margin"}, {"Misc settings", "Left Margin"},
    {"Misc settings", "Right Margin"}, {"Misc settings", "Use default Orientation"},
    {"Misc settings", "Orientation"}, {"Misc settings", "Print odd pages"}, {"Misc settings", "Print even pages"},
    {"Misc settings", "Reverse printing order"}, {"Misc settings", "Swap Margins"}, {"Misc settings", "Columns"},
    {"Misc settings", "Rows"}, {"Misc settings", "Page Break Option"}, {"Misc settings", "Header Options"},
    {"Misc settings", "Footer Options"}, {"Misc settings", "Line Wrap Option"}, {"Misc settings", "Print wrap arrow"},
    {"Misc settings", "Only Fixed Pitch"}, {"Misc settings", "Only Default Tab"}, {"Misc settings", "View warnings"},
    {"Printer Font", "PointHeight"}, {"Printer Font", "PointWidth"}, {"Printer Font", "Escapement"},
    {"Printer Font", "Orientation"}, {"Printer Font", "Weight"}, {"Printer Font", "Italic"},
    {"Printer Font", "Underline"}, {"Printer Font", "StrikeOut"}, {"Printer Font", "CharSet"},
    {"Printer Font", "OutPrecision"}, {"Printer Font", "ClipPrecision"}, {"Printer Font", "Quality"},
    {"Printer Font", "PitchAndFamily"}, {"Printer Font", "FaceName"}, {"Extensions", "Extension Count"},
    {"Extensions", "1.Name"}, {"Extensions", "1.Tabs"}, {"Extensions", "2.Name"}, {"Extensions", "2.Tabs"},
    {"Extensions", "3.Name"}, {"Extensions", "3.Tabs"},
};
constexpr std::size_t EntryCount = sizeof Entries / sizeof Entries[0];

// Every setting the document gives, as one text to compare.
QString Snapshot(const prentil::CTxtPrintDoc& doc)
{
    const prentil::PrintFont& f = doc.Font();
    QString text = QStringLiteral("%1 %2 %3 %4|").arg(doc.TopMargin()).arg(doc.BottomMargin()).arg(doc.LeftMargin())
                       .arg(doc.RightMargin());
    for (const int v : {doc.PointHeight(), doc.PointWidth(), doc.HeaderOptions(), doc.FooterOptions(),
                        doc.LineWrapOption(), doc.PrintWrapArrow(), doc.SwapMargins(), doc.Rows(), doc.Columns(),
                        doc.PageBreakOption(), doc.Orientation(), doc.UseDefaultOrientation(), doc.PrintOddPages(),
                        doc.PrintEvenPages(), doc.ReverseOrder(), doc.OnlyFixedPitch(), doc.OnlyDefaultTab(),
                        doc.ViewWarnings(), f.escapement, f.orientation, f.weight, f.italic, f.underline,
                        f.strikeOut, f.charSet, f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily})
        text += QString::number(v) + u' ';
    text += f.faceName + u'|';
    for (const prentil::ExtensionEntry& e : doc.Extensions())
        text += e.name + u'=' + QString::number(e.tabs) + u';';
    return text;
}

}  // namespace

// Input: records of one byte choosing the value, one byte of type, one byte of length and
// that many bytes of data.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = UseMemoryRegistry();
    // The values go into a hive file written whole (one file instead of a registry write each).
    std::vector<QByteArray> sections[3];
    static const char* const sectionNames[3] = {"Misc settings", "Printer Font", "Extensions"};
    for (std::size_t i = 0; i + 3 <= size;) {
        const Entry& entry = Entries[data[i] % EntryCount];
        static constexpr quint32 types[] = {REG_DWORD, REG_SZ, REG_BINARY, REG_DWORD_BIG_ENDIAN};
        const quint32 type = types[data[i + 1] % 4];
        const std::size_t length = std::min<std::size_t>(data[i + 2], size - i - 3);
        QByteArray record = "V " + Escaped(entry.name) + ' ' + QByteArray::number(type) + ' ';
        record += length == 0 ? QByteArray("-")
                              : Escaped(QByteArray(reinterpret_cast<const char*>(data + i + 3), qsizetype(length)));
        i += 3 + length;
        // A count of many extensions is thousands of registry reads per load, too slow here: the
        // suite's tests load the longest list.
        if (std::strcmp(entry.name, "Extension Count") == 0 && length >= 4) {
            const uint8_t* count = data + i - length;
            if (count[0] > 12 || count[1] != 0 || count[2] != 0 || count[3] != 0)
                continue;
        }
        for (int s = 0; s < 3; ++s)
            if (std::strcmp(entry.section, sectionNames[s]) == 0)
                sections[s].push_back(record + '\n');
    }
    QByteArray hive = "TalvexHive 2\nK 1 Software\nK 2 KroPrint\nK 3 Prentil\n";
    std::size_t values = 0;
    for (int s = 0; s < 3; ++s) {
        hive += "K 4 " + Escaped(sectionNames[s]) + '\n';
        for (const QByteArray& record : sections[s])
            hive += record;
        values += sections[s].size();
    }
    hive += "E 6 " + QByteArray::number(qulonglong(values)) + '\n';
    {
        const QString file = folder + QStringLiteral("/HKEY_CURRENT_USER.hive");
        const QString next = file + QStringLiteral(".next");
        std::FILE* out = std::fopen(QFile::encodeName(next).constData(), "wb");
        Require(out != nullptr, "the hive cannot be written");
        std::fwrite(hive.constData(), 1, std::size_t(hive.size()), out);
        std::fclose(out);
        // A new file each time, so the registry sees a changed hive whatever its size and time.
        Require(::rename(QFile::encodeName(next).constData(), QFile::encodeName(file).constData()) == 0,
                "the hive cannot be put in place");
    }

    prentil::CTxtPrintDoc doc;
    doc.LoadSettings();
    Require(!doc.Extensions().empty() && doc.Extensions().size() <= std::size_t(prentil::MaxExtensionCount),
            "the extension list is empty or unbounded");
    Require(doc.Font().faceName.size() <= 31, "a face name longer than a font holds");
    for (const prentil::ExtensionEntry& e : doc.Extensions())
        Require(doc.TabSpacingFor(e.name) >= 1, "a tab spacing below 1");

    // Saved and loaded, the settings hold; a margin may round once to the digits it is stored with.
    // Every value saved is a registry write of its own, slow beside the load: the round trip runs
    // for one input in eight, and not for long extension lists (two writes per extension).
    if (size == 0 || data[size - 1] % 8 != 0 || doc.Extensions().size() > 8)
        return 0;
    doc.SaveSettings();
    prentil::CTxtPrintDoc second;
    second.LoadSettings();
    second.SaveSettings();
    prentil::CTxtPrintDoc third;
    third.LoadSettings();
    Require(Snapshot(third) == Snapshot(second), "saved settings load back otherwise");
    return 0;
}
