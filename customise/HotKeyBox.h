#pragma once
// The box that captures a key combination in the key and macro dialogs: every
// key pressed in it (Ctrl+A, Ctrl+Tab, Esc and Return included) is a capture,
// never text or a shortcut; it shows the last capturable combination. Tab and
// Shift+Tab move the focus, as from any text box: else a user without a mouse
// could never leave the box.

#include "customise/HotKeyText.h"

#include <QLineEdit>
#include <optional>

class HotKeyBox : public QLineEdit {
    Q_OBJECT
public:
    explicit HotKeyBox(QWidget* parent = nullptr);

    // The last combination captured; empty before any.
    const std::optional<CapturedKey>& Captured() const { return captured_; }
    void Clear();

signals:
    // A key captured; a modifier pressed alone when it is let go.
    void KeyCaptured(const CapturedKey& key);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Capture {
        std::optional<CapturedKey> key;
        QString text;
    };

    // Puts back, untold, the capture the held modifiers replaced: the Shift
    // of a Shift+Tab was pressed to move on, not to be bound.
    void UndoHeldModifiers();
    // Tells the capture of the modifiers held, as a key of its own.
    void ReportHeldModifiers();

    std::optional<CapturedKey> captured_;
    QString hotKeyText_;
    // The capture before the modifier keys now held down were pressed; set
    // while their capture is not yet told.
    std::optional<Capture> beforeModifiers_;
};
