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

}  // namespace

std::unique_ptr<MDIMain> Main(const QStringList& arguments)
{
    auto instance = std::make_unique<platform::SingleInstance>(ProgramName, platform::ProgramFolder());
    if (!instance->claim())
        return nullptr;

    platform::SetProfileDamageHandler(ReportDamagedFile);
    platform::SetRegistryDamageHandler(ReportDamagedFile);
    SetCommand(arguments);

    auto window = std::make_unique<MDIMain>();
    // The claim lasts as long as the main window.
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
