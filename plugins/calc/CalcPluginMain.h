#pragma once

#include "platform/com/ComServer.h"

#include <QObject>
#include <QString>
#include <memory>

class CalcForm;

// What the three calculator plug-ins' Main classes share: contract 1.0.0 (no
// host object); a start shows the calculator's window modally and leaves
// nothing to insert.
class CalcPluginMain : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString strReturn MEMBER strReturn)

public:
    // Text for the host to insert after the start; the calculators leave it empty.
    QString strReturn;

    Q_INVOKABLE QString PluginVersion() const;
    Q_INVOKABLE QString PluginStart();
    Q_INVOKABLE QString PluginId() const;
    Q_INVOKABLE QString PluginDescription() const;

protected:
    // version: the plug-in library's own, which PluginVersion gives as text.
    CalcPluginMain(QObject* parent, QString id, QString description, platform::LibraryVersion version);
    // The calculator's window, made anew for each start.
    virtual std::unique_ptr<CalcForm> MakeForm() = 0;

private:
    QString id_;
    QString description_;
    platform::LibraryVersion version_;
};
