// The menus of the bolt-circle window: File (New, Open, Save As, Exit), Edit (Copy) and View
// (Graphic, Text).

#include "nc/frmBolt.h"

#include "nc/BoltAngleDiagram.h"
#include "nc/BoltPicture.h"
#include "platform/codemax/CodeMax.h"
#include "platform/files/AtomicWrite.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "shell/CommonDialogObject.h"
#include "shell/DocumentForm.h"
#include "shell/MDIMain.h"
#include "shell/basFileDialogs.h"
#include "shell/mStrings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

const QString Title = QStringLiteral("Talvex Editor");

// Both file dialogs: the open file must exist, and its folder.
constexpr int DialogFlags = CommonDialogObject::cdlOFNPathMustExist | CommonDialogObject::cdlOFNFileMustExist;

// A file's text as the text view shows it: one line break character.
QString ViewText(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace

void frmBolt::mnuNew_Click()
{
    Frame1->show();
    Frame1->raise();
    txtHole->clear();
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text4->clear();
    // So that opening the file shown last reads it again.
    setWindowTitle(QStringLiteral("Bolt Circle"));
    Text1->setFocus();
}

void frmBolt::mnuOpen_Click()
{
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text4->clear();
    BoltOpenFil();
    if (!txtHole->toPlainText().isEmpty()) {
        Frame2->show();
        Frame2->raise();
        txtHole->setPlainText(RemoveAllOf(txtHole->toPlainText(), QStringLiteral(",")));
    }
}

void frmBolt::BoltOpenFil()
{
    CommonDialogObject dialog;
    dialog.DialogTitle(QStringLiteral("Open Bolt Circle File"));
    dialog.CancelError(true);
    dialog.OwnerWindow(this);
    dialog.Flags(DialogFlags);
    dialog.InitDir(platform::UserDataFolder());
    dialog.Filter(QStringLiteral("Bolt Files (*.txt)|*.txt|All Files (*.*)|*.*"));
    dialog.FilterIndex(1);
    try {
        dialog.ShowOpen();
    } catch (const platform::Error&) {
        return;  // cancelled
    }
    if (!dialog.FileName().isEmpty())
        OpenFil(dialog.FileName());
}

void frmBolt::OpenFil(const QString& path)
{
    if (windowTitle() == path)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        platform::MsgBox(QStringLiteral("Error occurred while trying to open file., please retry."),
                         platform::vbExclamation, QStringLiteral("Hole to G-Code"));
        return;
    }
    txtHole->setPlainText(ViewText(file.readAll()));
    setWindowTitle(path);
}

void frmBolt::mnuSave_Click()
{
    GetBoltFilename();
}

void frmBolt::GetBoltFilename()
{
    CommonDialogObject dialog;
    dialog.DialogTitle(QStringLiteral("Save As"));
    dialog.CancelError(true);
    dialog.OwnerWindow(this);
    dialog.Flags(DialogFlags);
    dialog.InitDir(platform::UserDataFolder());
    dialog.Filter(QStringLiteral("Bolt Files (*.blt)|*.blt|All Files (*.*)|*.*|Text Files (*.txt)|*.txt"));
    dialog.FilterIndex(1);
    try {
        dialog.ShowSave();
    } catch (const platform::Error&) {
        return;  // cancelled
    }
    if (dialog.FileName().isEmpty())
        return;
    SaveBoltFile(QString::fromStdString(BoltSaveName(dialog.FileName().toStdString())));
}

void frmBolt::SaveBoltFile(const QString& path)
{
    const QString failed = QStringLiteral("Error occurred trying to close file, please retry.");
    if (!calculation_) {
        platform::MsgBox(failed, platform::vbCritical, Title);
        return;
    }
    if (FileExists(path)
        && platform::MsgBox(QStringLiteral("Overwrite existing file?"), platform::vbYesNo | platform::vbCritical, Title)
               == platform::vbNo)
        return;
    const std::string text = BoltFileText(*calculation_);
    // The old file stays whole when the new one cannot be written.
    if (!platform::WriteFileAtomically(path, QByteArrayView(text.data(), qsizetype(text.size()))))
        platform::MsgBox(failed, platform::vbCritical, Title);
}

void frmBolt::mnuExit_Click()
{
    close();
}

void frmBolt::mnuCopy_Click()
{
    const QString text = txtHole->toPlainText();
    if (text.isEmpty())
        return;
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    if (const MDIMain* main = MDIMain::Instance())
        if (DocumentForm* window = main->ActiveForm())
            if (platform::CodeMax* editor = window->Text1())
                editor->Paste();
}

void frmBolt::mnuGraphic_Click()
{
    mnuGraphic->setChecked(!mnuGraphic->isChecked());
    mnuText->setChecked(false);
    Frame2->hide();
}

void frmBolt::mnuText_Click()
{
    mnuGraphic->setChecked(false);
    mnuText->setChecked(!mnuText->isChecked());
    Frame2->show();
    Frame2->raise();
    QFile file(HoleListFile());
    if (!file.open(QIODevice::ReadOnly)) {
        platform::MsgBox(QStringLiteral("Error opening file."), platform::vbCritical, Title);
        return;
    }
    QString text = ViewText(file.readAll());
    if (!chkDelimit->isChecked())
        text = RemoveAllOf(text, QStringLiteral(","));
    txtHole->setPlainText(text);
}
