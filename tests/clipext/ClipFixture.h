#pragma once
// A clipboard extender under test: its own registry, program folder and
// clipboard content, and a fake tray whose availability the test chooses.

#include "clipext/frmClipMain.h"
#include "platform/desktop/TrayIcon.h"
#include "platform/registry/Registry.h"
#include "shell/MEditor.h"
#include "shell/cRegistry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class FakeTray : public platform::TrayIcon {
public:
    static inline bool available = true;
    static inline QPointer<FakeTray> last;
    bool shown = false;
    int iconUpdates = 0;
    QString tip;

    FakeTray() { last = this; }
    bool isAvailable() const override { return available; }
    void show() override { shown = true; }
    void hide() override { shown = false; }
    void setToolTip(const QString& text) override { tip = text; }
    void setIcon(const QIcon&) override { ++iconUpdates; }
    void click(Activation activation) { emit activated(activation); }
};

class ClipFixture {
public:
    explicit ClipFixture(bool trayAvailable = true)
    {
        platform::SetRegistryFolder(registry_.path());
        previousProgram_ = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", folder_.path().toLocal8Bit());
        FakeTray::available = trayAvailable;
        previousFactory_ = platform::SetTrayIconFactory([] { return std::make_unique<FakeTray>(); });
        SuppressClipCapture = false;
        QGuiApplication::clipboard()->clear();
    }
    ~ClipFixture()
    {
        window_.reset();
        platform::SetTrayIconFactory(previousFactory_);
        platform::SetRegistryFolder(QString());
        qputenv("TALVEX_PROGRAM_DIR", previousProgram_);
    }

    frmClipMain& window()
    {
        if (!window_)
            window_ = std::make_unique<frmClipMain>();
        return *window_;
    }
    // Closes the window as the user would; true when it went (not hidden).
    bool closeWindow()
    {
        QPointer<frmClipMain> window = window_.get();
        const bool closed = window_->close();
        if (closed)
            window_.reset();
        return closed;
    }
    QString path(const QString& name) const { return folder_.filePath(name); }
    QString folder() const { return folder_.path(); }

    static void setSetting(quint32 root, const QString& name, const QVariant& value,
                           quint32 type = platform::REG_DWORD)
    {
        cRegistry registry;
        registry.ClassKey(root);
        registry.SectionKey(ClipSettingsKey);
        registry.ValueKey(name);
        registry.ValueType(type);
        registry.Value(value);
    }
    static QVariant setting(quint32 root, const QString& name)
    {
        cRegistry registry;
        registry.ClassKey(root);
        registry.SectionKey(ClipSettingsKey);
        registry.ValueKey(name);
        return registry.Value();
    }

    // Puts content on the clipboard as another program would.
    static void copyText(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    static void copy(const QList<QPair<QString, QByteArray>>& formats)
    {
        auto* data = new QMimeData;
        for (const auto& [mime, bytes] : formats)
            data->setData(mime, bytes);
        QGuiApplication::clipboard()->setMimeData(data);
    }

private:
    QTemporaryDir registry_;
    QTemporaryDir folder_;
    QByteArray previousProgram_;
    platform::TrayIconFactory previousFactory_;
    std::unique_ptr<frmClipMain> window_;
};
