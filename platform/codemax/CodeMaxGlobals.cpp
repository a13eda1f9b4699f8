#include "platform/codemax/CodeMaxGlobals.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxHotKeyTable.h"
#include "platform/codemax/CodeMaxMacro.h"
#include "platform/forms/Error.h"

#include <QHash>
#include <array>

namespace platform {
namespace {

struct SharedState {
    QHash<QString, std::shared_ptr<const CodeMaxLanguage>> languages;  // key: upper case
    CodeMaxHotKeyTable hotKeys = CodeMaxHotKeyTable::Defaults();
    std::array<QByteArray, CodeMaxGlobals::MacroSlots> macros;
};

SharedState& state()
{
    static SharedState s;
    return s;
}

void checkSlot(int slot)
{
    if (slot < 0 || slot >= CodeMaxGlobals::MacroSlots)
        throw Error(9, QStringLiteral("There is no macro slot %1 (slots are 0 to 9).").arg(slot),
                    QStringLiteral(".CodeMaxGlobals"));
}

}  // namespace

void CodeMaxGlobals::RegisterLanguage(const QString& name, const CodeMaxLanguage& language)
{
    auto& languages = state().languages;
    const QString key = name.toUpper();
    const auto it = languages.constFind(key);
    if (it != languages.constEnd() && **it == language)
        return;  // the same definition again: nothing to colour anew
    languages.insert(key, std::make_shared<const CodeMaxLanguage>(language));
    CodeMax::languageRegistered(name);
}

void CodeMaxGlobals::UnregisterLanguage(const QString& name)
{
    if (state().languages.remove(name.toUpper()))
        CodeMax::languageRegistered(name);
}

std::shared_ptr<const CodeMaxLanguage> CodeMaxGlobals::FindLanguage(const QString& name) const
{
    return state().languages.value(name.toUpper());
}

QByteArray CodeMaxGlobals::GetHotKeys() const { return state().hotKeys.ToBytes(); }

void CodeMaxGlobals::SetHotKeys(const QByteArray& bytes)
{
    state().hotKeys = CodeMaxHotKeyTable::FromBytes(bytes);
}

void CodeMaxGlobals::ResetDefaultHotKeys() { state().hotKeys = CodeMaxHotKeyTable::Defaults(); }

CodeMaxHotKey CodeMaxGlobals::GetHotKeyForCmd(int command, int position) const
{
    return state().hotKeys.KeyFor(command, position);
}

int CodeMaxGlobals::GetNumHotKeysForCmd(int command) const { return state().hotKeys.CountFor(command); }

void CodeMaxGlobals::RegisterHotKey(const CodeMaxHotKey& key, int command)
{
    state().hotKeys.Bind(key, command);
}

void CodeMaxGlobals::UnregisterHotKey(const CodeMaxHotKey& key) { state().hotKeys.Unbind(key); }

int CodeMaxGlobals::FindHotKey(const CodeMaxHotKey& key) const { return state().hotKeys.CommandOf(key); }

const CodeMaxHotKeyTable& CodeMaxGlobals::HotKeyTable() const { return state().hotKeys; }

QByteArray CodeMaxGlobals::GetMacro(int slot) const
{
    checkSlot(slot);
    return state().macros[size_t(slot)];
}

void CodeMaxGlobals::SetMacro(int slot, const QByteArray& bytes)
{
    checkSlot(slot);
    CodeMaxMacro::FromBytes(bytes);  // refuses what is not a macro
    state().macros[size_t(slot)] = bytes;
}

}  // namespace platform
