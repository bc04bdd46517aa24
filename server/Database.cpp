#include "server/Database.h"

#include <sqlite3.h>

#include <sys/stat.h>

#include <chrono>

namespace corvanta::server {

namespace {

void Check(sqlite3* db, int rc, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw CDatabaseError(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
}

// Each entry moves the schema one version up; never edit an entry once shipped.
const char* const kMigrations[] = {
    // 1: the community.
    R"sql(
CREATE TABLE users (
  id INTEGER PRIMARY KEY,
  handle TEXT NOT NULL UNIQUE COLLATE NOCASE,
  password_hash TEXT NOT NULL,
  email TEXT NOT NULL,
  verify_question TEXT NOT NULL DEFAULT '',
  verify_answer TEXT NOT NULL DEFAULT '',
  referral_id INTEGER NOT NULL DEFAULT 0,
  own_mail INTEGER NOT NULL DEFAULT 0,
  partner_mail INTEGER NOT NULL DEFAULT 0,
  accepts_email INTEGER NOT NULL DEFAULT 1,
  created INTEGER NOT NULL,
  profile_xml TEXT NOT NULL DEFAULT ''
);
CREATE TABLE sessions (
  id INTEGER PRIMARY KEY,
  secret TEXT NOT NULL,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  created INTEGER NOT NULL,
  last_used INTEGER NOT NULL
);
CREATE INDEX sessions_user ON sessions(user_id);
CREATE TABLE artists (
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  official_url TEXT NOT NULL DEFAULT '',
  place_of_birth TEXT NOT NULL DEFAULT '',
  date_of_birth TEXT NOT NULL DEFAULT '',
  place_of_death TEXT NOT NULL DEFAULT '',
  date_of_death TEXT NOT NULL DEFAULT '',
  created_by INTEGER REFERENCES users(id) ON DELETE SET NULL,
  created INTEGER NOT NULL
);
CREATE INDEX artists_name ON artists(name COLLATE NOCASE);
CREATE TABLE performances (
  id INTEGER PRIMARY KEY,
  title TEXT NOT NULL,
  artist_id INTEGER NOT NULL REFERENCES artists(id),
  version TEXT NOT NULL DEFAULT '',
  album TEXT NOT NULL DEFAULT '',
  length INTEGER NOT NULL DEFAULT 0,
  genre_id INTEGER NOT NULL DEFAULT 0,
  source_id INTEGER NOT NULL DEFAULT 1,
  has_preview INTEGER NOT NULL DEFAULT 0,
  created_by INTEGER REFERENCES users(id) ON DELETE SET NULL,
  created INTEGER NOT NULL
);
CREATE INDEX performances_artist ON performances(artist_id);
CREATE TABLE playlists (
  id INTEGER PRIMARY KEY,
  owner_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  name TEXT NOT NULL,
  description TEXT NOT NULL DEFAULT '',
  theme TEXT NOT NULL DEFAULT '',
  genre_id INTEGER NOT NULL DEFAULT 0,
  mood_id INTEGER NOT NULL DEFAULT 0,
  is_public INTEGER NOT NULL DEFAULT 1,
  created INTEGER NOT NULL,
  updated INTEGER NOT NULL,
  times_listened INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX playlists_owner ON playlists(owner_id);
CREATE TABLE playlist_tracks (
  playlist_id INTEGER NOT NULL REFERENCES playlists(id) ON DELETE CASCADE,
  position INTEGER NOT NULL,
  performance_id INTEGER NOT NULL REFERENCES performances(id),
  comment TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (playlist_id, position)
);
CREATE INDEX playlist_tracks_performance ON playlist_tracks(performance_id);
CREATE TABLE bookmarks (
  id INTEGER PRIMARY KEY,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  kind INTEGER NOT NULL,
  item_id INTEGER NOT NULL,
  position INTEGER NOT NULL,
  UNIQUE (user_id, kind, item_id)
);
CREATE INDEX bookmarks_item ON bookmarks(kind, item_id);
CREATE TABLE lookup_items (
  table_name TEXT NOT NULL,
  id INTEGER NOT NULL,
  text TEXT NOT NULL,
  parent_id INTEGER,
  ord INTEGER NOT NULL
);
CREATE INDEX lookup_items_table ON lookup_items(table_name, ord);
CREATE TABLE outbox (
  id INTEGER PRIMARY KEY,
  kind TEXT NOT NULL,
  sender TEXT NOT NULL,
  recipient TEXT NOT NULL,
  subject_id INTEGER NOT NULL,
  message TEXT NOT NULL,
  created INTEGER NOT NULL
);
CREATE TABLE settings (
  key TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
)sql",
};

}  // namespace

CStatement::~CStatement()
{
    sqlite3_finalize(m_stmt);
}

CStatement& CStatement::Bind(int index, int64_t value)
{
    Check(sqlite3_db_handle(m_stmt), sqlite3_bind_int64(m_stmt, index, value), "bind");
    return *this;
}

CStatement& CStatement::Bind(int index, double value)
{
    Check(sqlite3_db_handle(m_stmt), sqlite3_bind_double(m_stmt, index, value), "bind");
    return *this;
}

CStatement& CStatement::Bind(int index, std::string_view value)
{
    Check(sqlite3_db_handle(m_stmt),
          sqlite3_bind_text64(m_stmt, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8), "bind");
    return *this;
}

CStatement& CStatement::BindNull(int index)
{
    Check(sqlite3_db_handle(m_stmt), sqlite3_bind_null(m_stmt, index), "bind");
    return *this;
}

bool CStatement::Step()
{
    int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    std::string message = sqlite3_errmsg(sqlite3_db_handle(m_stmt));
    sqlite3_reset(m_stmt);
    throw CDatabaseError("step: " + message);
}

void CStatement::Run()
{
    while (Step()) {
    }
}

void CStatement::Reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int64_t CStatement::Int(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}
double CStatement::Real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}
bool CStatement::IsNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::string CStatement::Text(int column) const
{
    const unsigned char* text = sqlite3_column_text(m_stmt, column);
    if (!text)
        return {};
    return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)));
}

