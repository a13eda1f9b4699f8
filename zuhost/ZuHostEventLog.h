#pragma once
// The container's event sink: it listens to every event (signal) of a control,
// whatever its arguments, and writes one line per event, "Name(a, b, ...)".
// An argument passed by reference (a pointer) may be answered: the value set
// for that event and argument is written into it before the control reads it
// back, as a handler of the event would.

#include <QList>
#include <QMap>
#include <QMetaMethod>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

#include <functional>

class ZuHostEventLog : public QObject {
public:
    explicit ZuHostEventLog(QObject* parent = nullptr);
    // Listens to the signals the control's own classes declare (not QObject's or QWidget's).
    void Attach(QObject* source);
    void Detach();

    // Answer argument `index` (0-based) of every later `event` with a value; an
    // invalid value takes the answer back.
    void SetAnswer(const QString& event, int index, const QVariant& value);
    void ClearAnswers() { answers_.clear(); }

    const QStringList& Lines() const { return lines_; }
    void ClearLines() { lines_.clear(); }
    std::function<void(const QString& line)> onEvent;

    int qt_metacall(QMetaObject::Call call, int id, void** arguments) override;

private:
    void Received(int index, void** arguments);

    QPointer<QObject> source_;
    QList<QMetaMethod> signals_;
    QList<QMetaObject::Connection> connections_;
    QMap<QString, QMap<int, QVariant>> answers_;
    QStringList lines_;
};
