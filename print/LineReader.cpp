#include "print/LineReader.h"

#include "clipext/ClipText.h"
#include "platform/files/SaveJournal.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace prentil {

namespace {

constexpr qsizetype BlockSize = 64 * 1024;

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Each byte as Windows-1252 reads it, from the suite's one conversion.
const std::array<char16_t, 256>& Cp1252()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            t[static_cast<std::size_t>(b)] =
                b < 0x80 ? char16_t(b) : clipext::DecodeText(QByteArrayView(&byte, 1)).at(0).unicode();
        }
        return t;
    }();
    return table;
}

// Checks bytes for well-formed UTF-8 as they come, block by block.
class Utf8Check {
public:
    // False as soon as the bytes cannot be UTF-8.
    bool Feed(const char* bytes, qsizetype size)
    {
        for (qsizetype i = 0; i < size && !bad_; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (need_ > 0) {
                if (b < low_ || b > high_)
                    bad_ = true;
                --need_;
                low_ = 0x80;
                high_ = 0xBF;
                continue;
            }
            if (b < 0x80)
                continue;
            nonAscii_ = true;
            low_ = 0x80;
            high_ = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                need_ = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                need_ = 2;
                if (b == 0xE0)
                    low_ = 0xA0;  // no overlong forms
                else if (b == 0xED)
                    high_ = 0x9F;  // no surrogates
            } else if (b >= 0xF0 && b <= 0xF4) {
                need_ = 3;
                if (b == 0xF0)
                    low_ = 0x90;
                else if (b == 0xF4)
                    high_ = 0x8F;  // nothing above U+10FFFF
            } else {
                bad_ = true;
            }
        }
        return !bad_;
    }
    bool Bad() const { return bad_; }
    // The bytes so far end a character and hold a byte above ASCII: only
    // then does reading them as UTF-8 differ from Windows-1252.
    bool NonAsciiUtf8() const { return !bad_ && need_ == 0 && nonAscii_; }

private:
    int need_ = 0;
    unsigned char low_ = 0x80, high_ = 0xBF;
    bool bad_ = false;
    bool nonAscii_ = false;
};

// One character of a UTF-8 line at data (avail bytes there). A sequence
// that is cut off or broken (the file changed since the line was judged)
// is read as its first byte in Windows-1252, so reading always moves on.
char32_t DecodeUtf8(const unsigned char* data, qsizetype avail, int* length)
{
    const unsigned char b = data[0];
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    Utf8Check check;
    if (n > avail || !check.Feed(reinterpret_cast<const char*>(data), n) || (n > 1 && !check.NonAsciiUtf8())) {
        *length = 1;
        return Cp1252()[b];
    }
    *length = n;
    if (n == 1)
        return b;
    char32_t code = b & (0x7F >> n);
    for (int i = 1; i < n; ++i)
        code = code << 6 | (data[i] & 0x3F);
    return code;
}

}  // namespace

bool LineReader::Open(const QString& path)
{
    file_.close();
    // A save of it cut short is rolled back first: the old program prints.
    platform::RecoverInterruptedSave(path);
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly))
        return false;
    fileEnd_ = file_.size();
    // A Ctrl+Z that ends the file is not text.
    char last = 0;
    if (fileEnd_ > 0 && file_.seek(fileEnd_ - 1) && file_.getChar(&last) && last == '\x1a')
        --fileEnd_;
    buffer_.resize(BlockSize);
    return Seek(0);
}

bool LineReader::Seek(qint64 lineStart)
{
    if (lineStart < 0 || lineStart > fileEnd_ || !file_.seek(lineStart))
        return false;
    pos_ = end_ = 0;
    bufferOffset_ = lineStart;
    lineStart_ = lineStart;
    inLine_ = skipLf_ = lineBegin_ = false;
    return true;
}

bool LineReader::SeekInsideLine(qint64 offset, bool utf8)
{
    if (!Seek(offset))
        return false;
    inLine_ = true;
    utf8_ = utf8;
    return true;
}

bool LineReader::Fill()
{
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.constData() + pos_, static_cast<std::size_t>(end_ - pos_));
        bufferOffset_ += pos_;
        end_ -= pos_;
        pos_ = 0;
    }
    const qint64 want = std::min<qint64>(buffer_.size() - end_, fileEnd_ - (bufferOffset_ + end_));
    if (want <= 0)
        return false;
    const qint64 got = file_.read(buffer_.data() + end_, want);
    if (got <= 0) {
        // The file got shorter since it was opened: it ends here.
        fileEnd_ = bufferOffset_ + end_;
        return false;
    }
    end_ += static_cast<qsizetype>(got);
    return true;
}

void LineReader::EndLineAt(char terminator)
{
    ++pos_;
    inLine_ = false;
    skipLf_ = false;
    if (terminator == '\r') {
        if (pos_ == end_)
            skipLf_ = true;
        else if (buffer_[pos_] == '\n')
            ++pos_;
    }
}

