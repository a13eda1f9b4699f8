#pragma once

#include <string>
#include <vector>

// One NC command run from its menu item in a document window that holds the program (loaded from
// file): the dialog answered at once, the text read from the editing control, the procedure, the
// one write-back.
struct MenuCommandTime {
    std::string item;      // the menu item's caption
    double median = 0;     // seconds
    double slowest = 0;
    bool worked = false;   // the command did what it should (changed the text, or reported)
};

// The program, and the same program as some commands need it to have work to do.
struct BenchPrograms {
    std::string plain;
    std::string withG91;  // for the absolute conversion
    std::string marked;   // numbered N010 and so on, with block skips and "$": for the removals
    std::string packed;   // without blanks: for Insert Spaces
};

// Every NC command of the document window's menus on the program; each must change it (the
// syntax check must report it clean).
std::vector<MenuCommandTime> MenuCommandTimes(const BenchPrograms& programs, int runs);
