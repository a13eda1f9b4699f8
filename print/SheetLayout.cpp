#include "print/SheetLayout.h"

#include <algorithm>

namespace prentil {

int MarginPixels(double mm, int dpi)
{
    // A stored margin may hold any number; one beyond any paper stays a
    // number that the edges can still be computed from.
    const double pixels = std::clamp(mm * dpi * 0.03937007874015748, -1e8, 1e8);
    return static_cast<int>(pixels);
}

MarginSets ComputeMargins(const DeviceCaps& caps, double top, double bottom, double left, double right)
{
    MarginSets sets;
    MarginRect& n = sets.normal;
    n.left = MarginPixels(left, caps.logPixelsX) - caps.physicalOffsetX;
    n.top = MarginPixels(top, caps.logPixelsY) - caps.physicalOffsetY;
    n.right = caps.physicalWidth - caps.physicalOffsetX - MarginPixels(right, caps.logPixelsX);
    n.bottom = caps.physicalHeight - caps.physicalOffsetY - MarginPixels(bottom, caps.logPixelsY);
    sets.swapped = n;
    sets.swapped.top = MarginPixels(bottom, caps.logPixelsY) - caps.physicalOffsetY;
    sets.swapped.bottom = caps.physicalHeight - caps.physicalOffsetY - MarginPixels(top, caps.logPixelsY);
    return sets;
}

bool MarginsOutsidePrintable(const MarginSets& margins, const DeviceCaps& caps, bool swapMargins)
{
    const MarginRect& n = margins.normal;
    if (n.left < 0 || n.top < 0 || n.right > caps.horzRes || n.bottom > caps.vertRes)
        return true;
    return swapMargins && (margins.swapped.top < 0 || margins.swapped.bottom > caps.vertRes);
}

std::vector<Sheet> AssembleSheets(const std::vector<SheetFile>& files, const SheetGrid& grid,
                                  const std::function<bool(const QString&, const QString&)>& bothListed)
{
    std::vector<Sheet> sheets;
    int column = 0;
    int row = 0;
    auto newSheet = [&] {
        sheets.emplace_back();
        column = row = 0;
    };
    for (std::size_t k = 0; k < files.size(); ++k) {
        const SheetFile& file = files[k];
        const bool atStart = column == 0 && row == 0;
        bool starts = false;
        switch (grid.pageBreakOption) {
        case 0:
            starts = true;
            break;
        case 1:
            starts = k == 0 || files[k - 1].baseName != file.baseName
                     || !bothListed(files[k - 1].extension, file.extension) || atStart;
            break;
        default:
            starts = atStart;
            break;
        }
        if (starts || sheets.empty())
            newSheet();
        for (int p = 1; p <= file.pageCount; ++p) {
            const int number = static_cast<int>(sheets.size());
            const MarginRect& m = grid.swapMargins && number % 2 == 0 ? grid.margins.swapped : grid.margins.normal;
            Slot slot;
            slot.x = m.left + column * grid.pageWidth;
            slot.y = m.top + row * grid.pageHeight;
            slot.file = static_cast<int>(k);
            slot.page = p;
            slot.leftNeighbour = column > 0;
            slot.topNeighbour = row > 0;
            sheets.back().places.push_back(slot);
            if (++row == grid.rows) {
                row = 0;
                if (++column == grid.columns) {
                    column = 0;
                    if (p != file.pageCount)
                        newSheet();
                }
            }
        }
    }
    return sheets;
}

int PrintedPageCount(int sheetCount, bool odd, bool even)
{
    if (odd && even)
        return sheetCount;
    if (even)
        return sheetCount / 2;
    if (odd)
        return (sheetCount + 1) / 2;
    return 0;
}

int SheetForPage(int page, int pageCount, bool odd, bool even, bool reverse)
{
    if (reverse)
        page = pageCount - page + 1;
    if (odd && even)
        return page;
    return even ? 2 * page : 2 * page - 1;
}

}  // namespace prentil
