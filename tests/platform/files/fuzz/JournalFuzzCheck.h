#pragma once
// What the rollback journal may do to its file, whatever happened to the
// file or the journal after the save was cut short: the file changes only
// when a whole journal of that very file finds it in a state its save can
// have left, and then becomes the content from before that save. The input
// gives the old content, the new content (or the appended bytes), where the
// save was cut short, and what other programs did afterwards (changed the
// file, replaced it, damaged the journal); or raw bytes to stand as a
// journal. Whether the state is one the save can have left is worked out
// here from the whole old and new content, not from the journal.
// Shared by the fuzz target and the replay of its seeds in the tests.

#include "platform/files/SaveJournal.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <span>
#include <unistd.h>

namespace journalfuzz {

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "rollback journal: %s\n", what);
        std::abort();
    }
}

// The input a field at a time; past its end every field is 0.
class Input {
public:
    Input(const char* data, size_t size) : data_(data), size_(size) {}
    unsigned byte() { return at_ < size_ ? static_cast<unsigned char>(data_[at_++]) : 0u; }
    unsigned word()
    {
        const unsigned low = byte();
        return low | byte() << 8;
    }
    bool empty() const { return at_ >= size_; }
    QByteArray rest() const { return at_ < size_ ? QByteArray(data_ + at_, qsizetype(size_ - at_)) : QByteArray(); }

private:
    const char* data_;
    size_t size_;
    size_t at_ = 0;
};

constexpr qsizetype Block = platform::JournalBlockSize;
constexpr unsigned MaxLength = 5 * 4096 + 300;

// Program-like bytes from a small generator.
inline QByteArray Content(qsizetype length, unsigned seed)
{
    static constexpr char Alphabet[] = "NGXYZM0123456789 .-\r\n";
    QByteArray bytes(length, Qt::Uninitialized);
    quint32 state = seed * 2654435761u + 12345u;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = Alphabet[(state >> 16) % (sizeof Alphabet - 1)];
    }
    return bytes;
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Rewritten in place: the same inode, as another program's plain write.
inline void Rewrite(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    Require(fd >= 0 && ::write(fd, bytes.constData(), std::size_t(bytes.size())) == bytes.size(), "rewrite");
    ::close(fd);
}

inline void Clear(const QString& folder)
{
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
}

// As the save can have left the file: its length between the old and the
// new one, each block of 4096 bytes the old one's or, whole, the new one's
// (past the new end, before the file was cut, the old bytes follow).
inline bool LegalAfterSave(const QByteArray& file, const QByteArray& old, const QByteArray& next)
{
    const qsizetype length = file.size();
    if (length < std::min(old.size(), next.size()) || length > std::max(old.size(), next.size()))
        return false;
    const QByteArray written = next + (old.size() > next.size() ? old.mid(next.size()) : QByteArray());
    for (qsizetype start = 0; start < length; start += Block) {
        const qsizetype end = std::min(length, start + Block);
        const QByteArrayView piece = QByteArrayView(file).sliced(start, end - start);
        const bool asOld = end <= old.size() && piece == QByteArrayView(old).sliced(start, end - start);
        const bool asNew = std::min(next.size(), start + Block) <= end
                        && piece == QByteArrayView(written).sliced(start, end - start);
        if (!asOld && !asNew)
            return false;
    }
    return true;
}

// The old length, then whole blocks (on the file's offsets) of the appended bytes.
inline bool LegalAfterAppend(const QByteArray& file, qsizetype oldLength, const QByteArray& added)
{
    const qsizetype length = file.size();
    if (length < oldLength || length > oldLength + added.size())
        return false;
    if (length != oldLength && length != oldLength + added.size() && length % Block != 0)
        return false;
    return file.mid(oldLength) == added.left(length - oldLength);
}

