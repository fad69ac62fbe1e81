#pragma once

#include "platform/RegistryDatabase.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// The registry calls the settings store makes, in their Win32 shape, over one SQLite file.
// Key paths use "\" between levels; keys and value names are matched without regard to case;
// values keep their exact bytes and enumerate in the order they were first written.
namespace winreg {

using HKEY = uint32_t;
using LSTATUS = long;

inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;
inline constexpr uint32_t REG_QWORD = 11;

inline constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr uint32_t KEY_READ = 0x20019;
inline constexpr uint32_t KEY_WRITE = 0x20006;
inline constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_NO_MORE_ITEMS = 259;
inline constexpr LSTATUS ERROR_REGISTRY_IO_FAILED = 1016;

} // namespace winreg

class Registry
{
public:
    // Opens the file lazily on the first call that needs it.
    explicit Registry(QString databasePath = RegistryDatabase::DefaultPath());
    explicit Registry(RegistryDatabase::FileImage image);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    const QString& path() const { return m_db.path(); }
    // Set after a broken file was moved aside; the registry then starts empty.
    const QString& movedAsidePath() const { return m_db.movedAsidePath(); }

    winreg::LSTATUS OpenKeyEx(winreg::HKEY root, const QString& subKey, uint32_t access,
                              winreg::HKEY* result);
    winreg::LSTATUS CreateKeyEx(winreg::HKEY root, const QString& subKey, uint32_t access,
                                winreg::HKEY* result);
    // Longest name in characters, longest data in bytes.
    winreg::LSTATUS QueryInfoKey(winreg::HKEY key, uint32_t* valueCount, uint32_t* maxNameLength,
                                 uint32_t* maxDataLength);
    winreg::LSTATUS EnumValue(winreg::HKEY key, uint32_t index, QString* name, uint32_t* type,
                              QByteArray* data);
    winreg::LSTATUS QueryValueEx(winreg::HKEY key, const QString& name, uint32_t* type,
                                 QByteArray* data);
    winreg::LSTATUS SetValueEx(winreg::HKEY key, const QString& name, uint32_t type,
                               const QByteArray& data);
    winreg::LSTATUS DeleteValue(winreg::HKEY key, const QString& name);
    winreg::LSTATUS CloseKey(winreg::HKEY key);

private:
    struct OpenKey
    {
        int64_t id = 0;
        uint32_t access = 0;
    };
    winreg::LSTATUS openOrCreate(winreg::HKEY root, const QString& subKey, uint32_t access,
                                 winreg::HKEY* result, bool create);
    const OpenKey* lookup(winreg::HKEY key) const;

    RegistryDatabase m_db;
    // The values that EnumValue walks, read at index 0 and dropped by any write through this
    // object: reading them all again for every index made loading a large key quadratic.
    winreg::HKEY m_enumerated = 0;
    std::vector<RegistryDatabase::Value> m_enumeration;
    QHash<winreg::HKEY, OpenKey> m_open;
    winreg::HKEY m_nextHandle = 0x100;
};
