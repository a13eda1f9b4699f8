#pragma once
// A fresh program folder and registry for one test, and the shell's
// program-wide values put back to how a new program starts.

#include "platform/forms/ScriptedAnswers.h"
#include "platform/codemax/CodeMax.h"
#include "platform/registry/Registry.h"
#include "shell/CommandLine.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class ShellFixture {
public:
    ShellFixture()
    {
        previousProgram_ = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program_.path().toLocal8Bit());
        platform::SetRegistryFolder(registry_.path());
        IniFile = ProgramPath(QStringLiteral("Editor.ini"));
        MacroIniFile = ProgramPath(QStringLiteral("Macro.ini"));
        SetDefaultEditorOptions();
        ColorItems = {};
        Macronumber = 0;
        MacroDescriptions = {};
        DialogCancelled = false;
        TextChanged = false;
        BulkEditRunning = false;
        SearchingG91 = false;
        WordListShown = false;
        LineHighlightOn = false;
        InsertMode = true;
        MacroPlaying = false;
        SuppressClipCapture = false;
        CommandLineText.clear();
        SetCommand({});
        EraseDocuments();
    }
    ~ShellFixture()
    {
        platform::SetRegistryFolder(QString());
        qputenv("TALVEX_PROGRAM_DIR", previousProgram_);
    }
    ShellFixture(const ShellFixture&) = delete;
    ShellFixture& operator=(const ShellFixture&) = delete;

    QString ProgramPath(const QString& name) const { return QDir(program_.path()).filePath(name); }
    QString ProgramFolder() const { return program_.path(); }

    static QByteArray ReadBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QString Fixture(const QString& name)
    {
        return qEnvironmentVariable("TALVEX_SOURCE_DIR") + QStringLiteral("/tests/shell/fixtures/") + name;
    }

private:
    // Answers any message box a test did not expect instead of blocking on it.
    platform::ScriptedAnswers unexpected_;
    QTemporaryDir program_;
    QTemporaryDir registry_;
    QByteArray previousProgram_;
};

// A document window with an editing control and nothing else that, like the
// real one, releases its slot when it goes. What its close question answers
// is set by the test (true: it may close).
class FakeDocument : public DocumentForm {
    Q_OBJECT
public:
    FakeDocument() : text_(new platform::CodeMax(this)) {}
    platform::CodeMax* Text1() override { return text_; }
    void ShowRecentFile(int index, const QString& path) override { recent.append({index, path}); }
    bool QueryUnload(int unloadMode) override
    {
        asked.append(unloadMode);
        return mayClose;
    }
    void Form_Activate() override { ++activations; }

    QList<QPair<int, QString>> recent;
    QList<int> asked;
    bool mayClose = true;
    int activations = 0;
    // Every window that went, in the order they went (their captions).
    static inline QStringList unloaded;

protected:
    void Form_Unload() override
    {
        unloaded.append(Caption());
        FreeDocumentIndex(SlotOf(*this));
    }

private:
    platform::CodeMax* text_;
};

inline std::unique_ptr<DocumentForm> MakeFakeDocument()
{
    return std::make_unique<FakeDocument>();
}

// The open document windows' captions, in slot order.
inline QStringList Captions()
{
    QStringList captions;
    for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
        if (DocumentForm* window = DocumentWindow(slot))
            captions.append(window->Caption());
    return captions;
}
