#pragma once
// The main window with document windows whose editing control holds a program, for the tests of
// the NC command frame. Programs are loaded from a file, so that the command's own edit is the
// only undo step.

#include "document/frmNotePad.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/WaitCursor.h"
#include "platform/registry/Registry.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/frmMsg.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QTest>

#include <functional>
#include <memory>

// A document window with an editing control and nothing of its own but the not-found report of
// the G91 search: the flags a test sees are the ones the command set.
class FrameTestDocument : public DocumentForm {
    Q_OBJECT
public:
    FrameTestDocument() : text_(new platform::CodeMax(this))
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(text_);
        connect(text_, &platform::CodeMax::CommandFailure, this, [](platform::CodeMax*, int, int code) {
            if (code == 4 && SearchingG91) {
                platform::MsgBox(QStringLiteral("G91 was not found!"), platform::vbExclamation,
                                 QStringLiteral("Talvex Editor"));
                SearchingG91 = false;
            }
        });
    }
    platform::CodeMax* Text1() override { return text_; }

protected:
    void Form_Unload() override { FreeDocumentIndex(SlotOf(*this)); }

private:
    platform::CodeMax* text_;
};

class FrameFixture {
public:
    // makeDocument: the document window to use (the test window when empty).
    explicit FrameFixture(std::function<std::unique_ptr<DocumentForm>()> makeDocument = {})
    {
        Isolate();
        SetDefaultEditorOptions();
        DialogCancelled = TextChanged = BulkEditRunning = SearchingG91 = false;
        LineHighlightOn = false;
        EraseDocuments();
        CreateDocumentForm = makeDocument ? std::move(makeDocument)
                                          : [] { return std::make_unique<FrameTestDocument>(); };
        main_ = std::make_unique<MDIMain>();
        main_->show();
        main_->activateWindow();
        [&] { QVERIFY(QTest::qWaitForWindowActive(main_.get())); }();
    }
    ~FrameFixture()
    {
        for (int slot = 1; slot <= DocumentSlotCount(); ++slot)
            if (DocumentForm* window = DocumentWindow(slot))
                UnloadDocument(*window, vbFormCode, false);
        main_.reset();
        EraseDocuments();
        CreateDocumentForm = nullptr;
        frmMsg::Unload();
        platform::SetRegistryFolder(QString());
        qputenv("TALVEX_PROGRAM_DIR", previousProgram_);
    }
    FrameFixture(const FrameFixture&) = delete;
    FrameFixture& operator=(const FrameFixture&) = delete;

    MDIMain& Main() { return *main_; }

    // A new active document holding bytes as if opened from a file: not modified, no undo.
    DocumentForm& Open(const QByteArray& bytes)
    {
        NewDocument();
        DocumentForm* window = ActiveDocumentForm();
        [&] { QVERIFY(window != nullptr); }();
        const QString path = folder_.filePath(QStringLiteral("program%1.nc").arg(++files_));
        QFile file(path);
        [&] { QVERIFY(file.open(QIODevice::WriteOnly)); }();
        file.write(bytes);
        file.close();
        window->Text1()->OpenFile(path);
        // A fresh document: the flags start as after a save.
        DocumentState[static_cast<std::size_t>(SlotOf(*window))].Modified = false;
        TextChanged = false;
        return *window;
    }

    // The bytes the document would save.
    QByteArray Saved(DocumentForm& window)
    {
        const QString path = folder_.filePath(QStringLiteral("saved%1.nc").arg(++files_));
        window.Text1()->SaveFile(path, false);
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool Modified(const DocumentForm& window)
    {
        return DocumentState[static_cast<std::size_t>(SlotOf(window))].Modified;
    }

    // The editing control is its window's focus widget (the window itself may not be active
    // under the offscreen platform once the "Working..." window has gone).
    static bool HasFocus(platform::CodeMax& text)
    {
        QWidget* focus = text.window()->focusWidget();
        return focus != nullptr && (focus == &text || text.isAncestorOf(focus));
    }

    // The test's own program folder and registry.
    void Isolate()
    {
        previousProgram_ = qgetenv("TALVEX_PROGRAM_DIR");
        qputenv("TALVEX_PROGRAM_DIR", program_.path().toLocal8Bit());
        platform::SetRegistryFolder(registry_.path());
        IniFile = program_.filePath(QStringLiteral("Editor.ini"));
        MacroIniFile = program_.filePath(QStringLiteral("Macro.ini"));
    }

private:
    QTemporaryDir program_;
    QTemporaryDir registry_;
    QByteArray previousProgram_;
    QTemporaryDir folder_;
    int files_ = 0;
    std::unique_ptr<MDIMain> main_;
};

// The real document window, for the tests that run commands through its menus.
inline std::unique_ptr<DocumentForm> MakeNotePad()
{
    return std::make_unique<frmNotePad>();
}

inline frmNotePad& NotePad(DocumentForm& window)
{
    return static_cast<frmNotePad&>(window);
}
