#include "shell/MCompareProgram.h"

#include "platform/desktop/CloseRequest.h"
#include "platform/desktop/ForeignWindows.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/shell/Shell.h"
#include "shell/MDIMain.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <signal.h>

namespace {

QList<qint64> Started;

bool IsRunning(qint64 processId)
{
    return processId > 0 && (::kill(pid_t(processId), 0) == 0 || errno == EPERM);
}

// Lets the editor paint and its timers run for a moment; keys and clicks wait.
void Pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

quint64 WaitForWindow(qint64 processId)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (const quint64 window = platform::FindProcessWindow(processId))
            return window;
        if (clock.elapsed() >= CompareWindowWaitMs || !IsRunning(processId))
            return 0;
        Pause(50);
    }
}

// The workspace's frame of an adopted window: closing it asks the compare
// program to close (its own question runs); the frame goes with the window.
class AdoptedFrame : public QObject {
public:
    AdoptedFrame(QMdiSubWindow* frame, quint64 window, qint64 processId)
        : QObject(frame), frame_(frame), window_(window), processId_(processId)
    {
        frame->installEventFilter(this);
        auto* watch = new QTimer(this);
        connect(watch, &QTimer::timeout, this, [this] {
            if (!platform::Windows().Exists(window_))
                Release();
        });
        watch->start(300);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The type first: other events may come while the frame is half destroyed.
        if (event->type() == QEvent::Close && !released_ && watched == frame_) {
            event->ignore();
            const QPointer<AdoptedFrame> alive(this);
            if (platform::RequestClose(processId_) != platform::CloseAnswer::Refused) {
                Started.removeAll(processId_);
                if (alive)
                    Release();
            }
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Release()
    {
        released_ = true;
        if (frame_)
            frame_->close();
    }

    QPointer<QMdiSubWindow> frame_;
    quint64 window_;
    qint64 processId_;
    bool released_ = false;
};

void Adopt(MDIMain& main, quint64 window, qint64 processId)
{
    QWidget* holder = platform::Windows().Adopt(window);
    if (holder == nullptr)
        return;
    QMdiSubWindow* frame = main.mdiArea->addSubWindow(holder);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(QStringLiteral("Talvex Compare"));
    frame->setObjectName(QStringLiteral("CompareWindow"));
    new AdoptedFrame(frame, window, processId);
    frame->showMaximized();
    // Under a window manager the adopted window keeps its old size until
    // the holder's size changes once more.
    QTimer::singleShot(400, frame, [frame] {
        const QSize size = frame->size();
        frame->resize(size - QSize(1, 1));
        frame->resize(size);
    });
}

}  // namespace

bool StartCompareProgram(MDIMain& main)
{
    qint64 processId = 0;
    bool started = false;
    try {
        started = platform::StartProgram(platform::ProgramFile(QStringLiteral("\\Brevlin")), {}, QString(),
                                         &processId);
    } catch (...) {
        started = false;
    }
    if (!started)
        return false;
    if (processId > 0)
        Started.append(processId);
    if (processId > 0 && platform::Windows().CanAdopt()) {
        if (const quint64 window = WaitForWindow(processId))
            Adopt(main, window, processId);
    }
    return true;
}

bool CloseComparePrograms()
{
    const QList<qint64> programs = Started;
    for (const qint64 processId : programs) {
        if (!IsRunning(processId)) {
            Started.removeAll(processId);
            continue;
        }
        if (platform::RequestClose(processId) == platform::CloseAnswer::Refused)
            return false;
        Started.removeAll(processId);
    }
    return true;
}

QList<qint64> RunningComparePrograms()
{
    QList<qint64> running;
    for (const qint64 processId : Started)
        if (IsRunning(processId))
            running.append(processId);
    return running;
}
