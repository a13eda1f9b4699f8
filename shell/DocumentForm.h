#pragma once
// What the shell knows of a document window: the document window itself
// lives in a library that links the shell, so the shell reaches it through
// this base. A document window sits in one slot of the document table; its
// Tag holds the slot number as decimal text.

#include <QString>
#include <QWidget>

namespace platform {
class CodeMax;
}

class DocumentForm : public QWidget {
    Q_OBJECT
public:
    explicit DocumentForm(QWidget* parent = nullptr);
    ~DocumentForm() override;

    // The slot number as decimal text ("7").
    QString Tag;

    // The window's caption ("Untitled:3", a path).
    QString Caption() const;
    void Caption(const QString& text);

    // The editing control of the document.
    virtual platform::CodeMax* Text1() = 0;

    // Shows entry index (1 to 4) of the window's recent-file menu with path,
    // and its separator. Windows without such a menu ignore it.
    virtual void ShowRecentFile(int index, const QString& path);
};
