#include "editctl/ZuPropertyPages.h"

#include "editctl/ZuPropertyInfo.h"
#include "platform/com/CallByName.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A colour as containers show one: "&H80000008&".
QString ColorText(quint32 color) { return QStringLiteral("&H%1&").arg(color, 8, 16, QChar(u'0')).toUpper(); }

bool ParseColor(QString text, quint32* color)
{
    text = text.trimmed();
    bool ok = false;
    if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        text = text.mid(2);
        if (text.endsWith(u'&'))
            text.chop(1);
        *color = text.toUInt(&ok, 16);
    } else {
        *color = text.toUInt(&ok, 10);
    }
    return ok;
}

}  // namespace

ZuPropertyPage::ZuPropertyPage(QWidget* parent) : QWidget(parent), form_(new QFormLayout(this)) {}

void ZuPropertyPage::SetObjects(const QList<QObject*>& objects)
{
    objects_.clear();
    for (QObject* object : objects)
        objects_.append(object);
}

QWidget* ZuPropertyPage::Bind(int id, const QString& label, const QString& property, Kind kind)
{
    QWidget* widget = nullptr;
    switch (kind) {
    case Check: {
        auto* box = new QCheckBox(label, this);
        form_->addRow(box);
        widget = box;
        break;
    }
    case List: {
        auto* list = new QComboBox(this);
        list->addItems(ZuDisplayStrings(property));
        widget = list;
        break;
    }
    default:
        widget = new QLineEdit(this);
        break;
    }
    if (kind != Check) {
        auto* caption = new QLabel(label, this);
        caption->setBuddy(widget);
        form_->addRow(caption, widget);
    }
    widget->setObjectName(property);
    widget->setProperty("controlId", id);
    bindings_.append({id, property, kind, widget, QVariant()});
    return widget;
}

void ZuPropertyPage::SetFieldValue(Binding& binding, const QVariant& value)
{
    switch (binding.kind) {
    case Check:
        static_cast<QCheckBox*>(binding.widget)->setChecked(value.toBool());
        break;
    case List:
        static_cast<QComboBox*>(binding.widget)->setCurrentIndex(value.toInt());
        break;
    case Color:
        static_cast<QLineEdit*>(binding.widget)->setText(ColorText(value.toUInt()));
        break;
    default:
        static_cast<QLineEdit*>(binding.widget)->setText(value.toString());
        break;
    }
    bool ok = true;
    binding.loaded = FieldValue(binding, &ok);
}

QVariant ZuPropertyPage::FieldValue(const Binding& binding, bool* ok) const
{
    *ok = true;
    switch (binding.kind) {
    case Check:
        return static_cast<QCheckBox*>(binding.widget)->isChecked();
    case List:
        return static_cast<QComboBox*>(binding.widget)->currentIndex();
    case Number: {
        const int value = static_cast<QLineEdit*>(binding.widget)->text().trimmed().toInt(ok);
        return value;
    }
    case Float: {
        const double value = static_cast<QLineEdit*>(binding.widget)->text().trimmed().toDouble(ok);
        return value;
    }
    case Color: {
        quint32 color = 0;
        *ok = ParseColor(static_cast<QLineEdit*>(binding.widget)->text(), &color);
        return color;
    }
    case Text:
        return static_cast<QLineEdit*>(binding.widget)->text();
    }
    return QVariant();
}

void ZuPropertyPage::Load()
{
    QObject* first = objects_.isEmpty() ? nullptr : objects_.first().data();
    if (!first)
        return;
    for (Binding& binding : bindings_) {
        try {
            SetFieldValue(binding, platform::CallByName(first, binding.property, platform::VbGet));
        } catch (const platform::Error&) {
            // A property the control cannot read leaves its field empty.
        }
    }
}

bool ZuPropertyPage::IsChanged() const
{
    for (const Binding& binding : bindings_) {
        bool ok = true;
        if (FieldValue(binding, &ok) != binding.loaded)
            return true;
    }
    return false;
}

