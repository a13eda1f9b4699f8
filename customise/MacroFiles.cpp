#include "customise/MacroFiles.h"

#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <algorithm>

void LoadMacroList()
{
    const QString section = QStringLiteral("Macros");
    bool ok = false;
    const int count = ReadIniString(section, QStringLiteral("Macronumber"), MacroIniFile).toInt(&ok);
    if (!ok) {
        ShowProgramError(QStringLiteral("The macro list in %1 has no valid \"Macronumber\"; "
                                        "no macros were loaded.")
                             .arg(MacroIniFile));
        return;
    }
    // Only ten slots exist; more would overrun the descriptions.
    Macronumber = std::clamp(count, 0, MaxMacros);
    for (int k = 1; k <= Macronumber; ++k)
        MacroDescriptions[static_cast<size_t>(k - 1)] =
            ReadIniString(section, QStringLiteral("Macro%1").arg(k), MacroIniFile);
}
