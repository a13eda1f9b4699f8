#include "shell/frmHelp.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/ProgramFolder.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPointer<frmHelp> OpenHelp;

}  // namespace

frmHelp::frmHelp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Talvex Editor Help Topics"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    // Links to other sites go to the desktop's browser; the help's own stay here.
    txtHelp->setOpenExternalLinks(true);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtHelp);
    layout->addLayout(buttons);
    resize(640, 520);
}

frmHelp* frmHelp::Instance()
{
    return OpenHelp;
}

void ShowHelpTopics()
{
    const QString path = platform::ProgramFile(HelpFile);
    if (!QFileInfo(path).isFile()) {
        platform::MsgBox(QStringLiteral("Help file not found."), platform::vbInformation,
                         QStringLiteral("Talvex Editor"));
        return;
    }
    if (OpenHelp == nullptr) {
        OpenHelp = new frmHelp(MDIMain::Instance());
        if (const MDIMain* main = MDIMain::Instance())
            CenterForm(*main, *OpenHelp);
    }
    OpenHelp->txtHelp->setSource(QUrl::fromLocalFile(path));
    OpenHelp->show();
    OpenHelp->raise();
    OpenHelp->activateWindow();
}
