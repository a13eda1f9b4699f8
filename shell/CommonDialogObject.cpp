#include "shell/CommonDialogObject.h"

#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>
#include <algorithm>

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

// Sizes a file dialog's detail columns and the dialog itself (FitFileDialog).
class FileDialogFitter : public QObject {
public:
    FileDialogFitter(QFileDialog& dialog, QTreeView& view) : QObject(&dialog), dialog_(dialog), view_(view)
    {
        dialog.installEventFilter(this);
        if (auto* model = dialog.findChild<QFileSystemModel*>())
            connectFirstLoad_ = connect(model, &QFileSystemModel::directoryLoaded, this, [this] {
                // What the folder really holds (long type names) is known now.
                disconnect(connectFirstLoad_);
                Fit(true);
            });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            Fit(false);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Columns of the detail view.
    static constexpr int NameColumn = 0;
    static constexpr int SizeColumn = 1;
    static constexpr int TypeColumn = 2;
    static constexpr int DateColumn = 3;

    int TextWidth(const QStringList& samples) const
    {
        const QFontMetrics metrics(view_.font());
        int widest = 0;
        for (const QString& sample : samples)
            widest = std::max(widest, metrics.horizontalAdvance(sample));
        // The room a view leaves around a cell's text, and a character to spare.
        const int margin = view_.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view_) + 1;
        return widest + 2 * margin + metrics.averageCharWidth();
    }

    // The widest texts the file system model shows in each column: sizes
    // with the most digits of each unit, dates of each month, and the type
    // names of the files the suite works on.
    static QStringList SizeSamples()
    {
        QStringList samples;
        qint64 unit = 1024;
        for (int i = 0; i < 5; ++i, unit *= 1024)
            samples.append(QLocale::system().formattedDataSize(unit - 1));
        return samples;
    }
    static QStringList DateSamples()
    {
        QStringList samples;
        for (int month = 1; month <= 12; ++month)
            samples.append(QLocale::system().toString(QDateTime(QDate(2028, month, 28), QTime(23, 58, 58)),
                                                      QLocale::ShortFormat));
        return samples;
    }
    static QStringList TypeSamples()
    {
        const QMimeDatabase mimes;
        QStringList samples{QStringLiteral("Folder")};
        for (const char* name : {"x.nc", "x.txt", "x.cnc", "x.tap", "x.pdf", "x.ini", "x.bak"})
            samples.append(mimes.mimeTypeForFile(QLatin1String(name), QMimeDatabase::MatchExtension).comment());
        return samples;
    }

    void Widen(int column, int width)
    {
        QHeaderView* header = view_.header();
        if (header->sectionSize(column) < width)
            header->resizeSection(column, width);
    }

    void Fit(bool contents)
    {
        Widen(SizeColumn, TextWidth(SizeSamples()));
        Widen(TypeColumn, TextWidth(TypeSamples()));
        Widen(DateColumn, TextWidth(DateSamples()));
        if (contents)
            for (int column : {SizeColumn, TypeColumn, DateColumn})
                Widen(column, static_cast<const QAbstractItemView&>(view_).sizeHintForColumn(column));
        // The dialog grows by what the columns lack, as far as the screen
        // allows; then the name column gives up what is still missing.
        QHeaderView* header = view_.header();
        const int scrollBar = view_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view_);
        int missing = header->length() + scrollBar - view_.viewport()->width();
        if (missing <= 0)
            return;
        const QScreen* screen = dialog_.screen();
        const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
        const int frame = dialog_.frameGeometry().width() - dialog_.width();
        const int widest = available.isValid() ? available.width() - frame : dialog_.width() + missing;
        const int width = std::max(dialog_.width(), std::min(widest, dialog_.width() + missing));
        missing -= width - dialog_.width();
        if (width != dialog_.width()) {
            const QRect before = dialog_.frameGeometry();
            dialog_.resize(width, dialog_.height());
            // Grown about its middle, and kept on the screen.
            QRect placed(before.topLeft() - QPoint((width - before.width() + frame) / 2, 0),
                         QSize(width + frame, before.height()));
            if (available.isValid()) {
                placed.moveRight(std::min(placed.right(), available.right()));
                placed.moveLeft(std::max(placed.left(), available.left()));
            }
            dialog_.move(placed.topLeft());
        }
        if (missing > 0) {
            const int least = QFontMetrics(view_.font()).horizontalAdvance(QString(16, QLatin1Char('w')));
            header->resizeSection(NameColumn, std::max(least, header->sectionSize(NameColumn) - missing));
        }
    }

    QFileDialog& dialog_;
    QTreeView& view_;
    bool shown_ = false;
    QMetaObject::Connection connectFirstLoad_;
};

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

void FitFileDialog(QFileDialog& dialog)
{
    if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView")))
        new FileDialogFitter(dialog, *view);
}

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
    FitFileDialog(dialog);
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
