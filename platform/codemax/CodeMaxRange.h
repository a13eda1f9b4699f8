#pragma once
// A stretch of text in the editing control: lines and columns count from 0;
// a column counts UTF-16 code units, as QString indices do.

namespace platform {

struct CodeMaxRange {
    int startLine = 0;
    int startCol = 0;
    int endLine = 0;
    int endCol = 0;

    bool IsEmpty() const { return startLine == endLine && startCol == endCol; }
    // The same range with its start before (or at) its end.
    CodeMaxRange Normalized() const
    {
        if (endLine < startLine || (endLine == startLine && endCol < startCol))
            return {endLine, endCol, startLine, startCol};
        return *this;
    }
    friend bool operator==(const CodeMaxRange&, const CodeMaxRange&) = default;
};

}  // namespace platform
