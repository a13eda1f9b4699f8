#pragma once
// What every CodeMax control of the process shares: the registered
// languages, the hot-key table and the ten macro slots. A CodeMaxGlobals
// object is a handle: create one where needed; all handles reach the same
// state. User-interface thread only.

#include "platform/codemax/CodeMaxHotKey.h"
#include "platform/codemax/CodeMaxLanguage.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace platform {

class CodeMaxHotKeyTable;

class CodeMaxGlobals {
public:
    static constexpr int MacroSlots = 10;

    // Languages. Registering a name again replaces its definition; the
    // controls that use it colour again (unless the definition is the same).
    void RegisterLanguage(const QString& name, const CodeMaxLanguage& language);
    void UnregisterLanguage(const QString& name);
    // The definition registered under the name (letter case ignored), or null.
    std::shared_ptr<const CodeMaxLanguage> FindLanguage(const QString& name) const;

    // The hot-key table as bytes (layout: CodeMaxHotKeyTable.h) and back.
    // SetHotKeys throws platform::Error (5) for bytes that are not a table,
    // leaving the table as it was.
    QByteArray GetHotKeys() const;
    void SetHotKeys(const QByteArray& bytes);
    void ResetDefaultHotKeys();
    // The key at a position (from 0) among the command's keys; throws
    // platform::Error (9) when there is none.
    CodeMaxHotKey GetHotKeyForCmd(int command, int position) const;
    int GetNumHotKeysForCmd(int command) const;
    // Binds the key to the command (a key bound before is bound again).
    void RegisterHotKey(const CodeMaxHotKey& key, int command);
    void UnregisterHotKey(const CodeMaxHotKey& key);
    // The command bound to the key, or -1.
    int FindHotKey(const CodeMaxHotKey& key) const;
    const CodeMaxHotKeyTable& HotKeyTable() const;

    // Macro slot 0..9 as bytes (layout: CodeMaxMacro.h); empty bytes are an
    // empty slot. Both throw platform::Error (9) for another slot number;
    // SetMacro throws platform::Error (5) for bytes that are not a macro,
    // leaving the slot as it was.
    QByteArray GetMacro(int slot) const;
    void SetMacro(int slot, const QByteArray& bytes);
};

}  // namespace platform
