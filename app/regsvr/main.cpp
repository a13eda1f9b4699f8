// regsvr: registers the classes of a library (see platform/com/Regsvr.h).
#include "platform/com/Regsvr.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <memory>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Silent runs need no display: the host runs the tool while it waits.
    const bool silent = arguments.contains(QStringLiteral("/s"), Qt::CaseInsensitive)
                        || arguments.contains(QStringLiteral("-s"), Qt::CaseInsensitive);
    std::unique_ptr<QCoreApplication> app;
    if (silent)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    return platform::RegsvrMain(arguments);
}
