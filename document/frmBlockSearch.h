#pragma once
// The block search dialog "Block Search": the first and last line (counted
// from 1) of a run of whole lines to select. OK writes them to BlockLine1
// and BlockLine2 of the active document window and clears DialogCancelled;
// Cancel, Escape and the close box set DialogCancelled. OK stays disabled
// until "To number:" has been edited; a text that is not a number keeps the
// dialog open without a word, and numbers outside the text (From below 1 or
// beyond the last line, From above To) keep it open with a message.

#include <QDialog>
#include <array>
#include <optional>

class QLineEdit;
class QPushButton;

class frmBlockSearch : public QDialog {
    Q_OBJECT
public:
    // lineCount: the lines of the document searched.
    explicit frmBlockSearch(int lineCount, QWidget* parent = nullptr);

    void txtLine2_Change();
    void cmdBlock_Click(int index);
    void reject() override;

    // A line number as typed: a number rounded to a whole one (halves to
    // the even one), or none for a text that is not a number.
    static std::optional<qint32> LineNumber(const QString& text);

    QLineEdit* txtLine1 = nullptr;  // "From number:"
    QLineEdit* txtLine2 = nullptr;  // "To number:"
    std::array<QPushButton*, 2> cmdBlock{};  // 0 "OK", 1 "Cancel"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();

    int lineCount_;
};
