#include "shell/MIni.h"

#include "platform/codemax/CodeMax.h"
#include "platform/files/AtomicWrite.h"
#include "platform/files/FileLock.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/profile/PrivateProfile.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/basFileDialogs.h"
#include "shell/cRegistry.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace platform;

namespace {

// Room enough that no value a user can keep in these files is ever cut
// (a long folder cut short would name another folder).
constexpr int WholeValueBuffer = 32768;

const QString CRLF = QStringLiteral("\r\n");

// The value as a number, or nothing when it is missing or not a number.
std::optional<double> IniNumber(const QString& section, const QString& key, const QString& file)
{
    bool ok = false;
    const double value = ReadIniString(section, key, file).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The leading number of a text, 0 when it does not start with one (how the
// numbering values of "Line Numbers" have always been read).
double LeadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size() && (t[end].isDigit() || t[end] == QLatin1Char('.')))
        ++end;
    bool ok = false;
    const double value = t.left(end).toDouble(&ok);
    return ok ? value : 0.0;
}


// Where Open, Save and Insert start until the user picks a folder: the program
// folder where this user may write there (the rule of the settings files),
// else the user's home folder.
QString DefaultNcFolder()
{
    const QString program = ProgramFolder();
    return SettingsFolderFor(program) == program ? program : QDir::homePath();
}

QString TwipsText(double twips)
{
    return QString::number(std::lround(twips));
}

// The characters that keep a line out of the numbering when none are set.
QStringList DefaultSkipChars()
{
    return {QStringLiteral("%"), QStringLiteral("("), QStringLiteral("O")};
}

}  // namespace

QString ReadIniString(const QString& section, const QString& key, const QString& file)
{
    return GetPrivateProfileString(section, key, QString(), file, WholeValueBuffer);
}

int WriteIniString(const QString& section, const QString& key, const QString& value,
                   const QString& file)
{
    // A null text would delete the key; an empty one writes "key=".
    QString oneLine = value.isNull() ? QString::fromLatin1("", 0) : value;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return WritePrivateProfileString(section, key, oneLine, file) ? 1 : 0;
}

QByteArray DefaultEditorIni()
{
    QString text = QStringLiteral("[Colors]") + CRLF;
    for (int i = 0; i < static_cast<int>(DefaultColorItems.size()); ++i) {
        const ColorItem& item = DefaultColorItems[static_cast<size_t>(i)];
        text += QStringLiteral("clr%1bg = %2").arg(i).arg(item.BackColor) + CRLF;
        text += QStringLiteral("clr%1fr = %2").arg(i).arg(item.ForeColor) + CRLF;
        text += QStringLiteral("clr%1fnt = %2").arg(i).arg(item.FontStyle) + CRLF;
    }
    text += CRLF;
    text += QStringLiteral("[Window]") + CRLF + QStringLiteral("Left = -60") + CRLF
            + QStringLiteral("Top = -60") + CRLF + QStringLiteral("Width = 12120") + CRLF
            + QStringLiteral("Height = 9120") + CRLF + QStringLiteral("WindowState = 2") + CRLF;
    text += CRLF;
    text += QStringLiteral("[Directory]") + CRLF + QStringLiteral("DefaultDir=C:\\") + CRLF
            + QStringLiteral("DefaultExt=All Files (*.*)|*.*") + CRLF;
    text += CRLF;
    text += QStringLiteral("[Machines]") + CRLF + QStringLiteral("Number=1") + CRLF
            + QStringLiteral("Machine1=None") + CRLF;
    return text.toLatin1();
}

QByteArray DefaultMacroIni()
{
    QString text = QStringLiteral("[Macros]") + CRLF + QStringLiteral("Macronumber=0") + CRLF;
    for (int k = 1; k <= MaxMacros; ++k)
        text += QStringLiteral("Macro%1= ").arg(k) + CRLF;
    return text.toLatin1();
}

namespace {

// Written whole and atomically: a full disk or a crash never leaves half a
// settings file. Under the file's lock, as every settings write: a program
// started at the same moment may have made the file and written to it.
void CreateMissingFile(const QString& path, const QByteArray& bytes)
{
    FileLock lock(LockFileOf(path));
    lock.lock(FileLockWaitMs);  // made without it when it cannot be had: a failed write says why
    if (FileExists(path))
        return;
    const WriteOutcome written = WriteFileAtomically(path, bytes);
    if (!written)
        MsgBox(QStringLiteral("Unable to write the settings file %1: %2.").arg(path, written.error),
               vbCritical, QStringLiteral("Talvex Editor"));
}

}  // namespace

void CreateDefaultIni()
{
    CreateMissingFile(IniFile, DefaultEditorIni());
    CreateMissingFile(MacroIniFile, DefaultMacroIni());
}

