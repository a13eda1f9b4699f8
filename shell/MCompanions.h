#pragma once
// The companion libraries beside the program (the About box, the metric
// conversion window) as the editor creates their classes, and their windows
// when the editor ends.

#include <QObject>
#include <QString>
#include <memory>

// Creates an object of a companion class by ProgID or class id ("{...}").
// A class not registered yet whose library lies beside the program is
// registered silently (as a plug-in is) and created again. Raises
// platform::Error 429 when that fails too, or when the library is missing.
std::unique_ptr<QObject> CreateCompanionObject(const QString& progIdOrClassId, const QString& libraryFile);

// Closes the windows the companions left open (modeless, without owner):
// every visible top-level window of the program other than the main window.
void CloseCompanionWindows(const QWidget* mainWindow);
