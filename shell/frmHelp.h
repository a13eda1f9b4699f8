#pragma once
// The help window: the suite's own HTML help ("Editor.html" beside the
// program) in a browser of its own, shown modeless by Help Topics.

#include <QDialog>

class QPushButton;
class QTextBrowser;

class frmHelp : public QDialog {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    // The help window while it is open, else null.
    static frmHelp* Instance();

    QTextBrowser* txtHelp = nullptr;
    QPushButton* cmdClose = nullptr;
};

// Help Topics: shows the help file (the program folder followed by
// HelpFile) in the help window, opened or brought to the front. A missing
// file says "Help file not found." and opens nothing.
void ShowHelpTopics();
