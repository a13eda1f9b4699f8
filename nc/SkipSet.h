#pragma once

#include <array>
#include <string>
#include <vector>

// The set of characters that mark a line as one to leave alone when they stand first.
class SkipSet {
public:
    SkipSet() = default;

    // Every character of every entry counts; blanks around an entry do not (" O " is "O").
    static SkipSet FromSkipChars(const std::vector<std::string>& entries);

    bool Contains(char c) const { return member_[static_cast<unsigned char>(c)]; }
    void Add(char c) { member_[static_cast<unsigned char>(c)] = true; }

private:
    std::array<bool, 256> member_{};
};
