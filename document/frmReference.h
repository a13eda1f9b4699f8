#pragma once
// The reference text viewer: a whole reference file (G codes, M codes, NC
// words), read only, modal; the caller sets the caption. "&OK" closes it.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class frmReference : public QDialog {
    Q_OBJECT
public:
    explicit frmReference(QWidget* parent = nullptr);

    QPlainTextEdit* txtRef = nullptr;
    QPushButton* cmdOk = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
