#pragma once
// The document's fonts: the default font (index 0) and a list of further fonts
// (indexes 1..n), which the font runs of the text blocks refer to by index.

#include "editctl/engine/ZuFontEntry.h"
#include "editctl/engine/ZuListBase.h"

#include <memory>
#include <vector>

class ZuFontTable {
public:
    explicit ZuFontTable(ZuMetricsProvider* provider);
    ZuFontTable(const ZuFontTable&) = delete;
    ZuFontTable& operator=(const ZuFontTable&) = delete;
    ~ZuFontTable();

    std::uint32_t Count() const { return list_.Count() + 1; } // with the default font
    // The font at an index; an index past the table gives the default font.
    const ZuFontEntry& At(std::uint32_t index) const;
    ZuFontEntry& DefaultFont() { return default_; }
    const ZuFontEntry& DefaultFont() const { return default_; }
    ZuMetricsProvider* Provider() const { return provider_; }

    // True with the index of an equal font: the default first, then the list from
    // the last entry to the first.
    bool FindFont(const ZuFontEntry& entry, std::uint32_t& index) const;
    // The index of an equal font, else of a clone appended to the table.
    ZuErr FindOrAdd(const ZuFontEntry& entry, std::uint32_t& index);
    // Appends clones of the other table's fonts that this one lacks; on failure
    // the fonts appended by this call are removed again.
    ZuErr MergeFrom(const ZuFontTable& other);
    // For each font of this table (index 0 first), its index in the other table.
    ZuErr IndexMap(const ZuFontTable& other, std::vector<std::uint32_t>& map) const;
    // The same fonts made for a device (a printer): cell heights scaled by its
    // vertical pixels per inch over the screen's. Null when a font cannot be made.
    std::unique_ptr<ZuFontTable> CreateForDC(ZuMetricsProvider* device) const;
    // Column blocks need every font fixed-pitch and as wide as the default font.
    bool IsProportional() const;
    void DeleteAll() { list_.DeleteAll(); }

private:
    ZuMetricsProvider* provider_;
    ZuFontEntry default_;
    ZuListBase list_;
    // Direct access by index beside the ring (fonts are only ever appended or
    // deleted as a whole), so that measuring a run costs no walk.
    std::vector<ZuFontEntry*> byIndex_;
};
