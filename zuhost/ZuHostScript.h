#pragma once
// The container program's script: one command a line, run against a control
// created by ProgID through the class registry. It is how the control is
// driven end to end without a display.
//
//   create [PROGID]                 a new control (ZUEDIT2.ZuEdit2Ctrl.1), its events logged
//   set NAME VALUE                  a property write by name
//   get NAME [EXPECTED]             a property read; with EXPECTED, a mismatch fails
//   call NAME [ARG...]              a method by name (its result is printed)
//   error NUMBER COMMAND...         the command must raise that automation error
//   answer EVENT INDEX VALUE        later EVENTs get VALUE in by-reference argument INDEX
//   expect-event NAME[(ARGS)]       the oldest event not yet checked must be this one
//   expect-no-event                 no event is left unchecked
//   clear-events                    forgets the events so far
//   save-bag FILE / load-bag FILE   the control's properties to and from a form file
//   design-mode on|off              the container's ambient user mode
//   field NAME VALUE                a field of the property sheet to fill when it opens
//   properties ok|cancel|apply      opens the property sheet, fills the fields, presses the button
//   type TEXT / key KEYS            keys sent to the control ("Ctrl+Z", "Shift+Left")
//   echo TEXT                       prints the text
// Values: "quoted text" (with \" and \\), True and False, numbers (decimal,
// 0x.. or &H..&), anything else as text. Blank lines and lines starting with
// '#' are skipped. The run stops at the first failure.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

#include <memory>

class ZuHostEventLog;
class QWidget;

class ZuHostScript {
public:
    ZuHostScript();
    ~ZuHostScript();

    // Runs every line; 0 when all passed, 1 at the first failure (reported on `out`).
    int Run(const QStringList& lines, QTextStream& out, const QString& baseFolder = QString());
    // One line; false when it failed (`message` says why).
    bool RunLine(const QString& line, QString& output, QString& message);

    QObject* Control() const { return control_.get(); }
    ZuHostEventLog& Events() { return *events_; }
    // The control as a widget to show, when it is one.
    QWidget* ControlWidget() const;
    void Create(const QString& progId);

    // Splits a line into words: quoted text is one word.
    static QStringList Words(const QString& line);
    // A word as a value, and a value as text the way get prints it.
    static QVariant ValueOf(const QString& word);
    static QString TextOf(const QVariant& value);

private:
    bool Execute(const QStringList& words, QString& output, QString& message);
    QString PathOf(const QString& file) const;

    std::unique_ptr<QObject> control_;
    std::unique_ptr<ZuHostEventLog> events_;
    int checkedEvents_ = 0;
    QList<QPair<QString, QString>> fields_;
    QString baseFolder_;
};

// The form file of a control: saves its property bag; loads one into it.
bool ZuHostSaveBag(QObject* control, const QString& path, QString& error);
bool ZuHostLoadBag(QObject* control, const QString& path, QString& error);
