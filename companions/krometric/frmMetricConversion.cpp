#include "companions/krometric/frmMetricConversion.h"

#include "companions/krometric/MetricConversion.h"
#include "platform/forms/MsgBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QShowEvent>
#include <cmath>

namespace {

const QString ErrorTitle = QStringLiteral("Conversion Error");
const QString ErrorAnswer = QStringLiteral("Error");

}  // namespace

frmMetricConversion::frmMetricConversion(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmMetricConversion"));
    setWindowTitle(QStringLiteral("Metric / Imperial Conversion"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    txtInput = new QLineEdit(this);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtAnswer = new QLineEdit(this);
    txtAnswer->setObjectName(QStringLiteral("txtAnswer"));
    txtAnswer->setReadOnly(true);
    btnCalc = new QPushButton(QStringLiteral("&Calculate"), this);
    btnCalc->setObjectName(QStringLiteral("btnCalc"));
    btnCalc->setDefault(true);
    btnCalc->setAutoDefault(true);
    btnCopy = new QPushButton(QStringLiteral("Copy"), this);
    btnCopy->setObjectName(QStringLiteral("btnCopy"));
    btnCopy->setEnabled(false);  // nothing to copy before the first answer
    btnExit = new QPushButton(QStringLiteral("E&xit"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    // Outside a dialog a button takes Enter only when it is auto-default.
    btnCopy->setAutoDefault(true);
    btnExit->setAutoDefault(true);

    auto* formulas = new QLabel(QStringLiteral("&Formulas"), this);
    formulas->setBuddy(List1);
    auto* input = new QLabel(QStringLiteral("&Input"), this);
    input->setBuddy(txtInput);
    auto* answer = new QLabel(QStringLiteral("Answer"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(formulas, 0, 0);
    layout->addWidget(List1, 1, 0, 5, 1);
    layout->addWidget(input, 0, 1);
    layout->addWidget(txtInput, 1, 1);
    layout->addWidget(answer, 2, 1);
    layout->addWidget(txtAnswer, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnCalc);
    buttons->addWidget(btnCopy);
    buttons->addWidget(btnExit);
    layout->addLayout(buttons, 4, 1);
    layout->setRowStretch(5, 1);

    connect(btnCalc, &QPushButton::clicked, this, [this] { btnCalc_Click(); });
    connect(btnCopy, &QPushButton::clicked, this, [this] { btnCopy_Click(); });
    connect(btnExit, &QPushButton::clicked, this, [this] { btnExit_Click(); });
    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    connect(txtInput, &QLineEdit::returnPressed, this, [this] { btnCalc_Click(); });
    FillList();
    // Every formula shows whole, all twelve without scrolling, beside a
    // scroll bar should the user make the window short.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * List1->frameWidth();
    List1->setMinimumWidth(List1->sizeHintForColumn(0) + frame + List1->verticalScrollBar()->sizeHint().width());
    List1->setMinimumHeight(List1->sizeHintForRow(0) * List1->count() + frame);
    resize(sizeHint());
}

QVariant frmMetricConversion::sdMetricConvert(const QString& nVal, int nTypeConvert) const
{
    if (nTypeConvert < 0 || nTypeConvert >= metric::ConversionCount)
        return 0;
    const std::optional<double> value = metric::ParseInput(nVal);
    if (!value)
        return ErrorAnswer;
    const std::optional<double> result = metric::Convert(*value, nTypeConvert);
    if (!result || !std::isfinite(*result))
        return ErrorAnswer;
    return *result;
}

void frmMetricConversion::FillList()
{
    const QSignalBlocker quiet(List1);
    List1->clear();
    List1->addItems(metric::ConversionNames());
    List1->setCurrentRow(-1);
    filled_ = true;
}

void frmMetricConversion::btnCalc_Click()
{
    if (txtInput->text().trimmed().isEmpty()) {
        platform::MsgBox(QStringLiteral("Nothing Entered To Calculate."), platform::vbInformation, ErrorTitle);
        return;
    }
    const int code = List1->currentRow();
    if (code < 0 || List1->currentItem() == nullptr || !List1->currentItem()->isSelected()) {
        platform::MsgBox(QStringLiteral("No Conversion Formula Selected."), platform::vbInformation, ErrorTitle);
        return;
    }
    const QVariant result = sdMetricConvert(txtInput->text(), code);
    const bool numeric = result.typeId() != QMetaType::QString;
    txtAnswer->setText(numeric ? metric::FormatAnswer(result.toDouble()) : result.toString());
    // "Error" is no number to paste into a program.
    btnCopy->setEnabled(numeric);
}

void frmMetricConversion::btnCopy_Click()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(txtAnswer->text());
    btnCopy->setEnabled(false);
}

void frmMetricConversion::btnExit_Click()
{
    close();
}

void frmMetricConversion::List1_Click()
{
    btnCopy->setEnabled(false);
}

bool frmMetricConversion::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate) {
        deactivatedTo_ = QApplication::activeWindow();
    } else if (event->type() == QEvent::WindowActivate) {
        QWidget* other = deactivatedTo_.data();
        // Back from another window of the program: the list starts afresh. Our own message
        // boxes and dialogs do not count, or every message would lose the user's choice.
        if (other != nullptr && other != this && qobject_cast<QDialog*>(other) == nullptr
            && qobject_cast<QMessageBox*>(other) == nullptr)
            FillList();
        deactivatedTo_.clear();
    }
    return QWidget::event(event);
}

void frmMetricConversion::showEvent(QShowEvent* event)
{
    if (!returnFocusTo_) {
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus->window() != this)
            returnFocusTo_ = focus;
    }
    if (!event->spontaneous()) {
        // Centred on the screen, as every calculator window of the suite.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            move(area.center() - rect().center());
        }
    }
    QWidget::showEvent(event);
}

void frmMetricConversion::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (QWidget* back = returnFocusTo_.data(); back != nullptr && back->isVisible()) {
        back->activateWindow();
        back->setFocus(Qt::OtherFocusReason);
    }
    returnFocusTo_.clear();
}
