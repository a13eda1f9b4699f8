// The library ZUEDIT32 registered with the registration tool: the registry
// content of its identity, creation by ProgID and by class id through the
// class registry, its pages, and unregistering.

#include "editctl/ZuControlModule.h"
#include "editctl/ZuPropertyInfo.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/CreateObject.h"
#include "platform/com/Regsvr.h"
#include "platform/forms/ScriptedAnswers.h"
#include "platform/registry/Registry.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace platform;

namespace {

QString Library() { return QStringLiteral(ZUEDIT32_PATH); }

}  // namespace

class ZuRegistrationTests : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        const QString program = dir_->filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(program));
        QVERIFY(QFile::copy(QStringLiteral(REGSVR_PATH),
                            program + QStringLiteral("/regsvr")));
        QFile::setPermissions(program + QStringLiteral("/regsvr"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("TALVEX_PROGRAM_DIR", program.toLocal8Bit());
        qputenv("TALVEX_REGISTRY_DIR", dir_->filePath(QStringLiteral("registry")).toLocal8Bit());
        SetRegistryFolder(dir_->filePath(QStringLiteral("registry")));
        const ProgramResult run = RegisterLibrary(Library(), 60000);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(run.exitCode, RegsvrSuccess);
    }
    void cleanup()
    {
        SetRegistryFolder(QString());
        dir_.reset();
    }

    void registryHoldsTheControlsIdentity()
    {
        const std::optional<ClassEntry> entry = LookupClass(QString::fromLatin1(ZuEditorProgId));
        QVERIFY(entry);
        QCOMPARE(entry->classId, QString::fromLatin1(ZuEditorClassId));
        QCOMPARE(entry->className, QStringLiteral("ZuEditor20"));
        const std::optional<ControlEntry> control = LookupControl(entry->classId);
        QVERIFY(control);
        QCOMPARE(control->typeName, QStringLiteral("Zuvanta Editor Control"));
        // Containers listing controls show the class key's own value: the type name.
        HKEY classKey = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, QStringLiteral("CLSID\\") + entry->classId, &classKey), ERROR_SUCCESS);
        quint32 type = REG_NONE;
        QByteArray data;
        QCOMPARE(RegQueryValueEx(classKey, QString(), &type, &data), ERROR_SUCCESS);
        RegCloseKey(classKey);
        QCOMPARE(RegStringFromData(data), QStringLiteral("Zuvanta Editor Control"));
        QCOMPARE(control->miscStatus, 0x20191u);
        QCOMPARE(control->toolboxBitmap, 1);
        QVERIFY(control->insertable);
        QCOMPARE(control->typeLibId, QString::fromLatin1(ZuLibId));
        QCOMPARE(control->typeLibVersion, QStringLiteral("1.0"));
        const std::optional<TypeLibraryEntry> library = LookupTypeLibrary(QString::fromLatin1(ZuLibId), QStringLiteral("1.0"));
        QVERIFY(library);
        QCOMPARE(library->name, QStringLiteral("ZUEDIT2Lib"));
        QCOMPARE(library->helpString, QStringLiteral("Zuvanta Editor Control"));
        QCOMPARE(library->helpFile, QStringLiteral("ZUEDIT32.HLP"));
        QCOMPARE(library->locale, 1033);
        QVERIFY(library->description.contains(QLatin1String("\"SearchReplaceAction\"")));
        for (const ZuPageInfo& page : ZuPages()) {
            const std::optional<ClassEntry> pageEntry = LookupClassById(QString::fromLatin1(page.classId));
            QVERIFY2(pageEntry, page.progId);
            QCOMPARE(pageEntry->progId, QString::fromLatin1(page.progId));
            QCOMPARE(pageEntry->className, QString::fromLatin1(page.className));
            // A page is no control.
            QVERIFY(!LookupControl(pageEntry->classId));
        }
    }

    void controlIsCreatedByProgIdAndByClassId_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("ProgID") << QString::fromLatin1(ZuEditorProgId);
        QTest::newRow("ProgID in other letters") << QStringLiteral("zuedit2.zuedit2ctrl.1");
        QTest::newRow("class id") << QString::fromLatin1(ZuEditorClassId);
        QTest::newRow("class id in lower case") << QString::fromLatin1(ZuEditorClassId).toLower();
    }
    void controlIsCreatedByProgIdAndByClassId()
    {
        QFETCH(QString, name);
        std::unique_ptr<QObject> object = CreateObject(name);
        QVERIFY(object);
        QCOMPARE(object->metaObject()->className(), "ZuEditor20");
        QCOMPARE(object->property("SplitterWidth").toInt(), 7);
    }

    void pagesAreCreatedByTheirProgIds()
    {
        for (const ZuPageInfo& page : ZuPages()) {
            std::unique_ptr<QObject> object = CreateObject(QString::fromLatin1(page.progId));
            QVERIFY2(object && object->isWidgetType(), page.progId);
            QCOMPARE(object->metaObject()->className(), page.className);
        }
    }

    void unregisteringRemovesEveryEntry()
    {
        const ProgramResult run = RegisterLibrary(Library(), 60000, true);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(run.exitCode, RegsvrSuccess);
        QVERIFY(!LookupClass(QString::fromLatin1(ZuEditorProgId)));
        QVERIFY(!LookupClassById(QString::fromLatin1(ZuEditorClassId)));
        QVERIFY(!LookupTypeLibrary(QString::fromLatin1(ZuLibId), QStringLiteral("1.0")));
        for (const ZuPageInfo& page : ZuPages())
            QVERIFY(!LookupClass(QString::fromLatin1(page.progId)));
    }
};

REGISTER_TEST(ZuRegistrationTests);
#include "ZuRegistrationTests.moc"
