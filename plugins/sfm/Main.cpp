#include "plugins/sfm/Main.h"

#include "plugins/sfm/frmSfm.h"
#include "platform/com/ComServer.h"

namespace {

const platform::ComClass Classes[] = {
    {"Sfm.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
};

}  // namespace

TALVEX_COM_SERVER(Classes)
TALVEX_LIBRARY_VERSION_EXPORT()

Main::Main(QObject* parent)
    : CalcPluginMain(parent, QStringLiteral("Surface feet per minute (SFM)"),
                     QStringLiteral("To find surface feet per minute"), TALVEX_LIBRARY_VERSION)
{
}

std::unique_ptr<CalcForm> Main::MakeForm()
{
    return std::make_unique<frmSfm>();
}