bool LineReader::StartLine()
{
    if (skipLf_) {
        if (pos_ == end_)
            Fill();
        if (pos_ < end_ && buffer_[pos_] == '\n')
            ++pos_;
        skipLf_ = false;
    }
    if (pos_ == end_ && !Fill())
        return false;
    // A line is judged UTF-8 or not as a whole: find its end in the buffer,
    // moving a line that runs over the buffer's end to the front first.
    bool nonAscii = false;
    qsizetype i = pos_;
    for (;;) {
        const char* data = buffer_.constData();
        while (i < end_ && !IsLineEnd(data[i])) {
            nonAscii = nonAscii || (data[i] & 0x80) != 0;
            ++i;
        }
        if (i < end_ || AtFileEnd())
            break;
        if (pos_ == 0 && end_ == buffer_.size())
            return DecideLongLine();
        const qsizetype scanned = i - pos_;
        Fill();
        i = pos_ + scanned;
    }
    lineStart_ = bufferOffset_ + pos_;
    utf8_ = false;
    if (nonAscii) {
        Utf8Check check;
        check.Feed(buffer_.constData() + pos_, i - pos_);
        utf8_ = check.NonAsciiUtf8();
    }
    inLine_ = lineBegin_ = true;
    return true;
}

bool LineReader::DecideLongLine()
{
    lineStart_ = bufferOffset_ + pos_;
    inLine_ = lineBegin_ = true;
    Utf8Check check;
    check.Feed(buffer_.constData() + pos_, end_ - pos_);
    // Read on to the line's end without keeping what is read, then come back.
    scratch_.resize(BlockSize);
    qint64 at = bufferOffset_ + end_;
    while (at < fileEnd_ && !check.Bad()) {
        const qint64 got = file_.read(scratch_.data(), std::min<qint64>(BlockSize, fileEnd_ - at));
        if (got <= 0)
            break;
        const char* data = scratch_.constData();
        const char* stop = std::find_if(data, data + got, IsLineEnd);
        check.Feed(data, stop - data);
        at += got;
        if (stop != data + got)
            break;
    }
    file_.seek(bufferOffset_ + end_);
    utf8_ = check.NonAsciiUtf8();
    return true;
}

bool LineReader::NextPiece(TextPiece* piece, qsizetype maxChars)
{
    const bool first = !inLine_;
    if (first && !StartLine())
        return false;
    maxChars = std::clamp<qsizetype>(maxChars, 1, PieceSize);
    // A UTF-8 character takes up to four bytes: keep them together.
    if (end_ - pos_ < 4 && !AtFileEnd())
        Fill();
    // Room for maxChars and one more (a surrogate pair), and the offset after the last.
    if (capacity_ < maxChars + 2) {
        capacity_ = maxChars + 2;
        text_.reset(new char16_t[static_cast<std::size_t>(capacity_)]);
        offsets_.reset(new quint32[static_cast<std::size_t>(capacity_)]);
    }
    char16_t* out = text_.get();
    const auto* data = reinterpret_cast<const unsigned char*>(buffer_.constData());
    const qsizetype start = pos_;
    qsizetype count = 0;
    bool ended = false;
    if (!utf8_) {
        const std::array<char16_t, 256>& table = Cp1252();
        while (pos_ < end_ && count < maxChars) {
            const unsigned char b = data[pos_];
            if (b == '\n' || b == '\r') {
                ended = true;
                break;
            }
            out[count++] = table[b];
            ++pos_;
        }
        piece->charOffsets = nullptr;
    } else {
        quint32* offsets = offsets_.get();
        while (pos_ < end_ && count < maxChars) {
            const unsigned char b = data[pos_];
            if (b == '\n' || b == '\r') {
                ended = true;
                break;
            }
            if (b >= 0x80 && end_ - pos_ < 4 && !AtFileEnd())
                break;  // the character may go on in the next block
            int length = 1;
            const char32_t code = DecodeUtf8(data + pos_, end_ - pos_, &length);
            const auto at = static_cast<quint32>(pos_ - start);
            pos_ += length;
            if (lineBegin_) {
                lineBegin_ = false;
                if (code == 0xFEFF)
                    continue;
            }
            if (code >= 0x10000) {
                offsets[count] = at;
                out[count++] = QChar::highSurrogate(code);
                offsets[count] = at;
                out[count++] = QChar::lowSurrogate(code);
            } else {
                offsets[count] = at;
                out[count++] = char16_t(code);
            }
        }
        offsets[count] = static_cast<quint32>(pos_ - start);
        piece->charOffsets = offsets;
    }
    lineBegin_ = false;
    piece->text = QStringView(out, count);
    piece->offset = bufferOffset_ + start;
    piece->lineStart = first;
    if (ended) {
        EndLineAt(buffer_[pos_]);
    } else if (pos_ == end_ && AtFileEnd()) {
        inLine_ = false;
        ended = true;
    }
    piece->lineEnd = ended;
    return true;
}

void LineReader::SkipRestOfLine()
{
    while (inLine_) {
        const char* data = buffer_.constData();
        const char* stop = std::find_if(data + pos_, data + end_, IsLineEnd);
        pos_ = stop - data;
        if (pos_ < end_) {
            EndLineAt(*stop);
            return;
        }
        if (AtFileEnd() || !Fill())
            inLine_ = false;
    }
}

}  // namespace prentil
