#pragma once
// The keyboard macros' files, kept beside the program (platform::SettingsFile):
// - "Macro.ini", section "Macros", with the count "Macronumber" and one
//   description per slot ("Macro1" to "Macro10");
// - "Macro<k>.bin" for slot k = 0..9: the bytes of the editing control's macro
//   slot k (an empty file is an empty slot);
// - "Hotkeys.bin": the bytes of the editing control's whole hot-key table.
// Every file is written atomically. The hot-key file is found whatever the
// letter case of its name (an older install wrote "HotKeys.bin").

#include "platform/codemax/CodeMaxHotKey.h"

#include <QString>

// Fills Macronumber and MacroDescriptions from "Macro.ini". A count above 10
// keeps 10, a negative one 0; a count that is missing or not a number is
// reported and leaves the list as it was.
void LoadMacroList();

// The macro file of slot k (0..9).
QString MacroFile(int slot);
// The hot-key file: the existing one whatever its letter case, else the path
// a new one gets ("Hotkeys.bin").
QString HotKeysFile();

// Writes the control's hot-key table to the hot-key file.
void SaveHotKeys();
// Writes macro slots 0 .. Macronumber (never beyond slot 9) to their files;
// an empty slot without a file is left without one.
void SaveMacro();
// Hands each existing macro file of slots 0..9 to its control slot; a slot
// without a file keeps what the control holds. A damaged file is reported
// once and read as an empty slot.
void LoadMacros();
// Hands the hot-key file to the control when it exists. A damaged file is
// reported once and the table in use stays as it is.
void LoadHotKeys();

// Deletes the hot-key file (every letter-case spelling of it); true when none
// is left.
bool DeleteHotKeysFile();
// The description that marks slot k free: "Macro3 - not assigned" for slot 2.
QString FreeMacroMark(int slot);
// The command that plays slot k (214 + k).
int MacroCommand(int slot);
// Unbinds every hot key of slot k's command, the last first.
void ClearMacroHotKeys(int slot);
// The line of slot k in the macro dialogs' lists: its description, or
// "Macro 1  not assigned" (two blanks) when that is empty.
QString MacroListLine(int slot);

// The keys that end a recording (the keys of the record command) as the key
// lists show them, joined by " or "; empty when no key does.
QString RecordingEndKeys();
// A recording ends only through its key: binding that key to another command
// is refused with a message. True when the key may be bound to the command.
bool MayBindHotKey(const platform::CodeMaxHotKey& key, int command);
