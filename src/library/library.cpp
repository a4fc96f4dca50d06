#include "library/library.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>

#include "bank/atomic_file.h"
#include "library/near_words.h"
#include "library/schema.h"
#include "library/tone_identity.h"

namespace voxtane::library {
namespace fs = std::filesystem;
namespace {

constexpr int kUserDataFormat = 1;

bool PassesCheck(Database& db) {
    Statement check = db.Prepare("PRAGMA quick_check");
    return check.Step() && check.Text(0) == "ok";
}

std::unique_ptr<Database> OpenChecked(const fs::path& path, const BusyNotice& busy) {
    auto db = std::make_unique<Database>(path.string());
    db->SetBusyWait(5000, busy);
    db->Execute("PRAGMA journal_mode = WAL");
    db->Execute("PRAGMA synchronous = NORMAL");
    db->Execute("PRAGMA foreign_keys = ON");
    db->Execute("PRAGMA cache_size = -16384");
    if (!PassesCheck(*db)) throw DbFailure(DbResult::Damaged, "the integrity check failed");
    MigrateSchema(*db);
    return db;
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &parts);
    return text;
}

// Moves the database and its journal files aside under one new name; returns that name.
fs::path MoveAside(const fs::path& path) {
    const fs::path aside = path.string() + ".damaged-" + TimeStamp();
    std::error_code ignored;
    fs::rename(path, aside, ignored);
    for (const char* suffix : {"-wal", "-shm"})
        fs::rename(path.string() + suffix, aside.string() + suffix, ignored);
    return aside;
}

}  // namespace

Library::Library(fs::path path, std::unique_ptr<Database> db)
    : path_(std::move(path)), db_(std::move(db)) {}

Library::~Library() = default;

fs::path Library::DefaultPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && *data && fs::path(data).is_absolute()) {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".local" / "share";
    }
    return base / "voxtane" / "library.sqlite";
}

fs::path Library::UserDataPath(const fs::path& dbPath) {
    return dbPath.parent_path() / (dbPath.stem().string() + "-userdata.json");
}

Library::Opened Library::Open(const fs::path& path, BusyNotice busy) {
    Opened opened;
    std::error_code error;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
    const bool existed = fs::exists(path, error);
    std::unique_ptr<Database> db;
    try {
        try {
            db = OpenChecked(path, busy);
        } catch (const DbFailure& failure) {
            if (failure.Result() != DbResult::Damaged) throw;
            const fs::path aside = MoveAside(path);
            opened.notes.push_back("The library " + path.string() + " was damaged (" +
                                   failure.what() + "); it was moved aside to " + aside.string() +
                                   " and is rebuilt from its folders and " +
                                   UserDataPath(path).string() + ".");
            db = OpenChecked(path, busy);
            opened.needsRebuild = true;
        }
        opened.library.reset(new Library(path, std::move(db)));
        if ((!existed || opened.needsRebuild) && fs::exists(UserDataPath(path), error)) {
            try {
                opened.library->RestoreUserDataFile();
            } catch (const nlohmann::json::exception& bad) {
                opened.notes.push_back(UserDataPath(path).string() + " could not be read (" +
                                       bad.what() +
                                       "); the owner's data was not restored from it.");
            }
            opened.needsRebuild = true;
        }
    } catch (const DbFailure& failure) {
        opened.library.reset();
        opened.result = {LibraryStatus::DbError, failure.Result(),
                         std::string(DescribeDbResult(failure.Result())) + ": " + failure.what()};
    }
    return opened;
}

LibraryResult Library::Guard(const std::function<LibraryResult()>& work) {
    try {
        return work();
    } catch (const DbFailure& failure) {
        return {LibraryStatus::DbError, failure.Result(),
                std::string(DescribeDbResult(failure.Result())) + ": " + failure.what()};
    }
}

