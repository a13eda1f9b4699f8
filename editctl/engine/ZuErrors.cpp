#include "editctl/engine/ZuErrors.h"

#include <cerrno>

namespace {

constexpr ZuErrorText TableOne[] = {
    {"Maximum line count exceeded.", 0x7000},
    {"Wild characters not allowed.", 0x7001},
    {"illegal help number", 0x7002},
    {"unable to locate the help file", 0x7003},
    {"Maximum allowable line length exceeded.", 0x7004},
    {"enviroment variable not found", 0x7005},
    {"bad parameter value", 0x7006},
    {"Function is unfinished.", 0x7007},
    {"No selection is defined.", 0x7008},
    {"can't move a block into itself", 0x7009},
    {"Unrecoverable error - possible data damage.", 0x700A},
    {"unknown error", 0x700B},
    {"Can't do column blocks with proportional fonts.", 0x700C},
    {"Not a valid thread ID", 0x700D},
    {"Could not open the Clipboard, another process probably still has it open.", 0x700E},
    {"Could not parse RTF file.", 0x700F},
    {"Stream error.", 0x7010},
};

constexpr ZuErrorMessage TableTwo[] = {
    {"Unknown error.", 0x700B, 0x800A03E8},
    {"Maximum line count exceeded.", 0x7000, 0x800A03E9},
    {"Wild characters not allowed.", 0x7001, 0x800A03EA},
    {"Illegal help number.", 0x7002, 0x800A03EB},
    {"Unable to locate the help file.", 0x7003, 0x800A03EC},
    {"Maximum allowable line length exceeded.", 0x7004, 0x800A03ED},
    {"Enviroment variable not found.", 0x7005, 0x800A03EE},
    {"Bad parameter value.", 0x7006, 0x800A03EF},
    {"Function is unfinished.", 0x7007, 0x800A03F0},
    {"No selection is defined.", 0x7008, 0x800A03F1},
    {"Can't move a block into itself.", 0x7009, 0x800A03F2},
    {"Unrecoverable error - possible data damage.", 0x700A, 0x800A03F3},
    {"Unknown error.", 0x700B, 0x800A03F4},
    {"Can't do column blocks with proportional fonts.", 0x700C, 0x800A03F5},
    {"Not a valid thread ID.", 0x700D, 0x800A03F6},
    {"Could not open the Clipboard, another process probably still has it open.", 0x700E, 0x800A03F7},
    {"Could not parse RTF file.", 0x700F, 0x800A03F8},
    {"Stream error.", 0x7010, 0x800A03F9},
    {"No Files Found.", 28, 0x800A003D},
    {"No Files Found.", 2, 0x800A0035},
    {"Too Many Open Files.", 24, 0x800A0043},
    {"Permission Denied.", 13, 0x800A0046},
    {"Bad File Descriptor.", 9, 0x800A0034},
    {"Not Enough Memory.", 12, 0x800A0007},
    {"Bad Format.", 8, 0x800A0141},
    {"File Already Exists.", 17, 0x800A003A},
    {"Result Out Of Range.", 34, 0x800A0006},
};

} // namespace

std::span<const ZuErrorText> ErrorTableOne()
{
    return TableOne;
}

std::span<const ZuErrorMessage> ErrorTableTwo()
{
    return TableTwo;
}

ZuAutomationError AutomationError(ZuErr code)
{
    ZuAutomationError error;
    error.number = code == ZuErrNoMemory ? 7 : 1000;
    if (code == ENOSPC) {
        error.text = "Disk full.";
        return error;
    }
    error.text = "Unknown Error.";
    for (const ZuErrorMessage& message : TableTwo) {
        if (message.code == code) {
            error.text = message.text;
            break;
        }
    }
    return error;
}
