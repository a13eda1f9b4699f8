// clip_run: one clipboard-history file operation as a whole process, for clip_bench.
//
//   clip_run load FILE          loads FILE into a history ring of 512 entries
//   clip_run save FILE COPY     loads FILE, then saves the history to COPY (atomically, synced)
//
// Exit code 0 when the history held entries and the save succeeded.

#include "clipext/ClipHistory.h"
#include "clipext/ClipHistoryFile.h"
#include "platform/files/AtomicWrite.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

bool Load(const char* path, clipext::ClipHistory& history)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // As the extender reads it: the whole file, then the records out of it.
    const QByteArray bytes = file.readAll();
    const clipext::ClipFileContent content = clipext::ReadClipHistory(bytes);
    if (!content.validMagic || content.damaged)
        return false;
    history.Load(content.records, bytes);
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool save = argc == 4 && std::strcmp(argv[1], "save") == 0;
    if (!save && !(argc == 3 && std::strcmp(argv[1], "load") == 0)) {
        std::fprintf(stderr, "usage: clip_run load FILE | clip_run save FILE COPY\n");
        return 2;
    }
    clipext::ClipHistory history(clipext::ClipHistory::MaxSize);
    if (!Load(argv[2], history))
        return 1;
    if (save) {
        QByteArray bytes(clipext::ClipFileHeader().data(), clipext::ClipFileMagicSize);
        qsizetype size = bytes.size();
        for (const int index : history.Rows())
            for (const clipext::ClipBlock& block : history.Entry(index).Blocks())
                size += block.bytes.size() + 64;
        bytes.reserve(size + 2048 * static_cast<qsizetype>(history.Rows().size()));
        for (const int index : history.Rows())
            history.Entry(index).Serialise(bytes);
        if (!platform::WriteFileAtomically(QString::fromLocal8Bit(argv[3]), bytes))
            return 1;
    }
    return history.UsedCount() > 0 ? 0 : 1;
}
