#pragma once
// A language definition of the editing control: keywords, operators and
// comment markers, registered under a name with CodeMaxGlobals and chosen
// by a control's Language.
//
// Lists are single strings whose entries are separated by line feeds; empty
// entries (a trailing line feed) are ignored. Option flag 1 makes keywords
// match regardless of letter case; the other flags (1 to 32) are stored only.
//
// Colouring works line by line (no comment spans lines):
//   - a comment starts at the opening delimiter and ends after the closing
//     one or at the end of the line; the line-comment marker, when it is not
//     the opening delimiter, runs to the end of the line;
//   - a word is a letter followed by a number (an NC address such as "G01",
//     "X-1.5") or a run of letters; a word found in the keyword list is a
//     keyword as a whole ("G01" in "N10G01X1."), else its letter is text and
//     its number a number ("G100");
//   - a number (digits with an optional point) that equals an operator entry
//     ("6.") is an operator; other numbers are numbers;
//   - the longest operator entry found at a place is an operator;
//   - everything else is text.

#include <QString>
#include <QStringList>
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

namespace platform {

class CodeMaxLanguage {
public:
    // Style numbers, equal to the control's font-style items.
    enum Style : char { Text = 0, Number = 1, Keyword = 2, Operator = 3, Comment = 5 };

    void SetOption(int flag, bool on);
    bool Option(int flag) const;
    bool IgnoreCase() const { return Option(1); }

    void SetKeywords(const QString& list);
    const QString& Keywords() const { return keywords_; }
    void SetOperators(const QString& list);
    const QString& Operators() const { return operators_; }
    void SetLineComment(const QString& marker);
    const QString& LineComment() const { return lineComment_; }
    void SetCommentPair(const QString& open, const QString& close);
    const QString& CommentOpen() const { return commentOpen_; }
    const QString& CommentClose() const { return commentClose_; }

    bool IsKeyword(const QString& word) const;
    bool IsOperator(const QString& entry) const;

    // Styles the bytes of whole lines (their line breaks included): one style
    // byte per byte in out. Bytes from 0x80 up are text.
    void StyleText(const char* text, size_t length, char* out) const;

    friend bool operator==(const CodeMaxLanguage& a, const CodeMaxLanguage& b)
    {
        return a.options_ == b.options_ && a.keywords_ == b.keywords_ && a.operators_ == b.operators_
            && a.lineComment_ == b.lineComment_ && a.commentOpen_ == b.commentOpen_
            && a.commentClose_ == b.commentClose_;
    }

private:
    void rebuildKeywords();
    bool keywordAt(const char* word, size_t length) const;
    size_t operatorAt(const char* text, size_t length) const;
    size_t styleLine(const char* text, size_t length, char* out) const;

    std::array<bool, 33> options_{};
    QString keywords_;
    QString operators_;
    QString lineComment_;
    QString commentOpen_;
    QString commentClose_;
    std::unordered_set<std::string> keywordSet_;  // upper case when ignoring case
    std::vector<std::string> operatorList_;       // longest first
    std::string lineCommentBytes_, openBytes_, closeBytes_;
};

}  // namespace platform
