#include "platform/registry/Registry.h"

#include "platform/files/AtomicWrite.h"
#include "platform/files/FileLock.h"
#include "platform/files/FileText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace platform {
namespace {

// ---------------------------------------------------------------- the tree

struct Value {
    QString name;
    quint32 type = REG_NONE;
    QByteArray data;
    QByteArray record;  // the value's line in the hive file, made when first needed
};

QString fold(const QString& name) { return name.toCaseFolded(); }

struct Key {
    QString name;
    QString folded;
    std::vector<std::unique_ptr<Key>> children;  // sorted by folded name
    std::vector<Value> values;                   // in creation order
    QHash<QString, size_t> valueIndex;           // folded name -> index in values

    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    // Frees the keys below without recursion, however deep they nest.
    ~Key()
    {
        std::vector<std::unique_ptr<Key>> pending = std::move(children);
        while (!pending.empty()) {
            std::unique_ptr<Key> key = std::move(pending.back());
            pending.pop_back();
            for (auto& child : key->children)
                pending.push_back(std::move(child));
            key->children.clear();
        }
    }

    auto childPosition(const QString& foldedName)
    {
        return std::lower_bound(children.begin(), children.end(), foldedName,
                                [](const std::unique_ptr<Key>& k, const QString& n) { return k->folded < n; });
    }

    Key* child(const QString& name)
    {
        const QString f = fold(name);
        auto it = childPosition(f);
        return it != children.end() && (*it)->folded == f ? it->get() : nullptr;
    }

    Key* addChild(const QString& name)
    {
        auto key = std::make_unique<Key>();
        key->name = name;
        key->folded = fold(name);
        auto it = childPosition(key->folded);
        return children.insert(it, std::move(key))->get();
    }

    bool removeChild(const QString& name)
    {
        const QString f = fold(name);
        auto it = childPosition(f);
        if (it == children.end() || (*it)->folded != f)
            return false;
        children.erase(it);
        return true;
    }

    Value* value(const QString& name)
    {
        auto it = valueIndex.constFind(fold(name));
        return it == valueIndex.cend() ? nullptr : &values[it.value()];
    }

    // Returns whether anything changed.
    bool setValue(const QString& name, quint32 type, const QByteArray& data)
    {
        if (Value* v = value(name)) {
            if (v->type == type && v->data == data)
                return false;
            v->type = type;
            v->data = data;
            v->record.clear();
            return true;
        }
        valueIndex.insert(fold(name), values.size());
        values.push_back(Value{name, type, data, QByteArray()});
        return true;
    }

