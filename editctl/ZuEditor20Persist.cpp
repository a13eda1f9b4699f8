// Saving and loading the control's properties with the container's form.
#include "editctl/ZuEditor20.h"

#include "editctl/ZuPropertyInfo.h"

#include <QFileInfo>
#include <QMetaProperty>

namespace {

// The version written before the properties.
constexpr int PersistVersion = 0x10000;

QVariant ReadMember(const QObject* object, const char* name)
{
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    return index < 0 ? QVariant() : meta->property(index).read(object);
}

// Writes through the member's setter; a refused value keeps the old one.
void WriteMember(QObject* object, const char* name, const QVariant& value)
{
    const QMetaObject* meta = object->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0 || !value.isValid())
        return;
    try {
        meta->property(index).write(object, value);
    } catch (...) {
        // Errors are not reported while properties are loaded.
    }
}

// The stock properties, exchanged before the table; the stock font as one description.
const char* const StockProperties[] = {"Appearance", "BorderStyle", "Enabled"};

}  // namespace

void ZuEditor20::SaveProperties(platform::PropertyBag& bag)
{
    const bool report = reportErrors_;
    reportErrors_ = false;
    bag.WriteProperty(QStringLiteral("Version"), PersistVersion);
    for (const char* name : StockProperties)
        bag.WriteProperty(QString::fromLatin1(name), ReadMember(this, name));
    bag.WriteProperty(QStringLiteral("Font"), font().toString());
    for (const ZuPropertyInfo& row : ZuPropertyTable()) {
        if (!row.persist)
            continue;
        const QString name = QString::fromLatin1(row.name);
        bag.WriteProperty(ZuPersistName(name), ReadMember(this, row.name), row.defaultValue());
    }
    reportErrors_ = report;
    controlModified_ = false;
}

void ZuEditor20::LoadProperties(const platform::PropertyBag& bag)
{
    const bool report = reportErrors_;
    reportErrors_ = false;
    loading_ = true;
    const bool wasModified = IsModified();
    // A form holds one value per property: every row is given to both panes, and the
    // saved pane choice is put in force only after them.
    paneIndex_ = -2;
    QVariant paneIndex;
    for (const char* name : StockProperties)
        WriteMember(this, name, bag.ReadProperty(QString::fromLatin1(name)));
    QFont stockFont;
    const QString fontText = bag.ReadProperty(QStringLiteral("Font")).toString();
    if (!fontText.isEmpty() && stockFont.fromString(fontText))
        WriteMember(this, "Font", stockFont);
    QVariant fileOpen;
    QVariant selMark;
    for (const ZuPropertyInfo& row : ZuPropertyTable()) {
        if (!row.persist)
            continue;
        const QString name = QString::fromLatin1(row.name);
        const QVariant value = bag.ReadProperty(ZuPersistName(name), row.defaultValue());
        // The file is opened last, once the settings it is read with are in force.
        if (name == QLatin1String("FileOpen")) {
            fileOpen = value;
            continue;
        }
        if (name == QLatin1String("PaneIndex")) {
            paneIndex = value;
            continue;
        }
        // The selection belongs to the document: it is made once the file is in.
        if (name == QLatin1String("SelMark")) {
            selMark = value;
            continue;
        }
        WriteMember(this, row.name, value);
    }
    const QString wanted = fileOpen.toString();
    if (wanted != fileOpenPath_) {
        WriteMember(this, "FileOpen", wanted);
        // A file that is gone leaves an empty document, not the one shown before the form.
        if (!wanted.isEmpty() && fileOpenPath_ != QFileInfo(wanted).absoluteFilePath())
            WriteMember(this, "FileOpen", QString());
    }
    WriteMember(this, "SelMark", selMark);
    WriteMember(this, "PaneIndex", paneIndex);
    if (!wasModified)
        SetModified(false);
    loading_ = false;
    reportErrors_ = report;
}

QVariantList ZuEditor20::SavePropertyBag()
{
    platform::PropertyBag bag;
    SaveProperties(bag);
    QVariantList pairs;
    for (const QString& name : bag.Names())
        pairs << name << bag.ReadProperty(name);
    return pairs;
}

void ZuEditor20::LoadPropertyBag(const QVariantList& pairs)
{
    platform::PropertyBag bag;
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
        bag.WriteProperty(pairs[i].toString(), pairs[i + 1]);
    LoadProperties(bag);
}
