#include "document/frmPrint.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/ShowModal.h"
#include "platform/forms/WaitCursor.h"
#include "shell/CommonDialogObject.h"
#include "shell/DocumentForm.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MPrinting.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

frmPrint::frmPrint(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Print"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    fraPrintWhat = new QGroupBox(QStringLiteral("Print What?"), this);
    fraPrintWhat->setObjectName(QStringLiteral("fraPrintWhat"));
    chkCurrent = new QRadioButton(QStringLiteral("Current File"), fraPrintWhat);
    chkCurrent->setObjectName(QStringLiteral("chkCurrent"));
    chkSelect = new QRadioButton(QStringLiteral("Selected Text"), fraPrintWhat);
    chkSelect->setObjectName(QStringLiteral("chkSelect"));
    auto* options = new QVBoxLayout(fraPrintWhat);
    options->addWidget(chkCurrent);
    options->addWidget(chkSelect);

    auto* buttons = new QVBoxLayout;
    const QString captions[] = {QStringLiteral("&OK"), QStringLiteral("Cancel"), QStringLiteral("&Setup...")};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("cmdButton%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
        buttons->addWidget(button);
        cmdButton[static_cast<size_t>(i)] = button;
    }
    cmdButton[0]->setDefault(true);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(fraPrintWhat);
    layout->addLayout(buttons);
    Form_Load();
}

void frmPrint::Form_Load()
{
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
    bool selection = false;
    try {
        selection = !ActiveText1().SelText().isEmpty();
    } catch (...) {
    }
    chkSelect->setEnabled(selection);
    (selection ? chkSelect : chkCurrent)->setChecked(true);
}

void frmPrint::Unload(int result)
{
    if (ShownModeless)
        close();
    else
        done(result);
}

void frmPrint::cmdButton_Click(int index)
{
    try {
        switch (index) {
        case 0:
            if (chkSelect->isChecked()) {
                const QString text = ActiveText1().SelText();
                if (text.isEmpty()) {
                    // Says so; the dialog stays for another choice.
                    PrintSelection(text);
                    return;
                }
                Unload(QDialog::Accepted);
                PrintSelection(text);
            } else {
                Unload(QDialog::Accepted);
                PrintCurrentFile();
            }
            break;
        case 1:
            Unload(QDialog::Rejected);
            platform::DoEvents();
            try {
                platform::CodeMax& text = ActiveText1();
                text.window()->activateWindow();
                text.SetFocus();
            } catch (...) {
            }
            break;
        case 2: {
            ShownModeless = true;
            setAttribute(Qt::WA_DeleteOnClose);
            hide();
            ShowPrintSetup();
            // Back once the modal run that showed it has ended.
            QTimer::singleShot(0, this, [this] {
                setWindowModality(Qt::NonModal);
                show();
            });
            break;
        }
        default:
            break;
        }
    } catch (...) {
        platform::SetWaitCursor(false);
        ShowProgramError();
    }
}

void frmPrint::PrintCurrentFile()
{
    platform::CodeMax& text = ActiveText1();
    QPrinter& printer = ApplicationPrinter();
    QPrintDialog dialog(&printer, MDIMain::Instance());
    if (platform::ShowModal(dialog) != QDialog::Accepted)
        return;
    const platform::WaitCursor wait;
    text.PrintContents(&printer, platform::CodeMax::PrintColours);
}

void ShowPrintDialog()
{
    QPointer<frmPrint> dialog = new frmPrint(MDIMain::Instance());
    platform::ShowModal(*dialog);
    if (dialog && !dialog->ShownModeless)
        delete dialog;
    // Printed or not, the user types on in the document.
    try {
        platform::CodeMax& text = ActiveText1();
        text.window()->activateWindow();
        text.SetFocus();
    } catch (...) {
    }
}
