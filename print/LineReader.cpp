#include "print/LineReader.h"

#include "clipext/ClipText.h"

#include <cstring>

namespace prentil {

namespace {
constexpr qsizetype BlockSize = 64 * 1024;
}

QString DecodeLine(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return clipext::DecodeText(bytes);
    return QString::fromLatin1(bytes.data(), bytes.size());
}

bool LineReader::Open(const QString& path)
{
    file_.close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly))
        return false;
    return Seek(0);
}

bool LineReader::Seek(qint64 offset)
{
    if (!file_.seek(offset))
        return false;
    pos_ = end_ = 0;
    bufferOffset_ = offset;
    eof_ = false;
    return true;
}

bool LineReader::Fill()
{
    if (eof_)
        return false;
    // Keep the unread part at the front; grow only for a line longer than the buffer.
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.constData() + pos_, static_cast<std::size_t>(end_ - pos_));
        bufferOffset_ += pos_;
        end_ -= pos_;
        pos_ = 0;
    }
    if (buffer_.size() - end_ < BlockSize)
        buffer_.resize(end_ + BlockSize);
    const qint64 got = file_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (got <= 0) {
        eof_ = true;
        // A Ctrl+Z that ends the file is not text.
        if (end_ > pos_ && buffer_[end_ - 1] == '\x1a')
            --end_;
        return false;
    }
    end_ += got;
    return true;
}

bool LineReader::Next(QString* line, qint64* lineStart)
{
    qsizetype scan = pos_;
    for (;;) {
        const char* data = buffer_.constData();
        qsizetype i = scan;
        while (i < end_ && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i < end_ && (data[i] == '\n' || i + 1 < end_ || eof_)) {
            if (lineStart != nullptr)
                *lineStart = bufferOffset_ + pos_;
            if (line != nullptr)
                *line = DecodeLine(QByteArrayView(data + pos_, i - pos_));
            qsizetype next = i + 1;
            if (data[i] == '\r' && next < end_ && data[next] == '\n')
                ++next;
            pos_ = next;
            return true;
        }
        // A CR at the end of the buffer may be the start of a CR LF: read on.
        scan = i - pos_;
        if (!Fill()) {
            if (pos_ + scan < end_)
                continue;  // the CR that ended the data is a line end
            if (end_ == pos_)
                return false;
            if (lineStart != nullptr)
                *lineStart = bufferOffset_ + pos_;
            if (line != nullptr)
                *line = DecodeLine(QByteArrayView(buffer_.constData() + pos_, end_ - pos_));
            pos_ = end_;
            return true;
        }
        scan += pos_;
    }
}

}  // namespace prentil
