#pragma once
// Prentil's string table: every text the program shows, by its resource number.

#include <QString>

namespace prentil {

inline const QString IDS_DEFAULT_EXTENSION = QStringLiteral("Default");                  // 61446
inline const QString IDS_TAB_FILES = QStringLiteral("FILES");                            // 61447
inline const QString IDS_TAB_PAPER = QStringLiteral("Paper");                            // 61448
inline const QString IDS_TAB_PAGE = QStringLiteral("Page");                              // 61449
inline const QString IDS_TAB_HEADER_FOOTER = QStringLiteral("Header/Footer");            // 61450
inline const QString IDS_TAB_FONT = QStringLiteral("Font");                              // 61451
inline const QString IDS_TAB_FILE_EXT = QStringLiteral("File ext.");                     // 61452
inline const QString IDS_CANNOT_OPEN = QStringLiteral("Cannot open file %1");            // 61453
inline const QString IDS_MARGIN_WARNING = QStringLiteral(
    "The printer margins you have specified\nare outside the printer's printable area.\n"
    "Do you want to continue printing?");                                                 // 61454
inline const QString IDS_INVALID_ROWS_COLUMNS =
    QStringLiteral("Invalid number of virtual rows or colums, printing is aborted");     // 61455
inline const QString IDS_ERROR = QStringLiteral("Error");                                // 61456
inline const QString IDS_WARNING = QStringLiteral("Warning");                            // 61457
inline const QString IDS_PAGE_OF = QStringLiteral("Page %u of ");                        // 61460
inline const QString IDS_PAGES_OF = QStringLiteral("\nPages %u-%u of ");                 // 61461
inline const QString IDS_PRINTED = QStringLiteral("Printed:");                           // 61462
inline const QString IDS_MODIFIED = QStringLiteral("Modified:");                         // 61463
inline const QString IDS_PAGE = QStringLiteral("Page");                                  // 61464
inline const QString IDS_OF = QStringLiteral("of");                                      // 61465
inline const QString IDS_STYLE_NORMAL = QStringLiteral("Normal");                        // 61466
inline const QString IDS_STYLE_BOLD = QStringLiteral("Bold");                            // 61467
inline const QString IDS_STYLE_ITALIC = QStringLiteral("Italic");                        // 61468
inline const QString IDS_STYLE_BOLD_ITALIC = QStringLiteral("Bold Italic");              // 61469
inline const QString IDS_APP_DESCRIPTION = QStringLiteral("Prentil English version 1.0");  // 57344

// Messages of our own, for what the old program let pass silently.
inline const QString IDS_NO_PAGES_CHOSEN =
    QStringLiteral("Neither odd nor even pages are chosen, so there is nothing to print.");
inline const QString IDS_PAGE_TOO_SMALL = QStringLiteral(
    "The virtual page leaves no room for one line or one character with these margins, "
    "rows, columns and font; printing is aborted.");
inline const QString IDS_NO_PRINTER = QStringLiteral("There is no default printer to print on.");
inline const QString IDS_PRINT_FAILED = QStringLiteral("The printer or the file to print into cannot be opened.");
inline const QString IDS_NO_FILES_GIVEN =
    QStringLiteral("No file to print: give the files after the switch, as in \"Prentil /p a.nc b.nc\".");
inline const QString IDS_BAD_TAB_SPACING = QStringLiteral("The tab spacing must be 1 or more.");
inline const QString IDS_BAD_EXTENSION = QStringLiteral("Enter an extension that is not listed yet.");

// The application's name under the settings key, and the window's title.
inline const QString AppName = QStringLiteral("Prentil");
inline const QString AppVersionText = QStringLiteral("Prentil Version 1.0");

}  // namespace prentil
