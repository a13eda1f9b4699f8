#pragma once
// The settings store: "Editor.ini" and "Macro.ini" beside the program, and
// the editor options under the current user's registry key.

#include "platform/registry/Registry.h"

#include <QString>
#include <QStringList>
#include <array>

class cRegistry;
namespace platform { class CodeMax; }

// Full paths of "Editor.ini" and "Macro.ini" in the program folder, or in
// the user's configuration folder when the program folder cannot be written
// (set when the main window initialises).
inline QString IniFile;
inline QString MacroIniFile;

// The editor options (registry key EditorOptionsKey).
inline QString DefaultDir;      // initial folder of the file dialogs
inline QString DefaultExt;      // first filter pair of the Open dialog: description|pattern
inline int Startnumber = 10;    // first block number
inline int Increment = 10;      // block-number step
inline int RestartNum = 9999;   // number after which numbering starts again
inline int N = 1;               // 1: block numbers carry the letter N
inline int Space = 0;           // 1: a blank follows the block number
inline int BlankLines = 0;      // 1: empty lines are numbered too
inline int NumPopup = 0;        // 1: ask start and step before numbering
inline int DisplayPath = 1;     // not 0: captions and the path table keep full paths
inline int CharNumber = 3;      // number of entries of SkipChars
inline constexpr int MaxCharNumber = 32767;  // a 16-bit count, as the settings dialog keeps it
inline QStringList SkipChars{QStringLiteral("%"), QStringLiteral("("), QStringLiteral("O")};
                                // line starts that block numbering leaves alone (entry 1 first)
inline int Corvane = 30;        // kept and written back
inline int CorvaneExt = 0;      // kept and written back

inline const QString EditorOptionsKey =
    QStringLiteral("Software\\Corvane Software Development Inc.\\KroEditorV50");
inline const QString DefaultFileFilter = QStringLiteral("All Files (*.*)|*.*");

// One colour item of the editing control: colours are 24-bit values with red
// in the low byte; the font style is a code of the editing control.
struct ColorItem {
    qint32 BackColor = 0;
    qint32 ForeColor = 0;
    qint32 FontStyle = 0;
    friend bool operator==(const ColorItem&, const ColorItem&) = default;
};
inline constexpr int ColorItemCount = 20;   // room for 20; 0 to 9 are used
inline constexpr int ColorItemsUsed = 10;
// The defaults of the "Colors" section, items 0 to 10 (10 is written, never read).
inline constexpr std::array<ColorItem, 11> DefaultColorItems{{
    {16777215, 12582912, 0}, {16777215, 32768, 2},    {0, 65535, 0},
    {16777215, 16711680, 1}, {0, 12632256, 0},        {4210752, 16777215, 0},
    {16777215, 255, 0},      {16777215, 0, 0},        {16777215, 16777215, 0},
    {16777215, 255, 0},      {16777215, 16711680, 0},
}};
inline std::array<ColorItem, ColorItemCount> ColorItems{};

// The value of key in section of file, or "" when the file, section or key is
// missing. Long values come back whole.
QString ReadIniString(const QString& section, const QString& key, const QString& file);
// Writes one key; returns non-zero on success. Line breaks in value become
// blanks, so a value cannot break the file's line structure.
int WriteIniString(const QString& section, const QString& key, const QString& value,
                   const QString& file);

// The bytes of the default files (CR LF line ends).
QByteArray DefaultEditorIni();
QByteArray DefaultMacroIni();
// Writes each of "Editor.ini" and "Macro.ini" that does not exist.
void CreateDefaultIni();

// Window placement in "Editor.ini" [Window], in twips, and its state
// (0 normal, 1 minimised, 2 maximised).
struct WindowPlacement {
    double Left = -60;
    double Top = -60;
    double Width = 12120;
    double Height = 9120;
    int WindowState = 2;
};
// Reads [Directory] into DefaultDir and DefaultExt, [Line Numbers] into the
// numbering values and [Window] into the main window (when it exists). Values
// that are missing or not numbers keep their defaults.
void LoadIniSettings();
// The [Window] placement as read (defaults for bad values).
WindowPlacement ReadWindowPlacement();
// Writes [Directory] and [Window] of "Editor.ini" and [Macros] of "Macro.ini".
// A file that cannot be written is named in one message box (the rest is
// still written).
void SaveIniSettings();

// Reads the editor options from EditorOptionsKey under root; a missing key
// or value gives its default.
void LoadRegistrySettings(cRegistry& registry, platform::HKEY root);
// Writes the editor options under root.
void SaveRegistrySettings(cRegistry& registry, platform::HKEY root);
// Sets every editor option to its default (DefaultDir: the program folder).
void SetDefaultEditorOptions();

// Reads ColorItems 0 to 9 from "Editor.ini" [Colors]; a missing or
// non-numeric value keeps that item's default.
void LoadColorItems();
// Colour item index (0 to 9) as the settings file holds it, read the same way.
ColorItem ReadColorItem(int index, const QString& file);
// Gives an editing control the colours and font styles of ColorItems.
void ApplyColorItems(platform::CodeMax& text);
