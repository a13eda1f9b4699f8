#pragma once
// Creating objects of in-process classes by ProgID.
//
// A library of classes exports, with C linkage:
//   qint32 DllRegisterServer();     writes its classes into the class registry
//   qint32 DllUnregisterServer();   removes them
//   QObject* DllCreateObject(const char* className, QObject* parent);
// (ComServer.h writes the three for a table of classes). Objects are QObjects
// whose Q_PROPERTYs and Q_INVOKABLE methods are their interface, reached by
// name through CallByName.h. Loaded libraries stay loaded for the life of the
// process: objects and windows of theirs may outlive the creating call.

#include <QObject>
#include <QString>
#include <memory>

namespace platform {

using DllCreateObjectFunction = QObject* (*)(const char* className, QObject* parent);
using DllRegisterServerFunction = qint32 (*)();

inline constexpr char DllCreateObjectName[] = "DllCreateObject";
inline constexpr char DllRegisterServerName[] = "DllRegisterServer";
inline constexpr char DllUnregisterServerName[] = "DllUnregisterServer";

// Creates an object of the class registered under progId (any letter case),
// or under a class id when progId is one ("{...}"), and hands it to the caller. With libraryFolder given, a class whose library
// lies elsewhere is not created. Raises platform::Error 429 ("ActiveX
// component can't create object") when the ProgID is not registered, the
// library is missing, outside libraryFolder, cut short or damaged (see
// LibraryFileCheck.h), cannot be loaded or has no factory, or the factory gives no object; the error's source is the ProgID.
std::unique_ptr<QObject> CreateObject(const QString& progId, const QString& libraryFolder = QString());

}  // namespace platform
