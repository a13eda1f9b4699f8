#include "plugins/calc/CalcPluginMain.h"

#include "plugins/calc/CalcForm.h"
#include "platform/forms/ShowModal.h"

CalcPluginMain::CalcPluginMain(QObject* parent, QString id, QString description)
    : QObject(parent), id_(std::move(id)), description_(std::move(description))
{
}

QString CalcPluginMain::PluginVersion() const
{
    return QStringLiteral("1.0.0");
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
