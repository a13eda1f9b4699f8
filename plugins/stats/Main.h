#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

// The statistics plug-in's class: it takes the host object (contract 1.1.0)
// and reads the active program through it.
class Main : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString strReturn MEMBER strReturn)
    Q_PROPERTY(QObject* HostObject READ GetHostObject WRITE SetHostObject)

public:
    explicit Main(QObject* parent = nullptr);

    // Text for the host to insert after the start; this plug-in leaves it empty.
    QString strReturn;

    QObject* GetHostObject() const { return m_hostObject; }
    void SetHostObject(QObject* host) { m_hostObject = host; }

    // The host hands over its host object here (a write-only property).
    Q_INVOKABLE void HostAppObject(QObject* host);
    Q_INVOKABLE QString PluginVersion() const;
    Q_INVOKABLE QString PluginStart();
    Q_INVOKABLE QString PluginId() const;
    Q_INVOKABLE QString PluginDescription() const;

private:
    // Guarded: a host object that goes first leaves no dangling pointer.
    QPointer<QObject> m_hostObject;
};
