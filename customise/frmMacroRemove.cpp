#include "customise/frmMacroRemove.h"

#include "customise/MacroFiles.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Talvex Editor");
}

frmMacroRemove::frmMacroRemove(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMacroRemove"));
    setWindowTitle(QStringLiteral("Remove Macro"));
    auto* layout = new QVBoxLayout(this);
    auto* listFrame = new QGroupBox(QStringLiteral("Macro Description"), this);
    auto* listLayout = new QVBoxLayout(listFrame);
    lstMacros = new QListWidget(listFrame);
    lstMacros->setObjectName(QStringLiteral("lstMacros"));
    listLayout->addWidget(lstMacros);
    auto* paneFrame = new QGroupBox(QStringLiteral("Macro"), this);
    auto* paneLayout = new QVBoxLayout(paneFrame);
    MacroEdit = new platform::CodeMax(paneFrame);
    MacroEdit->setObjectName(QStringLiteral("MacroEdit"));
    MacroEdit->SetFont(QFont(QStringLiteral("Courier New")));
    paneLayout->addWidget(MacroEdit);
    auto* buttons = new QHBoxLayout;
    cmdRemove = new QPushButton(QStringLiteral("&Remove"), this);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdRemove->setEnabled(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addStretch();
    buttons->addWidget(cmdRemove);
    buttons->addWidget(cmdCancel);
    layout->addWidget(listFrame);
    layout->addWidget(paneFrame);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(lstMacros, &QListWidget::itemClicked, this, [this] { lstMacros_Click(); });
    connect(lstMacros, &QListWidget::currentRowChanged, this, [this] { lstMacros_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    SetListMacros();
}

void frmMacroRemove::showEvent(QShowEvent* event)
{
    MacroEdit->SetColor(26, ColorItems[5].ForeColor);
    MacroEdit->SetColor(27, ColorItems[5].BackColor);
    QDialog::showEvent(event);
}

void frmMacroRemove::SetListMacros()
{
    const QSignalBlocker blocker(lstMacros);
    const int row = lstMacros->currentRow();
    lstMacros->clear();
    for (int k = 0; k < MaxMacros; ++k)
        lstMacros->addItem(MacroListLine(k));
    lstMacros->setCurrentRow(row);
}

void frmMacroRemove::lstMacros_Click()
{
    MacroEdit->SetText(QString());
    SelectedMacro = lstMacros->currentRow();
    // Remove stays off without a line: there is nothing to remove.
    cmdRemove->setEnabled(SelectedMacro >= 0 && SelectedMacro < MaxMacros);
    if (!cmdRemove->isEnabled())
        return;
    try {
        if (platform::CodeMaxGlobals().GetNumHotKeysForCmd(MacroCommand(SelectedMacro)) > 0)
            MacroEdit->ExecuteCmd(MacroCommand(SelectedMacro));
    } catch (...) {
        MacroEdit->SetText(QString());
    }
}

void frmMacroRemove::cmdRemove_Click()
{
    const int k = SelectedMacro;
    if (k < 0 || k >= MaxMacros)
        return;
    // Each step goes on whatever became of the one before.
    try {
        ClearMacroHotKeys(k);
    } catch (...) {
    }
    MacroEdit->SetText(QString());
    MacroDescriptions[static_cast<size_t>(k)] = FreeMacroMark(k);
    SaveIniSettings();
    SetListMacros();
    SaveHotKeys();
    LoadHotKeys();
    cmdCancel->setText(QStringLiteral("&OK"));
}

void ShowMacroRemove()
{
    frmMacroRemove dialog(MDIMain::Instance());
    if (MDIMain::Instance())
        CenterForm(*MDIMain::Instance(), dialog);
    platform::ShowModal(dialog);
}

bool DeleteAllMacros()
{
    if (platform::MsgBox(
            QStringLiteral("This will remove all current macros from disk and memory. Are you sure?"),
            platform::vbOKCancel | platform::vbCritical, Title)
        != platform::vbOK)
        return false;
    // Everything goes, whether "Macro.ini" was there or not: otherwise the
    // files of a missing list would come back at the next activation.
    QFile::remove(MacroIniFile);
    Macronumber = 0;
    CreateDefaultIni();
    platform::CodeMaxGlobals globals;
    for (int k = 0; k < MaxMacros; ++k) {
        MacroDescriptions[static_cast<size_t>(k)].clear();
        try {
            ClearMacroHotKeys(k);
            globals.SetMacro(k, QByteArray());
        } catch (...) {
        }
        QFile::remove(MacroFile(k));
    }
    DeleteHotKeysFile();
    globals.ResetDefaultHotKeys();
    return true;
}
