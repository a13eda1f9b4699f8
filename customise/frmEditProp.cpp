#include "customise/frmEditProp.h"

#include "platform/forms/EnterOnButton.h"
#include "platform/codemax/CodeMax.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ShowModal.h"
#include "shell/CAssociate.h"
#include "shell/DocumentForm.h"
#include "shell/DocumentTable.h"
#include "shell/KroBrowser.h"
#include "shell/KroColorSelector.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/cRegistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>
#include <optional>

namespace {

const QString Title = QStringLiteral("Talvex Editor");
const QString ColorsSection = QStringLiteral("Colors");

const char* const ItemNames[frmEditProp::ColorItemsShown] = {
    "Bookmarks", "Comments", "Hightlighted Line", "Keywords", "Left Margin",
    "Line Number Margin", "Numbers", "Text", "Window",
};

// Enter moves on to the next box rather than pressing a button.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter_(std::move(onEnter)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                onEnter_();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> onEnter_;
};

// VB's Trim: blanks only.
QString TrimBlanks(QString text)
{
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

std::optional<qint32> Number(const QString& text)
{
    bool ok = false;
    const qint32 value = TrimBlanks(text).toInt(&ok);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

qint32 IniColorValue(int item, const char* suffix, qint32 fallback)
{
    const QString text = ReadIniString(ColorsSection, QStringLiteral("clr%1%2").arg(item).arg(QLatin1String(suffix)), IniFile);
    return Number(text).value_or(fallback);
}

}  // namespace

qint32 frmEditProp::PaletteColorValue(int index)
{
    const QColor c = KroColorSelector::PaletteColor(index);
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

int frmEditProp::NearestPaletteIndex(qint32 value)
{
    const int r = value & 0xFF, g = (value >> 8) & 0xFF, b = (value >> 16) & 0xFF;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 16; ++i) {
        const QColor c = KroColorSelector::PaletteColor(i);
        const long d = long(c.red() - r) * (c.red() - r) + long(c.green() - g) * (c.green() - g)
                       + long(c.blue() - b) * (c.blue() - b);
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

frmEditProp::frmEditProp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEditProp"));
    setWindowTitle(QStringLiteral("Talvex Editor Properties"));
    auto* layout = new QVBoxLayout(this);
    TabProp = new QTabWidget(this);
    TabProp->setObjectName(QStringLiteral("TabProp"));
    // The dialog is as wide as its five captions in the font in use: a larger
    // desktop font widens it rather than hiding tabs behind scroll arrows.
    TabProp->setUsesScrollButtons(false);
    TabProp->setElideMode(Qt::ElideNone);
    layout->addWidget(TabProp);
    BuildFiles();
    BuildColors();
    BuildCharacters();
    BuildNumbers();
    BuildAssociation();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const QString captions[] = {QStringLiteral("OK"), QStringLiteral("Cancel"), QStringLiteral("Apply")};
    for (int i = 0; i < 3; ++i) {
        cmdProperties[static_cast<size_t>(i)] = new QPushButton(captions[i], this);
        cmdProperties[static_cast<size_t>(i)]->setObjectName(QStringLiteral("cmdProperties%1").arg(i));
        cmdProperties[static_cast<size_t>(i)]->setAutoDefault(false);
        buttons->addWidget(cmdProperties[static_cast<size_t>(i)]);
        connect(cmdProperties[static_cast<size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdProperties_Click(i); });
    }
    layout->addLayout(buttons);
    connect(TabProp, &QTabWidget::currentChanged, this, [this](int index) { SwitchTab(index + 1); });
    EnterPressesFocusedButton(*this);
    Load();
}

void frmEditProp::BuildFiles()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* location = new QGroupBox(QStringLiteral("Location of Files"), page);
    auto* locationLayout = new QHBoxLayout(location);
    locationLayout->addWidget(new QLabel(QStringLiteral("NC/CNC Files:"), location));
    CncDir = new KroBrowser(location);
    CncDir->setObjectName(QStringLiteral("CncDir"));
    // The folder box has no size of its own to offer the layout: as high as
    // its text box wants, else the path is cut at the bottom.
    CncDir->setMinimumHeight(CncDir->txtFolder->sizeHint().height());
    locationLayout->addWidget(CncDir, 1);
    auto* extension = new QGroupBox(QStringLiteral("Default File Open Extension"), page);
    auto* extensionLayout = new QHBoxLayout(extension);
    txtExt = new QLineEdit(QStringLiteral("*.*"), extension);
    txtExt->setObjectName(QStringLiteral("txtExt"));
    extensionLayout->addWidget(txtExt);
    auto* path = new QGroupBox(QStringLiteral("Display Full Path"), page);
    auto* pathLayout = new QHBoxLayout(path);
    optPath[0] = new QRadioButton(QStringLiteral("Yes"), path);
    optPath[1] = new QRadioButton(QStringLiteral("No"), path);
    for (int i = 0; i < 2; ++i) {
        optPath[static_cast<size_t>(i)]->setObjectName(QStringLiteral("optPath%1").arg(i));
        pathLayout->addWidget(optPath[static_cast<size_t>(i)]);
        connect(optPath[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this] { Pending(); });
    }
    layout->addWidget(location);
    layout->addWidget(extension);
    layout->addWidget(path);
    layout->addStretch();
    TabProp->addTab(page, QStringLiteral("Files"));
    connect(CncDir, &KroBrowser::Change, this, [this] { Pending(); });
    connect(txtExt, &QLineEdit::textChanged, this, [this] { Pending(); });
}

void frmEditProp::BuildColors()
{
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* frame = new QGroupBox(QStringLiteral("Color"), page);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Item"), frame), 0, 0);
    lstItems = new QListWidget(frame);
    lstItems->setObjectName(QStringLiteral("lstItems"));
    for (const char* name : ItemNames)
        lstItems->addItem(QString::fromLatin1(name));
    grid->addWidget(lstItems, 1, 0, 6, 1);
    Label2 = new QLabel(QStringLiteral("Forecolor"), frame);
    clrFore = new KroColorSelector(frame);
    clrFore->setObjectName(QStringLiteral("clrFore"));
    Label3 = new QLabel(QStringLiteral("Background"), frame);
    clrBack = new KroColorSelector(frame);
    clrBack->setObjectName(QStringLiteral("clrBack"));
    Label5 = new QLabel(QStringLiteral("Font Style"), frame);
    cboFnt = new QComboBox(frame);
    cboFnt->setObjectName(QStringLiteral("cboFnt"));
    cboFnt->addItems({QStringLiteral("Normal"), QStringLiteral("Bold"), QStringLiteral("Italic"),
                      QStringLiteral("Bold/Italic"), QStringLiteral("Underline")});
    grid->addWidget(Label2, 1, 1);
    grid->addWidget(clrFore, 2, 1);
    grid->addWidget(Label3, 3, 1);
    grid->addWidget(clrBack, 4, 1);
    grid->addWidget(Label5, 5, 1);
    grid->addWidget(cboFnt, 6, 1);
    outer->addWidget(frame);
    TabProp->addTab(page, QStringLiteral("Colors"));

    connect(lstItems, &QListWidget::currentRowChanged, this, [this] { lstItems_Click(); });
    connect(clrFore, &KroColorSelector::Click, this, [this] {
        Colors[static_cast<size_t>(CurrentColorItem)].ForeColor = PaletteColorValue(clrFore->SelectedColor());
        Pending();
    });
    connect(clrBack, &KroColorSelector::Click, this, [this] {
        Colors[static_cast<size_t>(CurrentColorItem)].BackColor = PaletteColorValue(clrBack->SelectedColor());
        Pending();
    });
    connect(cboFnt, &QComboBox::activated, this, [this](int index) {
        Colors[static_cast<size_t>(CurrentColorItem)].FontStyle = index;
        Pending();
    });
}

void frmEditProp::BuildCharacters()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Enter the start Character(s) that line numbering will not number."), page));
    auto* row = new QHBoxLayout;
    auto* enter = new QGroupBox(QStringLiteral("Enter Character"), page);
    auto* enterLayout = new QVBoxLayout(enter);
    txtChar = new QLineEdit(enter);
    txtChar->setObjectName(QStringLiteral("txtChar"));
    enterLayout->addWidget(txtChar);
    cmdAdd = new QPushButton(QStringLiteral("&Add"), enter);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setAutoDefault(false);
    cmdDelete = new QPushButton(QStringLiteral("&Delete"), enter);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete->setAutoDefault(false);
    enterLayout->addWidget(cmdAdd);
    enterLayout->addWidget(cmdDelete);
    enterLayout->addStretch();
    auto* list = new QGroupBox(QStringLiteral("List of Characters"), page);
    auto* listLayout = new QVBoxLayout(list);
    lstChars = new QListWidget(list);
    lstChars->setObjectName(QStringLiteral("lstChars"));
    listLayout->addWidget(lstChars);
    row->addWidget(enter);
    row->addWidget(list);
    layout->addLayout(row);
    TabProp->addTab(page, QStringLiteral("Characters"));

    // A blank entry would match every line: Add needs something to add.
    connect(txtChar, &QLineEdit::textChanged, this,
            [this](const QString& text) { cmdAdd->setEnabled(!TrimBlanks(text).isEmpty()); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] {
        lstChars->addItem(txtChar->text());
        txtChar->clear();
        cmdAdd->setEnabled(false);
        Pending();
        cmdProperties[2]->setFocus();
    });
    connect(lstChars, &QListWidget::itemClicked, this, [this] { cmdDelete->setEnabled(true); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        delete lstChars->takeItem(lstChars->currentRow());
        cmdDelete->setEnabled(false);
        Pending();
        cmdProperties[2]->setFocus();
    });
}

