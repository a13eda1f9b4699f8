#include "shell/frmHelp.h"

#include "platform/desktop/HelpWindow.h"
#include "platform/forms/ProgramFolder.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

void ShowHelpTopics()
{
    platform::ShowHelpFile(platform::ProgramFile(HelpFile), QStringLiteral("Talvex Editor Help Topics"),
                           QStringLiteral("Talvex Editor"), MDIMain::Instance());
}
