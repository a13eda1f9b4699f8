#pragma once
// A program folder of its own for a test: the registration tool and the
// companion libraries beside the program, and the registry the tool writes
// into (this process and the tool see the same one).

#include "platform/registry/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class CompanionFolder {
public:
    // With libraries false, only the registration tool is laid out.
    explicit CompanionFolder(bool libraries = true, const QString& programFolder = QString())
    {
        previousProgram_ = qgetenv("TALVEX_PROGRAM_DIR");
        previousRegistry_ = qgetenv("TALVEX_REGISTRY_DIR");
        program_ = programFolder.isEmpty() ? dir_.filePath(QStringLiteral("program")) : programFolder;
        const QString registry = dir_.filePath(QStringLiteral("registry"));
        ok_ = dir_.isValid() && QDir().mkpath(program_) && QDir().mkpath(registry);
        qputenv("TALVEX_PROGRAM_DIR", program_.toLocal8Bit());
        qputenv("TALVEX_REGISTRY_DIR", registry.toLocal8Bit());
        platform::SetRegistryFolder(registry);
        const QString bin = QStringLiteral(TALVEX_BIN);
        QStringList files{QStringLiteral("regsvr")};
        if (libraries)
            files << QStringLiteral("KroOlvent.so") << QStringLiteral("KroMetric.so");
        for (const QString& file : files)
            ok_ = ok_ && QFile::copy(bin + u'/' + file, Path(file));
        ok_ = ok_ && QFile::setPermissions(Path(QStringLiteral("regsvr")),
                                           QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~CompanionFolder()
    {
        platform::SetRegistryFolder(QString());
        qputenv("TALVEX_PROGRAM_DIR", previousProgram_);
        qputenv("TALVEX_REGISTRY_DIR", previousRegistry_);
    }
    CompanionFolder(const CompanionFolder&) = delete;
    CompanionFolder& operator=(const CompanionFolder&) = delete;

    bool IsValid() const { return ok_; }
    QString Path(const QString& file) const { return program_ + u'/' + file; }

private:
    QTemporaryDir dir_;
    QString program_;
    QByteArray previousProgram_, previousRegistry_;
    bool ok_ = false;
};
