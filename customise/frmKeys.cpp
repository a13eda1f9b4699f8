#include "customise/frmKeys.h"

#include "platform/forms/EnterOnButton.h"
#include "customise/HotKeyBox.h"
#include "customise/MacroFiles.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct Command {
    const char* name;
    int id;
    const char* description;
};

constexpr std::array<Command, frmKeys::CommandCount> Commands{{
    {"Character Left", 203, "Moves the cursor one character to the left"},
    {"Character Left Extend", 202, "Extends the selection one character to the left"},
    {"Character Right", 201, "Moves the cursor one character to the right"},
    {"Character Right Extend", 200, "Extends the selection one character to the right"},
    {"Copy", 198, "Copies the selection to the Clipboard"},
    {"Cut", 197, "Cuts the selection and puts it on the Clipboard"},
    {"Cut Selection", 196, "Cuts the selection and puts it on the Clipboard"},
    {"Delete", 195, "Deletes the selection"},
    {"Delete Back", 194,
     "Deletes the selection or if there is no selection the character to the left of the cursor"},
    {"Document End", 191, "Moves to the end of the file"},
    {"Document End Extend", 190, "Extends the selection to the end of the file"},
    {"Document Start", 189, "Moves to the beginning of the file"},
    {"Document Start Extend", 188, "Extends the selection to the beginning of the file"},
    {"End", 184, "Moves to the end of the current line bottom of the text window or end of the "},
    {"Find", 178, "Finds the specified text"},
    {"Find Mark All", 177, "Finds the specified text and sets a bookmark at the found locations"},
    {"Find Next", 176, "Finds the next occurrence of the specified text"},
    {"Find Next Word", 175, "Finds the next occurrence of the selected text"},
    {"Find Previous", 174, "Finds the previous occurrence of the specified text"},
    {"Find Previous Word", 173, "Finds the previous occurrence of the selected text"},
    {"Find Replace", 169, "Displays the find & replace dialog box"},
    {"Home", 165, "Moves to either the start of the current line or the start of the text on that line"},
    {"Home Extend", 164,
     "Extends the selection to either the start of the current line or the start of the text on that line"},
    {"Line Cut", 161, "Deletes the selected lines and places the text on the clipboard"},
    {"Line Delete", 160, "Deletes the selected line"},
    {"Line Delete to End", 159, "Deletes to the end of the current line"},
    {"Line Delete to Start", 158, "Deletes to the beginning of the current line"},
    {"Line Down", 157, "Moves the cursor down one line"},
    {"Line Down Extend", 156, "Extends the selection down one line"},
    {"Line End", 155, "Moves the cursor to the end of the current line"},
    {"Line End Extend", 154, "Extends the selection to the end of the current line"},
    {"Line Open Above", 153, "Opens a new line above the cursor"},
    {"Line Open Below", 152, "Opens a new line below the cursor"},
    {"Line Start", 151, "Moves to the start of the current line"},
    {"Line Up", 149, "Moves the cursor up one line"},
    {"Line Up Extend", 148, "Extends the selection up one line"},
    {"Paste", 140, "Inserts the Clipboard contents at the insertion point"},
    {"Macro 1", 214, "Activates Macro 1"},
    {"Macro 2", 215, "Activates Macro 2"},
    {"Macro 3", 216, "Activates Macro 3"},
    {"Macro 4", 217, "Activates Macro 4"},
    {"Macro 5", 218, "Activates Macro 5"},
    {"Macro 6", 219, "Activates Macro 6"},
    {"Macro 7", 220, "Activates Macro 7"},
    {"Macro 8", 221, "Activates Macro 8"},
    {"Macro 9", 222, "Activates Macro 9"},
    {"Macro 10", 223, "Activates Macro 10"},
    {"Select All", 137, "Selects the entire document"},
    {"Select Line", 136, "Selects lines of text"},
}};

const QString Title = QStringLiteral("Talvex Editor");

}  // namespace

int frmKeys::CommandId(int position)
{
    return Commands.at(static_cast<size_t>(position)).id;
}