    bool removeValue(const QString& name)
    {
        auto it = valueIndex.find(fold(name));
        if (it == valueIndex.end())
            return false;
        const size_t index = it.value();
        values.erase(values.begin() + qsizetype(index));
        valueIndex.erase(it);
        for (auto& i : valueIndex) {
            if (i > index)
                --i;
        }
        return true;
    }
};

// ------------------------------------------------------------- the format

const QByteArray HiveHeader = "TalvexHive 2";
const QByteArray WholePathHiveHeader = "TalvexHive 1";  // read, no longer written

bool validUtf8(const QByteArray& bytes)
{
    for (unsigned char c : bytes) {
        if (c >= 0x80)
            return TextFromUtf8(bytes).toUtf8() == bytes;
    }
    return true;
}

// Escapes one field; see the header for the rules.
QByteArray escape(const QByteArray& bytes, bool isName)
{
    static const char hex[] = "0123456789ABCDEF";
    const bool keepHigh = validUtf8(bytes);
    QByteArray out;
    out.reserve(bytes.size() + 8);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const bool escaped = c < 0x21 || c == 0x7F || c == '%' || (c >= 0x80 && !keepHigh)
                             || (isName && (c == '\\' || (i == 0 && c == '@')));
        if (escaped) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<QByteArray> unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c != '%') {
            if (static_cast<unsigned char>(c) < 0x21 || c == 0x7F)
                return std::nullopt;
            out += c;
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const int high = hexDigit(field[i + 1]);
        const int low = hexDigit(field[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += char(high * 16 + low);
        i += 2;
    }
    return out;
}

QByteArray encodeName(const QString& name)
{
    return name.isEmpty() ? QByteArray("@") : escape(name.toUtf8(), true);
}

QByteArray encodeData(const QByteArray& data)
{
    if (data.isEmpty())
        return "-";
    if (data == "-")
        return "%2D";
    return escape(data, false);
}

void serializeValues(Key& key, QByteArray& out, quint64& values)
{
    for (Value& v : key.values) {
        // Kept with the value: a change rewrites the whole hive, and most
        // of it is the same as last time.
        if (v.record.isEmpty())
            v.record = "V " + encodeName(v.name) + ' ' + QByteArray::number(v.type) + ' '
                       + encodeData(v.data) + '\n';
        out += v.record;
        ++values;
    }
}

// Writes the keys depth first in name order, each with its level and own
// name only (so a deep key costs its depth, not the square of it), without
// recursion.
QByteArray serialize(Key& root, qsizetype sizeHint)
{
    QByteArray out;
    out.reserve(sizeHint + 4096);
    out += HiveHeader + '\n';
    quint64 keys = 0;
    quint64 values = 0;
    serializeValues(root, out, values);
    std::vector<std::pair<Key*, int>> pending;  // keys still to write, the next one last
    auto pushChildren = [&pending](Key& key, int level) {
        for (auto it = key.children.rbegin(); it != key.children.rend(); ++it)
            pending.emplace_back(it->get(), level);
    };
    pushChildren(root, 1);
    while (!pending.empty()) {
        const auto [key, level] = pending.back();
        pending.pop_back();
        out += "K " + QByteArray::number(level) + ' ' + escape(key->name.toUtf8(), true) + '\n';
        ++keys;
        serializeValues(*key, out, values);
        pushChildren(*key, level + 1);
    }
    out += "E " + QByteArray::number(keys) + ' ' + QByteArray::number(values) + '\n';
    return out;
}

// A key name of a record; nothing when it is badly escaped, empty or holds
// a backslash (which parts a path: no key is named with one, and such a key
// could never be opened).
std::optional<QString> keyName(const QByteArray& field)
{
    const auto name = unescape(field);
    if (!name || name->isEmpty() || name->contains('\\'))
        return std::nullopt;
    return TextFromUtf8(*name);
}

Key* childOrNew(Key& parent, const QString& name)
{
    Key* child = parent.child(name);
    return child ? child : parent.addChild(name);
}

// Parses a hive; reads as far as it is sound and says what was wrong (the
// first damage found). A damaged record is skipped and reading goes on, so
// one bad line never loses the records after it. Values and keys that
// belong below a damaged key record are skipped too: the key they belong
// to is unknown, and filing them under another key would mix them up.
//
// A key record is "K <level> <name>": the key is a child of the last key
// read one level up (level 1: of the hive's root). Hives of the first
// version wrote "K <path>", the whole path from the root, on each key.
std::unique_ptr<Key> parse(const QByteArray& bytes, QString* problem)
{
    auto root = std::make_unique<Key>();
    const QList<QByteArray> lines = bytes.split('\n');
    auto fail = [&](qsizetype lineIndex, const char* what) {
        if (problem->isEmpty())
            *problem = QStringLiteral("line %1: %2").arg(lineIndex + 1).arg(QLatin1String(what));
    };
    const bool wholePaths = !lines.isEmpty() && lines.first() == WholePathHiveHeader;
    if (lines.isEmpty() || (lines.first() != HiveHeader && !wholePaths)) {
        fail(0, "not a registry hive");
        return root;
    }
    // The lines that hold records: no empty line after the last line end.
    const qsizetype count = lines.last().isEmpty() ? lines.size() - 1 : lines.size();
    Key* current = root.get();  // values before the first key are the root's
    // The keys above the next key record, from the root down.
    std::vector<Key*> above{root.get()};
    quint64 keys = 0;
    quint64 values = 0;
    bool ended = false;  // the last record read was a sound end record
    for (qsizetype i = 1; i < count; ++i) {
        const QByteArray& line = lines[i];
        const QList<QByteArray> fields = line.split(' ');
        const QByteArray& record = fields.first();
        ended = false;
        if (record == "K" && wholePaths) {
            QStringList path;
            for (const QByteArray& part : fields.size() == 2 ? fields[1].split('\\') : QList<QByteArray>()) {
                const auto name = keyName(part);
                if (!name) {
                    path.clear();
                    break;
                }
                path.append(*name);
            }
            current = nullptr;
            if (path.isEmpty()) {
                fail(i, "bad key path");
            } else if (path.size() > MaxKeyDepth) {
                fail(i, "key deeper than 512 levels");
            } else {
                current = root.get();
                for (const QString& name : path)
                    current = childOrNew(*current, name);
                ++keys;
            }
        } else if (record == "K" && !wholePaths) {
            bool levelOk = false;
            const qsizetype level = fields.value(1).toInt(&levelOk);
            const auto name = fields.size() == 3 ? keyName(fields[2]) : std::nullopt;
            current = nullptr;
            if (!levelOk || level < 1) {
                fail(i, "bad key path");
                above.resize(1);  // where it belonged is unknown: so is every parent below the root
            } else if (level > MaxKeyDepth) {
                fail(i, "key deeper than 512 levels");
            } else if (!name || level > qsizetype(above.size())) {
                fail(i, "bad key path");
                above.resize(std::min<size_t>(size_t(level), above.size()));
            } else {
                above.resize(size_t(level));
                current = childOrNew(*above.back(), *name);
                above.push_back(current);
                ++keys;
            }
        } else if (record == "V" && fields.size() == 4) {
            bool typeOk = false;
            const quint32 type = fields[2].toUInt(&typeOk);
            const auto name = fields[1] == "@" ? std::optional<QByteArray>(QByteArray())
                                               : unescape(fields[1]);
            const auto data = fields[3] == "-" ? std::optional<QByteArray>(QByteArray())
                                               : unescape(fields[3]);
            if (!typeOk || !name || !data) {
                fail(i, "bad value");
            } else if (current) {
                current->setValue(TextFromUtf8(*name), type, *data);
                ++values;
            }
        } else if (record == "E" && fields.size() == 3) {
            if (fields[1].toULongLong() != keys || fields[2].toULongLong() != values)
                fail(i, "counts do not match the records");
            else if (i != count - 1)
                fail(i + 1, "records after the end");
            ended = true;
        } else {
            fail(i, "bad record");
        }
    }
    if (!ended)
        fail(count, "the end record is missing");
    return root;
}

// -------------------------------------------------------------- the hives

// What identifies one version of a hive file.
struct Stamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const Stamp& o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size
               && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
               && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

Stamp stampOf(const struct stat& st)
{
    Stamp s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = st.st_mtim;
    s.changed = st.st_ctim;
    return s;
}

Stamp stampOfPath(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return Stamp{};
    return stampOf(st);
}

struct Hive {
    QString path;
    std::unique_ptr<Key> root = std::make_unique<Key>();
    bool loaded = false;
    Stamp stamp;
    bool damaged = false;  // the file on disk is damaged and not yet kept aside
};

struct OpenKey {
    HKEY root = 0;
    QStringList path;
};

struct Registry {
    std::mutex mutex;
    QString folderOverride;
    std::map<HKEY, Hive> hives;
    std::map<HKEY, OpenKey> handles;
    HKEY nextHandle = 0x100;
    RegistryDamageHandler damageHandler;
    QHash<QString, QByteArray> reportedDamage;  // file -> hash of the content reported
};

Registry& registry()
{
    static Registry r;
    return r;
}

bool isPredefined(HKEY key)
{
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE
           || key == HKEY_USERS;
}

QString hiveFileName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return QStringLiteral("HKEY_CLASSES_ROOT.hive");
    case HKEY_CURRENT_USER: return QStringLiteral("HKEY_CURRENT_USER.hive");
    case HKEY_LOCAL_MACHINE: return QStringLiteral("HKEY_LOCAL_MACHINE.hive");
    default: return QStringLiteral("HKEY_USERS.hive");
    }
}

