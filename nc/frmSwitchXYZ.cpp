#include "nc/frmSwitchXYZ.h"

#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const Letters[] = {"X", "Y", "Z"};

}  // namespace

frmSwitchXYZ::frmSwitchXYZ(SwitchValues values, QWidget* parent) : QDialog(parent), values_(values)
{
    setObjectName(QStringLiteral("frmSwitchXYZ"));
    setWindowTitle(QStringLiteral("Switch"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* frames = new QHBoxLayout;
    std::array<std::array<QRadioButton*, 3>*, 3> options{&optX, &optY, &optZ};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        auto* frame = new QGroupBox(QString::fromLatin1(Letters[axis]) + QStringLiteral("="), this);
        frame->setObjectName(QStringLiteral("fra%1").arg(QLatin1String(Letters[axis])));
        fraAxis[axis] = frame;
        auto* column = new QVBoxLayout(frame);
        auto* group = new QButtonGroup(frame);  // one choice per frame
        for (int index = 0; index < 3; ++index) {
            auto* option = new QRadioButton(QString::fromLatin1(Letters[index]), frame);
            option->setObjectName(QStringLiteral("opt%1%2").arg(QLatin1String(Letters[axis])).arg(index));
            group->addButton(option, index);
            column->addWidget(option);
            (*options[axis])[static_cast<std::size_t>(index)] = option;
            connect(option, &QRadioButton::clicked, this, [this, axis, index] {
                if (axis == 0)
                    optX_Click(index);
                else if (axis == 1)
                    optY_Click(index);
                else
                    optZ_Click(index);
            });
        }
        frames->addWidget(frame);
    }

    cmdSwitch[0] = new QPushButton(QStringLiteral("OK"), this);
    cmdSwitch[1] = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (int i = 0; i < 2; ++i) {
        cmdSwitch[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("cmdSwitch%1").arg(i));
        connect(cmdSwitch[static_cast<std::size_t>(i)], &QPushButton::clicked, this, [this, i] { cmdSwitch_Click(i); });
        buttons->addWidget(cmdSwitch[static_cast<std::size_t>(i)]);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addLayout(buttons);
    Form_Load();
}

void frmSwitchXYZ::Form_Load()
{
    optX[0]->setChecked(true);
    optY[1]->setChecked(true);
    optZ[2]->setChecked(true);
    cmdSwitch[0]->setEnabled(false);
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}

void frmSwitchXYZ::optX_Click(int index)
{
    *values_.X = static_cast<qint16>(index);
    cmdSwitch[0]->setEnabled(true);
}

void frmSwitchXYZ::optY_Click(int index)
{
    *values_.Y = static_cast<qint16>(index);
    cmdSwitch[0]->setEnabled(true);
}

void frmSwitchXYZ::optZ_Click(int index)
{
    *values_.Z = static_cast<qint16>(index);
    cmdSwitch[0]->setEnabled(true);
}

void frmSwitchXYZ::SetSwitches()
{
    const auto write = [](const std::array<QRadioButton*, 3>& options, qint16* value) {
        for (int index = 0; index < 3; ++index) {
            if (options[static_cast<std::size_t>(index)]->isChecked()) {
                *value = static_cast<qint16>(index);
                return;
            }
        }
    };
    write(optX, values_.X);
    write(optY, values_.Y);
    write(optZ, values_.Z);
}

void frmSwitchXYZ::cmdSwitch_Click(int index)
{
    if (index == 0) {
        SetSwitches();
        DialogCancelled = false;
        accept();
    } else if (index == 1) {
        reject();
    }
}

void frmSwitchXYZ::reject()
{
    DialogCancelled = true;
    QDialog::reject();
}