CConnection::CConnection(const std::string& path, CDatabase* owner) : m_owner(owner)
{
    int rc =
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw CDatabaseError("cannot open " + path + ": " + message);
    }
    sqlite3_busy_timeout(m_db, 10000);
    // The log is cut back to this size whenever it starts over.
    Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON; PRAGMA journal_size_limit=" +
         std::to_string(CDatabase::kWalTarget) + ";");
}

CConnection::~CConnection()
{
    m_cache.clear();
    sqlite3_close(m_db);
}

CQuery CConnection::Prepare(const std::string& sql)
{
    auto it = m_cache.find(sql);
    if (it != m_cache.end())
        return CQuery(*it->second);
    sqlite3_stmt* stmt = nullptr;
    Check(
        m_db,
        sqlite3_prepare_v3(m_db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr),
        "prepare");
    auto inserted = m_cache.emplace(sql, std::make_unique<CStatement>(stmt));
    return CQuery(*inserted.first->second);
}

void CConnection::Exec(const std::string& sql)
{
    char* error = nullptr;
    int rc = sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw CDatabaseError("exec: " + message);
    }
}

int64_t CConnection::LastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}
int CConnection::Changes() const
{
    return sqlite3_changes(m_db);
}

CDatabase::CLease::~CLease()
{
    if (m_connection)
        m_owner->Release(std::move(m_connection));
}

CDatabase::CDatabase(const std::string& path, int poolSize) : m_path(path), m_poolSize(poolSize < 1 ? 1 : poolSize)
{
    auto connection = std::make_unique<CConnection>(path, this);
    Migrate(*connection);
    m_idle.push_back(std::move(connection));
    m_open = 1;
    m_checkpointer = std::thread([this] { Checkpoint(); });
}

CDatabase::~CDatabase()
{
    {
        std::lock_guard<std::mutex> guard(m_checkpointLock);
        m_stopping = true;
    }
    m_checkpointWake.notify_all();
    if (m_checkpointer.joinable())
        m_checkpointer.join();
}