// `folder` is where XDG_CACHE_HOME and XDG_DATA_HOME lead ("cache", "data").
inline void CheckInput(const char* data, size_t size, const QString& folder)
{
    using Kind = platform::RecoveryOutcome::Kind;
    const QString path = folder + QStringLiteral("/O1000.NC");
    const QString keptFolder = folder + QStringLiteral("/data/Talvex/kept");
    QFile::remove(path);
    Clear(keptFolder);
    Clear(platform::SaveJournalFolder());

    Input in(data, size);
    const unsigned scenario = in.byte() % 3;
    const bool append = scenario == 1;
    const unsigned oldLength = in.word() % MaxLength;
    const unsigned newLength = in.word() % MaxLength;
    const unsigned seed = in.byte();
    const unsigned style = in.byte();
    const QByteArray old = Content(oldLength, seed);
    QByteArray next = Content(newLength, seed + 1);
    if ((style & 1) != 0 && !append) {
        // The old program with a few blocks changed: blocks equal in both.
        next = old.left(newLength) + next.mid(old.size());
        for (qsizetype block = 0; block * Block < next.size() && block < 7; ++block)
            if ((style >> (block + 1)) & 1)
                next[block * Block + (seed * 37 + block) % std::min<qsizetype>(Block, next.size() - block * Block)] ^= 0x20;
    }
    {
        QFile file(path);
        Require(file.open(QIODevice::WriteOnly) && file.write(old) == old.size(), "the old file");
    }
    // The journal as a save (or append) cut short leaves it.
    QString journalPath;
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        Require(fd >= 0, "open");
        platform::SaveJournal journal;
        const QByteArrayView view(next);
        int error = 0;
        QString cause;
        Require(journal.begin(QFile::encodeName(path), fd, std::span<const QByteArrayView>(&view, 1), append, &error,
                              &cause),
                "the journal cannot begin");
        journalPath = journal.path();
        ::close(fd);
    }
    if (scenario == 2) {
        // Raw bytes in its place: no journal of any save, whatever they hold.
        const QByteArray raw = in.rest();
        Rewrite(journalPath, raw);
        const platform::RecoveryOutcome outcome = platform::RecoverInterruptedSave(path);
        Require(ReadBytes(path) == old, "raw bytes as a journal changed the file");
        Require(outcome.kind != Kind::Restored, "raw bytes as a journal restored the file");
        return;
    }

    // Where the save was cut short.
    const unsigned cut = in.byte();
    const unsigned where = in.word();
    const unsigned blocks = in.byte();
    QByteArray state;
    if (!append) {
        const qsizetype low = std::min(old.size(), next.size());
        const qsizetype high = std::max(old.size(), next.size());
        const qsizetype length = cut % 3 == 0 ? old.size() : cut % 3 == 1 ? next.size() : low + where % (high - low + 1);
        const QByteArray written = next + (old.size() > next.size() ? old.mid(next.size()) : QByteArray());
        for (qsizetype start = 0; start < length; start += Block) {
            const qsizetype end = std::min(length, start + Block);
            const bool asNew = (blocks >> ((start / Block) % 8)) & 1;
            state += asNew || end > old.size() ? written.mid(start, end - start) : old.mid(start, end - start);
        }
    } else {
        const qsizetype whole = old.size() + next.size();
        const qsizetype length = cut % 4 == 0   ? old.size()
                               : cut % 4 == 1 ? whole
                               : cut % 4 == 2 ? std::min(whole, (old.size() / Block + 1 + where % 6) * Block)
                                              : old.size() + where % (next.size() + 1);
        state = old + next.left(length - old.size());
    }
    Rewrite(path, state);

    // What other programs did since.
    const QByteArray journalBytes = ReadBytes(journalPath);
    bool replaced = false;
    for (int step = 0; step < 4 && !in.empty(); ++step) {
        const unsigned what = in.byte() % 8;
        const unsigned at = in.word();
        const char change = char(in.byte() % 255 + 1);
        QByteArray journalNow = ReadBytes(journalPath);
        switch (what) {
        case 1:
            if (!state.isEmpty())
                state[at % state.size()] ^= change;
            Rewrite(path, state);
            break;
        case 2:
            state += Content(at % 300 + 1, uchar(change));
            Rewrite(path, state);
            break;
        case 3:
            state.truncate(at % (state.size() + 1));
            Rewrite(path, state);
            break;
        case 4:
            if (!journalNow.isEmpty())
                journalNow[at % journalNow.size()] ^= change;
            Rewrite(journalPath, journalNow);
            break;
        case 5:
            journalNow.truncate(at % (journalNow.size() + 1));
            Rewrite(journalPath, journalNow);
            break;
        case 6:
            Rewrite(journalPath, journalNow + Content(at % 64 + 1, uchar(change)));
            break;
        case 7: {
            // A new file in its place, with the same bytes.
            const QString beside = path + QStringLiteral(".new");
            QFile file(beside);
            Require(file.open(QIODevice::WriteOnly) && file.write(state) == state.size(), "the new file");
            file.close();
            Require(::rename(QFile::encodeName(beside).constData(), QFile::encodeName(path).constData()) == 0,
                    "rename");
            replaced = true;
            break;
        }
        default:
            break;
        }
    }

    const bool journalWhole = ReadBytes(journalPath) == journalBytes && !replaced;
    const bool legal = append ? LegalAfterAppend(state, old.size(), next) : LegalAfterSave(state, old, next);
    const QByteArray before = ReadBytes(path);
    Require(before == state, "the state was not made");
    const QByteArray older = append ? state.left(old.size()) : old;
    const platform::RecoveryOutcome outcome = platform::RecoverInterruptedSave(path);
    const QByteArray after = ReadBytes(path);
    if (journalWhole && legal) {
        Require(after == older, "a file as its save left it was not put back");
        Require((outcome.kind == Kind::Restored) == (before != older), "put back, but not said so");
    } else {
        Require(after == before, "a file changed since its save, or under a damaged journal, was changed");
        Require(outcome.kind != Kind::Restored, "said to be put back");
    }
    if (journalWhole && !legal) {
        Require(outcome.kind == Kind::Kept, "a file changed since was not said to be kept");
        Require(append ? outcome.kept.isEmpty() : ReadBytes(outcome.kept) == old, "the old content was not kept");
        Require(!QFile::exists(journalPath), "the journal of a file changed since stayed");
    }
    // Whatever it did, it does not act again.
    Require(platform::RecoverInterruptedSave(path).kind != Kind::Restored && ReadBytes(path) == after,
            "the journal acted twice");
}

}  // namespace journalfuzz
