#include "shell/DocumentForm.h"

#include "platform/codemax/CodeMax.h"
#include "platform/forms/Error.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPointer>

DocumentForm::DocumentForm(QWidget* parent) : QWidget(parent)
{
}

DocumentForm::~DocumentForm() = default;

QString DocumentForm::Caption() const
{
    return windowTitle();
}

void DocumentForm::Caption(const QString& text)
{
    setWindowTitle(text);
}

void DocumentForm::ShowRecentFile(int, const QString&)
{
}

QList<QMenu*> DocumentForm::MenuBarMenus() const
{
    return {};
}

void DocumentForm::Form_Activate()
{
}

bool DocumentForm::QueryUnload(int)
{
    return true;
}

void DocumentForm::Form_Unload()
{
}

void DocumentForm::closeEvent(QCloseEvent* event)
{
    if (ask_ && !QueryUnload(unloadMode_)) {
        // Whether the window stayed is the answer; the flag a cancelled
        // question sets must not reach a later command.
        DialogCancelled = false;
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

bool UnloadDocument(DocumentForm& window, int unloadMode, bool ask)
{
    QPointer<DocumentForm> guard(&window);
    window.unloadMode_ = unloadMode;
    window.ask_ = ask;
    // Closing the MDI frame closes the window inside it first.
    auto* frame = qobject_cast<QMdiSubWindow*>(window.parentWidget());
    const bool closed = frame != nullptr ? frame->close() : window.close();
    if (guard) {
        guard->unloadMode_ = vbFormControlMenu;
        guard->ask_ = true;
    }
    return closed;
}

DocumentForm* ActiveDocumentForm()
{
    const MDIMain* main = MDIMain::Instance();
    return main != nullptr ? main->ActiveForm() : nullptr;
}

platform::CodeMax& ActiveText1()
{
    DocumentForm* form = ActiveDocumentForm();
    platform::CodeMax* text = form != nullptr ? form->Text1() : nullptr;
    if (text == nullptr)
        throw platform::Error(91, QStringLiteral("Object variable or With block variable not set"));
    return *text;
}
