#pragma once
// Brevlin's start: the editor it needs, and the folder its dialogs start in.

#include "platform/registry/Registry.h"

#include <QString>

// The folder the Open and Save dialogs start in (GetDefaultDir).
inline QString CompareDefaultDir;
// The suite's help, which the editor shows too, and the anchor of its section on comparing.
inline const QString CompareHelpFile = QStringLiteral("\\Editor.html");
inline const QString CompareHelpAnchor = QStringLiteral("compare");

// Ways of matching a window title (FindWindowPart).
inline constexpr int TitleStartsWith = 0;
inline constexpr int TitleContains = 1;
inline constexpr int TitleEquals = 2;

// Reads the editor's default folder under root: the editor's own settings
// key first, then the older one, then the program folder.
void GetDefaultDir(platform::HKEY root);

// Whether a window title matches text by the method; a title that is empty
// never matches.
bool TitleMatches(const QString& title, const QString& text, int method, bool caseSensitive);

// The first top-level window (visible or not) whose title matches, restored
// and brought to the front; 0 when none (or windows cannot be listed).
quint64 FindWindowPart(const QString& text, int method, bool caseSensitive);

// Whether the editor runs: by its main window's title where windows can be
// listed (X11), else through the editor's single-instance channel (which
// also brings it to the front).
bool EditorIsRunning();
