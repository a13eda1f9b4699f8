#pragma once

#include <QObject>
#include <QString>

// The spindle-speed (Tornel) plug-in's class (contract 1.0.0: it takes no host object).
class Main : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString strReturn MEMBER strReturn)

public:
    explicit Main(QObject* parent = nullptr);

    // Text for the host to insert after the start; this plug-in leaves it empty.
    QString strReturn;

    Q_INVOKABLE QString PluginVersion() const;
    Q_INVOKABLE QString PluginStart();
    Q_INVOKABLE QString PluginId() const;
    Q_INVOKABLE QString PluginDescription() const;
};
