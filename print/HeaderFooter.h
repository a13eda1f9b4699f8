#pragma once
// The header and footer bands: which fields the option bits ask for, the
// height of a band and its texts. Drawing is the sheet painter's.

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace prentil {

inline constexpr int OptFileName = 0x01;
inline constexpr int OptFullPath = 0x02;
inline constexpr int OptPageNumber = 0x04;
inline constexpr int OptPagesTotal = 0x08;
inline constexpr int OptDateModified = 0x10;
inline constexpr int OptTimeModified = 0x20;
inline constexpr int OptDatePrinted = 0x40;
inline constexpr int OptTimePrinted = 0x80;
inline constexpr int OptGrayBackground = 0x100;

inline constexpr int OptNameBits = OptFileName | OptFullPath;
inline constexpr int OptPageBits = OptPageNumber | OptPagesTotal;
inline constexpr int OptDateBits = OptDateModified | OptTimeModified | OptDatePrinted | OptTimePrinted;

// The band's height for header line height h: 2h + h/2 with a name row and
// a dates row, h + h/2 with any field, 0 with none.
int BandHeight(int options, int h);

// "Page", " n" with the page number bit, " of N" with the pages total bit;
// empty without either.
QString PageText(int options, int page, int pageCount);
// "Printed:" / "Modified:" with the date and time the bits ask for; empty
// when neither bit is set.
QString StampText(const QString& label, int dateBit, int timeBit, int options, const QDateTime& when,
                  const QLocale& locale = QLocale());
// The locale's date, and its time with seconds, with an AM/PM marker only
// where the locale's own format has one.
QString StampDate(const QDateTime& when, const QLocale& locale = QLocale());
QString StampTime(const QDateTime& when, const QLocale& locale = QLocale());

}  // namespace prentil
