#include "platform/profile/PrivateProfile.h"

#include "platform/files/AtomicWrite.h"
#include "platform/files/FileLock.h"
#include "platform/files/FileText.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace platform {
namespace {

// One line of the file: where its text and its line end lie in the bytes.
struct Line {
    enum Kind { Blank, Comment, Section, Key, Damaged };
    Kind kind = Blank;
    qsizetype start = 0;    // first byte of the line
    qsizetype end = 0;      // first byte of the line end
    qsizetype next = 0;     // first byte of the next line
    QString name;           // section or key name, trimmed
    QString value;          // key value, trimmed and unquoted
    qsizetype keyStart = 0; // where the key begins (for a rewrite in place)
};

// The file parsed into lines; every byte belongs to exactly one line.
struct Document {
    QByteArray bytes;
    std::vector<Line> lines;
    QByteArray lineEnd = "\r\n";  // the file's own line end, for new lines
    QString problem;              // the first damage found, if any
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray trimmed(const char* begin, const char* end)
{
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    return QByteArray(begin, end - begin);
}

// Bytes that do not belong in a text line (the line end bytes are split off).
bool hasBinaryBytes(const char* begin, const char* end)
{
    for (const char* p = begin; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return true;
    }
    return false;
}

// Whether the bytes are valid UTF-8 holding at least one non-ASCII
// character: only then is a line read as UTF-8 (strictly: no overlong
// forms, no surrogates), so that Latin-1 text reads as it always did.
bool readsAsUtf8(const char* begin, const char* end)
{
    bool nonAscii = false;
    for (const char* p = begin; p < end;) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x80) {
            ++p;
            continue;
        }
        nonAscii = true;
        int more = 0;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto b = static_cast<unsigned char>(p[k]);
            if ((b & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (b & 0x3F);
        }
        if ((more == 2 && code < 0x800) || (more == 3 && (code < 0x10000 || code > 0x10FFFF))
            || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += more + 1;
    }
    return nonAscii;
}

bool readsAsUtf8(const QByteArray& bytes)
{
    return readsAsUtf8(bytes.constBegin(), bytes.constEnd());
}

// The bytes of one line written by us: Latin-1 when that reads back as the
// same text, else UTF-8 (text outside Latin-1, or Latin-1 text whose bytes
// would happen to read as UTF-8).
QByteArray encodeLine(const QString& text)
{
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (latin1) {
        QByteArray bytes = text.toLatin1();
        if (!readsAsUtf8(bytes))
            return bytes;
    }
    return text.toUtf8();
}

void classify(Document& document, Line& line, int number)
{
    const char* const data = document.bytes.constData();
    const char* begin = data + line.start;
    const char* end = data + line.end;
    // A UTF-8 mark before the first line is no part of its text.
    if (number == 1 && end - begin >= 3 && QByteArrayView(begin, 3) == "\xEF\xBB\xBF")
        begin += 3;
    const bool utf8 = readsAsUtf8(begin, end);
    auto decode = [utf8](const QByteArray& bytes) {
        return utf8 ? TextFromUtf8(bytes) : QString::fromLatin1(bytes);
    };
    while (begin < end && isBlank(*begin))
        ++begin;
    auto damage = [&](const char* what) {
        line.kind = Line::Damaged;
        if (document.problem.isEmpty())
            document.problem = QStringLiteral("line %1: %2").arg(number).arg(QLatin1String(what));
    };
    if (begin == end) {
        line.kind = Line::Blank;
    } else if (hasBinaryBytes(begin, end)) {
        damage("binary bytes");
    } else if (*begin == ';') {
        line.kind = Line::Comment;
    } else if (*begin == '[') {
        const char* close = begin + 1;
        while (close < end && *close != ']')
            ++close;
        if (close == end) {
            damage("no closing ']'");
        } else {
            line.kind = Line::Section;
            line.name = decode(trimmed(begin + 1, close));
        }
    } else {
        const char* equals = begin;
        while (equals < end && *equals != '=')
            ++equals;
        if (equals == end) {
            damage("no '='");
            return;
        }
        line.kind = Line::Key;
        line.name = decode(trimmed(begin, equals));
        line.keyStart = begin - data;
        QByteArray value = trimmed(equals + 1, end);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        line.value = decode(value);
    }
}

Document parse(QByteArray bytes)
{
    Document document;
    document.bytes = std::move(bytes);
    const QByteArray& b = document.bytes;
    bool lineEndSeen = false;
    qsizetype pos = 0;
    int number = 0;
    while (pos < b.size()) {
        Line line;
        line.start = pos;
        qsizetype end = pos;
        while (end < b.size() && b[end] != '\n' && b[end] != '\r')
            ++end;
        line.end = end;
        qsizetype next = end;
        if (next < b.size()) {
            next += (b[next] == '\r' && next + 1 < b.size() && b[next + 1] == '\n') ? 2 : 1;
            if (!lineEndSeen) {
                document.lineEnd = b.mid(end, next - end);
                lineEndSeen = true;
            }
        }
        line.next = next;
        classify(document, line, ++number);
        document.lines.push_back(std::move(line));
        pos = next;
    }
    return document;
}

// Blanks (spaces and tabs) cut from both ends, as the file's names are cut:
// other white space (a no-break space) is part of a name.
QString trimmedBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.mid(begin, end - begin);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(trimmedBlanks(b), Qt::CaseInsensitive) == 0;
}

// The index of the first header of the section, or nullopt.
std::optional<size_t> findSection(const Document& document, const QString& section)
{
    for (size_t i = 0; i < document.lines.size(); ++i) {
        const Line& line = document.lines[i];
        if (line.kind == Line::Section && sameName(line.name, section))
            return i;
    }
    return std::nullopt;
}

// One past the last line of the section that starts at header.
size_t sectionEnd(const Document& document, size_t header)
{
    size_t i = header + 1;
    while (i < document.lines.size() && document.lines[i].kind != Line::Section)
        ++i;
    return i;
}

std::optional<size_t> findKey(const Document& document, size_t header, const QString& key)
{
    const size_t end = sectionEnd(document, header);
    for (size_t i = header + 1; i < end; ++i) {
        const Line& line = document.lines[i];
        if (line.kind == Line::Key && sameName(line.name, key))
            return i;
    }
    return std::nullopt;
}

std::mutex damageMutex;
ProfileDamageHandler damageHandler;
QHash<QString, QByteArray> reportedDamage;  // file -> hash of the content reported

void reportDamage(const QString& file, const Document& document)
{
    if (document.problem.isEmpty())
        return;
    const QByteArray hash = QCryptographicHash::hash(document.bytes, QCryptographicHash::Sha1);
    ProfileDamageHandler handler;
    {
        std::lock_guard lock(damageMutex);
        const QString key = QFileInfo(file).absoluteFilePath();
        auto it = reportedDamage.find(key);
        if (it != reportedDamage.end() && it.value() == hash)
            return;
        reportedDamage.insert(key, hash);
        handler = damageHandler;
    }
    if (handler)
        handler(file, document.problem);
}

// Reads and parses the file; nullopt when it cannot be read.
std::optional<Document> load(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    Document document = parse(f.readAll());
    reportDamage(file, document);
    return document;
}

// The value of key in section, or nullopt when the file, section or key is missing.
std::optional<QString> findValue(const QString& file, const QString& section, const QString& key)
{
    const std::optional<Document> document = load(file);
    if (!document)
        return std::nullopt;
    const auto header = findSection(*document, section);
    if (!header)
        return std::nullopt;
    const auto line = findKey(*document, *header, key);
    if (!line)
        return std::nullopt;
    return document->lines[*line].value;
}

QString cut(const QString& value, int bufferSize)
{
    if (bufferSize <= 0)
        return QString();
    QString text = value.left(bufferSize - 1);
    // Never half of a character outside the basic plane.
    if (text.size() < value.size() && !text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

bool writeFile(const QString& file, const QByteArray& bytes)
{
    // A read-only file stays as it is, as the platform refuses to write it.
    const QFileInfo info(file);
    if (info.exists() && !info.isWritable())
        return false;
    return WriteFileAtomically(file, bytes).ok;
}

// Text that would break the file's lines or its structure, or that could
// not be read back: control characters (but tab) and half surrogate pairs.
bool unsafe(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            return true;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

}  // namespace

QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& file, int bufferSize)
{
    if (const auto value = findValue(file, section, key))
        return cut(*value, bufferSize);
    return cut(trimmedBlanks(defaultValue), bufferSize);
}

int GetPrivateProfileInt(const QString& section, const QString& key, int defaultValue,
                         const QString& file)
{
    const auto value = findValue(file, section, key);
    if (!value)
        return defaultValue;
    const QByteArray text = value->toLatin1();  // only ASCII digits and signs count
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        ++i;
    }
    quint32 number = 0;  // wraps as the platform's 32-bit number does
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        number = number * 10u + quint32(text[i] - '0');
    if (negative)
        number = 0u - number;
    return static_cast<int>(number);
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& file)
{
    if (trimmedBlanks(section).isEmpty() || unsafe(section) || section.contains(u']'))
        return false;
    if (!key.isNull() && (trimmedBlanks(key).isEmpty() || unsafe(key) || key.contains(u'=')
                          || trimmedBlanks(key).startsWith(u'[') || trimmedBlanks(key).startsWith(u';')))
        return false;
    if (unsafe(value))
        return false;

    // Another process's change between our read and our write would be lost.
    FileLock lock(LockFileOf(file));
    if (lock.lock(FileLockWaitMs) != FileLock::Outcome::Locked)
        return false;
    const QFileInfo info(file);
    Document document;
    if (info.exists()) {
        std::optional<Document> loaded = load(file);
        if (!loaded)
            return false;
        document = std::move(*loaded);
    }
    const QByteArray& bytes = document.bytes;
    const QByteArray& eol = document.lineEnd;
    const auto header = findSection(document, section);
    QByteArray result;

    if (key.isNull()) {
        // Delete the section: its header and every line up to the next one,
        // but the blank lines that separate it from the next section stay.
        if (!header)
            return true;
        const size_t end = sectionEnd(document, *header);
        size_t last = end;
        while (last > *header + 1 && document.lines[last - 1].kind == Line::Blank)
            --last;
        const qsizetype from = document.lines[*header].start;
        const qsizetype to = last < document.lines.size() ? document.lines[last].start : bytes.size();
        result = bytes.left(from) + bytes.mid(to);
    } else if (value.isNull()) {
        if (!header)
            return true;
        const auto line = findKey(document, *header, key);
        if (!line)
            return true;
        const Line& l = document.lines[*line];
        result = bytes.left(l.start) + bytes.mid(l.next);
    } else {
        if (header) {
            if (const auto line = findKey(document, *header, key)) {
                // Rewrite the one line: the key as written, "=", the value,
                // all in the one encoding that reads back as this text.
                const Line& l = document.lines[*line];
                result = bytes.left(l.keyStart) + encodeLine(l.name + u'=' + value) + bytes.mid(l.end);
            } else {
                // Append after the last non-blank line of the section.
                size_t after = *header;
                const size_t end = sectionEnd(document, *header);
                for (size_t i = *header + 1; i < end; ++i) {
                    if (document.lines[i].kind != Line::Blank)
                        after = i;
                }
                const Line& l = document.lines[after];
                const bool hasLineEnd = l.next > l.end;
                QByteArray insert;
                if (!hasLineEnd)
                    insert += eol;
                insert += encodeLine(trimmedBlanks(key) + u'=' + value);
                if (hasLineEnd)
                    insert += eol;
                result = bytes.left(l.next) + insert + bytes.mid(l.next);
            }
        } else {
            result = bytes;
            if (!result.isEmpty() && !result.endsWith('\n') && !result.endsWith('\r'))
                result += eol;
            result += encodeLine(u'[' + trimmedBlanks(section) + u']') + eol;
            result += encodeLine(trimmedBlanks(key) + u'=' + value) + eol;
        }
    }
    if (info.exists() && result == bytes)
        return true;
    return writeFile(file, result);
}

QStringList GetPrivateProfileKeys(const QString& section, const QString& file)
{
    QStringList keys;
    const std::optional<Document> document = load(file);
    if (!document)
        return keys;
    const auto header = findSection(*document, section);
    if (!header)
        return keys;
    const size_t end = sectionEnd(*document, *header);
    for (size_t i = *header + 1; i < end; ++i) {
        if (document->lines[i].kind == Line::Key)
            keys.append(document->lines[i].name);
    }
    return keys;
}

QStringList GetPrivateProfileSections(const QString& file)
{
    QStringList sections;
    const std::optional<Document> document = load(file);
    if (!document)
        return sections;
    for (const Line& line : document->lines) {
        if (line.kind == Line::Section)
            sections.append(line.name);
    }
    return sections;
}

ProfileDamageHandler SetProfileDamageHandler(ProfileDamageHandler handler)
{
    std::lock_guard lock(damageMutex);
    reportedDamage.clear();
    return std::exchange(damageHandler, std::move(handler));
}

}  // namespace platform
