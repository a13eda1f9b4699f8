#include "shell/CommandLine.h"

#include "platform/codemax/CodeMax.h"
#include "platform/codemax/CodeMaxCommands.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/WaitCursor.h"
#include "shell/DocumentForm.h"
#include "shell/MEditCommands.h"
#include "shell/MEditor.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

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

// The line "/g" goes to, counted from 0, from the leading number of its value
// (blanks skipped, a sign, digits, a decimal part; 0 when there is none). A
// value without a number gives -1, which makes the editing control ask.
long long GoToLineData(const QString& value)
{
    qsizetype i = 0;
    while (i < value.size() && value[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    if (i < value.size() && (value[i] == QLatin1Char('+') || value[i] == QLatin1Char('-')))
        ++i;
    while (i < value.size() && (value[i].isDigit() || value[i] == QLatin1Char('.')))
        ++i;
    bool ok = false;
    const double number = value.mid(start, i - start).toDouble(&ok);
    const double line = (ok ? number : 0) - 1;
    // Far past either end of any text: the control keeps it inside.
    return static_cast<long long>(std::trunc(std::clamp(line, -1e15, 1e15)));
}

bool IsSwitch(const QString& item)
{
    for (const char* name : {"/?", "/f", "/g", "/n", "/rs"})
        if (item == QLatin1String(name))
            return true;
    return false;
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

QStringList WithOpenSwitchForFile(const QStringList& arguments)
{
    if (arguments.size() == 1 && !IsSwitch(arguments[0]) && QFileInfo(arguments[0]).isFile())
        return {QStringLiteral("/f"), arguments[0]};
    return arguments;
}

QStringList ItemsNotSwitches(const QStringList& items)
{
    QStringList others;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i] == QLatin1String("/f") || items[i] == QLatin1String("/g"))
            ++i;  // its value
        else if (!IsSwitch(items[i]) && !items[i].trimmed().isEmpty())
            others.append(items[i]);
    }
    return others;
}

void ShowItemsNotSwitches(const QStringList& items)
{
    const QStringList others = ItemsNotSwitches(items);
    if (!others.isEmpty())
        platform::MsgBox(QStringLiteral("The command line holds what is not a switch: \"%1\". It was ignored. "
                                        "A file to open is given alone or after /f; /? lists the switches.")
                             .arg(others.join(QStringLiteral("\", \""))),
                         platform::vbExclamation, QStringLiteral("Talvex Editor"));
    // The file opened is the item after the first "/f"; as the last item it has none.
    if (!items.isEmpty() && items.indexOf(QStringLiteral("/f")) == items.size() - 1)
        platform::MsgBox(QStringLiteral("The command line holds /f without a file name: no file was opened. "
                                        "The file to open follows /f, in quotes when its name holds blanks; "
                                        "/? lists the switches."),
                         platform::vbExclamation, QStringLiteral("Talvex Editor"));
}

bool AsksForHelp(const QStringList& arguments)
{
    return arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
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

void ProcessCommandLineSwitches()
{
    platform::DoEvents();
    CommandLine commandLine;
    commandLine.CommandString(CommandLineText);
    try {
        for (int i = 1; i <= commandLine.ParameterCount(); ++i) {
            const QString item = commandLine.GetItemByIndex(i);
            if (item == QLatin1String("/g")) {
                const QString value = commandLine.GetParameterValue(QStringLiteral("/g"));
                if (value.isEmpty()) {
                    platform::MsgBox(
                        QStringLiteral("You did not enter a line number to go to from the command line."),
                        platform::vbInformation, QStringLiteral("Talvex Editor"));
                    ShowCommandLineHelp();
                    return;
                }
                platform::CodeMax& text = ActiveText1();
                SelRange = text.GetSel(false);
                text.ExecuteCmd(platform::CodeMaxCmd::GotoLine, GoToLineData(value));
                HighlightCaretLine(text);
            } else if (item == QLatin1String("/n")) {
                if (DialogCancelled) {
                    DialogCancelled = false;
                    return;
                }
                if (NumberBlocksSwitchHook)
                    NumberBlocksSwitchHook();
            } else if (item == QLatin1String("/rs")) {
                if (RemoveSpacesSwitchHook)
                    RemoveSpacesSwitchHook();
            }
        }
    } catch (...) {
        platform::SetWaitCursor(false);
        platform::MsgBox(QStringLiteral("Error while processing command line."), platform::vbCritical,
                         QStringLiteral("Talvex Editor"));
    }
}
