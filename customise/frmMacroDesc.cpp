#include "customise/frmMacroDesc.h"

#include "platform/forms/EnterOnButton.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmMacroDesc::frmMacroDesc(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMacroDesc"));
    setWindowTitle(QStringLiteral("Macro Description"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Macro Description"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    txtMacroDesc = new QLineEdit(frame);
    txtMacroDesc->setObjectName(QStringLiteral("txtMacroDesc"));
    frameLayout->addWidget(txtMacroDesc);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const QString captions[] = {QStringLiteral("OK"), QStringLiteral("Cancel")};
    for (int i = 0; i < 2; ++i) {
        cmdMacro[static_cast<size_t>(i)] = new QPushButton(captions[i], this);
        cmdMacro[static_cast<size_t>(i)]->setObjectName(QStringLiteral("cmdMacro%1").arg(i));
        cmdMacro[static_cast<size_t>(i)]->setAutoDefault(false);
        buttons->addWidget(cmdMacro[static_cast<size_t>(i)]);
    }
    layout->addLayout(buttons);
    cmdMacro[0]->setEnabled(false);

    connect(txtMacroDesc, &QLineEdit::textChanged, this, [this] { cmdMacro[0]->setEnabled(true); });
    txtMacroDesc->installEventFilter(this);
    connect(cmdMacro[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdMacro[1], &QPushButton::clicked, this, &QDialog::reject);
    EnterPressesFocusedButton(*this);
}

bool frmMacroDesc::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the box moves on to OK rather than closing the dialog at once;
    // the next Enter presses OK.
    if (watched == txtMacroDesc && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdMacro[0]->setEnabled(true);
            cmdMacro[0]->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString frmMacroDesc::Description() const
{
    // Blanks only: a tab is part of the description.
    QString text = txtMacroDesc->text();
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}
