#include "plugins/stats/frmStats.h"

#include "plugins/stats/MStats.h"
#include "plugins/calc/DecimalText.h"
#include "platform/com/CallByName.h"
#include "platform/forms/Screen.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// "0.000", rounded as the program's digits read.
QString Format3(double value)
{
    return FormatDecimals(value, 3);
}

QLineEdit* ResultBox(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// The program of the active document, read through the host object.
QString ProgramText(QObject* callBack)
{
    QObject* host = platform::CallByName(callBack, QStringLiteral("HostObject"), platform::VbGet).value<QObject*>();
    return platform::CallByName(host, QStringLiteral("TextAll"), platform::VbMethod).toString();
}

}  // namespace

frmStats::frmStats(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("Program Statistics"));

    auto* layout = new QVBoxLayout(this);
    fraResults = new QWidget(this);
    fraResults->setObjectName(QStringLiteral("fraResults"));
    auto* results = new QVBoxLayout(fraResults);
    results->setContentsMargins(0, 0, 0, 0);
    auto* axes = new QHBoxLayout;
    axes->addWidget(AxisFrame(QStringLiteral("X Coordinates"), 0));
    axes->addWidget(AxisFrame(QStringLiteral("Y Coordinates"), 2));
    axes->addWidget(AxisFrame(QStringLiteral("Z Coordinates"), 4));
    results->addLayout(axes);

    auto* dimensions = new QGroupBox(QStringLiteral("Program Dimensions"), fraResults);
    dimensions->setObjectName(QStringLiteral("fraDimensions"));
    auto* dimensionRows = new QFormLayout(dimensions);
    txtLX = ResultBox(dimensions, QStringLiteral("txtLX"));
    txtWY = ResultBox(dimensions, QStringLiteral("txtWY"));
    txtHZ = ResultBox(dimensions, QStringLiteral("txtHZ"));
    dimensionRows->addRow(QStringLiteral("Lenght X:"), txtLX);
    dimensionRows->addRow(QStringLiteral("Width Y:"), txtWY);
    dimensionRows->addRow(QStringLiteral("Height Z:"), txtHZ);
    results->addWidget(dimensions);
    layout->addWidget(fraResults);

    lblCalc = new QLabel(QStringLiteral("Calculating"), this);
    lblCalc->setObjectName(QStringLiteral("lblCalc"));
    layout->addWidget(lblCalc);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmStats::cmdOK_Click);

    Form_Load();
}

QGroupBox* frmStats::AxisFrame(const QString& title, int first)
{
    auto* frame = new QGroupBox(title, fraResults);
    auto* rows = new QFormLayout(frame);
    // The larger value is shown first, as the window always had it.
    for (int i : {first + 1, first}) {
        txt[std::size_t(i)] = ResultBox(frame, QStringLiteral("txt%1").arg(i));
        lbl[std::size_t(i)] = new QLabel(i == first ? QStringLiteral("Minimum") : QStringLiteral("Maximum"), frame);
        lbl[std::size_t(i)]->setObjectName(QStringLiteral("lbl%1").arg(i));
        rows->addRow(lbl[std::size_t(i)], txt[std::size_t(i)]);
    }
    return frame;
}

void frmStats::Form_Load()
{
    // The results keep their room while hidden, so the centred window need not move.
    QSizePolicy policy = fraResults->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    fraResults->setSizePolicy(policy);
    fraResults->hide();
    adjustSize();
    platform::CentreOnScreen(*this);
}

void frmStats::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once, when first shown: later activations (after a message box, or a
    // switch back from another program) must not read the program again.
    if (!m_activated) {
        m_activated = true;
        // Again now that the window has its frame, so that the frame is centred.
        platform::CentreOnScreen(*this);
        QTimer::singleShot(0, this, &frmStats::Form_Activate);
    }
}

void frmStats::Form_Activate()
{
    m_activated = true;
    QApplication::processEvents();   // let "Calculating" show

    // With no host object or no document there is no program to measure:
    // the window then shows empty values, not a bare runtime error.
    std::string program;
    try {
        program = ProgramText(CallBack).toStdString();
    } catch (const std::exception&) {
        program.clear();
    }

    const std::array<AxisRange, 3> ranges{GetXRange(program), GetYRange(program), GetZRange(program)};
    const std::array<QLineEdit*, 3> dimensionBoxes{txtLX, txtWY, txtHZ};
    for (std::size_t axis = 0; axis < ranges.size(); ++axis) {
        const AxisRange& range = ranges[axis];
        txt[2 * axis]->setText(range.found ? Format3(range.minimum) : QString());
        txt[2 * axis + 1]->setText(range.found ? Format3(range.maximum) : QString());
        dimensionBoxes[axis]->setText(range.found ? Format3(range.Dimension()) : QString());
    }

    lblCalc->hide();
    fraResults->show();
}

void frmStats::cmdOK_Click()
{
    accept();
}
