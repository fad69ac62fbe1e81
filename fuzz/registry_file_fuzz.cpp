// The registry layer reading what it did not write. The first byte picks the case:
//   even: the rest is the whole registry file (garbage, truncated or foreign databases);
//   odd:  the rest is a list of values (name, registry type, data) that the settings store then
//         loads, reads one by one and saves back.
// The database lives in memory: a file per run would cost far more than the parsing.
#include "platform/Registry.h"
#include "settings/Settings.h"

#include <cstdint>
#include <cstdlib>

using namespace winreg;

namespace {

const QString AppKey = QStringLiteral("Software\\Tavrell\\Veltrix");

class Reader
{
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_pos >= m_size; }
    uint8_t byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    QByteArray bytes(size_t n)
    {
        n = std::min(n, m_size - m_pos);
        QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return out;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void ExerciseStore(const std::shared_ptr<Registry>& registry)
{
    Settings store;
    store.SetRegistry(registry);
    store.REGKEY = HKEY_LOCAL_MACHINE;
    store.RegSubKey = AppKey;
    store.LoadReg();
    for (const char* name : {"PATHMEDIA", "PATHSUBS", "MPTYPE", "VOLUME", "MUTE"})
        store.GetRegSingleStringSetting(QLatin1String(name));
    store.DefaultSetting(QStringLiteral("VOLUME"), 50, SettingNumber);
    store.DefaultSetting(QStringLiteral("MUTE"), false, SettingBoolean);
    if (!store.SaveReg())
        return;
    Settings again;
    again.SetRegistry(registry);
    again.REGKEY = HKEY_LOCAL_MACHINE;
    again.RegSubKey = AppKey;
    again.LoadReg();
    // Saving what was loaded must not lose a setting the first store held.
    for (int i = 1; i <= store.SettingCount(); ++i) {
        const auto item = store.Item(store.GetNameFromIndex(i));
        if (item->nType <= SettingBoolean && !again.ExistSetting(item->Name)
            && !(item->nType == SettingNumber && store.GetSettingByIndex(i).typeId()
                                                    != QMetaType::Int))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    Reader in(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        ExerciseStore(std::make_shared<Registry>(RegistryDatabase::FileImage{in.bytes(size)}));
        return 0;
    }
    auto registry = std::make_shared<Registry>(RegistryDatabase::FileImage{});
    HKEY key = 0;
    if (registry->CreateKeyEx(HKEY_LOCAL_MACHINE, AppKey, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        std::abort();
    while (!in.atEnd()) {
        const QString name = QString::fromUtf8(in.bytes(in.byte() % 24));
        const uint32_t type = in.byte() % 12;
        const QByteArray value = in.bytes(in.byte());
        QByteArray back;
        if (registry->SetValueEx(key, name, type, value) != ERROR_SUCCESS
            || registry->QueryValueEx(key, name, nullptr, &back) != ERROR_SUCCESS || back != value)
            std::abort();
    }
    registry->CloseKey(key);
    ExerciseStore(registry);
    return 0;
}
