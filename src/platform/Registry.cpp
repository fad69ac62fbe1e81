#include "platform/Registry.h"

#include <algorithm>

using namespace winreg;

namespace {

bool IsPredefinedRoot(HKEY key) { return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE; }

} // namespace

Registry::Registry(QString databasePath) : m_db(std::move(databasePath)) {}

Registry::Registry(RegistryDatabase::FileImage image) : m_db(std::move(image)) {}

Registry::~Registry() = default;

const Registry::OpenKey* Registry::lookup(HKEY key) const
{
    const auto it = m_open.constFind(key);
    return it == m_open.constEnd() ? nullptr : &it.value();
}

LSTATUS Registry::openOrCreate(HKEY root, const QString& subKey, uint32_t access, HKEY* result,
                               bool create)
{
    if (result)
        *result = 0;
    if (!result || !IsPredefinedRoot(root))
        return ERROR_INVALID_HANDLE;
    if (!m_db.isOpen())
        return ERROR_REGISTRY_IO_FAILED;
    std::optional<int64_t> id = m_db.findKey(root, subKey);
    // The predefined roots always exist, as they do on Windows.
    if (!id && (create || subKey.split(u'\\', Qt::SkipEmptyParts).isEmpty()))
        id = m_db.createKey(root, subKey);
    if (!id)
        return create ? ERROR_REGISTRY_IO_FAILED : ERROR_FILE_NOT_FOUND;
    const HKEY handle = m_nextHandle++;
    m_open.insert(handle, OpenKey{*id, access});
    *result = handle;
    return ERROR_SUCCESS;
}

LSTATUS Registry::OpenKeyEx(HKEY root, const QString& subKey, uint32_t access, HKEY* result)
{
    return openOrCreate(root, subKey, access, result, false);
}

LSTATUS Registry::CreateKeyEx(HKEY root, const QString& subKey, uint32_t access, HKEY* result)
{
    return openOrCreate(root, subKey, access, result, true);
}

LSTATUS Registry::QueryInfoKey(HKEY key, uint32_t* valueCount, uint32_t* maxNameLength,
                               uint32_t* maxDataLength)
{
    const OpenKey* open = lookup(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    const auto values = m_db.values(open->id);
    if (!values)
        return m_db.keyExists(open->id) ? ERROR_REGISTRY_IO_FAILED : ERROR_FILE_NOT_FOUND;
    uint32_t longestName = 0;
    uint32_t longestData = 0;
    for (const auto& v : *values) {
        longestName = std::max(longestName, uint32_t(v.name.size()));
        longestData = std::max(longestData, uint32_t(v.data.size()));
    }
    if (valueCount)
        *valueCount = uint32_t(values->size());
    if (maxNameLength)
        *maxNameLength = longestName;
    if (maxDataLength)
        *maxDataLength = longestData;
    return ERROR_SUCCESS;
}

LSTATUS Registry::EnumValue(HKEY key, uint32_t index, QString* name, uint32_t* type,
                            QByteArray* data)
{
    const OpenKey* open = lookup(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (index == 0 || m_enumerated != key) {
        auto values = m_db.values(open->id);
        m_enumerated = values ? key : 0;
        if (!values)
            return ERROR_REGISTRY_IO_FAILED;
        m_enumeration = std::move(*values);
    }
    if (index >= m_enumeration.size())
        return ERROR_NO_MORE_ITEMS;
    const auto& v = m_enumeration[index];
    if (name)
        *name = v.name;
    if (type)
        *type = v.type;
    if (data)
        *data = v.data;
    return ERROR_SUCCESS;
}

LSTATUS Registry::QueryValueEx(HKEY key, const QString& name, uint32_t* type, QByteArray* data)
{
    const OpenKey* open = lookup(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    const auto v = m_db.value(open->id, name);
    if (!v)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = v->type;
    if (data)
        *data = v->data;
    return ERROR_SUCCESS;
}

LSTATUS Registry::SetValueEx(HKEY key, const QString& name, uint32_t type, const QByteArray& data)
{
    const OpenKey* open = lookup(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    m_enumerated = 0;
    return m_db.setValue(open->id, name, type, data) ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LSTATUS Registry::DeleteValue(HKEY key, const QString& name)
{
    const OpenKey* open = lookup(key);
    if (!open)
        return ERROR_INVALID_HANDLE;
    if (!(open->access & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    m_enumerated = 0;
    return m_db.deleteValue(open->id, name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS Registry::CloseKey(HKEY key)
{
    if (key == m_enumerated)
        m_enumerated = 0;
    return m_open.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