void frmEditProp::BuildNumbers()
{
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    txtNum1 = new QLineEdit(QStringLiteral("10"), page);
    txtNum1->setObjectName(QStringLiteral("txtNum1"));
    txtNum2 = new QLineEdit(QStringLiteral("10"), page);
    txtNum2->setObjectName(QStringLiteral("txtNum2"));
    txtNum3 = new QLineEdit(QStringLiteral("9999"), page);
    txtNum3->setObjectName(QStringLiteral("txtNum3"));
    const auto check = [this, page](const char* name) {
        auto* box = new QCheckBox(QStringLiteral("No"), page);
        box->setObjectName(QLatin1String(name));
        connect(box, &QCheckBox::toggled, this, [this, box](bool on) {
            box->setText(on ? QStringLiteral("Yes") : QStringLiteral("No"));
            Pending();
        });
        return box;
    };
    chkN = check("chkN");
    chkSpace = check("chkSpace");
    chkBlankLines = check("chkBlankLines");
    chkNumPopup = check("chkNumPopup");
    form->addRow(QStringLiteral("Start Number:"), txtNum1);
    form->addRow(QStringLiteral("Increment Number:"), txtNum2);
    form->addRow(QStringLiteral("Number With Letter N:"), chkN);
    form->addRow(QStringLiteral("Space After Number:"), chkSpace);
    form->addRow(QStringLiteral("Number Blank Lines:"), chkBlankLines);
    form->addRow(QStringLiteral("Use Number Popup Window:"), chkNumPopup);
    form->addRow(QStringLiteral("Start Over After N"), txtNum3);
    TabProp->addTab(page, QStringLiteral("Block Numbers"));

    connect(txtNum1, &QLineEdit::textChanged, this, [this] { NumberChanged(txtNum1, QStringLiteral("10")); });
    connect(txtNum2, &QLineEdit::textChanged, this, [this] { NumberChanged(txtNum2, QStringLiteral("10")); });
    connect(txtNum3, &QLineEdit::textChanged, this, [this] { NumberChanged(txtNum3, QStringLiteral("9999")); });
    txtNum1->installEventFilter(new EnterFilter(txtNum1, [this] { txtNum2->setFocus(); }));
    txtNum2->installEventFilter(new EnterFilter(txtNum2, [this] { chkN->setFocus(); }));
}

