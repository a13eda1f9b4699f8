// The document window's handlers of the block marks, the time stamp, the axis switch, Change
// Value, Shift Address and the syntax check: each runs its NC command on the active document.

#include "document/frmNotePad.h"

#include "nc/NcCommandFrame.h"

#include <QAction>

void frmNotePad::ConnectNcCommandItems()
{
    const std::pair<QAction*, void (frmNotePad::*)()> items[] = {
        {mnuBlockSkips, &frmNotePad::mnuBlockSkips_Click},
        {mnuComment, &frmNotePad::mnuComment_Click},
        {mnuEndOFBlocks, &frmNotePad::mnuEndOFBlocks_Click},
        {mnuTime, &frmNotePad::mnuTime_Click},
        {mnuDelBlockSkips, &frmNotePad::mnuDelBlockSkips_Click},
        {mnuDelComments, &frmNotePad::mnuDelComments_Click},
        {mnuDelEndBlocks, &frmNotePad::mnuDelEndBlocks_Click},
        {mnuSwitch, &frmNotePad::mnuSwitch_Click},
        {mnuChangeMain, &frmNotePad::mnuChangeMain_Click},
        {mnuShiftAddress, &frmNotePad::mnuShiftAddress_Click},
        {mnuSyntax, &frmNotePad::mnuSyntax_Click},
    };
    for (const auto& [item, handler] : items)
        connect(item, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
}

void frmNotePad::mnuBlockSkips_Click() { InsertBlockSkipsCommand(); }
void frmNotePad::mnuComment_Click() { InsertCommentsCommand(); }
void frmNotePad::mnuEndOFBlocks_Click() { InsertEndOfBlocksCommand(); }
void frmNotePad::mnuTime_Click() { InsertTimeDateCommand(); }
void frmNotePad::mnuDelBlockSkips_Click() { RemoveBlockSkipsCommand(); }
void frmNotePad::mnuDelComments_Click() { RemoveCommentsCommand(); }
void frmNotePad::mnuDelEndBlocks_Click() { RemoveEndOfBlocksCommand(); }

void frmNotePad::mnuSwitch_Click()
{
    // The switch values are those of the active window, which is the one whose menu was used.
    auto* active = qobject_cast<frmNotePad*>(ActiveDocumentForm());
    frmNotePad& window = active != nullptr ? *active : *this;
    SwitchXYZCommand(window.XSwitchValue, window.YSwitchValue, window.ZSwitchValue);
}

void frmNotePad::mnuChangeMain_Click() { ChangeValueCommand(); }
void frmNotePad::mnuShiftAddress_Click() { ShiftAddressCommand(); }
void frmNotePad::mnuSyntax_Click() { CheckSyntax(); }