QString folderLocked(const Registry& r)
{
    QString folder = r.folderOverride;
    if (folder.isEmpty())
        folder = qEnvironmentVariable("TALVEX_REGISTRY_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                 + QStringLiteral("/Talvex/registry");
    return QDir::cleanPath(folder);
}

// Called with the registry locked; the handler runs later, unlocked.
void noteDamage(Registry& r, const QString& path, const QByteArray& bytes, const QString& problem,
                std::vector<std::pair<QString, QString>>& reports)
{
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
    auto it = r.reportedDamage.find(path);
    if (it != r.reportedDamage.end() && it.value() == hash)
        return;
    r.reportedDamage.insert(path, hash);
    reports.emplace_back(path, problem);
}

// Brings the hive up to date with its file. Damage found is added to reports.
Hive& freshHive(Registry& r, HKEY root, std::vector<std::pair<QString, QString>>& reports)
{
    Hive& hive = r.hives[root];
    const QString path = folderLocked(r) + u'/' + hiveFileName(root);
    if (hive.path != path) {
        hive = Hive{};
        hive.path = path;
    }
    const Stamp now = stampOfPath(path);
    if (hive.loaded && now == hive.stamp)
        return hive;
    hive.root = std::make_unique<Key>();
    hive.damaged = false;
    hive.loaded = true;
    hive.stamp = now;
    if (!now.exists)
        return hive;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        hive.loaded = false;  // try again next time
        return hive;
    }
    // The stamp of the file actually read, should it be replaced meanwhile.
    struct stat st {};
    if (::fstat(file.handle(), &st) == 0)
        hive.stamp = stampOf(st);
    const QByteArray bytes = file.readAll();
    QString problem;
    hive.root = parse(bytes, &problem);
    if (!problem.isEmpty()) {
        hive.damaged = true;
        noteDamage(r, path, bytes, problem, reports);
    }
    return hive;
}

