#pragma once
// The metric / imperial conversion window: a formula from the list, a number typed, the answer
// shown and copied to the clipboard for pasting into a program.

#include <QPointer>
#include <QVariant>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmMetricConversion : public QWidget {
    Q_OBJECT
public:
    explicit frmMetricConversion(QWidget* parent = nullptr);

    // The input text converted by code 0 to 11: the number, or the text "Error" for an input
    // that is not one number or an answer out of range; another code gives 0.
    QVariant sdMetricConvert(const QString& nVal, int nTypeConvert) const;

    void btnCalc_Click();
    void btnCopy_Click();
    void btnExit_Click();
    void List1_Click();

    QListWidget* List1 = nullptr;
    QLineEdit* txtInput = nullptr;
    QLineEdit* txtAnswer = nullptr;
    QPushButton* btnCalc = nullptr;
    QPushButton* btnCopy = nullptr;
    QPushButton* btnExit = nullptr;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void FillList();

    QPointer<QWidget> returnFocusTo_;
    // The window that took the activation from this one: coming back from another window of
    // the program refills the list; coming back from our own message box does not.
    QPointer<QWidget> deactivatedTo_;
    bool filled_ = false;
};
