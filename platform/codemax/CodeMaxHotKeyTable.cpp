#include "platform/codemax/CodeMaxHotKeyTable.h"

#include "platform/codemax/CodeMaxCommands.h"
#include "platform/forms/Error.h"

#include <QtEndian>
#include <algorithm>

namespace platform {
namespace {

constexpr char magic[4] = {'C', 'M', 'H', 'K'};
constexpr quint16 version = 1;
constexpr int headerSize = 8;
constexpr int bindingSize = 6;
const QString source = QStringLiteral(".CodeMaxGlobals");

void checkKey(const CodeMaxHotKey& key)
{
    if (key.vk1() <= 0 || key.vk1() > 255 || key.vk2() < 0 || key.vk2() > 255
        || key.key1.size() != 1 || key.key2.size() > 1)
        throw Error(5, QStringLiteral("A hot key needs one key code from 1 to 255."), source);
    if (key.modifiers1 < 0 || key.modifiers1 > 7 || key.modifiers2 < 0 || key.modifiers2 > 7)
        throw Error(5, QStringLiteral("A hot key's modifiers must be 0 to 7."), source);
    // The byte image has no room for a second stroke's modifiers without its key.
    if (key.vk2() == 0 && key.modifiers2 != 0)
        throw Error(5, QStringLiteral("A hot key's second modifiers need a second key."), source);
}

bool sameKey(const CodeMaxHotKey& a, const CodeMaxHotKey& b) { return a == b; }

}  // namespace

CodeMaxHotKeyTable CodeMaxHotKeyTable::Defaults()
{
    using namespace CodeMaxCmd;
    constexpr int S = CodeMaxHotKey::Shift, C = CodeMaxHotKey::Ctrl, A = CodeMaxHotKey::Alt;
    constexpr int Back = 8, Tab = 9, Ret = 13, Esc = 27, PgUp = 33, PgDn = 34, End = 35,
                  HomeKey = 36, Left = 37, Up = 38, Right = 39, Down = 40, Ins = 45, Del = 46,
                  F2 = 113, F3 = 114;
    struct Row {
        int mods;
        int vk;
        int command;
    };
    // Insert is left unbound: the programs switch the typing mode themselves.
    static const Row rows[] = {
        {0, Left, CharLeft}, {S, Left, CharLeftExtend}, {0, Right, CharRight},
        {S, Right, CharRightExtend}, {0, Up, LineUp}, {S, Up, LineUpExtend},
        {0, Down, LineDown}, {S, Down, LineDownExtend}, {0, HomeKey, Home},
        {S, HomeKey, HomeExtend}, {0, End, LineEnd}, {S, End, LineEndExtend},
        {C, HomeKey, DocumentStart}, {C | S, HomeKey, DocumentStartExtend},
        {C, End, DocumentEnd}, {C | S, End, DocumentEndExtend}, {0, PgUp, PageUp},
        {S, PgUp, PageUpExtend}, {0, PgDn, PageDown}, {S, PgDn, PageDownExtend},
        {C, Left, WordLeft}, {C | S, Left, WordLeftExtend}, {C, Right, WordRight},
        {C | S, Right, WordRightExtend}, {C, Up, ScrollLineUp}, {C, Down, ScrollLineDown},
        {0, Back, DeleteBack}, {S, Back, DeleteBack}, {C, Back, WordDeleteLeft},
        {0, Del, Delete}, {C, Del, WordDeleteRight}, {0, Ret, NewLine}, {S, Ret, NewLine},
        {0, Tab, CodeMaxCmd::Tab}, {S, Tab, BackTab}, {0, Esc, Cancel},
        {C, 'A', SelectAll}, {C, 'C', Copy}, {C, Ins, Copy}, {C, 'X', Cut}, {S, Del, Cut},
        {C, 'V', Paste}, {S, Ins, Paste}, {C, 'Z', Undo}, {A, Back, Undo}, {C, 'Y', Redo},
        {C | S, 'Z', Redo}, {C, 'L', LineCut}, {C | S, 'L', LineDelete}, {C, 'F', Find},
        {0, F3, FindNext}, {S, F3, FindPrev}, {C, F3, FindNextWord}, {C | S, F3, FindPrevWord},
        {C, 'H', FindReplace}, {C, 'G', GotoLine}, {C, F2, BookmarkToggle},
        {0, F2, BookmarkNext}, {S, F2, BookmarkPrev}, {C | S, F2, BookmarkClearAll},
        {C | S, 'R', RecordMacro}, {A, Ret, Properties},
    };
    CodeMaxHotKeyTable table;
    for (const Row& row : rows)
        table.bindings_.push_back({CodeMaxHotKey(row.mods, row.vk), row.command});
    return table;
}

void CodeMaxHotKeyTable::Bind(const CodeMaxHotKey& key, int command)
{
    checkKey(key);
    if (command < 0 || command > 0xFFFF)
        throw Error(5, QStringLiteral("A command number must be 0 to 65535."), source);
    Unbind(key);
    bindings_.push_back({key, command});
}

bool CodeMaxHotKeyTable::Unbind(const CodeMaxHotKey& key)
{
    const auto it = std::find_if(bindings_.begin(), bindings_.end(),
                                 [&](const Binding& b) { return sameKey(b.key, key); });
    if (it == bindings_.end())
        return false;
    bindings_.erase(it);
    return true;
}

int CodeMaxHotKeyTable::CommandOf(const CodeMaxHotKey& key) const
{
    for (const Binding& b : bindings_)
        if (sameKey(b.key, key))
            return b.command;
    return -1;
}

bool CodeMaxHotKeyTable::StartsChord(int modifiers, int vk) const
{
    return std::any_of(bindings_.begin(), bindings_.end(), [&](const Binding& b) {
        return b.key.IsChord() && b.key.modifiers1 == modifiers && b.key.vk1() == vk;
    });
}

int CodeMaxHotKeyTable::CountFor(int command) const
{
    return int(std::count_if(bindings_.begin(), bindings_.end(),
                             [&](const Binding& b) { return b.command == command; }));
}

CodeMaxHotKey CodeMaxHotKeyTable::KeyFor(int command, int position) const
{
    int seen = 0;
    for (const Binding& b : bindings_)
        if (b.command == command && seen++ == position)
            return b.key;
    throw Error(9, QStringLiteral("Command %1 has no hot key at position %2.").arg(command).arg(position),
                source);
}

QByteArray CodeMaxHotKeyTable::ToBytes() const
{
    QByteArray out(headerSize + bindingSize * int(bindings_.size()), '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    std::copy(std::begin(magic), std::end(magic), p);
    qToLittleEndian<quint16>(version, p + 4);
    qToLittleEndian<quint16>(quint16(bindings_.size()), p + 6);
    p += headerSize;
    for (const Binding& b : bindings_) {
        p[0] = uchar(b.key.modifiers1);
        p[1] = uchar(b.key.vk1());
        p[2] = uchar(b.key.modifiers2);
        p[3] = uchar(b.key.vk2());
        qToLittleEndian<quint16>(quint16(b.command), p + 4);
        p += bindingSize;
    }
    return out;
}

CodeMaxHotKeyTable CodeMaxHotKeyTable::FromBytes(const QByteArray& bytes)
{
    const auto refuse = [](const QString& why) {
        return Error(5, QStringLiteral("The hot-key table is not valid: %1.").arg(why), source);
    };
    if (bytes.size() < headerSize || !std::equal(std::begin(magic), std::end(magic), bytes.begin()))
        throw refuse(QStringLiteral("it is not a hot-key table of this editor"));
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    if (qFromLittleEndian<quint16>(p + 4) != version)
        throw refuse(QStringLiteral("unknown format version"));
    const int count = qFromLittleEndian<quint16>(p + 6);
    if (bytes.size() != headerSize + count * bindingSize)
        throw refuse(QStringLiteral("wrong length"));
    CodeMaxHotKeyTable table;
    p += headerSize;
    for (int i = 0; i < count; ++i, p += bindingSize) {
        const CodeMaxHotKey key(p[0], p[1], p[2], p[3]);
        if (key.vk1() == 0 || key.modifiers1 > 7 || key.modifiers2 > 7
            || (key.vk2() == 0 && key.modifiers2 != 0))
            throw refuse(QStringLiteral("binding %1 is damaged").arg(i));
        table.Bind(key, qFromLittleEndian<quint16>(p + 4));
    }
    return table;
}

bool operator==(const CodeMaxHotKeyTable& a, const CodeMaxHotKeyTable& b)
{
    return a.bindings_.size() == b.bindings_.size()
        && std::equal(a.bindings_.begin(), a.bindings_.end(), b.bindings_.begin(),
                      [](const auto& x, const auto& y) { return x.key == y.key && x.command == y.command; });
}

}  // namespace platform