void frmEditProp::BuildAssociation()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Enter file extention: e.g. cnc"), page));
    txtAssociate = new QLineEdit(page);
    txtAssociate->setObjectName(QStringLiteral("txtAssociate"));
    chkAssociate = new QCheckBox(QStringLiteral("Associate the above file extention"), page);
    chkAssociate->setObjectName(QStringLiteral("chkAssociate"));
    chkAssociate->setEnabled(false);
    layout->addWidget(txtAssociate);
    layout->addWidget(chkAssociate);
    layout->addStretch();
    TabProp->addTab(page, QStringLiteral("Files Association"));
    connect(txtAssociate, &QLineEdit::textChanged, this, [this] { chkAssociate->setEnabled(true); });
    connect(chkAssociate, &QCheckBox::toggled, this, [this] { Pending(); });
}

void frmEditProp::Load()
{
    loading_ = true;
    CncDir->Text(DefaultDir);
    // The Open dialog's filter ends in the extension pattern: "...|*.cnc".
    if (!DefaultExt.endsWith(QStringLiteral("*.*"))) {
        const qsizetype dot = DefaultExt.lastIndexOf(u'.');
        if (dot >= 1)
            txtExt->setText(DefaultExt.mid(dot - 1));
    }
    optPath[DisplayPath == 1 ? 0 : 1]->setChecked(true);
    for (int i = 0; i < ColorItemsShown; ++i) {
        const ColorItem& fallback = DefaultColorItems[static_cast<size_t>(i)];
        Colors[static_cast<size_t>(i)] = {IniColorValue(i, "bg", fallback.BackColor),
                                          IniColorValue(i, "fr", fallback.ForeColor),
                                          IniColorValue(i, "fnt", fallback.FontStyle)};
    }
    cboFnt->setCurrentIndex(0);
    txtNum1->setText(QString::number(Startnumber));
    txtNum2->setText(QString::number(Increment));
    txtNum3->setText(QString::number(RestartNum));
    chkN->setChecked(N == 1);
    chkSpace->setChecked(Space == 1);
    chkBlankLines->setChecked(BlankLines == 1);
    chkNumPopup->setChecked(NumPopup == 1);
    lstChars->clear();
    for (int k = 0; k < CharNumber && k < SkipChars.size(); ++k)
        lstChars->addItem(SkipChars[k]);
    cmdAdd->setEnabled(false);
    cmdDelete->setEnabled(false);
    lstItems->setCurrentRow(8);
    loading_ = false;
    cmdProperties[2]->setEnabled(false);
}

