#pragma once
// The engine's error codes and their texts. Engine routines return 0 or one
// of these codes; nothing in the engine throws for control flow. The control
// turns a code into an automation error {number, text} at its interface.

#include <cstdint>
#include <span>
#include <string>

using ZuErr = int;

inline constexpr ZuErr ZuOk = 0;
inline constexpr ZuErr ZuErrNoMemory = 12; // ENOMEM: every failed allocation

inline constexpr ZuErr ZuErrLineCount = 0x7000;       // a count would overflow 32 bits
inline constexpr ZuErr ZuErrWildChars = 0x7001;
inline constexpr ZuErr ZuErrHelpNumber = 0x7002;
inline constexpr ZuErr ZuErrHelpFile = 0x7003;
inline constexpr ZuErr ZuErrLineLength = 0x7004;      // a line would exceed 65,500 bytes
inline constexpr ZuErr ZuErrEnvironment = 0x7005;
inline constexpr ZuErr ZuErrBadParameter = 0x7006;
inline constexpr ZuErr ZuErrUnfinished = 0x7007;
inline constexpr ZuErr ZuErrNoSelection = 0x7008;
inline constexpr ZuErr ZuErrBlockIntoItself = 0x7009;
inline constexpr ZuErr ZuErrDataDamage = 0x700A;      // refused: the request does not fit the text
inline constexpr ZuErr ZuErrUnknown = 0x700B;
inline constexpr ZuErr ZuErrProportional = 0x700C;
inline constexpr ZuErr ZuErrThreadId = 0x700D;
inline constexpr ZuErr ZuErrClipboard = 0x700E;
inline constexpr ZuErr ZuErrRtf = 0x700F;
inline constexpr ZuErr ZuErrStream = 0x7010;

// Table one: {text, code} in code order.
struct ZuErrorText {
    const char* text;
    ZuErr code;
};

// Table two: {text, code, automation code}.
struct ZuErrorMessage {
    const char* text;
    ZuErr code;
    std::uint32_t automationCode;
};

std::span<const ZuErrorText> ErrorTableOne();
std::span<const ZuErrorMessage> ErrorTableTwo();

// Goes with table one: room for up to six digits after the number sign.
inline constexpr const char* UnknownErrorFormat = "Unknown Error #      ";

// The automation error a failed engine call becomes at the control's interface.
struct ZuAutomationError {
    int number = 0;
    std::string text;
};

// Number 7 for out of memory, 1000 for every other code; the text comes from
// table two ("Unknown Error." for a code it lacks), except that ENOSPC reads
// "Disk full." (table two files it under "No Files Found.").
ZuAutomationError AutomationError(ZuErr code);
