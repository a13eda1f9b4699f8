#pragma once
// The program's command line: the splitter class CommandLine (items split
// on a separator, double quotes group an item) and the switch help.

#include <QString>
#include <QStringList>
#include <functional>

// The trimmed command line, kept by the start-up for the switches that act
// on the document it opened.
inline QString CommandLineText;

class CommandLine {
public:
    // Starts with the program's own command line (Command()) and " ".
    CommandLine();

    // The item that follows the first item equal to switchText; "" when the
    // switch is missing or is the last item.
    QString GetParameterValue(const QString& switchText) const;
    // Item index (1-based); "" when index is out of range.
    QString GetItemByIndex(int index) const;
    bool HasParameter(const QString& switchText) const;
    int ParameterCount() const;
    // Splits command into items: runs of separators split, double quotes
    // group (and are dropped), an unclosed quote runs to the end; items are
    // never empty. A separator of more than one character never matches.
    static QStringList SplitCommands(const QString& command, const QString& separator);

    // Assigning a different value splits the items again.
    void CommandSeparator(const QString& separator);
    const QString& CommandSeparator() const { return separator_; }
    void CommandString(const QString& command);
    const QString& CommandString() const { return command_; }
    static QString DefaultSeparator() { return QStringLiteral(" "); }

    // All items in order.
    const QStringList& Items() const { return items_; }

private:
    void Split();

    QString command_;
    QString separator_ = DefaultSeparator();
    QStringList items_;
};

// The program's command line without the program path, as one text. Items
// that hold blanks or quotes, or are empty, are put in double quotes, so that
// splitting the text gives the program's arguments back.
QString Command();
// Sets what Command() gives: the program's arguments (Main does this).
void SetCommand(const QStringList& arguments);
// The text Command() gives for these arguments.
QString CommandFromArguments(const QStringList& arguments);

// The arguments to act on: a single argument that is an existing file (and
// not a switch) is opened as "/f" would open it; other arguments stay as given.
QStringList WithOpenSwitchForFile(const QStringList& arguments);
// The items that are neither a switch ("/?", "/f", "/g", "/n", "/rs") nor the
// value after "/f" or "/g", in command-line order; blank ones are left out.
QStringList ItemsNotSwitches(const QStringList& items);
// Names those items in a message (exclamation icon, title "Talvex Editor");
// nothing when there are none. A "/f" without a file name after it is named
// in a message of its own.
void ShowItemsNotSwitches(const QStringList& items);

// True when the arguments ask for the switch list on standard output
// ("--help" or "-h").
bool AsksForHelp(const QStringList& arguments);

// The text of the switch list (lines end in CR LF).
QString CommandLineHelpText();
// Shows the switch list: information icon, OK, title "Talvex Editor".
void ShowCommandLineHelp();

// The whole-text commands of the switches "/n" (number the blocks) and "/rs"
// (remove spaces) on the active document. The NC commands' library provides
// them and the program sets them before Main; unset, the switch does nothing.
// A failure is thrown.
inline std::function<void()> NumberBlocksSwitchHook;
inline std::function<void()> RemoveSpacesSwitchHook;

// Applies "/g", "/n" and "/rs" of CommandLineText to the active document (the
// one "/f" opened), in command-line order. "/g" without a line number says so,
// shows the switch list and stops; the first failure says "Error while
// processing command line." and stops.
void ProcessCommandLineSwitches();