LibraryResult Library::AddFolders(const std::vector<std::string>& folders) {
    return Guard([&]() -> LibraryResult {
        std::vector<std::string> paths;
        for (const std::string& folder : folders) {
            std::error_code error;
            const fs::path absolute = fs::absolute(folder, error).lexically_normal();
            if (error || !fs::is_directory(absolute, error))
                return {LibraryStatus::NotAFolder, DbResult::Failed, folder + ": not a folder"};
            std::string text = absolute.string();
            if (text.size() > 1 && text.back() == '/') text.pop_back();
            paths.push_back(text);
        }
        Transaction transaction(*db_);
        Statement insert = db_->Prepare("INSERT OR IGNORE INTO folders(path) VALUES (?)");
        for (const std::string& path : paths) {
            insert.Bind(1, path);
            insert.Run();
        }
        transaction.Commit();
        WriteUserDataFile();
        return {};
    });
}

std::vector<std::string> Library::Folders() {
    std::vector<std::string> folders;
    Statement select = db_->Prepare("SELECT path FROM folders ORDER BY path");
    while (select.Step()) folders.push_back(select.Text(0));
    return folders;
}

LibraryResult Library::ResolveTone(const std::string& idPrefix, std::string& hash) {
    std::string prefix;
    for (const char c : idPrefix)
        prefix += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (prefix.empty() || prefix.find_first_not_of("0123456789abcdef") != std::string::npos)
        return {LibraryStatus::NoSuchTone, DbResult::Failed,
                "\"" + idPrefix + "\" is not a tone id (hexadecimal digits)"};
    Statement select =
        db_->Prepare("SELECT hash FROM tones WHERE hash >= ?1 AND hash < ?1 || 'g' LIMIT 2");
    select.Bind(1, prefix);
    std::vector<std::string> found;
    while (select.Step()) found.push_back(select.Text(0));
    if (found.empty())
        return {LibraryStatus::NoSuchTone, DbResult::Failed, "no tone has the id " + idPrefix};
    if (found.size() > 1)
        return {LibraryStatus::AmbiguousTone, DbResult::Failed,
                "more than one tone's id starts with " + idPrefix + "; give more digits"};
    hash = found.front();
    return {};
}

LibraryResult Library::ChangeUserData(const std::string& idPrefix,
                                      const std::function<void(const std::string&)>& change) {
    return Guard([&]() -> LibraryResult {
        std::string hash;
        if (LibraryResult resolved = ResolveTone(idPrefix, hash); !resolved.ok()) return resolved;
        Transaction transaction(*db_);
        Statement ensure = db_->Prepare("INSERT OR IGNORE INTO user_data(hash) VALUES (?)");
        ensure.Bind(1, hash);
        ensure.Run();
        change(hash);
        RefreshTextOfHash(hash);
        transaction.Commit();
        WriteUserDataFile();
        return {};
    });
}

LibraryResult Library::Tag(const std::string& idPrefix, const std::vector<std::string>& tags) {
    return ChangeUserData(idPrefix, [&](const std::string& hash) {
        Statement insert = db_->Prepare("INSERT OR IGNORE INTO tags(hash, tag) VALUES (?, ?)");
        for (const std::string& tag : tags) {
            if (tag.empty()) continue;
            insert.Bind(1, hash).Bind(2, tag);
            insert.Run();
            AddWords(tag);
        }
    });
}

LibraryResult Library::Untag(const std::string& idPrefix, const std::vector<std::string>& tags) {
    return ChangeUserData(idPrefix, [&](const std::string& hash) {
        Statement remove = db_->Prepare("DELETE FROM tags WHERE hash = ? AND tag = ?");
        for (const std::string& tag : tags) {
            remove.Bind(1, hash).Bind(2, tag);
            remove.Run();
        }
    });
}

LibraryResult Library::SetFavourite(const std::string& idPrefix, bool favourite) {
    return ChangeUserData(idPrefix, [&](const std::string& hash) {
        Statement update = db_->Prepare("UPDATE user_data SET favourite = ? WHERE hash = ?");
        update.Bind(1, favourite ? 1 : 0).Bind(2, hash);
        update.Run();
    });
}

LibraryResult Library::SetRating(const std::string& idPrefix, int rating) {
    return ChangeUserData(idPrefix, [&](const std::string& hash) {
        Statement update = db_->Prepare("UPDATE user_data SET rating = ? WHERE hash = ?");
        update.Bind(1, std::clamp(rating, 0, 5)).Bind(2, hash);
        update.Run();
    });
}

