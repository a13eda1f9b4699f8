#pragma once
// The container program's window: the control in the middle, its events in a
// log below, and a menu to save and load its form file, open its property
// sheet and its About box, and run a line of script by hand.

#include <QMainWindow>

class QPlainTextEdit;
class QLineEdit;
class ZuHostScript;

class ZuHostWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ZuHostWindow(ZuHostScript& script, QWidget* parent = nullptr);
    // The control belongs to the script: the window hands it back rather than deleting it.
    ~ZuHostWindow() override;

private:
    void SaveBag();
    void LoadBag();
    void RunCommand();
    void Log(const QString& line);
    void ShowControl();

    ZuHostScript& script_;
    QPlainTextEdit* log_;
    QLineEdit* command_;
};
