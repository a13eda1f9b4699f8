#include "zuhost/ZuHostWindow.h"

#include "platform/com/CallByName.h"
#include "platform/forms/Error.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ShowModal.h"
#include "zuhost/ZuHostEventLog.h"
#include "zuhost/ZuHostScript.h"

#include <QDockWidget>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

ZuHostWindow::ZuHostWindow(ZuHostScript& script, QWidget* parent)
    : QMainWindow(parent), script_(script), log_(new QPlainTextEdit), command_(new QLineEdit)
{
    setWindowTitle(QStringLiteral("ZUEDIT32 Container"));
    ShowControl();
    log_->setReadOnly(true);
    command_->setPlaceholderText(QStringLiteral("set WrapX 200, get Count, call AboutBox ..."));
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(log_);
    layout->addWidget(command_);
    auto* dock = new QDockWidget(QStringLiteral("Events"), this);
    dock->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    script_.Events().onEvent = [this](const QString& line) { Log(QStringLiteral("event ") + line); };
    connect(command_, &QLineEdit::returnPressed, this, &ZuHostWindow::RunCommand);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Save Form..."), this, &ZuHostWindow::SaveBag);
    file->addAction(QStringLiteral("&Load Form..."), this, &ZuHostWindow::LoadBag);
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    QMenu* control = menuBar()->addMenu(QStringLiteral("&Control"));
    control->addAction(QStringLiteral("&Properties..."), this, [this] {
        platform::CallByName(script_.Control(), QStringLiteral("ShowPropertyPages"), platform::VbMethod);
    });
    control->addAction(QStringLiteral("&About..."), this, [this] {
        platform::CallByName(script_.Control(), QStringLiteral("AboutBox"), platform::VbMethod);
    });
    resize(720, 560);
}

ZuHostWindow::~ZuHostWindow()
{
    if (QWidget* control = takeCentralWidget())
        control->setParent(nullptr);
    script_.Events().onEvent = nullptr;
}

void ZuHostWindow::ShowControl()
{
    QWidget* control = script_.ControlWidget();
    if (control && centralWidget() != control) {
        if (QWidget* old = takeCentralWidget())
            old->setParent(nullptr);
        setCentralWidget(control);
    }
}

void ZuHostWindow::Log(const QString& line)
{
    log_->appendPlainText(line);
    // The newest line stays in sight, whatever the layout did to the log's height.
    log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

void ZuHostWindow::RunCommand()
{
    QString output;
    QString message;
    const QString line = command_->text();
    Log(QStringLiteral("> ") + line);
    if (!script_.RunLine(line, output, message))
        Log(QStringLiteral("failed: ") + message);
    else if (!output.isEmpty())
        Log(output);
    // "create" makes a new control: show it in place of the old one.
    ShowControl();
    command_->clear();
}

void ZuHostWindow::SaveBag()
{
    QFileDialog dialog(this, QStringLiteral("Save Form"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("Forms (*.zuf)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("zuf"));
    if (platform::ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    if (!ZuHostSaveBag(script_.Control(), dialog.selectedFiles().first(), error))
        platform::MsgBox(error, platform::vbExclamation);
}

void ZuHostWindow::LoadBag()
{
    QFileDialog dialog(this, QStringLiteral("Load Form"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Forms (*.zuf)"), QStringLiteral("All Files (*)")});
    if (platform::ShowModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    if (!ZuHostLoadBag(script_.Control(), dialog.selectedFiles().first(), error))
        platform::MsgBox(error, platform::vbExclamation);
}
