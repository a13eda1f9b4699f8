#pragma once
// Private-profile (INI) files read and written as the Windows functions do.
//
// Reading: section and key names match regardless of letter case; the first
// match wins; blanks around names and values are dropped, and one pair of
// matching quotes ('..' or "..") around a value is removed; lines starting
// with ';' are comments.
//
// Files are kept as bytes, and each line is read in its own encoding: as
// UTF-8 when the line is valid UTF-8 holding non-ASCII bytes, else as
// Latin-1 (one byte, one character). So Latin-1 files read as they always
// did, UTF-8 files read as UTF-8, and a file mixing both reads line by line.
// A UTF-8 mark at the start of the file is no part of the first line. A
// line written here is Latin-1 when its text (key, "=", value; or a section
// header) is all Latin-1 and reads back so; otherwise the whole line is
// UTF-8 (text outside Latin-1 is never turned into '?').
//
// Writing changes one line and keeps every other byte of the file as it was
// (comments, order, blank lines, line ends). An existing key's line becomes
// "key=value" (the key spelt as in the file); a new key goes after the last
// non-blank line of its section, a new section at the end of the file; new lines
// take the file's line end (CR LF for a new file). The file is replaced
// atomically: the old file stays until the new one is whole. Each write
// holds the file's lock across processes (platform/files/FileLock.h) from
// its read to its write, so programs writing one file at once never lose
// each other's keys.
//
// A damaged file (NUL or other binary bytes, a section line without "]", a
// line without "=") is read as far as it is sound: the damaged lines are
// skipped, everything else is read. It is reported once per file (and
// again only when its content changes) through the damage handler; writing
// keeps the damaged lines as they are. It never crashes.
//
// Section, key and value texts that would break the file's structure or
// not read back (line breaks, other control characters but tab, half of a
// surrogate pair, "=" in a key, "]" in a section) are refused: the write
// returns false and the file is not touched.

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// The read buffer of the settings code: 255 characters including the
// terminating NUL, so a longer value comes back cut to 254 characters.
inline constexpr int ProfileBufferSize = 255;

// Returns the value of key in section, or defaultValue when the file, the
// section or the key is missing (the default is cut and trimmed the same
// way). The result holds at most bufferSize - 1 characters.
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& file,
                                int bufferSize = ProfileBufferSize);

// The value read as a whole number: leading digits (with a sign), else
// defaultValue when the key is missing; 0 for text that is not a number.
int GetPrivateProfileInt(const QString& section, const QString& key, int defaultValue,
                         const QString& file);

// Writes key=value into section, creating the file and the section when
// they are missing. A null key (QString()) deletes the whole section; a null
// value deletes the key (an empty, non-null value writes "key="). Returns
// false when the file cannot be written (the old file is then unchanged).
bool WritePrivateProfileString(const QString& section, const QString& key,
                               const QString& value, const QString& file);

// The key names of a section in file order (empty when it is missing).
QStringList GetPrivateProfileKeys(const QString& section, const QString& file);
// The section names of the file in file order.
QStringList GetPrivateProfileSections(const QString& file);

// Called once per file (per content) when a damaged file is read: the file's
// path and what is wrong with it, e.g. "line 12: no closing ']'". Returns the
// previous handler; an empty handler reports nothing.
using ProfileDamageHandler = std::function<void(const QString& file, const QString& problem)>;
ProfileDamageHandler SetProfileDamageHandler(ProfileDamageHandler handler);

}  // namespace platform
