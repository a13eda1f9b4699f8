#include "ShellFixture.h"
#include "support/TestRegistry.h"
#include "platform/forms/Error.h"
#include "shell/cRegistry.h"

#include <QTest>

using namespace platform;

namespace {

const QString Key = QStringLiteral("Software\\Talvex Test\\Settings");

cRegistry At(const QString& section, const QString& value = QString(), quint32 type = REG_SZ)
{
    cRegistry registry;
    registry.ClassKey(HKEY_CURRENT_USER);
    registry.SectionKey(section);
    registry.ValueKey(value);
    registry.ValueType(type);
    return registry;
}

// Runs action and returns the error it raised.
template <typename Action>
Error Raised(Action action)
{
    try {
        action();
    } catch (const Error& error) {
        return error;
    }
    return Error(0, QStringLiteral("nothing raised"));
}

}  // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void missingValueGivesDefault()
    {
        ShellFixture fixture;
        cRegistry registry = At(Key, QStringLiteral("Nothing"));
        QVERIFY(!registry.KeyExists());
        QVERIFY(!registry.Value().isValid());
        QCOMPARE(registry.Value().toInt(), 0);
        QCOMPARE(registry.Value().toString(), QString());
        registry.Default(42);
        QCOMPARE(registry.Value().toInt(), 42);
    }

    void writeCreatesWholePath()
    {
        ShellFixture fixture;
        cRegistry registry = At(QStringLiteral("A\\B\\C"), QStringLiteral("Name"));
        registry.Value(QStringLiteral("text"));
        QVERIFY(registry.KeyExists());
        QVERIFY(At(QStringLiteral("A\\B")).KeyExists());
        QCOMPARE(registry.Value().toString(), QStringLiteral("text"));
    }

    void typedValuesRoundTrip_data()
    {
        QTest::addColumn<quint32>("writeType");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<quint32>("storedType");
        QTest::addColumn<QVariant>("read");
        QTest::newRow("string") << REG_SZ << QVariant(QStringLiteral("C:\\NC")) << REG_SZ
                                << QVariant(QStringLiteral("C:\\NC"));
        QTest::newRow("one percent stays a string") << REG_SZ << QVariant(QStringLiteral("50%")) << REG_SZ
                                                    << QVariant(QStringLiteral("50%"));
        QTest::newRow("undefined reference kept") << REG_SZ << QVariant(QStringLiteral("%TALVEX_NOPE%"))
                                                  << REG_EXPAND_SZ << QVariant(QStringLiteral("%TALVEX_NOPE%"));
        QTest::newRow("number") << REG_DWORD << QVariant(-5) << REG_DWORD << QVariant(-5);
        QTest::newRow("big-endian written as number") << REG_DWORD_BIG_ENDIAN << QVariant(7) << REG_DWORD
                                                      << QVariant(7);
        QTest::newRow("bytes") << REG_BINARY << QVariant(QByteArray("\x01\x00\xff", 3)) << REG_BINARY
                               << QVariant(QByteArray("\x01\x00\xff", 3));
    }
    void typedValuesRoundTrip()
    {
        QFETCH(quint32, writeType);
        QFETCH(QVariant, written);
        QFETCH(quint32, storedType);
        QFETCH(QVariant, read);
        ShellFixture fixture;
        cRegistry registry = At(Key, QStringLiteral("Value"), writeType);
        registry.Value(written);
        QCOMPARE(registry.Value(), read);

        HKEY key = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, Key, &key), ERROR_SUCCESS);
        quint32 type = 0;
        QByteArray data;
        QCOMPARE(RegQueryValueEx(key, QStringLiteral("value"), &type, &data), ERROR_SUCCESS);
        RegCloseKey(key);
        QCOMPARE(type, storedType);
    }

    void expandableStringReadsExpanded()
    {
        ShellFixture fixture;
        qputenv("TALVEX_TEST_FOLDER", "/data/nc");
        cRegistry registry = At(Key, QStringLiteral("Dir"));
        registry.Value(QStringLiteral("%TALVEX_TEST_FOLDER%/parts"));
        QCOMPARE(registry.Value().toString(), QStringLiteral("/data/nc/parts"));
        qunsetenv("TALVEX_TEST_FOLDER");
    }

    void storedTypesRead()
    {
        ShellFixture fixture;
        HKEY key = 0;
        QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, Key, &key), ERROR_SUCCESS);
        RegSetValueEx(key, QStringLiteral("Big"), REG_DWORD_BIG_ENDIAN, QByteArray("\x01\x02\x03\x04", 4));
        RegSetValueEx(key, QStringLiteral("Multi"), REG_MULTI_SZ,
                      RegMultiStringData({QStringLiteral("a"), QStringLiteral("b")}));
        RegCloseKey(key);
        QCOMPARE(At(Key, QStringLiteral("Big")).Value().toInt(), 0x01020304);
        QCOMPARE(At(Key, QStringLiteral("Multi")).Value().toString(),
                 QStringLiteral("a%1b%1").arg(QChar(0)));
    }

    void namesIgnoreCaseAndKeepIt()
    {
        ShellFixture fixture;
        At(Key, QStringLiteral("DefaultDir")).Value(QStringLiteral("/nc"));
        At(Key, QStringLiteral("Increment"), REG_DWORD).Value(5);
        At(Key + QStringLiteral("\\Sub One")).CreateKey();
        At(Key + QStringLiteral("\\sub two")).CreateKey();

        QCOMPARE(At(Key.toUpper(), QStringLiteral("defaultdir")).Value().toString(), QStringLiteral("/nc"));
        QStringList names;
        int count = -1;
        QVERIFY(At(Key).EnumerateValues(names, count));
        QCOMPARE(count, 2);
        QCOMPARE(names, (QStringList{"DefaultDir", "Increment"}));
        QVERIFY(At(Key).EnumerateSections(names, count));
        QCOMPARE(count, 2);
        QCOMPARE(names, (QStringList{"Sub One", "sub two"}));
        QVERIFY(!At(QStringLiteral("Software\\Missing")).EnumerateValues(names, count));
        QCOMPARE(count, 0);
    }

    void deletion()
    {
        ShellFixture fixture;
        At(Key, QStringLiteral("Gone")).Value(QStringLiteral("x"));
        cRegistry value = At(Key, QStringLiteral("gone"));
        value.DeleteValue();
        QVERIFY(!value.Value().isValid());

        At(Key + QStringLiteral("\\Child")).CreateKey();
        // A key that still has subkeys stays.
        const Error parent = Raised([] { At(Key).DeleteKey(); });
        QCOMPARE(parent.number(), 26001);
        QVERIFY(At(Key).KeyExists());
        At(Key + QStringLiteral("\\Child")).DeleteKey();
        At(Key).DeleteKey();
        QVERIFY(!At(Key).KeyExists());
    }

    void errorTexts()
    {
        ShellFixture fixture;
        const QString source = cRegistry::ErrorSource();
        QCOMPARE(source, QStringLiteral("Pelmar.cRegistry"));

        const Error unsupported = Raised([] { At(Key, QStringLiteral("V"), REG_MULTI_SZ).Value(QStringLiteral("x")); });
        QCOMPARE(unsupported.number(), Error::toNumber(0x800469A9));
        QCOMPARE(unsupported.source(), source);
        QCOMPARE(unsupported.description(),
                 QStringLiteral("Failed to set registry value Key: '-2147483647',Section: '%1',Key: 'V' "
                                "to value: 'x'").arg(Key));

        const Error notBytes = Raised([] { At(Key, QStringLiteral("V"), REG_BINARY).Value(QStringLiteral("x")); });
        QCOMPARE(notBytes.number(), 26001);

        const Error notNumber = Raised([] { At(Key, QStringLiteral("V"), REG_DWORD).Value(QStringLiteral("x")); });
        QCOMPARE(notNumber.number(), Error::toNumber(0x800469A9));

        const QString missing = QStringLiteral("Software\\Missing");
        const Error deleteValue = Raised([&] { At(missing, QStringLiteral("V")).DeleteValue(); });
        QCOMPARE(deleteValue.number(), 26001);
        QCOMPARE(deleteValue.description(),
                 QStringLiteral("Failed to open key '-2147483647',Section: '%1' for delete access").arg(missing));
        QCOMPARE(deleteValue.source(), source);

        At(Key).CreateKey();
        const Error noValue = Raised([] { At(Key, QStringLiteral("V")).DeleteValue(); });
        QCOMPARE(noValue.description(),
                 QStringLiteral("Failed to delete registry Key: '-2147483647',Section: '%1',Key: 'V").arg(Key));

        const Error deleteKey = Raised([&] { At(missing).DeleteKey(); });
        QCOMPARE(deleteKey.description(),
                 QStringLiteral("Failed to delete registry Key: '-2147483647',Section: '%1").arg(missing));
    }

    void associations()
    {
        ShellFixture fixture;
        cRegistry registry;
        const Error noClass = Raised([&] {
            registry.CreateAdditionalEXEAssociations({QStringLiteral("edit"), QStringLiteral("&Edit"), QStringLiteral("x")});
        });
        QCOMPARE(noClass.description(),
                 QStringLiteral("Error - attempt to create additional associations before class defined."));
        const Error badList = Raised([&] { registry.CreateAdditionalEXEAssociations({QStringLiteral("edit")}); });
        QCOMPARE(badList.description(), QStringLiteral("Invalid parameter list passed to "
                                                       "CreateAdditionalEXEAssociations - expected Name/Text/Command"));

        registry.CreateEXEAssociation(QStringLiteral("/opt/talvex/Pelmar"), QStringLiteral("Test.Ext"),
                                      QStringLiteral("Test files"), QStringLiteral(".tst"));
        registry.CreateAdditionalEXEAssociations(
            {QStringLiteral("edit"), QStringLiteral("&Edit"), QStringLiteral("\"/opt/talvex/Pelmar\" /f \"%1\"")});
        const auto defaultOf = [](const QString& path) {
            cRegistry r;
            r.ClassKey(HKEY_CLASSES_ROOT);
            r.SectionKey(path);
            return r.Value().toString();
        };
        QCOMPARE(defaultOf(QStringLiteral(".tst")), QStringLiteral("Test.Ext"));
        QCOMPARE(defaultOf(QStringLiteral("Test.Ext")), QStringLiteral("Test files"));
        QCOMPARE(defaultOf(QStringLiteral("Test.Ext\\shell\\open\\command")),
                 QStringLiteral("\"/opt/talvex/Pelmar\" \"%1\""));
        QCOMPARE(defaultOf(QStringLiteral("Test.Ext\\shell\\print\\command")),
                 QStringLiteral("\"/opt/talvex/Pelmar\" /p \"%1\""));
        QCOMPARE(defaultOf(QStringLiteral("Test.Ext\\shell\\edit")), QStringLiteral("&Edit"));
        QCOMPARE(defaultOf(QStringLiteral("Test.Ext\\DefaultIcon")), QStringLiteral("/opt/talvex/Pelmar,0"));
    }
};

REGISTER_TEST(TestRegistry);
#include "tst_cRegistry.moc"
