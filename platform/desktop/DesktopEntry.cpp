#include "platform/desktop/DesktopEntry.h"

#include "platform/shell/Shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>
#include <QXmlStreamWriter>

namespace platform {
namespace {

bool IsFieldCode(const QString& argument)
{
    return argument == u"%f" || argument == u"%F" || argument == u"%u" || argument == u"%U";
}

// An argument with any of these must be quoted in an Exec line.
bool NeedsQuotes(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#`()");
    if (argument.isEmpty())
        return true;
    for (const QChar c : argument)
        if (reserved.contains(c))
            return true;
    return false;
}

QString QuotedArgument(const QString& argument, bool alwaysQuote)
{
    QString text = argument;
    text.replace(u'%', QStringLiteral("%%"));
    if (!alwaysQuote && !NeedsQuotes(argument))
        return text;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : std::as_const(text)) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// The string escapes of a value in a desktop entry file.
QString EscapeValue(const QString& value)
{
    QString text;
    for (const QChar c : value) {
        if (c == u'\\')
            text += QStringLiteral("\\\\");
        else if (c == u'\n')
            text += QStringLiteral("\\n");
        else if (c == u'\t')
            text += QStringLiteral("\\t");
        else if (c == u'\r')
            text += QStringLiteral("\\r");
        else
            text += c;
    }
    return text;
}

QString UnescapeValue(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == u's')
            text += u' ';
        else if (next == u'n')
            text += u'\n';
        else if (next == u't')
            text += u'\t';
        else if (next == u'r')
            text += u'\r';
        else if (next == u'\\')
            text += u'\\';
        else
            text += QStringView(value).mid(i - 1, 2);
    }
    return text;
}

QString Home(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // The base directory rules ignore a relative path.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + fallback;
}

WriteOutcome WriteMakingFolder(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return {false, QStringLiteral("cannot create the folder %1").arg(QFileInfo(path).absolutePath())};
    return WriteFileAtomically(path, bytes);
}

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IsGroupLine(const QString& line) { return line.trimmed().startsWith(u'['); }

// The index of the line "[group]", or -1.
qsizetype FindGroup(const QStringList& lines, const QString& group)
{
    const QString header = u'[' + group + u']';
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].trimmed() == header)
            return i;
    return -1;
}

// The line of key within the group starting at header, or -1; end gets the
// index after the group's last line.
qsizetype FindKey(const QStringList& lines, qsizetype header, const QString& key, qsizetype* end)
{
    qsizetype found = -1;
    qsizetype i = header + 1;
    for (; i < lines.size() && !IsGroupLine(lines[i]); ++i) {
        const qsizetype equals = lines[i].indexOf(u'=');
        if (found < 0 && equals > 0 && lines[i].left(equals).trimmed() == key)
            found = i;
    }
    if (end)
        *end = i;
    return found;
}

// Puts first at the head of the key's list of desktop ids in group.
void PutFirst(QStringList& lines, const QString& group, const QString& key, const QString& first)
{
    qsizetype header = FindGroup(lines, group);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + group + u']');
        header = lines.size() - 1;
    }
    qsizetype end = 0;
    const qsizetype line = FindKey(lines, header, key, &end);
    QStringList ids{first};
    if (line >= 0) {
        const QString value = lines[line].mid(lines[line].indexOf(u'=') + 1).trimmed();
        for (const QString& id : value.split(u';', Qt::SkipEmptyParts))
            if (id.trimmed() != first)
                ids.append(id.trimmed());
    }
    const QString text = key + u'=' + ids.join(u';') + u';';
    if (line >= 0) {
        lines[line] = text;
        return;
    }
    // After the group's last entry, before the blank lines that end it.
    qsizetype at = end;
    while (at > header + 1 && lines[at - 1].trimmed().isEmpty())
        --at;
    lines.insert(at, text);
}

}  // namespace

QString XdgDataHome() { return Home("XDG_DATA_HOME", QStringLiteral("/.local/share")); }
QString XdgConfigHome() { return Home("XDG_CONFIG_HOME", QStringLiteral("/.config")); }

QString DesktopExecLine(const QString& program, const QStringList& arguments)
{
    QStringList parts{QuotedArgument(program, true)};
    for (const QString& argument : arguments)
        parts.append(IsFieldCode(argument) ? argument : QuotedArgument(argument, false));
    return parts.join(u' ');
}

QStringList ExpandDesktopExec(const QString& exec, const QString& file)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool fieldOnly = false;  // the argument is a lone field code
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == u'"') {
            inArgument = true;
            for (++i; i < exec.size() && exec[i] != u'"'; ++i) {
                if (exec[i] == u'\\' && i + 1 < exec.size()) {
                    const QChar next = exec[i + 1];
                    if (next != u'"' && next != u'`' && next != u'$' && next != u'\\')
                        return {};
                    current += next;
                    ++i;
                } else if (exec[i] == u'%' && i + 1 < exec.size() && exec[i + 1] == u'%') {
                    current += u'%';
                    ++i;
                } else {
                    current += exec[i];
                }
            }
            if (i >= exec.size())
                return {};  // unclosed quote
            continue;
        }
        if (c == u' ') {
            if (inArgument && !(fieldOnly && current.isEmpty()))
                arguments.append(current);
            current.clear();
            inArgument = fieldOnly = false;
            continue;
        }
        if (c == u'%' && i + 1 < exec.size()) {
            const QChar code = exec[++i];
            const bool started = inArgument;
            inArgument = true;
            if (code == u'%') {
                current += u'%';
            } else if (code == u'f' || code == u'F' || code == u'u' || code == u'U') {
                // A lone field code with nothing to give is no argument at all.
                if (!started && file.isEmpty())
                    fieldOnly = true;
                current += file;
            }
            continue;
        }
        inArgument = true;
        current += c;
    }
    if (inArgument && !(fieldOnly && current.isEmpty()))
        arguments.append(current);
    return arguments;
}