void frmEditProp::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (TabProp->currentIndex() == 0)
        CncDir->setFocus();
}

void frmEditProp::Pending()
{
    if (!loading_)
        cmdProperties[2]->setEnabled(true);
}

void frmEditProp::ColorTrue()
{
    Label2->show();
    clrFore->show();
    Label3->hide();
    Label5->hide();
    clrBack->hide();
    cboFnt->hide();
}

void frmEditProp::AllTrue()
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Label3, Label5, clrFore, clrBack, cboFnt})
        w->show();
}

void frmEditProp::Set1()
{
    Label2->show();
    Label3->show();
    clrFore->show();
    clrBack->show();
    Label5->hide();
    cboFnt->hide();
}

void frmEditProp::SetVis()
{
    switch (lstItems->currentRow()) {
    case 0: Set1(); break;
    case 1: case 3: case 5: case 6: case 7: AllTrue(); break;
    case 2: case 4: case 8: ColorTrue(); break;
    default: break;
    }
}

void frmEditProp::lstItems_Click()
{
    const int row = lstItems->currentRow();
    if (row < 0 || row >= ColorItemsShown)
        return;
    SetVis();
    CurrentColorItem = row;
    const ColorItem& item = Colors[static_cast<size_t>(row)];
    clrFore->SelectedColor(static_cast<qint16>(NearestPaletteIndex(item.ForeColor)));
    clrBack->SelectedColor(static_cast<qint16>(NearestPaletteIndex(item.BackColor)));
    cboFnt->setCurrentIndex(std::clamp(item.FontStyle, 0, 4));
}