void deliver(const std::vector<std::pair<QString, QString>>& reports)
{
    if (reports.empty())
        return;
    RegistryDamageHandler handler;
    {
        std::lock_guard lock(registry().mutex);
        handler = registry().damageHandler;
    }
    if (!handler)
        return;
    for (const auto& [file, problem] : reports)
        handler(file, problem);
}

QStringList splitPath(const QString& path)
{
    return path.split(u'\\', Qt::SkipEmptyParts);
}

bool validPath(const QStringList& parts)
{
    return std::all_of(parts.begin(), parts.end(),
                       [](const QString& p) { return p.size() <= MaxKeyNameLength; });
}

// Resolves a handle to its hive root and path; false for a bad handle.
bool resolve(Registry& r, HKEY key, OpenKey* out)
{
    if (isPredefined(key)) {
        *out = OpenKey{key, {}};
        return true;
    }
    auto it = r.handles.find(key);
    if (it == r.handles.end())
        return false;
    *out = it->second;
    return true;
}

Key* findKey(Key* root, const QStringList& path)
{
    Key* key = root;
    for (const QString& part : path) {
        key = key->child(part);
        if (!key)
            return nullptr;
    }
    return key;
}

HKEY newHandle(Registry& r, HKEY root, QStringList path)
{
    HKEY handle = r.nextHandle;
    while (r.handles.count(handle) || isPredefined(handle) || handle == 0)
        handle += 4;
    r.nextHandle = handle + 4;
    if (r.nextHandle >= HKEY_CLASSES_ROOT)
        r.nextHandle = 0x100;
    r.handles[handle] = OpenKey{root, std::move(path)};
    return handle;
}

// Keeps a damaged hive file aside before it is replaced.
void keepDamaged(Hive& hive)
{
    if (!hive.damaged)
        return;
    QString target = hive.path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = hive.path + QStringLiteral(".damaged.%1").arg(n);
    QFile damaged(hive.path);
    if (damaged.open(QIODevice::ReadOnly))
        WriteFileAtomically(target, damaged.readAll());
    hive.damaged = false;
}

