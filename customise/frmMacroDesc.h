#pragma once
// The description of a new macro, asked before its recording starts.

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

class frmMacroDesc : public QDialog {
    Q_OBJECT
public:
    explicit frmMacroDesc(QWidget* parent = nullptr);

    // The description typed, without surrounding blanks.
    QString Description() const;

    QLineEdit* txtMacroDesc = nullptr;
    std::array<QPushButton*, 2> cmdMacro{};  // "OK", "Cancel"

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