LibraryResult Library::SetNote(const std::string& idPrefix, const std::string& note) {
    return ChangeUserData(idPrefix, [&](const std::string& hash) {
        Statement update = db_->Prepare("UPDATE user_data SET note = ? WHERE hash = ?");
        update.Bind(1, note).Bind(2, hash);
        update.Run();
        AddWords(note);
    });
}

LibraryResult Library::SetOwnName(const std::string& idPrefix, const std::string& name) {
    return ChangeUserData(idPrefix, [&](const std::string& hash) {
        Statement update = db_->Prepare("UPDATE user_data SET own_name = ? WHERE hash = ?");
        update.Bind(1, name).Bind(2, hash);
        update.Run();
        AddWords(name);
    });
}

void Library::RefreshTextOfHash(const std::string& hash) {
    Statement select = db_->Prepare("SELECT id FROM tones WHERE hash = ?");
    select.Bind(1, hash);
    if (select.Step()) RefreshText(select.Int(0));
}

namespace {

// The text row of tone t: its names (the owner's first), tags, note and file names.
constexpr const char* kTextOfTone = R"(
SELECT t.id,
    coalesce(u.own_name, '') || ' ' ||
        coalesce((SELECT group_concat(name, ' ') FROM sources WHERE tone_id = t.id), ''),
    coalesce((SELECT group_concat(tag, ' ') FROM tags WHERE hash = t.hash), ''),
    coalesce(u.note, ''),
    coalesce((SELECT group_concat(f.name, ' ') FROM sources s JOIN files f ON f.id = s.file_id
              WHERE s.tone_id = t.id), '')
FROM tones t LEFT JOIN user_data u ON u.hash = t.hash)";

}  // namespace

void Library::RefreshText(std::int64_t toneId) {
    if (!insertText_) {
        dropText_.emplace(db_->Prepare("DELETE FROM tone_text WHERE rowid = ?"));
        insertText_.emplace(
            db_->Prepare(std::string("INSERT INTO tone_text(rowid, names, tags, note, files)") +
                         kTextOfTone + " WHERE t.id = ?"));
    }
    dropText_->Bind(1, toneId);
    dropText_->Run();
    insertText_->Bind(1, toneId);
    insertText_->Run();
}

void Library::RefreshDueText(const std::map<std::int64_t, GatheredText>& gathered) {
    db_->Execute("DELETE FROM tone_text WHERE rowid IN (SELECT id FROM text_due)");
    if (!gathered.empty()) {
        // One row a statement: a statement inserting several rows into the full-text table opens
        // a savepoint, which makes the index write out what it holds each time.
        Statement undue = db_->Prepare("DELETE FROM text_due WHERE id = ?");
        Statement insert = db_->Prepare(
            "INSERT INTO tone_text(rowid, names, tags, note, files) VALUES (?, ?, ?, ?, ?)");
        Statement owners = db_->Prepare(R"(
SELECT coalesce(u.own_name, ''), coalesce(u.note, ''),
    coalesce((SELECT group_concat(tag, ' ') FROM tags WHERE hash = t.hash), '')
FROM tones t LEFT JOIN user_data u ON u.hash = t.hash WHERE t.id = ?)");
        Statement anyOwners =
            db_->Prepare("SELECT EXISTS(SELECT 1 FROM user_data) OR EXISTS(SELECT 1 FROM tags)");
        const bool withOwners = anyOwners.Step() && anyOwners.Int(0) != 0;
        std::string names;
        for (const auto& [toneId, text] : gathered) {
            // Only while still due: another program may have written the text in the meantime.
            undue.Bind(1, toneId);
            undue.Run();
            if (db_->Changes() == 0) continue;
            std::string tags, note, ownName;
            if (withOwners) {
                owners.Bind(1, toneId);
                if (owners.Step()) {
                    ownName = owners.Text(0);
                    note = owners.Text(1);
                    tags = owners.Text(2);
                }
                owners.Reset();
            }
            names.assign(ownName).append(" ").append(text.names);
            insert.Bind(1, toneId).Bind(2, names).Bind(3, tags).Bind(4, note).Bind(5, text.files);
            insert.Run();
        }
    }
    db_->Execute(std::string("INSERT INTO tone_text(rowid, names, tags, note, files)") +
                 kTextOfTone + " WHERE t.id IN (SELECT id FROM text_due) ORDER BY t.id");
    db_->Execute("DELETE FROM text_due");
}

