#pragma once
// The help window: an HTML help file in a browser of its own, shown
// modeless, one window at a time per program.

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace platform {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The help window while it is open, else null.
    static HelpWindow* Instance();

    QTextBrowser* txtHelp = nullptr;
    QPushButton* cmdClose = nullptr;
};

// Shows the HTML file at path in the help window, captioned caption: opened
// (over owner, when given) or brought to the front, scrolled to the anchor
// named anchor when one is given. A missing file says "Help file not found."
// (information icon, title messageTitle), opens nothing and gives false.
bool ShowHelpFile(const QString& path, const QString& caption, const QString& messageTitle, QWidget* owner,
                  const QString& anchor = QString());

}  // namespace platform
