// Read-only registry: the raw calls, the text read with its cut and "&h"
// rules, and the default store that finds the system information program.

#include "platform/registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

const QString msinfo = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

bool makeProgram(const QString &folder, const QString &name, bool executable = true)
{
    QFile f(folder + u'/' + name);
    if (!f.open(QIODevice::WriteOnly) || f.write("#!/bin/sh\n") < 0)
        return false;
    f.close();
    return !executable || f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

// Installs a store for one test and puts the default back.
struct StoreScope {
    explicit StoreScope(RegistryStore *store) { setRegistryStore(store); }
    ~StoreScope() { setRegistryStore(nullptr); }
};

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT

private slots:
    void keyValue_data();
    void keyValue();
    void rawCalls();
    void systemInfoProgram_data();
    void systemInfoProgram();
    void memoryStoreRestoresThePreviousOne();
};

void TestRegistry::keyValue_data()
{
    QTest::addColumn<int>("type"); // of the stored value; 0 = nothing stored
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("askKey");
    QTest::addColumn<QString>("askName");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("text");

    const QByteArray path = "/usr/bin/hardinfo";
    QTest::newRow("text") << REG_SZ << path + '\0' << msinfo << "PATH" << true << "/usr/bin/hardinfo";
    QTest::newRow("key and name in another case")
        << REG_SZ << path + '\0' << msinfo.toLower() << "path" << true << "/usr/bin/hardinfo";
    QTest::newRow("separators doubled and around")
        << REG_SZ << path + '\0' << "\\SOFTWARE\\\\Microsoft\\Shared Tools\\MSINFO\\" << "PATH" << true
        << "/usr/bin/hardinfo";
    QTest::newRow("text cut at its first NUL") << REG_SZ << QByteArray("abc\0def\0", 8) << msinfo << "PATH" << true
                                               << "abc";
    QTest::newRow("empty text") << REG_SZ << QByteArray(1, '\0') << msinfo << "PATH" << true << "";
    QTest::newRow("text filling the buffer, no NUL")
        << REG_SZ << QByteArray(1024, 'x') << msinfo << "PATH" << true << QString(1024, u'x');
    QTest::newRow("text longer than the buffer")
        << REG_SZ << QByteArray(1024, 'x') + '\0' << msinfo << "PATH" << false << "";
    QTest::newRow("32-bit value") << REG_DWORD << QByteArray("\x1F\0\0\0", 4) << msinfo << "PATH" << true << "&h1F";
    QTest::newRow("32-bit value starting with a zero byte")
        << REG_DWORD << QByteArray("\0\x01\0\0", 4) << msinfo << "PATH" << true << "&h100";
    QTest::newRow("32-bit zero") << REG_DWORD << QByteArray(4, '\0') << msinfo << "PATH" << true << "&h0";
    QTest::newRow("largest 32-bit value")
        << REG_DWORD << QByteArray(4, char(0xFF)) << msinfo << "PATH" << true << "&hFFFFFFFF";
    QTest::newRow("other type leaves the text")
        << REG_BINARY << QByteArray("\x01\x02", 2) << msinfo << "PATH" << true << "before";
    QTest::newRow("expandable text leaves the text")
        << REG_EXPAND_SZ << path + '\0' << msinfo << "PATH" << true << "before";
    QTest::newRow("missing value") << REG_SZ << path + '\0' << msinfo << "MSINFO" << false << "";
    QTest::newRow("missing key") << REG_SZ << path + '\0' << "SOFTWARE\\Microsoft\\Shared Tools Location"
                                 << "MSINFO" << false << "";
    QTest::newRow("empty store") << 0 << QByteArray() << msinfo << "PATH" << false << "";
}

void TestRegistry::keyValue()
{
    QFETCH(int, type);
    QFETCH(QByteArray, data);
    QFETCH(QString, askKey);
    QFETCH(QString, askName);
    QFETCH(bool, result);
    QFETCH(QString, text);

    MemoryRegistry store;
    if (type != 0)
        store.setValue(HKEY_LOCAL_MACHINE, msinfo, QStringLiteral("PATH"), type, data);
    QString got = QStringLiteral("before");
    QCOMPARE(registryKeyValue(HKEY_LOCAL_MACHINE, askKey, askName, got), result);
    QCOMPARE(got, text);
    // The same value under another root is not found.
    QString other;
    QVERIFY(!registryKeyValue(HKEY_CURRENT_USER, askKey, askName, other));
}

