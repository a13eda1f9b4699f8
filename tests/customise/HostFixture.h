#pragma once
// What the host's tests share: a program folder of their own (the
// registration tool beside the program, a Plugins folder, an empty registry),
// the test plug-in library with its settings, and a main window with
// document windows that hold a real editing control.

#include "platform/codemax/CodeMax.h"
#include "platform/registry/Registry.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The program folder: TALVEX_PROGRAM_DIR and the registry (ours and the
// registration tool's) point into a temporary folder while the fixture lives.
class ProgramFixture {
public:
    explicit ProgramFixture(const QString& programName = QStringLiteral("program"))
        : program_(dir_.filePath(programName)),
          previousProgram_(qgetenv("TALVEX_PROGRAM_DIR")),
          previousRegistry_(qgetenv("TALVEX_REGISTRY_DIR"))
    {
        const QString registry = dir_.filePath(QStringLiteral("registry"));
        ok_ = dir_.isValid() && QDir().mkpath(program_) && QDir().mkpath(registry);
        qputenv("TALVEX_PROGRAM_DIR", program_.toLocal8Bit());
        qputenv("TALVEX_REGISTRY_DIR", registry.toLocal8Bit());
        platform::SetRegistryFolder(registry);
        ok_ = ok_ && Copy(Bin(QStringLiteral("regsvr")), ProgramPath(QStringLiteral("regsvr")))
              && QFile::setPermissions(ProgramPath(QStringLiteral("regsvr")),
                                       QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~ProgramFixture()
    {
        platform::SetRegistryFolder(QString());
        qputenv("TALVEX_PROGRAM_DIR", previousProgram_);
        qputenv("TALVEX_REGISTRY_DIR", previousRegistry_);
        ClearFixtureSettings();
    }
    ProgramFixture(const ProgramFixture&) = delete;
    ProgramFixture& operator=(const ProgramFixture&) = delete;

    bool IsValid() const { return ok_; }
    QString ProgramFolder() const { return program_; }
    QString ProgramPath(const QString& name) const { return program_ + u'/' + name; }
    QString Plugins() const { return ProgramPath(QStringLiteral("Plugins")); }
    QString Library(const QString& file) const { return Plugins() + u'/' + file; }
    QString Outside(const QString& file) const { return dir_.filePath(file); }

    // One of the suite's plug-ins (STATS.so, Sfm.so, Tornel.so, Avanco.so).
    bool AddShippedPlugin(const QString& file)
    {
        return QDir().mkpath(Plugins()) && Copy(Bin(QStringLiteral("Plugins/") + file), Library(file));
    }
    // The test plug-in under a file name of its own (a plug-in of its own).
    bool AddTestPlugin(const QString& file, const QString& folder = QString())
    {
        const QString target = folder.isEmpty() ? Library(file) : folder + u'/' + file;
        return QDir().mkpath(QFileInfo(target).path()) && Copy(QStringLiteral(HOST_FIXTURE), target);
    }
    // A file named like a library that is none.
    bool AddJunk(const QString& file)
    {
        QFile junk(Library(file));
        return QDir().mkpath(Plugins()) && junk.open(QIODevice::WriteOnly)
               && junk.write("not a library\n") > 0;
    }

    // Puts a stand-in for the registration tool in its place that writes
    // each run's arguments (one line, each in brackets) to the log and then
    // runs the real tool, or exits with exitCode when it is not 0.
    bool LogRegistrations(int exitCode = 0)
    {
        const QString real = ProgramPath(QStringLiteral("regsvr.real"));
        QFile::remove(real);
        if (!QFile::rename(ProgramPath(QStringLiteral("regsvr")), real) && !QFile::exists(real))
            return false;
        QFile script(ProgramPath(QStringLiteral("regsvr")));
        if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        const QString text = QStringLiteral(
                                 "#!/bin/sh\n"
                                 "line=\n"
                                 "for a in \"$@\"; do line=\"$line[$a]\"; done\n"
                                 "echo \"$line\" >> \"$(dirname \"$0\")/regsvr.log\"\n"
                                 "if [ %1 -ne 0 ]; then exit %1; fi\n"
                                 "exec \"$(dirname \"$0\")/regsvr.real\" \"$@\"\n")
                                 .arg(exitCode);
        script.write(text.toUtf8());
        script.close();
        return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList RegistrationLog() const
    {
        QFile log(ProgramPath(QStringLiteral("regsvr.log")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // Settings and records of the test plug-in (see fixtures/HostFixture.cpp).
    static void SetFixture(const QString& base, const char* key, const QVariant& value)
    {
        qApp->setProperty(Key(base, key), value);
    }
    static QVariant FixtureValue(const QString& base, const char* key) { return qApp->property(Key(base, key)); }
    static void ClearFixtureSettings()
    {
        for (const QByteArray& name : qApp->dynamicPropertyNames())
            if (name.startsWith("fixture/"))
                qApp->setProperty(name.constData(), QVariant());
    }

private:
    static QByteArray Key(const QString& base, const char* key)
    {
        return QStringLiteral("fixture/%1/%2").arg(base, QLatin1String(key)).toUtf8();
    }
    static QString Bin(const QString& name) { return QStringLiteral(TALVEX_BIN) + u'/' + name; }
    static bool Copy(const QString& from, const QString& to)
    {
        QFile::remove(to);
        return QFile::copy(from, to);
    }

    QTemporaryDir dir_;
    QString program_;
    QByteArray previousProgram_;
    QByteArray previousRegistry_;
    bool ok_ = false;
};

// A document window with an editing control and nothing else; it gives its
// slot back when it goes. It does not mark itself modified when its text
// changes, so that a test sees only what the host marks.
class HostDocument : public DocumentForm {
    Q_OBJECT
public:
    HostDocument() : text_(new platform::CodeMax(this))
    {
        resize(640, 480);
    }
    platform::CodeMax* Text1() override { return text_; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        DocumentForm::resizeEvent(event);
        text_->setGeometry(rect());
    }
    void Form_Unload() override { FreeDocumentIndex(SlotOf(*this)); }

private:
    platform::CodeMax* text_;
};

// A main window with no document open; documents come with NewDocument().
class MainWindowFixture {
public:
    MainWindowFixture()
    {
        EraseDocuments();
        TextChanged = false;
        CreateDocumentForm = [] { return std::make_unique<HostDocument>(); };
        main_ = std::make_unique<MDIMain>();
        main_->resize(800, 600);
        main_->show();
    }
    ~MainWindowFixture()
    {
        // The documents go before the main window.
        CloseAll();
        main_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        CreateDocumentForm = nullptr;
        EraseDocuments();
    }
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    MDIMain& Main() { return *main_; }
    // A new document with the text, active, not modified; returns its control.
    platform::CodeMax& OpenDocument(const QString& text)
    {
        NewDocument();
        // A size of its own: the splits divide it.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(ActiveDocumentForm()->parentWidget()))
            frame->resize(640, 480);
        QCoreApplication::sendPostedEvents();
        platform::CodeMax& control = ActiveText1();
        control.SetText(text);
        control.SetModified(false);
        DocumentState[static_cast<size_t>(SlotOf(*ActiveDocumentForm()))].Modified = false;
        TextChanged = false;
        return control;
    }
    static bool ActiveModified()
    {
        return DocumentState[static_cast<size_t>(SlotOf(*ActiveDocumentForm()))].Modified;
    }
    void CloseAll()
    {
        for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
            if (DocumentForm* window = DocumentWindow(slot))
                UnloadDocument(*window, vbFormCode, false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    std::unique_ptr<MDIMain> main_;
};
