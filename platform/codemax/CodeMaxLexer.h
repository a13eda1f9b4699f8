#pragma once
// Colours one editor view's text by a CodeMaxLanguage. Without a language,
// or with colouring off, everything is plain text. Styling goes straight
// from the document's bytes to one style run per call: no copies of the
// text, so a program of millions of lines colours in idle time.

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

    // The most bytes coloured per call from the start of what is uncoloured.
    static constexpr int maxPiece = 128 * 1024;

private:
    void styleRange(int start, int end);

    std::shared_ptr<const CodeMaxLanguage> language_;
    bool colouring_ = true;
    std::vector<char> styles_;
};

}  // namespace platform