void TestRegistry::rawCalls()
{
    MemoryRegistry store;
    store.setString(HKEY_LOCAL_MACHINE, msinfo, QStringLiteral("PATH"), "/bin/x");
    store.setDword(HKEY_LOCAL_MACHINE, msinfo, QStringLiteral("Count"), 7);

    RegKey shared = 99;
    QCOMPARE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools"), 0, 0x2003F,
                           shared),
             ERROR_SUCCESS);
    // A key under an opened key.
    RegKey key = 0;
    QCOMPARE(RegOpenKeyExA(shared, QStringLiteral("MSINFO"), 0, 0x2003F, key), ERROR_SUCCESS);
    QVERIFY(key != shared);

    QByteArray small(3, '\0');
    Long size = 3;
    Long type = 0;
    QCOMPARE(RegQueryValueExA(key, QStringLiteral("PATH"), type, small, size), ERROR_MORE_DATA);
    QCOMPARE(size, 7); // "/bin/x" and its NUL
    QCOMPARE(small, QByteArray(3, '\0'));

    QByteArray buffer(16, '#');
    size = 16;
    QCOMPARE(RegQueryValueExA(key, QStringLiteral("PATH"), type, buffer, size), ERROR_SUCCESS);
    QCOMPARE(type, REG_SZ);
    QCOMPARE(size, 7);
    QCOMPARE(buffer, QByteArray("/bin/x\0#########", 16));

    size = 16;
    QCOMPARE(RegQueryValueExA(key, QStringLiteral("Count"), type, buffer, size), ERROR_SUCCESS);
    QCOMPARE(type, REG_DWORD);
    QCOMPARE(size, 4);

    size = 17; // more room claimed than the buffer has
    QCOMPARE(RegQueryValueExA(key, QStringLiteral("PATH"), type, buffer, size), ERROR_INVALID_PARAMETER);
    size = 16;
    QCOMPARE(RegQueryValueExA(key, QStringLiteral("nothing"), type, buffer, size), ERROR_FILE_NOT_FOUND);

    RegKey none = 5;
    QCOMPARE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Nothing"), 0, 0x2003F, none),
             ERROR_FILE_NOT_FOUND);
    QCOMPARE(none, RegKey(0));
    QCOMPARE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, msinfo, 1, 0x2003F, none), ERROR_INVALID_PARAMETER);

    QCOMPARE(RegCloseKey(key), ERROR_SUCCESS);
    QCOMPARE(RegCloseKey(key), ERROR_INVALID_HANDLE);
    size = 16;
    QCOMPARE(RegQueryValueExA(key, QStringLiteral("PATH"), type, buffer, size), ERROR_INVALID_HANDLE);
    QCOMPARE(RegOpenKeyExA(key, QStringLiteral("MSINFO"), 0, 0x2003F, none), ERROR_INVALID_HANDLE);
    QCOMPARE(RegCloseKey(0), ERROR_INVALID_HANDLE);
    QCOMPARE(RegCloseKey(shared), ERROR_SUCCESS);
    QCOMPARE(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS); // roots stay
}

void TestRegistry::systemInfoProgram_data()
{
    QTest::addColumn<QStringList>("programs"); // "name" or "name-" for a file that is not executable
    QTest::addColumn<QString>("found");        // file name, empty when none
    QTest::newRow("none") << QStringList() << "";
    QTest::newRow("one") << QStringList{"kinfocenter"} << "kinfocenter";
    QTest::newRow("first in order wins") << QStringList{"gnome-system-monitor", "hardinfo"} << "hardinfo";
    QTest::newRow("not executable is passed over")
        << QStringList{"hardinfo-", "gnome-system-monitor"} << "gnome-system-monitor";
    QTest::newRow("other programs do not count") << QStringList{"firefox"} << "";
}

void TestRegistry::systemInfoProgram()
{
    QFETCH(QStringList, programs);
    QFETCH(QString, found);
    QTemporaryDir dir;
    for (const QString &p : programs) {
        const bool exe = !p.endsWith(u'-');
        QVERIFY(makeProgram(dir.path(), exe ? p : p.chopped(1), exe));
    }
    SystemInfoRegistry system(QStringList{dir.path()});
    StoreScope scope(&system);

    const QString expected = found.isEmpty() ? QString() : dir.filePath(found);
    QCOMPARE(system.findProgram(), expected);
    QString text = QStringLiteral("before");
    QCOMPARE(registryKeyValue(HKEY_LOCAL_MACHINE, msinfo, QStringLiteral("PATH"), text), !found.isEmpty());
    QCOMPARE(text, expected);
    // Only that value is there: no folder of the older tool, nothing elsewhere.
    QVERIFY(!registryKeyValue(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                              QStringLiteral("MSINFO"), text));
    QVERIFY(!registryKeyValue(HKEY_CURRENT_USER, msinfo, QStringLiteral("PATH"), text));
    RegKey parent = 0;
    QCOMPARE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, QStringLiteral("software\\microsoft"), 0, 0x2003F, parent),
             found.isEmpty() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS);
    RegCloseKey(parent);
}

void TestRegistry::memoryStoreRestoresThePreviousOne()
{
    RegistryStore *before = registryStore();
    QVERIFY(dynamic_cast<SystemInfoRegistry *>(before));
    {
        MemoryRegistry outer;
        QCOMPARE(registryStore(), &outer);
        {
            MemoryRegistry inner;
            QCOMPARE(registryStore(), &inner);
        }
        QCOMPARE(registryStore(), &outer);
    }
    QCOMPARE(registryStore(), before);
}

QTEST_MAIN(TestRegistry)
#include "tst_registry.moc"
