#include "customise/PluginMenu.h"

#include "customise/cEditorPlugin.h"
#include "platform/codemax/CodeMax.h"
#include "platform/com/CallByName.h"
#include "platform/com/ComErrors.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/WaitCursor.h"
#include "shell/DocumentForm.h"
#include "shell/MEditor.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QScopeGuard>
#include <QSet>
#include <QWidget>

#include <memory>

namespace {

// One start at a time: the start loop lets events run, and with them menu clicks.
bool startRunning = false;

QString Numbered(int number, const QString& description)
{
    return QStringLiteral("%1 - %2").arg(QString::number(number), description);
}

// The listing goes on after a failure, so the message says which library failed.
void ReportListingFailure(int number, const QString& description, const QString& libraryPath)
{
    platform::MsgBox(Numbered(number, description) + QStringLiteral("\n\n") + libraryPath, platform::vbCritical);
}

// Creates the plug-in of a library, registering the library first when its
// class cannot be created; registrationFailed tells whether the tool's
// failure was reported already.
std::unique_ptr<QObject> CreatePlugin(const QString& progId, const QString& libraryPath, const QString& folder,
                                      bool& registrationFailed)
{
    try {
        return platform::CreateObject(progId, folder);
    } catch (const platform::Error& e) {
        if (!e.is(platform::ErrCannotCreateObject))
            throw;
    }
    registrationFailed = !ShellAndWait(libraryPath);
    return platform::CreateObject(progId, folder);
}

}  // namespace

QString PluginFolder()
{
    return platform::ProgramFile(QStringLiteral("Plugins"));
}

QStringList PluginFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.so")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString PluginProgId(const QString& fileName)
{
    return fileName.section(u'.', 0, 0) + QStringLiteral(".Main");
}

QString EnsureTrailingBackslash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

bool ShellAndWait(const QString& libraryPath)
{
    platform::ProgramResult run;
    {
        platform::WaitCursor wait;
        run = platform::RegisterLibrary(libraryPath, RegistrationTimeoutMs);
    }
    if (run.finished && !run.crashed && run.exitCode == platform::RegsvrSuccess)
        return true;
    platform::MsgBox(QStringLiteral("Error Registering: ") + platform::RegistrationCommand(libraryPath),
                     platform::vbExclamation, QStringLiteral("ERROR"));
    return false;
}

void StartPlugin(const QString& progId)
{
    if (startRunning)
        return;
    startRunning = true;
    const auto done = qScopeGuard([] { startRunning = false; });
    try {
        // Declared first so that it goes last: the plug-in may still hold it.
        std::unique_ptr<cEditorPlugin> host;
        const std::unique_ptr<QObject> plugin = platform::CreateObject(progId, PluginFolder());
        using platform::CallByName;
        if (CallByName(plugin.get(), QStringLiteral("pluginversion"), platform::VbMethod).toString()
            == QLatin1String("1.1.0")) {
            host = std::make_unique<cEditorPlugin>();
            CallByName(plugin.get(), QStringLiteral("HostAppObject"), platform::VbSet,
                       {platform::ObjectValue(host.get())});
        }
        QVariant again = CallByName(plugin.get(), QStringLiteral("pluginstart"), platform::VbMethod);
        while (platform::EqualsNumber(again, 1)) {
            platform::DoEvents();
            again = CallByName(plugin.get(), QStringLiteral("pluginstart"), platform::VbMethod);
        }
        const QString text = CallByName(plugin.get(), QStringLiteral("strReturn"), platform::VbGet).toString();
        if (!text.isEmpty())
            ActiveText1().AddText(text);
    } catch (const platform::Error& e) {
        platform::MsgBox(Numbered(e.number(), e.description()), platform::vbExclamation);
    } catch (const std::exception& e) {
        platform::MsgBox(Numbered(platform::ErrAutomation, FailureDescription(e)), platform::vbExclamation);
    } catch (...) {
        platform::MsgBox(Numbered(platform::ErrAutomation, platform::ComErrorDescription(platform::ErrAutomation)),
                         platform::vbExclamation);
    }
}

PluginMenu::PluginMenu(QMenu& mnuPlugins, QObject* parent) : QObject(parent), mnuPlugins_(&mnuPlugins)
{
    setObjectName(QStringLiteral("PluginMenu"));
}

PluginMenu::~PluginMenu() = default;

void PluginMenu::ScanPlugins()
{
    ClearItems();
    const QString folder = PluginFolder();
    FilePlugin = PluginFiles(folder);
    QSet<QString> tried;
    for (const QString& file : std::as_const(FilePlugin)) {
        const QString libraryPath = EnsureTrailingBackslash(folder) + file;
        const QString progId = PluginProgId(file);
        // "my.so" and "my.tools.so" both give "my.Main": one class, tried once,
        // so a class that failed is not reported again under another path.
        if (tried.contains(progId.toLower()))
            continue;
        tried.insert(progId.toLower());
        bool registrationFailed = false;
        try {
            QString pluginId;
            {
                const std::unique_ptr<QObject> plugin = CreatePlugin(progId, libraryPath, folder, registrationFailed);
                pluginId = platform::CallByName(plugin.get(), QStringLiteral("pluginId"), platform::VbMethod).toString();
            }
            AddPluginMenuItem(pluginId, progId);
        } catch (const platform::Error& e) {
            // A library the tool could not register was reported already.
            if (!(registrationFailed && e.is(platform::ErrCannotCreateObject)))
                ReportListingFailure(e.number(), e.description(), libraryPath);
        } catch (const std::exception& e) {
            ReportListingFailure(platform::ErrAutomation, FailureDescription(e), libraryPath);
        } catch (...) {
            ReportListingFailure(platform::ErrAutomation, platform::ComErrorDescription(platform::ErrAutomation),
                                 libraryPath);
        }
    }
}

void PluginMenu::AddPluginMenuItem(const QString& caption, const QString& progId)
{
    if (!mnuPlugins_)
        return;
    const int index = static_cast<int>(mnupluginoptions.size());
    QAction* item = mnuPlugins_->addAction(caption);
    item->setObjectName(QStringLiteral("mnupluginoptions%1").arg(index));
    item->setData(progId);
    connect(item, &QAction::triggered, this, [this, index] { mnupluginoptions_Click(index); });
    mnupluginoptions.append(item);
    mnuPlugins_->setEnabled(true);
    mnuPlugins_->menuAction()->setEnabled(true);
}

void PluginMenu::mnupluginoptions_Click(int index)
{
    if (index < 0 || index >= mnupluginoptions.size())
        return;
    StartPlugin(mnupluginoptions.at(index)->data().toString());
}

void PluginMenu::ClearItems()
{
    // Without the menu its items went with it.
    if (mnuPlugins_)
        for (QAction* item : std::as_const(mnupluginoptions))
            delete item;  // deleting an action takes it out of its menu
    mnupluginoptions.clear();
}

PluginMenu& ScanPlugins(QWidget& window, QMenu& mnuPlugins)
{
    auto* menu = window.findChild<PluginMenu*>(QString(), Qt::FindDirectChildrenOnly);
    if (menu == nullptr)
        menu = new PluginMenu(mnuPlugins, &window);
    menu->ScanPlugins();
    return *menu;
}
