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
#include "shell/CommandLine.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QApplication>
#include <QRegularExpression>
#include <cstdio>

namespace {

// The word as a shell reads it back: in single quotes unless it is plain.
QString ShellQuoted(const QString& word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

}  // namespace

int main(int argc, char* argv[])
{
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    // Answered on the terminal, with or without a display.
    if (AsksForHelp(given)) {
        std::fputs(CommandLineHelpText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toLocal8Bit().constData(),
                   stdout);
        return 0;
    }
    if (!platform::GraphicalSessionAvailable(given)) {
        // The program as it was started: a copy installed elsewhere has no run.sh.
        std::fprintf(stderr,
                     "Pelmar needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                     "On a machine without one, start it under a virtual display: xvfb-run -a %s\n",
                     ShellQuoted(QString::fromLocal8Bit(argv[0])).toLocal8Bit().constData());
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
