#include "shell/frmTip.h"

#include "platform/forms/ProgramFolder.h"
#include "shell/basFileDialogs.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

frmTip::frmTip(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Picture1->setAlignment(Qt::AlignTop);
    Label1 = new QLabel(QStringLiteral("Did you know..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);
    lblTipText = new QLabel(this);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText->setMinimumSize(320, 100);
    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* text = new QVBoxLayout;
    text->addWidget(Label1);
    text->addWidget(lblTipText, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(Picture1);
    body->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkLoadTipsAtStartup);
    buttons->addStretch(1);
    buttons->addWidget(cmdNextTip);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(cmdNextTip, &QPushButton::clicked, this, [this] { cmdNextTip_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, [this] { chkLoadTipsAtStartup_Click(); });

    // Form load.
    chkLoadTipsAtStartup->setChecked(ShowTipsAtStartup);
    random_.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    if (!LoadTips(platform::ProgramFile(QStringLiteral("\\TIPOFDAY.TXT"))))
        lblTipText->setText(TipsFileMissingText());
}

QString frmTip::TipsFileMissingText()
{
    return QStringLiteral("That the Tip of Day file was not found? ") + QStringLiteral("\r\n\r\n")
           + QStringLiteral("Create a text file named ") + QStringLiteral("TIPOFDAY.TXT")
           + QStringLiteral(" using NotePad with 1 tip per line. ")
           + QStringLiteral("Then place it in the same directory as the application. ");
}

bool frmTip::LoadTips(const QString& fileName)
{
    if (fileName.isEmpty() || !FileExists(fileName))
        return false;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Lines end in CR LF or LF; a last line without an end counts too.
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        tips_.append(QString::fromLatin1(line));
        start = end + 1;
    }
    ShowNextTip();
    return true;
}

void frmTip::DisplayCurrentTip()
{
    if (!tips_.isEmpty() && CurrentTip >= 1 && CurrentTip <= tips_.size())
        lblTipText->setText(tips_[CurrentTip - 1]);
}

void frmTip::ShowNextTip()
{
    const int count = static_cast<int>(tips_.size());
    CurrentTip = count > 0 ? static_cast<int>(random_.bounded(count)) + 1 : 1;
    DisplayCurrentTip();
}

void frmTip::cmdNextTip_Click()
{
    ShowNextTip();
}

void frmTip::cmdOK_Click()
{
    accept();
}

void frmTip::chkLoadTipsAtStartup_Click()
{
    ShowTipsAtStartup = chkLoadTipsAtStartup->isChecked();
}
