#pragma once
// A program folder with "Macro.ini" and "Editor.ini" in it, no macros, no
// count and the default hot keys; the keys go back to the defaults after.

#include "HostFixture.h"

#include "platform/codemax/CodeMax.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

class MacroFixture {
public:
    MacroFixture()
    {
        MacroIniFile = File(QStringLiteral("Macro.ini"));
        IniFile = File(QStringLiteral("Editor.ini"));
        Macronumber = 0;
        MacroDescriptions = {};
        platform::CodeMaxGlobals globals;
        globals.ResetDefaultHotKeys();
        for (int k = 0; k < MaxMacros; ++k)
            globals.SetMacro(k, QByteArray());
    }
    ~MacroFixture() { platform::CodeMaxGlobals().ResetDefaultHotKeys(); }
    MacroFixture(const MacroFixture&) = delete;
    MacroFixture& operator=(const MacroFixture&) = delete;

    bool IsValid() const { return program_.IsValid(); }
    QString File(const QString& name) const { return program_.ProgramPath(name); }

private:
    ProgramFixture program_;
};
