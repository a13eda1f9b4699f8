#include "platform/desktop/HelpWindow.h"

#include "platform/forms/MsgBox.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace platform {

namespace {

QPointer<HelpWindow> OpenHelp;

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
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

HelpWindow* HelpWindow::Instance()
{
    return OpenHelp;
}

bool ShowHelpFile(const QString& path, const QString& caption, const QString& messageTitle, QWidget* owner,
                  const QString& anchor)
{
    if (!QFileInfo(path).isFile()) {
        MsgBox(QStringLiteral("Help file not found."), vbInformation, messageTitle);
        return false;
    }
    // A dialog places itself over its owner when first shown.
    if (OpenHelp == nullptr)
        OpenHelp = new HelpWindow(owner);
    OpenHelp->setWindowTitle(caption);
    QUrl source = QUrl::fromLocalFile(path);
    if (!anchor.isEmpty())
        source.setFragment(anchor);
    OpenHelp->txtHelp->setSource(source);
    OpenHelp->show();
    OpenHelp->raise();
    OpenHelp->activateWindow();
    return true;
}

}  // namespace platform
