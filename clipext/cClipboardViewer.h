#pragma once
// Watches the clipboard for a window: ClipboardChanged for every new
// content, by any program, except while the program-wide SuppressClipCapture
// is set. The extender sets it only around its own write (ClipCaptureGuard),
// so what the user copies anywhere afterwards is recorded again.

#include <QObject>
#include <QPointer>

class cClipboardViewer : public QObject {
    Q_OBJECT
public:
    explicit cClipboardViewer(QObject* parent = nullptr);
    ~cClipboardViewer() override;

    // Starts watching for window (null: stops only); stops any earlier watch.
    void InitClipboardChangeNotification(QObject* window);
    void StopClipboardChangeNotification();
    bool IsActive() const { return active_; }

signals:
    void ClipboardChanged();

private:
    void Changed();

    QPointer<QObject> window_;
    bool active_ = false;
};

// While alive, clipboard changes are not recorded: wrap the extender's own
// write to the clipboard in one. The flag is put back as it was.
class ClipCaptureGuard {
public:
    ClipCaptureGuard();
    ~ClipCaptureGuard();
    ClipCaptureGuard(const ClipCaptureGuard&) = delete;
    ClipCaptureGuard& operator=(const ClipCaptureGuard&) = delete;

private:
    bool previous_;
};
