#include "companions/olvent/frmAbout.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "platform/shell/Shell.h"
#include "shell/GShell.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString SysInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

}  // namespace

frmAbout::frmAbout(bool withLinks, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Talvex Editor"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture(platform::ProgramFile(QStringLiteral("Images/Pelmar.png")));
    if (!picture.isNull())
        Image1->setPixmap(picture.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Label1 = new QLabel(QStringLiteral("Talvex Editor V5.1"), this);
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Label1->setFont(big);
    Label2 = new QLabel(this);
    Label5 = new QLabel(this);
    Label3 = new QLabel(QStringLiteral("Web:"), this);
    Label9 = new QLabel(this);
    Label4 = new QLabel(QStringLiteral("Email:"), this);
    Label10 = new QLabel(this);
    lblWarning = new QLabel(this);
    lblWarning->setWordWrap(true);
    Line1 = new QFrame(this);
    Line1->setFrameShape(QFrame::HLine);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    for (QLabel* label : {Image1, Label1, Label2, Label5, Label3, Label9, Label4, Label10, lblWarning})
        if (label->objectName().isEmpty())
            label->setObjectName(label == Label1     ? "Label1"
                                 : label == Label2   ? "Label2"
                                 : label == Label5   ? "Label5"
                                 : label == Label3   ? "Label3"
                                 : label == Label9   ? "Label9"
                                 : label == Label4   ? "Label4"
                                 : label == Label10  ? "Label10"
                                                     : "lblWarning");
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* head = new QHBoxLayout;
    head->addWidget(Image1, 0, Qt::AlignTop);
    auto* names = new QVBoxLayout;
    names->addWidget(Label1);
    names->addWidget(Label2);
    names->addWidget(Label5);
    auto* links = new QGridLayout;
    links->addWidget(Label3, 0, 0);
    links->addWidget(Label9, 0, 1);
    links->addWidget(Label4, 1, 0);
    links->addWidget(Label10, 1, 1);
    names->addLayout(links);
    head->addLayout(names, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(Line1);
    layout->addWidget(lblWarning);
    layout->addLayout(buttons);

    Label3->setVisible(withLinks);
    Label9->setVisible(withLinks);
    Label4->setVisible(withLinks);
    Label10->setVisible(withLinks);
    if (withLinks) {
        for (QLabel* link : {Label9, Label10}) {
            link->setCursor(Qt::PointingHandCursor);
            link->installEventFilter(this);
            QFont underlined = link->font();
            underlined.setUnderline(true);
            link->setFont(underlined);
        }
    }
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });
    Form_Load();
}

void frmAbout::Form_Load()
{
    Label2->setText(QStringLiteral("Copyright (C) 1998-2026 The Talvex developers"));
    Label5->setText(QStringLiteral("Talvex Software"));
    Label9->setText(WebAddress);
    Label10->setText(EmailAddress);
    lblWarning->setText(QStringList{
        QStringLiteral("Warning: this program is protected by copyright law."),
        QStringLiteral("It is provided as it is, without warranty of any kind."),
        QStringLiteral("Check every NC program on the machine before you run it:"),
        QStringLiteral("a program edited, converted or compared here can still be wrong"),
        QStringLiteral("for the machine, the tool or the part in front of you."),
        QStringLiteral("Run new programs first with the feed and rapid overrides turned down.")}
                            .join(QStringLiteral("\r\n")));
}

bool frmAbout::GetKeyValue(platform::HKEY keyRoot, const QString& keyName, const QString& subKeyRef,
                           QString& keyVal)
{
    keyVal.clear();
    // Read access is enough: asking for more fails for users who may not change the key.
    platform::HKEY key = 0;
    if (platform::RegOpenKeyEx(keyRoot, keyName, &key) != platform::ERROR_SUCCESS)
        return false;
    quint32 type = platform::REG_NONE;
    QByteArray data;
    const platform::LSTATUS status = platform::RegQueryValueEx(key, subKeyRef, &type, &data);
    platform::RegCloseKey(key);
    if (status != platform::ERROR_SUCCESS)
        return false;
    if (type == platform::REG_SZ || type == platform::REG_EXPAND_SZ)
        keyVal = platform::RegStringFromData(data);
    else if (type == platform::REG_DWORD)
        keyVal = QString::number(platform::RegDwordFromData(data));
    return true;
}

void frmAbout::StartSysInfo()
{
    const platform::HKEY machine = platform::HKEY_LOCAL_MACHINE;
    QString program;
    if (!GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"),
                     program)
        || program.isEmpty()) {
        QString folder;
        if (GetKeyValue(machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), folder)
            && !folder.isEmpty()) {
            const QString candidate = QDir(QDir::fromNativeSeparators(QString(folder).replace(u'\\', u'/')))
                                          .filePath(QStringLiteral("MSINFO32.EXE"));
            if (QFileInfo(candidate).isFile())
                program = candidate;
        }
    }
    if (program.isEmpty() || !platform::StartProgram(program, {}))
        platform::MsgBox(SysInfoUnavailable, platform::vbOKOnly);
}

void frmAbout::OpenLink(const QString& address)
{
    if (!ShellExecuteFile(address, platform::SW_SHOWNORMAL, {}, QString(), QStringLiteral("open"), nullptr))
        platform::MsgBox(ShellError.Description, platform::vbCritical);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == Label9) {
            OpenLink(WebAddress);
            return true;
        }
        if (watched == Label10) {
            OpenLink(QStringLiteral("MAILTO:") + EmailAddress);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::showEvent(QShowEvent* event)
{
    if (!returnFocusTo_) {
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus->window() != this)
            returnFocusTo_ = focus;
    }
    QDialog::showEvent(event);
}

void frmAbout::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (QWidget* back = returnFocusTo_.data(); back != nullptr && back->isVisible()) {
        back->activateWindow();
        back->setFocus(Qt::OtherFocusReason);
    }
    returnFocusTo_.clear();
}

void frmAbout::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}
