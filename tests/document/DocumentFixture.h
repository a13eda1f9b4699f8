#pragma once
// A fresh program folder and registry, the program-wide values as a new
// program has them, and a running main window whose documents are real
// document windows.

#include "document/frmNotePad.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/registry/Registry.h"
#include "shell/CommandLine.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

class DocumentFixture {
public:
    DocumentFixture()
    {
        previousProgram_ = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program_.path().toLocal8Bit());
        platform::SetRegistryFolder(registry_.path());
        SetDefaultEditorOptions();
        ColorItems = {};
        Macronumber = 0;
        MacroDescriptions = {};
        DialogCancelled = TextChanged = BulkEditRunning = SearchingG91 = false;
        WordListShown = LineHighlightOn = MacroPlaying = SuppressClipCapture = SaveAllRunning = false;
        InsertMode = true;
        SetCommand({});
        EraseDocuments();
        CreateDocumentForm = [] { return std::make_unique<frmNotePad>(); };
        main = Main({});
        DefaultDir = program_.path();
    }
    ~DocumentFixture()
    {
        main.reset();
        CreateDocumentForm = nullptr;
        platform::SetRegistryFolder(QString());
        qputenv("TALVEX_PROGRAM_DIR", previousProgram_);
    }
    DocumentFixture(const DocumentFixture&) = delete;
    DocumentFixture& operator=(const DocumentFixture&) = delete;

    QString Path(const QString& name) const { return QDir(program_.path()).filePath(name); }
    QString Folder() const { return program_.path(); }

    // The active document window.
    frmNotePad* Active() const { return qobject_cast<frmNotePad*>(main->ActiveForm()); }
    static frmNotePad* Window(int slot) { return qobject_cast<frmNotePad*>(DocumentWindow(slot)); }

    std::unique_ptr<MDIMain> main;

private:
    // Answers any message box a test did not expect instead of blocking on it.
    platform::ScriptedAnswers unexpected_;
    QTemporaryDir program_;
    QTemporaryDir registry_;
    QByteArray previousProgram_;
};