frmKeys::frmKeys(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmKeys"));
    setWindowTitle(QStringLiteral("Keyboard"));
    auto* grid = new QGridLayout(this);

    auto* commandFrame = new QGroupBox(this);
    auto* commandLayout = new QVBoxLayout(commandFrame);
    lstKeys = new QListWidget(commandFrame);
    lstKeys->setObjectName(QStringLiteral("lstKeys"));
    for (const Command& command : Commands)
        lstKeys->addItem(QString::fromLatin1(command.name));
    commandLayout->addWidget(lstKeys);

    auto* newFrame = new QGroupBox(QStringLiteral("New Key Assignment"), this);
    auto* newLayout = new QVBoxLayout(newFrame);
    Text3 = new HotKeyBox(newFrame);
    Text3->setObjectName(QStringLiteral("Text3"));
    newLayout->addWidget(Text3);

    auto* descriptionFrame = new QGroupBox(QStringLiteral("Description"), this);
    auto* descriptionLayout = new QVBoxLayout(descriptionFrame);
    txtDescription = new QLabel(descriptionFrame);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    txtDescription->setWordWrap(true);
    txtDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    txtDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for the longest description, wrapped: none is ever cut.
    const QFontMetrics metrics = txtDescription->fontMetrics();
    const int width = 30 * metrics.averageCharWidth();
    int height = metrics.lineSpacing();
    for (const Command& command : Commands)
        height = std::max(height, metrics.boundingRect(QRect(0, 0, width, 10000), Qt::TextWordWrap,
                                                       QString::fromLatin1(command.description))
                                      .height());
    txtDescription->setMinimumSize(width, height);
    descriptionLayout->addWidget(txtDescription);

    auto* assignmentFrame = new QGroupBox(QStringLiteral("Key Assignment"), this);
    auto* assignmentLayout = new QVBoxLayout(assignmentFrame);
    lstKeyAssignment = new QListWidget(assignmentFrame);
    lstKeyAssignment->setObjectName(QStringLiteral("lstKeyAssignment"));
    assignmentLayout->addWidget(lstKeyAssignment);

    auto* buttons = new QVBoxLayout;
    const QString captions[] = {QStringLiteral("&Assign"), QStringLiteral("Re&move"), QStringLiteral("&Reset")};
    for (int i = 0; i < 3; ++i) {
        cmdAssign[static_cast<size_t>(i)] = new QPushButton(captions[i], this);
        cmdAssign[static_cast<size_t>(i)]->setObjectName(QStringLiteral("cmdAssign%1").arg(i));
        buttons->addWidget(cmdAssign[static_cast<size_t>(i)]);
    }
    cmdButton = new QPushButton(QStringLiteral("&Close"), this);
    cmdButton->setObjectName(QStringLiteral("cmdButton"));
    buttons->addStretch();
    buttons->addWidget(cmdButton);
    cmdAssign[0]->setEnabled(false);
    cmdAssign[1]->setEnabled(false);
    for (QPushButton* button : cmdAssign)
        button->setAutoDefault(false);

    grid->addWidget(commandFrame, 0, 0, 3, 1);
    grid->addWidget(newFrame, 0, 1);
    grid->addWidget(assignmentFrame, 1, 1);
    grid->addWidget(descriptionFrame, 2, 1);
    grid->addLayout(buttons, 0, 2, 3, 1);
    resize(620, 380);

    connect(lstKeys, &QListWidget::currentRowChanged, this, [this] { lstKeys_Click(); });
    connect(Text3, &HotKeyBox::KeyCaptured, this, [this] { UpdateAssign(); });
    connect(lstKeyAssignment, &QListWidget::itemClicked, this, [this] {
        cmdAssign[1]->setEnabled(true);
        cmdAssign[1]->setFocus();
    });
    connect(cmdAssign[0], &QPushButton::clicked, this, [this] { cmdAssign_Click(); });
    connect(cmdAssign[1], &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(cmdAssign[2], &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(cmdButton, &QPushButton::clicked, this, &QDialog::accept);
    EnterPressesFocusedButton(*this);
}

void frmKeys::UpdateAssign()
{
    const auto& key = Text3->Captured();
    cmdAssign[0]->setEnabled(CurrentCommand >= 0 && key && key->Assignable());
}

void frmKeys::lstKeys_Click()
{
    const int position = lstKeys->currentRow();
    if (position < 0 || position >= CommandCount)
        return;
    CurrentCommand = position;
    GetKeyAssignment(position);
    txtDescription->setText(QString::fromLatin1(Commands[static_cast<size_t>(position)].description));
    UpdateAssign();
}

void frmKeys::GetKeyAssignment(int position)
{
    lstKeyAssignment->clear();
    cmdAssign[1]->setEnabled(false);
    try {
        const platform::CodeMaxGlobals globals;
        const int command = CommandId(position);
        for (int k = globals.GetNumHotKeysForCmd(command) - 1; k >= 0; --k)
            lstKeyAssignment->addItem(HotKeyListingText(globals.GetHotKeyForCmd(command, k)));
    } catch (...) {
        // The keys listed so far stay.
    }
}

void frmKeys::cmdAssign_Click()
{
    const auto& key = Text3->Captured();
    if (CurrentCommand < 0 || !key || !key->Assignable())
        return;
    cmdAssign[0]->setEnabled(false);
    if (!MayBindHotKey(key->HotKey(), CommandId(CurrentCommand))) {
        Text3->Clear();
        Text3->setFocus();
        return;
    }
    try {
        platform::CodeMaxGlobals().RegisterHotKey(key->HotKey(), CommandId(CurrentCommand));
    } catch (...) {
        ShowProgramError();
        return;
    }
    lstKeyAssignment->addItem(Text3->text());
    SaveMacro();
    SaveHotKeys();
}

void frmKeys::cmdRemove_Click()
{
    if (CurrentCommand < 0)
        return;
    lstKeyAssignment->clear();
    try {
        platform::CodeMaxGlobals globals;
        const int command = CommandId(CurrentCommand);
        for (int n = globals.GetNumHotKeysForCmd(command); n > 0; --n)
            globals.UnregisterHotKey(globals.GetHotKeyForCmd(command, n - 1));
    } catch (...) {
        ShowProgramError();
    }
    SaveHotKeys();
    cmdAssign[1]->setEnabled(false);
}

void frmKeys::cmdReset_Click()
{
    if (platform::MsgBox(QStringLiteral("Reset every key assignment to its default?"),
                         platform::vbYesNo | platform::vbQuestion, Title)
        != platform::vbYes)
        return;
    platform::CodeMaxGlobals().ResetDefaultHotKeys();
    SaveHotKeys();
    if (CurrentCommand >= 0)
        GetKeyAssignment(CurrentCommand);
}

void ShowKeys()
{
    frmKeys dialog(MDIMain::Instance());
    if (MDIMain::Instance())
        CenterForm(*MDIMain::Instance(), dialog);
    platform::ShowModal(dialog);
}