bool ZuPropertyPage::Apply()
{
    // Nothing is written while a field holds no number.
    for (const Binding& binding : bindings_) {
        bool ok = true;
        FieldValue(binding, &ok);
        if (!ok) {
            platform::MsgBox(QStringLiteral("Invalid property value."), platform::vbExclamation);
            binding.widget->setFocus();
            return false;
        }
    }
    // A file to open is written last, so it is read with the text type and
    // conversion chosen beside it.
    QList<Binding*> order;
    for (Binding& binding : bindings_)
        if (binding.property != QLatin1String("FileOpen"))
            order.append(&binding);
    for (Binding& binding : bindings_)
        if (binding.property == QLatin1String("FileOpen"))
            order.append(&binding);
    for (Binding* entry : order) {
        Binding& binding = *entry;
        bool ok = true;
        const QVariant value = FieldValue(binding, &ok);
        if (value == binding.loaded)
            continue;
        for (const QPointer<QObject>& object : objects_) {
            if (!object)
                continue;
            try {
                platform::CallByName(object, binding.property, platform::VbLet, {value});
            } catch (const platform::Error& e) {
                platform::MsgBox(e.description(), platform::vbExclamation);
                binding.widget->setFocus();
                return false;
            }
        }
        binding.loaded = value;
    }
    return true;
}

ZuEditor20PropPage::ZuEditor20PropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("General"));
    Bind(202, QStringLiteral("Caret&Height:"), QStringLiteral("CaretHeight"), Number);
    Bind(203, QStringLiteral("Caret&Width:"), QStringLiteral("CaretWidth"), Number);
    Bind(204, QStringLiteral("&UndoLimit"), QStringLiteral("UndoLimit"), Number);
    Bind(205, QStringLiteral("&BorderStyle:"), QStringLiteral("BorderStyle"), List);
    Bind(206, QStringLiteral("&MousePointer:"), QStringLiteral("MousePointer"), List);
    Bind(207, QStringLiteral("&ScrollBars"), QStringLiteral("ScrollBars"), List);
    Bind(201, QStringLiteral("&ReadOnly"), QStringLiteral("ReadOnly"), Check);
    Bind(208, QStringLiteral("&Enabled"), QStringLiteral("Enabled"), Check);
    Bind(209, QStringLiteral("UndoChar&FormattingEnabled"), QStringLiteral("UndoCharFormattingEnabled"), Check);
    Bind(210, QStringLiteral("Undo&CaretEnabled"), QStringLiteral("UndoCaretEnabled"), Check);
}

ZuEditor20TextPropPage::ZuEditor20TextPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Text"));
    Bind(208, QStringLiteral("File&Open:"), QStringLiteral("FileOpen"), Text);
    auto* browse = new QPushButton(QStringLiteral("&Browse"), this);
    browse->setObjectName(QStringLiteral("Browse"));
    browse->setProperty("controlId", 209);
    Form()->addRow(QString(), browse);
    connect(browse, &QPushButton::clicked, this, &ZuEditor20TextPropPage::Browse);
    Bind(212, QStringLiteral("&TextType:"), QStringLiteral("TextType"), List);
    Bind(214, QStringLiteral("File&ConvertAnsiOem"), QStringLiteral("FileConvertOemAnsi"), Check);
    Bind(215, QStringLiteral("FileSave&Append"), QStringLiteral("FileSaveAppend"), Check);
    Bind(216, QStringLiteral("&InsertMode"), QStringLiteral("InsertMode"), Check);
    Bind(213, QStringLiteral("Tab&DefaultWidth:"), QStringLiteral("TabDefaultWidth"), Number);
}

void ZuEditor20TextPropPage::Browse()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Text Files (*.txt)"), QStringLiteral("Rich Text Format (*.rtf)"),
                           QStringLiteral("All Files (*)")});
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (platform::ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    findChild<QLineEdit*>(QStringLiteral("FileOpen"))->setText(dialog.selectedFiles().first());
}

ZuEditor20SearchPropPage::ZuEditor20SearchPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Search"));
    Bind(215, QStringLiteral("Search&Target:"), QStringLiteral("SearchTarget"), Text);
    Bind(216, QStringLiteral("Search&Replacement:"), QStringLiteral("SearchReplacement"), Text);
    Bind(217, QStringLiteral("SearchOr&igin:"), QStringLiteral("SearchOrigin"), List);
    Bind(218, QStringLiteral("SearchT&o:"), QStringLiteral("SearchTo"), List);
    Bind(219, QStringLiteral("Search&CaseSensitive"), QStringLiteral("SearchCaseSensitive"), Check);
    Bind(220, QStringLiteral("Search&WholeWordsOnly"), QStringLiteral("SearchWholeWordsOnly"), Check);
}

ZuEditor20WrapPropPage::ZuEditor20WrapPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Wrapping"));
    Bind(220, QStringLiteral("Wrap&Automatically"), QStringLiteral("WrapAutomatically"), Check);
    Bind(221, QStringLiteral("Wrap&WholeWords"), QStringLiteral("WrapWholeWords"), Check);
    Bind(222, QStringLiteral("Wrap&X:"), QStringLiteral("WrapX"), Number);
}

