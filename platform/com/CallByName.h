#pragma once
// Calls by name on objects of in-process classes (late binding).
//
// Members are the object's public Q_INVOKABLE methods and slots and its
// Q_PROPERTYs, matched regardless of letter case ("pluginid" finds PluginId).
// A member may throw platform::Error; it reaches the caller unchanged (other
// exceptions arrive as error 440). Arguments are converted to the member's
// parameter types; an empty QVariant passes the type's empty value.
// Failures raise platform::Error: 91 no object, 438 no such member, 13 an
// argument that does not convert, 424 Set with something that is no object.

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace platform {

// How the member is used, as VB's CallByName has it.
enum CallType {
    VbMethod = 1,  // a method; with no arguments a readable property also answers
    VbGet = 2,     // a property read; a method of that name with the arguments also answers
    VbLet = 4,     // a property write with one value; else a method taking that one value
    VbSet = 8,     // as VbLet, with an object (or an empty QVariant for Nothing)
};

QVariant CallByName(QObject* object, const QString& name, CallType type,
                    const QVariantList& arguments = {});

// Whether the object has a method or property of that name (any letter case).
bool HasMember(const QObject* object, const QString& name);

// An object (or none) as a value for VbSet and for QObject* parameters.
inline QVariant ObjectValue(QObject* object) { return QVariant::fromValue(object); }

// Whether a value "compares equal to the number": numbers and booleans (True
// is -1) by value; an empty QVariant as 0; text that reads wholly as a number
// ("1", " 1.0 ") by that number; any other value is not equal and raises nothing.
bool EqualsNumber(const QVariant& value, double number);

}  // namespace platform
