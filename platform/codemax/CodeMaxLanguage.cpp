#include "platform/codemax/CodeMaxLanguage.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

std::vector<std::string> entries(const QString& list)
{
    std::vector<std::string> out;
    for (const QString& e : list.split(QChar('\n'), Qt::SkipEmptyParts))
        out.push_back(e.toStdString());
    return out;
}

bool startsWith(const char* text, size_t length, const std::string& what)
{
    return !what.empty() && what.size() <= length && std::memcmp(text, what.data(), what.size()) == 0;
}

// Length of a number (digits with an optional point and more digits) at text.
size_t numberLength(const char* text, size_t length)
{
    size_t i = 0;
    while (i < length && isDigit(text[i]))
        ++i;
    if (i < length && text[i] == '.') {
        ++i;
        while (i < length && isDigit(text[i]))
            ++i;
    }
    return i;
}

}  // namespace

void CodeMaxLanguage::SetOption(int flag, bool on)
{
    if (flag < 1 || flag >= int(options_.size()))
        return;
    options_[size_t(flag)] = on;
    if (flag == 1)
        rebuildKeywords();
}

bool CodeMaxLanguage::Option(int flag) const
{
    return flag >= 1 && flag < int(options_.size()) && options_[size_t(flag)];
}

void CodeMaxLanguage::SetKeywords(const QString& list)
{
    keywords_ = list;
    rebuildKeywords();
}

void CodeMaxLanguage::rebuildKeywords()
{
    keywordSet_.clear();
    for (std::string word : entries(keywords_)) {
        if (IgnoreCase())
            std::transform(word.begin(), word.end(), word.begin(), upper);
        keywordSet_.insert(word);
    }
}

void CodeMaxLanguage::SetOperators(const QString& list)
{
    operators_ = list;
    operatorList_ = entries(list);
    std::stable_sort(operatorList_.begin(), operatorList_.end(),
                     [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

void CodeMaxLanguage::SetLineComment(const QString& marker)
{
    lineComment_ = marker;
    lineCommentBytes_ = marker.toStdString();
}

void CodeMaxLanguage::SetCommentPair(const QString& open, const QString& close)
{
    commentOpen_ = open;
    commentClose_ = close;
    openBytes_ = open.toStdString();
    closeBytes_ = close.toStdString();
}

bool CodeMaxLanguage::IsKeyword(const QString& word) const
{
    const QByteArray bytes = word.toUtf8();
    return keywordAt(bytes.constData(), size_t(bytes.size()));
}

bool CodeMaxLanguage::IsOperator(const QString& entry) const
{
    const std::string e = entry.toStdString();
    return std::find(operatorList_.begin(), operatorList_.end(), e) != operatorList_.end();
}

bool CodeMaxLanguage::keywordAt(const char* word, size_t length) const
{
    if (keywordSet_.empty() || length == 0 || length > 64)
        return false;
    std::string key(word, length);
    if (IgnoreCase())
        std::transform(key.begin(), key.end(), key.begin(), upper);
    return keywordSet_.count(key) != 0;
}

size_t CodeMaxLanguage::operatorAt(const char* text, size_t length) const
{
    for (const std::string& op : operatorList_)
        if (startsWith(text, length, op))
            return op.size();
    return 0;
}

void CodeMaxLanguage::StyleText(const char* text, size_t length, char* out) const
{
    size_t i = 0;
    while (i < length) {
        size_t lineEnd = i;
        while (lineEnd < length && !isLineEnd(text[lineEnd]))
            ++lineEnd;
        styleLine(text + i, lineEnd - i, out + i);
        i = lineEnd;
        while (i < length && isLineEnd(text[i]))
            out[i++] = Text;
    }
}

size_t CodeMaxLanguage::styleLine(const char* text, size_t length, char* out) const
{
    size_t i = 0;
    const auto mark = [&](size_t n, char style) {
        std::memset(out + i, style, n);
        i += n;
    };
    while (i < length) {
        const char* p = text + i;
        const size_t rest = length - i;
        const char c = *p;
        if (startsWith(p, rest, openBytes_)) {
            // To the closing delimiter (included) or the end of the line.
            size_t end = openBytes_.size();
            while (end < rest && !(closeBytes_.size() && startsWith(p + end, rest - end, closeBytes_)))
                ++end;
            if (end < rest)
                end += closeBytes_.size();
            mark(end, Comment);
        } else if (startsWith(p, rest, lineCommentBytes_)) {
            mark(rest, Comment);
        } else if (isLetter(c)) {
            size_t letters = 1;
            while (letters < rest && isLetter(p[letters]))
                ++letters;
            if (letters == 1 && rest > 1 && (isDigit(p[1]) || p[1] == '.')) {
                // An address word: the letter and its number.
                const size_t number = numberLength(p + 1, rest - 1);
                if (number && keywordAt(p, 1 + number)) {
                    mark(1 + number, Keyword);
                } else {
                    mark(1, Text);
                }
            } else {
                mark(letters, keywordAt(p, letters) ? Keyword : Text);
            }
        } else if (isDigit(c) || (c == '.' && rest > 1 && isDigit(p[1]))) {
            const size_t number = numberLength(p, rest);
            const std::string token(p, number);
            const bool isOp = std::find(operatorList_.begin(), operatorList_.end(), token)
                != operatorList_.end();
            mark(number, isOp ? Operator : Number);
        } else if (const size_t op = operatorAt(p, rest)) {
            mark(op, Operator);
        } else {
            mark(1, Text);
        }
    }
    return i;
}

}  // namespace platform
