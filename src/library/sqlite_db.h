#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

// A thin owner of SQLite's C interface: a connection, its prepared statements and transactions.
// Every SQLite error is turned into a DbFailure carrying one of the named results below, so that
// the library above never looks at SQLite's numbers.
namespace voxtane::library {

enum class DbResult {
    CannotOpen,   // the file or its folder cannot be opened or created
    Busy,         // another program held the database for longer than the wait allows
    Damaged,      // the file is not a database, or its pages do not check out
    Full,         // the disk is full
    ReadOnly,     // the file or its folder cannot be written
    Interrupted,  // the work was stopped part way and rolled back
    Failed,       // anything else (an input or output error, a statement SQLite refused)
};

[[nodiscard]] const char* DescribeDbResult(DbResult result);

class DbFailure : public std::runtime_error {
  public:
    DbFailure(DbResult result, const std::string& message)
        : std::runtime_error(message), result_(result) {}
    [[nodiscard]] DbResult Result() const { return result_; }

  private:
    DbResult result_;
};

// Told once when an operation starts waiting for another program that holds the database.
using BusyNotice = std::function<void()>;

class Statement;

class Database {
  public:
    // Opens (creating when missing) the file at `path`. Throws DbFailure.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Execute(std::string_view sql);
    [[nodiscard]] Statement Prepare(std::string_view sql);
    [[nodiscard]] std::int64_t LastInsertId() const;
    [[nodiscard]] int Changes() const;
    // Differs from an earlier answer whenever this connection or another one has changed the
    // database since: what was read from it before may be kept until then.
    [[nodiscard]] std::pair<std::int64_t, std::int64_t> ChangeStamp();
    // How long a statement waits for another program's lock before failing with Busy.
    void SetBusyWait(int milliseconds, BusyNotice notice);

    [[noreturn]] void Fail(int code, std::string_view what) const;

  private:
    static int OnBusy(void* self, int attempts);

    sqlite3* db_ = nullptr;
    int busyWaitMs_ = 5000;
    BusyNotice busyNotice_;
};

class Statement {
  public:
    Statement(Database& db, sqlite3_stmt* statement) : db_(&db), statement_(statement) {}
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;

    Statement& Bind(int index, std::int64_t value);
    Statement& Bind(int index, std::string_view text);
    Statement& Bind(int index, std::span<const std::uint8_t> blob);
    Statement& BindNull(int index);
    // Steps once: true while a row is there to read.
    [[nodiscard]] bool Step();
    // Steps to the end, for statements that return no rows.
    void Run();
    void Reset();

    [[nodiscard]] std::int64_t Int(int column) const;
    [[nodiscard]] std::string Text(int column) const;
    [[nodiscard]] std::span<const std::uint8_t> Blob(int column) const;
    [[nodiscard]] bool IsNull(int column) const;

  private:
    Database* db_;
    sqlite3_stmt* statement_;
};

// Rolls back unless committed: an exception (or a killed process) leaves the database as it was.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

  private:
    Database& db_;
    bool open_ = true;
};

}  // namespace voxtane::library
