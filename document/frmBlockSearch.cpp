#include "document/frmBlockSearch.h"

#include "document/frmNotePad.h"
#include "platform/forms/MsgBox.h"
#include "shell/MDIMain.h"
#include "shell/MEditor.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

frmBlockSearch::frmBlockSearch(int lineCount, QWidget* parent) : QDialog(parent), lineCount_(lineCount)
{
    setObjectName(QStringLiteral("frmBlockSearch"));
    setWindowTitle(QStringLiteral("Block Search"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    txtLine1 = new QLineEdit(this);
    txtLine1->setObjectName(QStringLiteral("txtLine1"));
    txtLine2 = new QLineEdit(this);
    txtLine2->setObjectName(QStringLiteral("txtLine2"));
    auto* fields = new QFormLayout;
    fields->addRow(new QLabel(QStringLiteral("From number:"), this), txtLine1);
    fields->addRow(new QLabel(QStringLiteral("To number:"), this), txtLine2);
    connect(txtLine2, &QLineEdit::textEdited, this, [this] { txtLine2_Change(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const QString captions[] = {QStringLiteral("OK"), QStringLiteral("Cancel")};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("cmdBlock%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdBlock_Click(i); });
        buttons->addWidget(button);
        cmdBlock[static_cast<size_t>(i)] = button;
    }
    cmdBlock[0]->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    Form_Load();
}

void frmBlockSearch::Form_Load()
{
    cmdBlock[0]->setEnabled(false);
    adjustSize();
    if (const MDIMain* main = MDIMain::Instance())
        CenterForm(*main, *this);
}

void frmBlockSearch::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    txtLine1->setFocus(Qt::OtherFocusReason);
}

void frmBlockSearch::txtLine2_Change()
{
    cmdBlock[0]->setEnabled(true);
}

std::optional<qint32> frmBlockSearch::LineNumber(const QString& text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // The default rounding mode takes halves to the even neighbour.
    const double whole = std::nearbyint(value);
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(whole);
}

void frmBlockSearch::cmdBlock_Click(int index)
{
    if (index != 0) {
        reject();
        return;
    }
    const std::optional<qint32> from = LineNumber(txtLine1->text());
    const std::optional<qint32> to = LineNumber(txtLine2->text());
    if (!from || !to)
        return;
    // A range the control would refuse is caught here, where it can be put right.
    if (*from < 1 || *from > *to || *from > lineCount_) {
        platform::MsgBox(
            QStringLiteral("Line numbers must be between 1 and the number of lines, From not above To."),
            platform::vbExclamation, QStringLiteral("Talvex Editor"));
        return;
    }
    if (auto* window = qobject_cast<frmNotePad*>(ActiveDocumentForm())) {
        window->BlockLine1 = *from;
        window->BlockLine2 = *to;
    }
    DialogCancelled = false;
    accept();
}

void frmBlockSearch::reject()
{
    DialogCancelled = true;
    QDialog::reject();
}
