#pragma once
// The order of the file list, which is also the print order: base names by
// the locale's collation, then the extension that comes first in the
// extension list, then unlisted extensions by collation, then the full path,
// so that equal names keep one order.

#include <QCollator>
#include <QString>

namespace prentil {

class CTxtPrintDoc;
class PrintJob;

// Negative, 0 or positive as a goes before, with or after b.
int CompareFiles(const PrintJob& a, const PrintJob& b, const CTxtPrintDoc& doc, const QCollator& collator);

}  // namespace prentil
