#include "print/LineSplitter.h"

#include "print/CTxtPrintDoc.h"

#include <algorithm>
#include <utility>

namespace prentil {

LineSplitter::LineSplitter(int charsPerLine, int tabSpacing, int wrapOption)
    : charsPerLine_(std::clamp(charsPerLine, 1, MaxRowLength)),
      tabSpacing_(tabSpacing < 1 ? FallbackTabSpacing : tabSpacing),
      wrap_(wrapOption),
      // A full row takes one character more only to keep a surrogate pair whole.
      row_(static_cast<std::size_t>(charsPerLine_) + 2),
      source_(row_.size())
{
}

void LineSplitter::BeginLine(qint64 lineStart)
{
    length_ = 0;
    lastSpace_ = -1;
    index_ = 0;
    lineStart_ = lineStart;
    full_ = dropping_ = false;
    resumeSpaces_ = -1;
}

void LineSplitter::ResumeLine(qint64 index, const RowStart& start)
{
    BeginLine(start.offset);
    index_ = index;
    if (start.pendingSpaces > 0)
        resumeSpaces_ = start.pendingSpaces;
}

bool LineSplitter::Emit(qsizetype length, bool continued, const Sink& sink)
{
    Row row;
    row.text = QStringView(row_.data(), length);
    row.index = index_;
    row.continued = continued;
    if (index_ == 0) {
        row.start = {lineStart_, 0};
    } else {
        const Source& first = source_.front();
        row.start = {first.offset, first.pendingSpaces};
    }
    return sink(row);
}

bool LineSplitter::Break(const Sink& sink)
{
    full_ = false;
    // Wrapping words cuts after the row's last space; the characters behind
    // it start the next row. Without a space the row is cut where it is full.
    const qsizetype cut = wrap_ == WrapWords && lastSpace_ >= 0 ? lastSpace_ + 1 : length_;
    const bool go = Emit(cut, true, sink);
    std::copy(row_.begin() + cut, row_.begin() + length_, row_.begin());
    std::copy(source_.begin() + cut, source_.begin() + length_, source_.begin());
    length_ -= cut;
    lastSpace_ = -1;
    ++index_;
    return go;
}

bool LineSplitter::Put(QChar ch, Source source, const Sink& sink)
{
    if (full_ && !Break(sink))
        return false;
    row_[static_cast<std::size_t>(length_)] = ch;
    source_[static_cast<std::size_t>(length_)] = source;
    if (ch == QLatin1Char(' '))
        lastSpace_ = length_;
    ++length_;
    if (length_ < charsPerLine_ || ch.isHighSurrogate())
        return true;
    if (wrap_ == WrapTruncate) {
        dropping_ = true;
        return Emit(length_, false, sink);
    }
    full_ = true;
    return true;
}

bool LineSplitter::Feed(const TextPiece& piece, const Sink& sink)
{
    const QStringView text = piece.text;
    for (qsizetype i = 0; i < text.size() && !dropping_; ++i) {
        const QChar ch = text[i];
        const qint64 offset = piece.Offset(i);
        const int resumed = std::exchange(resumeSpaces_, -1);
        if (ch != QLatin1Char('\t')) {
            if (!Put(ch, {offset, 0}, sink))
                return false;
            continue;
        }
        // A tab is the spaces to the next tab stop of the row; the row may
        // fill after any of them.
        const int spaces = resumed > 0 ? resumed : tabSpacing_ - static_cast<int>(length_ % tabSpacing_);
        for (int left = spaces; left > 0 && !dropping_; --left)
            if (!Put(QLatin1Char(' '), {offset, left}, sink))
                return false;
    }
    return true;
}

bool LineSplitter::EndLine(const Sink& sink)
{
    if (dropping_)
        return true;
    full_ = false;
    return Emit(length_, false, sink);
}

}  // namespace prentil
