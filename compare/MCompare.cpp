#include "compare/MCompare.h"

#include "platform/desktop/ForeignWindows.h"
#include "platform/desktop/SingleInstance.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"
#include "shell/cRegistry.h"

#include <QDataStream>
#include <QIODevice>

namespace {

const QString OlderSettingsKey = QStringLiteral("Software\\Corvane Software Development Inc.\\KroEditorV3");

// The key's "DefaultDir", or nothing when the key or the value is missing.
std::optional<QString> ReadDefaultDir(platform::HKEY root, const QString& key)
{
    cRegistry registry;
    registry.ClassKey(root);
    registry.SectionKey(key);
    if (!registry.KeyExists())
        return std::nullopt;
    registry.ValueKey(QStringLiteral("DefaultDir"));
    registry.ValueType(platform::REG_SZ);
    registry.Default(QString());
    const QString folder = registry.Value().toString();
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

}  // namespace

void GetDefaultDir(platform::HKEY root)
{
    try {
        if (const std::optional<QString> own = ReadDefaultDir(root, EditorOptionsKey))
            CompareDefaultDir = *own;
        else if (const std::optional<QString> older = ReadDefaultDir(root, OlderSettingsKey))
            CompareDefaultDir = *older;
        else
            CompareDefaultDir = platform::ProgramFolder();
    } catch (...) {
        platform::MsgBox(QStringLiteral("Error accessing the registry"), platform::vbCritical,
                         QStringLiteral("Corvane Editor"));
    }
}

bool TitleMatches(const QString& title, const QString& text, int method, bool caseSensitive)
{
    if (title.isEmpty())
        return false;
    const QString t = caseSensitive ? title : title.toUpper();
    const QString s = caseSensitive ? text : text.toUpper();
    switch (method) {
    case TitleStartsWith: return t.startsWith(s);
    case TitleContains: return t.contains(s);
    case TitleEquals: return t == s;
    default: return false;
    }
}

quint64 FindWindowPart(const QString& text, int method, bool caseSensitive)
{
    platform::ForeignWindows& windows = platform::Windows();
    for (const platform::ForeignWindow& window : windows.TopLevelWindows()) {
        if (TitleMatches(window.title, text, method, caseSensitive)) {
            windows.Activate(window.id);
            return window.id;
        }
    }
    return 0;
}

bool EditorIsRunning()
{
    if (platform::Windows().CanList())
        return FindWindowPart(QStringLiteral("Talvex Editor"), TitleContains, false) != 0;
    const platform::SingleInstance editor(ProgramName, platform::ProgramFolder());
    if (!editor.anotherIsRunning())
        return false;
    // An empty command: the editor only comes to the front.
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << QStringList();
    editor.sendToRunning(message, 2000);
    return true;
}
