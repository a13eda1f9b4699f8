#include "platform/codemax/CodeMaxFindDialog.h"

#include "platform/codemax/CodeMax.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

CodeMaxFindDialog::CodeMaxFindDialog(CodeMax& control, bool replace, QWidget* parent)
    : QDialog(parent ? parent : control.window()), control_(control)
{
    setObjectName(replace ? QStringLiteral("CodeMaxReplaceDialog") : QStringLiteral("CodeMaxFindDialog"));
    setWindowTitle(replace ? tr("Find and Replace") : tr("Find"));

    auto* fields = new QFormLayout;
    txtFind = new QLineEdit(control.FindText(), this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    fields->addRow(tr("Fi&nd what:"), txtFind);
    if (replace) {
        txtReplace = new QLineEdit(control.ReplText(), this);
        txtReplace->setObjectName(QStringLiteral("txtReplace"));
        fields->addRow(tr("Re&place with:"), txtReplace);
    }
    chkMatchCase = new QCheckBox(tr("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkMatchCase->setChecked(control.FindMatchCase());
    chkWholeWord = new QCheckBox(tr("Match &whole word only"), this);
    chkWholeWord->setObjectName(QStringLiteral("chkWholeWord"));
    chkWholeWord->setChecked(control.FindWholeWord());
    chkRegExp = new QCheckBox(tr("Regular &expression"), this);
    chkRegExp->setObjectName(QStringLiteral("chkRegExp"));
    chkRegExp->setChecked(control.FindRegExp());

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(chkMatchCase);
    left->addWidget(chkWholeWord);
    left->addWidget(chkRegExp);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    const auto button = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    cmdFindNext = button(tr("Find &Next"), "cmdFindNext");
    cmdFindNext->setDefault(true);
    cmdFindPrev = button(tr("Find Pre&vious"), "cmdFindPrev");
    cmdMarkAll = button(tr("&Mark All"), "cmdMarkAll");
    if (replace) {
        cmdReplace = button(tr("&Replace"), "cmdReplace");
        cmdReplaceAll = button(tr("Replace &All"), "cmdReplaceAll");
    }
    cmdClose = button(tr("Close"), "cmdClose");
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(txtFind, &QLineEdit::textChanged, this, &CodeMaxFindDialog::updateButtons);
    connect(cmdFindNext, &QPushButton::clicked, this, [this] { run(CodeMaxCmd::FindNext); });
    connect(cmdFindPrev, &QPushButton::clicked, this, [this] { run(CodeMaxCmd::FindPrev); });
    connect(cmdMarkAll, &QPushButton::clicked, this, [this] { run(CodeMaxCmd::FindMarkAll); });
    if (replace) {
        connect(cmdReplace, &QPushButton::clicked, this, [this] {
            store();
            control_.replaceSelection();
            control_.flushEvents();
        });
        connect(cmdReplaceAll, &QPushButton::clicked, this, [this] { run(CodeMaxCmd::ReplaceAll); });
    }
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });
    updateButtons();
}

void CodeMaxFindDialog::store()
{
    control_.SetFindText(txtFind->text());
    if (txtReplace)
        control_.SetReplText(txtReplace->text());
    control_.SetFindMatchCase(chkMatchCase->isChecked());
    control_.SetFindWholeWord(chkWholeWord->isChecked());
    control_.SetFindRegExp(chkRegExp->isChecked());
}

void CodeMaxFindDialog::run(int command)
{
    store();
    control_.runCommand(command, std::nullopt);
    control_.flushEvents();
}

void CodeMaxFindDialog::updateButtons()
{
    const bool any = !txtFind->text().isEmpty();
    for (QPushButton* b : {cmdFindNext, cmdFindPrev, cmdMarkAll, cmdReplace, cmdReplaceAll})
        if (b)
            b->setEnabled(any);
}

}  // namespace platform
