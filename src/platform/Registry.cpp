#include "Registry.h"

#include "AppError.h"
#include "FileErrorCause.h"
#include "ListFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace vocab {

namespace {

struct Value {
    RegDataType type = RegDataType::rdUnknown;
    QString text;
    int integer = 0;
    QByteArray binary;
};

// Case-insensitive map that remembers each name's first spelling.
template <typename T>
struct NamedMap {
    struct Entry {
        QString name;
        T item;
    };
    std::map<QString, Entry> byFolded;

    static QString fold(const QString &name) { return name.toCaseFolded(); }
    T *find(const QString &name)
    {
        auto it = byFolded.find(fold(name));
        return it == byFolded.end() ? nullptr : &it->second.item;
    }
    T &obtain(const QString &name)
    {
        auto [it, inserted] = byFolded.try_emplace(fold(name), Entry{name, T{}});
        return it->second.item;
    }
    bool erase(const QString &name) { return byFolded.erase(fold(name)) > 0; }
    QStringList names() const
    {
        QStringList out;
        for (const auto &[folded, entry] : byFolded)
            out.append(entry.name);
        return out;
    }
};

struct Key {
    NamedMap<std::unique_ptr<Key>> subkeys;
    NamedMap<Value> values;
};

const char *rootName(RegRoot root)
{
    switch (root) {
    case RegRoot::HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case RegRoot::HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    default: return "HKEY_CURRENT_USER";
    }
}

const char *typeName(RegDataType t)
{
    switch (t) {
    case RegDataType::rdString: return "string";
    case RegDataType::rdExpandString: return "expand";
    case RegDataType::rdInteger: return "integer";
    case RegDataType::rdBinary: return "binary";
    default: return "unknown";
    }
}

RegDataType typeFromName(const QString &name)
{
    if (name == u"string") return RegDataType::rdString;
    if (name == u"expand") return RegDataType::rdExpandString;
    if (name == u"integer") return RegDataType::rdInteger;
    if (name == u"binary") return RegDataType::rdBinary;
    return RegDataType::rdUnknown;
}

QJsonObject toJson(const Key &key)
{
    QJsonObject values;
    for (const auto &[folded, entry] : key.values.byFolded) {
        const Value &v = entry.item;
        QJsonObject o{{"type", typeName(v.type)}};
        if (v.type == RegDataType::rdInteger)
            o["data"] = v.integer;
        else if (v.type == RegDataType::rdBinary)
            o["data"] = QString::fromLatin1(v.binary.toBase64());
        else
            o["data"] = v.text;
        values[entry.name] = o;
    }
    QJsonObject keys;
    for (const auto &[folded, entry] : key.subkeys.byFolded)
        keys[entry.name] = toJson(*entry.item);
    return QJsonObject{{"keys", keys}, {"values", values}};
}

void fromJson(const QJsonObject &o, Key &key)
{
    const QJsonObject values = o.value("values").toObject();
    for (auto it = values.begin(); it != values.end(); ++it) {
        const QJsonObject vo = it.value().toObject();
        Value v;
        v.type = typeFromName(vo.value("type").toString());
        if (v.type == RegDataType::rdInteger)
            v.integer = vo.value("data").toInt();
        else if (v.type == RegDataType::rdBinary)
            v.binary = QByteArray::fromBase64(vo.value("data").toString().toLatin1());
        else
            v.text = vo.value("data").toString();
        key.values.obtain(it.key()) = v;
    }
    const QJsonObject keys = o.value("keys").toObject();
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        auto &child = key.subkeys.obtain(it.key());
        if (!child)
            child = std::make_unique<Key>();
        fromJson(it.value().toObject(), *child);
    }
}

// The one store of the process, read from its file when the file changed.
class Store {
public:
    static Store &instance()
    {
        static Store store;
        return store;
    }

    Key &root(RegRoot r)
    {
        refresh();
        if (r == RegRoot::HKEY_CLASSES_ROOT)
            return m_classes;
        return r == RegRoot::HKEY_LOCAL_MACHINE ? m_machine : m_user;
    }

    // Held by every call of the wrapper for its whole work: the mail sender
    // reads the store from its own thread. Recursive, as calls use calls.
    static std::recursive_mutex &mutex()
    {
        static std::recursive_mutex m;
        return m;
    }

