#pragma once
// The hot-key table: an ordered list of (key, command) bindings. A key is
// bound to one command at most; a command may have several keys, kept in
// the order they were bound (position 0 first).
//
// Byte image (the content of "Hotkeys.bin"), little-endian:
//   offset 0  4 bytes  "CMHK"
//          4  u16      format version, 1
//          6  u16      number of bindings n
//          8  n x 6 bytes, in table order:
//                u8 first modifiers (0..7), u8 first key (virtual-key code, not 0),
//                u8 second modifiers (0..7), u8 second key (0 = no second stroke),
//                u16 command number
// Nothing follows. An image of any other length or content is refused.

#include "platform/codemax/CodeMaxHotKey.h"

#include <QByteArray>
#include <vector>

namespace platform {

class CodeMaxHotKeyTable {
public:
    struct Binding {
        CodeMaxHotKey key;
        int command = 0;
    };

    // The built-in table: the usual editing keys (see Defaults()).
    static CodeMaxHotKeyTable Defaults();

    // Binds the key to the command, dropping any earlier binding of the key.
    // Throws platform::Error for a key without a first stroke, a modifier
    // mask outside 0..7, second modifiers without a second key or a command
    // outside 0..65535: whatever is bound reads back from ToBytes().
    void Bind(const CodeMaxHotKey& key, int command);
    // Drops the key's binding; false when it had none.
    bool Unbind(const CodeMaxHotKey& key);
    // The command bound to the key, or -1.
    int CommandOf(const CodeMaxHotKey& key) const;
    // True when some chord starts with this first stroke.
    bool StartsChord(int modifiers, int vk) const;
    int CountFor(int command) const;
    // The key at a position among the command's keys; throws platform::Error
    // (number 9) when there is none.
    CodeMaxHotKey KeyFor(int command, int position) const;

    const std::vector<Binding>& Bindings() const { return bindings_; }
    QByteArray ToBytes() const;
    // Throws platform::Error (number 5) for an image that is not ours.
    static CodeMaxHotKeyTable FromBytes(const QByteArray& bytes);

    friend bool operator==(const CodeMaxHotKeyTable& a, const CodeMaxHotKeyTable& b);

private:
    std::vector<Binding> bindings_;
};

}  // namespace platform
