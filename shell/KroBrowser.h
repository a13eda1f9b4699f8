#pragma once
// A one-line box for a folder path with a browse button at its right edge:
// the button, or Alt+Down, opens the folder picker "Select a folder" and the
// chosen folder's path goes into the box. Its properties are the box's.

#include "platform/forms/PropertyBag.h"

#include <QFont>
#include <QWidget>

class QLineEdit;
class QToolButton;

class KroBrowser : public QWidget {
    Q_OBJECT
public:
    explicit KroBrowser(QWidget* parent = nullptr);

    // Colours as the forms store them (platform/forms/OleColor.h).
    quint32 BackColor() const { return backColor_; }
    void BackColor(quint32 color);
    quint32 ForeColor() const { return foreColor_; }
    void ForeColor(quint32 color);
    // The text box's state only: the browse button stays usable.
    bool Enabled() const;
    void Enabled(bool enabled);
    QFont Font() const;
    void Font(const QFont& font);
    void Refresh();
    bool Locked() const;
    void Locked(bool locked);
    int SelLength() const;
    void SelLength(int length);
    int SelStart() const;
    void SelStart(int start);
    QString SelText() const;
    void SelText(const QString& text);
    QString Text() const;
    void Text(const QString& text);
    void ShowAbout();

    // Saving and loading with the form; the font's default is the
    // container's (ambient) font.
    void ReadProperties(const platform::PropertyBag& bag, const QFont& ambientFont);
    void WriteProperties(platform::PropertyBag& bag, const QFont& ambientFont) const;

    QLineEdit* txtFolder;
    QToolButton* cmdBrowse;

signals:
    // The text changed (typing, Text or SelText set, a folder chosen).
    void Change();
    // A property was set: the container is to save it.
    void PropertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdBrowse_Click();
    // Alt+Down (and only that) acts as the browse button.
    bool KeyDown(int keyCode, int shift);
    // The chosen folder's path, or "" when the picker was cancelled.
    QString BrowseForFolder(QWidget* owner, const QString& title);
    void ApplyColors();

    quint32 backColor_;
    quint32 foreColor_;
};
