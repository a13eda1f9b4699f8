#pragma once
// The program folder: where the programs, their INI files and resources live.

#include <QString>

namespace platform {

// The executable's folder, or TALVEX_PROGRAM_DIR when set; no trailing
// separator.
QString ProgramFolder();

// Joins a folder and a name written Windows style ("\Editor.ini",
// "\Images\smallAll.bmp", "/Prentil.exe" or "Editor.ini"): backslashes
// become the native separator and exactly one separator joins the two.
QString PathJoin(const QString& folder, const QString& name);

// PathJoin(ProgramFolder(), name).
QString ProgramFile(const QString& name);

}  // namespace platform
