#include "document/frmReference.h"

#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmReference::frmReference(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReference"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    txtRef = new QPlainTextEdit(this);
    txtRef->setObjectName(QStringLiteral("txtRef"));
    txtRef->setReadOnly(true);
    txtRef->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtRef->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdOk = new QPushButton(QStringLiteral("&OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtRef);
    layout->addLayout(buttons);
    resize(620, 460);
}

void frmReference::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}
