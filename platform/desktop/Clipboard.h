#pragma once
// The system clipboard as the programs see it: the whole content as MIME
// data, replaced in one step, and a signal for every change of it. The
// application's clipboard (QClipboard) is the default; tests may put a fake
// in its place.

#include <QObject>

class QMimeData;

namespace platform {

class Clipboard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Clipboard() override = default;

    // The content now on the clipboard; null when there is none. Valid
    // until the clipboard changes.
    virtual const QMimeData* mimeData() const = 0;
    // Replaces the whole content; the clipboard takes the data.
    virtual void setMimeData(QMimeData* data) = 0;
    // The content was put there by this program (and no other has replaced
    // it since). Always false where the clipboard is the process's own.
    virtual bool ownsContent() const = 0;

signals:
    // The content changed, by this program or another.
    void changed();
};

// The clipboard in use: the test's when one is set, else the application's.
Clipboard& TheClipboard();
// Test seam: puts clipboard in place of the application's (null restores
// it). The caller keeps ownership. Returns the previous replacement.
Clipboard* SetClipboardForTests(Clipboard* clipboard);

}  // namespace platform
