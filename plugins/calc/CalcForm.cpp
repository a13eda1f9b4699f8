#include "plugins/calc/CalcForm.h"

#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLineEdit* Box(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    box->setMinimumWidth(80);
    return box;
}

QLabel* Sign(QWidget* parent, const QString& name, const QString& text)
{
    auto* sign = new QLabel(text, parent);
    sign->setObjectName(name);
    sign->setAlignment(Qt::AlignCenter);
    return sign;
}

bool IsEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CalcForm::CalcForm(const Design& design, QWidget* parent) : QDialog(parent), m_design(design)
{
    setObjectName(design.name);
    setWindowTitle(design.caption);

    auto* layout = new QVBoxLayout(this);
    auto* formula = new QGridLayout;
    int column = 0;
    auto addColumn = [&](const QString& caption, QWidget* widget) {
        if (!caption.isEmpty())
            formula->addWidget(new QLabel(caption, this), 0, column);
        formula->addWidget(widget, 1, column);
        ++column;
    };

    m_first = Box(this, design.first.name);
    m_second = Box(this, design.second.name);
    m_result = Box(this, design.resultName);
    addColumn(design.first.label, m_first);
    addColumn(QString(), Sign(this, QStringLiteral("imgMultiply1"), design.firstOperator));
    addColumn(design.second.label, m_second);
    if (!design.constantName.isEmpty()) {
        m_constant = Box(this, design.constantName);
        m_constant->setReadOnly(true);
        m_constant->setFocusPolicy(Qt::NoFocus);
        addColumn(QString(), Sign(this, QStringLiteral("imgMultiply2"), design.constantOperator));
        addColumn(design.constantLabel, m_constant);
    }
    addColumn(QString(), Sign(this, QStringLiteral("imgEquals"), QStringLiteral("=")));
    addColumn(design.resultLabel, m_result);
    layout->addLayout(formula);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::array<QString, 3> captions{QStringLiteral("&OK"), QStringLiteral("Cancel"), QStringLiteral("&Calculate")};
    for (std::size_t i = 0; i < cmdBut.size(); ++i) {
        cmdBut[i] = new QPushButton(captions[i], this);
        cmdBut[i]->setObjectName(QStringLiteral("cmdBut%1").arg(i));
        // Enter clicks the focused button only (see keyPressEvent), never a default one.
        cmdBut[i]->setAutoDefault(false);
        buttons->addWidget(cmdBut[i]);
        connect(cmdBut[i], &QPushButton::clicked, this, [this, i] { cmdBut_Click(int(i)); });
    }
    layout->addLayout(buttons);
    setTabOrder(m_first, m_second);

    // The kept values follow what the user types; a box's own reformatting
    // does not feed back into its value.
    connect(m_first, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_firstValue = ReadInput(m_design.first, text); });
    connect(m_second, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_secondValue = ReadInput(m_design.second, text); });
    // "&Calculate" comes back when the second input changes (and, where the
    // design says so, the result box); a change in the first input alone
    // does not bring it back.
    connect(m_second, &QLineEdit::textChanged, this, &CalcForm::EnableCalculate);
    if (design.resultChangeEnablesCalculate)
        connect(m_result, &QLineEdit::textChanged, this, &CalcForm::EnableCalculate);
    m_first->installEventFilter(this);
    m_second->installEventFilter(this);

    Form_Load();
}

void CalcForm::Form_Load()
{
    if (m_constant)
        m_constant->setText(QString::number(m_design.constant));
    adjustSize();
    platform::CentreOnScreen(*this);
}

void CalcForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        // Again now that the window has its frame, so that the frame is centred.
        platform::CentreOnScreen(*this);
        m_first->setFocus();
    }
}

void CalcForm::SelectAllText(QLineEdit* box)
{
    box->setSelection(0, int(box->text().size()));
}

double CalcForm::ReadInput(const Input& input, const QString& text)
{
    return input.wholeNumber ? ReadWholeNumber(text) : ReadNumber(text);
}

void CalcForm::First_GotFocus()
{
    m_result->clear();
    SelectAllText(m_first);
}

void CalcForm::Input_LostFocus(QLineEdit* box, InputFormat format, double value)
{
    if (format == InputFormat::None || box->text().trimmed().isEmpty() || !std::isfinite(value))
        return;
    box->setText(FormatInput(value, format));
}

void CalcForm::Second_GotFocus()
{
    SelectAllText(m_second);
}

void CalcForm::EnableCalculate()
{
    cmdBut[2]->setEnabled(true);
}

bool CalcForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_first) {
        if (event->type() == QEvent::FocusIn)
            First_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            Input_LostFocus(m_first, m_design.first.format, m_firstValue);
        else if (IsEnter(event)) {
            m_second->setFocus(Qt::TabFocusReason);
            return true;
        }
    } else if (watched == m_second) {
        if (event->type() == QEvent::FocusIn)
            Second_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            Input_LostFocus(m_second, m_design.second.format, m_secondValue);
        else if (IsEnter(event) && m_design.enterInSecondCalculates) {
            cmdBut[2]->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CalcForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled())
            button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CalcForm::cmdBut_Click(int index)
{
    if (index == 0) {
        accept();
        return;
    }
    if (index == 1) {
        reject();
        return;
    }
    const std::optional<QString> result = Calculate(m_firstValue, m_secondValue);
    if (!result) {
        platform::MsgBox(QStringLiteral("Error doing calculation."), m_design.errorStyle, m_design.errorTitle);
        return;
    }
    m_result->setText(*result);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(*result);
    // Focus first: disabling the focused button would pass the focus on to
    // the first input, which clears the result.
    cmdBut[0]->setFocus(Qt::TabFocusReason);
    cmdBut[2]->setEnabled(false);
}
