#include "nc/frmBolt.h"

#include "nc/BoltAngleDiagram.h"
#include "nc/BoltPicture.h"
#include "platform/codemax/CodeMax.h"
#include "platform/files/AtomicWrite.h"
#include "platform/forms/EnterOnButton.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/forms/ShowModal.h"
#include "shell/DocumentForm.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Talvex Editor");

std::string BoxText(const QLineEdit& box)
{
    return box.text().toStdString();
}

}  // namespace

frmBolt::frmBolt(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBolt"));
    setWindowTitle(QStringLiteral("Bolt Circle"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    BuildControls();
    BuildMenus();
    Form_Load();
}

frmBolt::~frmBolt() = default;

void frmBolt::BuildControls()
{
    const auto box = [this](QLabel*& label, QLineEdit*& text, const char* name, const QString& caption) {
        label = new QLabel(caption, this);
        text = new QLineEdit(this);
        text->setObjectName(QLatin1String(name));
        label->setBuddy(text);
        text->installEventFilter(this);
    };
    box(Label1, Text1, "Text1", QStringLiteral("Bolt Circle Diameter "));
    box(Label2, Text2, "Text2", QStringLiteral("Number of Holes "));
    box(Label3, Text3, "Text3", QStringLiteral("Angle of First Hole "));
    box(Label4, Text4, "Text4", QStringLiteral("Hole Diameter "));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4->setObjectName(QStringLiteral("Label4"));
    chkDelimit = new QCheckBox(QStringLiteral("Comma Separator"), this);
    chkDelimit->setObjectName(QStringLiteral("chkDelimit"));
    cmdCalc = new QPushButton(QStringLiteral("&Calculate"), this);
    cmdCalc->setObjectName(QStringLiteral("cmdCalc"));
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    // No button is the window's default: Enter in a box moves on to the next one, and Enter on a
    // button presses that button, as Space does.
    cmdCalc->setAutoDefault(false);
    cmdExit->setAutoDefault(false);
    EnterPressesFocusedButton(*this);
    // Calculate waits for the last box to be filled.
    cmdCalc->setEnabled(false);
    connect(cmdCalc, &QPushButton::clicked, this, [this] { cmdCalc_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(Text4, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            cmdCalc->setEnabled(true);
    });

    PicBolt = new BoltPicture(this);
    PicBolt->setMinimumSize(360, 360);
    Frame1 = new BoltAngleDiagram(this);
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txtHole = new QPlainTextEdit(Frame2);
    txtHole->setObjectName(QStringLiteral("txtHole"));
    txtHole->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* textLayout = new QVBoxLayout(Frame2);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->addWidget(txtHole);
    Frame2->hide();

    auto* boxes = new QGridLayout;
    boxes->addWidget(Label1, 0, 0);
    boxes->addWidget(Text1, 0, 1);
    boxes->addWidget(Label2, 1, 0);
    boxes->addWidget(Text2, 1, 1);
    boxes->addWidget(Label3, 2, 0);
    boxes->addWidget(Text3, 2, 1);
    boxes->addWidget(Label4, 3, 0);
    boxes->addWidget(Text4, 3, 1);
    boxes->addWidget(chkDelimit, 4, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdCalc);
    buttons->addWidget(cmdExit);
    auto* left = new QVBoxLayout;
    left->addLayout(boxes);
    left->addLayout(buttons);
    left->addStretch(1);

    // The diagram and the text view lie over the drawing, the text view on top.
    auto* area = new QGridLayout;
    area->addWidget(PicBolt, 0, 0);
    area->addWidget(Frame1, 0, 0);
    area->addWidget(Frame2, 0, 0);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(area, 1);
}

void frmBolt::BuildMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    layout()->setMenuBar(menuBar);
    const auto item = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    mnuFile = menuBar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = item(mnuFile, "mnuNew", QStringLiteral("&New"));
    mnuOpen = item(mnuFile, "mnuOpen", QStringLiteral("&Open"));
    mnuSave = item(mnuFile, "mnuSave", QStringLiteral("Save &As"));
    mnuPrint = item(mnuFile, "mnuPrint", QStringLiteral("&Print"));  // prints nothing
    mnuExit = item(mnuFile, "mnuExit", QStringLiteral("E&xit"));
    mnuEdit = menuBar->addMenu(QStringLiteral("&Edit"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    mnuCopy = item(mnuEdit, "mnuCopy", QStringLiteral("&Copy"));
    mnuView = menuBar->addMenu(QStringLiteral("&View"));
    mnuView->setObjectName(QStringLiteral("mnuView"));
    mnuGraphic = item(mnuView, "mnuGraphic", QStringLiteral("&Graphic"));
    mnuText = item(mnuView, "mnuText", QStringLiteral("&Text"));
    mnuGraphic->setCheckable(true);
    mnuText->setCheckable(true);
    // Nothing to save before a calculation.
    mnuSave->setEnabled(false);

    connect(mnuNew, &QAction::triggered, this, [this] { mnuNew_Click(); });
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    connect(mnuSave, &QAction::triggered, this, [this] { mnuSave_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    connect(mnuCopy, &QAction::triggered, this, [this] { mnuCopy_Click(); });
    // The handlers set the check marks themselves, also when the program runs them.
    connect(mnuGraphic, &QAction::triggered, this, [this](bool checked) {
        mnuGraphic->setChecked(!checked);
        mnuGraphic_Click();
    });
    connect(mnuText, &QAction::triggered, this, [this](bool checked) {
        mnuText->setChecked(!checked);
        mnuText_Click();
    });
}

void frmBolt::Form_Load()
{
    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text4->clear();
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}

void frmBolt::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmBolt::Form_Activate()
{
    Text1->setFocus();
}

bool frmBolt::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Text1) {
                Text2->setFocus();
                return true;
            }
            if (watched == Text2) {
                Text3->setFocus();
                return true;
            }
            if (watched == Text3) {
                Text4->setFocus();
                return true;
            }
            if (watched == Text4) {
                cmdCalc->setEnabled(true);
                cmdCalc->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString frmBolt::HoleListFile()
{
    return platform::PathJoin(platform::UserDataFolder(), QStringLiteral("Bholes.txt"));
}

std::optional<BoltInput> frmBolt::ReadInput()
{
    const auto refuse = [](QLineEdit* box, const QString& message) {
        platform::MsgBox(message, platform::vbExclamation, Title);
        box->setFocus();
        box->selectAll();
        return std::optional<BoltInput>();
    };
    const auto tooLarge = [](const QLabel* label) {
        return label->text().trimmed() + QStringLiteral(" is too large.");
    };
    BoltInput input;
    const std::optional<float> diameter = ReadBoltValue(BoxText(*Text1));
    if (!diameter)
        return refuse(Text1, tooLarge(Label1));
    const std::optional<int> holes = ReadHoleCount(BoxText(*Text2));
    if (!holes)
        return refuse(Text2, QStringLiteral("Number of Holes must be a whole number from 1 to 32767."));
    const std::optional<float> firstAngle = ReadBoltValue(BoxText(*Text3));
    if (!firstAngle)
        return refuse(Text3, tooLarge(Label3));
    const std::optional<float> holeDiameter = ReadBoltValue(BoxText(*Text4));
    if (!holeDiameter)
        return refuse(Text4, tooLarge(Label4));
    return BoltInput{*diameter, *holes, *firstAngle, *holeDiameter};
}

void frmBolt::cmdCalc_Click()
{
    PicBolt->Cls();
    Frame1->hide();
    if (Text1->text().isEmpty() || Text2->text().isEmpty() || Text3->text().isEmpty() || Text4->text().isEmpty())
        return;
    const std::optional<BoltInput> input = ReadInput();
    if (!input)
        return;
    if (!mnuGraphic->isChecked())
        mnuGraphic_Click();
    PicBolt->DrawBoltCircle(*input);
    calculation_ = CalculateBoltCircle(*input);
    mnuSave->setEnabled(true);
    if (WriteHoleList())
        mnuText_Click();
}

bool frmBolt::WriteHoleList()
{
    const QString path = HoleListFile();
    const std::string text = HoleListText(*calculation_, chkDelimit->isChecked());
    QDir().mkpath(platform::UserDataFolder());
    const platform::WriteOutcome written = platform::WriteFileAtomically(path, QByteArrayView(text.data(), qsizetype(text.size())));
    if (!written) {
        platform::MsgBox(QStringLiteral("Error writing file %1: %2").arg(QDir::toNativeSeparators(path), written.error),
                         platform::vbCritical, Title);
        return false;
    }
    return true;
}

void frmBolt::cmdExit_Click()
{
    close();
}

void ShowBoltCircle()
{
    MDIMain* main = MDIMain::Instance();
    {
        frmBolt form(main);
        platform::ShowModal(form);
    }
    if (main != nullptr)
        if (DocumentForm* window = main->ActiveForm())
            if (platform::CodeMax* text = window->Text1())
                text->SetFocus();
}
