#pragma once
// The container's property bag of a control: named values saved with the
// form. A value equal to its default is not stored, so a control saved with
// its defaults leaves the bag empty; reading a missing name gives the default.

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

namespace platform {

class PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = QVariant()) const
    {
        for (const auto& entry : entries_)
            if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
                return entry.second;
        return defaultValue;
    }
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = QVariant())
    {
        for (qsizetype i = 0; i < entries_.size(); ++i)
            if (entries_[i].first.compare(name, Qt::CaseInsensitive) == 0) {
                entries_.removeAt(i);
                break;
            }
        if (!defaultValue.isValid() || value != defaultValue)
            entries_.append({name, value});
    }
    // The stored names, in the order they were written.
    QStringList Names() const
    {
        QStringList names;
        for (const auto& entry : entries_)
            names.append(entry.first);
        return names;
    }

private:
    QList<QPair<QString, QVariant>> entries_;
};

}  // namespace platform
