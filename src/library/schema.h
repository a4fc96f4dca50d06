#pragma once

#include "library/sqlite_db.h"

// The library's tables, built up by numbered steps from the first release on. The database's
// user_version says how many steps it has had; opening runs the rest, each in a transaction.
namespace voxtane::library {

[[nodiscard]] int SchemaVersion();
// Throws DbFailure; a database from a newer version is refused, not changed.
void MigrateSchema(Database& db);

}  // namespace voxtane::library
