#include "shell/frmMsg.h"

#include "shell/MDIMain.h"
#include "shell/MEditor.h"

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
        window->focusReturn_ = std::make_unique<platform::FocusReturn>();
    }
    window->show();
}

void frmMsg::Unload()
{
    QPointer<frmMsg>& window = LoadedWindow();
    if (window.isNull())
        return;
    // A window system that activated it anyway, or left no window active
    // once it went, gets the keyboard handed back.
    const std::unique_ptr<platform::FocusReturn> back = std::move(window->focusReturn_);
    delete window.data();
}

frmMsg* frmMsg::Loaded()
{
    return LoadedWindow().data();
}
