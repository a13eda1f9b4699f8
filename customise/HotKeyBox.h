#pragma once
// The box that captures a key combination in the key and macro dialogs: every
// key pressed in it (Tab, Ctrl+A and Return included) is a capture, never
// text or a shortcut; it shows the last capturable combination.

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
    void KeyCaptured(const CapturedKey& key);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::optional<CapturedKey> captured_;
    QString hotKeyText_;
};
