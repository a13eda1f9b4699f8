#pragma once
// The sheet side of printing: margins in device units, the grid of virtual
// pages on a sheet, which file pages go into which places, and which sheet a
// printed page number shows.

#include <QString>
#include <functional>
#include <vector>

namespace prentil {

// What the printer says of its page, in device units.
struct DeviceCaps {
    int horzRes = 0, vertRes = 0;               // printable area
    int logPixelsX = 0, logPixelsY = 0;          // dots per inch
    int physicalWidth = 0, physicalHeight = 0;   // the paper
    int physicalOffsetX = 0, physicalOffsetY = 0;  // printable area from the paper's corner
};

// m millimetres at d dots per inch, truncated toward zero.
int MarginPixels(double mm, int dpi);

struct MarginRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct MarginSets {
    MarginRect normal;
    MarginRect swapped;  // top and bottom margins exchanged
};

MarginSets ComputeMargins(const DeviceCaps& caps, double top, double bottom, double left, double right);
// True when a margin edge lies outside the printable area (the swapped set
// counts when margins are swapped on even sheets).
bool MarginsOutsidePrintable(const MarginSets& margins, const DeviceCaps& caps, bool swapMargins);

struct Slot {
    int x = 0, y = 0;
    int file = 0;  // index into the printed set
    int page = 0;  // from 1
    bool leftNeighbour = false;
    bool topNeighbour = false;
};

struct Sheet {
    std::vector<Slot> places;
};

// A file of the printed set as sheet assembly sees it.
struct SheetFile {
    int pageCount = 0;
    QString baseName;
    QString extension;
};

struct SheetGrid {
    int rows = 1, columns = 1;
    int pageWidth = 0, pageHeight = 0;  // of a virtual page
    int pageBreakOption = 0;
    bool swapMargins = false;
    MarginSets margins;
};

// Places the pages of files onto sheets, down each column, then across.
// bothListed tells whether two extensions are both in the extension list.
std::vector<Sheet> AssembleSheets(const std::vector<SheetFile>& files, const SheetGrid& grid,
                                  const std::function<bool(const QString&, const QString&)>& bothListed);

// The number of pages the print loop asks for from sheetCount sheets.
int PrintedPageCount(int sheetCount, bool odd, bool even);
// The sheet (from 1) that printed page a (from 1) shows.
int SheetForPage(int page, int pageCount, bool odd, bool even, bool reverse);

}  // namespace prentil