// Runs a change of one hive: locks it across processes, brings it up to
// date, applies the change and writes the hive atomically. The change
// returns its result and sets changed when the hive must be written.
template <typename Change>
LSTATUS modify(HKEY key, Change change)
{
    std::vector<std::pair<QString, QString>> reports;
    LSTATUS status = ERROR_SUCCESS;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        OpenKey open;
        if (!resolve(r, key, &open))
            return ERROR_INVALID_HANDLE;
        const QString folder = folderLocked(r);
        if (!QDir().mkpath(folder))
            return ERROR_ACCESS_DENIED;
        FileLock hiveLock(LockFileOf(folder + u'/' + hiveFileName(open.root)));
        switch (hiveLock.lock(FileLockWaitMs)) {
        case FileLock::Outcome::Locked: break;
        case FileLock::Outcome::Busy: return ERROR_LOCK_VIOLATION;
        case FileLock::Outcome::Failed: return ERROR_ACCESS_DENIED;
        }
        Hive& hive = freshHive(r, open.root, reports);
        if (!hive.loaded) {
            status = ERROR_ACCESS_DENIED;  // the hive exists but cannot be read
        } else {
            bool changed = false;
            status = change(*hive.root, open, changed);
            if (status == ERROR_SUCCESS && changed) {
                const QByteArray bytes = serialize(*hive.root, qsizetype(hive.stamp.size));
                keepDamaged(hive);
                if (!WriteFileAtomically(hive.path, bytes)) {
                    hive.loaded = false;  // forget the change: read the old hive again
                    status = ERROR_ACCESS_DENIED;
                } else {
                    hive.stamp = stampOfPath(hive.path);
                }
            }
        }
    }
    deliver(reports);
    return status;
}

// Runs a read of one hive.
template <typename Read>
LSTATUS inspect(HKEY key, Read read)
{
    std::vector<std::pair<QString, QString>> reports;
    LSTATUS status = ERROR_SUCCESS;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        OpenKey open;
        if (!resolve(r, key, &open))
            return ERROR_INVALID_HANDLE;
        Hive& hive = freshHive(r, open.root, reports);
        status = read(r, *hive.root, open);
    }
    deliver(reports);
    return status;
}

}  // namespace

// ------------------------------------------------------------------ keys

LSTATUS RegOpenKeyEx(HKEY key, const QString& subKey, HKEY* result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    return inspect(key, [&](Registry& r, Key& root, const OpenKey& open) {
        QStringList path = open.path + splitPath(subKey);
        if (!findKey(&root, open.path))
            return ERROR_KEY_DELETED;
        if (!findKey(&root, path))
            return ERROR_FILE_NOT_FOUND;
        *result = newHandle(r, open.root, std::move(path));
        return ERROR_SUCCESS;
    });
}