    void save()
    {
        const QString path = TRegistry::storePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (m_damaged)
            setAside(path);
        const QJsonObject doc{{rootName(RegRoot::HKEY_CURRENT_USER), toJson(m_user)},
                              {rootName(RegRoot::HKEY_LOCAL_MACHINE), toJson(m_machine)},
                              {rootName(RegRoot::HKEY_CLASSES_ROOT), toJson(m_classes)}};
        ListFile::writeBytes(path, QJsonDocument(doc).toJson(QJsonDocument::Indented));
        remember(path);
    }

private:
    // A store that could not be read holds keys we do not know: it is kept
    // under a name of its own before the first save replaces it.
    void setAside(const QString &path)
    {
        const QString stem = path + QStringLiteral(".bad-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        QString aside = stem;
        for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
            aside = stem + u'-' + QString::number(n);
        if (QFileInfo::exists(path) && ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0) {
            const int error = errno;
            throw FileError(QStringLiteral("Не удаётся сохранить повреждённый файл \"%1\" под именем \"%2\": %3")
                                .arg(path, aside, FileErrorCause(error)));
        }
        m_damaged = false;
    }

    void remember(const QString &path)
    {
        const QFileInfo info(path);
        m_loadedPath = path;
        m_stamp = info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
        m_size = info.exists() ? info.size() : -1;
    }

    void refresh()
    {
        const QString path = TRegistry::storePath();
        const QFileInfo info(path);
        const qint64 stamp = info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
        const qint64 size = info.exists() ? info.size() : -1;
        if (path == m_loadedPath && stamp == m_stamp && size == m_size)
            return;
        m_user = Key();
        m_machine = Key();
        m_classes = Key();
        m_damaged = false;
        if (info.exists())
            load(path);
        remember(path);
    }

    void load(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            m_damaged = true;
            return;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            m_damaged = true;
            return;
        }
        if (bytes.trimmed().isEmpty())
            return;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()) {
            m_damaged = true;
            return;
        }
        fromJson(doc.object().value(rootName(RegRoot::HKEY_CURRENT_USER)).toObject(), m_user);
        fromJson(doc.object().value(rootName(RegRoot::HKEY_LOCAL_MACHINE)).toObject(), m_machine);
        fromJson(doc.object().value(rootName(RegRoot::HKEY_CLASSES_ROOT)).toObject(), m_classes);
    }

    Key m_user;
    Key m_machine;
    Key m_classes;
    bool m_damaged = false; // the file is there but could not be read
    QString m_loadedPath;
    qint64 m_stamp = -2;
    qint64 m_size = -2;
};

// Only "\\" parts key names; "/" is a character of a name, as in a site key
// named by its address.
QStringList splitKey(const QString &path)
{
    return path.split(u'\\', Qt::SkipEmptyParts);
}

Key *walk(Key &root, const QString &path, bool create)
{
    Key *k = &root;
    for (const QString &part : splitKey(path)) {
        auto *child = k->subkeys.find(part);
        if (!child) {
            if (!create)
                return nullptr;
            auto &made = k->subkeys.obtain(part);
            made = std::make_unique<Key>();
            child = &made;
        }
        k = child->get();
    }
    return k;
}

using StoreLock = std::lock_guard<std::recursive_mutex>;

[[noreturn]] void badType(const QString &name)
{
    throw AppError(QStringLiteral("Неверный тип данных для \"%1\"").arg(name));
}

// A copy of the value `name` of the key at `path`, taken under the store's
// lock; nothing when the key or the value is missing.
std::optional<Value> get(RegRoot root, const QString &path, const QString &name)
{
    const StoreLock lock(Store::mutex());
    Key *k = walk(Store::instance().root(root), path, false);
    const Value *v = k ? k->values.find(name) : nullptr;
    return v ? std::optional<Value>(*v) : std::nullopt;
}

} // namespace

QString TRegistry::storePath()
{
    const QString over = qEnvironmentVariable("VOCABULINARUM_REGISTRY");
    if (!over.isEmpty())
        return over;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/vocabulinarum/registry.json");
}

TRegistry::TRegistry(RegRoot root) : m_root(root) {}

void TRegistry::SetRootKey(RegRoot root)
{
    CloseKey();
    m_root = root;
}

QString TRegistry::absolute(const QString &key) const
{
    const bool fromRoot = key.startsWith(u'\\');
    if (fromRoot || !m_open || m_path.isEmpty())
        return splitKey(key).join(u'\\');
    return (splitKey(m_path) + splitKey(key)).join(u'\\');
}

bool TRegistry::OpenKey(const QString &key, bool canCreate)
{
    const StoreLock lock(Store::mutex());
    const QString path = absolute(key);
    Store &store = Store::instance();
    const bool existed = walk(store.root(m_root), path, false) != nullptr;
    if (!existed && !canCreate)
        return false;
    if (!existed) {
        walk(store.root(m_root), path, true);
        store.save();
    }
    m_path = path;
    m_open = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString &key) { return OpenKey(key, false); }

void TRegistry::CloseKey()
{
    m_path.clear();
    m_open = false;
}

bool TRegistry::KeyExists(const QString &key) const
{
    const StoreLock lock(Store::mutex());
    return walk(Store::instance().root(m_root), absolute(key), false) != nullptr;
}

bool TRegistry::CreateKey(const QString &key)
{
    const StoreLock lock(Store::mutex());
    Store &store = Store::instance();
    walk(store.root(m_root), absolute(key), true);
    store.save();
    return true;
}

