#pragma once

#include <cstdint>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace corvanta::server {

// One prepared statement; parameters are bound by position (1-based) so that no
// value ever becomes part of the SQL text.
class CStatement {
public:
    explicit CStatement(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;
    ~CStatement();

    CStatement& Bind(int index, int64_t value);
    CStatement& Bind(int index, int value) { return Bind(index, static_cast<int64_t>(value)); }
    CStatement& Bind(int index, double value);
    CStatement& Bind(int index, std::string_view value);
    CStatement& Bind(int index, const char* value) { return Bind(index, std::string_view(value)); }
    CStatement& Bind(int index, const std::string& value) { return Bind(index, std::string_view(value)); }
    CStatement& BindNull(int index);

    // Advances to the next row; false when done. Throws CDatabaseError on failure.
    bool Step();
    // Runs a statement that returns no rows.
    void Run();
    void Reset();

    int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3_stmt* m_stmt;
};

class CDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A cached statement in use; resets it when done so that no read stays open.
class CQuery {
public:
    explicit CQuery(CStatement& stmt) : m_stmt(stmt) {}
    CQuery(const CQuery&) = delete;
    CQuery& operator=(const CQuery&) = delete;
    ~CQuery() { m_stmt.Reset(); }

    template <class T>
    CQuery& Bind(int index, const T& value)
    {
        m_stmt.Bind(index, value);
        return *this;
    }
    CQuery& BindNull(int index)
    {
        m_stmt.BindNull(index);
        return *this;
    }
    bool Step() { return m_stmt.Step(); }
    void Run() { m_stmt.Run(); }
    int64_t Int(int column) const { return m_stmt.Int(column); }
    std::string Text(int column) const { return m_stmt.Text(column); }
    bool IsNull(int column) const { return m_stmt.IsNull(column); }

private:
    CStatement& m_stmt;
};

class CDatabase;

// A connection with its own cache of prepared statements.
class CConnection {
public:
    // owner, when given, is told of every transaction (see CDatabase).
    explicit CConnection(const std::string& path, CDatabase* owner = nullptr);
    CConnection(const CConnection&) = delete;
    CConnection& operator=(const CConnection&) = delete;
    ~CConnection();

    // A cached statement, reset and with its bindings cleared.
    CQuery Prepare(const std::string& sql);
    void Exec(const std::string& sql);
    int64_t LastInsertId() const;
    int Changes() const;
    sqlite3* Handle() const { return m_db; }
    CDatabase* Owner() const { return m_owner; }

private:
    sqlite3* m_db = nullptr;
    CDatabase* m_owner;
    std::unordered_map<std::string, std::unique_ptr<CStatement>> m_cache;
};

// A small pool of connections to one database file (WAL: readers run side by side).
//
// The write-ahead log stays small: a checkpointer folds it back into the
// database and truncates it whenever it passes kWalTarget. New transactions
// wait while it does, and it waits for the readers of the old log, so that
// neither a steady stream of writers nor of readers keeps the log growing.
// Commits are synchronous=FULL: an acknowledged write is on disk before the
// answer leaves.
class CDatabase {
public:
    class CLease {
    public:
        CLease(CDatabase& owner, std::unique_ptr<CConnection> connection)
            : m_owner(&owner), m_connection(std::move(connection))
        {
        }
        CLease(CLease&& other) noexcept = default;
        CLease& operator=(CLease&&) = delete;
        ~CLease();
        CConnection* operator->() const { return m_connection.get(); }
        CConnection& operator*() const { return *m_connection; }

    private:
        CDatabase* m_owner;
        std::unique_ptr<CConnection> m_connection;
    };

    static constexpr int64_t kWalTarget = 16 * 1024 * 1024;

    // Opens (creating when needed) the file and brings its schema up to date.
    explicit CDatabase(const std::string& path, int poolSize = 8);
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;
    ~CDatabase();

    CLease Acquire();
    int SchemaVersion();
    // Around every transaction: a transaction does not begin while the log is
    // being cut back, and the cut waits for those under way.
    void BeginWrite();
    void EndWrite();
    const std::string& Path() const { return m_path; }

private:
    void Migrate(CConnection& connection);
    void Release(std::unique_ptr<CConnection> connection);
    void Checkpoint();

    std::string m_path;
    std::mutex m_lock;
    std::condition_variable m_available;
    std::vector<std::unique_ptr<CConnection>> m_idle;
    int m_open = 0;
    int m_poolSize;
    std::mutex m_checkpointLock;
    std::condition_variable m_checkpointWake;
    bool m_stopping = false;
    std::mutex m_gateLock;
    std::condition_variable m_gateWake;
    int m_writers = 0;
    bool m_checkpointing = false;
    std::thread m_checkpointer;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when left by an exception.
class CTransaction {
public:
    explicit CTransaction(CConnection& connection);
    CTransaction(const CTransaction&) = delete;
    CTransaction& operator=(const CTransaction&) = delete;
    ~CTransaction();
    void Commit();

private:
    CConnection& m_connection;
    bool m_done = false;
};

}  // namespace corvanta::server
