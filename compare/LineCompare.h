#pragma once

// Brevlin's compare: two program texts, line by line and by position (line n of the first
// against line n of the second; no search for inserted or deleted lines). A line is its bytes up
// to and including its break, which is CR LF, LF or a lone CR; the last line may have none. The
// break takes part in the comparison, so "X1\r\n" and "X1\n" differ, and so does the same
// character in two encodings. The empty line after a final line break is not a line: "A\n" has
// one line, "" none. The shorter text's missing lines compare as empty, so every line past its
// end differs from an existing one.
//
// The compare works in steps so that a window can let events run and stop it between them; one
// step costs what its lines cost, and the whole run is one pass over both texts.

#include <cstddef>
#include <string_view>
#include <vector>

namespace compare {

// A line at which the texts differ, counted from 1, and whether each text has that line (marks
// go only on lines that exist).
struct LineDifference {
    std::size_t line = 0;
    bool inText1 = false;
    bool inText2 = false;

    bool operator==(const LineDifference&) const = default;
};

class LineCompare {
public:
    // The texts are not copied: they must outlive the compare.
    LineCompare(std::string_view text1, std::string_view text2);

    // Compares up to maxLines more line positions, appending each differing one to out. Returns
    // true once both texts are wholly compared.
    bool Step(std::size_t maxLines, std::vector<LineDifference>& out);
    bool Done() const { return pos1_ >= text1_.size() && pos2_ >= text2_.size(); }
    // Line positions compared so far.
    std::size_t LinesCompared() const { return line_; }

private:
    std::string_view text1_, text2_;
    std::size_t pos1_ = 0, pos2_ = 0;  // starts of the next lines
    std::size_t line_ = 0;
};

// The whole compare in one call.
std::vector<LineDifference> DifferingLines(std::string_view text1, std::string_view text2);

// The number of lines of a text as the compare counts them.
std::size_t CountLines(std::string_view text);

}  // namespace compare
