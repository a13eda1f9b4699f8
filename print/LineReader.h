#pragma once
// Reads a text file for printing in pieces of bounded size: a line of any
// length comes as many pieces as it needs, so the memory used does not grow
// with the length of a line. CR LF, LF and a lone CR each end a line, a
// Ctrl+Z as the file's last byte ends the file, and each line is UTF-8 or,
// when it is not valid UTF-8 as a whole, Windows-1252 (a UTF-8 byte order
// mark that starts a line is dropped).

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>
#include <memory>

namespace prentil {

// A piece of a line as read, with where each of its characters is in the file.
struct TextPiece {
    QStringView text;
    bool lineStart = false;            // the line's first piece
    bool lineEnd = false;              // the line ends after this piece
    qint64 offset = 0;                 // file offset of the first character
    const quint32* charOffsets = nullptr;  // per character from offset; none: one byte each

    // The file offset of character index (index == size: just after the piece).
    qint64 Offset(qsizetype index) const { return offset + (charOffsets != nullptr ? charOffsets[index] : index); }
};

class LineReader {
public:
    // The most characters a piece holds (one more to keep a surrogate pair whole).
    static constexpr qsizetype PieceSize = 64 * 1024;

    bool Open(const QString& path);
    // Goes to the start of a line (an offset LineStart gave).
    bool Seek(qint64 lineStart);
    // Goes to a character inside a line (an offset TextPiece::Offset gave);
    // the rest of the line is read as UTF-8 when utf8 (as LineIsUtf8 said of
    // the line), else as Windows-1252.
    bool SeekInsideLine(qint64 offset, bool utf8);
    // The next piece, of at most maxChars characters; false at the end of
    // the file. The piece's text stays valid until the next call.
    bool NextPiece(TextPiece* piece, qsizetype maxChars = PieceSize);
    // Of the line the last piece belongs to: its offset, and whether it is
    // read as UTF-8 (false for Windows-1252 and for plain ASCII).
    qint64 LineStart() const { return lineStart_; }
    bool LineIsUtf8() const { return utf8_; }
    // Passes over what is left of the current line without decoding it.
    void SkipRestOfLine();

private:
    bool Fill();
    bool AtFileEnd() const { return bufferOffset_ + end_ >= fileEnd_; }
    bool StartLine();
    // For a line longer than the buffer: reads on to its end to judge it.
    bool DecideLongLine();
    // Drops the terminator at pos_ (a CR may have an LF behind it).
    void EndLineAt(char terminator);

    QFile file_;
    qint64 fileEnd_ = 0;       // without a Ctrl+Z that ends the file
    QByteArray buffer_;
    QByteArray scratch_;       // read ahead through a long line
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
    qint64 bufferOffset_ = 0;  // file offset of buffer_[0]
    bool inLine_ = false;
    bool skipLf_ = false;      // a CR ended the last line: an LF next belongs to it
    bool lineBegin_ = false;   // nothing of the line decoded yet
    bool utf8_ = false;
    qint64 lineStart_ = 0;
    // The last piece; left uninitialised, as reading a page uses little of them.
    std::unique_ptr<char16_t[]> text_;
    std::unique_ptr<quint32[]> offsets_;
    qsizetype capacity_ = 0;
};

}  // namespace prentil
