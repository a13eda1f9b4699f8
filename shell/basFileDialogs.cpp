#include "shell/basFileDialogs.h"

#include "platform/codemax/CodeMax.h"
#include "platform/files/SaveJournal.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/WaitCursor.h"
#include "shell/CommonDialogObject.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/MRecentFiles.h"
#include "shell/mStrings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <optional>

namespace {

const QChar Nul(u'\0');

QWidget* MainWindow()
{
    return MDIMain::Instance();
}

void SetFilters(QFileDialog& dialog, const QString& filter, int filterIndex)
{
    const QStringList filters = CommonDialogObject::NameFilters(filter);
    if (filters.isEmpty())
        return;
    dialog.setNameFilters(filters);
    const qsizetype index = std::clamp<qsizetype>(filterIndex, 1, filters.size()) - 1;
    dialog.selectNameFilter(filters[index]);
}

// Refuses before any window is made what the editing control cannot load.
void CheckReadable(const QString& path)
{
    const QFileInfo info(path);
    if (path.trimmed().isEmpty() || !info.exists())
        throw platform::Error(53, QStringLiteral("File not found: %1").arg(path));
    if (!info.isFile() || !info.isReadable())
        throw platform::Error(75, QStringLiteral("The file %1 cannot be read.").arg(path));
}

// A file another program wrote after the document read or saved it (a
// post-processor writing it again) is overwritten only when the user says so.
bool MayOverwrite(DocumentForm& window, const QString& path)
{
    const platform::CodeMax* text = window.Text1();
    const QString full = QFileInfo(path).absoluteFilePath();
    if (text == nullptr || !text->FileChangedOnDisk(full))
        return true;
    return platform::MsgBox(QStringLiteral("%1 was changed by another program after it was opened or last saved "
                                           "here.\r\n\r\nDo you want to overwrite it? The other program's changes "
                                           "will be lost.")
                                .arg(full),
                            platform::vbYesNo | platform::vbExclamation | platform::vbDefaultButton2)
           == platform::vbYes;
}

bool Save(DocumentForm& window, const QString& path, bool asNew)
{
    if (!MayOverwrite(window, path))
        return false;
    std::optional<platform::WaitCursor> wait(std::in_place);
    try {
        platform::CodeMax* text = window.Text1();
        if (text == nullptr)
            throw platform::Error(91, QStringLiteral("The document has no text to save."));
        const QString full = QFileInfo(path).absoluteFilePath();
        text->SaveFile(full, true);
        const QString upper = full.toUpper();
        window.Caption(asNew ? GetFileTitle(upper) : upper);
        const int slot = SlotOf(window);
        if (slot >= 1 && slot <= MaxDocuments)
            DocumentPaths[static_cast<size_t>(slot - 1)] = upper;
        window.FilePath = full;
        return true;
    } catch (...) {
        wait.reset();
        ShowProgramError();
        return false;
    }
}

}  // namespace

QString ShowFileDialog(QWidget* owner, const QString& title, const QString& filter, int filterIndex,
                       const QString& proposedName, const QString& initialFolder,
                       const QString& defaultExt, int mode)
{
    const QString folder = initialFolder.isEmpty() ? QDir::currentPath() : initialFolder;
    QFileDialog dialog(owner, title, folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialog(dialog);
    const bool save = mode == SaveFileDialog || mode == SaveFileDialogNoPrompt;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || mode == OpenFileDialogCreate ? QFileDialog::AnyFile
                                                            : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    SetFilters(dialog, filter, filterIndex);
    // A name typed into an open dialog is the file's whole name: NC programs
    // are often called "O1000", with no extension.
    if (save && !defaultExt.isEmpty())
        dialog.setDefaultSuffix(defaultExt);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    for (;;) {
        if (platform::ShowModal(dialog) != QDialog::Accepted)
            return QString();
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty())
            return QString();
        const QString path = chosen.first().trimmed();
        if (mode != SaveFileDialog || !QFileInfo(path).isFile() || CommonDialogObject::ConfirmReplace(path, title))
            return path;
        dialog.selectFile(path);
    }
}

