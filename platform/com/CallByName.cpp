#include "platform/com/CallByName.h"

#include "platform/com/ComErrors.h"
#include "platform/forms/Error.h"

#include <QLocale>
#include <QMetaMethod>
#include <QMetaProperty>

#include <optional>
#include <vector>

namespace platform {

namespace {

bool NameIs(const char* memberName, const QString& name)
{
    return QString::fromLatin1(memberName).compare(name, Qt::CaseInsensitive) == 0;
}

bool IsCallable(const QMetaMethod& method)
{
    return method.access() == QMetaMethod::Public
           && (method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot);
}

// The most derived public method or slot of that name taking argc arguments.
std::optional<QMetaMethod> FindMethod(const QMetaObject* meta, const QString& name, qsizetype argc)
{
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (IsCallable(method) && method.parameterCount() == argc && NameIs(method.name().constData(), name))
            return method;
    }
    return std::nullopt;
}

std::optional<QMetaProperty> FindProperty(const QMetaObject* meta, const QString& name)
{
    for (int i = meta->propertyCount() - 1; i >= 0; --i) {
        const QMetaProperty property = meta->property(i);
        if (NameIs(property.name(), name))
            return property;
    }
    return std::nullopt;
}

bool IsObjectValue(const QVariant& value)
{
    return !value.isValid() || (value.metaType().flags() & QMetaType::PointerToQObject);
}

// The value as the member's parameter type wants it; error 13 when it does not convert.
QVariant Converted(const QVariant& value, QMetaType type)
{
    if (!type.isValid())
        RaiseComError(ErrTypeMismatch);
    if (!value.isValid())
        return QVariant(type);   // Empty gives the type's empty value
    if (value.metaType() == type)
        return value;
    if ((type.flags() & QMetaType::PointerToQObject) && IsObjectValue(value)
        && value.value<QObject*>() == nullptr)
        return QVariant(type);   // Nothing for any object type
    QVariant copy = value;
    if (!copy.convert(type))
        RaiseComError(ErrTypeMismatch);
    return copy;
}

// Runs a member's code: an error of ours passes unchanged, anything else
// becomes an automation error, so that no foreign exception reaches the caller.
template <typename Call>
void Guarded(Call&& call)
{
    try {
        call();
    } catch (const Error&) {
        throw;
    } catch (const std::exception& e) {
        throw Error(ErrAutomation, QString::fromUtf8(e.what()));
    } catch (...) {
        RaiseComError(ErrAutomation);
    }
}

// Storage for one value handed to qt_metacall: a QVariant parameter is passed
// as the QVariant itself, any other as the data the QVariant holds.
class ValueCell {
public:
    ValueCell(const QVariant& value, QMetaType type)
        : m_isVariant(type == QMetaType::fromType<QVariant>()),
          m_value(m_isVariant ? value : Converted(value, type)) {}
    explicit ValueCell(QMetaType type)
        : m_isVariant(type == QMetaType::fromType<QVariant>()), m_value(m_isVariant ? QVariant() : QVariant(type)) {}
    void* Data() { return m_isVariant ? static_cast<void*>(&m_value) : m_value.data(); }
    QVariant Value() const { return m_value; }

private:
    bool m_isVariant;
    QVariant m_value;
};

// Calls the object's own meta-call directly (the moc-generated code), so that
// an exception thrown by the member passes through no frame of Qt's.
QVariant Invoke(QObject* object, const QMetaMethod& method, const QVariantList& arguments)
{
    std::vector<ValueCell> cells;
    cells.reserve(std::size_t(arguments.size()) + 1);
    const QMetaType returnType = method.returnMetaType();
    const bool returnsValue = returnType.isValid() && returnType.id() != QMetaType::Void;
    cells.emplace_back(returnsValue ? returnType : QMetaType::fromType<QVariant>());
    for (qsizetype i = 0; i < arguments.size(); ++i)
        cells.emplace_back(arguments[i], method.parameterMetaType(int(i)));
    std::vector<void*> argv;
    argv.reserve(cells.size());
    for (ValueCell& cell : cells)
        argv.push_back(cell.Data());
    if (!returnsValue)
        argv[0] = nullptr;
    Guarded([&] { object->qt_metacall(QMetaObject::InvokeMetaMethod, method.methodIndex(), argv.data()); });
    return returnsValue ? cells[0].Value() : QVariant();
}

QVariant ReadProperty(QObject* object, const QMetaProperty& property)
{
    ValueCell value(property.metaType());
    int status = -1;
    int flags = 0;
    void* argv[] = {value.Data(), nullptr, &status, &flags};
    Guarded([&] { object->qt_metacall(QMetaObject::ReadProperty, property.propertyIndex(), argv); });
    return value.Value();
}

void WriteProperty(QObject* object, const QMetaProperty& property, const QVariant& newValue)
{
    ValueCell value(newValue, property.metaType());
    int status = -1;
    int flags = 0;
    void* argv[] = {value.Data(), nullptr, &status, &flags};
    Guarded([&] { object->qt_metacall(QMetaObject::WriteProperty, property.propertyIndex(), argv); });
}

}  // namespace

QVariant CallByName(QObject* object, const QString& name, CallType type, const QVariantList& arguments)
{
    if (!object)
        RaiseComError(ErrObjectNotSet);
    const QMetaObject* meta = object->metaObject();
    const std::optional<QMetaProperty> property = FindProperty(meta, name);
    switch (type) {
    case VbMethod:
        if (const auto method = FindMethod(meta, name, arguments.size()))
            return Invoke(object, *method, arguments);
        if (arguments.isEmpty() && property && property->isReadable())
            return ReadProperty(object, *property);
        break;
    case VbGet:
        if (arguments.isEmpty() && property && property->isReadable())
            return ReadProperty(object, *property);
        if (const auto method = FindMethod(meta, name, arguments.size()))
            return Invoke(object, *method, arguments);
        break;
    case VbLet:
    case VbSet:
        if (arguments.size() != 1)
            break;
        if (type == VbSet && !IsObjectValue(arguments[0]))
            RaiseComError(ErrObjectRequired);
        if (property && property->isWritable()) {
            WriteProperty(object, *property, arguments[0]);
            return QVariant();
        }
        if (const auto method = FindMethod(meta, name, 1)) {
            Invoke(object, *method, arguments);
            return QVariant();
        }
        break;
    }
    RaiseComError(HasMember(object, name) ? ErrWrongArguments : ErrMemberNotFound);
}

bool HasMember(const QObject* object, const QString& name)
{
    if (!object)
        return false;
    const QMetaObject* meta = object->metaObject();
    if (FindProperty(meta, name))
        return true;
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (IsCallable(method) && NameIs(method.name().constData(), name))
            return true;
    }
    return false;
}

bool EqualsNumber(const QVariant& value, double number)
{
    if (!value.isValid())
        return number == 0.0;   // Empty is 0
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return (value.toBool() ? -1.0 : 0.0) == number;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() == number;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const double parsed = QLocale::c().toDouble(value.toString().trimmed(), &ok);
        return ok && parsed == number;
    }
    default:
        return false;
    }
}

}  // namespace platform
