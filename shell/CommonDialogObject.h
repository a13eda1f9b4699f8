#pragma once
// The common dialogs: open, save and printer set-up. Set the properties,
// call one Show method, then read FileName (and FilterIndex, Flags).
// The dialogs run through platform::ShowModal, so tests answer them.

#include <QString>
#include <QStringList>

class QFileDialog;
class QPrinter;
class QWidget;

class CommonDialogObject {
public:
    // Flags.
    static constexpr int cdlOFNReadOnly = 0x1;
    static constexpr int cdlOFNOverwritePrompt = 0x2;
    static constexpr int cdlOFNHideReadOnly = 0x4;
    static constexpr int cdlOFNAllowMultiselect = 0x200;
    static constexpr int cdlOFNPathMustExist = 0x800;
    static constexpr int cdlOFNFileMustExist = 0x1000;
    static constexpr int cdlOFNCreatePrompt = 0x2000;
    // Raised by a Show method on Cancel while CancelError is true.
    static constexpr int cdlCancel = 20001;

    void CancelError(bool raise) { cancelError_ = raise; }
    const QString& FileName() const { return fileName_; }
    void FileName(const QString& name) { fileName_ = name; }
    // Pairs of description and pattern, all parts separated by "|"
    // ("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"); a pattern may list
    // several, separated by ";".
    void Filter(const QString& filter) { filter_ = filter; }
    // 1-based entry of the filter.
    int FilterIndex() const { return filterIndex_; }
    void FilterIndex(int index) { filterIndex_ = index; }
    void DialogTitle(const QString& title) { title_ = title; }
    int Flags() const { return flags_; }
    void Flags(int flags) { flags_ = flags; }
    void OwnerWindow(QWidget* owner) { owner_ = owner; }
    void InitDir(const QString& folder) { initDir_ = folder; }

    // Each returns once the user has closed the dialog. After OK, FileName
    // is the full path and FilterIndex the entry chosen; Cancel raises
    // cdlCancel when CancelError is true, else leaves FileName empty. A name
    // saved without an extension gets the chosen filter's ("part" under
    // "*.txt" is "part.txt"; nothing under "*.*"), and the overwrite
    // question is about that file.
    void ShowOpen();
    void ShowSave();
    // Chooses and sets up the printer that printing uses (ApplicationPrinter).
    void ShowPrinter();

    // The question before a save replaces an existing file (title: the
    // dialog's, "Save As" when it has none); true to replace it. The file
    // dialog never asks itself: the question comes through the message-box
    // layer, like every other.
    static bool ConfirmReplace(const QString& path, const QString& title);

    // The filter as the file dialog's name filters: "Text Files (*.txt)",
    // "All Files (*)". "*.*" stands for every file; patterns match names in
    // either letter case, as NC files often come in upper case.
    static QStringList NameFilters(const QString& filter);

private:
    void Show(bool save);
    void Cancelled();

    bool cancelError_ = false;
    QString fileName_;
    QString filter_;
    int filterIndex_ = 0;
    QString title_;
    int flags_ = 0;
    QWidget* owner_ = nullptr;
    QString initDir_;
};

// Makes the file dialog's detail columns (size, type, date) wide enough
// for their texts whole, on showing and once its first folder is read, and
// the dialog wide enough for them, within the screen's available area.
// Columns are only ever widened: a width the user gave stays.
void FitFileDialog(QFileDialog& dialog);

// The printer that the program prints on, chosen with ShowPrinter.
QPrinter& ApplicationPrinter();
