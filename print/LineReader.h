#pragma once
// Reads a text file line by line for printing: whole lines however long,
// CR LF, LF and a lone CR each end a line, a Ctrl+Z as the file's last byte
// ends the file, and each line is UTF-8 or, when it is not valid UTF-8,
// Windows-1252. The file is read in blocks, never whole.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace prentil {

class LineReader {
public:
    bool Open(const QString& path);
    // Goes to a line start returned by Next.
    bool Seek(qint64 offset);
    // The next line without its line end; false at the end of the file.
    // lineStart (may be null) gets the line's offset in the file.
    bool Next(QString* line, qint64* lineStart = nullptr);

private:
    bool Fill();

    QFile file_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    qsizetype end_ = 0;
    qint64 bufferOffset_ = 0;  // file offset of buffer_[0]
    bool eof_ = false;
};

// The text of one line's bytes: UTF-8, or Windows-1252 when not valid UTF-8.
QString DecodeLine(QByteArrayView bytes);

}  // namespace prentil
