#include "print/FileExtPage.h"

#include "print/AddExtensionDialog.h"
#include "print/PrintStrings.h"
#include "print/SpinEdit.h"
#include "platform/forms/MsgBox.h"

#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace prentil {

namespace {

QString RowText(const ExtensionEntry& entry)
{
    return entry.name + QLatin1Char('\t') + QString::number(entry.tabs);
}

}  // namespace

FileExtPage::FileExtPage(CTxtPrintDoc& doc, QWidget* parent) : TabPage(doc, parent)
{
    setObjectName(QStringLiteral("FileExtPage"));
    auto* layout = new QVBoxLayout(this);
    auto* listBox = new QGroupBox(QStringLiteral("File extensions"), this);
    auto* list = new QVBoxLayout(listBox);
    lstExtensions = new QListWidget(listBox);
    lstExtensions->setObjectName(QStringLiteral("lstExtensions"));
    lstExtensions->setDragDropMode(QAbstractItemView::InternalMove);
    lstExtensions->viewport()->installEventFilter(this);
    auto* help = new QLabel(QStringLiteral("To change sort order, drag and drop file extensions in the list box.\n"
                                           "Extensions not in the list box will be sorted alphabetically."),
                            listBox);
    help->setWordWrap(true);
    list->addWidget(lstExtensions, 1);
    list->addWidget(help);

    auto* editBox = new QGroupBox(QStringLiteral("Edit extension"), this);
    auto* edit = new QGridLayout(editBox);
    lblName = new QLabel(editBox);
    lblName->setObjectName(QStringLiteral("lblName"));
    txtTabs = new QLineEdit(editBox);
    txtTabs->setObjectName(QStringLiteral("txtTabs"));
    txtTabs->setValidator(new QIntValidator(0, 999, txtTabs));
    cmdAdd = new QPushButton(QStringLiteral("Add new extension"), editBox);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdDelete = new QPushButton(QStringLiteral("Delete extension"), editBox);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    // The pages sit in the main window, not a dialog: a button takes Enter
    // only when it is auto-default.
    cmdAdd->setAutoDefault(true);
    cmdDelete->setAutoDefault(true);
    chkOnlyDefault = new QCheckBox(QStringLiteral("Use only default tab spacing"), editBox);
    chkOnlyDefault->setObjectName(QStringLiteral("chkOnlyDefault"));
    // The spacing box as wide as a spacing, the buttons as wide as their captions.
    txtTabs->setFixedWidth(FittingWidth(*txtTabs, QStringLiteral("000")));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdDelete);
    buttons->addStretch(1);
    edit->addWidget(lblName, 0, 0, 1, 3);
    edit->addWidget(new QLabel(QStringLiteral("Tab spacing:"), editBox), 1, 0);
    edit->addWidget(txtTabs, 1, 1);
    edit->addLayout(buttons, 2, 0, 1, 3);
    edit->addWidget(chkOnlyDefault, 3, 0, 1, 3);
    edit->setColumnStretch(2, 1);

    layout->addWidget(listBox, 1);
    layout->addWidget(editBox);

    connect(lstExtensions, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_)
            ShowSelected();
    });
    connect(txtTabs, &QLineEdit::textEdited, this, &FileExtPage::txtTabs_Change);
    connect(txtTabs, &QLineEdit::editingFinished, this, &FileExtPage::txtTabs_Finished);
    connect(cmdAdd, &QPushButton::clicked, this, &FileExtPage::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &FileExtPage::cmdDelete_Click);
    connect(chkOnlyDefault, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_)
            doc_.SetOnlyDefaultTab(on ? 1 : 0);
    });
    RefreshFromDocument();
}

void FileExtPage::RefreshFromDocument()
{
    Fill(0);
}

void FileExtPage::Fill(int select)
{
    filling_ = true;
    lstExtensions->clear();
    for (const ExtensionEntry& entry : doc_.Extensions())
        lstExtensions->addItem(RowText(entry));
    chkOnlyDefault->setChecked(doc_.OnlyDefaultTab() != 0);
    lstExtensions->setCurrentRow(std::clamp(select, 0, lstExtensions->count() - 1));
    filling_ = false;
    ShowSelected();
}

void FileExtPage::ShowSelected()
{
    const int row = lstExtensions->currentRow();
    if (row < 0 || row >= static_cast<int>(doc_.Extensions().size()))
        return;
    const ExtensionEntry& entry = doc_.Extensions()[static_cast<std::size_t>(row)];
    lblName->setText(entry.name);
    txtTabs->setText(QString::number(entry.tabs));
}

void FileExtPage::txtTabs_Change()
{
    const int row = lstExtensions->currentRow();
    const int tabs = txtTabs->text().trimmed().toInt();
    // A spacing below 1 is not stored; the entry keeps the one it had.
    if (row < 0 || tabs < 1)
        return;
    doc_.SetExtensionTabs(row, tabs);
    lstExtensions->item(row)->setText(RowText(doc_.Extensions()[static_cast<std::size_t>(row)]));
}

void FileExtPage::txtTabs_Finished()
{
    if (txtTabs->text().trimmed().toInt() >= 1)
        return;
    MessageKeepingFocus(IDS_BAD_TAB_SPACING, platform::vbExclamation);
    ShowSelected();
}

void FileExtPage::cmdAdd_Click()
{
    AddExtensionDialog dialog([this](const QString& name) { return doc_.ExtensionTabs(name) != -1; }, this);
    if (RunModalKeepingFocus(dialog) != QDialog::Accepted)
        return;
    doc_.AppendExtension({dialog.Extension(), dialog.TabSpacing()});
    doc_.SetReSortNeeded(true);
    Fill(static_cast<int>(doc_.Extensions().size()) - 1);
}

void FileExtPage::cmdDelete_Click()
{
    const int row = lstExtensions->currentRow();
    if (!doc_.RemoveExtension(row))
        return;
    doc_.SetReSortNeeded(true);
    Fill(row - 1);
}

bool FileExtPage::MoveDropped(int from, int dropRow)
{
    if (from < 1 || dropRow < 1 || dropRow == from || dropRow == from + 1)
        return false;
    const int to = dropRow > from ? dropRow - 1 : dropRow;
    if (!doc_.MoveExtension(from, to))
        return false;
    doc_.SetReSortNeeded(true);
    Fill(to);
    return true;
}

bool FileExtPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstExtensions->viewport() && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        // Only rows dragged within the list move; anything else dropped here is ignored.
        if (drop->source() != lstExtensions) {
            drop->ignore();
            return true;
        }
        const QPoint at = drop->position().toPoint();
        const QModelIndex index = lstExtensions->indexAt(at);
        int dropRow = index.isValid() ? index.row() : lstExtensions->count();
        // The lower half of a row drops below it.
        if (index.isValid() && at.y() > lstExtensions->visualRect(index).center().y())
            ++dropRow;
        MoveDropped(lstExtensions->currentRow(), dropRow);
        drop->setDropAction(Qt::IgnoreAction);
        drop->accept();
        return true;
    }
    return TabPage::eventFilter(watched, event);
}

}  // namespace prentil
