#pragma once
// Helpers for tests that open and save files through the editor's dialogs.

#include "platform/forms/ScriptedAnswers.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>

// Answers the next file dialog: chooses the named files of folder (with the
// name filter at filterIndex, 1-based, when given) and accepts. The choice
// is not checked against the disk, so a test can name a missing file.
inline platform::ScriptedAnswers::ModalScript ChooseFiles(const QString& folder, const QStringList& names,
                                                          int filterIndex = 0)
{
    return [=](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        if (filterIndex > 0)
            files.selectNameFilter(files.nameFilters().at(filterIndex - 1));
        files.setDirectory(folder);
        QStringList quoted;
        for (const QString& name : names)
            quoted.append(QLatin1Char('"') + name + QLatin1Char('"'));
        files.selectFile(names.size() == 1 ? names.first() : quoted.join(QLatin1Char(' ')));
        dialog.done(QDialog::Accepted);
    };
}

// Answers the next dialog with Cancel.
inline platform::ScriptedAnswers::ModalScript CancelDialog()
{
    return [](QDialog& dialog) { dialog.reject(); };
}

// While alive, no file can grow past a few kilobytes, as on a full disk:
// a save of a larger text fails half way, for root too.
class FullDisk {
public:
    FullDisk()
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        struct rlimit small = old_;
        small.rlim_cur = 4096;
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    struct rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
};

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
