#pragma once
// A place in the editing control's text: line and column from 0; a column
// counts UTF-16 code units, as QString indices do.

namespace platform {

struct CodeMaxPosition {
    int line = 0;
    int col = 0;
    friend bool operator==(const CodeMaxPosition&, const CodeMaxPosition&) = default;
};

}  // namespace platform