void Library::RebuildWords() {
    db_->Execute("DELETE FROM words; INSERT INTO words SELECT term FROM tone_terms");
}

void Library::AddWords(const std::string& text) {
    Statement insert = db_->Prepare("INSERT OR IGNORE INTO words(word) VALUES (?)");
    for (const std::string& word : SplitWords(text)) {
        insert.Bind(1, word);
        insert.Run();
    }
}

ToneEntry Library::LoadEntry(std::int64_t toneId) {
    // Prepared once: a search loads fifty tones, a window's page hundreds.
    if (!entryTone_) {
        entryTone_.emplace(db_->Prepare(R"(
SELECT t.hash, t.line_select, t.waveforms, coalesce(u.favourite, 0), coalesce(u.rating, 0),
       coalesce(u.note, ''), coalesce(u.own_name, '')
FROM tones t LEFT JOIN user_data u ON u.hash = t.hash WHERE t.id = ?)"));
        entrySources_.emplace(db_->Prepare(R"(
SELECT f.path, s.slot, s.name FROM sources s JOIN files f ON f.id = s.file_id
WHERE s.tone_id = ? ORDER BY f.path, s.slot)"));
        entryTags_.emplace(db_->Prepare("SELECT tag FROM tags WHERE hash = ? ORDER BY tag"));
    }
    struct Done {
        std::initializer_list<Statement*> used;
        ~Done() {
            for (Statement* statement : used) statement->Reset();
        }
    } done{{&*entryTone_, &*entrySources_, &*entryTags_}};

    ToneEntry entry;
    Statement& tone = *entryTone_;
    tone.Bind(1, toneId);
    if (!tone.Step()) return entry;
    entry.hash = tone.Text(0);
    entry.lineSelect = static_cast<int>(tone.Int(1));
    entry.waveforms = static_cast<int>(tone.Int(2));
    entry.favourite = tone.Int(3) != 0;
    entry.rating = static_cast<int>(tone.Int(4));
    entry.note = tone.Text(5);
    entry.ownName = tone.Text(6);
    if (!entry.ownName.empty()) entry.names.push_back(entry.ownName);

    Statement& sources = *entrySources_;
    sources.Bind(1, toneId);
    while (sources.Step()) {
        entry.sources.push_back(
            {sources.Text(0), static_cast<int>(sources.Int(1)), sources.Text(2)});
        const std::string& name = entry.sources.back().name;
        if (!name.empty() &&
            std::find(entry.names.begin(), entry.names.end(), name) == entry.names.end())
            entry.names.push_back(name);
    }
    Statement& tags = *entryTags_;
    tags.Bind(1, entry.hash);
    while (tags.Step()) entry.tags.push_back(tags.Text(0));
    return entry;
}

LibraryResult Library::Find(const std::string& idPrefix, ToneEntry& tone) {
    return Guard([&]() -> LibraryResult {
        std::string hash;
        if (LibraryResult resolved = ResolveTone(idPrefix, hash); !resolved.ok()) return resolved;
        Statement select = db_->Prepare("SELECT id FROM tones WHERE hash = ?");
        select.Bind(1, hash);
        if (select.Step()) tone = LoadEntry(select.Int(0));
        return {};
    });
}

LibraryResult Library::Record(const std::string& hash, ToneRecord& record) {
    return Guard([&]() -> LibraryResult {
        Statement select = db_->Prepare("SELECT data FROM tones WHERE hash = ?");
        select.Bind(1, hash);
        if (!select.Step()) return {LibraryStatus::NoSuchTone, DbResult::Failed, "no tone " + hash};
        const auto blob = select.Blob(0);
        record = RecordFromEntryBytes({blob.begin(), blob.end()});
        return {};
    });
}

LibraryResult Library::GetStats(Stats& stats) {
    return Guard([&]() -> LibraryResult {
        Statement select = db_->Prepare(R"(
SELECT (SELECT count(*) FROM folders), (SELECT count(*) FROM files),
       (SELECT count(*) FROM files WHERE tones = 0), (SELECT count(*) FROM tones),
       (SELECT count(*) FROM sources),
       (SELECT count(*) FROM (SELECT tone_id FROM sources GROUP BY tone_id HAVING count(*) > 1)),
       (SELECT count(*) FROM user_data u JOIN tones t ON t.hash = u.hash WHERE u.favourite),
       (SELECT count(DISTINCT g.hash) FROM tags g JOIN tones t ON t.hash = g.hash))");
        if (select.Step()) {
            int* fields[] = {&stats.folders,    &stats.files,   &stats.filesWithoutTones,
                             &stats.tones,      &stats.sources, &stats.duplicates,
                             &stats.favourites, &stats.tagged};
            for (int i = 0; i < 8; ++i) *fields[i] = static_cast<int>(select.Int(i));
        }
        return {};
    });
}

void Library::WriteUserDataFile() {
    nlohmann::ordered_json file;
    file["format"] = kUserDataFormat;
    file["folders"] = Folders();
    nlohmann::ordered_json tones = nlohmann::ordered_json::array();
    Statement select = db_->Prepare(R"(
SELECT u.hash, u.favourite, u.rating, u.note, u.own_name,
       (SELECT json_group_array(tag) FROM tags g WHERE g.hash = u.hash)
FROM user_data u ORDER BY u.hash)");
    while (select.Step()) {
        nlohmann::ordered_json tone;
        tone["id"] = select.Text(0);
        tone["favourite"] = select.Int(1) != 0;
        tone["rating"] = select.Int(2);
        tone["note"] = select.Text(3);
        tone["name"] = select.Text(4);
        tone["tags"] = nlohmann::json::parse(select.Text(5));
        tones.push_back(std::move(tone));
    }
    file["tones"] = std::move(tones);
    const std::string text =
        file.dump(1, '\t', false, nlohmann::json::error_handler_t::replace) + "\n";
    const FileWriteResult written = WriteFileAtomically(
        UserDataPath(path_).string(),
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!written.ok())
        throw DbFailure(DbResult::ReadOnly,
                        "writing " + UserDataPath(path_).string() + ": " + written.reason);
}

void Library::RestoreUserDataFile() {
    std::ifstream in(UserDataPath(path_));
    const nlohmann::json file = nlohmann::json::parse(in, nullptr, false);
    if (!file.is_object()) return;
    Transaction transaction(*db_);
    Statement folder = db_->Prepare("INSERT OR IGNORE INTO folders(path) VALUES (?)");
    for (const auto& path : file.value("folders", nlohmann::json::array()))
        if (path.is_string()) folder.Bind(1, path.get<std::string>()).Run();
    Statement data = db_->Prepare(
        "INSERT OR REPLACE INTO user_data(hash, favourite, rating, note, own_name) "
        "VALUES (?, ?, ?, ?, ?)");
    Statement tag = db_->Prepare("INSERT OR IGNORE INTO tags(hash, tag) VALUES (?, ?)");
    for (const auto& tone : file.value("tones", nlohmann::json::array())) {
        if (!tone.is_object() || !tone.contains("id") || !tone["id"].is_string()) continue;
        try {
            const std::string hash = tone["id"].get<std::string>();
            data.Bind(1, hash)
                .Bind(2, tone.value("favourite", false) ? 1 : 0)
                .Bind(3, tone.value("rating", 0))
                .Bind(4, tone.value("note", std::string()))
                .Bind(5, tone.value("name", std::string()));
            data.Run();
            for (const auto& name : tone.value("tags", nlohmann::json::array()))
                if (name.is_string()) tag.Bind(1, hash).Bind(2, name.get<std::string>()).Run();
        } catch (const nlohmann::json::exception&) {
            // A value of the wrong kind: this tone's entry is passed over, the others kept.
            data.Reset();
            tag.Reset();
        }
    }
    transaction.Commit();
}

}  // namespace voxtane::library
