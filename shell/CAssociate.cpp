#include "shell/CAssociate.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/forms/Error.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/registry/Registry.h"
#include "shell/CommandLine.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString Source = QStringLiteral("Associate Class");

[[noreturn]] void Raise(qint64 number, const QString& description)
{
    throw platform::Error(number, description, Source);
}

void Check(const platform::WriteOutcome& outcome, const QString& what)
{
    if (!outcome)
        Raise(CAssociate::ErrWriteFailed,
              QStringLiteral("The file association could not be written (%1): %2").arg(what, outcome.error));
}

// The extension without its leading dot.
QString Bare(const QString& extension)
{
    return extension.startsWith(u'.') ? extension.mid(1) : extension;
}

// Sets the default value of subKey under the classes root.
void SetDefault(const QString& subKey, const QString& value)
{
    platform::HKEY key = 0;
    platform::LSTATUS status = platform::RegCreateKeyEx(platform::HKEY_CLASSES_ROOT, subKey, &key);
    if (status == platform::ERROR_SUCCESS) {
        status = platform::RegSetValueEx(key, QString(), platform::REG_SZ, platform::RegStringData(value));
        platform::RegCloseKey(key);
    }
    if (status != platform::ERROR_SUCCESS)
        Raise(CAssociate::ErrWriteFailed,
              QStringLiteral("The file association could not be written (registry key %1): error %2")
                  .arg(subKey)
                  .arg(status));
}

// The picture file of an icon reference "path,index".
QString IconFile(const QString& icon)
{
    static const QRegularExpression index(QStringLiteral(",\\s*-?\\d+\\s*$"));
    QString path = icon;
    path.remove(index);
    return path.trimmed().replace(u'\\', u'/');
}

}  // namespace

QString CAssociate::MimeTypeFor(const QString& extension)
{
    QString name = Bare(extension).toLower();
    static const QRegularExpression unusable(QStringLiteral("[^a-z0-9+.-]"));
    name.replace(unusable, QStringLiteral("-"));
    return QStringLiteral("text/x-talvex-") + name;
}

void CAssociate::Associate()
{
    if (appTitle_.isEmpty())
        Raise(ErrNoTitle, QStringLiteral("Application title not specified"));
    if (appClassName_.isEmpty())
        Raise(ErrNoClassName, QStringLiteral("Application Class name not specified"));
    if (appCommandLine_.trimmed().isEmpty())
        Raise(ErrNoCommandLine, QStringLiteral("Command line of the program not specified"));
    // A pattern or path character would make the desktop's pattern match
    // other files, or name a file outside the data folders.
    static const QRegularExpression unsafe(QStringLiteral("[*?\\[\\]/\\\\\\s]"));
    const QString bare = Bare(extension_);
    if (bare.isEmpty() || bare.count(u'.') == bare.size() || bare.contains(unsafe))
        Raise(ErrBadExtension, QStringLiteral("File extension not specified"));
    WriteRegistry();
    WriteDesktop();
}

void CAssociate::WriteRegistry() const
{
    SetDefault(appClassName_, appTitle_);
    SetDefault(extension_, appClassName_);
    SetDefault(appClassName_ + QStringLiteral("\\shell\\open\\command"), appCommandLine_);
    SetDefault(appClassName_ + QStringLiteral("\\DefaultIcon"), appIcon_);
}

void CAssociate::WriteDesktop() const
{
    // The command's items; "%1" is where the desktop puts the file, and one
    // file per start, so each opens in the running editor in turn.
    QStringList items = CommandLine::SplitCommands(appCommandLine_, QStringLiteral(" "));
    const QString program = items.takeFirst();
    for (QString& item : items)
        if (item == u"%1")
            item = QStringLiteral("%f");
    if (!items.contains(QStringLiteral("%f")))
        items.append(QStringLiteral("%f"));

    QString icon;
    QString picture = IconFile(appIcon_);
    if (!picture.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) || !QFileInfo(picture).isFile())
        picture = platform::ProgramFile(QStringLiteral("\\Images\\Pelmar.png"));
    if (QFileInfo(picture).isFile()) {
        Check(platform::InstallIcon(IconName(), picture), QStringLiteral("icon"));
        icon = IconName();
    }

    const QString mimeType = MimeTypeFor(extension_);
    QStringList mimeTypes = platform::ReadDesktopEntryValue(DesktopId(), QStringLiteral("MimeType"))
                                .split(u';', Qt::SkipEmptyParts);
    if (!mimeTypes.contains(mimeType))
        mimeTypes.append(mimeType);

    platform::DesktopEntry entry;
    entry.id = DesktopId();
    entry.name = QStringLiteral("Pelmar");
    entry.comment = QStringLiteral("Talvex Editor for NC programs");
    entry.exec = platform::DesktopExecLine(program, items);
    entry.icon = icon;
    entry.mimeTypes = mimeTypes;
    Check(platform::WriteDesktopEntry(entry), QStringLiteral("desktop entry"));
    Check(platform::WriteMimePackage(QStringLiteral("talvex-pelmar-") + mimeType.section(u'-', 2, -1), mimeType,
                                     appTitle_, QStringLiteral("*.") + Bare(extension_), icon),
          QStringLiteral("MIME type"));
    Check(platform::SetDefaultApplication(mimeType, DesktopId()), QStringLiteral("default application"));
    platform::RefreshDesktopDatabases();
}
