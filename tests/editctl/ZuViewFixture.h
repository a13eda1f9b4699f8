#pragma once
// An editor control shown offscreen with a small text, and keys typed into
// it from a short notation: "S-Left C-End A-Backspace x" (S- Shift, C- Ctrl,
// A- Alt; a single character types itself).

#include "editctl/ZuEditor20.h"

#include <QApplication>
#include <QTest>

#include <memory>

inline std::unique_ptr<ZuEditor20> ZuShownEditor(std::string_view text, QSize size = {400, 200})
{
    auto editor = std::make_unique<ZuEditor20>();
    editor->resize(size);
    editor->SetPlainText(text);
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor.get()))
        return nullptr;
    editor->activateWindow();
    editor->setFocus();
    return editor;
}

inline void ZuTypeKeys(QWidget& widget, const QString& sequence)
{
    static const QHash<QString, Qt::Key> names = {
        {"Left", Qt::Key_Left},       {"Right", Qt::Key_Right},     {"Up", Qt::Key_Up},
        {"Down", Qt::Key_Down},       {"Home", Qt::Key_Home},       {"End", Qt::Key_End},
        {"PgUp", Qt::Key_PageUp},     {"PgDn", Qt::Key_PageDown},   {"Delete", Qt::Key_Delete},
        {"Insert", Qt::Key_Insert},   {"Backspace", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab},
        {"Enter", Qt::Key_Return},    {"Esc", Qt::Key_Escape},      {"Space", Qt::Key_Space},
    };
    for (QString token : sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        Qt::KeyboardModifiers modifiers;
        while (token.size() > 2 && token[1] == QLatin1Char('-')) {
            if (token[0] == QLatin1Char('S'))
                modifiers |= Qt::ShiftModifier;
            else if (token[0] == QLatin1Char('C'))
                modifiers |= Qt::ControlModifier;
            else if (token[0] == QLatin1Char('A'))
                modifiers |= Qt::AltModifier;
            token = token.mid(2);
        }
        if (names.contains(token)) {
            QTest::keyClick(&widget, names.value(token), modifiers);
        } else {
            const QChar c = token[0];
            const Qt::Key key = c.isLetter() ? Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A')) : Qt::Key(c.unicode());
            if (modifiers & Qt::ControlModifier)
                QTest::keyClick(&widget, key, modifiers);
            else
                QTest::keyClick(&widget, c.toLatin1(), modifiers);
        }
    }
}

inline ZuTextPosition ZuPos(std::uint32_t x, std::uint32_t y)
{
    return {x, y};
}
