#pragma once
// Helpers for tests that open and save files through the editor's dialogs.

#include "platform/forms/ScriptedAnswers.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>

// Answers the next file dialog as a user does: types the named files of
// folder (with the name filter at filterIndex, 1-based, when given) and
// presses its accept button, so that what the dialog does to a typed name
// (an added extension, a file that must exist) is what the test sees. A name
// an open dialog would refuse fails the test instead of showing the
// toolkit's own message box.
inline platform::ScriptedAnswers::ModalScript ChooseFiles(const QString& folder, const QStringList& names,
                                                          int filterIndex = 0)
{
    return [=](QDialog& dialog) {
        auto& files = dynamic_cast<QFileDialog&>(dialog);
        if (filterIndex > 0)
            files.selectNameFilter(files.nameFilters().at(filterIndex - 1));
        // Shown and active, as the user meets it (exec() has shown it).
        (void)QTest::qWaitForWindowActive(&dialog, 2000);
        files.setDirectory(folder);
        QStringList quoted;
        for (const QString& name : names)
            quoted.append(QLatin1Char('"') + name + QLatin1Char('"'));
        // Typed into the name box, as the dialog then reads it: what the
        // list had selected (a proposed file) is dropped first.
        const QString typed = names.size() == 1 ? names.first() : quoted.join(QLatin1Char(' '));
        files.selectFile(typed);
        auto* nameBox = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameBox != nullptr);
        nameBox->setText(typed);
        if (files.fileMode() == QFileDialog::ExistingFile || files.fileMode() == QFileDialog::ExistingFiles)
            for (const QString& path : files.selectedFiles())
                QVERIFY2(QFileInfo::exists(path), qPrintable(path + QStringLiteral(" would be refused")));
        // QFileDialog::accept(), reached through the public base.
        dialog.accept();
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
