// Brevlin, the compare program: two NC programs side by side, line by line.

#include "compare/frmCompare.h"
#include "platform/desktop/CloseRequest.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brevlin"));
    QApplication::setOrganizationName(QStringLiteral("Talvex"));

    frmCompare window;
    if (!window.Form_Load())
        return 1;
    // The editor that started us asks us to close before it closes.
    platform::CloseRequestListener closeRequests([&window] { return window.close(); });
    QApplication::setQuitOnLastWindowClosed(true);
    window.showMaximized();
    return QApplication::exec();
}
