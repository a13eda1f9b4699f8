#include "plugins/avanco/Main.h"

#include "plugins/avanco/frmIPM.h"
#include "platform/com/ComServer.h"

namespace {

const platform::ComClass Classes[] = {
    {"Avanco.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
};

}  // namespace

TALVEX_COM_SERVER(Classes)
TALVEX_LIBRARY_VERSION_EXPORT()

Main::Main(QObject* parent)
    : CalcPluginMain(parent, QStringLiteral("Feed rate inches per minute (IPM)"),
                     QStringLiteral("To find feed rate in inches per minute (IPM)"), TALVEX_LIBRARY_VERSION)
{
}

std::unique_ptr<CalcForm> Main::MakeForm()
{
    return std::make_unique<frmIPM>();
}
