#include "shell/CommonDialogObject.h"

#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QCoreApplication>

namespace {

// The description without a pattern list of its own at the end:
// "APTCL Files(*.apt)" -> "APTCL Files".
QString BareDescription(const QString& description)
{
    QString text = description.trimmed();
    if (text.endsWith(QLatin1Char(')'))) {
        const qsizetype open = text.lastIndexOf(QLatin1Char('('));
        if (open >= 0)
            text = text.left(open).trimmed();
    }
    return text.isEmpty() ? description.trimmed() : text;
}

QStringList Patterns(const QString& patternText)
{
    QStringList patterns;
    const auto add = [&patterns](const QString& pattern) {
        if (!pattern.isEmpty() && !patterns.contains(pattern))
            patterns.append(pattern);
    };
    for (QString pattern : patternText.split(QLatin1Char(';'))) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        add(pattern.toLower());
        add(pattern.toUpper());
        add(pattern);
    }
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    return patterns;
}

}  // namespace

bool CommonDialogObject::ConfirmReplace(const QString& path, const QString& title)
{
    return platform::MsgBox(QFileInfo(path).fileName() + QStringLiteral(" already exists.\nDo you want to replace it?"),
                            platform::vbYesNo | platform::vbExclamation,
                            title.isEmpty() ? QStringLiteral("Save As") : title)
           == platform::vbYes;
}

QStringList CommonDialogObject::NameFilters(const QString& filter)
{
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (filter.isEmpty())
        return filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = BareDescription(parts[i]);
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
        filters.append(description + QStringLiteral(" (") + Patterns(patterns).join(QLatin1Char(' '))
                       + QLatin1Char(')'));
    }
    return filters;
}

void CommonDialogObject::Cancelled()
{
    fileName_.clear();
    if (cancelError_)
        throw platform::Error(cdlCancel, QStringLiteral("Cancel was selected."),
                              QStringLiteral("CommonDialog"));
}

void CommonDialogObject::Show(bool save)
{
    QFileDialog dialog(owner_, title_, initDir_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setFileMode((flags_ & cdlOFNFileMustExist) ? QFileDialog::ExistingFile
                                                           : QFileDialog::AnyFile);
    }
    const QStringList filters = NameFilters(filter_);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = std::clamp<qsizetype>(filterIndex_, 1, filters.size()) - 1;
        dialog.selectNameFilter(filters[index]);
    }
    if (!fileName_.isEmpty())
        dialog.selectFile(fileName_);

    QStringList chosen;
    for (;;) {
        if (platform::ShowModal(dialog) != QDialog::Accepted) {
            Cancelled();
            return;
        }
        chosen = dialog.selectedFiles();
        if (chosen.isEmpty()) {
            Cancelled();
            return;
        }
        const bool ask = save && (flags_ & cdlOFNOverwritePrompt) && QFileInfo(chosen.first()).isFile();
        if (!ask || ConfirmReplace(chosen.first(), title_))
            break;
        // No: the dialog again, with the name as chosen.
        dialog.selectFile(chosen.first());
    }
    fileName_ = chosen.first();
    if (!filters.isEmpty())
        filterIndex_ = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    // There is no read-only box to tick.
    flags_ &= ~cdlOFNReadOnly;
}

void CommonDialogObject::ShowOpen()
{
    Show(false);
}

void CommonDialogObject::ShowSave()
{
    Show(true);
}

void CommonDialogObject::ShowPrinter()
{
    QPrintDialog dialog(&ApplicationPrinter(), owner_);
    if (!title_.isEmpty())
        dialog.setWindowTitle(title_);
    if (platform::ShowModal(dialog) != QDialog::Accepted)
        Cancelled();
}

namespace {

QPrinter* ThePrinter = nullptr;

}  // namespace

QPrinter& ApplicationPrinter()
{
    if (ThePrinter == nullptr) {
        ThePrinter = new QPrinter;
        // Gone with the application, while the print system is still there.
        qAddPostRoutine([] {
            delete ThePrinter;
            ThePrinter = nullptr;
        });
    }
    return *ThePrinter;
}
