#pragma once

// Replace-all passes of the NC commands, done on the text rather than by the editing control,
// so that a command is one edit and never depends on the user's last Find options: case
// matters, no whole-word or pattern matching, left to right, matches do not overlap and the
// replacement is not searched again.

#include <string>
#include <string_view>

// Replaces every occurrence of find by replacement. An empty find changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// Remove Leading Number Zeros: the same text as replacing all "N00" by "N" and then all "N0" by
// "N", so at most three zeros go from one number (N005 -> N5, N00005 -> N05, N100 stays).
std::string RemoveLeadingZeros(std::string_view text);
