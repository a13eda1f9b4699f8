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
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QApplication>

int main(int argc, char* argv[])
{
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
