#include "print/HeaderFooter.h"

#include "print/PrintStrings.h"

namespace prentil {

int BandHeight(int options, int h)
{
    if ((options & OptNameBits) != 0 && (options & OptDateBits) != 0)
        return 2 * h + h / 2;
    if ((options & 0xFF) != 0)
        return h + h / 2;
    return 0;
}

QString PageText(int options, int page, int pageCount)
{
    if ((options & OptPageBits) == 0)
        return QString();
    QString text = IDS_PAGE;
    if ((options & OptPageNumber) != 0)
        text += QLatin1Char(' ') + QString::number(page);
    if ((options & OptPagesTotal) != 0)
        text += QLatin1Char(' ') + IDS_OF + QLatin1Char(' ') + QString::number(pageCount);
    return text;
}

QString StampDate(const QDateTime& when, const QLocale& locale)
{
    return locale.toString(when.date(), QLocale::ShortFormat);
}

QString StampTime(const QDateTime& when, const QLocale& locale)
{
    // The long format has seconds and, where the locale uses one, its AM/PM
    // marker; the time zone it may add is dropped.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(when.time(), format.trimmed());
}

QString StampText(const QString& label, int dateBit, int timeBit, int options, const QDateTime& when,
                  const QLocale& locale)
{
    if ((options & (dateBit | timeBit)) == 0)
        return QString();
    QString text = label;
    if ((options & dateBit) != 0)
        text += QLatin1Char(' ') + StampDate(when, locale);
    if ((options & timeBit) != 0)
        text += QLatin1Char(' ') + StampTime(when, locale);
    return text;
}

}  // namespace prentil
