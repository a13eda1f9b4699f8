#include "customise/frmMacro.h"

#include "platform/forms/EnterOnButton.h"
#include "customise/HotKeyBox.h"
#include "customise/MacroFiles.h"
#include "customise/frmKeys.h"
#include "customise/frmMacroDesc.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Talvex Editor");
const QString NoKey = QStringLiteral("<None>");
}  // namespace

frmMacro::frmMacro(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMacro"));
    setWindowTitle(QStringLiteral("Macro Assignments"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Macro Description:"), this), 0, 0);
    lstMacros = new QListWidget(this);
    lstMacros->setObjectName(QStringLiteral("lstMacros"));
    grid->addWidget(lstMacros, 1, 0);
    auto* keysColumn = new QVBoxLayout;
    keysColumn->addWidget(new QLabel(QStringLiteral("Shortcut Keys:"), this));
    lstKeys = new QListWidget(this);
    lstKeys->setObjectName(QStringLiteral("lstKeys"));
    keysColumn->addWidget(lstKeys);
    keysColumn->addWidget(new QLabel(QStringLiteral("New short key assignment:"), this));
    txtNewHotKey = new HotKeyBox(this);
    txtNewHotKey->setObjectName(QStringLiteral("txtNewHotKey"));
    keysColumn->addWidget(txtNewHotKey);
    auto* assignRow = new QHBoxLayout;
    const QString assignCaptions[] = {QStringLiteral("&Assign"), QStringLiteral("Re&move")};
    for (int i = 0; i < 2; ++i) {
        cmdAssign[static_cast<size_t>(i)] = new QPushButton(assignCaptions[i], this);
        cmdAssign[static_cast<size_t>(i)]->setObjectName(QStringLiteral("cmdAssign%1").arg(i));
        cmdAssign[static_cast<size_t>(i)]->setAutoDefault(false);
        cmdAssign[static_cast<size_t>(i)]->setEnabled(false);
        assignRow->addWidget(cmdAssign[static_cast<size_t>(i)]);
    }
    keysColumn->addLayout(assignRow);
    grid->addLayout(keysColumn, 1, 1);
    RecordEdit = new platform::CodeMax(this);
    RecordEdit->setObjectName(QStringLiteral("RecordEdit"));
    RecordEdit->SetFont(QFont(QStringLiteral("Courier New")));
    grid->addWidget(RecordEdit, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    lblRecordEnd = new QLabel(this);
    lblRecordEnd->setObjectName(QStringLiteral("lblRecordEnd"));
    lblRecordEnd->hide();
    buttons->addWidget(lblRecordEnd);
    buttons->addStretch();
    const QString recordCaptions[] = {QStringLiteral("&Record"), QStringLiteral("&Apply"), QStringLiteral("&Close")};
    for (int i = 0; i < 3; ++i) {
        cmdRecord[static_cast<size_t>(i)] = new QPushButton(recordCaptions[i], this);
        cmdRecord[static_cast<size_t>(i)]->setObjectName(QStringLiteral("cmdRecord%1").arg(i));
        cmdRecord[static_cast<size_t>(i)]->setAutoDefault(false);
        buttons->addWidget(cmdRecord[static_cast<size_t>(i)]);
    }
    cmdRecord[1]->setEnabled(false);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(620, 520);

    connect(lstMacros, &QListWidget::currentRowChanged, this, [this] { lstMacros_Click(); });
    connect(lstKeys, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (item->text() != NoKey)
            cmdAssign[1]->setEnabled(true);
    });
    connect(txtNewHotKey, &HotKeyBox::KeyCaptured, this, [this] { UpdateAssign(); });
    connect(cmdAssign[0], &QPushButton::clicked, this, [this] { cmdAssign_Click(); });
    connect(cmdAssign[1], &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdRecord[0], &QPushButton::clicked, this, [this] { cmdRecord_Click(); });
    connect(cmdRecord[1], &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdRecord[2], &QPushButton::clicked, this, &QDialog::reject);
    connect(RecordEdit, &platform::CodeMax::RecordingChange, this, [this] { RecordingChanged(); });
    connect(RecordEdit, &platform::CodeMax::SettingsRequest, this, [this](platform::CodeMax*, bool& cancel) {
        cancel = true;
        frmKeys keys(this);
        platform::ShowModal(keys);
    });
    // Outside a recording the pane is for looking only.
    const auto toRecord = [this] {
        if (!RecordingSession && cmdRecord[0]->isEnabled())
            QTimer::singleShot(0, cmdRecord[0], [this] { cmdRecord[0]->setFocus(); });
    };
    connect(RecordEdit, &platform::CodeMax::GotFocus, this, toRecord);
    connect(RecordEdit, &platform::CodeMax::MouseDown, this, [toRecord](platform::CodeMax*, int button, int, int, int) {
        if (button == 2)
            toRecord();
    });
    SetListMacros();
    EnterPressesFocusedButton(*this);
}

void frmMacro::showEvent(QShowEvent* event)
{
    RecordEdit->SetColor(26, ColorItems[5].ForeColor);
    RecordEdit->SetColor(27, ColorItems[5].BackColor);
    QDialog::showEvent(event);
    if (!RecordingSession)
        cmdRecord[0]->setFocus();
}

void frmMacro::closeEvent(QCloseEvent* event)
{
    // While recording the pane holds the keyboard: end it with the record key first.
    if (RecordEdit->IsRecordingMacro()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmMacro::reject()
{
    if (RecordEdit->IsRecordingMacro())
        return;
    QDialog::reject();
}

int frmMacro::SlotForRecording()
{
    for (int k = 0; k < MaxMacros; ++k)
        if (MacroDescriptions[static_cast<size_t>(k)] == FreeMacroMark(k))
            return k;
    return Macronumber < MaxMacros ? std::max(Macronumber, 0) : -1;
}

void frmMacro::SetListMacros()
{
    const QSignalBlocker blocker(lstMacros);
    const int row = lstMacros->currentRow();
    lstMacros->clear();
    for (int k = 0; k < MaxMacros; ++k)
        lstMacros->addItem(MacroListLine(k));
    lstMacros->setCurrentRow(row);
}

void frmMacro::UpdateAssign()
{
    const auto& key = txtNewHotKey->Captured();
    cmdAssign[0]->setEnabled(SelectedMacro >= 0 && SelectedMacro < MaxMacros && key && key->Assignable());
}

void frmMacro::lstMacros_Click()
{
    RecordEdit->SetText(QString());
    lstKeys->clear();
    cmdAssign[1]->setEnabled(false);
    SelectedMacro = lstMacros->currentRow();
    UpdateAssign();
    if (SelectedMacro < 0 || SelectedMacro >= MaxMacros)
        return;
    const platform::CodeMaxGlobals globals;
    const int command = MacroCommand(SelectedMacro);
    if (globals.GetNumHotKeysForCmd(command) == 0) {
        lstKeys->addItem(NoKey);
        return;
    }
    try {
        RecordEdit->ExecuteCmd(command);
    } catch (...) {
        RecordEdit->SetText(QString());
    }
    lstKeys->addItem(HotKeyListingText(globals.GetHotKeyForCmd(command, 0)));
}

void frmMacro::cmdRecord_Click()
{
    const int slot = SlotForRecording();
    if (slot < 0) {
        platform::MsgBox(QStringLiteral("All ten macro slots are in use. Remove a macro before recording a new one."),
                         platform::vbInformation, Title);
        return;
    }
    // A hot-key file written elsewhere may have given the record key to another command.
    const QString endKeys = RecordingEndKeys();
    if (endKeys.isEmpty()) {
        platform::MsgBox(QStringLiteral("No key is left to end a macro recording, so none can be started.\n\n"
                                        "Reset in Macros > Keyboard Assignments gives the record key back."),
                         platform::vbExclamation, Title);
        return;
    }
    RecordingSession = true;
    frmMacroDesc description(this);
    CenterForm(*this, description);
    if (platform::ShowModal(description) != QDialog::Accepted) {
        DialogCancelled = false;
        return;
    }
    DialogCancelled = false;
    pendingDescription_ = description.Description();
    recordingSlot_ = slot;
    recorded_ = false;
    cmdRecord[0]->setEnabled(false);
    cmdRecord[2]->setEnabled(false);
    RecordEdit->SetText(QString());
    RecordEdit->ExecuteCmd(platform::CodeMaxCmd::RecordMacro, slot);
    lblRecordEnd->setText(QStringLiteral("Recording: press %1 in the pane to end it.").arg(endKeys));
    lblRecordEnd->show();
    RecordEdit->SetFocus();
}

void frmMacro::RecordingChanged()
{
    if (RecordEdit->IsRecordingMacro() || recordingSlot_ < 0)
        return;
    recorded_ = true;
    lblRecordEnd->hide();
    cmdRecord[0]->setEnabled(false);
    cmdRecord[1]->setEnabled(true);
    cmdRecord[2]->setEnabled(true);
}

void frmMacro::cmdApply_Click()
{
    RecordingSession = false;
    // Saved before the count grows: the macro files go up to the count's
    // slot, which is the one a new recording took, and no further.
    SaveMacro();
    SaveHotKeys();
    if (recorded_ && recordingSlot_ >= 0) {
        MacroDescriptions[static_cast<size_t>(recordingSlot_)] = pendingDescription_;
        // The count grows only when the recording took a slot beyond it.
        Macronumber = std::clamp(std::max(Macronumber, recordingSlot_ + 1), 0, MaxMacros);
    }
    recorded_ = false;
    recordingSlot_ = -1;
    SaveIniSettings();
    SetListMacros();
    cmdRecord[1]->setEnabled(false);
    cmdRecord[0]->setEnabled(true);
    cmdRecord[2]->setEnabled(true);
    DialogCancelled = false;
}

bool frmMacro::SetShortcutKeys()
{
    const auto& key = txtNewHotKey->Captured();
    if (SelectedMacro < 0 || SelectedMacro >= MaxMacros || !key || !key->Assignable())
        return false;
    cmdAssign[0]->setEnabled(false);
    if (!MayBindHotKey(key->HotKey(), MacroCommand(SelectedMacro)))
        return false;
    try {
        platform::CodeMaxGlobals().RegisterHotKey(key->HotKey(), MacroCommand(SelectedMacro));
    } catch (...) {
        ShowProgramError();
    }
    cmdRecord[1]->setEnabled(true);
    return true;
}

void frmMacro::cmdAssign_Click()
{
    const bool bound = SetShortcutKeys();
    txtNewHotKey->Clear();
    if (!bound) {
        txtNewHotKey->setFocus();
        return;
    }
    // Kept at once, as the key dialog does: no Apply needed for a key.
    SaveHotKeys();
    lstMacros_Click();
}

void frmMacro::cmdRemove_Click()
{
    if (SelectedMacro < 0 || SelectedMacro >= MaxMacros)
        return;
    lstKeys->clear();
    lstKeys->addItem(NoKey);
    try {
        ClearMacroHotKeys(SelectedMacro);
    } catch (...) {
        ShowProgramError();
    }
    SaveHotKeys();
    cmdAssign[1]->setEnabled(false);
}

void ShowMacroCreate()
{
    frmMacro dialog(MDIMain::Instance());
    if (MDIMain::Instance())
        CenterForm(*MDIMain::Instance(), dialog);
    platform::ShowModal(dialog);
}
