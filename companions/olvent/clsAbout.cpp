#include "companions/olvent/clsAbout.h"

#include "companions/olvent/frmAbout.h"
#include "platform/com/ComServer.h"

#include <QPointer>

namespace {

const platform::ComClass Classes[] = {
    {"KroOlvent.clsAbout", "clsAbout", [](QObject* parent) -> QObject* { return new clsAbout(parent); }},
};

// The window while it is open; a closed window is gone, so the next call builds a fresh one.
QPointer<frmAbout> Window;

}  // namespace

TALVEX_COM_SERVER(Classes)

clsAbout::clsAbout(QObject* parent) : QObject(parent) {}

void clsAbout::ShowAbout()
{
    if (!Window) {
        Window = new frmAbout(true);
        Window->setAttribute(Qt::WA_DeleteOnClose);
        // The program's main window decides when the program ends, not this one.
        Window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    Window->show();
    Window->raise();
    Window->activateWindow();
}
