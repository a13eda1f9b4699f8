#include "print/PrintJob.h"

#include "print/HeaderFooter.h"

#include <algorithm>

namespace prentil {

PageMetrics ComputePageMetrics(const TextMeasurer& measurer, int pageWidth, int pageHeight, bool wrapArrow,
                               int headerOptions, int footerOptions)
{
    PageMetrics m;
    m.headerLineHeight = measurer.HeaderLineHeight();
    m.headerBand = BandHeight(headerOptions, m.headerLineHeight);
    m.footerBand = BandHeight(footerOptions, m.headerLineHeight);
    m.lineHeight = measurer.TextLineHeight();
    // The sample has 26 letters (Y left out, Z twice) and so it stays: the
    // widths of every printout depend on it.
    m.charWidth = measurer.TextWidth(u"ABCDEFGHIJKLMNOPQRSTUVWZXZ") / 26;
    m.indent = wrapArrow ? 2 * m.charWidth : m.charWidth;
    m.textWidth = pageWidth - 2 * m.indent;
    m.charsPerLine = m.charWidth > 0 ? m.textWidth / m.charWidth : 0;
    if (m.lineHeight > 0) {
        const int L = m.lineHeight;
        m.linesPerPage = (pageHeight - L - m.headerBand - m.footerBand - (m.headerBand != 0 ? L / 2 : 0)
                          - (m.footerBand != 0 ? L / 2 : 0)) / L;
    }
    return m;
}

PrintJob::PrintJob(const QString& path) : path_(path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    fileName_ = slash >= 0 ? path.mid(slash + 1) : path;
    folder_ = slash >= 0 ? path.left(slash) : path;
    const qsizetype dot = fileName_.lastIndexOf(QLatin1Char('.'));
    baseName_ = dot >= 0 ? fileName_.left(dot) : fileName_;
    extension_ = dot >= 0 ? fileName_.mid(dot + 1) : QString();
}

void PrintJob::Reset()
{
    pages_.clear();
    pages_.shrink_to_fit();
    paginated_ = false;
}

bool PrintJob::Paginate(const PageMetrics& metrics, int tabSpacing, int lineWrap)
{
    Reset();
    metrics_ = metrics;
    tabSpacing_ = tabSpacing;
    lineWrap_ = lineWrap;
    LineReader reader;
    if (!reader.Open(path_) || !metrics.Fits())
        return false;
    LineSplitter splitter(metrics.charsPerLine, tabSpacing, lineWrap);
    const int perPage = metrics.linesPerPage;
    qint64 lineNumber = 0;
    Page page;
    const LineSplitter::Sink count = [&](const LineSplitter::Row& row) {
        if (page.rowCount == 0) {
            page.firstLine = lineNumber;
            page.firstRow = row.index;
            page.offset = row.start.offset;
            page.pendingSpaces = row.start.pendingSpaces;
            page.utf8 = reader.LineIsUtf8();
        }
        if (++page.rowCount == perPage) {
            pages_.push_back(page);
            page = Page();
        }
        return true;
    };
    TextPiece piece;
    while (reader.NextPiece(&piece)) {
        if (piece.lineStart) {
            ++lineNumber;
            splitter.BeginLine(reader.LineStart());
        }
        splitter.Feed(piece, count);
        if (piece.lineEnd)
            splitter.EndLine(count);
        else if (splitter.Dropping())
            reader.SkipRestOfLine();
    }
    if (page.rowCount > 0)
        pages_.push_back(page);
    paginated_ = true;
    return true;
}

bool PrintJob::ForEachRow(int page, const std::function<void(const PageRow&)>& visit)
{
    if (!paginated_ || page < 1 || page > PageCount())
        return false;
    const Page& p = pages_[static_cast<std::size_t>(page - 1)];
    LineReader reader;
    if (!reader.Open(path_))
        return false;
    LineSplitter splitter(metrics_.charsPerLine, tabSpacing_, lineWrap_);
    if (p.firstRow == 0) {
        if (!reader.Seek(p.offset))
            return false;
    } else {
        if (!reader.SeekInsideLine(p.offset, p.utf8))
            return false;
        splitter.ResumeLine(p.firstRow, {p.offset, p.pendingSpaces});
    }
    int left = p.rowCount;
    const LineSplitter::Sink draw = [&](const LineSplitter::Row& row) {
        visit({row.text, row.index == 0, row.continued});
        return --left > 0;
    };
    // Read little more than the page's rows can take.
    const auto wanted = [&] { return (qsizetype(left) + 1) * metrics_.charsPerLine + 1; };
    TextPiece piece;
    while (left > 0 && reader.NextPiece(&piece, wanted())) {
        if (piece.lineStart)
            splitter.BeginLine(reader.LineStart());
        if (!splitter.Feed(piece, draw))
            break;
        if (piece.lineEnd) {
            if (!splitter.EndLine(draw))
                break;
        } else if (splitter.Dropping()) {
            reader.SkipRestOfLine();
        }
    }
    return true;
}

}  // namespace prentil
