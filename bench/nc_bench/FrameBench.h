#pragma once

#include <string>

// Insert Block Numbers run from its menu item in a document window that holds the program
// (loaded from file), write-back included. Returns the seconds of the best run, or a negative
// value when the command did not number the program.
double InsertBlockNumbersFromMenuSeconds(const std::string& file, int runs);
