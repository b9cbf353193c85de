#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vocab {

// A registry of our own: keys holding typed values, kept in one file. Key and
// value names compare without regard to letter case and keep the case they
// were created with. The file lives in the user's configuration folder
// ($XDG_CONFIG_HOME/vocabulinarum/registry.json) unless VOCABULINARUM_REGISTRY
// names another; every change is written at once, atomically. A store file
// that cannot be read or parsed reads as empty, and is renamed to
// "<name>.bad-<date>-<time>" before the next write, so no key in it is lost.
// The store may be used from more than one thread: each call of the wrapper
// holds the store's lock while it works.
enum class RegRoot { HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT };

enum class RegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The registry wrapper: open a key relative to the root, then read and write its values.
// Reading a value that is missing or of another type throws AppError, except
// ReadString, which answers an empty string for a missing value.
class TRegistry {
public:
    explicit TRegistry(RegRoot root = RegRoot::HKEY_CURRENT_USER);

    RegRoot RootKey() const { return m_root; }
    void SetRootKey(RegRoot root);

    // Key paths use "\" between names ("/" is part of a name); a leading "\"
    // means from the root.
    bool OpenKey(const QString &key, bool canCreate);
    bool OpenKeyReadOnly(const QString &key);
    void CloseKey();
    const QString &CurrentPath() const { return m_path; }

    bool KeyExists(const QString &key) const;
    bool CreateKey(const QString &key);
    bool DeleteKey(const QString &key);
    // Copies the key `oldName`, with its values and subkeys, into the key
    // `newName` (made when missing; what it holds already stays unless
    // copied over), then deletes the source when `deleteSource`. Both are
    // paths as OpenKey takes them. False, with nothing changed, when the
    // source is missing or one key is, or lies inside, the other.
    bool MoveKey(const QString &oldName, const QString &newName, bool deleteSource);
    QStringList GetKeyNames() const;

    bool ValueExists(const QString &name) const;
    bool DeleteValue(const QString &name);
    QStringList GetValueNames() const;
    RegDataType GetDataType(const QString &name) const;

    QString ReadString(const QString &name) const;
    int ReadInteger(const QString &name) const;
    bool ReadBool(const QString &name) const { return ReadInteger(name) != 0; }
    QByteArray ReadBinaryData(const QString &name) const;

    void WriteString(const QString &name, const QString &value);
    void WriteExpandString(const QString &name, const QString &value);
    void WriteInteger(const QString &name, int value);
    void WriteBool(const QString &name, bool value) { WriteInteger(name, value ? 1 : 0); }
    void WriteBinaryData(const QString &name, const QByteArray &value);

    // The file the store lives in.
    static QString storePath();

private:
    QString absolute(const QString &key) const;

    RegRoot m_root;
    QString m_path; // the open key, without leading separator; empty = the root itself
    bool m_open = false;
};

} // namespace vocab
