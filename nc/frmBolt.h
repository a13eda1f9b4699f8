#pragma once
// The bolt-circle window: the machinist types the circle's diameter, the number of holes, the
// angle of the first hole and the hole diameter; Calculate draws the pattern, writes the hole
// list "Bholes.txt" (an NC fragment) into the user's data folder and shows it. Edit > Copy
// pastes the list into the active program at its caret, as one edit; File > Save As writes the
// last calculation as a bolt file (".blt"); File > Open shows a saved file.
//
// A hole count that is not 1 to 32767 (or not a number) is refused with a message before
// anything is calculated. Save As stays disabled until a calculation exists.

#include "nc/BoltCircle.h"

#include <QDialog>

#include <optional>

class BoltAngleDiagram;
class BoltPicture;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;

class frmBolt : public QDialog {
    Q_OBJECT
public:
    explicit frmBolt(QWidget* parent = nullptr);
    ~frmBolt() override;

    // Where Calculate writes the hole list and the Text view reads it.
    static QString HoleListFile();

    // Shows the file in the text view and its path as the caption; the file already shown is
    // not read again.
    void OpenFil(const QString& path);
    // The open dialog, then OpenFil with the file chosen.
    void BoltOpenFil();
    // Writes the last calculation to path, after asking before replacing a file.
    void SaveBoltFile(const QString& path);
    // The save dialog; the name gets the extension ".blt", then SaveBoltFile.
    void GetBoltFilename();

    // ---- Events
    void cmdCalc_Click();
    void cmdExit_Click();
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuExit_Click();
    void mnuCopy_Click();
    void mnuGraphic_Click();
    void mnuText_Click();

    // The last calculation, if any.
    const std::optional<BoltCircle>& Calculation() const { return calculation_; }

    // ---- Controls
    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;  // bolt circle diameter
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;  // number of holes
    QLabel* Label3 = nullptr;
    QLineEdit* Text3 = nullptr;  // angle of the first hole
    QLabel* Label4 = nullptr;
    QLineEdit* Text4 = nullptr;  // hole diameter
    QCheckBox* chkDelimit = nullptr;
    QPushButton* cmdCalc = nullptr;
    QPushButton* cmdExit = nullptr;
    BoltPicture* PicBolt = nullptr;
    BoltAngleDiagram* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    QPlainTextEdit* txtHole = nullptr;

    // ---- Menus
    QMenuBar* menuBar = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCopy = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuGraphic = nullptr;
    QAction* mnuText = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void BuildMenus();
    void Form_Load();
    void Form_Activate();
    // The four boxes as the calculation reads them; a message and nothing when one is refused.
    std::optional<BoltInput> ReadInput();
    // Writes the hole list of the last calculation; a failure is reported.
    bool WriteHoleList();
    void ShowHoleText(const QString& text);

    std::optional<BoltCircle> calculation_;
};

// Accessories > "&Bolt Circle": the bolt-circle window, modal over the main window; afterwards
// the active program's editor has the focus again.
void ShowBoltCircle();
