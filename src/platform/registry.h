#pragma once
// Read-only settings registry: keys under a predefined root, named by a path
// of "\"-separated parts, each holding named values of a type (a text or a
// 32-bit number, among others). Key paths and value names match without
// regard to case. The calls mirror the platform's ANSI registry functions:
// open a key, read a value into a caller's buffer, close the key; each
// returns 0 on success or an error code.
//
// This system has no registry of its own. By default the store answers one
// value: the system information program's "PATH" under HKEY_LOCAL_MACHINE,
// "SOFTWARE\Microsoft\Shared Tools\MSINFO", with the first system
// information program found on the search path; the key is missing when
// there is none. Tests install an in-memory store.
//
// Texts are held as the bytes the read returns (a text value ends with one
// NUL); the default store keeps file names in the file system's encoding
// (QFile::encodeName / decodeName).

#include "platform/vbtypes.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace platform {

// Predefined roots.
constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u;
constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001u;
constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr std::uint32_t HKEY_USERS = 0x80000003u;

// Value types.
constexpr Long REG_SZ = 1;
constexpr Long REG_EXPAND_SZ = 2;
constexpr Long REG_BINARY = 3;
constexpr Long REG_DWORD = 4;

// Results.
constexpr Long ERROR_SUCCESS = 0;
constexpr Long ERROR_FILE_NOT_FOUND = 2;
constexpr Long ERROR_INVALID_HANDLE = 6;
constexpr Long ERROR_INVALID_PARAMETER = 87;
constexpr Long ERROR_MORE_DATA = 234;

// A key handle: a predefined root or a key opened by RegOpenKeyExA.
using RegKey = std::uint32_t;

// Opens the key `subKey` under `key` (an empty path opens `key` itself).
// The store is read-only, so rights to change keys in `samDesired` are
// granted but can never be used. ERROR_FILE_NOT_FOUND when there is no such key.
Long RegOpenKeyExA(RegKey key, const QString &subKey, Long options, Long samDesired, RegKey &result);

// Reads a value into `data`, whose size on entry is the room the caller
// offers (`size` must not exceed it). On success `type` is the value's type,
// its bytes are copied to the start of `data` and `size` becomes their
// count. ERROR_MORE_DATA (with the count needed in `size`, `data` untouched)
// when it does not fit, ERROR_FILE_NOT_FOUND when there is no such value.
Long RegQueryValueExA(RegKey key, const QString &valueName, Long &type, QByteArray &data, Long &size);

// Closes an opened key; ERROR_INVALID_HANDLE for any other handle (0 included).
Long RegCloseKey(RegKey key);

// Reads one value as a text: a text value cut before its first NUL, a
// 32-bit value as "&h" followed by its hexadecimal digits ("&h1F"); a value
// of any other type counts as read and leaves `text` as it was. False, with
// `text` emptied, when the key cannot be opened or the value not read
// (values longer than 1024 bytes included). The key is always closed.
bool registryKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName, QString &text);

// Where the calls look values up.
class RegistryStore {
public:
    struct Value {
        Long type = REG_SZ;
        QByteArray data;
    };
    virtual ~RegistryStore() = default;
    // Paths come without leading or trailing "\"; the empty path is the root.
    virtual bool hasKey(std::uint32_t root, const QString &path) const = 0;
    virtual std::optional<Value> value(std::uint32_t root, const QString &path, const QString &name) const = 0;
};

// The default store: the system information program, looked up on the
// search path (PATH) or, when given, in the listed folders.
class SystemInfoRegistry : public RegistryStore {
public:
    explicit SystemInfoRegistry(const QStringList &folders = QStringList());
    bool hasKey(std::uint32_t root, const QString &path) const override;
    std::optional<Value> value(std::uint32_t root, const QString &path, const QString &name) const override;

    // Program names tried in this order.
    static QStringList programNames();
    // Full file name of the first program found; empty when none is.
    QString findProgram() const;

private:
    QStringList folders_;
};

// Installs a store (nullptr restores the default one).
void setRegistryStore(RegistryStore *store);
RegistryStore *registryStore();

// Test double: keys and values held in memory. Installs itself; the
// destructor restores the store that was there before.
class MemoryRegistry : public RegistryStore {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry &) = delete;
    MemoryRegistry &operator=(const MemoryRegistry &) = delete;

    // Adds the key and every key above it.
    void addKey(std::uint32_t root, const QString &path);
    // A text value: the bytes plus one ending NUL (the key is added).
    void setString(std::uint32_t root, const QString &path, const QString &name, const QByteArray &text);
    void setDword(std::uint32_t root, const QString &path, const QString &name, std::uint32_t value);
    // Any type with the bytes exactly as given.
    void setValue(std::uint32_t root, const QString &path, const QString &name, Long type, const QByteArray &data);

    bool hasKey(std::uint32_t root, const QString &path) const override;
    std::optional<Value> value(std::uint32_t root, const QString &path, const QString &name) const override;

private:
    QHash<QString, Value> values_; // "root\path\name" in lower case
    QHash<QString, bool> keys_;    // "root\path" in lower case
    RegistryStore *previous_ = nullptr;
};

} // namespace platform
