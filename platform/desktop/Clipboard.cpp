#include "platform/desktop/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace platform {
namespace {

class ApplicationClipboard final : public Clipboard {
public:
    ApplicationClipboard()
    {
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &Clipboard::changed);
    }
    const QMimeData* mimeData() const override
    {
        return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    }
    void setMimeData(QMimeData* data) override
    {
        QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    }
    bool ownsContent() const override { return QGuiApplication::clipboard()->ownsClipboard(); }
};

Clipboard* Replacement = nullptr;

}  // namespace

Clipboard& TheClipboard()
{
    if (Replacement != nullptr)
        return *Replacement;
    // Made on first use, after the application exists; it goes with it.
    static ApplicationClipboard* application = [] {
        auto* clipboard = new ApplicationClipboard;
        clipboard->setParent(QGuiApplication::instance());
        return clipboard;
    }();
    return *application;
}

Clipboard* SetClipboardForTests(Clipboard* clipboard)
{
    Clipboard* previous = Replacement;
    Replacement = clipboard;
    return previous;
}

}  // namespace platform