void frmEditProp::SwitchTab(int tab)
{
    switch (tab) {
    case 1: CncDir->setFocus(); CncDir->SelStart(0); CncDir->SelLength(int(CncDir->Text().size())); break;
    case 2: {
        // Showing "Window" is no edit: a pending Apply stays pending.
        const bool pending = cmdProperties[2]->isEnabled();
        lstItems->setCurrentRow(8);
        cmdProperties[2]->setEnabled(pending);
        break;
    }
    case 3: txtChar->setFocus(); break;
    case 4: txtNum1->setFocus(); txtNum1->selectAll(); break;
    case 5: txtAssociate->setFocus(); txtAssociate->selectAll(); break;
    default: break;
    }
}

void frmEditProp::NumberChanged(QLineEdit* box, const QString& fallback)
{
    if (loading_)
        return;
    // An empty box waits for Apply: the user may be typing a new number.
    if (!box->text().isEmpty() && !Number(box->text())) {
        platform::MsgBox(QStringLiteral("Invalid number. Retry again"), platform::vbInformation, Title);
        box->setText(fallback);
        box->setFocus();
        box->selectAll();
    }
    Pending();
}

bool frmEditProp::NumberValid(QLineEdit* box, const QString& fallback, bool mayBeNegative)
{
    // A negative block number would be written as "N00-5", which no numbering removes again.
    const std::optional<qint32> value = Number(box->text());
    if (value && (mayBeNegative || *value >= 0))
        return true;
    TabProp->setCurrentIndex(3);
    platform::MsgBox(QStringLiteral("Invalid number. Retry again"), platform::vbInformation, Title);
    box->setText(fallback);
    box->setFocus();
    box->selectAll();
    return false;
}

