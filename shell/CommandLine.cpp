#include "shell/CommandLine.h"

#include "platform/forms/MsgBox.h"

namespace {

// Leading and trailing spaces removed (only spaces, as the splitter's rule says).
QString TrimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QStringList& ProgramArguments()
{
    static QStringList arguments;
    return arguments;
}

}  // namespace

CommandLine::CommandLine() : command_(Command())
{
    Split();
}

QString CommandLine::GetParameterValue(const QString& switchText) const
{
    const qsizetype at = items_.indexOf(switchText);
    return at >= 0 && at + 1 < items_.size() ? items_[at + 1] : QString();
}

QString CommandLine::GetItemByIndex(int index) const
{
    return index >= 1 && index <= items_.size() ? items_[index - 1] : QString();
}

bool CommandLine::HasParameter(const QString& switchText) const
{
    return items_.contains(switchText);
}

int CommandLine::ParameterCount() const
{
    return static_cast<int>(items_.size());
}

QStringList CommandLine::SplitCommands(const QString& command, const QString& separator)
{
    // Only a one-character separator can ever equal a character.
    const bool canSplit = separator.size() == 1;
    const QChar sep = canSplit ? separator[0] : QChar();
    QStringList items;
    QString current;
    bool inQuotes = false;
    bool started = false;
    for (const QChar c : TrimSpaces(command)) {
        const bool isSeparator = canSplit && c == sep;
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
        } else if (!isSeparator) {
            started = true;
            current += c;
        } else if (inQuotes) {
            current += c;
        } else if (started) {
            items.append(current);
            current.clear();
            started = false;
        }
    }
    if (!current.isEmpty())
        items.append(current);
    return items;
}

void CommandLine::CommandSeparator(const QString& separator)
{
    if (separator == separator_)
        return;
    separator_ = separator;
    Split();
}

void CommandLine::CommandString(const QString& command)
{
    if (command == command_)
        return;
    command_ = command;
    Split();
}

void CommandLine::Split()
{
    items_ = SplitCommands(command_, separator_);
}

QString CommandFromArguments(const QStringList& arguments)
{
    QStringList parts;
    for (const QString& argument : arguments) {
        const bool needsQuotes = argument.isEmpty() || argument.contains(QLatin1Char(' '))
                                 || argument.contains(QLatin1Char('\t'));
        // A quote inside an argument cannot be kept by the splitter; it
        // only groups, so it is dropped here rather than misread later.
        QString text = argument;
        text.remove(QLatin1Char('"'));
        parts.append(needsQuotes ? QLatin1Char('"') + text + QLatin1Char('"') : text);
    }
    return parts.join(QLatin1Char(' '));
}

QString Command()
{
    return CommandFromArguments(ProgramArguments());
}

void SetCommand(const QStringList& arguments)
{
    ProgramArguments() = arguments;
}

QString CommandLineHelpText()
{
    const QString crlf = QStringLiteral("\r\n");
    const QStringList lines = {
        QString(13, QLatin1Char(' ')) + QStringLiteral("Valid command line switches"),
        QString(),
        QStringLiteral("All command line switches must be separated by a space"),
        QString(),
        QStringLiteral("/?  - Displays this help file"),
        QStringLiteral("/f  - Loads a file (enclosed by a quotation) into the Editor"),
        QString(7, QLatin1Char(' ')) + QStringLiteral("Example /f \"Testfile.cnc\""),
        QString(),
        QStringLiteral("/g  - Go to a specified line"),
        QString(7, QLatin1Char(' ')) + QStringLiteral("Example /g 100"),
        QString(),
        QStringLiteral("/n  - Will number the file after the file has been loaded into the Editor"),
        QString(),
        QStringLiteral("/rs - Will remove spaces after the file has been loaded into the Editor"),
        QString(),
    };
    QString text;
    for (const QString& line : lines)
        text += line + crlf;
    return text;
}

void ShowCommandLineHelp()
{
    platform::MsgBox(CommandLineHelpText(), platform::vbInformation, QStringLiteral("Talvex Editor"));
}