QString ShowOpenFilesDialog(QWidget* owner, const QString& title, const QString& filter,
                            int filterIndex, const QString& proposedName, const QString& defaultExt)
{
    const QString folder = DefaultDir.isEmpty() ? QDir::currentPath() : DefaultDir;
    QFileDialog dialog(owner, title, folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    SetFilters(dialog, filter, filterIndex);
    // No default extension: the typed name is opened as it stands.
    Q_UNUSED(defaultExt);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (platform::ShowModal(dialog) != QDialog::Accepted)
        return QString();
    QStringList files;
    for (const QString& file : dialog.selectedFiles())
        if (!file.trimmed().isEmpty())
            files.append(QFileInfo(file).absoluteFilePath());
    if (files.isEmpty())
        return QString();
    if (files.size() == 1)
        return files.first();
    // The folder all the files are in, then each file's name within it.
    QString common = QFileInfo(files.first()).absolutePath();
    const auto inside = [](const QString& folder, const QString& file) {
        return file.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
    };
    for (const QString& file : std::as_const(files))
        while (!inside(common, file) && QDir(common).cdUp())
            common = QFileInfo(common).absolutePath();
    QString result = common + Nul;
    for (const QString& file : std::as_const(files))
        result += QDir(common).relativeFilePath(file) + Nul;
    return result;
}

void OpenFiles()
{
    try {
        const QString result = ShowOpenFilesDialog(
            MainWindow(), QStringLiteral("Open File(s)"),
            DefaultExt.trimmed() + QStringLiteral("|All Files (*.*)|*.*"), 0, QString(),
            QStringLiteral("txt"));
        if (result.isEmpty()) {
            DialogCancelled = true;
            return;
        }
        platform::DoEvents();
        QString list = result;
        while (list.endsWith(Nul))
            list.chop(1);
        const QStringList items = SplitToArray(list, QString(Nul));
        if (items.size() == 1) {
            if (OpenFileInWindow(items.first(), false))
                UpdateRecentFiles(items.first());
        } else if (items.size() > 1) {
            const QDir folder(items.first());
            for (qsizetype i = 1; i < items.size(); ++i) {
                const QString path = folder.filePath(items[i]);
                if (OpenFileInWindow(path, false)) {
                    platform::DoEvents();
                    UpdateRecentFiles(path);
                }
            }
            if (MDIMain* main = MDIMain::Instance())
                main->Arrange(vbTileVertical);
        }
        platform::SetWaitCursor(false);
    } catch (...) {
        platform::SetWaitCursor(false);
        platform::MsgBox(QStringLiteral("An error ocurred trying to open file."), platform::vbCritical,
                         QStringLiteral("Talvex Editor Error"));
    }
}

bool OpenFileInWindow(const QString& path, bool flag)
{
    int slot = 0;
    QString previousPath;
    QPointer<DocumentForm> window;
    // Reading a long program takes a while, whoever asked for it (a drop,
    // "/f", a recent file).
    std::optional<platform::WaitCursor> wait(std::in_place);
    try {
        CheckReadable(path);
        const QString full = QFileInfo(path).absoluteFilePath();
        const QString title = GetFileTitle(full);
        slot = FindFreeDocumentIndex();
        previousPath = DocumentPaths[static_cast<size_t>(slot - 1)];
        DocumentPaths[static_cast<size_t>(slot - 1)] = title;
        window = DocumentWindow(slot);
        if (window == nullptr)
            window = CreateDocumentWindow(slot);
        MDIMain::Instance()->ShowDocument(window);
        platform::CodeMax* text = window->Text1();
        if (text == nullptr)
            throw platform::Error(91, QStringLiteral("The document window has no text."));
        // A save of it cut short (the program killed, the power lost) is
        // rolled back before it is read, or, when the file was changed
        // since, its old content kept apart; the user is told either way.
        const platform::RecoveryOutcome recovered = platform::RecoverInterruptedSave(full);
        text->OpenFile(full);
        text->SetReadOnly(flag);
        window->Tag = QString::number(slot);
        window->FilePath = full;
        window->Caption(title.toUpper());
        UpdateStatusBar();
        if (recovered.kind != platform::RecoveryOutcome::Kind::Nothing) {
            wait.reset();
            platform::MsgBox(recovered.message, recovered.kind == platform::RecoveryOutcome::Kind::Failed
                                                    ? platform::vbExclamation
                                                    : platform::vbInformation);
        }
        return true;
    } catch (...) {
        // The message is read with the normal pointer, which stays after it.
        wait.reset();
        platform::SetWaitCursor(false);
        ShowProgramError();
        if (slot > 0) {
            // Give back what was taken: the window (which releases its slot) or the slot.
            if (window) {
                window->Tag = QString::number(slot);
                UnloadDocument(*window, vbFormCode, false);
            }
            if (slot <= DocumentSlotCount() && !DocumentState[static_cast<size_t>(slot)].Free)
                FreeDocumentIndex(slot);
            DocumentPaths[static_cast<size_t>(slot - 1)] = previousPath;
        }
        return false;
    }
}

QString GetFileTitle(const QString& path)
{
    if (path.startsWith(QLatin1String("Untitled")) || DisplayPath != 0)
        return path;
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.mid(slash + 1);
}

bool GetSaveAsFileName(QString& path, DocumentForm* window)
{
    path.clear();
    DocumentForm* form = window != nullptr ? window : ActiveDocumentForm();
    QString proposal;
    if (form != nullptr)
        proposal = form->IsUntitled()
                       ? QStringLiteral("Editor") + form->Caption().mid(9) + QStringLiteral(".cnc")
                       : form->FilePath;
    const QString filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    CommonDialogObject dialog;
    dialog.DialogTitle(QStringLiteral("Save As"));
    dialog.CancelError(true);
    dialog.OwnerWindow(MainWindow());
    dialog.FileName(proposal);
    dialog.Flags(CommonDialogObject::cdlOFNOverwritePrompt | CommonDialogObject::cdlOFNHideReadOnly
                 | CommonDialogObject::cdlOFNCreatePrompt);
    dialog.InitDir(DefaultDir);
    dialog.Filter(filter);
    dialog.FilterIndex(2);
    try {
        dialog.ShowSave();
    } catch (...) {
        // Cancel, or a dialog that failed: no file was chosen.
        path.clear();
        DialogCancelled = true;
        return true;
    }
    path = dialog.FileName();
    if (path.isEmpty()) {
        DialogCancelled = true;
        return true;
    }
    return false;
}

bool SaveDocument(DocumentForm& window, const QString& path)
{
    return Save(window, path, false);
}

bool SaveDocumentAs(DocumentForm& window, const QString& path)
{
    return Save(window, path, true);
}

QString InsertFileDialog()
{
    CommonDialogObject dialog;
    dialog.DialogTitle(QStringLiteral("File Insert Open"));
    dialog.CancelError(true);
    dialog.OwnerWindow(MainWindow());
    dialog.Flags(CommonDialogObject::cdlOFNPathMustExist | CommonDialogObject::cdlOFNFileMustExist);
    dialog.InitDir(DefaultDir);
    dialog.Filter(QStringLiteral(
        "APTCL Files(*.apt)|*.apt|Backup Files(*.bak)|*.bak|List Files (*.lst)|*.lst|"
        "Okuma Files (*.min)|*.min|NC Code(*.nc)|*.nc|Surfcam NC Code (*.ncc)|*.ncc|"
        "Gibbs NC Code (*.ncf)|*.ncf|Mastercam Toolpaths (*.nci)|*.nci|NWD Files (*.nwd)|*.nwd|"
        "Rich Text Format (*.rtf)|*.rtf|GZero Files (*.t)|*.t|Tape Files (*.tap)|*.tap|"
        "Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
    dialog.FilterIndex(14);
    try {
        dialog.ShowOpen();
        return dialog.FileName();
    } catch (...) {
        try {
            ActiveText1().SetFocus();
        } catch (...) {
        }
        return QString();
    }
}

bool FileExists(const QString& path)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty() || path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'))
        || path.endsWith(QLatin1Char(':')))
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}
