// A save run as its own process, so that a test can kill it part way
// (under strace) or run it as another user:
//   save_tool replace PATH CONTENT   writes the file CONTENT holds to PATH
//   save_tool append PATH CONTENT    appends it, a kilobyte per write
//   save_tool recover PATH           rolls back a save of PATH cut short
// It prints what happened; the exit status is 0 when the step worked.

#include "platform/files/AtomicWrite.h"
#include "platform/files/SaveJournal.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

bool readContent(const char* path, QByteArray* bytes)
{
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

int report(const platform::WriteOutcome& outcome)
{
    std::printf("%s\n", outcome ? "saved" : qPrintable(QStringLiteral("failed: ") + outcome.error));
    return outcome ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const QByteArray step = argc > 2 ? QByteArray(argv[1]) : QByteArray();
    const QString path = argc > 2 ? QFile::decodeName(argv[2]) : QString();
    QByteArray content;
    if (step == "recover" && argc == 3) {
        const platform::RecoveryOutcome outcome = platform::RecoverInterruptedSave(path);
        std::printf("%s\n", outcome.kind == platform::RecoveryOutcome::Kind::Nothing    ? "nothing"
                            : outcome.kind == platform::RecoveryOutcome::Kind::Restored ? "restored"
                                                                                         : "failed");
        return outcome.kind == platform::RecoveryOutcome::Kind::Failed ? 1 : 0;
    }
    if (argc != 4 || !readContent(argv[3], &content)) {
        std::fprintf(stderr, "usage: save_tool replace|append PATH CONTENT | recover PATH\n");
        return 2;
    }
    if (step == "replace")
        return report(platform::WriteFileAtomically(path, content));
    if (step == "append")
        return report(platform::AppendToFile(path, [&](int fd, int* error) {
            for (qsizetype done = 0; done < content.size();) {
                const ssize_t n = ::write(fd, content.constData() + done,
                                          std::size_t(std::min<qsizetype>(1024, content.size() - done)));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0) {
                    *error = n < 0 ? errno : EIO;
                    return false;
                }
                done += n;
            }
            return true;
        }));
    std::fprintf(stderr, "unknown step %s\n", step.constData());
    return 2;
}
