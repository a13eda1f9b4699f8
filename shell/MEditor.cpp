#include "shell/MEditor.h"

#include "platform/desktop/SingleInstance.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/Screen.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/registry/Registry.h"
#include "shell/CommandLine.h"
#include "shell/MDIMain.h"

#include <QDataStream>
#include <QDir>
#include <QWidget>
#include <algorithm>

namespace {

// A damaged settings file is read as far as it is sound; the user hears of
// it once, so that a lost setting does not go unexplained.
void ReportDamagedFile(const QString& file, const QString& problem)
{
    platform::MsgBox(QStringLiteral("The settings file %1 is damaged (%2). "
                                    "What could be read of it is used.")
                         .arg(file, problem),
                     platform::vbExclamation, QStringLiteral("Talvex Editor"));
}

// The command line split into items, the "/f" path made absolute in our
// working folder (the running instance has another).
QStringList HandedOverItems(const QStringList& arguments)
{
    QStringList items = CommandLine::SplitCommands(CommandFromArguments(arguments), CommandLine::DefaultSeparator());
    const qsizetype file = items.indexOf(QStringLiteral("/f")) + 1;
    if (file > 0 && file < items.size())
        items[file] = QDir::current().absoluteFilePath(items[file]);
    return items;
}

// A later start: the running instance takes the work; a failure is told,
// since opening a file from the desktop must never silently do nothing.
void HandOver(const platform::SingleInstance& instance, const QStringList& arguments)
{
    const QStringList items = HandedOverItems(arguments);
    if (items.contains(QStringLiteral("/?"))) {
        ShowCommandLineHelp();
        return;
    }
    QByteArray message;
    QDataStream stream(&message, QIODevice::WriteOnly);
    stream << items;
    if (instance.sendToRunning(message, HandOverTimeoutMs))
        return;
    const qsizetype file = items.indexOf(QStringLiteral("/f")) + 1;
    const QString what = file > 0 && file < items.size()
                             ? QStringLiteral("%1 was not opened").arg(items[file])
                             : QStringLiteral("it was not brought to the front");
    platform::MsgBox(QStringLiteral("Talvex Editor is already running but did not answer: %1. "
                                    "Try again when it is ready.")
                         .arg(what),
                     platform::vbExclamation, QStringLiteral("Talvex Editor"));
}

}  // namespace

std::unique_ptr<MDIMain> Main(const QStringList& given)
{
    const QStringList arguments = WithOpenSwitchForFile(given);
    auto instance = std::make_unique<platform::SingleInstance>(ProgramName, platform::ProgramFolder());
    // No claim and none of ours running: other users hold every name, and
    // this start goes on alone rather than hand its work to them.
    if (!instance->claim() && instance->anotherIsRunning()) {
        HandOver(*instance, arguments);
        return nullptr;
    }

    platform::SetProfileDamageHandler(ReportDamagedFile);
    platform::SetRegistryDamageHandler(ReportDamagedFile);
    SetCommand(arguments);

    auto window = std::make_unique<MDIMain>();
    // The claim lasts as long as the main window, which takes the work of
    // later starts.
    MDIMain* main = window.get();
    QObject::connect(instance.get(), &platform::SingleInstance::messageReceived, main,
                     [main](const QByteArray& message) {
                         QStringList items;
                         QDataStream stream(message);
                         stream >> items;
                         main->TakeHandedOverCommand(items);
                     });
    instance->setParent(window.get());
    instance.release();

    window->MDIForm_Initialize();
    if (!window->MDIForm_Load())
        return nullptr;
    window->ShowAsPlaced();
    return window;
}

void CenterForm(const QWidget& reference, QWidget& form)
{
    const QRect ref = reference.frameGeometry();
    const QRect own = form.frameGeometry();
    const QRect screen = platform::AvailableScreenGeometry(&reference);
    const int top = std::max(ref.top() + (ref.height() - own.height()) / 2, screen.top());
    const int left = std::max(ref.left() + (ref.width() - own.width()) / 2, screen.left());
    form.move(left, top);
}

QString FailureDescription(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const platform::Error*>(&failure))
        return error->description();
    return QString::fromUtf8(failure.what());
}

void ShowProgramError(const QString& description)
{
    platform::MsgBox(description, platform::vbCritical | platform::vbOKOnly,
                     QStringLiteral("Talvex Editor Program Error."));
}

void ShowProgramError(const std::exception& failure)
{
    ShowProgramError(FailureDescription(failure));
}

void ShowProgramError()
{
    if (!std::current_exception()) {
        ShowProgramError(QStringLiteral("An unexpected error occurred."));
        return;
    }
    try {
        throw;
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
    } catch (...) {
        ShowProgramError(QStringLiteral("An unexpected error occurred."));
    }
}
