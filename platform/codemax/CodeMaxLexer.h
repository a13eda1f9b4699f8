#pragma once
// Colours one editor view's text by a CodeMaxLanguage. Without a language,
// or with colouring off, everything is plain text. Styling goes straight
// from the document's bytes to one style run per call: no copies of the
// text, so a program of millions of lines colours in idle time.
//
// Lines are coloured on their own and Scintilla keeps the styles with the
// text, so after an edit only the lines it touched are coloured again: the
// lexer notes the lines each edit touches (from the notices sent before
// it) and, once they are coloured, moves Scintilla's mark of what is
// coloured back to where it stood before the edits.

#include "platform/codemax/CodeMaxLanguage.h"

#include <Qsci/qscilexercustom.h>

#include <memory>
#include <vector>

namespace platform {

class CodeMaxLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit CodeMaxLexer(QObject* parent = nullptr);

    void SetLanguage(std::shared_ptr<const CodeMaxLanguage> language);
    const std::shared_ptr<const CodeMaxLanguage>& Language() const { return language_; }
    void SetColouring(bool on);
    bool Colouring() const { return colouring_; }

    const char* language() const override;
    QString description(int style) const override;
    void styleText(int start, int end) override;
    void setEditor(QsciScintilla* editor) override;

    // The most bytes coloured per call from the start of what is uncoloured.
    static constexpr int maxPiece = 128 * 1024;

private:
    void styleRange(int start, int end);
    void noteEdit(int position, int type, int length);
    long send(unsigned int message, unsigned long w = 0, long l = 0) const;
    long lineStart(long position) const;
    long nextLineStart(long position) const;

    std::shared_ptr<const CodeMaxLanguage> language_;
    bool colouring_ = true;
    std::vector<char> styles_;

    // The lines edited since they were last coloured, [first, after) in
    // the text as it is now, and how far the text was coloured before the
    // edits (moved with them). Outside the edited lines, the text up to
    // there keeps its colours.
    struct Edited {
        bool pending = false;
        long first = 0, after = 0, colouredTo = 0;
    } edited_;
};

}  // namespace platform
