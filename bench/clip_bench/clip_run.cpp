// clip_run: one clipboard-history file operation as a whole process, for clip_bench.
//
//   clip_run load FILE          loads FILE into a history ring of 512 entries
//   clip_run save FILE COPY     loads FILE, then saves the history to COPY (atomically, synced)
//
// Exit code 0 when the history held entries and the save succeeded.

#include "clipext/ClipHistory.h"
#include "clipext/ClipHistoryFile.h"
#include "platform/files/AtomicWrite.h"
#include "platform/files/ReadWholeFile.h"

#include <cstdio>
#include <cstring>

namespace {

bool Load(const char* path, clipext::ClipHistory& history)
{
    // As the extender reads it: the whole file, then the records out of it.
    QByteArray bytes;
    if (!platform::ReadWholeFile(QString::fromLocal8Bit(path), bytes))
        return false;
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
        // As the extender saves it: the entries' own bytes, written as pieces.
        clipext::ClipFilePieces file;
        for (const int index : history.Rows())
            history.Entry(index).Serialise(file);
        if (!platform::WriteFileAtomically(QString::fromLocal8Bit(argv[3]), file.Pieces()))
            return 1;
    }
    return history.UsedCount() > 0 ? 0 : 1;
}