QString DesktopEntryPath(const QString& id)
{
    return XdgDataHome() + QStringLiteral("/applications/") + id;
}

WriteOutcome WriteDesktopEntry(const DesktopEntry& entry)
{
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\n");
    text += QStringLiteral("Name=") + EscapeValue(entry.name) + u'\n';
    if (!entry.comment.isEmpty())
        text += QStringLiteral("Comment=") + EscapeValue(entry.comment) + u'\n';
    text += QStringLiteral("Exec=") + EscapeValue(entry.exec) + u'\n';
    if (!entry.icon.isEmpty())
        text += QStringLiteral("Icon=") + EscapeValue(entry.icon) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    if (!entry.mimeTypes.isEmpty())
        text += QStringLiteral("MimeType=") + entry.mimeTypes.join(u';') + QStringLiteral(";\n");
    text += QStringLiteral("Categories=Development;TextEditor;\n");
    return WriteMakingFolder(DesktopEntryPath(entry.id), text.toUtf8());
}

QString ReadDesktopEntryValue(const QString& id, const QString& key)
{
    const QStringList lines = ReadLines(DesktopEntryPath(id));
    const qsizetype header = FindGroup(lines, QStringLiteral("Desktop Entry"));
    if (header < 0)
        return {};
    const qsizetype line = FindKey(lines, header, key, nullptr);
    if (line < 0)
        return {};
    return UnescapeValue(lines[line].mid(lines[line].indexOf(u'=') + 1).trimmed());
}

QString MimePackagePath(const QString& package)
{
    return XdgDataHome() + QStringLiteral("/mime/packages/") + package + QStringLiteral(".xml");
}

WriteOutcome WriteMimePackage(const QString& package, const QString& mimeType, const QString& comment,
                              const QString& globPattern, const QString& iconName)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("mime-info"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    xml.writeStartElement(QStringLiteral("mime-type"));
    xml.writeAttribute(QStringLiteral("type"), mimeType);
    xml.writeEmptyElement(QStringLiteral("sub-class-of"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("text/plain"));
    xml.writeTextElement(QStringLiteral("comment"), comment);
    if (!iconName.isEmpty()) {
        xml.writeEmptyElement(QStringLiteral("icon"));
        xml.writeAttribute(QStringLiteral("name"), iconName);
    }
    xml.writeEmptyElement(QStringLiteral("glob"));
    xml.writeAttribute(QStringLiteral("pattern"), globPattern);
    // Above the usual 50, so that the pattern wins over a type that shares it.
    xml.writeAttribute(QStringLiteral("weight"), QStringLiteral("80"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return WriteMakingFolder(MimePackagePath(package), bytes);
}

WriteOutcome InstallIcon(const QString& iconName, const QString& imageFile)
{
    QImageReader reader(imageFile);
    const QSize size = reader.size();
    QFile file(imageFile);
    if (!size.isValid() || reader.format() != "png" || !file.open(QIODevice::ReadOnly))
        return {false, QStringLiteral("%1 is no PNG image").arg(imageFile)};
    const QString path = XdgDataHome() + QStringLiteral("/icons/hicolor/%1x%2/apps/%3.png")
                                             .arg(size.width())
                                             .arg(size.height())
                                             .arg(iconName);
    return WriteMakingFolder(path, file.readAll());
}

QString MimeAppsListPath() { return XdgConfigHome() + QStringLiteral("/mimeapps.list"); }

WriteOutcome SetDefaultApplication(const QString& mimeType, const QString& desktopId)
{
    QStringList lines = ReadLines(MimeAppsListPath());
    PutFirst(lines, QStringLiteral("Default Applications"), mimeType, desktopId);
    PutFirst(lines, QStringLiteral("Added Associations"), mimeType, desktopId);
    return WriteMakingFolder(MimeAppsListPath(), (lines.join(u'\n') + u'\n').toUtf8());
}

QString DefaultApplication(const QString& mimeType)
{
    const QStringList lines = ReadLines(MimeAppsListPath());
    const qsizetype header = FindGroup(lines, QStringLiteral("Default Applications"));
    if (header < 0)
        return {};
    const qsizetype line = FindKey(lines, header, mimeType, nullptr);
    if (line < 0)
        return {};
    return lines[line].mid(lines[line].indexOf(u'=') + 1).split(u';', Qt::SkipEmptyParts).value(0).trimmed();
}

void RefreshDesktopDatabases()
{
    const QString applications = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (!applications.isEmpty())
        RunProgram(applications, {XdgDataHome() + QStringLiteral("/applications")}, 30000);
    const QString mime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!mime.isEmpty() && QFileInfo::exists(XdgDataHome() + QStringLiteral("/mime/packages")))
        RunProgram(mime, {XdgDataHome() + QStringLiteral("/mime")}, 30000);
}

}  // namespace platform
