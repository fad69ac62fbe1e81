#include "platform/RegistryDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <sqlite3.h>

#include <thread>

namespace {

// A small RAII statement; every query here is prepared on use, the file is tiny.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql) : m_db(db)
    {
        m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_rc == SQLITE_OK && m_stmt; }
    int lastCode() const { return m_rc; }
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
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
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
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool RegistryDatabase::isOpen() { return ensureOpen(); }

bool RegistryDatabase::ensureOpen()
{
    if (m_db)
        return true;
    if (m_path.isEmpty())
        return false;
    if (openFile())
        return true;
    return false;
}

bool RegistryDatabase::openFile()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QByteArray native = QFile::encodeName(m_path);
        if (sqlite3_open_v2(native.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK) {
            closeHandle();
            return false;
        }
        sqlite3_busy_timeout(m_db, BusyTimeoutMs);
        const SchemaState state = prepareSchema();
        if (state == SchemaState::Ready)
            return true;
        closeHandle();
        if (state != SchemaState::Broken || attempt > 0)
            return false;
        moveAside();
    }
    return false;
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
        const int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            std::this_thread::yield();
            continue;
        }
        if (rc != SQLITE_OK)
            return false;
        const bool done = body();
        if (!done) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
        int commit = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        for (int wait = 0; (commit & 0xff) == SQLITE_BUSY && wait < WriteAttempts; ++wait)
            commit = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        if (commit == SQLITE_OK)
            return true;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
    return false;
}

std::optional<int64_t> RegistryDatabase::findKey(uint32_t root, const QString& keyPath)
{
    if (!ensureOpen())
        return std::nullopt;
    Statement q(m_db, "SELECT id FROM reg_keys WHERE root = ?1 AND path_fold = ?2");
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
            Statement ins(m_db, "INSERT INTO reg_keys(root, path, path_fold) VALUES(?1, ?2, ?3)"
                                " ON CONFLICT(root, path_fold) DO NOTHING");
            if (!ins.ok())
                return false;
            ins.bind(1, int64_t(root));
            ins.bind(2, path);
            ins.bind(3, path.toCaseFolded());
            if (ins.step() != SQLITE_DONE)
                return false;
        }
        Statement q(m_db, "SELECT id FROM reg_keys WHERE root = ?1 AND path_fold = ?2");
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
    Statement q(m_db, "SELECT 1 FROM reg_keys WHERE id = ?1");
    if (!q.ok())
        return false;
    q.bind(1, keyId);
    return q.step() == SQLITE_ROW;
}

std::optional<std::vector<RegistryDatabase::Value>> RegistryDatabase::values(int64_t keyId)
{
    if (!ensureOpen())
        return std::nullopt;
    Statement q(m_db, "SELECT name, type, data FROM reg_values WHERE key_id = ?1 ORDER BY seq");
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
    Statement q(m_db, "SELECT name, type, data FROM reg_values WHERE key_id = ?1"
                      " AND name_fold = ?2");
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
        Statement exists(m_db, "SELECT 1 FROM reg_keys WHERE id = ?1");
        if (!exists.ok())
            return false;
        exists.bind(1, keyId);
        if (exists.step() != SQLITE_ROW)
            return false;
        // An overwritten value keeps its place in the enumeration order.
        Statement up(m_db, "INSERT INTO reg_values(key_id, name, name_fold, type, data)"
                           " VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(key_id, name_fold)"
                           " DO UPDATE SET type = excluded.type, data = excluded.data");
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
        Statement del(m_db, "DELETE FROM reg_values WHERE key_id = ?1 AND name_fold = ?2");
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