WindowPlacement ReadWindowPlacement()
{
    WindowPlacement placement;
    const QString window = QStringLiteral("Window");
    if (const auto v = IniNumber(window, QStringLiteral("Left"), IniFile))
        placement.Left = *v;
    if (const auto v = IniNumber(window, QStringLiteral("Top"), IniFile))
        placement.Top = *v;
    if (const auto v = IniNumber(window, QStringLiteral("Width"), IniFile); v && *v > 0)
        placement.Width = *v;
    if (const auto v = IniNumber(window, QStringLiteral("Height"), IniFile); v && *v > 0)
        placement.Height = *v;
    if (const auto v = IniNumber(window, QStringLiteral("Windowstate"), IniFile);
        v && (*v == 0 || *v == 1 || *v == 2))
        placement.WindowState = static_cast<int>(*v);
    return placement;
}

void LoadIniSettings()
{
    DefaultDir = ReadIniString(QStringLiteral("Directory"), QStringLiteral("DefaultDir"), IniFile);
    DefaultExt = ReadIniString(QStringLiteral("Directory"), QStringLiteral("DefaultExt"), IniFile);

    if (MDIMain* main = MDIMain::Instance())
        main->ApplyPlacement(ReadWindowPlacement());

    // Replaced right after by the registry; read for files that carry them.
    const QString numbers = QStringLiteral("Line Numbers");
    const auto number = [&](const char* key) {
        return static_cast<int>(std::lround(
            LeadingNumber(ReadIniString(numbers, QLatin1String(key), IniFile))));
    };
    Startnumber = number("Startnumber");
    Increment = number("Increment");
    N = number("N");
    Space = number("Space");
}

void SaveIniSettings()
{
    // Every value is tried; a file that refused any is named once at the end.
    QStringList failed;
    const auto write = [&failed](const QString& section, const QString& key, const QString& value,
                                 const QString& file) {
        if (WriteIniString(section, key, value, file) == 0 && !failed.contains(file))
            failed.append(file);
    };

    const QString directory = QStringLiteral("Directory");
    write(directory, QStringLiteral("DefaultDir"), DefaultDir, IniFile);
    write(directory, QStringLiteral("DefaultExt"), DefaultExt, IniFile);

    if (MDIMain* main = MDIMain::Instance()) {
        const WindowPlacement placement = main->CurrentPlacement();
        const QString window = QStringLiteral("Window");
        write(window, QStringLiteral("Windowstate"), QString::number(placement.WindowState), IniFile);
        write(window, QStringLiteral("Left"), TwipsText(placement.Left), IniFile);
        write(window, QStringLiteral("Top"), TwipsText(placement.Top), IniFile);
        write(window, QStringLiteral("Width"), TwipsText(placement.Width), IniFile);
        write(window, QStringLiteral("Height"), TwipsText(placement.Height), IniFile);
    }

    const QString macros = QStringLiteral("Macros");
    const int count = std::clamp(Macronumber, 0, MaxMacros);
    write(macros, QStringLiteral("Macronumber"), QString::number(count), MacroIniFile);
    for (int k = 1; k <= count; ++k)
        write(macros, QStringLiteral("Macro%1").arg(k), MacroDescriptions[static_cast<size_t>(k - 1)],
              MacroIniFile);

    if (failed.size() == 1)
        MsgBox(QStringLiteral("Unable to save the settings to the file %1.").arg(failed.first()),
               vbCritical, QStringLiteral("Talvex Editor"));
    else if (failed.size() > 1)
        MsgBox(QStringLiteral("Unable to save the settings to the files %1.")
                   .arg(failed.join(QStringLiteral(" and "))),
               vbCritical, QStringLiteral("Talvex Editor"));
}

void SetDefaultEditorOptions()
{
    DefaultDir = DefaultNcFolder();
    DefaultExt = DefaultFileFilter;
    Startnumber = 10;
    Increment = 10;
    RestartNum = 9999;
    N = 1;
    Space = 0;
    BlankLines = 0;
    NumPopup = 0;
    DisplayPath = 1;
    Corvane = 30;
    CorvaneExt = 0;
    CharNumber = 3;
    SkipChars = DefaultSkipChars();
}

namespace {

// The numeric editor options in the order they are stored.
struct NumberOption {
    const char* name;
    int* target;
    int fallback;
};

std::array<NumberOption, 11> NumberOptions()
{
    return {{{"Startnumber", &Startnumber, 10},
             {"Increment", &Increment, 10},
             {"RestartNum", &RestartNum, 9999},
             {"N", &N, 1},
             {"Space", &Space, 0},
             {"BlankLines", &BlankLines, 0},
             {"NumPopup", &NumPopup, 0},
             {"DisplayPath", &DisplayPath, 1},
             {"Corvane", &Corvane, 30},
             {"CorvaneExt", &CorvaneExt, 0},
             {"CharNumber", &CharNumber, 3}}};
}

}  // namespace

