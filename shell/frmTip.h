#pragma once
// The "Tip of the Day" dialog: shows a random tip from "TIPOFDAY.TXT" in the
// program folder, one tip per line.

#include <QDialog>
#include <QRandomGenerator>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

// Mirrors the dialog's check box while the program runs; never stored.
inline bool ShowTipsAtStartup = false;

class frmTip : public QDialog {
    Q_OBJECT
public:
    // Loading the dialog reads the tips file and shows a random tip.
    explicit frmTip(QWidget* parent = nullptr);

    // Reads the tips (every line, empty ones too) and shows a random one;
    // false when the name is empty, the file is missing or cannot be read.
    bool LoadTips(const QString& fileName);
    // Shows tip CurrentTip when there is at least one tip.
    void DisplayCurrentTip();

    void cmdNextTip_Click();
    void cmdOK_Click();
    void chkLoadTipsAtStartup_Click();

    // The text shown when the tips file is missing.
    static QString TipsFileMissingText();

    const QStringList& Tips() const { return tips_; }
    int CurrentTip = 0;   // 1-based index of the tip on show

    QLabel* Label1 = nullptr;
    QLabel* lblTipText = nullptr;
    QLabel* Picture1 = nullptr;
    QCheckBox* chkLoadTipsAtStartup = nullptr;
    QPushButton* cmdNextTip = nullptr;
    QPushButton* cmdOK = nullptr;

private:
    void ShowNextTip();

    QStringList tips_;
    QRandomGenerator random_;
};
