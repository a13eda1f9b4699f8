#pragma once
// "Talvex Editor Properties": folders, the Open dialog's extension, full-path
// display, block numbering, the line starts numbering leaves alone, the
// colours of the editing control, and a file association. It edits a copy:
// Apply checks every page first and then stores everything (the registry
// store, "Editor.ini", the active document's colours); OK is Apply and
// close; Cancel drops every edit.

#include "shell/MIni.h"

#include <QDialog>
#include <QStringList>
#include <array>

class KroBrowser;
class KroColorSelector;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

class frmEditProp : public QDialog {
    Q_OBJECT
public:
    static constexpr int ColorItemsShown = 9;

    explicit frmEditProp(QWidget* parent = nullptr);

    // Shows the pickers an item has (by its list position).
    void SetVis();
    void ColorTrue();
    void AllTrue();
    void Set1();
    // Applies ColorItems to the active document's editing control.
    static void ChangeSettings();
    // Tab 1..5 as the strip orders them.
    void SwitchTab(int tab);
    // Checks every page, then stores; false (nothing stored) when a page
    // holds a value that cannot be stored.
    bool Apply();

    // The colour of a palette entry as a stored colour value (red low).
    static qint32 PaletteColorValue(int index);
    // The palette entry nearest to a stored colour value.
    static int NearestPaletteIndex(qint32 colorValue);

    QTabWidget* TabProp = nullptr;
    KroBrowser* CncDir = nullptr;
    QLineEdit* txtExt = nullptr;
    std::array<QRadioButton*, 2> optPath{};  // "Yes", "No"
    QListWidget* lstItems = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label5 = nullptr;
    KroColorSelector* clrFore = nullptr;
    KroColorSelector* clrBack = nullptr;
    QComboBox* cboFnt = nullptr;
    QLineEdit* txtNum1 = nullptr;
    QLineEdit* txtNum2 = nullptr;
    QLineEdit* txtNum3 = nullptr;
    QCheckBox* chkN = nullptr;
    QCheckBox* chkSpace = nullptr;
    QCheckBox* chkBlankLines = nullptr;
    QCheckBox* chkNumPopup = nullptr;
    QLineEdit* txtChar = nullptr;
    QListWidget* lstChars = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdDelete = nullptr;
    QLineEdit* txtAssociate = nullptr;
    QCheckBox* chkAssociate = nullptr;
    std::array<QPushButton*, 3> cmdProperties{};  // "OK", "Cancel", "Apply"

    // The colours being edited (items 0..8).
    std::array<ColorItem, ColorItemsShown> Colors{};
    int CurrentColorItem = 8;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildFiles();
    void BuildColors();
    void BuildCharacters();
    void BuildNumbers();
    void BuildAssociation();
    void Load();
    void Pending();
    void lstItems_Click();
    void NumberChanged(QLineEdit* box, const QString& fallback);
    bool NumberValid(QLineEdit* box, const QString& fallback, bool mayBeNegative);
    bool Associate();
    void cmdProperties_Click(int index);

    bool loading_ = false;
};

// Shows frmEditProp modally over the main window.
void ShowEditProp();