void LoadRegistrySettings(cRegistry& registry, HKEY root)
{
    try {
        registry.ClassKey(root);
        registry.SectionKey(EditorOptionsKey);
        if (!registry.KeyExists()) {
            SetDefaultEditorOptions();
            return;
        }
        // A value missing from the key keeps its default: a 0 step or a
        // "bare names" display would quietly break numbering and saving.
        const auto readText = [&](const QString& name, const QString& fallback) {
            registry.ValueType(REG_SZ);
            registry.ValueKey(name);
            registry.Default(fallback);
            return registry.Value().toString();
        };
        DefaultDir = readText(QStringLiteral("DefaultDir"), DefaultNcFolder());
        DefaultExt = readText(QStringLiteral("DefaultExt"), DefaultFileFilter);
        for (const NumberOption& option : NumberOptions()) {
            registry.ValueType(REG_DWORD);
            registry.ValueKey(QLatin1String(option.name));
            registry.Default(option.fallback);
            const QVariant value = registry.Value();
            bool ok = false;
            const int number = value.toInt(&ok);
            *option.target = ok ? number : option.fallback;
        }
        if (RestartNum == 0)
            RestartNum = 9999;
        const QStringList defaults = DefaultSkipChars();
        if (CharNumber < 1) {
            CharNumber = 3;
            SkipChars = defaults;
            return;
        }
        // A stored count past what the settings dialog can hold is damage,
        // not a list to read for ever.
        CharNumber = std::min(CharNumber, MaxCharNumber);
        QStringList chars;
        for (int k = 1; k <= CharNumber; ++k)
            chars.append(readText(QStringLiteral("Char%1").arg(k), defaults.value(k - 1)));
        SkipChars = chars;
    } catch (const std::exception&) {
        MsgBox(QStringLiteral("Error accessing the registry"), vbCritical,
               QStringLiteral("Talvex Editor"));
    }
}

void SaveRegistrySettings(cRegistry& registry, HKEY root)
{
    try {
        registry.ClassKey(root);
        registry.SectionKey(EditorOptionsKey);
        const auto writeText = [&](const QString& name, const QString& text) {
            registry.ValueType(REG_SZ);
            registry.ValueKey(name);
            registry.Value(text);
        };
        writeText(QStringLiteral("DefaultDir"), DefaultDir);
        writeText(QStringLiteral("DefaultExt"), DefaultExt);
        for (const NumberOption& option : NumberOptions()) {
            registry.ValueType(REG_DWORD);
            registry.ValueKey(QLatin1String(option.name));
            registry.Value(*option.target);
        }
        for (int k = 1; k <= CharNumber; ++k)
            writeText(QStringLiteral("Char%1").arg(k), SkipChars.value(k - 1));
    } catch (const std::exception&) {
        MsgBox(QStringLiteral("Error accessing Property Setup"), vbCritical,
               QStringLiteral("Talvex Editor"));
    }
}

void LoadColorItems()
{
    for (int i = 0; i < ColorItemsUsed; ++i)
        ColorItems[static_cast<size_t>(i)] = ReadColorItem(i, IniFile);
}

ColorItem ReadColorItem(int index, const QString& file)
{
    const ColorItem& fallback = DefaultColorItems[static_cast<size_t>(index)];
    const auto read = [&](const char* suffix, qint32 defaultValue) {
        const QString key = QStringLiteral("clr%1%2").arg(index).arg(QLatin1String(suffix));
        bool ok = false;
        const qint32 value = ReadIniString(QStringLiteral("Colors"), key, file).toInt(&ok);
        return ok ? value : defaultValue;
    };
    return {read("bg", fallback.BackColor), read("fr", fallback.ForeColor), read("fnt", fallback.FontStyle)};
}

void ApplyColorItems(platform::CodeMax& text)
{
    const auto& c = ColorItems;
    text.SetColor(2, c[0].ForeColor);
    text.SetColor(3, c[0].BackColor);
    text.SetColor(14, c[1].ForeColor);
    text.SetColor(15, c[1].BackColor);
    text.SetColor(30, c[2].ForeColor);
    text.SetColor(8, c[3].ForeColor);
    text.SetColor(9, c[3].BackColor);
    text.SetColor(1, c[4].ForeColor);
    text.SetColor(26, c[5].ForeColor);
    text.SetColor(27, c[5].BackColor);
    text.SetColor(6, c[6].ForeColor);
    text.SetColor(7, c[6].BackColor);
    text.SetColor(4, c[7].ForeColor);
    text.SetColor(5, c[7].BackColor);
    text.SetColor(0, c[8].ForeColor);
    text.SetFontStyle(5, c[1].FontStyle);
    text.SetFontStyle(2, c[3].FontStyle);
    text.SetFontStyle(11, c[5].FontStyle);
    text.SetFontStyle(1, c[6].FontStyle);
    text.SetFontStyle(0, c[7].FontStyle);
}
