#pragma once

#include "plugins/calc/CuttingData.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// The one design of the three cutting-data calculator windows: two inputs, a
// fixed constant where the formula has one, a result that also goes to the
// clipboard, and the buttons "&OK", "Cancel" and "&Calculate". Each
// calculator's window derives from it, names its boxes and gives its formula.
class CalcForm : public QDialog {
    Q_OBJECT

public:
    struct Input {
        QString name;         // the box's name, e.g. "txtDia"
        QString label;        // the caption above it
        InputFormat format;   // how it shows its value once left
        bool wholeNumber = false;  // a speed: "1,200" groups thousands
    };

    struct Design {
        QString name;             // the window's name, e.g. "frmSfm"
        QString caption;
        Input first;
        Input second;
        QString firstOperator;    // between the inputs, e.g. "x"
        QString constantName;     // empty: the formula has no constant
        QString constantLabel;
        double constant = 0.0;
        QString constantOperator;
        QString resultName;
        QString resultLabel;
        bool enterInSecondCalculates = true;  // Enter there moves to "&Calculate"
        bool resultChangeEnablesCalculate = false;
        int errorStyle = 0;       // icon of the error box
        QString errorTitle;
    };

    // The plug-in's Main object.
    QPointer<QObject> CallBack;

    // "&OK", "Cancel", "&Calculate".
    std::array<QPushButton*, 3> cmdBut{};

    // The values the calculation uses: as typed, at full precision.
    double FirstValue() const { return m_firstValue; }
    double SecondValue() const { return m_secondValue; }

    static void SelectAllText(QLineEdit* box);

public slots:
    void cmdBut_Click(int index);

protected:
    CalcForm(const Design& design, QWidget* parent);

    // The result text for the kept inputs, or nothing where the calculation fails.
    virtual std::optional<QString> Calculate(double first, double second) const = 0;

    QLineEdit* FirstInput() const { return m_first; }
    QLineEdit* SecondInput() const { return m_second; }
    QLineEdit* ConstantBox() const { return m_constant; }
    QLineEdit* ResultBox() const { return m_result; }

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void First_GotFocus();
    void Second_GotFocus();
    // The value of a box's text as its input reads it.
    static double ReadInput(const Input& input, const QString& text);
    // Shows the box's kept value in the input's format.
    void Input_LostFocus(QLineEdit* box, InputFormat format, double value);
    void EnableCalculate();

    Design m_design;
    QLineEdit* m_first = nullptr;
    QLineEdit* m_second = nullptr;
    QLineEdit* m_constant = nullptr;
    QLineEdit* m_result = nullptr;
    double m_firstValue = 0.0;
    double m_secondValue = 0.0;
    bool m_activated = false;
};