void CDatabase::BeginWrite()
{
    std::unique_lock<std::mutex> guard(m_gateLock);
    m_gateWake.wait(guard, [this] { return !m_checkpointing; });
    ++m_writers;
}

void CDatabase::EndWrite()
{
    std::lock_guard<std::mutex> guard(m_gateLock);
    if (--m_writers == 0)
        m_gateWake.notify_all();
}

void CDatabase::Checkpoint()
{
    // Its own connection: a checkpoint that waits for readers holds none of theirs.
    std::unique_ptr<CConnection> connection;
    std::unique_lock<std::mutex> guard(m_checkpointLock);
    while (!m_checkpointWake.wait_for(guard, std::chrono::milliseconds(100), [this] { return m_stopping; })) {
        struct stat st {};
        if (::stat((m_path + "-wal").c_str(), &st) != 0 || st.st_size <= kWalTarget)
            continue;
        guard.unlock();
        {
            std::unique_lock<std::mutex> gate(m_gateLock);
            m_checkpointing = true;
            m_gateWake.wait(gate, [this] { return m_writers == 0; });
        }
        try {
            if (!connection) {
                connection = std::make_unique<CConnection>(m_path);
                sqlite3_busy_timeout(connection->Handle(), 2000);
            }
            // Waits for the readers of the old log, then empties it.
            connection->Exec("PRAGMA wal_checkpoint(TRUNCATE)");
        } catch (const CDatabaseError&) {
            // The next round tries again.
        }
        {
            std::lock_guard<std::mutex> gate(m_gateLock);
            m_checkpointing = false;
        }
        m_gateWake.notify_all();
        guard.lock();
    }
}

CDatabase::CLease CDatabase::Acquire()
{
    std::unique_lock<std::mutex> guard(m_lock);
    while (m_idle.empty() && m_open >= m_poolSize)
        m_available.wait(guard);
    if (!m_idle.empty()) {
        auto connection = std::move(m_idle.back());
        m_idle.pop_back();
        return CLease(*this, std::move(connection));
    }
    ++m_open;
    guard.unlock();
    try {
        return CLease(*this, std::make_unique<CConnection>(m_path, this));
    } catch (...) {
        std::lock_guard<std::mutex> again(m_lock);
        --m_open;
        m_available.notify_one();
        throw;
    }
}

void CDatabase::Release(std::unique_ptr<CConnection> connection)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_idle.push_back(std::move(connection));
    m_available.notify_one();
}

int CDatabase::SchemaVersion()
{
    auto db = Acquire();
    CQuery stmt = db->Prepare("PRAGMA user_version");
    return stmt.Step() ? static_cast<int>(stmt.Int(0)) : 0;
}

void CDatabase::Migrate(CConnection& connection)
{
    const int latest = static_cast<int>(std::size(kMigrations));
    for (;;) {
        CTransaction transaction(connection);
        int version = 0;
        {
            CQuery stmt = connection.Prepare("PRAGMA user_version");
            if (stmt.Step())
                version = static_cast<int>(stmt.Int(0));
        }
        if (version >= latest)
            return;
        connection.Exec(kMigrations[version]);
        connection.Exec("PRAGMA user_version=" + std::to_string(version + 1));
        transaction.Commit();
    }
}

CTransaction::CTransaction(CConnection& connection) : m_connection(connection)
{
    if (CDatabase* owner = m_connection.Owner())
        owner->BeginWrite();
    try {
        m_connection.Exec("BEGIN IMMEDIATE");
    } catch (...) {
        if (CDatabase* owner = m_connection.Owner())
            owner->EndWrite();
        throw;
    }
}

CTransaction::~CTransaction()
{
    if (!m_done) {
        try {
            m_connection.Exec("ROLLBACK");
        } catch (...) {
        }
    }
    if (CDatabase* owner = m_connection.Owner())
        owner->EndWrite();
}

void CTransaction::Commit()
{
    m_connection.Exec("COMMIT");
    m_done = true;
}

}  // namespace corvanta::server