ZuEditor20MarginsPropPage::ZuEditor20MarginsPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Margins"));
    Bind(225, QStringLiteral("&TopMargin:"), QStringLiteral("TopMargin"), Number);
    Bind(226, QStringLiteral("&LeftMargin:"), QStringLiteral("LeftMargin"), Number);
    Bind(228, QStringLiteral("&RightMargin:"), QStringLiteral("RightMargin"), Number);
    Bind(227, QStringLiteral("&BottomMargin:"), QStringLiteral("BottomMargin"), Number);
}

ZuEditor20SplitterPropPage::ZuEditor20SplitterPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Splitter"));
    Bind(230, QStringLiteral("Splitter&Type:"), QStringLiteral("SplitterType"), List);
    Bind(232, QStringLiteral("Splitter&Position:"), QStringLiteral("SplitterPosition"), Number);
    Bind(233, QStringLiteral("Splitter&Width:"), QStringLiteral("SplitterWidth"), Number);
    Bind(231, QStringLiteral("Splitter&Enabled"), QStringLiteral("SplitterEnabled"), Check);
}

ZuEditorSelectionPropPage::ZuEditorSelectionPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Selection"));
    Bind(233, QStringLiteral("Sel&ColorType:"), QStringLiteral("SelColorType"), List);
    Bind(234, QStringLiteral("Sel&DefaultType:"), QStringLiteral("SelDefaultType"), List);
    Bind(235, QStringLiteral("SelDragDrop&Enable"), QStringLiteral("SelDragDropEnable"), Check);
}

ZuColorPropPage::ZuColorPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Color"));
    int id = 1;
    for (const char* name : {"ForeColor", "BackColor", "SelForeColor", "SelBackColor", "SplitterForeColor",
                             "SplitterBackColor"})
        Bind(id++, QString::fromLatin1(name) + u':', QString::fromLatin1(name), Color);
}

ZuFontPropPage::ZuFontPropPage(QWidget* parent) : ZuPropertyPage(parent)
{
    SetCaption(QStringLiteral("Font"));
    Bind(1, QStringLiteral("&Font:"), QStringLiteral("FontName"), Text);
    Bind(2, QStringLiteral("&Size:"), QStringLiteral("FontSize"), Float);
    Bind(3, QStringLiteral("&Bold"), QStringLiteral("FontBold"), Check);
    Bind(4, QStringLiteral("&Italic"), QStringLiteral("FontItalic"), Check);
    Bind(5, QStringLiteral("&Underline"), QStringLiteral("FontUnderline"), Check);
    Bind(6, QStringLiteral("S&trikethrough"), QStringLiteral("FontStrikethru"), Check);
}

ZuPropertySheet::ZuPropertySheet(const QList<QObject*>& objects, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("ZuPropertySheet"));
    setWindowTitle(QStringLiteral("Properties"));
    pages_ = {new ZuEditor20PropPage,       new ZuEditor20TextPropPage,     new ZuEditor20WrapPropPage,
              new ZuEditor20MarginsPropPage, new ZuEditor20SearchPropPage,  new ZuEditor20SplitterPropPage,
              new ZuEditorSelectionPropPage, new ZuColorPropPage,           new ZuFontPropPage};
    for (ZuPropertyPage* page : pages_) {
        page->SetObjects(objects);
        page->Load();
        tabs_->addTab(page, page->Caption());
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ApplyAll())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { ApplyAll(); });
    // Every page's name shows whole: the sheet grows to its tabs rather than cutting them.
    tabs_->tabBar()->setElideMode(Qt::ElideNone);
    tabs_->tabBar()->setUsesScrollButtons(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

ZuPropertyPage* ZuPropertySheet::Page(const QString& caption) const
{
    for (ZuPropertyPage* page : pages_)
        if (page->Caption() == caption)
            return page;
    return nullptr;
}

bool ZuPropertySheet::ApplyAll()
{
    for (ZuPropertyPage* page : pages_) {
        if (!page->Apply()) {
            tabs_->setCurrentWidget(page);
            return false;
        }
    }
    return true;
}

int ZuShowPropertySheet(const QList<QObject*>& objects, QWidget* parent)
{
    ZuPropertySheet sheet(objects, parent);
    return platform::ShowModal(sheet);
}
