#pragma once
// The registry wrapper: set a root, a key path, a value name, a value type
// and a default, then read or write Value. The object keeps only these
// properties between calls and holds no open key.
//
// Failures raise platform::Error with the source ProgramName + ".cRegistry";
// Value reads and KeyExists never raise.

#include "platform/registry/Registry.h"

#include <QString>
#include <QStringList>
#include <QVariant>

class cRegistry {
public:
    // Error numbers.
    static constexpr qint64 ErrRegistry = 26001;
    static constexpr qint64 ErrSetValue = 0x800469A9;
    static constexpr qint64 ErrEnumerate = 0x800469AA;

    // Writes data under name of the open key with the given type when data is
    // not empty.
    void RegWriteStringValue(platform::HKEY key, const QString& name, quint32 type,
                             const QString& data);
    // Makes the shell reload its icons; our desktop keeps no icon cache in
    // the registry, so there is nothing to refresh.
    void ForceCacheRefresh();
    bool KeyExists() const;
    void CreateKey();
    // Deletes SectionKey; a key that still has subkeys is not deleted (raises).
    void DeleteKey();
    void DeleteValue();

    // Read by the stored type: text (1, 7 with its NUL separators), text with
    // the defined environment variables expanded (2), number (4), number with
    // its bytes reversed (5), bytes (3 and others); Default when it cannot
    // be read.
    QVariant Value() const;
    // Write by ValueType: 1 or 2 text (stored as 2 when it holds "%" with
    // another "%" after it), 3 bytes, 4 or 5 a number (stored as 4).
    void Value(const QVariant& value);

    // The value names or subkey names of SectionKey, and their count.
    bool EnumerateValues(QStringList& names, int& count) const;
    bool EnumerateSections(QStringList& names, int& count) const;

    // Registers a file type under HKEY_CLASSES_ROOT: extension -> class, the
    // class's title, the verbs open, print (/p), add (/a), new (/n), each
    // running the program, and the class's icon.
    void CreateEXEAssociation(const QString& exePath, const QString& className,
                              const QString& classTitle, const QString& extension,
                              int defaultIconIndex = 0);
    // Further verbs of the class made by CreateEXEAssociation, given as
    // name, menu text and command triples.
    void CreateAdditionalEXEAssociations(const QStringList& nameTextCommand);

    quint32 ValueType() const { return valueType_; }
    void ValueType(quint32 type) { valueType_ = type; }
    platform::HKEY ClassKey() const { return classKey_; }
    void ClassKey(platform::HKEY key) { classKey_ = key; }
    const QString& SectionKey() const { return sectionKey_; }
    void SectionKey(const QString& path) { sectionKey_ = path; }
    const QString& ValueKey() const { return valueKey_; }
    void ValueKey(const QString& name) { valueKey_ = name; }
    const QVariant& Default() const { return default_; }
    void Default(const QVariant& value) { default_ = value; }

    // The source of the errors this class raises.
    static QString ErrorSource();

private:
    [[noreturn]] void Raise(qint64 number, const QString& description) const;
    QString RootText() const;

    platform::HKEY classKey_ = platform::HKEY_CURRENT_USER;
    QString sectionKey_;
    QString valueKey_;
    quint32 valueType_ = platform::REG_SZ;
    QVariant default_;
    QString associationClass_;   // the class of the last CreateEXEAssociation
};
