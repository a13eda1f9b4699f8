#include "platform/codemax/CodeMaxPane.h"

#include "platform/codemax/CodeMax.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace platform {
namespace {

// QScintilla's own accessible object counts characters from the start of
// the document on every edit and screen update, which makes typing in a
// program of a million lines take a quarter of a second per key. The editor
// gets a plain accessible widget instead (screen readers see no text).
QAccessibleInterface* plainEditorAccessible(const QString&, QObject* object)
{
    if (object && object->isWidgetType() && object->inherits("QsciScintillaBase"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::EditableText);
    return nullptr;
}

void installPlainAccessible()
{
    // Qt asks the factory installed last first, and QScintilla installs its
    // own when the first editor is made: so ours goes in after that.
    static const bool installed = [] {
        QAccessible::installFactory(plainEditorAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace

CodeMaxPane::CodeMaxPane(CodeMax& owner, void* document, std::shared_ptr<const CodeMaxLanguage> language,
                         bool colouring, QWidget* parent)
    : QsciScintilla(parent), owner_(owner)
{
    installPlainAccessible();
    // QScintilla keeps a handle on the document it made; keep that document
    // alive and show it again before QScintilla lets go of it.
    ownDocument_ = SendScintillaPtrResult(SCI_GETDOCPOINTER);
    SciPtr(SCI_ADDREFDOCUMENT, 0, ownDocument_);
    SciPtr(SCI_SETDOCPOINTER, 0, document);

    // Only the "before" notices: the others make QScintilla count characters
    // from the start of the document on every edit. The control raises its
    // own change events.
    Sci(SCI_SETMODEVENTMASK, SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE);
    Sci(SCI_SETIDLESTYLING, SC_IDLESTYLING_ALL);
    Sci(SCI_CLEARALLCMDKEYS);  // keys go through the control's hot-key table
    Sci(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
    setContextMenuPolicy(Qt::NoContextMenu);

    // The language goes in first: setting the lexer colours the document.
    lexer_ = new CodeMaxLexer(this);
    lexer_->SetLanguage(std::move(language));
    lexer_->SetColouring(colouring);
    setLexer(lexer_);
}

CodeMaxPane::~CodeMaxPane()
{
    // Back to QScintilla's own document first, so that what QScintilla does
    // on its way out (dropping the lexer) never touches the shared one.
    SciPtr(SCI_SETDOCPOINTER, 0, ownDocument_);
    SciPtr(SCI_RELEASEDOCUMENT, 0, ownDocument_);
}

bool CodeMaxPane::event(QEvent* e)
{
    if (e->type() == QEvent::ShortcutOverride) {
        // Take the keys that the table binds, and typing; leave the rest to
        // the window's shortcuts.
        auto* ke = static_cast<QKeyEvent*>(e);
        if (owner_.wantsKey(*ke)) {
            ke->accept();
            return true;
        }
        ke->ignore();
        return false;
    }
    return QsciScintilla::event(e);
}

void CodeMaxPane::keyPressEvent(QKeyEvent* e)
{
    owner_.handleKey(*this, *e);
}

void CodeMaxPane::inputMethodEvent(QInputMethodEvent* e)
{
    if (e->preeditString().isEmpty() && !e->commitString().isEmpty()
        && e->replacementLength() == 0) {
        owner_.handleTyping(*this, e->commitString());
        e->accept();
        return;
    }
    QsciScintilla::inputMethodEvent(e);
}

void CodeMaxPane::mousePressEvent(QMouseEvent* e)
{
    owner_.handleMouse(*this, *e, true);
    // The middle button pastes the selection where the system has one.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (e->button() == Qt::MiddleButton && clipboard->supportsSelection() && !owner_.ReadOnly()
        && owner_.refuseUnstorable(clipboard->text(QClipboard::Selection))) {
        e->accept();
        return;
    }
    QsciScintilla::mousePressEvent(e);
    owner_.afterUserAction();
}

void CodeMaxPane::dropEvent(QDropEvent* e)
{
    const QMimeData* data = e->mimeData();
    if (data && data->hasText() && !owner_.ReadOnly() && owner_.refuseUnstorable(data->text())) {
        e->ignore();
        return;
    }
    QsciScintilla::dropEvent(e);
}

void CodeMaxPane::mouseReleaseEvent(QMouseEvent* e)
{
    QsciScintilla::mouseReleaseEvent(e);
    owner_.afterUserAction();
    owner_.handleMouse(*this, *e, false);
}

void CodeMaxPane::focusInEvent(QFocusEvent* e)
{
    QsciScintilla::focusInEvent(e);
    owner_.handleFocus(*this);
}

void CodeMaxPane::contextMenuEvent(QContextMenuEvent* e)
{
    e->accept();  // no menu of its own: the programs show theirs on the mouse-up event
}

}  // namespace platform
