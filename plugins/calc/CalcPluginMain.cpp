#include "plugins/calc/CalcPluginMain.h"

#include "plugins/calc/CalcForm.h"
#include "platform/forms/ShowModal.h"

CalcPluginMain::CalcPluginMain(QObject* parent, QString id, QString description,
                               platform::LibraryVersion version)
    : QObject(parent), id_(std::move(id)), description_(std::move(description)), version_(version)
{
}

QString CalcPluginMain::PluginVersion() const
{
    return platform::VersionText(version_);
}

QString CalcPluginMain::PluginStart()
{
    const std::unique_ptr<CalcForm> form = MakeForm();
    form->CallBack = this;
    platform::ShowModal(*form);
    return QStringLiteral("0");
}

QString CalcPluginMain::PluginId() const
{
    return id_;
}

QString CalcPluginMain::PluginDescription() const
{
    return description_;
}
