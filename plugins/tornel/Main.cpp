#include "plugins/tornel/Main.h"

#include "plugins/tornel/frmRPM.h"
#include "platform/com/ComServer.h"

namespace {

const platform::ComClass Classes[] = {
    {"Tornel.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
};

}  // namespace

TALVEX_COM_SERVER(Classes)
TALVEX_LIBRARY_VERSION_EXPORT()

Main::Main(QObject* parent)
    : CalcPluginMain(parent, QStringLiteral("Revolutions per minute (RPM)"),
                     QStringLiteral("To find revolutions per minute"), TALVEX_LIBRARY_VERSION)
{
}

std::unique_ptr<CalcForm> Main::MakeForm()
{
    return std::make_unique<frmRPM>();
}
