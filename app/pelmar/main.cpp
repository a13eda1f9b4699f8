// Pelmar, the NC program editor.

#include "clipext/frmClipMain.h"
#include "customise/MacroFiles.h"
#include "customise/frmEditProp.h"
#include "customise/frmKeys.h"
#include "customise/frmMacro.h"
#include "customise/frmMacroRemove.h"
#include "customise/PluginMenu.h"
#include "document/frmNotePad.h"
#include "nc/NcCommandFrame.h"
#include "platform/forms/Screen.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    if (!platform::GraphicalSessionAvailable(given)) {
        std::fputs("Pelmar needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                   "On a machine without one, start it under a virtual display: xvfb-run -a ./run.sh\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramName);
    QApplication::setOrganizationName(QStringLiteral("Talvex"));

    LoadMacroListHook = LoadMacroList;
    LoadMacrosHook = LoadMacros;
    LoadHotKeysHook = LoadHotKeys;
    ShowMacroCreateHook = ShowMacroCreate;
    ShowMacroRemoveHook = ShowMacroRemove;
    ShowKeysHook = ShowKeys;
    DeleteAllMacrosHook = DeleteAllMacros;
    ShowEditPropHook = ShowEditProp;
    CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
    InstallNcCommandHooks();
    ShowClipExtenderHook = [] { frmClipMain::ShowDefault(); };
    ScanPluginsHook = [](frmNotePad& window) { ScanPlugins(window, *window.mnuPlugins); };

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const std::unique_ptr<MDIMain> window = Main(arguments);
    if (!window)
        return 0;
    return QApplication::exec();
}
