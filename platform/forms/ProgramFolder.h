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

// Where the files kept beside the program (settings, macros, hot keys) are
// read and written: the program folder when this user may write there, else
// the user's configuration folder for the suite (XDG_CONFIG_HOME/Talvex,
// default ~/.config/Talvex), so that an installed copy works for every user.
// The folder is created when missing.
QString SettingsFolder();
// PathJoin(SettingsFolder(), name).
QString SettingsFile(const QString& name);
// The choice SettingsFolder makes, for a given program folder.
QString SettingsFolderFor(const QString& programFolder);

// The suite's folder among the user's own data ("~/.local/share/Talvex", or under
// XDG_DATA_HOME): for files the programs write for the user, which the program folder, shared
// and often read-only, cannot hold. Not created here.
QString UserDataFolder();

}  // namespace platform
