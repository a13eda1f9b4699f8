#pragma once
// One listed file: its name parts and its pagination into virtual pages.
// Only page boundaries are kept, each with the file offset of the page's
// first row (inside a line when the page starts there), so drawing a page
// reads just that page, even in a line of megabytes; the text is read again
// when a page is drawn.

#include "print/LineReader.h"
#include "print/LineSplitter.h"
#include "print/TextMeasurer.h"

#include <QString>
#include <functional>
#include <vector>

namespace prentil {

// The sizes a virtual page is laid out with, in device units.
struct PageMetrics {
    int lineHeight = 0;        // L
    int charWidth = 0;         // C
    int indent = 0;            // I
    int textWidth = 0;
    int charsPerLine = 0;
    int linesPerPage = 0;
    int headerLineHeight = 0;  // h
    int headerBand = 0;
    int footerBand = 0;
    // Room for at least one row of at least one character.
    bool Fits() const { return charsPerLine >= 1 && linesPerPage >= 1; }
};

PageMetrics ComputePageMetrics(const TextMeasurer& measurer, int pageWidth, int pageHeight, bool wrapArrow,
                               int headerOptions, int footerOptions);

class PrintJob {
public:
    struct Page {
        qint64 firstLine = 0;    // from 1
        qint64 firstRow = 0;     // row of the first line the page starts with, from 0
        int rowCount = 0;
        qint64 offset = 0;       // file offset where the page's first row starts
        int pendingSpaces = 0;   // it starts inside a tab with this many spaces left
        bool utf8 = false;       // how its line reads, for a page that starts inside it
    };
    // One row of a page as drawn.
    struct PageRow {
        QStringView text;
        bool firstOfLine = true;  // not a continuation of the row before
        bool continued = false;   // the line goes on in the next row
    };

    explicit PrintJob(const QString& path);

    const QString& FullPath() const { return path_; }
    const QString& FileName() const { return fileName_; }
    const QString& BaseName() const { return baseName_; }
    const QString& Extension() const { return extension_; }
    const QString& Folder() const { return folder_; }

    // Paginates the file; false when it cannot be opened.
    bool Paginate(const PageMetrics& metrics, int tabSpacing, int lineWrap);
    bool Paginated() const { return paginated_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const std::vector<Page>& Pages() const { return pages_; }
    const PageMetrics& Metrics() const { return metrics_; }
    // Calls visit for each row of page (from 1) in order; false when the
    // page does not exist or the file cannot be read again.
    bool ForEachRow(int page, const std::function<void(const PageRow&)>& visit);
    // Frees the page list.
    void Reset();

private:
    QString path_, fileName_, baseName_, extension_, folder_;
    PageMetrics metrics_;
    int tabSpacing_ = 8;
    int lineWrap_ = 0;
    bool paginated_ = false;
    std::vector<Page> pages_;
};

}  // namespace prentil