bool frmEditProp::Apply()
{
    // Every page is checked before anything is stored.
    const QString ext = txtExt->text();
    const QString extTrimmed = TrimBlanks(ext);
    if (!ext.startsWith(QStringLiteral("*.")) || ext.size() >= 6 || ext.contains(u'|') || extTrimmed.size() < 3) {
        TabProp->setCurrentIndex(0);
        platform::MsgBox(QStringLiteral("Invalid file extension. Retry again.\r\n\r\nExamples\r\n*.cnc\r\n*.nwd\r\n*.txt\r\n"),
                         platform::vbInformation, Title);
        txtExt->setText(QStringLiteral("*.*"));
        txtExt->setFocus();
        txtExt->selectAll();
        return false;
    }
    if (!NumberValid(txtNum1, QStringLiteral("10"), false) || !NumberValid(txtNum2, QStringLiteral("10"), false)
        || !NumberValid(txtNum3, QStringLiteral("9999"), true))
        return false;
    QString association = TrimBlanks(txtAssociate->text());
    const bool associate = chkAssociate->isChecked() && !association.isEmpty();
    if (associate) {
        static const QRegularExpression valid(QStringLiteral("^\\.?[A-Za-z0-9]+$"));
        if (!valid.match(association).hasMatch()) {
            TabProp->setCurrentIndex(4);
            platform::MsgBox(QStringLiteral("Invalid file extension. Use letters and digits only, for example cnc."),
                             platform::vbInformation, Title);
            txtAssociate->setFocus();
            txtAssociate->selectAll();
            return false;
        }
        if (!association.startsWith(u'.'))
            association.prepend(u'.');
    }

    DefaultDir = CncDir->Text().isEmpty() ? platform::ProgramFolder() : CncDir->Text();
    DefaultExt = extTrimmed == QStringLiteral("*.*")
                     ? DefaultFileFilter
                     : DefaultFileFilter + u'|' + extTrimmed + u'|' + extTrimmed;
    DisplayPath = optPath[0]->isChecked() ? 1 : 0;
    bool colorsWritten = true;
    for (int i = 0; i < ColorItemsShown; ++i) {
        const ColorItem& item = Colors[static_cast<size_t>(i)];
        ColorItems[static_cast<size_t>(i)] = item;
        const auto write = [&](const char* suffix, qint32 value) {
            colorsWritten = WriteIniString(ColorsSection, QStringLiteral("clr%1%2").arg(i).arg(QLatin1String(suffix)),
                                           QString::number(value), IniFile)
                            != 0
                            && colorsWritten;
        };
        write("bg", item.BackColor);
        write("fr", item.ForeColor);
        write("fnt", item.FontStyle);
    }
    if (!colorsWritten)
        ShowProgramError(QStringLiteral("The colours could not be written to \"%1\".").arg(IniFile));
    Startnumber = *Number(txtNum1->text());
    Increment = *Number(txtNum2->text());
    RestartNum = *Number(txtNum3->text());
    N = chkN->isChecked() ? 1 : 0;
    Space = chkSpace->isChecked() ? 1 : 0;
    BlankLines = chkBlankLines->isChecked() ? 1 : 0;
    NumPopup = chkNumPopup->isChecked() ? 1 : 0;
    SkipChars.clear();
    for (int k = 0; k < lstChars->count(); ++k)
        SkipChars.append(lstChars->item(k)->text());
    CharNumber = int(SkipChars.size());
    {
        cRegistry registry;
        SaveRegistrySettings(registry, platform::HKEY_CURRENT_USER);
    }
    SaveIniSettings();
    if (chkAssociate->isChecked() && associate)
        Associate();
    chkAssociate->setChecked(false);
    chkAssociate->setEnabled(false);
    ChangeSettings();
    cmdProperties[2]->setEnabled(false);
    cmdProperties[0]->setEnabled(true);
    cmdProperties[0]->setFocus();
    return true;
}

bool frmEditProp::Associate()
{
    QString extension = TrimBlanks(txtAssociate->text());
    if (!extension.startsWith(u'.'))
        extension.prepend(u'.');
    try {
        CAssociate association;
        association.AppTitle(QStringLiteral("Corvane Editor file extentions"));
        association.AppClassName(QStringLiteral("CorvaneEditor.Ext"));
        association.Extension(extension);
        association.AppCommandLine(u'"' + platform::ProgramFile(QStringLiteral("Pelmar")) + QStringLiteral("\" /f \"%1\""));
        association.AppIcon(platform::ProgramFile(QStringLiteral("Pelmar")) + QStringLiteral(",0"));
        association.Associate();
        cRegistry().ForceCacheRefresh();
        return true;
    } catch (const std::exception& failure) {
        ShowProgramError(failure);
        return false;
    }
}

void frmEditProp::ChangeSettings()
{
    if (!AnyDocumentsOpen())
        return;
    try {
        DocumentForm* form = ActiveDocumentForm();
        if (!form || !form->Text1())
            return;
        ApplyColorItems(*form->Text1());
    } catch (...) {
    }
}

void frmEditProp::cmdProperties_Click(int index)
{
    switch (index) {
    case 0:
        if (cmdProperties[2]->isEnabled() && !Apply())
            return;
        ChangeSettings();
        accept();
        break;
    case 1: reject(); break;
    case 2: Apply(); break;
    default: break;
    }
}

void ShowEditProp()
{
    frmEditProp dialog(MDIMain::Instance());
    if (MDIMain::Instance())
        CenterForm(*MDIMain::Instance(), dialog);
    platform::ShowModal(dialog);
}
