#pragma once
// A program folder of its own for a test: the registration tool beside the
// program, the four plug-ins in its Plugins folder, and an empty registry.

#include "platform/registry/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

class PluginFolder {
public:
    PluginFolder()
    {
        m_ok = m_dir.isValid();
        const QString program = m_dir.filePath(QStringLiteral("program"));
        const QString registry = m_dir.filePath(QStringLiteral("registry"));
        m_ok = m_ok && QDir().mkpath(Plugins()) && QDir().mkpath(registry);
        qputenv("TALVEX_PROGRAM_DIR", program.toLocal8Bit());
        qputenv("TALVEX_REGISTRY_DIR", registry.toLocal8Bit());
        platform::SetRegistryFolder(registry);
        const QString bin = QStringLiteral(TALVEX_BIN);
        m_ok = m_ok && QFile::copy(bin + QStringLiteral("/regsvr"), program + QStringLiteral("/regsvr"))
               && QFile::setPermissions(program + QStringLiteral("/regsvr"),
                                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char* file : {"STATS.so", "Sfm.so", "Tornel.so", "Avanco.so"}) {
            const QString name = QString::fromLatin1(file);
            m_ok = m_ok && QFile::copy(bin + QStringLiteral("/Plugins/") + name, Plugins() + u'/' + name);
        }
    }

    bool IsValid() const { return m_ok; }
    QString Plugins() const { return m_dir.filePath(QStringLiteral("program/Plugins")); }
    QString Library(const QString& file) const { return Plugins() + u'/' + file; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};
