#include "plugins/sfm/Main.h"

#include "plugins/sfm/frmSfm.h"
#include "platform/com/ComServer.h"
#include "platform/forms/ShowModal.h"

namespace {

const platform::ComClass Classes[] = {
    {"Sfm.Main", "Main", [](QObject* parent) -> QObject* { return new Main(parent); }},
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
    frmSfm form;
    form.CallBack = this;
    platform::ShowModal(form);
    return QStringLiteral("0");
}

QString Main::PluginId() const
{
    return QStringLiteral("Surface feet per minute (SFM)");
}

QString Main::PluginDescription() const
{
    return QStringLiteral("To find surface feet per minute");
}
