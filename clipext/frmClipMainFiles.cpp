// History files and saving an entry's details.

#include "clipext/frmClipMain.h"

#include "clipext/ClipHistoryFile.h"
#include "platform/codemax/CodeMax.h"
#include "platform/files/AtomicWrite.h"
#include "platform/files/ReadWholeFile.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "shell/CommonDialogObject.h"
#include "shell/GShell.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/basFileDialogs.h"

#include <QDir>
#include <QListWidget>

#include <functional>

namespace {

const QString ClipFileFilter = QStringLiteral("Clipboard Files (*.CCF)|*.CCF|All Files (*.*)|*.*");
constexpr int SaveFlags = CommonDialogObject::cdlOFNCreatePrompt | CommonDialogObject::cdlOFNHideReadOnly
                          | CommonDialogObject::cdlOFNOverwritePrompt;
constexpr int OpenFlags = CommonDialogObject::cdlOFNPathMustExist | CommonDialogObject::cdlOFNFileMustExist;

// The chosen file, or "" when the user cancelled.
QString AskForFile(QWidget* owner, const QString& title, int flags, bool save, const QString& proposed,
                   const QString& folder = QString())
{
    CommonDialogObject dialog;
    dialog.DialogTitle(title);
    dialog.OwnerWindow(owner);
    dialog.CancelError(true);
    dialog.Flags(flags);
    dialog.Filter(ClipFileFilter);
    dialog.FilterIndex(1);
    dialog.FileName(proposed);
    dialog.InitDir(folder);
    try {
        if (save)
            dialog.ShowSave();
        else
            dialog.ShowOpen();
    } catch (const platform::Error& error) {
        if (error.is(CommonDialogObject::cdlCancel))
            return QString();
        throw;
    }
    return dialog.FileName();
}

// Rewrites the file through write, giving it the times and permissions
// an existing file had.
void ReplaceKeepingTimes(const QString& path, const std::function<void()>& write)
{
    KillFileKeepInfo(path);
    try {
        write();
    } catch (...) {
        RestoreFileInfo();
        throw;
    }
    RestoreFileInfo();
}

}  // namespace

void frmClipMain::SaveHistoryFile()
{
    try {
        const QString path = AskForFile(this, QStringLiteral("Save Clipboard List"), SaveFlags, true, QString());
        if (path.isEmpty())
            return;
        // The rows as shown, top down; the file is written from the entries'
        // own bytes and then replaces the old one in one step.
        clipext::ClipFilePieces file;
        for (const int index : history_.Rows()) {
            history_.Entry(index).RenderString();
            history_.Entry(index).Serialise(file);
        }
        const std::vector<QByteArrayView> pieces = file.Pieces();
        ReplaceKeepingTimes(path, [&] {
            const platform::WriteOutcome written = platform::WriteFileAtomically(path, pieces);
            if (!written)
                throw platform::Error(75, QStringLiteral("The clipboard list could not be saved to '%1': %2")
                                              .arg(QDir::toNativeSeparators(path), written.error));
        });
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
    }
}

void frmClipMain::OpenHistoryFile()
{
    try {
        const QString path = AskForFile(this, QStringLiteral("Open Clipboard File"), OpenFlags, false, QString(), DefaultDir);
        if (!path.isEmpty())
            LoadHistoryFile(path);
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
    }
}

bool frmClipMain::LoadHistoryFile(const QString& path)
{
    // Read whole, not mapped: a file cut short by another program while it
    // is being read gives a short read, not a crash.
    QByteArray bytes;
    const platform::ReadOutcome read = platform::ReadWholeFile(path, bytes);
    if (!read) {
        ShowProgramError(QStringLiteral("The file '%1' could not be read: %2").arg(path, read.error));
        return false;
    }
    const clipext::ClipFileContent content = clipext::ReadClipHistory(bytes);
    if (!content.validMagic) {
        platform::MsgBox(QStringLiteral("The file '") + path + QStringLiteral("' is not a valid clipboard file."),
                         platform::vbInformation);
        return false;
    }
    const int keep = SelectedEntry();
    history_.Load(content.records, bytes);
    RefreshHistoryList(keep);
    if (content.damaged)
        platform::MsgBox(QStringLiteral("The file '%1' is damaged: record %2 and what follows it could not be read. "
                                        "The records before it were loaded.")
                             .arg(path)
                             .arg(content.damagedRecord),
                         platform::vbExclamation);
    return true;
}

void frmClipMain::SaveEntryDetails()
{
    const int entry = SelectedEntry();
    if (entry < 0)
        return;
    try {
        const QString path = AskForFile(this, QStringLiteral("Save Clipboard Details"), SaveFlags, true,
                                        history_.Entry(entry).Filename());
        if (path.isEmpty())
            return;
        ReplaceKeepingTimes(path, [&] { edtDetails->SaveFile(path, false); });
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
    }
}

void frmClipMain::ParseCommand(const QString& commandLine)
{
    if (commandLine.isEmpty())
        return;
    const auto unquoted = [](QString text) { return text.remove(QLatin1Char('"')).trimmed(); };
    // A path is a path, even one that starts with "/p"; "/p" is a switch only
    // as a word of its own.
    QString path = unquoted(commandLine.trimmed());
    if (!FileExists(path)) {
        const QString line = commandLine.trimmed();
        if (line.startsWith(QLatin1String("/p")) && line.size() > 2
            && (line[2].isSpace() || line[2] == QLatin1Char('"')))
            path = unquoted(line.mid(2));
    }
    if (FileExists(path)) {
        LoadHistoryFile(path);
        return;
    }
    platform::MsgBox(QStringLiteral("The command line '") + commandLine + QStringLiteral("' could not be interpreted."),
                     platform::vbInformation);
}
