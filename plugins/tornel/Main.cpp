#include "plugins/tornel/Main.h"

#include "plugins/tornel/frmRPM.h"
#include "platform/com/ComServer.h"
#include "platform/forms/ShowModal.h"

namespace {

const platform::ComClass Classes[] = {
    {"Tornel.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
};

}  // namespace

TALVEX_COM_SERVER(Classes)

Main::Main(QObject* parent) : QObject(parent) {}

QString Main::PluginVersion() const
{
    return QStringLiteral("1.0.0");
}

QString Main::PluginStart()
{
    frmRPM form;
    form.CallBack = this;
    platform::ShowModal(form);
    return QStringLiteral("0");
}

QString Main::PluginId() const
{
    return QStringLiteral("Revolutions per minute (RPM)");
}

QString Main::PluginDescription() const
{
    return QStringLiteral("To find revolutions per minute");
}
