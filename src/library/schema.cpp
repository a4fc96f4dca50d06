#include "library/schema.h"

#include <array>
#include <string>

namespace voxtane::library {
namespace {

// Step n brings a database of version n-1 to version n. Steps are only ever added.
constexpr std::array<const char*, 3> kMigrations{
    R"(
CREATE TABLE folders(id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE);
CREATE TABLE files(
    id INTEGER PRIMARY KEY,
    folder_id INTEGER NOT NULL REFERENCES folders(id) ON DELETE CASCADE,
    path TEXT NOT NULL UNIQUE,
    name TEXT NOT NULL,
    size INTEGER NOT NULL,
    stamp TEXT NOT NULL,
    tones INTEGER NOT NULL,
    skipped TEXT NOT NULL DEFAULT '');
CREATE INDEX files_by_folder ON files(folder_id);
CREATE TABLE tones(
    id INTEGER PRIMARY KEY,
    hash TEXT NOT NULL UNIQUE,
    data BLOB NOT NULL,
    line_select INTEGER NOT NULL,
    waveforms INTEGER NOT NULL,
    modulation INTEGER NOT NULL);
CREATE TABLE sources(
    file_id INTEGER NOT NULL REFERENCES files(id) ON DELETE CASCADE,
    slot INTEGER NOT NULL,
    tone_id INTEGER NOT NULL REFERENCES tones(id),
    name TEXT NOT NULL,
    PRIMARY KEY(file_id, slot)) WITHOUT ROWID;
CREATE INDEX sources_by_tone ON sources(tone_id);
CREATE TABLE user_data(
    hash TEXT PRIMARY KEY,
    favourite INTEGER NOT NULL DEFAULT 0,
    rating INTEGER NOT NULL DEFAULT 0,
    note TEXT NOT NULL DEFAULT '',
    own_name TEXT NOT NULL DEFAULT '') WITHOUT ROWID;
CREATE TABLE tags(hash TEXT NOT NULL, tag TEXT NOT NULL, PRIMARY KEY(hash, tag)) WITHOUT ROWID;
CREATE INDEX tags_by_tag ON tags(tag);
CREATE VIRTUAL TABLE tone_text USING fts5(
    names, tags, note, files, tokenize = 'unicode61 remove_diacritics 2', prefix = '1 2');
CREATE VIRTUAL TABLE tone_terms USING fts5vocab(tone_text, row);
CREATE TABLE words(word TEXT PRIMARY KEY) WITHOUT ROWID;
)",
    // What each tone sounds like, measured by the software voice (see sound_features.h).
    R"(
CREATE TABLE features(
    hash TEXT PRIMARY KEY,
    version INTEGER NOT NULL,
    vector BLOB NOT NULL) WITHOUT ROWID;
CREATE INDEX features_by_version ON features(version);
)",
    // Tones whose text row is to be made again: a scan writes the text once, at its end, and a
    // scan cut short leaves the list to the next one.
    R"(
CREATE TABLE text_due(id INTEGER PRIMARY KEY);
)",
};

int CurrentVersion(Database& db) {
    Statement version = db.Prepare("PRAGMA user_version");
    return version.Step() ? static_cast<int>(version.Int(0)) : 0;
}

}  // namespace

int SchemaVersion() {
    return static_cast<int>(kMigrations.size());
}

void MigrateSchema(Database& db) {
    const int found = CurrentVersion(db);
    if (found > SchemaVersion())
        throw DbFailure(DbResult::Failed, "the library was made by a newer version (schema " +
                                              std::to_string(found) + ")");
    for (int step = found + 1; step <= SchemaVersion(); ++step) {
        Transaction transaction(db);
        // Another program may have migrated while this one waited for the lock.
        if (CurrentVersion(db) >= step) continue;
        db.Execute(kMigrations[static_cast<std::size_t>(step - 1)]);
        db.Execute("PRAGMA user_version = " + std::to_string(step));
        transaction.Commit();
    }
}

}  // namespace voxtane::library
