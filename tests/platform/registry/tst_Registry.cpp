#include "platform/files/AtomicWrite.h"
#include "platform/files/FileLock.h"
#include "platform/registry/Registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace platform;

namespace {

const QString SharedKey = QStringLiteral("Software\\Talvex\\Shared");

// Makes every write beyond a few bytes fail, even for root: the way to
// prove that a failed write leaves the old hive whole.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

// Opens or creates a key for a test; closes it at the end of the scope.
class Key {
public:
    Key(HKEY root, const QString& path)
    {
        status = RegCreateKeyEx(root, path, &handle, &disposition);
    }
    ~Key() { RegCloseKey(handle); }
    operator HKEY() const { return handle; }
    HKEY handle = 0;
    quint32 disposition = 0;
    LSTATUS status = -1;
};

// The child process of the concurrency tests: writes count values.
int runWriter(const QStringList& args)
{
    SetRegistryFolder(args.value(2));
    const QString prefix = args.value(3);
    const int count = args.value(4).toInt();
    for (int i = 0; i < count; ++i) {
        HKEY key = 0;
        if (RegCreateKeyEx(HKEY_CURRENT_USER, SharedKey, &key) != ERROR_SUCCESS)
            return 2;
        const LSTATUS status = RegSetValueEx(key, prefix + QString::number(i), REG_DWORD, RegDwordData(quint32(i)));
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return 3;
    }
    return 0;
}

// The child process that holds a hive's lock until it is killed.
int runHolder(const QStringList& args)
{
    FileLock lock(LockFileOf(args.value(2)));
    if (lock.lock(10000) != FileLock::Outcome::Locked)
        return 2;
    std::fputs("locked\n", stdout);
    std::fflush(stdout);
    QThread::sleep(600);
    return 0;
}

QString hivePath(HKEY root)
{
    const char* name = root == HKEY_CLASSES_ROOT ? "HKEY_CLASSES_ROOT.hive" : "HKEY_CURRENT_USER.hive";
    return RegistryFolder() + u'/' + QLatin1String(name);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write fixture");
    f.write(bytes);
}

// Every key below key (its path) and every value ("path:name"), in
// enumeration order.
QStringList listing(HKEY key, const QString& path = QString())
{
    QStringList out;
    QString name;
    for (quint32 i = 0; RegEnumValue(key, i, &name) == ERROR_SUCCESS; ++i)
        out << path + u':' + name;
    for (quint32 i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i) {
        const QString childPath = path.isEmpty() ? name : path + u'\\' + name;
        HKEY child = 0;
        if (RegOpenKeyEx(key, name, &child) != ERROR_SUCCESS)
            return out << "cannot open " + childPath;
        out << childPath << listing(child, childPath);
        RegCloseKey(child);
    }
    return out;
}

// A key path of `levels` keys, each named `name`.
QString deepPath(int levels, const QString& name = QStringLiteral("k"))
{
    return QStringList(levels, name).join(u'\\');
}

// A hive that nests `levels` keys "a", one record a level.
QByteArray nestedHive(int levels)
{
    QByteArray hive = "TalvexHive 2\n";
    for (int level = 1; level <= levels; ++level)
        hive += "K " + QByteArray::number(level) + " a\n";
    return hive + "E " + QByteArray::number(levels) + " 0\n";
}

// Forgets the cached hives, so that what follows reads the files.
void reloadFromDisk() { SetRegistryFolder(RegistryFolder()); }

}  // namespace

class RegistryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QStringList damage_;

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        SetRegistryFolder(dir_->path());
        damage_.clear();
        SetRegistryDamageHandler([this](const QString& file, const QString& problem) {
            damage_ << QFileInfo(file).fileName() + QStringLiteral(": ") + problem;
        });
    }
    void cleanup()
    {
        SetRegistryDamageHandler({});
        SetRegistryFolder(QString());
        dir_.reset();
    }

    void defaultFolderComesFromTheEnvironment()
    {
        if (qEnvironmentVariableIsEmpty("TALVEX_REGISTRY_DIR"))
            QSKIP("run through ctest, which sets TALVEX_REGISTRY_DIR");
        SetRegistryFolder(QString());
        QCOMPARE(RegistryFolder(), QDir::cleanPath(qEnvironmentVariable("TALVEX_REGISTRY_DIR")));
        QVERIFY(!RegistryFolder().isEmpty());
    }

    void typedValuesRoundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("string") << "DefaultDir" << REG_SZ << RegStringData("/home/nc programs");
        QTest::newRow("default value") << "" << REG_SZ << RegStringData("Talvex");
        QTest::newRow("expandable") << "Path" << REG_EXPAND_SZ << RegStringData("%HOME%/nc");
        QTest::newRow("binary with every byte") << "Blob" << REG_BINARY << [] {
            QByteArray b;
            for (int i = 0; i < 256; ++i)
                b += char(i);
            return b;
        }();
        QTest::newRow("number") << "Startnumber" << REG_DWORD << RegDwordData(10);
        QTest::newRow("big-endian number") << "Big" << REG_DWORD_BIG_ENDIAN << RegDwordBigEndianData(0x01020304);
        QTest::newRow("multi-string") << "List" << REG_MULTI_SZ << RegMultiStringData({"%", "(", "O"});
        QTest::newRow("empty data") << "Empty" << REG_BINARY << QByteArray();
        QTest::newRow("data that is a dash") << "Dash" << REG_SZ << QByteArray("-");
        QTest::newRow("line breaks and blanks in data") << "Lines" << REG_SZ << QByteArray("a b\r\nE 0 0\nK x");
        QTest::newRow("invalid UTF-8") << "Latin" << REG_SZ << QByteArray("\xE9t\xE9\0", 4);
        QTest::newRow("name with blanks, percent, backslash") << "a b%20\\c" << REG_SZ << QByteArray("x");
        QTest::newRow("name that starts with @") << "@home" << REG_SZ << QByteArray("y");
        QTest::newRow("name that is a dash") << "-" << REG_SZ << QByteArray("z");
        QTest::newRow("unicode name and data") << QString::fromUtf8("Größe ⌀") << REG_SZ << RegStringData(QString::fromUtf8("Ø 12 µm"));
        QTest::newRow("unknown type") << "Odd" << quint32(11) << QByteArray("\x01\x02", 2);
    }
    void typedValuesRoundTrip()
    {
        QFETCH(QString, name);
        QFETCH(quint32, type);
        QFETCH(QByteArray, data);
        {
            Key key(HKEY_CURRENT_USER, "Software\\Corvane Software Development Inc.\\KroEditorV50");
            QCOMPARE(key.status, ERROR_SUCCESS);
            QCOMPARE(RegSetValueEx(key, name, type, data), ERROR_SUCCESS);
        }
        reloadFromDisk();
        QVERIFY(damage_.isEmpty());
        HKEY key = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Corvane Software Development Inc.\\KroEditorV50", &key),
                 ERROR_SUCCESS);
        quint32 readType = 0;
        QByteArray readData;
        QCOMPARE(RegQueryValueEx(key, name, &readType, &readData), ERROR_SUCCESS);
        QCOMPARE(readType, type);
        QCOMPARE(readData, data);
        QString enumerated;
        QCOMPARE(RegEnumValue(key, 0, &enumerated), ERROR_SUCCESS);
        QCOMPARE(enumerated, name);
        RegCloseKey(key);
        QVERIFY(damage_.isEmpty());
    }

    // A U+FEFF that starts a key name, a value name or a string is text:
    // reading the hive once dropped it.
    void keepsLeadingByteOrderMark()
    {
        const QString mark(QChar(0xFEFF));
        {
            Key key(HKEY_CURRENT_USER, mark + "Key");
            QCOMPARE(RegSetValueEx(key, mark + "v", REG_SZ, RegStringData(mark + "data")), ERROR_SUCCESS);
            QCOMPARE(RegSetValueEx(key, "list", REG_MULTI_SZ, RegMultiStringData({mark, mark + "b"})), ERROR_SUCCESS);
        }
        reloadFromDisk();
        QString name;
        QCOMPARE(RegEnumKeyEx(HKEY_CURRENT_USER, 0, &name), ERROR_SUCCESS);
        QCOMPARE(name, mark + "Key");
        Key key(HKEY_CURRENT_USER, mark + "key");
        QCOMPARE(key.disposition, REG_OPENED_EXISTING_KEY);
        QByteArray data;
        QCOMPARE(RegEnumValue(key, 0, &name, nullptr, &data), ERROR_SUCCESS);
        QCOMPARE(name, mark + "v");
        QCOMPARE(RegStringFromData(data), mark + "data");
        QCOMPARE(RegQueryValueEx(key, "list", nullptr, &data), ERROR_SUCCESS);
        QCOMPARE(RegMultiStringFromData(data), (QStringList{mark, mark + "b"}));
        QVERIFY(damage_.isEmpty());
    }

    void namesMatchIgnoringCaseAndKeepTheirCase()
    {
        {
            Key key(HKEY_CURRENT_USER, "Software\\Corvane\\KroEditorV50");
            QCOMPARE(key.disposition, REG_CREATED_NEW_KEY);
            QCOMPARE(RegSetValueEx(key, "DefaultDir", REG_SZ, RegStringData("a")), ERROR_SUCCESS);
            QCOMPARE(RegSetValueEx(key, "DEFAULTDIR", REG_SZ, RegStringData("b")), ERROR_SUCCESS);
        }
        Key again(HKEY_CURRENT_USER, "SOFTWARE\\corvane\\\\kroeditorv50\\");
        QCOMPARE(again.disposition, REG_OPENED_EXISTING_KEY);
        QByteArray data;
        QCOMPARE(RegQueryValueEx(again, "defaultdir", nullptr, &data), ERROR_SUCCESS);
        QCOMPARE(RegStringFromData(data), QString("b"));
        quint32 values = 0;
        QCOMPARE(RegQueryInfoKey(again, nullptr, &values), ERROR_SUCCESS);
        QCOMPARE(values, 1u);
        QString name;
        QCOMPARE(RegEnumValue(again, 0, &name), ERROR_SUCCESS);
        QCOMPARE(name, QString("DefaultDir"));
        QCOMPARE(RegEnumKeyEx(HKEY_CURRENT_USER, 0, &name), ERROR_SUCCESS);
        QCOMPARE(name, QString("Software"));
        HKEY sub = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "software", &sub), ERROR_SUCCESS);
        QCOMPARE(RegEnumKeyEx(sub, 0, &name), ERROR_SUCCESS);
        QCOMPARE(name, QString("Corvane"));
        RegCloseKey(sub);
    }

    void createsWholePathAndSaysWhetherItExisted()
    {
        Key created(HKEY_CLASSES_ROOT, "A\\B\\C");
        QCOMPARE(created.status, ERROR_SUCCESS);
        QCOMPARE(created.disposition, REG_CREATED_NEW_KEY);
        Key middle(HKEY_CLASSES_ROOT, "a\\b");
        QCOMPARE(middle.disposition, REG_OPENED_EXISTING_KEY);
        // Below an open handle.
        Key below(middle, "c\\D");
        QCOMPARE(below.disposition, REG_CREATED_NEW_KEY);
        HKEY opened = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CLASSES_ROOT, "A\\B\\C\\D", &opened), ERROR_SUCCESS);
        RegCloseKey(opened);
        // Other hives are separate files.
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "A", &opened), ERROR_FILE_NOT_FOUND);
        QVERIFY(QFileInfo::exists(hivePath(HKEY_CLASSES_ROOT)));
        QVERIFY(!QFileInfo::exists(hivePath(HKEY_CURRENT_USER)));
    }

    void enumeratesKeysByNameAndValuesByCreation()
    {
        Key key(HKEY_CURRENT_USER, "Order");
        for (const char* sub : {"b", "A", "c", "B2"})
            Key(key, sub);
        for (const char* value : {"zeta", "Alpha", "mid"})
            RegSetValueEx(key, value, REG_DWORD, RegDwordData(1));
        reloadFromDisk();
        Key reopened(HKEY_CURRENT_USER, "order");
        QStringList keys;
        QString name;
        quint32 i = 0;
        while (RegEnumKeyEx(reopened, i++, &name) == ERROR_SUCCESS)
            keys << name;
        QCOMPARE(keys, (QStringList{"A", "b", "B2", "c"}));
        QCOMPARE(RegEnumKeyEx(reopened, 4, &name), ERROR_NO_MORE_ITEMS);
        QStringList values;
        i = 0;
        while (RegEnumValue(reopened, i++, &name) == ERROR_SUCCESS)
            values << name;
        QCOMPARE(values, (QStringList{"zeta", "Alpha", "mid"}));
        quint32 subKeys = 0, valueCount = 0, longestKey = 0, longestName = 0, longestData = 0;
        QCOMPARE(RegQueryInfoKey(reopened, &subKeys, &valueCount, &longestKey, &longestName, &longestData),
                 ERROR_SUCCESS);
        QCOMPARE(subKeys, 4u);
        QCOMPARE(valueCount, 3u);
        QCOMPARE(longestKey, 2u);
        QCOMPARE(longestName, 5u);
        QCOMPARE(longestData, 4u);
    }

    void deletesValuesAndKeys()
    {
        Key parent(HKEY_CURRENT_USER, "Del");
        Key child(parent, "Child");
        RegSetValueEx(child, "v", REG_SZ, RegStringData("x"));
        RegSetValueEx(child, "w", REG_SZ, RegStringData("y"));

        QCOMPARE(RegDeleteValue(child, "V"), ERROR_SUCCESS);
        QCOMPARE(RegDeleteValue(child, "v"), ERROR_FILE_NOT_FOUND);
        QString name;
        QCOMPARE(RegEnumValue(child, 0, &name), ERROR_SUCCESS);
        QCOMPARE(name, QString("w"));

        // A key with subkeys stays whole.
        QCOMPARE(RegDeleteKey(HKEY_CURRENT_USER, "Del"), ERROR_ACCESS_DENIED);
        QCOMPARE(RegQueryValueEx(child, "w", nullptr, nullptr), ERROR_SUCCESS);
        QCOMPARE(RegDeleteKey(HKEY_CURRENT_USER, "Del\\Missing"), ERROR_FILE_NOT_FOUND);
        QCOMPARE(RegDeleteKey(parent, "child"), ERROR_SUCCESS);
        // The open handle now names a key that is gone.
        QCOMPARE(RegQueryValueEx(child, "w", nullptr, nullptr), ERROR_KEY_DELETED);
        QCOMPARE(RegSetValueEx(child, "w", REG_SZ, QByteArray()), ERROR_KEY_DELETED);
        QCOMPARE(RegDeleteKey(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);

        Key tree(HKEY_CURRENT_USER, "Tree\\One\\Two");
        RegSetValueEx(tree, "deep", REG_DWORD, RegDwordData(2));
        QCOMPARE(RegDeleteTree(HKEY_CURRENT_USER, "tree"), ERROR_SUCCESS);
        HKEY gone = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "Tree", &gone), ERROR_FILE_NOT_FOUND);
        reloadFromDisk();
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "Tree", &gone), ERROR_FILE_NOT_FOUND);
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "Del", &gone), ERROR_SUCCESS);
        RegCloseKey(gone);
    }

    void badHandlesAndNames()
    {
        QCOMPARE(RegQueryValueEx(0x1234, "x", nullptr, nullptr), ERROR_INVALID_HANDLE);
        HKEY key = 0;
        QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, "Close", &key), ERROR_SUCCESS);
        QCOMPARE(RegCloseKey(key), ERROR_SUCCESS);
        QCOMPARE(RegCloseKey(key), ERROR_INVALID_HANDLE);
        QCOMPARE(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
        QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, QString(256, u'k'), &key), ERROR_INVALID_PARAMETER);
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "Missing\\Key", &key), ERROR_FILE_NOT_FOUND);
        QCOMPARE(key, HKEY(0));
    }

    void dataHelpers()
    {
        QCOMPARE(RegDwordBigEndianFromData(QByteArray("\x01\x02\x03\x04", 4)), 0x01020304u);
        QCOMPARE(RegDwordFromData(QByteArray("\x01\x02\x03\x04", 4)), 0x04030201u);
        QCOMPARE(RegDwordFromData(RegDwordData(0xFFFFFFFEu)), 0xFFFFFFFEu);
        QCOMPARE(RegDwordFromData("ab"), 0u);
        QCOMPARE(RegStringData("ab"), QByteArray("ab\0", 3));
        QCOMPARE(RegStringFromData(QByteArray("ab", 2)), QString("ab"));  // no NUL: kept whole
        QCOMPARE(RegMultiStringFromData(RegMultiStringData({"a", "bc"})), (QStringList{"a", "bc"}));
        QCOMPARE(RegMultiStringData({"a"}), QByteArray("a\0\0", 3));
    }

    void expandsDefinedVariablesOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("defined") << "%TALVEX_TEST_VAR%/x" << "/data/x";
        QTest::newRow("undefined kept") << "%TALVEX_NOPE%/x" << "%TALVEX_NOPE%/x";
        QTest::newRow("single percent") << "50% off" << "50% off";
        QTest::newRow("undefined then defined") << "%TALVEX_NOPE%TALVEX_TEST_VAR%" << "%TALVEX_NOPE/data";
        QTest::newRow("two") << "%TALVEX_TEST_VAR%%TALVEX_TEST_VAR%" << "/data/data";
        QTest::newRow("empty name") << "a%%b" << "a%%b";
    }
    void expandsDefinedVariablesOnly()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        qputenv("TALVEX_TEST_VAR", "/data");
        QCOMPARE(ExpandEnvironmentStrings(text), expected);
    }

    void programSettings()
    {
        QCOMPARE(GetSetting("KroEditorV50", "RecentFiles", "RecentFile1", "Not Used"), QString("Not Used"));
        QVERIFY(SaveSetting("KroEditorV50", "RecentFiles", "RecentFile1", "/nc/a.nc"));
        QCOMPARE(GetSetting("kroeditorv50", "recentfiles", "RECENTFILE1", "Not Used"), QString("/nc/a.nc"));
        QVERIFY(DeleteSetting("KroEditorV50", "RecentFiles", "RecentFile1"));
        QCOMPARE(GetSetting("KroEditorV50", "RecentFiles", "RecentFile1", "x"), QString("x"));
        QVERIFY(SaveSetting("KroEditorV50", "RecentFiles", "RecentFile2", "b"));
        QVERIFY(DeleteSetting("KroEditorV50", "RecentFiles"));
        QCOMPARE(GetSetting("KroEditorV50", "RecentFiles", "RecentFile2", "x"), QString("x"));
    }

    void unchangedWriteLeavesTheFileAlone()
    {
        Key key(HKEY_CURRENT_USER, "Same");
        RegSetValueEx(key, "v", REG_DWORD, RegDwordData(1));
        const QDateTime before = QFileInfo(hivePath(HKEY_CURRENT_USER)).lastModified();
        QTest::qWait(20);
        RegSetValueEx(key, "V", REG_DWORD, RegDwordData(1));
        Key(HKEY_CURRENT_USER, "same");
        QCOMPARE(QFileInfo(hivePath(HKEY_CURRENT_USER)).lastModified(), before);
    }

    void failedWriteKeepsOldHive()
    {
        Key key(HKEY_CURRENT_USER, "Software\\Keep");
        QCOMPARE(RegSetValueEx(key, "old", REG_SZ, RegStringData("value")), ERROR_SUCCESS);
        const QByteArray before = contents(hivePath(HKEY_CURRENT_USER));
        {
            FileSizeLimit limit(before.size() + 10);
            QCOMPARE(RegSetValueEx(key, "big", REG_BINARY, QByteArray(4096, 'x')), ERROR_ACCESS_DENIED);
        }
        QCOMPARE(contents(hivePath(HKEY_CURRENT_USER)), before);
        // The failed change is not kept in memory either.
        QCOMPARE(RegQueryValueEx(key, "big", nullptr, nullptr), ERROR_FILE_NOT_FOUND);
        QCOMPARE(RegQueryValueEx(key, "old", nullptr, nullptr), ERROR_SUCCESS);
        const QStringList files = QDir(RegistryFolder()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.filter(".hive").size(), 1);  // no temporary file left behind
    }

    void fullDiskKeepsOldHive()
    {
        Key key(HKEY_CURRENT_USER, "Software\\Keep");
        QCOMPARE(RegSetValueEx(key, "old", REG_SZ, RegStringData("value")), ERROR_SUCCESS);
        const QByteArray before = contents(hivePath(HKEY_CURRENT_USER));
        SetSimulatedFreeSpaceForTests(before.size() + 10);
        const LSTATUS status = RegSetValueEx(key, "big", REG_BINARY, QByteArray(4096, 'x'));
        SetSimulatedFreeSpaceForTests(-1);
        QCOMPARE(status, ERROR_ACCESS_DENIED);
        QCOMPARE(contents(hivePath(HKEY_CURRENT_USER)), before);
        QCOMPARE(RegQueryValueEx(key, "big", nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    }

    void unwritableFolderFails()
    {
        // A registry folder that cannot be created: a file stands in its way.
        writeFile(dir_->filePath("file"), "x");
        SetRegistryFolder(dir_->filePath("file/registry"));
        HKEY key = 0;
        QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, "X", &key), ERROR_ACCESS_DENIED);
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, "X", &key), ERROR_FILE_NOT_FOUND);
    }

    void twoProcessesDoNotLoseEachOthersValues()
    {
        const int count = 200;
        std::vector<std::unique_ptr<QProcess>> writers;
        for (const char* prefix : {"first", "second"}) {
            auto p = std::make_unique<QProcess>();
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            p->start(QCoreApplication::applicationFilePath(),
                     {"--writer", RegistryFolder(), prefix, QString::number(count)});
            writers.push_back(std::move(p));
        }
        // Meanwhile this process writes too.
        Key mine(HKEY_CURRENT_USER, SharedKey);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(RegSetValueEx(mine, "mine" + QString::number(i), REG_DWORD, RegDwordData(i)), ERROR_SUCCESS);
        for (auto& p : writers) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        quint32 values = 0;
        QCOMPARE(RegQueryInfoKey(mine, nullptr, &values), ERROR_SUCCESS);
        QCOMPARE(values, quint32(2 * count + 50));
        QByteArray data;
        QCOMPARE(RegQueryValueEx(mine, "second199", nullptr, &data), ERROR_SUCCESS);
        QCOMPARE(RegDwordFromData(data), 199u);
        reloadFromDisk();
        Key reread(HKEY_CURRENT_USER, SharedKey);
        QCOMPARE(RegQueryInfoKey(reread, nullptr, &values), ERROR_SUCCESS);
        QCOMPARE(values, quint32(2 * count + 50));
        QVERIFY2(damage_.isEmpty(), qPrintable(damage_.join('\n')));
    }

    // A lock left by a writer that was killed is taken over at once; an
    // empty lock file once blocked every write for 30 seconds.
    void lockOfAKilledWriterIsTakenOver_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::newRow("empty lock file") << true;
        QTest::newRow("holder killed") << false;
    }
    void lockOfAKilledWriterIsTakenOver()
    {
        QFETCH(bool, empty);
        const QString hive = hivePath(HKEY_CURRENT_USER);
        if (empty) {
            writeFile(LockFileOf(hive), QByteArray());
        } else {
            QProcess holder;
            holder.start(QCoreApplication::applicationFilePath(), {"--hold", hive});
            QVERIFY(holder.waitForReadyRead(60000));
            QCOMPARE(holder.readLine(), QByteArray("locked\n"));
            holder.kill();
            QVERIFY(holder.waitForFinished(60000));
            QCOMPARE(holder.exitStatus(), QProcess::CrashExit);
        }
        QVERIFY(QFileInfo::exists(LockFileOf(hive)));
        Key key(HKEY_CURRENT_USER, SharedKey);
        QCOMPARE(key.status, ERROR_SUCCESS);
        QCOMPARE(RegSetValueEx(key, "after", REG_DWORD, RegDwordData(1)), ERROR_SUCCESS);
        QVERIFY(!QFileInfo::exists(LockFileOf(hive)));
    }

    // Keys nest at most 512 levels; a create below that fails and writes
    // nothing. One 10,000 levels deep once overflowed the stack.
    void createBelowTheDepthLimitFails()
    {
        Key deepest(HKEY_CURRENT_USER, deepPath(MaxKeyDepth));
        QCOMPARE(deepest.status, ERROR_SUCCESS);
        QCOMPARE(deepest.disposition, REG_CREATED_NEW_KEY);
        const QByteArray before = contents(hivePath(HKEY_CURRENT_USER));
        HKEY key = 0;
        QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, deepPath(MaxKeyDepth + 1), &key), ERROR_INVALID_PARAMETER);
        QCOMPARE(RegCreateKeyEx(deepest, "one more", &key), ERROR_INVALID_PARAMETER);
        QCOMPARE(RegCreateKeyEx(HKEY_CURRENT_USER, deepPath(10000, "x"), &key), ERROR_INVALID_PARAMETER);
        QCOMPARE(key, HKEY(0));
        QCOMPARE(contents(hivePath(HKEY_CURRENT_USER)), before);
        Key half(HKEY_CURRENT_USER, deepPath(MaxKeyDepth / 2));
        Key rest(half, deepPath(MaxKeyDepth / 2));
        QCOMPARE(rest.disposition, REG_OPENED_EXISTING_KEY);
        QCOMPARE(RegCreateKeyEx(half, deepPath(MaxKeyDepth / 2 + 1), &key), ERROR_INVALID_PARAMETER);
        QCOMPARE(RegSetValueEx(deepest, "v", REG_SZ, RegStringData("deep")), ERROR_SUCCESS);
        QCOMPARE(RegDeleteTree(HKEY_CURRENT_USER, "k"), ERROR_SUCCESS);
        quint32 subKeys = 1;
        QCOMPARE(RegQueryInfoKey(HKEY_CURRENT_USER, &subKeys, nullptr), ERROR_SUCCESS);
        QCOMPARE(subKeys, 0u);
    }

    // Each key record once repeated the whole path above it: a deep key
    // made the hive grow with the square of its depth.
    void deepKeyKeepsTheHiveSmall()
    {
        const QString name = QStringLiteral("Level");
        Key deepest(HKEY_CURRENT_USER, deepPath(MaxKeyDepth, name));
        QCOMPARE(RegSetValueEx(deepest, "v", REG_DWORD, RegDwordData(7)), ERROR_SUCCESS);
        const qint64 size = QFileInfo(hivePath(HKEY_CURRENT_USER)).size();
        QVERIFY2(size < MaxKeyDepth * 16, qPrintable(QString::number(size)));
        reloadFromDisk();
        HKEY reread = 0;
        QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, deepPath(MaxKeyDepth, name.toUpper()), &reread), ERROR_SUCCESS);
        QByteArray data;
        QCOMPARE(RegQueryValueEx(reread, "v", nullptr, &data), ERROR_SUCCESS);
        QCOMPARE(RegDwordFromData(data), 7u);
        RegCloseKey(reread);
        QVERIFY2(damage_.isEmpty(), qPrintable(damage_.join('\n')));
    }

    // Hives written before keys were nested by level name each key's whole
    // path; they stay readable, and the next change writes the new form.
    void hiveOfWholePathsIsRead()
    {
        writeFile(hivePath(HKEY_CURRENT_USER),
                  "TalvexHive 1\nV top 1 t\nK A\nK A\\B\nV x 1 y\nK A\\B\\C\nK E\nV z 4 %01%00%00%00\nE 4 3\n");
        const QStringList found{":top", "A", "A\\B", "A\\B:x", "A\\B\\C", "E", "E:z"};
        QCOMPARE(listing(HKEY_CURRENT_USER), found);
        Key added(HKEY_CURRENT_USER, "F");
        QCOMPARE(added.status, ERROR_SUCCESS);
        QVERIFY(contents(hivePath(HKEY_CURRENT_USER)).startsWith("TalvexHive 2\n"));
        reloadFromDisk();
        QCOMPARE(listing(HKEY_CURRENT_USER), found + QStringList{"F"});
        QVERIFY2(damage_.isEmpty(), qPrintable(damage_.join('\n')));
    }

    // Records deeper than the limit are damage: skipped, reported, and a
    // later write neither crashes nor brings them back.
    void tooDeepRecordsAreDamage_data()
    {
        QTest::addColumn<QByteArray>("hive");
        QTest::addColumn<int>("depth");  // of the deepest key read
        QTest::addColumn<QString>("problem");
        QTest::newRow("one whole path 10,000 keys deep")
            << "TalvexHive 1\nK " + deepPath(10000, "a").toUtf8() + "\nE 1 0\n" << 0
            << "line 2: key deeper than 512 levels";
        QTest::newRow("10,000 nested records") << nestedHive(10000) << MaxKeyDepth
                                               << "line 514: key deeper than 512 levels";
        QTest::newRow("512 nested records") << nestedHive(MaxKeyDepth) << MaxKeyDepth << "";
    }
    void tooDeepRecordsAreDamage()
    {
        QFETCH(QByteArray, hive);
        QFETCH(int, depth);
        QFETCH(QString, problem);
        writeFile(hivePath(HKEY_CURRENT_USER), hive);
        for (int pass = 0; pass < 2; ++pass) {
            HKEY key = 0;
            QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, deepPath(depth, "a"), &key), ERROR_SUCCESS);
            RegCloseKey(key);
            QCOMPARE(RegOpenKeyEx(HKEY_CURRENT_USER, deepPath(depth + 1, "a"), &key), ERROR_FILE_NOT_FOUND);
            QCOMPARE(damage_, problem.isEmpty() ? QStringList() : QStringList{"HKEY_CURRENT_USER.hive: " + problem});
            Key added(HKEY_CURRENT_USER, "B" + QString::number(pass));
            QCOMPARE(added.status, ERROR_SUCCESS);
            reloadFromDisk();
        }
    }

    void damagedHiveIsReadAsFarAsSound_data()
    {
        QTest::addColumn<QByteArray>("hive");
        QTest::addColumn<QStringList>("found");  // keys and "key:value" read from it
        QTest::addColumn<QString>("problem");
        const QByteArray head = "TalvexHive 1\nK A\nV one 4 %01%00%00%00\n";
        const QStringList aOne{"A", "A:one"};
        QTest::newRow("sound") << head + "V two 1 x\nE 1 2\n" << aOne + QStringList{"A:two"} << "";
        QTest::newRow("end record missing")
            << head + "V two 1 x\n" << aOne + QStringList{"A:two"} << "line 5: the end record is missing";
        QTest::newRow("cut in the middle of a record")
            << head + "V tw" << aOne << "line 4: bad record";
        QTest::newRow("junk line in the middle")
            << head + "\x01\x02junk\nV two 1 x\nK C\nV three 1 y\nE 2 3\n"
            << aOne + QStringList{"A:two", "C", "C:three"} << "line 4: bad record";
        QTest::newRow("empty line in the middle")
            << head + "\nV two 1 x\nE 1 2\n" << aOne + QStringList{"A:two"} << "line 4: bad record";
        QTest::newRow("bad value in the middle")
            << head + "V two 1 %G1\nV after 1 z\nK C\nV three 1 y\nE 2 4\n"
            << aOne + QStringList{"A:after", "C", "C:three"} << "line 4: bad value";
        QTest::newRow("bad key in the middle: its values are skipped, not filed elsewhere")
            << head + "K A\\%G1\nV lost 1 q\nK C\nV three 1 y\nE 3 3\n"
            << aOne + QStringList{"C", "C:three"} << "line 4: bad key path";
        QTest::newRow("two records run together")
            << head + "V two 1 xV three 1 y\nV four 1 w\nE 1 4\n"
            << aOne + QStringList{"A:four"} << "line 4: bad record";
        QTest::newRow("counts do not match") << head + "E 1 5\n" << aOne
                                             << "line 4: counts do not match the records";
        QTest::newRow("records after the end") << head + "E 1 1\nV two 1 x\n" << aOne + QStringList{"A:two"}
                                               << "line 5: records after the end";
        QTest::newRow("nested: a key whose parent is missing")
            << QByteArray("TalvexHive 2\nK 1 A\nK 3 B\nV lost 1 q\nK 2 C\nV kept 1 k\nE 2 1\n")
            << QStringList{"A", "A\\C", "A\\C:kept"} << "line 3: bad key path";
        QTest::newRow("nested: a bad key takes the keys below it along")
            << QByteArray("TalvexHive 2\nK 1 A\nK 2 %G1\nK 3 D\nV lost 1 q\nK 2 C\nE 2 0\n")
            << QStringList{"A", "A\\C"} << "line 3: bad key path";
        QTest::newRow("nested: a key name holding a backslash")
            << QByteArray("TalvexHive 2\nK 1 A\nK 2 B\\C\nV lost 1 q\nK 2 D%5CE\nK 2 F\nE 2 0\n")
            << QStringList{"A", "A\\F"} << "line 3: bad key path";
        QTest::newRow("whole path: an escaped backslash in a name")
            << QByteArray("TalvexHive 1\nK A\nK A\\B%5CC\nV lost 1 q\nK D\nE 2 0\n")
            << QStringList{"A", "D"} << "line 3: bad key path";
        QTest::newRow("nested: a level that is no number")
            << QByteArray("TalvexHive 2\nK 1 A\nK x B\nK 2 D\nK 1 C\nE 2 0\n")
            << QStringList{"A", "C"} << "line 3: bad key path";
        QTest::newRow("not a hive") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0", 10) << QStringList{}
                                    << "line 1: not a registry hive";
    }
    void damagedHiveIsReadAsFarAsSound()
    {
        QFETCH(QByteArray, hive);
        QFETCH(QStringList, found);
        QFETCH(QString, problem);
        writeFile(hivePath(HKEY_CURRENT_USER), hive);
        QCOMPARE(listing(HKEY_CURRENT_USER), found);
        RegQueryInfoKey(HKEY_CURRENT_USER, nullptr, nullptr);  // a second read: no second report
        QCOMPARE(damage_, problem.isEmpty() ? QStringList() : QStringList{"HKEY_CURRENT_USER.hive: " + problem});
        if (problem.isEmpty())
            return;
        // The first change keeps the damaged file aside and writes a sound
        // hive that still holds all that was read.
        Key fresh(HKEY_CURRENT_USER, "B");
        QCOMPARE(fresh.status, ERROR_SUCCESS);
        QCOMPARE(contents(hivePath(HKEY_CURRENT_USER) + ".damaged"), hive);
        reloadFromDisk();
        QStringList expected = found + QStringList{"B"};
        expected.sort(Qt::CaseInsensitive);
        QStringList written = listing(HKEY_CURRENT_USER);
        written.sort(Qt::CaseInsensitive);
        QCOMPARE(written, expected);
        QCOMPARE(damage_.size(), 1);
    }

    void otherProcessesChangesAreSeen()
    {
        Key key(HKEY_CURRENT_USER, SharedKey);
        QCOMPARE(RegQueryValueEx(key, "other0", nullptr, nullptr), ERROR_FILE_NOT_FOUND);
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), {"--writer", RegistryFolder(), "other", "1"});
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(RegQueryValueEx(key, "other0", nullptr, nullptr), ERROR_SUCCESS);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QStringLiteral("--writer"))
        return runWriter(app.arguments());
    if (app.arguments().value(1) == QStringLiteral("--hold"))
        return runHolder(app.arguments());
    RegistryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Registry.moc"
