#include "customise/HotKeyBox.h"

#include "platform/codemax/CodeMaxKeys.h"

#include <QKeyEvent>

namespace {

// The keys a text box leaves to its dialog: Tab and Shift+Tab move the focus.
// With Ctrl or Alt they are captured, as every other key is (Esc included).
bool LeftToTheDialog(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier;
}

}  // namespace

HotKeyBox::HotKeyBox(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void HotKeyBox::Clear()
{
    captured_.reset();
    hotKeyText_.clear();
    beforeModifiers_.reset();
    clear();
}

void HotKeyBox::UndoHeldModifiers()
{
    if (!beforeModifiers_)
        return;
    captured_ = beforeModifiers_->key;
    hotKeyText_ = beforeModifiers_->text;
    beforeModifiers_.reset();
}

void HotKeyBox::ReportHeldModifiers()
{
    if (!beforeModifiers_)
        return;
    beforeModifiers_.reset();
    if (captured_)
        emit KeyCaptured(*captured_);
}

bool HotKeyBox::event(QEvent* event)
{
    const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (key && LeftToTheDialog(*static_cast<QKeyEvent*>(event))) {
        if (event->type() == QEvent::ShortcutOverride) {
            event->ignore();
            return false;
        }
        UndoHeldModifiers();
        return QLineEdit::event(event);
    }
    // The shortcuts of the window would never reach the box.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QLineEdit::event(event);
}

void HotKeyBox::keyPressEvent(QKeyEvent* event)
{
    // Tab with nowhere to go goes on up to the dialog.
    if (LeftToTheDialog(*event)) {
        event->ignore();
        return;
    }
    event->accept();
    const int vk = platform::CodeMaxKeys::VirtualKey(*event);
    const bool modifierAlone = platform::CodeMaxKeys::IsModifierKey(vk);
    if (!modifierAlone)
        ReportHeldModifiers();
    // An uncapturable key leaves the last capture and its text as they were.
    int mask = platform::CodeMaxKeys::ShiftMask(event->modifiers());
    // A modifier pressed alone counts itself, whatever the window system says.
    if (vk == 16)
        mask |= 1;
    else if (vk == 17)
        mask |= 2;
    else if (vk == 18)
        mask |= 4;
    if (const std::optional<CapturedKey> key = CaptureKey(vk, mask)) {
        if (modifierAlone && !beforeModifiers_)
            beforeModifiers_ = Capture{captured_, hotKeyText_};
        captured_ = key;
        hotKeyText_ = key->text;
        // A modifier alone is told when it is let go or another key comes:
        // its Shift may yet turn out to be a Shift+Tab's.
        if (!modifierAlone)
            emit KeyCaptured(*key);
    }
}

void HotKeyBox::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    ReportHeldModifiers();
    setText(hotKeyText_);
}

void HotKeyBox::focusOutEvent(QFocusEvent* event)
{
    // A modifier still held when the focus went elsewhere was the key typed.
    ReportHeldModifiers();
    QLineEdit::focusOutEvent(event);
}

void HotKeyBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    selectAll();
}
