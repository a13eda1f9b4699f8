#pragma once
// The compare program Brevlin as the editor runs it: started beside the
// program, its window taken into the main window's workspace where the
// desktop allows (X11), and asked to close before the editor closes.

#include <QtGlobal>

class MDIMain;

// How long the editor looks for the compare program's window after the start.
inline int CompareWindowWaitMs = 5000;

// Starts the compare program with no arguments; false when it cannot be
// started. Where windows can be adopted, looks for its window for up to
// CompareWindowWaitMs (the editor keeps painting, input waits) and shows it
// maximised in the workspace; not found, it stays a window of its own.
bool StartCompareProgram(MDIMain& main);

// Asks each compare program started from here that still runs to close (it
// asks its own questions first); false as soon as one stays open.
bool CloseComparePrograms();

// The compare programs started from here that still run.
QList<qint64> RunningComparePrograms();
