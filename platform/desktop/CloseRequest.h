#pragma once
// Asking another program of the suite, by its process id, to close, and
// hearing whether it did: the program runs its own questions ("save
// changes?") and answers once the user has decided. It works the same on
// every platform, whether the program's window is adopted or not.
//
// Only processes of the same user take part: the listening socket lies in a
// folder no other user may enter (the user's runtime folder, or one of the
// user's own in the temporary folder), and each end checks the other's user.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace platform {

// The program side: listens for requests addressed to this process. The
// handler closes what is to close and returns true when the program is
// ending (its answer is sent before the handler's caller goes on).
class CloseRequestListener : public QObject {
    Q_OBJECT
public:
    explicit CloseRequestListener(std::function<bool()> handler, QObject* parent = nullptr);
    ~CloseRequestListener() override;
    bool isListening() const;

private:
    void accept();

    std::function<bool()> handler_;
    std::unique_ptr<QLocalServer> server_;
};

enum class CloseAnswer {
    Closed,        // the program closed (or ended while being asked)
    Refused,       // the program stays open (the user cancelled)
    NotListening,  // no such program listens
};

// Asks the program to close and waits for its answer as long as the user
// takes; meanwhile windows repaint and timers run, while keys and clicks of
// this program are held back. connectTimeoutMs bounds only the connection.
CloseAnswer RequestClose(qint64 processId, int connectTimeoutMs = 3000);

// The name a process listens under: a socket in a folder of this user's
// alone (made when missing); empty when no such folder can be had.
QString CloseRequestName(qint64 processId);

}  // namespace platform
