#pragma once
// A keyboard macro: what was typed and which commands ran, in order.
//
// Byte image (the content of a macro slot and of "Macro<k>.bin"),
// little-endian. An empty image is an empty slot. Otherwise:
//   offset 0  4 bytes  "CMMC"
//          4  u16      format version, 1
//          6  u16      0
//          8  u32      number of steps n
//         12  n steps, each starting with a u8 kind:
//               1 command: i32 command number, u8 1 when data follows
//                          (else 0), i64 data (present only then)
//               2 text:    u32 byte length m, m bytes of UTF-8 text (typed
//                          text, line breaks never included)
// Nothing follows. An image of any other length or content is refused.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace platform {

class CodeMaxMacro {
public:
    struct Step {
        enum Kind { Command = 1, Text = 2 };
        Kind kind = Command;
        int command = 0;
        std::optional<long long> data;
        QString text;
        friend bool operator==(const Step&, const Step&) = default;
    };

    bool IsEmpty() const { return steps_.empty(); }
    const std::vector<Step>& Steps() const { return steps_; }
    void AddCommand(int command, std::optional<long long> data = std::nullopt);
    // Typed text; joins the text typed just before.
    void AddText(const QString& text);
    void Clear() { steps_.clear(); }

    QByteArray ToBytes() const;
    // Throws platform::Error (number 5) for an image that is not ours.
    static CodeMaxMacro FromBytes(const QByteArray& bytes);

    friend bool operator==(const CodeMaxMacro&, const CodeMaxMacro&) = default;

private:
    std::vector<Step> steps_;
};

}  // namespace platform
