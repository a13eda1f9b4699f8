#include "customise/MacroFiles.h"

#include "customise/HotKeyText.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/codemax/CodeMaxGlobals.h"
#include "platform/files/AtomicWrite.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace {

const QString HotKeysName = QStringLiteral("Hotkeys.bin");

// Files already reported as damaged in this run: a document window loads the
// files at every activation, and the message box itself re-activates it.
QSet<QString>& ReportedDamage()
{
    static QSet<QString> reported;
    return reported;
}

void ReportDamageOnce(const QString& path, const QString& what)
{
    if (ReportedDamage().contains(path))
        return;
    ReportedDamage().insert(path);
    ShowProgramError(QStringLiteral("%1 \"%2\" is damaged and was not loaded.").arg(what, path));
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    const platform::WriteOutcome outcome = platform::WriteFileAtomically(path, bytes);
    if (!outcome) {
        ShowProgramError(QStringLiteral("Cannot write \"%1\": %2").arg(path, outcome.error));
        return false;
    }
    ReportedDamage().remove(path);
    return true;
}

// Every spelling of the hot-key file present in the settings folder.
QStringList HotKeysFiles()
{
    const QDir folder(platform::SettingsFolder());
    QStringList found;
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        if (name.compare(HotKeysName, Qt::CaseInsensitive) == 0)
            found.append(folder.filePath(name));
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

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

QString MacroFile(int slot)
{
    return platform::SettingsFile(QStringLiteral("Macro%1.bin").arg(slot));
}

QString HotKeysFile()
{
    const QStringList found = HotKeysFiles();
    const QString exact = platform::SettingsFile(HotKeysName);
    if (found.isEmpty() || found.contains(exact))
        return exact;
    return found.first();
}

void SaveHotKeys()
{
    try {
        WriteBytes(HotKeysFile(), platform::CodeMaxGlobals().GetHotKeys());
    } catch (...) {
        ShowProgramError();
    }
}

void SaveMacro()
{
    try {
        const platform::CodeMaxGlobals globals;
        // Macronumber is the next free slot: it is written too (a recording
        // just made went there), but slot 10 does not exist.
        const int last = std::min(Macronumber, platform::CodeMaxGlobals::MacroSlots - 1);
        for (int k = 0; k <= last; ++k) {
            const QByteArray bytes = globals.GetMacro(k);
            // A slot never recorded gets no file; an existing file follows its slot.
            if (bytes.isEmpty() && !QFile::exists(MacroFile(k)))
                continue;
            if (!WriteBytes(MacroFile(k), bytes))
                return;
        }
    } catch (...) {
        ShowProgramError();
    }
}

void LoadMacros()
{
    platform::CodeMaxGlobals globals;
    for (int k = 0; k < platform::CodeMaxGlobals::MacroSlots; ++k) {
        const QString path = MacroFile(k);
        QFile file(path);
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly)) {
            ReportDamageOnce(path, QStringLiteral("The macro file"));
            continue;
        }
        const QByteArray bytes = file.readAll();
        try {
            globals.SetMacro(k, bytes);
        } catch (...) {
            ReportDamageOnce(path, QStringLiteral("The macro file"));
            globals.SetMacro(k, QByteArray());
        }
    }
}

void LoadHotKeys()
{
    const QStringList found = HotKeysFiles();
    if (found.isEmpty())
        return;
    const QString path = HotKeysFile();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReportDamageOnce(path, QStringLiteral("The hot-key file"));
        return;
    }
    try {
        platform::CodeMaxGlobals().SetHotKeys(file.readAll());
    } catch (...) {
        // The table in use stays: saving it later must not turn damage into
        // lost bindings.
        ReportDamageOnce(path, QStringLiteral("The hot-key file"));
    }
}

bool DeleteHotKeysFile()
{
    bool all = true;
    for (const QString& path : HotKeysFiles())
        all = QFile::remove(path) && all;
    return all;
}

QString FreeMacroMark(int slot)
{
    return QStringLiteral("Macro%1 - not assigned").arg(slot + 1);
}

int MacroCommand(int slot)
{
    return 214 + slot;
}

void ClearMacroHotKeys(int slot)
{
    platform::CodeMaxGlobals globals;
    const int command = MacroCommand(slot);
    for (int n = globals.GetNumHotKeysForCmd(command); n > 0; --n)
        globals.UnregisterHotKey(globals.GetHotKeyForCmd(command, n - 1));
}

QString MacroListLine(int slot)
{
    const QString& description = MacroDescriptions[static_cast<size_t>(slot)];
    if (description.isEmpty())
        return QStringLiteral("Macro %1  not assigned").arg(slot + 1);
    return description;
}

QString RecordingEndKeys()
{
    const platform::CodeMaxGlobals globals;
    const int command = platform::CodeMaxCmd::RecordMacro;
    QStringList keys;
    for (int k = 0; k < globals.GetNumHotKeysForCmd(command); ++k)
        keys.append(HotKeyListingText(globals.GetHotKeyForCmd(command, k)));
    return keys.join(QStringLiteral(" or "));
}

bool MayBindHotKey(const platform::CodeMaxHotKey& key, int command)
{
    const int record = platform::CodeMaxCmd::RecordMacro;
    if (command == record || platform::CodeMaxGlobals().FindHotKey(key) != record)
        return true;
    platform::MsgBox(QStringLiteral("%1 ends a macro recording and cannot be given to another command.\n\n"
                                    "Choose another key.")
                         .arg(HotKeyListingText(key)),
                     platform::vbExclamation, QStringLiteral("Talvex Editor"));
    return false;
}
