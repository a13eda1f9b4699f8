#include "plugins/avanco/Main.h"

#include "plugins/avanco/frmIPM.h"
#include "platform/com/ComServer.h"
#include "platform/forms/ShowModal.h"

namespace {

const platform::ComClass Classes[] = {
    {"Avanco.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
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
    frmIPM form;
    form.CallBack = this;
    platform::ShowModal(form);
    return QStringLiteral("0");
}

QString Main::PluginId() const
{
    return QStringLiteral("Feed rate inches per minute (IPM)");
}

QString Main::PluginDescription() const
{
    return QStringLiteral("To find feed rate in inches per minute (IPM)");
}
