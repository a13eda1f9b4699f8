#include "plugins/stats/Main.h"

#include "plugins/stats/frmStats.h"
#include "platform/com/ComServer.h"
#include "platform/forms/ShowModal.h"

namespace {

const platform::ComClass Classes[] = {
    {"Stats.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
};

}  // namespace

TALVEX_COM_SERVER(Classes)
TALVEX_LIBRARY_VERSION_EXPORT()

Main::Main(QObject* parent) : QObject(parent) {}

void Main::HostAppObject(QObject* host)
{
    SetHostObject(host);
}

QString Main::PluginVersion() const
{
    return platform::VersionText(TALVEX_LIBRARY_VERSION);
}

QString Main::PluginStart()
{
    frmStats form;
    form.CallBack = this;
    platform::ShowModal(form);
    return QStringLiteral("0");
}

QString Main::PluginId() const
{
    return QStringLiteral("Program Statistics");
}

QString Main::PluginDescription() const
{
    return QStringLiteral("Program Statistics");
}
