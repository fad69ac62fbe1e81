#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The SQLite file behind the registry layer. Each write is one immediate transaction, retried
// while another process holds the write lock, so two players writing at once both get through.
// WAL journalling means a process killed mid-write leaves the previous or the new value.
// A file that is not a usable registry database is moved aside and an empty one started.
class RegistryDatabase
{
public:
    struct Value
    {
        QString name;
        uint32_t type = 0;
        QByteArray data;
    };

    explicit RegistryDatabase(QString path);
    // The bytes of a registry file, opened in memory: nothing is read from or written to disk.
    // For checking what the layer makes of a file's contents many thousand times a second.
    struct FileImage
    {
        QByteArray bytes;
    };
    explicit RegistryDatabase(FileImage image);
    ~RegistryDatabase();
    RegistryDatabase(const RegistryDatabase&) = delete;
    RegistryDatabase& operator=(const RegistryDatabase&) = delete;

    // $VELTRIX_REGISTRY when set, else $XDG_CONFIG_HOME/tavrell-veltrix/registry.db.
    static QString DefaultPath();

    const QString& path() const { return m_path; }
    // Where a broken file was moved on opening; empty when none was.
    const QString& movedAsidePath() const { return m_movedAside; }
    bool isOpen();

    // Key paths are folded ("Software\\A" and "software\\a\\" are one key).
    std::optional<int64_t> findKey(uint32_t root, const QString& keyPath);
    std::optional<int64_t> createKey(uint32_t root, const QString& keyPath);
    bool keyExists(int64_t keyId);

    std::optional<std::vector<Value>> values(int64_t keyId);
    std::optional<Value> value(int64_t keyId, const QString& name);
    bool setValue(int64_t keyId, const QString& name, uint32_t type, const QByteArray& data);
    // True when the value existed and is gone.
    bool deleteValue(int64_t keyId, const QString& name);

private:
    bool ensureOpen();
    bool connectFile();
    bool connectImage();
    enum class SchemaState { Ready, Broken, Failed };
    SchemaState prepareSchema();
    void moveAside();
    void closeHandle();
    // The statement for this text, prepared once per connection; null when it cannot be.
    sqlite3_stmt* cached(const char* sql);
    // Runs a statement without results from the cache; SQLITE_OK when it ran to its end.
    int execute(const char* sql);
    template <typename Body> bool writeTransaction(Body&& body);

    QString m_path;
    std::optional<FileImage> m_image;
    QString m_movedAside;
    sqlite3* m_db = nullptr;
    // Keyed by the address of the query's literal.
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
};
