#pragma once
// Reads a text's bytes in pieces, as they come from a file, and finds out
// whether they are valid UTF-8 and which line breaks they use.

#include <QByteArray>
#include <cstddef>

namespace platform {

class CodeMaxTextScan {
public:
    void Feed(const char* bytes, size_t length);
    // Call after the last piece.
    void Finish();

    bool IsUtf8() const { return utf8_ && need_ == 0; }
    long long CrLfCount() const { return crlf_; }
    long long LfCount() const { return lf_; }
    long long CrCount() const { return cr_; }
    // The line break used most ("\r\n" when there is none or on a tie with it,
    // then "\n" before "\r").
    QByteArray DominantLineBreak() const;

private:
    void countBreaks(const char* bytes, size_t length);
    void checkUtf8(const char* bytes, size_t length);

    bool utf8_ = true;
    int need_ = 0;          // continuation bytes still expected
    unsigned char lo_ = 0x80, hi_ = 0xBF;  // allowed range of the next one
    bool pendingCr_ = false;
    long long crlf_ = 0, lf_ = 0, cr_ = 0;
};

}  // namespace platform
