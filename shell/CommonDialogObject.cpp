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

// The extension of a filter entry's single pattern ("*.txt" gives ".txt");
// none for "*.*" or a list of patterns.
QString ExtensionOfFilter(const QString& filter, int index)
{
    const QStringList parts = filter.split(u'|');
    const qsizetype at = 2 * (static_cast<qsizetype>(index) - 1) + 1;
    if (index < 1 || at >= parts.size())
        return QString();
    const QString pattern = parts[at].trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.contains(u';') || pattern.indexOf(u'*', 1) >= 0
        || pattern.size() < 3)
        return QString();
    return pattern.mid(1);
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
    QString path;
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
        if (!filters.isEmpty())
            filterIndex_ = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        // A name saved without an extension gets the chosen filter's; the
        // question below is about the file then written.
        path = chosen.first();
        if (save && !QFileInfo(path).fileName().contains(u'.'))
            path += ExtensionOfFilter(filter_, filterIndex_);
        const bool ask = save && (flags_ & cdlOFNOverwritePrompt) && QFileInfo(path).isFile();
        if (!ask || ConfirmReplace(path, title_))
            break;
        // No: the dialog again, with the name as typed.
        dialog.selectFile(chosen.first());
    }
    fileName_ = path;
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