LSTATUS RegCreateKeyEx(HKEY key, const QString& subKey, HKEY* result, quint32* disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    const QStringList parts = splitPath(subKey);
    if (!validPath(parts) || parts.size() > MaxKeyDepth)
        return ERROR_INVALID_PARAMETER;
    // Most calls find the key there: no need to lock and write.
    HKEY opened = 0;
    if (RegOpenKeyEx(key, subKey, &opened) == ERROR_SUCCESS) {
        *result = opened;
        if (disposition)
            *disposition = REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    }
    QStringList path;
    HKEY root = 0;
    bool created = false;
    const LSTATUS status = modify(key, [&](Key& hiveRoot, const OpenKey& open, bool& changed) {
        Key* k = findKey(&hiveRoot, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        if (open.path.size() + parts.size() > MaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
        for (const QString& part : parts) {
            Key* next = k->child(part);
            if (!next) {
                next = k->addChild(part);
                changed = true;
            }
            k = next;
        }
        created = changed;
        path = open.path + parts;
        root = open.root;
        return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS)
        return status;
    {
        std::lock_guard lock(registry().mutex);
        *result = newHandle(registry(), root, path);
    }
    if (disposition)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key)
{
    if (isPredefined(key))
        return ERROR_SUCCESS;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.handles.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

// ---------------------------------------------------------------- values

LSTATUS RegQueryValueEx(HKEY key, const QString& name, quint32* type, QByteArray* data)
{
    return inspect(key, [&](Registry&, Key& root, const OpenKey& open) {
        Key* k = findKey(&root, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        const Value* v = k->value(name);
        if (!v)
            return ERROR_FILE_NOT_FOUND;
        if (type)
            *type = v->type;
        if (data)
            *data = v->data;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegSetValueEx(HKEY key, const QString& name, quint32 type, const QByteArray& data)
{
    if (name.size() > 16383)
        return ERROR_INVALID_PARAMETER;
    return modify(key, [&](Key& root, const OpenKey& open, bool& changed) {
        Key* k = findKey(&root, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        changed = k->setValue(name, type, data);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteValue(HKEY key, const QString& name)
{
    // Checked first so that deleting what is not there writes nothing.
    const LSTATUS found = RegQueryValueEx(key, name, nullptr, nullptr);
    if (found != ERROR_SUCCESS)
        return found;
    return modify(key, [&](Key& root, const OpenKey& open, bool& changed) {
        Key* k = findKey(&root, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        changed = k->removeValue(name);
        return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

// ----------------------------------------------------------- enumeration

LSTATUS RegEnumKeyEx(HKEY key, quint32 index, QString* name)
{
    return inspect(key, [&](Registry&, Key& root, const OpenKey& open) {
        Key* k = findKey(&root, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        if (index >= k->children.size())
            return ERROR_NO_MORE_ITEMS;
        if (name)
            *name = k->children[index]->name;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValue(HKEY key, quint32 index, QString* name, quint32* type, QByteArray* data)
{
    return inspect(key, [&](Registry&, Key& root, const OpenKey& open) {
        Key* k = findKey(&root, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        if (index >= k->values.size())
            return ERROR_NO_MORE_ITEMS;
        const Value& v = k->values[index];
        if (name)
            *name = v.name;
        if (type)
            *type = v.type;
        if (data)
            *data = v.data;
        return ERROR_SUCCESS;
    });
}

LSTATUS RegQueryInfoKey(HKEY key, quint32* subKeys, quint32* values, quint32* maxSubKeyLength,
                        quint32* maxValueNameLength, quint32* maxValueLength)
{
    return inspect(key, [&](Registry&, Key& root, const OpenKey& open) {
        Key* k = findKey(&root, open.path);
        if (!k)
            return ERROR_KEY_DELETED;
        quint32 longestKey = 0;
        quint32 longestName = 0;
        quint32 longestData = 0;
        for (const auto& child : k->children)
            longestKey = std::max(longestKey, quint32(child->name.size()));
        for (const Value& v : k->values) {
            longestName = std::max(longestName, quint32(v.name.size()));
            longestData = std::max(longestData, quint32(v.data.size()));
        }
        if (subKeys)
            *subKeys = quint32(k->children.size());
        if (values)
            *values = quint32(k->values.size());
        if (maxSubKeyLength)
            *maxSubKeyLength = longestKey;
        if (maxValueNameLength)
            *maxValueNameLength = longestName;
        if (maxValueLength)
            *maxValueLength = longestData;
        return ERROR_SUCCESS;
    });
}

// -------------------------------------------------------------- deletion

namespace {

// Deletes subKey of key; with tree, its subkeys too.
LSTATUS deleteKey(HKEY key, const QString& subKey, bool tree)
{
    const QStringList parts = splitPath(subKey);
    return modify(key, [&](Key& root, const OpenKey& open, bool& changed) {
        Key* base = findKey(&root, open.path);
        if (!base)
            return ERROR_KEY_DELETED;
        const QStringList path = open.path + parts;
        Key* target = findKey(&root, path);
        if (!target)
            return ERROR_FILE_NOT_FOUND;
        if (tree && parts.isEmpty()) {
            // Empty the key but keep it.
            changed = !target->children.empty() || !target->values.empty();
            target->children.clear();
            target->values.clear();
            target->valueIndex.clear();
            return ERROR_SUCCESS;
        }
        if (path.isEmpty())
            return ERROR_ACCESS_DENIED;  // the root of a hive
        if (!tree && !target->children.empty())
            return ERROR_ACCESS_DENIED;
        Key* parent = findKey(&root, path.mid(0, path.size() - 1));
        changed = parent->removeChild(path.last());
        return ERROR_SUCCESS;
    });
}

}  // namespace

LSTATUS RegDeleteKey(HKEY key, const QString& subKey) { return deleteKey(key, subKey, false); }

LSTATUS RegDeleteTree(HKEY key, const QString& subKey) { return deleteKey(key, subKey, true); }

// ------------------------------------------------------------ data helpers

QByteArray RegStringData(const QString& text) { return text.toUtf8() + '\0'; }

QString RegStringFromData(const QByteArray& data)
{
    const qsizetype nul = data.indexOf('\0');
    return TextFromUtf8(nul < 0 ? data : data.left(nul));
}

QByteArray RegMultiStringData(const QStringList& strings)
{
    QByteArray data;
    for (const QString& s : strings)
        data += s.toUtf8() + '\0';
    data += '\0';
    return data;
}

QStringList RegMultiStringFromData(const QByteArray& data)
{
    QStringList strings;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype nul = data.indexOf('\0', pos);
        if (nul < 0)
            nul = data.size();
        if (nul == pos)
            break;  // the empty string that ends the list
        strings.append(TextFromUtf8(QByteArrayView(data).sliced(pos, nul - pos)));
        pos = nul + 1;
    }
    return strings;
}

QByteArray RegDwordData(quint32 number)
{
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char((number >> (8 * i)) & 0xFF);
    return data;
}

quint32 RegDwordFromData(const QByteArray& data)
{
    if (data.size() < 4)
        return 0;
    quint32 number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(data[i]);
    return number;
}

QByteArray RegDwordBigEndianData(quint32 number)
{
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[3 - i] = char((number >> (8 * i)) & 0xFF);
    return data;
}

quint32 RegDwordBigEndianFromData(const QByteArray& data)
{
    if (data.size() < 4)
        return 0;
    quint32 number = 0;
    for (int i = 0; i < 4; ++i)
        number = (number << 8) | static_cast<unsigned char>(data[i]);
    return number;
}

QString ExpandEnvironmentStrings(const QString& text)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'%', pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(u'%', open + 1);
        if (close < 0)
            break;
        out += QStringView(text).mid(pos, open - pos);
        const QString name = text.mid(open + 1, close - open - 1);
        if (!name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData())) {
            out += qEnvironmentVariable(name.toLocal8Bit().constData());
            pos = close + 1;
        } else {
            // Left as written; the closing sign may open the next reference.
            out += QStringView(text).mid(open, close - open);
            pos = close;
        }
    }
    out += QStringView(text).mid(pos);
    return out;
}

// ------------------------------------------------------- program settings

namespace {
QString settingsPath(const QString& application, const QString& section)
{
    return QStringLiteral("Software\\VB and VBA Program Settings\\") + application + u'\\' + section;
}
}  // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    HKEY handle = 0;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, settingsPath(application, section), &handle) != ERROR_SUCCESS)
        return defaultValue;
    quint32 type = 0;
    QByteArray data;
    const LSTATUS status = RegQueryValueEx(handle, key, &type, &data);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return defaultValue;
    return RegStringFromData(data);
}

bool SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    HKEY handle = 0;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, settingsPath(application, section), &handle) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegSetValueEx(handle, key, REG_SZ, RegStringData(value));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

bool DeleteSetting(const QString& application, const QString& section, const QString& key)
{
    const QString path = settingsPath(application, section);
    if (key.isNull())
        return RegDeleteTree(HKEY_CURRENT_USER, path) == ERROR_SUCCESS;
    HKEY handle = 0;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, path, &handle) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegDeleteValue(handle, key);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

// ------------------------------------------------------------------ set-up

QString RegistryFolder()
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return folderLocked(r);
}

void SetRegistryFolder(const QString& folder)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.folderOverride = folder;
    r.hives.clear();
    r.handles.clear();
    r.reportedDamage.clear();
}

RegistryDamageHandler SetRegistryDamageHandler(RegistryDamageHandler handler)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return std::exchange(r.damageHandler, std::move(handler));
}

}  // namespace platform
