#include "zuhost/ZuHostEventLog.h"

#include <QWidget>

ZuHostEventLog::ZuHostEventLog(QObject* parent) : QObject(parent) {}

void ZuHostEventLog::Attach(QObject* source)
{
    Detach();
    source_ = source;
    if (!source)
        return;
    const QMetaObject* meta = source->metaObject();
    const int first = source->isWidgetType() ? QWidget::staticMetaObject.methodCount()
                                             : QObject::staticMetaObject.methodCount();
    // Each signal goes to a method index past this object's own; qt_metacall receives it.
    const int base = QObject::staticMetaObject.methodCount();
    for (int i = first; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Signal)
            continue;
        const int slot = base + int(signals_.size());
        signals_.append(method);
        connections_.append(QMetaObject::connect(source, i, this, slot, Qt::DirectConnection));
    }
}

void ZuHostEventLog::Detach()
{
    for (const QMetaObject::Connection& c : connections_)
        QObject::disconnect(c);
    connections_.clear();
    signals_.clear();
    source_ = nullptr;
}

void ZuHostEventLog::SetAnswer(const QString& event, int index, const QVariant& value)
{
    if (value.isValid())
        answers_[event.toLower()][index] = value;
    else
        answers_[event.toLower()].remove(index);
}

int ZuHostEventLog::qt_metacall(QMetaObject::Call call, int id, void** arguments)
{
    id = QObject::qt_metacall(call, id, arguments);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod)
        return id;
    if (id < signals_.size())
        Received(id, arguments);
    return -1;
}

namespace {

// Reads (and, with an answer, writes) one argument of the types the control's events use.
template <typename T> QString Handle(void* argument, bool byReference, const QVariant& answer)
{
    T* value = byReference ? *static_cast<T**>(argument) : static_cast<T*>(argument);
    if (!value)
        return QStringLiteral("null");
    if (byReference && answer.isValid())
        *value = answer.value<T>();
    if constexpr (std::is_same_v<T, bool>)
        return *value ? QStringLiteral("True") : QStringLiteral("False");
    else if constexpr (std::is_same_v<T, QString>)
        return QLatin1Char('"') + *value + QLatin1Char('"');
    else
        return QString::number(*value);
}

}  // namespace

void ZuHostEventLog::Received(int index, void** arguments)
{
    const QMetaMethod& method = signals_[index];
    const QString name = QString::fromLatin1(method.name());
    const QMap<int, QVariant> answers = answers_.value(name.toLower());
    QStringList values;
    for (int i = 0; i < method.parameterCount(); ++i) {
        QByteArray type = method.parameterTypeName(i);
        const bool byReference = type.endsWith('*');
        if (byReference)
            type.chop(1);
        void* argument = arguments[i + 1];
        const QVariant answer = answers.value(i);
        if (type == "short")
            values << Handle<short>(argument, byReference, answer);
        else if (type == "int")
            values << Handle<int>(argument, byReference, answer);
        else if (type == "qulonglong")
            values << Handle<qulonglong>(argument, byReference, answer);
        else if (type == "bool")
            values << Handle<bool>(argument, byReference, answer);
        else if (type == "QString")
            values << Handle<QString>(argument, byReference, answer);
        else
            values << QStringLiteral("?");
    }
    const QString line = name + QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
    lines_.append(line);
    if (onEvent)
        onEvent(line);
}
