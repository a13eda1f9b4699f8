#pragma once
// The keyboard macros' files: "Macro.ini" beside the program, section
// "Macros", with the count "Macronumber" and one description per slot
// ("Macro1" to "Macro10").

// Fills Macronumber and MacroDescriptions from "Macro.ini". A count above 10
// keeps 10, a negative one 0; a count that is missing or not a number is
// reported and leaves the list as it was.
void LoadMacroList();
