#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <map>

namespace platform {

namespace {

const QString sysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString sysInfoValue = QStringLiteral("PATH");

// "\a\\b\" -> "a\b": no empty parts.
QString normalPath(const QString &path)
{
    QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

bool isRoot(std::uint32_t key) { return key >= HKEY_CLASSES_ROOT && key <= HKEY_USERS; }

// Opened keys by handle. Handles count up from 1 and are never reused while
// the program runs, so a stale handle cannot reach another key.
struct OpenKey {
    std::uint32_t root;
    QString path;
};
std::map<RegKey, OpenKey> &openKeys()
{
    static std::map<RegKey, OpenKey> keys;
    return keys;
}
RegKey nextHandle = 1;

// Root and path of a handle; false for an unknown handle.
bool resolve(RegKey key, std::uint32_t &root, QString &path)
{
    if (isRoot(key)) {
        root = key;
        path.clear();
        return true;
    }
    const auto it = openKeys().find(key);
    if (it == openKeys().end())
        return false;
    root = it->second.root;
    path = it->second.path;
    return true;
}

RegistryStore *installedStore = nullptr;

QString keyName(std::uint32_t root, const QString &path)
{
    return (QString::number(root, 16) + u'\\' + normalPath(path)).toLower();
}

} // namespace

// ------------------------------------------------------------------------

Long RegOpenKeyExA(RegKey key, const QString &subKey, Long options, Long samDesired, RegKey &result)
{
    Q_UNUSED(samDesired);
    result = 0;
    std::uint32_t root = 0;
    QString path;
    if (!resolve(key, root, path))
        return ERROR_INVALID_HANDLE;
    if (options != 0)
        return ERROR_INVALID_PARAMETER;
    const QString sub = normalPath(subKey);
    const QString full = path.isEmpty() ? sub : sub.isEmpty() ? path : path + u'\\' + sub;
    if (!registryStore()->hasKey(root, full))
        return ERROR_FILE_NOT_FOUND;
    result = nextHandle++;
    openKeys()[result] = OpenKey{root, full};
    return ERROR_SUCCESS;
}

Long RegQueryValueExA(RegKey key, const QString &valueName, Long &type, QByteArray &data, Long &size)
{
    std::uint32_t root = 0;
    QString path;
    if (!resolve(key, root, path))
        return ERROR_INVALID_HANDLE;
    if (size < 0 || size > data.size())
        return ERROR_INVALID_PARAMETER;
    const auto v = registryStore()->value(root, path, valueName);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    type = v->type;
    if (v->data.size() > size) {
        size = Long(v->data.size());
        return ERROR_MORE_DATA;
    }
    std::copy(v->data.cbegin(), v->data.cend(), data.begin());
    size = Long(v->data.size());
    return ERROR_SUCCESS;
}

Long RegCloseKey(RegKey key)
{
    if (isRoot(key))
        return ERROR_SUCCESS;
    return openKeys().erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

bool registryKeyValue(std::uint32_t root, const QString &keyPath, const QString &valueName, QString &text)
{
    constexpr Long readAccess = 0x2003F;
    RegKey key = 0;
    bool read = false;
    if (RegOpenKeyExA(root, keyPath, 0, readAccess, key) == ERROR_SUCCESS) {
        QByteArray buffer(1024, '\0');
        Long size = 1024;
        Long type = 0;
        if (RegQueryValueExA(key, valueName, type, buffer, size) == ERROR_SUCCESS) {
            read = true;
            if (type == REG_SZ) {
                const qsizetype nul = buffer.indexOf('\0');
                text = QFile::decodeName(nul < 0 ? buffer : buffer.left(nul));
            } else if (type == REG_DWORD) {
                // The number comes from the four bytes read, not from the
                // buffer cut at its first NUL (which a small number begins with).
                std::uint32_t number = 0;
                for (int i = std::min<Long>(size, 4) - 1; i >= 0; --i)
                    number = (number << 8) | static_cast<unsigned char>(buffer[i]);
                text = QStringLiteral("&h") + QString::number(number, 16).toUpper();
            }
        }
    }
    if (!read)
        text.clear();
    RegCloseKey(key);
    return read;
}

// ------------------------------------------------------------------------

SystemInfoRegistry::SystemInfoRegistry(const QStringList &folders) : folders_(folders) {}

QStringList SystemInfoRegistry::programNames()
{
    return {QStringLiteral("hardinfo2"),           QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),         QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

QString SystemInfoRegistry::findProgram() const
{
    for (const QString &name : programNames()) {
        const QString found = QStandardPaths::findExecutable(name, folders_);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

bool SystemInfoRegistry::hasKey(std::uint32_t root, const QString &path) const
{
    if (root != HKEY_LOCAL_MACHINE)
        return false;
    const QString p = normalPath(path).toLower();
    if (p.isEmpty())
        return true;
    const QString target = sysInfoKey.toLower();
    // The key and the keys above it exist while a program is there.
    const bool onTheWay = target == p || target.startsWith(p + u'\\');
    return onTheWay && !findProgram().isEmpty();
}

std::optional<RegistryStore::Value> SystemInfoRegistry::value(std::uint32_t root, const QString &path,
                                                              const QString &name) const
{
    if (root != HKEY_LOCAL_MACHINE || normalPath(path).compare(sysInfoKey, Qt::CaseInsensitive) != 0 ||
        name.compare(sysInfoValue, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString program = findProgram();
    if (program.isEmpty())
        return std::nullopt;
    return Value{REG_SZ, QFile::encodeName(program) + '\0'};
}

void setRegistryStore(RegistryStore *store) { installedStore = store; }

RegistryStore *registryStore()
{
    static SystemInfoRegistry system;
    return installedStore ? installedStore : &system;
}

// ------------------------------------------------------------------------

MemoryRegistry::MemoryRegistry() : previous_(installedStore) { setRegistryStore(this); }

MemoryRegistry::~MemoryRegistry() { setRegistryStore(previous_); }

void MemoryRegistry::addKey(std::uint32_t root, const QString &path)
{
    const QStringList parts = normalPath(path).split(u'\\', Qt::SkipEmptyParts);
    QString sofar;
    keys_.insert(keyName(root, QString()), true);
    for (const QString &part : parts) {
        sofar = sofar.isEmpty() ? part : sofar + u'\\' + part;
        keys_.insert(keyName(root, sofar), true);
    }
}

void MemoryRegistry::setString(std::uint32_t root, const QString &path, const QString &name, const QByteArray &text)
{
    setValue(root, path, name, REG_SZ, text + '\0');
}

void MemoryRegistry::setDword(std::uint32_t root, const QString &path, const QString &name, std::uint32_t value)
{
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char((value >> (8 * i)) & 0xFF);
    setValue(root, path, name, REG_DWORD, data);
}

void MemoryRegistry::setValue(std::uint32_t root, const QString &path, const QString &name, Long type,
                              const QByteArray &data)
{
    addKey(root, path);
    values_.insert(keyName(root, path) + u'\\' + name.toLower(), Value{type, data});
}

bool MemoryRegistry::hasKey(std::uint32_t root, const QString &path) const
{
    return keys_.contains(keyName(root, path));
}

std::optional<RegistryStore::Value> MemoryRegistry::value(std::uint32_t root, const QString &path,
                                                          const QString &name) const
{
    const auto it = values_.constFind(keyName(root, path) + u'\\' + name.toLower());
    if (it == values_.constEnd())
        return std::nullopt;
    return *it;
}

} // namespace platform
