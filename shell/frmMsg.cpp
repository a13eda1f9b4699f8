#include "shell/frmMsg.h"

#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {

QPointer<frmMsg>& LoadedWindow()
{
    static QPointer<frmMsg> window;
    return window;
}

}  // namespace

frmMsg::frmMsg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMsg"));
    setWindowTitle(QStringLiteral("Talvex Editor"));
    setModal(false);
    // The user goes on typing in the document once the command ends: the
    // activation stays with the window they work in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    lblMsg = new QLabel(QStringLiteral("Working..."), this);
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    lblMsg->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(10);
    lblMsg->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(lblMsg);
    adjustSize();
}

void frmMsg::Show()
{
    QPointer<frmMsg>& window = LoadedWindow();
    if (window.isNull()) {
        MDIMain* main = MDIMain::Instance();
        // Owned by the main window, or by itself when there is none.
        window = new frmMsg(main);
        window->setAttribute(Qt::WA_DeleteOnClose);
        if (main != nullptr)
            CenterForm(*main, *window);
        window->returnTo_ = QApplication::activeWindow();
    }
    window->show();
}

void frmMsg::Unload()
{
    QPointer<frmMsg>& window = LoadedWindow();
    if (window.isNull())
        return;
    // A window system that activated it anyway gets the activation handed
    // back to the window the user was working in (its focus widget with it).
    const QPointer<QWidget> returnTo = window->returnTo_;
    const bool tookActivation = QApplication::activeWindow() == window.data();
    delete window.data();
    if (tookActivation && returnTo && returnTo->isVisible())
        returnTo->activateWindow();
}

frmMsg* frmMsg::Loaded()
{
    return LoadedWindow().data();
}
