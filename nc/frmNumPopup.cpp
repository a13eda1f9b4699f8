#include "nc/frmNumPopup.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/WaitCursor.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"
#include "shell/MIni.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace {

std::optional<int> WholeNumber(const QLineEdit& box)
{
    bool ok = false;
    const int value = box.text().trimmed().toInt(&ok);
    // A negative number would be written as "N00-5", which no control reads
    // and which removing the numbers leaves behind.
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

}  // namespace

frmNumPopup::frmNumPopup(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNumPopup"));
    // A small popup without a title.
    setWindowTitle(QString());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblStart = new QLabel(QStringLiteral("Enter Start Number:"), this);
    lblStart->setObjectName(QStringLiteral("lblStart"));
    txtStart = new QLineEdit(this);
    txtStart->setObjectName(QStringLiteral("txtStart"));
    lblIncrement = new QLabel(QStringLiteral("Enter Increment Number:"), this);
    lblIncrement->setObjectName(QStringLiteral("lblIncrement"));
    txtIncrement = new QLineEdit(this);
    txtIncrement->setObjectName(QStringLiteral("txtIncrement"));
    cmdBut[0] = new QPushButton(QStringLiteral("OK"), this);
    cmdBut[1] = new QPushButton(QStringLiteral("Cancel"), this);
    for (int i = 0; i < 2; ++i) {
        cmdBut[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("cmdBut%1").arg(i));
        connect(cmdBut[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdBut_Click(i); });
    }
    cmdBut[0]->setDefault(true);

    auto* boxes = new QGridLayout;
    boxes->addWidget(lblStart, 0, 0);
    boxes->addWidget(txtStart, 0, 1);
    boxes->addWidget(lblIncrement, 1, 0);
    boxes->addWidget(txtIncrement, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBut[0]);
    buttons->addWidget(cmdBut[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(buttons);

    txtStart->installEventFilter(this);
    txtIncrement->installEventFilter(this);
    Form_Load();
}

void frmNumPopup::Form_Load()
{
    // A command may have shown the wait pointer; the user types here.
    platform::SetWaitCursor(false);
    txtStart->setText(QString::number(Startnumber));
    txtIncrement->setText(QString::number(Increment));
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}

bool frmNumPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == txtStart || watched == txtIncrement)) {
        // Selected once the focus change (a mouse press, say) has settled.
        auto* box = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmNumPopup::cmdBut_Click(int index)
{
    if (index == 0)
        accept();
    else
        reject();
}

void frmNumPopup::accept()
{
    const std::optional<int> start = WholeNumber(*txtStart);
    const std::optional<int> step = WholeNumber(*txtIncrement);
    if (!start || !step) {
        platform::MsgBox(QStringLiteral("Please enter a whole number."), platform::vbExclamation,
                         QStringLiteral("Talvex Editor Error"));
        QLineEdit* bad = start ? txtIncrement : txtStart;
        bad->setFocus();
        bad->selectAll();
        return;
    }
    Startnumber = *start;
    Increment = *step;
    DialogCancelled = false;
    QDialog::accept();
}

void frmNumPopup::reject()
{
    DialogCancelled = true;
    QDialog::reject();
}
