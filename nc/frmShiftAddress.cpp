#include "nc/frmShiftAddress.h"

#include "nc/ShiftAddresses.h"
#include "platform/forms/MsgBox.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

frmShiftAddress::frmShiftAddress(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmShiftAddress"));
    setWindowTitle(QStringLiteral("Shift Address"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    lblAddress = new QLabel(QStringLiteral("Address:"), this);
    lblValue = new QLabel(QStringLiteral("Value:"), this);
    const QFont arial(QStringLiteral("Arial"));
    const auto box = [this, &arial](const char* name, const QString& text, bool readOnly) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QLatin1String(name));
        edit->setFont(arial);
        edit->setReadOnly(readOnly);
        if (readOnly) {
            edit->setFocusPolicy(Qt::NoFocus);
            edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("XXXX")));
        }
        return edit;
    };
    txtAX = box("txtAX", QStringLiteral("X"), true);
    txtVX = box("txtVX", QString(), false);
    txtAY = box("txtAY", QStringLiteral("Y"), true);
    txtVY = box("txtVY", QString(), false);
    txtAZ = box("txtAZ", QStringLiteral("Z"), true);
    txtVZ = box("txtVZ", QString(), false);
    cmdBut[0] = new QPushButton(QStringLiteral("&OK"), this);
    cmdBut[1] = new QPushButton(QStringLiteral("Cancel"), this);
    for (int i = 0; i < 2; ++i) {
        cmdBut[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("cmdBut%1").arg(i));
        connect(cmdBut[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdBut_Click(i); });
    }
    cmdBut[0]->setDefault(true);

    auto* grid = new QGridLayout;
    grid->addWidget(lblAddress, 0, 0);
    grid->addWidget(lblValue, 0, 1);
    grid->addWidget(txtAX, 1, 0);
    grid->addWidget(txtVX, 1, 1);
    grid->addWidget(txtAY, 2, 0);
    grid->addWidget(txtVY, 2, 1);
    grid->addWidget(txtAZ, 3, 0);
    grid->addWidget(txtVZ, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdBut[0]);
    buttons->addWidget(cmdBut[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setTabOrder(txtVX, txtVY);
    setTabOrder(txtVY, txtVZ);
    setTabOrder(txtVZ, cmdBut[0]);
    setTabOrder(cmdBut[0], cmdBut[1]);
    Form_Load();
}

void frmShiftAddress::Form_Load()
{
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}

void frmShiftAddress::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txtVX->setFocus();
}

void frmShiftAddress::cmdBut_Click(int index)
{
    if (index == 1) {
        reject();
        return;
    }
    if (index != 0)
        return;
    const auto read = [](const QLineEdit* box) { return ReadShiftValue(box->text().toStdString()); };
    const std::optional<double> x = read(txtVX);
    const std::optional<double> y = read(txtVY);
    const std::optional<double> z = read(txtVZ);
    if (!x || !y || !z) {
        platform::MsgBox(QStringLiteral("An error as occured"), platform::vbCritical, QStringLiteral("Talvex Editor"));
        reject();
        return;
    }
    XShiftValue = *x;
    YShiftValue = *y;
    ZShiftValue = *z;
    accept();
}
