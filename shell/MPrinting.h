#pragma once
// The printing helpers: the quick print of a piece of text on the program's
// printer, and the printer set-up.

#include <QString>
#include <QStringList>

class QPrinter;

// The printed lines of a quick print: the text is cut into lines of at most
// 80 characters, at a line break (CR LF, LF or a lone CR) within the first
// 80, else after the last blank within them, else after 80 characters; the
// rest, shorter than 81, is cut at its line breaks.
QStringList QuickPrintLines(const QString& text);

// Prints text on printer (the program's printer, ApplicationPrinter, by
// default) as QuickPrintLines cuts it, in a fixed-pitch font, as one print
// job. The clipboard is not touched. Empty text says "There is no text
// selected to print." (title "Quick Print Error") and prints nothing. A
// printer that writes a file (the last print went to one) first asks where,
// as a save does, and prints nothing when that is cancelled; the file chosen
// becomes the printer's.
// A printer that cannot start raises platform::Error 75.
void PrintSelection(const QString& text);
void PrintSelection(const QString& text, QPrinter& printer);

// The printer set-up dialog, owned by the main window: the printer chosen
// is the one the program prints on. Cancel and errors end it quietly.
void ShowPrintSetup();
