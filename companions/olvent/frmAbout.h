#pragma once
// The suite's About window. The About library shows it modeless, with the links to the web page
// and the e-mail address; the compare program shows it modal, without them.

#include "platform/registry/Registry.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QFrame;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(bool withLinks, QWidget* parent = nullptr);

    // Starts the system-information program named in the registry, or says it cannot.
    void StartSysInfo();
    // Reads one value (text, or a 32-bit number as its decimal text) into keyVal; false, with
    // keyVal empty, when the key or value cannot be read.
    static bool GetKeyValue(platform::HKEY keyRoot, const QString& keyName, const QString& subKeyRef,
                            QString& keyVal);

    inline static const QString WebAddress = QStringLiteral("https://talvex.example.org/");
    inline static const QString EmailAddress = QStringLiteral("support@talvex.example.org");

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblWarning = nullptr;
    QFrame* Line1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Form_Load();
    void OpenLink(const QString& address);

    // Where the focus was when the window came up: it goes back there when the window goes.
    QPointer<QWidget> returnFocusTo_;
};
