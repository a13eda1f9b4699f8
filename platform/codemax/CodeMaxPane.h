#pragma once
// One view of a CodeMax control's document. A control has one to four
// panes (split left/right and upper/lower) sharing one Scintilla document.
// The pane hands keys, typed text, mouse buttons and focus to its control,
// which dispatches keys through the process-wide hot-key table.

#include "platform/codemax/CodeMaxLexer.h"

#include <Qsci/qsciscintilla.h>

#include <cstdint>

namespace platform {

class CodeMax;

class CodeMaxPane : public QsciScintilla {
    Q_OBJECT
public:
    // Shows the given Scintilla document (kept alive by this pane while
    // shown), coloured by the language.
    CodeMaxPane(CodeMax& owner, void* document, std::shared_ptr<const CodeMaxLanguage> language,
                bool colouring, QWidget* parent = nullptr);
    ~CodeMaxPane() override;

    // Scintilla message with plain integer arguments.
    intptr_t Sci(unsigned int message, uintptr_t wParam = 0, intptr_t lParam = 0) const
    {
        return SendScintilla(message, static_cast<unsigned long>(wParam), static_cast<long>(lParam));
    }
    intptr_t SciPtr(unsigned int message, uintptr_t wParam, const void* lParam) const
    {
        return Sci(message, wParam, reinterpret_cast<intptr_t>(lParam));
    }

    CodeMaxLexer& Lexer() { return *lexer_; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    CodeMax& owner_;
    void* ownDocument_ = nullptr;  // the one QScintilla made; shown again at the end
    CodeMaxLexer* lexer_ = nullptr;
};

}  // namespace platform
