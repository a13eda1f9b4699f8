#include "print/FileOrder.h"

#include "print/CTxtPrintDoc.h"
#include "print/PrintJob.h"

namespace prentil {

int CompareFiles(const PrintJob& a, const PrintJob& b, const CTxtPrintDoc& doc, const QCollator& collator)
{
    if (const int names = collator.compare(a.BaseName(), b.BaseName()); names != 0)
        return names;
    if (const int listed = doc.ExtensionOrder(a.Extension(), b.Extension()); listed != 0)
        return listed;
    if (const int extensions = collator.compare(a.Extension(), b.Extension()); extensions != 0)
        return extensions;
    return a.FullPath().compare(b.FullPath());
}

}  // namespace prentil
