#pragma once
// Splits one line of a file into the rows it prints as: tabs expanded,
// rows cut at the characters per line by truncating, wrapping characters or
// wrapping words. Rows are spans of one reused buffer, so splitting a
// program of millions of lines allocates nothing after its first lines.

#include <QString>
#include <QStringView>
#include <vector>

namespace prentil {

// No row is longer than this, whatever the characters per line.
inline constexpr int MaxRowLength = 999;

class LineSplitter {
public:
    struct Row {
        qsizetype start = 0;
        qsizetype length = 0;
        bool continued = false;  // the line goes on in the next row
    };

    // charsPerLine below 1 counts as 1; tabSpacing below 1 as 8.
    LineSplitter(int charsPerLine, int tabSpacing, int wrapOption);

    // Splits line (without its line end); returns the number of rows, at
    // least 1 (an empty line is one empty row).
    int Split(QStringView line);
    const std::vector<Row>& Rows() const { return rows_; }
    QStringView RowText(int index) const;

private:
    void EndRow(qsizetype end, bool continued);

    int charsPerLine_;
    int tabSpacing_;
    int wrap_;
    QString text_;
    std::vector<Row> rows_;
    qsizetype rowStart_ = 0;
};

}  // namespace prentil
