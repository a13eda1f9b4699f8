#include "print/PrintCommandLineInfo.h"

namespace prentil {

PrintCommandLineInfo ParsePrintCommandLine(const QStringList& arguments,
                                           const std::function<bool(const QString&)>& exists)
{
    PrintCommandLineInfo info;
    for (const QString& argument : arguments) {
        const bool switchLike = argument.size() > 1
                                && (argument.front() == QLatin1Char('/') || argument.front() == QLatin1Char('-'));
        if (switchLike) {
            const QString word = argument.mid(1);
            if (word == QStringLiteral("p") || word == QStringLiteral("P") || word == QStringLiteral("print")) {
                info.printAndExit = true;
                continue;
            }
            if (word == QStringLiteral("dde")) {
                info.dde = true;
                continue;
            }
            // An unknown switch; a path ("/home/...") or a file that exists is a file.
            if (!word.contains(QLatin1Char('/')) && !exists(argument))
                continue;
        }
        if (!argument.isEmpty())
            info.files.append(argument);
    }
    return info;
}

}  // namespace prentil
