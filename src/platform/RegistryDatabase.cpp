#include "platform/RegistryDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <sqlite3.h>

#include <cstring>
#include <thread>

namespace {

// A small RAII statement. The registry's own queries come from the connection's cache and are
// only reset after use: preparing them anew for every call cost more than running them.
class Statement
{
public:
    explicit Statement(sqlite3_stmt* cached) : m_stmt(cached), m_owned(false) {}
    // A one-off statement, finalized after use.
    Statement(sqlite3* db, const char* sql)
    {
        m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    }
    ~Statement()
    {
        if (m_owned) {
            sqlite3_finalize(m_stmt);
        } else if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_rc == SQLITE_OK && m_stmt; }
    void bind(int i, int64_t v) { sqlite3_bind_int64(m_stmt, i, v); }
    void bind(int i, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    // A zero-length blob must stay a blob: binding a null pointer would store NULL instead.
    void bindBlob(int i, const QByteArray& data)
    {
        if (data.isEmpty())
            sqlite3_bind_zeroblob(m_stmt, i, 0);
        else
            sqlite3_bind_blob(m_stmt, i, data.constData(), int(data.size()), SQLITE_TRANSIENT);
    }
    int step()
    {
        m_rc = sqlite3_step(m_stmt);
        return m_rc;
    }
    int64_t integer(int col) const { return sqlite3_column_int64(m_stmt, col); }
    QString text(int col) const
    {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, col));
        return QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, col));
    }
    QByteArray blob(int col) const
    {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, col));
        const int n = sqlite3_column_bytes(m_stmt, col);
        return p && n > 0 ? QByteArray(p, n) : QByteArray("", 0);
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    bool m_owned = true;
    int m_rc = SQLITE_OK;
};

// Failures that say something about the file itself, as opposed to the moment (locked, busy)
// or the place (unreadable folder, full disk). Only these justify moving the file aside.
bool IsBrokenFileCode(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_ERROR:      // another program's tables, views or triggers under our names
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_SCHEMA:
        return true;
    default:
        return false;
    }
}

QString NormalisedKeyPath(const QString& keyPath)
{
    QStringList parts = keyPath.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

const char* const Schema =
    "CREATE TABLE IF NOT EXISTS reg_keys("
    " id INTEGER PRIMARY KEY, root INTEGER NOT NULL, path TEXT NOT NULL,"
    " path_fold TEXT NOT NULL, UNIQUE(root, path_fold));"
    "CREATE TABLE IF NOT EXISTS reg_values("
    " seq INTEGER PRIMARY KEY AUTOINCREMENT, key_id INTEGER NOT NULL, name TEXT NOT NULL,"
    " name_fold TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
    " UNIQUE(key_id, name_fold));";

// Retries are for the moments another process holds the write lock beyond the busy timeout.
constexpr int BusyTimeoutMs = 2000;
constexpr int WriteAttempts = 5;

} // namespace

RegistryDatabase::RegistryDatabase(QString path) : m_path(std::move(path)) {}

RegistryDatabase::RegistryDatabase(FileImage image) : m_image(std::move(image)) {}

RegistryDatabase::~RegistryDatabase() { closeHandle(); }

QString RegistryDatabase::DefaultPath()
{
    const QString fromEnv = qEnvironmentVariable("VELTRIX_REGISTRY");
    if (!fromEnv.isEmpty())
        return fromEnv;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/tavrell-veltrix/registry.db");
}

