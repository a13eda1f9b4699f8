#include "nc/frmChangeValue.h"

#include "nc/NcCommandFrame.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmChangeValue::frmChangeValue(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChangeValue"));
    setWindowTitle(QStringLiteral("Change Value"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblFind = new QLabel(QStringLiteral("Value to find:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    lblChange = new QLabel(QStringLiteral("Change to:"), this);
    txtChange = new QLineEdit(this);
    txtChange->setObjectName(QStringLiteral("txtChange"));
    cmdChange[0] = new QPushButton(QStringLiteral("OK"), this);
    cmdChange[1] = new QPushButton(QStringLiteral("Cancel"), this);
    for (int i = 0; i < 2; ++i) {
        QPushButton* button = cmdChange[static_cast<std::size_t>(i)];
        button->setObjectName(QStringLiteral("cmdChange%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdChange_Click(i); });
    }
    connect(txtChange, &QLineEdit::textChanged, this, [this] { cmdChange[0]->setEnabled(true); });

    auto* boxes = new QGridLayout;
    boxes->addWidget(lblFind, 0, 0);
    boxes->addWidget(txtFind, 0, 1);
    boxes->addWidget(lblChange, 1, 0);
    boxes->addWidget(txtChange, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdChange[0]);
    buttons->addWidget(cmdChange[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    setTabOrder(txtFind, txtChange);
    setTabOrder(txtChange, cmdChange[0]);
    setTabOrder(cmdChange[0], cmdChange[1]);

    txtFind->installEventFilter(this);
    txtChange->installEventFilter(this);
    Form_Load();
}

void frmChangeValue::Form_Load()
{
    cmdChange[0]->setEnabled(false);
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}

void frmChangeValue::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txtFind->setFocus();
}

bool frmChangeValue::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Enter moves between the boxes and never presses a button from them.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == txtFind)
                txtChange->setFocus();
            else if (watched == txtChange && !txtChange->text().isEmpty())
                cmdChange[0]->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmChangeValue::cmdChange_Click(int index)
{
    if (index == 0) {
        if (!txtFind->text().isEmpty() && !txtChange->text().isEmpty())
            DoChange();
        accept();
    } else if (index == 1) {
        reject();
    }
}

void frmChangeValue::DoChange()
{
    ChangeValue(txtFind->text(), txtChange->text());
}
