#include "library/sqlite_db.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace voxtane::library {
namespace {

DbResult ResultOf(int code) {
    switch (code & 0xFF) {
        case SQLITE_CANTOPEN:
            return DbResult::CannotOpen;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DbResult::Busy;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return DbResult::Damaged;
        case SQLITE_FULL:
            return DbResult::Full;
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return DbResult::ReadOnly;
        case SQLITE_INTERRUPT:
        case SQLITE_ABORT:
            return DbResult::Interrupted;
        default:
            return DbResult::Failed;
    }
}

constexpr int kBusyPollMs = 20;

}  // namespace

const char* DescribeDbResult(DbResult result) {
    switch (result) {
        case DbResult::CannotOpen:
            return "the library cannot be opened";
        case DbResult::Busy:
            return "the library is in use by another program";
        case DbResult::Damaged:
            return "the library file is damaged";
        case DbResult::Full:
            return "the disk is full";
        case DbResult::ReadOnly:
            return "the library cannot be written";
        case DbResult::Interrupted:
            return "the work was interrupted";
        case DbResult::Failed:
            return "the library failed";
    }
    return "the library failed";
}

Database::Database(const std::string& path) {
    const int code =
        sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbFailure(ResultOf(code), path + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, &Database::OnBusy, this);
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

int Database::OnBusy(void* self, int attempts) {
    auto* db = static_cast<Database*>(self);
    if (attempts == 0 && db->busyNotice_) db->busyNotice_();
    if (attempts * kBusyPollMs >= db->busyWaitMs_) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(kBusyPollMs));
    return 1;
}

void Database::SetBusyWait(int milliseconds, BusyNotice notice) {
    busyWaitMs_ = milliseconds;
    busyNotice_ = std::move(notice);
}

void Database::Fail(int code, std::string_view what) const {
    throw DbFailure(ResultOf(code), std::string(what) + ": " + sqlite3_errmsg(db_));
}

void Database::Execute(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (code != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errstr(code);
        sqlite3_free(error);
        throw DbFailure(ResultOf(code), message);
    }
}

Statement Database::Prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    const int code =
        sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    if (code != SQLITE_OK) Fail(code, "preparing a statement");
    return {*this, statement};
}

std::int64_t Database::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

std::pair<std::int64_t, std::int64_t> Database::ChangeStamp() {
    Statement version = Prepare("PRAGMA data_version");
    const std::int64_t others = version.Step() ? version.Int(0) : 0;
    return {others, sqlite3_total_changes64(db_)};
}

int Database::Changes() const {
    return sqlite3_changes(db_);
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), statement_(other.statement_) {
    other.statement_ = nullptr;
}

Statement& Statement::Bind(int index, std::int64_t value) {
    const int code = sqlite3_bind_int64(statement_, index, value);
    if (code != SQLITE_OK) db_->Fail(code, "binding a value");
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    const int code = sqlite3_bind_text64(statement_, index, text.data(), text.size(),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
    if (code != SQLITE_OK) db_->Fail(code, "binding a text");
    return *this;
}

Statement& Statement::Bind(int index, std::span<const std::uint8_t> blob) {
    const int code =
        sqlite3_bind_blob64(statement_, index, blob.data(), blob.size(), SQLITE_TRANSIENT);
    if (code != SQLITE_OK) db_->Fail(code, "binding bytes");
    return *this;
}

Statement& Statement::BindNull(int index) {
    const int code = sqlite3_bind_null(statement_, index);
    if (code != SQLITE_OK) db_->Fail(code, "binding a null");
    return *this;
}

bool Statement::Step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) return true;
    if (code == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    db_->Fail(code, "running a statement");
}

void Statement::Run() {
    while (Step()) {
    }
    Reset();
}

void Statement::Reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::Text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                : std::string();
}

std::span<const std::uint8_t> Statement::Blob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    return {data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

bool Statement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.Execute("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        db_.Execute("ROLLBACK");
    } catch (const DbFailure&) {
        // Nothing more can be done: SQLite rolls back a transaction that is never finished.
    }
}

void Transaction::Commit() {
    db_.Execute("COMMIT");
    open_ = false;
}

}  // namespace voxtane::library
