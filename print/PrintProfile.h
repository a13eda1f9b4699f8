#pragma once
// The application's profile: numbers and texts under
// HKEY_CURRENT_USER "Software\KroPrint\Prentil\<section>", read and written
// as the application's profile functions do (numbers as DWORD values, texts
// as string values; a value of the wrong type reads as the default).

#include <QString>

namespace prentil {

// "Software\KroPrint\Prentil".
QString ProfileKey();

int GetProfileInt(const QString& section, const QString& entry, int defaultValue);
QString GetProfileString(const QString& section, const QString& entry, const QString& defaultValue);
bool WriteProfileInt(const QString& section, const QString& entry, int value);
bool WriteProfileString(const QString& section, const QString& entry, const QString& value);
// Removes the section with its values; a missing one is no error.
void DeleteProfileSection(const QString& section);

}  // namespace prentil
