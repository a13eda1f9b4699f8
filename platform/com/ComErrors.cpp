#include "platform/com/ComErrors.h"

#include "platform/forms/Error.h"

namespace platform {

QString ComErrorDescription(int number)
{
    switch (number) {
    case ErrTypeMismatch: return QStringLiteral("Type mismatch");
    case ErrObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case ErrCannotCreateObject: return QStringLiteral("ActiveX component can't create object");
    case ErrObjectRequired: return QStringLiteral("Object required");
    case ErrMemberNotFound: return QStringLiteral("Object doesn't support this property or method");
    case ErrAutomation: return QStringLiteral("Automation error");
    case ErrWrongArguments: return QStringLiteral("Wrong number of arguments or invalid property assignment");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void RaiseComError(int number, const QString& source)
{
    throw Error(number, ComErrorDescription(number), source);
}

}  // namespace platform
