#include "print/LineSplitter.h"

#include "print/CTxtPrintDoc.h"

#include <algorithm>

namespace prentil {

LineSplitter::LineSplitter(int charsPerLine, int tabSpacing, int wrapOption)
    : charsPerLine_(std::clamp(charsPerLine, 1, MaxRowLength)),
      tabSpacing_(tabSpacing < 1 ? FallbackTabSpacing : tabSpacing),
      wrap_(wrapOption)
{
}

void LineSplitter::EndRow(qsizetype end, bool continued)
{
    rows_.push_back({rowStart_, end - rowStart_, continued});
    rowStart_ = end;
}

QStringView LineSplitter::RowText(int index) const
{
    const Row& row = rows_[static_cast<std::size_t>(index)];
    return QStringView(text_).sliced(row.start, row.length);
}

int LineSplitter::Split(QStringView line)
{
    text_.resize(0);
    rows_.clear();
    rowStart_ = 0;
    const qsizetype n = charsPerLine_;
    qsizetype lastSpace = -1;  // index in text_ of the current row's last space
    bool open = true;          // a row is started and not yet ended
    const qsizetype size = line.size();

    // The row is full: ends it as the mode says. Returns false when the rest
    // of the line is dropped.
    auto rowFull = [&](bool atEnd, bool wordWrap) {
        if (wrap_ == WrapTruncate) {
            EndRow(text_.size(), false);
            open = false;
            return false;
        }
        if (atEnd) {
            EndRow(text_.size(), false);
            open = false;
            return true;
        }
        if (wordWrap && wrap_ == WrapWords && lastSpace >= rowStart_) {
            // Cut after the last space; what follows it starts the next row.
            EndRow(lastSpace + 1, true);
        } else {
            // No space to cut at: the row is cut where it is full.
            EndRow(text_.size(), true);
        }
        lastSpace = -1;
        return true;
    };

    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = line[i];
        if (ch == QLatin1Char('\t')) {
            const qsizetype column = text_.size() - rowStart_;
            const qsizetype spaces = tabSpacing_ - column % tabSpacing_;
            for (qsizetype s = 0; s < spaces; ++s) {
                text_.append(QLatin1Char(' '));
                lastSpace = text_.size() - 1;
                if (text_.size() - rowStart_ >= n) {
                    const bool atEnd = s + 1 == spaces && i + 1 == size;
                    if (!rowFull(atEnd, false))
                        return static_cast<int>(rows_.size());
                    if (atEnd)
                        break;
                    open = true;
                }
            }
            continue;
        }
        text_.append(ch);
        if (ch == QLatin1Char(' '))
            lastSpace = text_.size() - 1;
        if (text_.size() - rowStart_ >= n) {
            const bool atEnd = i + 1 == size;
            if (!rowFull(atEnd, true))
                break;
            if (!atEnd)
                open = true;
        }
    }
    if (open)
        EndRow(text_.size(), false);
    // Only the last row of a line is not continued.
    if (!rows_.empty())
        rows_.back().continued = false;
    return static_cast<int>(rows_.size());
}

}  // namespace prentil