void RegistryDatabase::closeHandle()
{
    for (const auto& [sql, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

int RegistryDatabase::execute(const char* sql)
{
    sqlite3_stmt* statement = cached(sql);
    if (!statement)
        return sqlite3_errcode(m_db);
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

sqlite3_stmt* RegistryDatabase::cached(const char* sql)
{
    sqlite3_stmt*& statement = m_statements[sql];
    if (!statement)
        sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    return statement;
}

bool RegistryDatabase::isOpen() { return ensureOpen(); }

bool RegistryDatabase::ensureOpen()
{
    if (m_db)
        return true;
    if (!m_image && m_path.isEmpty())
        return false;
    if (!m_image)
        QDir().mkpath(QFileInfo(m_path).absolutePath());
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!(m_image ? connectImage() : connectFile())) {
            closeHandle();
            return false;
        }
        const SchemaState state = prepareSchema();
        if (state == SchemaState::Ready)
            return true;
        closeHandle();
        if (state != SchemaState::Broken || attempt > 0)
            return false;
        // An image has nothing to move aside: it starts empty, as the file would.
        if (m_image)
            m_image->bytes.clear();
        else
            moveAside();
    }
    return false;
}

bool RegistryDatabase::connectFile()
{
    const QByteArray native = QFile::encodeName(m_path);
    if (sqlite3_open_v2(native.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    return true;
}

bool RegistryDatabase::connectImage()
{
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return false;
    const QByteArray& bytes = m_image->bytes;
    if (bytes.isEmpty())
        return true;
    // SQLite takes the copy over and frees it with the connection.
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size()));
    if (!copy)
        return false;
    std::memcpy(copy, bytes.constData(), size_t(bytes.size()));
    // A file written in WAL mode says so in its header, and memory has no WAL: read it as the
    // rollback-journal file it is once its log has been checkpointed.
    for (qsizetype version : {18, 19}) {
        if (bytes.size() > version && copy[version] == 2)
            copy[version] = 1;
    }
    return sqlite3_deserialize(m_db, "main", copy, bytes.size(), bytes.size(),
                               SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE)
           == SQLITE_OK;
}

RegistryDatabase::SchemaState RegistryDatabase::prepareSchema()
{
    const auto failure = [this] {
        return IsBrokenFileCode(sqlite3_extended_errcode(m_db)) ? SchemaState::Broken
                                                                 : SchemaState::Failed;
    };
    // The first statement reads the header: garbage answers SQLITE_NOTADB here.
    if (sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure();
    sqlite3_exec(m_db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    {
        // A truncated file can still read as a database whose pages are missing.
        Statement check(m_db, "PRAGMA quick_check");
        if (!check.ok())
            return failure();
        const int rc = check.step();
        if (rc != SQLITE_ROW)
            return failure();
        if (check.text(0) != u"ok")
            return SchemaState::Broken;
    }
    if (sqlite3_exec(m_db, Schema, nullptr, nullptr, nullptr) != SQLITE_OK)
        return failure();
    // Another program's database may have tables of these names with other columns.
    Statement probe(m_db, "SELECT k.id, k.root, k.path, k.path_fold, v.seq, v.name, v.name_fold,"
                          " v.type, v.data, v.key_id FROM reg_keys k, reg_values v LIMIT 0");
    if (!probe.ok())
        return failure();
    return SchemaState::Ready;
}

void RegistryDatabase::moveAside()
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    const QString target = m_path + QStringLiteral(".broken-") + stamp;
    if (!QFile::rename(m_path, target))
        QFile::remove(m_path);
    else
        m_movedAside = target;
    // The journal belongs to the broken file; left in place it would be replayed into the new one.
    QFile::rename(m_path + QStringLiteral("-wal"), target + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
}

template <typename Body> bool RegistryDatabase::writeTransaction(Body&& body)
{
    if (!ensureOpen())
        return false;
    for (int attempt = 0; attempt < WriteAttempts; ++attempt) {
        const int rc = execute("BEGIN IMMEDIATE");
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            std::this_thread::yield();
            continue;
        }
        if (rc != SQLITE_OK)
            return false;
        const bool done = body();
        if (!done) {
            execute("ROLLBACK");
            return false;
        }
        int commit = execute("COMMIT");
        for (int wait = 0; (commit & 0xff) == SQLITE_BUSY && wait < WriteAttempts; ++wait)
            commit = execute("COMMIT");
        if (commit == SQLITE_OK)
            return true;
        execute("ROLLBACK");
        return false;
    }
    return false;
}

std::optional<int64_t> RegistryDatabase::findKey(uint32_t root, const QString& keyPath)
{
    if (!ensureOpen())
        return std::nullopt;
    Statement q(cached("SELECT id FROM reg_keys WHERE root = ?1 AND path_fold = ?2"));
    if (!q.ok())
        return std::nullopt;
    q.bind(1, int64_t(root));
    q.bind(2, NormalisedKeyPath(keyPath).toCaseFolded());
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    return q.integer(0);
}

std::optional<int64_t> RegistryDatabase::createKey(uint32_t root, const QString& keyPath)
{
    const QStringList parts = NormalisedKeyPath(keyPath).split(u'\\', Qt::SkipEmptyParts);
    // Like the system registry, creating a key creates every missing key above it.
    QStringList chain{QString()};
    if (!parts.isEmpty()) {
        chain.clear();
        for (qsizetype i = 1; i <= parts.size(); ++i)
            chain.append(parts.first(i).join(u'\\'));
    }
    std::optional<int64_t> id;
    const bool ok = writeTransaction([&] {
        for (const QString& path : chain) {
            Statement ins(cached("INSERT INTO reg_keys(root, path, path_fold) VALUES(?1, ?2, ?3)"
                                 " ON CONFLICT(root, path_fold) DO NOTHING"));
            if (!ins.ok())
                return false;
            ins.bind(1, int64_t(root));
            ins.bind(2, path);
            ins.bind(3, path.toCaseFolded());
            if (ins.step() != SQLITE_DONE)
                return false;
        }
        Statement q(cached("SELECT id FROM reg_keys WHERE root = ?1 AND path_fold = ?2"));
        if (!q.ok())
            return false;
        q.bind(1, int64_t(root));
        q.bind(2, chain.last().toCaseFolded());
        if (q.step() != SQLITE_ROW)
            return false;
        id = q.integer(0);
        return true;
    });
    return ok ? id : std::nullopt;
}

bool RegistryDatabase::keyExists(int64_t keyId)
{
    if (!ensureOpen())
        return false;
    Statement q(cached("SELECT 1 FROM reg_keys WHERE id = ?1"));
    if (!q.ok())
        return false;
    q.bind(1, keyId);
    return q.step() == SQLITE_ROW;
}

std::optional<std::vector<RegistryDatabase::Value>> RegistryDatabase::values(int64_t keyId)
{
    if (!ensureOpen())
        return std::nullopt;
    Statement q(cached("SELECT name, type, data FROM reg_values WHERE key_id = ?1 ORDER BY seq"));
    if (!q.ok())
        return std::nullopt;
    q.bind(1, keyId);
    std::vector<Value> out;
    int rc;
    while ((rc = q.step()) == SQLITE_ROW)
        out.push_back({q.text(0), uint32_t(q.integer(1)), q.blob(2)});
    if (rc != SQLITE_DONE)
        return std::nullopt;
    return out;
}

std::optional<RegistryDatabase::Value> RegistryDatabase::value(int64_t keyId, const QString& name)
{
    if (!ensureOpen())
        return std::nullopt;
    Statement q(cached("SELECT name, type, data FROM reg_values WHERE key_id = ?1"
                       " AND name_fold = ?2"));
    if (!q.ok())
        return std::nullopt;
    q.bind(1, keyId);
    q.bind(2, name.toCaseFolded());
    if (q.step() != SQLITE_ROW)
        return std::nullopt;
    return Value{q.text(0), uint32_t(q.integer(1)), q.blob(2)};
}

bool RegistryDatabase::setValue(int64_t keyId, const QString& name, uint32_t type,
                                const QByteArray& data)
{
    return writeTransaction([&] {
        // The key may have been deleted by another process since it was opened.
        Statement exists(cached("SELECT 1 FROM reg_keys WHERE id = ?1"));
        if (!exists.ok())
            return false;
        exists.bind(1, keyId);
        if (exists.step() != SQLITE_ROW)
            return false;
        // An overwritten value keeps its place in the enumeration order.
        Statement up(cached("INSERT INTO reg_values(key_id, name, name_fold, type, data)"
                            " VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(key_id, name_fold)"
                            " DO UPDATE SET type = excluded.type, data = excluded.data"));
        if (!up.ok())
            return false;
        up.bind(1, keyId);
        up.bind(2, name);
        up.bind(3, name.toCaseFolded());
        up.bind(4, int64_t(type));
        up.bindBlob(5, data);
        return up.step() == SQLITE_DONE;
    });
}

bool RegistryDatabase::deleteValue(int64_t keyId, const QString& name)
{
    bool removed = false;
    const bool ok = writeTransaction([&] {
        Statement del(cached("DELETE FROM reg_values WHERE key_id = ?1 AND name_fold = ?2"));
        if (!del.ok())
            return false;
        del.bind(1, keyId);
        del.bind(2, name.toCaseFolded());
        if (del.step() != SQLITE_DONE)
            return false;
        removed = sqlite3_changes(m_db) > 0;
        return true;
    });
    return ok && removed;
}
