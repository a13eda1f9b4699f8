#pragma once
// The editor's main module: the start procedure, the program-wide flags that
// several windows share, the macro list, and the shared procedures that
// centre a dialog and report a program error.

#include <QString>
#include <QStringList>
#include <array>
#include <exception>
#include <functional>
#include <memory>

class MDIMain;
class QWidget;

// Starts the editor. When another instance runs for this user and program
// folder, hands the work over to it and returns null: with "/f" the running
// one opens the file (the path made absolute here), without it the running
// one only comes to the front; "/?" is answered here. Otherwise builds the
// main window (initialise, then load), shows it and returns it. Returns null
// as well when the program ended during start-up ("/?" on the command line).
// arguments are the program's arguments without the program path; a single
// existing file among them is opened as with "/f".
std::unique_ptr<MDIMain> Main(const QStringList& arguments);

// How long a later start waits for the running instance to take its work.
inline int HandOverTimeoutMs = 10000;

// The name the single-instance check and the window system know us by.
inline const QString ProgramName = QStringLiteral("Pelmar");

// Program-wide flags (false when the program starts unless noted).
inline bool DialogCancelled = false;   // a parameter dialog was cancelled; the reader clears it
inline bool TextChanged = false;       // a text changed since the last save
inline bool BulkEditRunning = false;   // a block-number command rewrites the whole text
inline bool SearchingG91 = false;      // the absolute conversion searches for "G91"
inline bool WordListShown = false;     // the word-list panel is to be shown
inline bool LineHighlightOn = false;   // the highlighted-line option is on
inline bool InsertMode = true;         // typing inserts; set when the main window initialises
inline bool MacroPlaying = false;      // a keyboard macro was started from a Macros menu
// Set only while the clipboard extender puts one of its entries back on the
// clipboard, so that its own write is not recorded; the editor's paste
// clears it as well.
inline bool SuppressClipCapture = false;

// "\Editor.html", the help, without folder: every user puts the program folder in front.
inline QString HelpFile;

// The recorded keyboard macros: their count (0 to 10) and the description of
// each slot (slot k is entry k; its key in "Macro.ini" is "Macro" & k + 1).
inline constexpr int MaxMacros = 10;
inline int Macronumber = 0;
inline std::array<QString, MaxMacros> MacroDescriptions;

// Reads the macro list at start-up. The customisation library provides it
// and the program sets it before Main; unset, the list stays empty.
inline std::function<void()> LoadMacroListHook;
// Load the macro files and the hot-key table into the editing control; each
// document window runs them when it becomes active. Unset, nothing is loaded.
inline std::function<void()> LoadMacrosHook;
inline std::function<void()> LoadHotKeysHook;
// Shows the settings dialog "Talvex Editor Properties" modal. Unset, the
// commands that show it do nothing.
inline std::function<void()> ShowEditPropHook;
// Shows the clipboard extender's window modeless, loading it on first use.
// Unset, the commands that show it do nothing.
inline std::function<void()> ShowClipExtenderHook;

// Places form centred on reference; a side that would leave the top or the
// left of reference's screen is moved back onto it.
void CenterForm(const QWidget& reference, QWidget& form);

// The program-error box: the failure's description, critical icon, OK,
// title "Talvex Editor Program Error.". The overload without a description
// must be called inside a catch handler and shows the failure being handled.
void ShowProgramError(const QString& description);
void ShowProgramError(const std::exception& failure);
void ShowProgramError();

// The description of a failure: platform::Error's own, else what().
QString FailureDescription(const std::exception& failure);
