// Prentil, the print program.

#include "print/CTxtPrintApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Prentil"));
    prentil::CTxtPrintApp printApp;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const int status = printApp.InitInstance(arguments);
    if (status >= 0)
        return status;
    return QApplication::exec();
}