bool TRegistry::DeleteKey(const QString &key)
{
    const StoreLock lock(Store::mutex());
    QStringList parts = splitKey(absolute(key));
    if (parts.isEmpty())
        return false;
    const QString last = parts.takeLast();
    Store &store = Store::instance();
    Key *parent = walk(store.root(m_root), parts.join(u'\\'), false);
    if (!parent || !parent->subkeys.erase(last))
        return false;
    store.save();
    return true;
}

namespace {

void copyInto(Key &target, const Key &source)
{
    for (const auto &[folded, entry] : source.values.byFolded)
        target.values.obtain(entry.name) = entry.item;
    for (const auto &[folded, entry] : source.subkeys.byFolded) {
        auto &child = target.subkeys.obtain(entry.name);
        if (!child)
            child = std::make_unique<Key>();
        copyInto(*child, *entry.item);
    }
}

bool startsWithKey(const QStringList &path, const QStringList &prefix)
{
    if (prefix.size() > path.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i)
        if (path[i].toCaseFolded() != prefix[i].toCaseFolded())
            return false;
    return true;
}

} // namespace

bool TRegistry::MoveKey(const QString &oldName, const QString &newName, bool deleteSource)
{
    const StoreLock lock(Store::mutex());
    QStringList from = splitKey(absolute(oldName));
    const QStringList to = splitKey(absolute(newName));
    // A key copied into itself or into its own subkey would grow as it is
    // copied, and deleting the source would take the copy with it.
    if (from.isEmpty() || to.isEmpty() || startsWithKey(to, from) || startsWithKey(from, to))
        return false;
    Store &store = Store::instance();
    Key &root = store.root(m_root);
    const Key *source = walk(root, from.join(u'\\'), false);
    if (!source)
        return false;
    copyInto(*walk(root, to.join(u'\\'), true), *source);
    if (deleteSource) {
        const QString last = from.takeLast();
        walk(root, from.join(u'\\'), false)->subkeys.erase(last);
    }
    store.save();
    return true;
}

QStringList TRegistry::GetKeyNames() const
{
    const StoreLock lock(Store::mutex());
    const Key *k = walk(Store::instance().root(m_root), m_path, false);
    return k ? k->subkeys.names() : QStringList();
}

bool TRegistry::ValueExists(const QString &name) const { return GetDataType(name) != RegDataType::rdUnknown; }

bool TRegistry::DeleteValue(const QString &name)
{
    const StoreLock lock(Store::mutex());
    Store &store = Store::instance();
    Key *k = walk(store.root(m_root), m_path, false);
    if (!k || !k->values.erase(name))
        return false;
    store.save();
    return true;
}

QStringList TRegistry::GetValueNames() const
{
    const StoreLock lock(Store::mutex());
    Key *k = walk(Store::instance().root(m_root), m_path, false);
    return k ? k->values.names() : QStringList();
}

RegDataType TRegistry::GetDataType(const QString &name) const
{
    const std::optional<Value> v = get(m_root, m_path, name);
    return v ? v->type : RegDataType::rdUnknown;
}

QString TRegistry::ReadString(const QString &name) const
{
    const std::optional<Value> v = get(m_root, m_path, name);
    if (!v)
        return {};
    if (v->type != RegDataType::rdString && v->type != RegDataType::rdExpandString)
        badType(name);
    return v->text;
}

int TRegistry::ReadInteger(const QString &name) const
{
    const std::optional<Value> v = get(m_root, m_path, name);
    if (!v || v->type != RegDataType::rdInteger)
        badType(name);
    return v->integer;
}

QByteArray TRegistry::ReadBinaryData(const QString &name) const
{
    const std::optional<Value> v = get(m_root, m_path, name);
    if (!v || v->type != RegDataType::rdBinary)
        badType(name);
    return v->binary;
}

namespace {

void put(RegRoot root, const QString &path, const QString &name, Value v)
{
    const StoreLock lock(Store::mutex());
    Store &store = Store::instance();
    Key *k = walk(store.root(root), path, true);
    k->values.obtain(name) = std::move(v);
    store.save();
}

} // namespace

void TRegistry::WriteString(const QString &name, const QString &value)
{
    put(m_root, m_path, name, Value{RegDataType::rdString, value, 0, {}});
}

void TRegistry::WriteExpandString(const QString &name, const QString &value)
{
    put(m_root, m_path, name, Value{RegDataType::rdExpandString, value, 0, {}});
}

void TRegistry::WriteInteger(const QString &name, int value)
{
    put(m_root, m_path, name, Value{RegDataType::rdInteger, {}, value, {}});
}

void TRegistry::WriteBinaryData(const QString &name, const QByteArray &value)
{
    put(m_root, m_path, name, Value{RegDataType::rdBinary, {}, 0, value});
}

} // namespace vocab
