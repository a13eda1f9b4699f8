#pragma once
// The "CNC" language of the editing control: G and M codes as keywords,
// signs, points and the numbers "0." to "6." as operators, and comments in
// round brackets.

namespace platform {
class CodeMax;
}

// Registers the "CNC" language with the editing control's library (for
// every control of the process; registering it again is harmless). The
// control argument is not otherwise used.
void RegisterNcLanguage(platform::CodeMax& control);
