#pragma once
// Whether another instance of a program runs for the same user and the same
// program folder. The key is a hash of the user, the program folder and the
// program name, so programs in other folders (or other users) never see
// each other. Checking creates no window and writes no file.
//
// The instance that holds the claim also takes messages from later starts
// (their work handed over): each arrives once through messageReceived,
// after the sender has been told it arrived.
//
// Anyone on the machine may compute the key, so only a process of the same
// user counts: a message from another user's process is not taken, and a
// later start sends to no other user's. Where another user holds the key,
// an instance claims the key followed by "-1", "-2" or "-3" instead; should
// other users hold all four, the start runs unclaimed (claim() and
// anotherIsRunning() both false).

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // An empty program name means the application's name; an empty folder
    // means ProgramFolder().
    explicit SingleInstance(const QString& programName = QString(),
                            const QString& programFolder = QString(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another live instance of this user holds the claim (an
    // instance that ended or crashed does not count). False once this object
    // holds it.
    bool anotherIsRunning() const;
    // Makes this object the running instance until it is destroyed or
    // released; false when another instance holds the claim, or when other
    // users hold every name it may take.
    bool claim();
    void release();
    bool isClaimed() const;

    // Sends message to the instance that holds the claim; true once it
    // confirmed the receipt, false when none runs or it did not confirm
    // within timeoutMs.
    bool sendToRunning(const QByteArray& message, int timeoutMs = 10000) const;

    // The name the key is made of (for diagnostics).
    QString key() const { return key_; }

signals:
    void messageReceived(const QByteArray& message);

private:
    void acceptConnections();
    bool connectToRunning(QLocalSocket& socket, int timeoutMs) const;

    QString key_;
    std::unique_ptr<QLocalServer> server_;
};

// Whether the process at the other end of a connected local socket runs
// as this process's user (its effective user id).
bool PeerIsSameUser(qintptr socketDescriptor);

}  // namespace platform
