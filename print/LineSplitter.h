#pragma once
// Splits the lines of a file into the rows they print as: tabs expanded,
// rows cut at the characters per line by truncating, wrapping characters or
// wrapping words. A line comes in pieces of any size and each row is handed
// on as soon as it is complete, so only the row being built is held: time
// and memory stay linear in the length of a line however long it is. Each
// row knows where it starts in the file, so a page can be read again from
// its first row without the text before it.

#include "print/LineReader.h"

#include <QStringView>
#include <functional>
#include <vector>

namespace prentil {

// No row is longer than this, whatever the characters per line.
inline constexpr int MaxRowLength = 999;

class LineSplitter {
public:
    // Where a row's text starts in the file: the offset of its first
    // character (of its line for a line's first row); a row that starts
    // inside a tab's spaces has the tab's offset and the spaces left of it.
    struct RowStart {
        qint64 offset = 0;
        int pendingSpaces = 0;
    };
    struct Row {
        QStringView text;
        qint64 index = 0;        // the row of its line, from 0
        bool continued = false;  // the line goes on in the next row
        RowStart start;
    };
    // Takes each completed row; false stops the splitting.
    using Sink = std::function<bool(const Row& row)>;

    // charsPerLine below 1 counts as 1; tabSpacing below 1 as 8.
    LineSplitter(int charsPerLine, int tabSpacing, int wrapOption);

    // Starts a line at lineStart.
    void BeginLine(qint64 lineStart);
    // Starts inside a line, at its row index that starts at start (as a
    // Row gave them); the text fed then begins at start.offset.
    void ResumeLine(qint64 index, const RowStart& start);
    // The next piece of the line; false when the sink stopped.
    bool Feed(const TextPiece& piece, const Sink& sink);
    // The line ended: hands on its last row. False when the sink stopped.
    bool EndLine(const Sink& sink);
    // The row was truncated: the rest of the line is not needed.
    bool Dropping() const { return dropping_; }

private:
    struct Source {
        qint64 offset;
        int pendingSpaces;
    };
    // Appends one character; false when the sink stopped.
    bool Put(QChar ch, Source source, const Sink& sink);
    // Hands on the full row and starts the next with what a word wrap carries.
    bool Break(const Sink& sink);
    bool Emit(qsizetype length, bool continued, const Sink& sink);

    int charsPerLine_;
    int tabSpacing_;
    int wrap_;
    std::vector<QChar> row_;      // the row being built
    std::vector<Source> source_;  // where each of its characters comes from
    qsizetype length_ = 0;
    qsizetype lastSpace_ = -1;
    qint64 index_ = 0;
    qint64 lineStart_ = 0;
    bool full_ = false;           // the row is full; the next character breaks it
    bool dropping_ = false;
    int resumeSpaces_ = -1;       // spaces left of the tab the resumed text starts with
};

}  // namespace prentil
