// A save run as its own process, so that a test can kill it part way
// (under strace) or run it as another user:
//   save_tool replace PATH CONTENT   writes the file CONTENT holds to PATH
//   save_tool append PATH CONTENT    appends it
//   save_tool recover PATH           rolls back a save of PATH cut short
// It prints what happened (recover: nothing, restored, kept or failed, then
// the message on a line of its own); the exit status is 0 when the step
// worked.

#include "platform/files/AtomicWrite.h"
#include "platform/files/SaveJournal.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <span>

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
        using Kind = platform::RecoveryOutcome::Kind;
        std::printf("%s\n%s\n",
                    outcome.kind == Kind::Nothing    ? "nothing"
                    : outcome.kind == Kind::Restored ? "restored"
                    : outcome.kind == Kind::Kept     ? "kept"
                                                     : "failed",
                    qPrintable(outcome.message));
        return outcome.kind == platform::RecoveryOutcome::Kind::Failed ? 1 : 0;
    }
    if (argc != 4 || !readContent(argv[3], &content)) {
        std::fprintf(stderr, "usage: save_tool replace|append PATH CONTENT | recover PATH\n");
        return 2;
    }
    if (step == "replace")
        return report(platform::WriteFileAtomically(path, content));
    if (step == "append") {
        const QByteArrayView added(content);
        return report(platform::AppendToFile(path, std::span<const QByteArrayView>(&added, 1)));
    }
    std::fprintf(stderr, "unknown step %s\n", step.constData());
    return 2;
}
