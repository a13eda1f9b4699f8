#include "customise/HotKeyBox.h"

#include "platform/codemax/CodeMaxKeys.h"

#include <QKeyEvent>

HotKeyBox::HotKeyBox(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void HotKeyBox::Clear()
{
    captured_.reset();
    hotKeyText_.clear();
    clear();
}

bool HotKeyBox::event(QEvent* event)
{
    // Tab and the shortcuts of the window would never reach the box.
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
    event->accept();
    const int vk = platform::CodeMaxKeys::VirtualKey(*event);
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
        captured_ = key;
        hotKeyText_ = key->text;
        emit KeyCaptured(*key);
    }
}

void HotKeyBox::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    setText(hotKeyText_);
}

void HotKeyBox::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    selectAll();
}
