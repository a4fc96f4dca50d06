// The library's core: what a scan finds in a folder tree, what a rescan reads again, what the
// owner's data survives, and what a damaged or busy database does.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "bank/sysex_bank_writer.h"
#include "library/library.h"
#include "library/near_words.h"
#include "library/own_tones.h"
#include "library/schema.h"
#include "library/tone_file_reader.h"
#include "library/tone_identity.h"
#include "test_support.h"
#include "tone_collection.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;
using namespace voxtane::library;

std::unique_ptr<Library> OpenLibrary(const fs::path& path) {
    Library::Opened opened = Library::Open(path);
    EXPECT_TRUE(opened.result.ok()) << opened.result.message;
    return std::move(opened.library);
}

ScanReport ScanAll(Library& library) {
    ScanReport report;
    const LibraryResult result = library.Scan(report);
    EXPECT_TRUE(result.ok()) << result.message;
    return report;
}

// Everything a scan puts in: each source as "file|slot|name|hash", sorted.
std::vector<std::string> Contents(Library& library) {
    std::vector<std::string> rows;
    Statement select = library.Db().Prepare(
        "SELECT f.path, s.slot, s.name, t.hash FROM sources s JOIN files f ON f.id = s.file_id "
        "JOIN tones t ON t.id = s.tone_id");
    while (select.Step())
        rows.push_back(select.Text(0) + "|" + std::to_string(select.Int(1)) + "|" + select.Text(2) +
                       "|" + select.Text(3));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int Count(Library& library, const std::string& sql) {
    Statement select = library.Db().Prepare(sql);
    return select.Step() ? static_cast<int>(select.Int(0)) : -1;
}

std::multiset<std::string> Words(const std::string& text) {
    std::multiset<std::string> words;
    std::istringstream stream(text);
    for (std::string word; stream >> word;) words.insert(word);
    return words;
}

// The invariants every committed state keeps: no tone without a source, no source without its
// tone, one text row per tone holding the words of its names, files, tags and note, and a
// database that checks out.
void ExpectConsistent(Library& library) {
    EXPECT_EQ(Count(library,
                    "SELECT count(*) FROM tones t WHERE NOT EXISTS "
                    "(SELECT 1 FROM sources s WHERE s.tone_id = t.id)"),
              0);
    EXPECT_EQ(Count(library,
                    "SELECT count(*) FROM sources s WHERE NOT EXISTS "
                    "(SELECT 1 FROM tones t WHERE t.id = s.tone_id)"),
              0);
    // Every tone has its text, or is due for it at the end of the next scan.
    EXPECT_EQ(Count(library,
                    "SELECT count(*) FROM tones WHERE id NOT IN (SELECT rowid FROM tone_text) "
                    "AND id NOT IN (SELECT id FROM text_due)"),
              0);
    EXPECT_EQ(
        Count(library, "SELECT count(*) FROM tone_text WHERE rowid NOT IN (SELECT id FROM tones)"),
        0);
    Statement text = library.Db().Prepare(R"(
SELECT x.names, x.files, x.tags, x.note,
    coalesce(u.own_name, '') || ' ' ||
        coalesce((SELECT group_concat(name, ' ') FROM sources WHERE tone_id = t.id), ''),
    coalesce((SELECT group_concat(f.name, ' ') FROM sources s JOIN files f ON f.id = s.file_id
              WHERE s.tone_id = t.id), ''),
    coalesce((SELECT group_concat(tag, ' ') FROM tags WHERE hash = t.hash), ''),
    coalesce(u.note, '')
FROM tones t JOIN tone_text x ON x.rowid = t.id LEFT JOIN user_data u ON u.hash = t.hash
WHERE t.id NOT IN (SELECT id FROM text_due))");
    while (text.Step())
        for (int column = 0; column < 4; ++column)
            ASSERT_EQ(Words(text.Text(column)), Words(text.Text(column + 4))) << column;
    Statement check = library.Db().Prepare("PRAGMA integrity_check");
    ASSERT_TRUE(check.Step());
    EXPECT_EQ(check.Text(0), "ok");
}

std::vector<std::string> Hashes(const SearchResult& result) {
    std::vector<std::string> hashes;
    for (const ToneEntry& tone : result.tones) hashes.push_back(tone.hash);
    return hashes;
}

SearchQuery With(const std::function<void(SearchQuery&)>& set) {
    SearchQuery query;
    set(query);
    return query;
}

SearchQuery Text(const std::string& text) {
    return With([&](SearchQuery& q) { q.text = text; });
}

SearchResult Find(Library& library, const SearchQuery& query) {
    SearchResult result;
    const LibraryResult done = library.Search(query, result);
    EXPECT_TRUE(done.ok()) << done.message;
    return result;
}

class LibraryTest : public ::testing::Test {
  protected:
    TempFolder home;
    const fs::path tones = home.path() / "tones";
    const fs::path dbPath = home.path() / "data" / "library.sqlite";
};
using library = LibraryTest;

TEST_F(library, SqliteHasFullTextSearch) {
    Database db(":memory:");
    db.Execute("CREATE VIRTUAL TABLE t USING fts5(a)");
    db.Execute("INSERT INTO t VALUES ('warm brass')");
    Statement select = db.Prepare("SELECT count(*) FROM t WHERE t MATCH 'bra*'");
    ASSERT_TRUE(select.Step());
    EXPECT_EQ(select.Int(0), 1);
}

TEST_F(library, OpensWithTheSchemaInWalModeAndRefusesANewerOne) {
    {
        auto lib = OpenLibrary(dbPath);
        ASSERT_TRUE(lib);
        EXPECT_EQ(Count(*lib, "PRAGMA user_version"), SchemaVersion());
        Statement mode = lib->Db().Prepare("PRAGMA journal_mode");
        ASSERT_TRUE(mode.Step());
        EXPECT_EQ(mode.Text(0), "wal");
        lib->Db().Execute("PRAGMA user_version = 999");
    }
    const Library::Opened newer = Library::Open(dbPath);
    EXPECT_FALSE(newer.library);
    EXPECT_EQ(newer.result.status, LibraryStatus::DbError);
    EXPECT_NE(newer.result.message.find("newer version"), std::string::npos);
}

TEST_F(library, AnUpgradeKeepsTheOwnersData) {
    std::mt19937 random(9);
    fs::create_directories(tones);
    const ToneRecord tone = RandomToneRecord(random);
    WriteBankFile(tones / "bank.syx", {tone}, {"Old"});
    {
        auto lib = OpenLibrary(dbPath);
        ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
        (void)ScanAll(*lib);
        ASSERT_TRUE(lib->Tag(ToneHash(tone), {"kept"}).ok());
        // As the first release left it: before the table of sound measurements.
        lib->Db().Execute("DROP TABLE features; DROP TABLE text_due; PRAGMA user_version = 1");
    }
    auto lib = OpenLibrary(dbPath);
    EXPECT_EQ(Count(*lib, "PRAGMA user_version"), SchemaVersion());
    EXPECT_EQ(Count(*lib, "SELECT count(*) FROM features"), 0);
    const SearchResult found = Find(*lib, With([&](SearchQuery& q) { q.tags = {"kept"}; }));
    EXPECT_EQ(Hashes(found), std::vector<std::string>{ToneHash(tone)});
}

TEST_F(library, ScanFindsTonesInEveryFormAndSaysWhatItSkipped) {
    std::mt19937 random(7);
    fs::create_directories(tones / "deep" / "er");
    const ToneRecord a = RandomToneRecord(random), b = RandomToneRecord(random);
    WriteBankFile(tones / "bank.syx", {a, b}, {"Warm Brass", "Glass Bell"});
    WriteBankFile(tones / "deep" / "Lonely Flute.syx", {b}, {});
    // The same tone as hex text, and inside a MIDI file in two SysEx packets.
    const ToneDump dump = BuildToneDump(a, 0x60);
    std::string hex;
    for (const std::uint8_t byte : dump) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        hex += digits;
    }
    WriteText((tones / "deep" / "er" / "pasted.txt").string(), hex);
    std::vector<std::uint8_t> track{0x00, 0x90, 0x3C, 0x40, 0x10, 0x3C, 0x00};  // running status
    track.insert(track.end(), {0x00, 0xF0, 0x64});
    track.insert(track.end(), dump.begin() + 1, dump.begin() + 101);
    track.insert(track.end(), {0x05, 0xF7, 0x81, 0x23});
    track.insert(track.end(), dump.begin() + 101, dump.end());
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> smf{'M',
                                  'T',
                                  'h',
                                  'd',
                                  0,
                                  0,
                                  0,
                                  6,
                                  0,
                                  0,
                                  0,
                                  1,
                                  0,
                                  96,
                                  'M',
                                  'T',
                                  'r',
                                  'k',
                                  0,
                                  0,
                                  static_cast<std::uint8_t>(track.size() >> 8),
                                  static_cast<std::uint8_t>(track.size() & 0xFF)};
    for (const std::uint8_t byte : track) smf.push_back(byte);
    WriteBytes((tones / "song.mid").string(), smf);
    WriteText((tones / "readme.txt").string(), "Just words here.\n");
    WriteBytes((tones / "empty.syx").string(), {});
    {  // Over the size limit: skipped unread (a sparse file takes no room).
        std::ofstream big(tones / "huge.bin", std::ios::binary);
        big.seekp(static_cast<std::streamoff>(kMaxToneFileBytes) + 10);
        big.put('x');
    }
    fs::create_directory_symlink(tones, tones / "deep" / "loop");
    WriteBankFile(tones / "locked.syx", {a}, {});
    fs::permissions(tones / "locked.syx", fs::perms::none);

    auto lib = OpenLibrary(dbPath);
    ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
    const ScanReport report = ScanAll(*lib);
    EXPECT_EQ(report.newTones, 2);
    std::vector<std::string> skipped;
    for (const SkippedFile& file : report.skipped)
        skipped.push_back(fs::path(file.path).filename().string() + ": " + file.reason);
    std::sort(skipped.begin(), skipped.end());
    const bool root = geteuid() == 0;  // root reads a file without permissions
    ASSERT_EQ(skipped.size(), root ? 3u : 4u) << ::testing::PrintToString(skipped);
    EXPECT_EQ(skipped[0], "empty.syx: empty");
    EXPECT_EQ(skipped[1], "huge.bin: larger than 8 MiB; not read");
    if (!root) {
        EXPECT_TRUE(skipped[2].starts_with("locked.syx: cannot be read"));
    }
    EXPECT_TRUE(skipped.back().starts_with("readme.txt: no tone"));

    std::vector<ToneEntry> dups;
    ASSERT_TRUE(lib->Duplicates(dups).ok());
    ASSERT_EQ(dups.size(), 2u);
    const ToneEntry& first = dups[0].hash == ToneHash(a) ? dups[0] : dups[1];
    const ToneEntry& second = dups[0].hash == ToneHash(a) ? dups[1] : dups[0];
    // A file of one tone without a names file is named by its file name.
    std::vector<std::string> named{"Warm Brass", "pasted", "song"};
    if (root) named.insert(named.begin() + 2, "locked");
    EXPECT_EQ(first.names, named);
    EXPECT_EQ(first.sources.size(), root ? 4u : 3u);
    EXPECT_EQ(second.names, (std::vector<std::string>{"Glass Bell", "Lonely Flute"}));
    ExpectConsistent(*lib);
}

// Random trees of bank files: a rescan with nothing changed reads nothing and changes nothing; a
// changed file is read again, a deleted one dropped, and the result is always what a fresh
// library finds in the same tree.
TEST_F(library, RescanReadsOnlyWhatChangedAndEndsAsAFreshScan) {
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        TempFolder tree;
        const Collection made = WriteCollection(tree.path(), {200, 0.2, 3}, seed);
        TempFolder data;
        auto lib = OpenLibrary(data.path() / "l.sqlite");
        ASSERT_TRUE(lib->AddFolders({tree.path().string()}).ok());
        const ScanReport first = ScanAll(*lib);
        EXPECT_EQ(first.filesRead, static_cast<int>(made.bankFiles.size()));
        EXPECT_EQ(first.newTones, made.distinctTones);
        const auto before = Contents(*lib);
        const ScanReport again = ScanAll(*lib);
        EXPECT_EQ(again.filesRead, 0);
        EXPECT_EQ(again.filesUnchanged, first.filesRead);
        EXPECT_EQ(Contents(*lib), before);

        std::mt19937 random(seed + 1000);  // not the collection's tones
        const fs::path changed = made.bankFiles[seed % made.bankFiles.size()];
        WriteBankFile(changed, {RandomToneRecord(random)}, {"Changed"});
        fs::remove(made.bankFiles[(seed + 3) % made.bankFiles.size()]);
        // A names file edited alone makes its bank file read again.
        const fs::path renamed = made.bankFiles[(seed + 5) % made.bankFiles.size()];
        std::vector<std::string> names(16, "Renamed");
        (void)WriteNamesFile(NamesFilePath(renamed.string()), names);
        int measured = 0;
        ASSERT_TRUE(lib->ComputeFeatures(measured).ok());
        const ScanReport third = ScanAll(*lib);
        EXPECT_EQ(third.filesRead, 2);
        EXPECT_EQ(third.filesDropped, 1);
        ExpectConsistent(*lib);
        // A tone's sound leaves with it; the new tones are measured, the others not again.
        EXPECT_EQ(Count(*lib,
                        "SELECT count(*) FROM features WHERE hash NOT IN "
                        "(SELECT hash FROM tones)"),
                  0);
        ASSERT_TRUE(lib->ComputeFeatures(measured).ok());
        EXPECT_EQ(measured, 1);

        TempFolder freshData;
        auto fresh = OpenLibrary(freshData.path() / "l.sqlite");
        ASSERT_TRUE(fresh->AddFolders({tree.path().string()}).ok());
        (void)ScanAll(*fresh);
        EXPECT_EQ(Contents(*lib), Contents(*fresh));
    }
}

// A scan cut short inside a transaction (as a killed process) leaves a consistent database that
// the next scan completes.
TEST_F(library, AScanCutShortAnywhereIsCompletedByTheNext) {
    const Collection made = WriteCollection(tones, {16 * 150, 0.1, 7}, 3);
    for (const int cutAfter : {1, 63, 64, 65, 100, 149, 150}) {
        SCOPED_TRACE(cutAfter);
        TempFolder data;
        auto lib = OpenLibrary(data.path() / "l.sqlite");
        ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
        int read = 0;
        ScanOptions cut;
        cut.filesPerBatch = 64;
        cut.afterFile = [&](const std::string&) {
            if (++read == cutAfter) throw DbFailure(DbResult::Interrupted, "cut");
        };
        ScanReport report;
        EXPECT_EQ(lib->Scan(report, cut).db, DbResult::Interrupted);
        ExpectConsistent(*lib);
        const int committed = (cutAfter - 1) / 64 * 64;
        EXPECT_EQ(Count(*lib, "SELECT count(*) FROM files"), committed);
        const ScanReport rest = ScanAll(*lib);
        EXPECT_EQ(rest.filesRead, 150 - committed);
        // The words of near matches are complete too.
        EXPECT_EQ(Count(*lib, "SELECT count(*) FROM words"),
                  Count(*lib, "SELECT count(*) FROM tone_terms"));
        EXPECT_EQ(Count(*lib, "SELECT count(*) FROM tones"), made.distinctTones);
        ExpectConsistent(*lib);
    }
}

TEST_F(library, OwnersDataSurvivesMovesRescansAndIsFoundBySearch) {
    std::mt19937 random(11);
    fs::create_directories(tones / "a");
    const ToneRecord tone = RandomToneRecord(random);
    WriteBankFile(tones / "a" / "bank.syx", {tone, RandomToneRecord(random)},
                  {"Soft Pad", "Hard Lead"});
    auto lib = OpenLibrary(dbPath);
    ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
    (void)ScanAll(*lib);
    const std::string id = ToneHash(tone).substr(0, 6);
    ASSERT_TRUE(lib->Tag(id, {"evening", "mellow"}).ok());
    ASSERT_TRUE(lib->SetFavourite(id, true).ok());
    ASSERT_TRUE(lib->SetNote(id, "sounds like velvet").ok());
    ASSERT_TRUE(lib->SetOwnName(id, "Velvet").ok());
    ASSERT_TRUE(lib->Untag(id, {"mellow"}).ok());

    // Moved and renamed: gone from one place, found in another by the next scan.
    fs::create_directories(tones / "b");
    fs::rename(tones / "a" / "bank.syx", tones / "b" / "moved.syx");
    fs::rename(tones / "a" / "bank.plf", tones / "b" / "moved.plf");
    (void)ScanAll(*lib);
    ExpectConsistent(*lib);

    for (const char* text : {"vel", "evening", "velvet", "soft"}) {
        SCOPED_TRACE(text);
        const SearchResult found = Find(*lib, Text(text));
        ASSERT_EQ(Hashes(found), std::vector<std::string>{ToneHash(tone)});
        const ToneEntry& entry = found.tones[0];
        EXPECT_TRUE(entry.favourite);
        EXPECT_EQ(entry.tags, std::vector<std::string>{"evening"});
        EXPECT_EQ(entry.names, (std::vector<std::string>{"Velvet", "Soft Pad"}));
        EXPECT_EQ(entry.sources,
                  (std::vector<Source>{{(tones / "b" / "moved.syx").string(), 1, "Soft Pad"}}));
    }
    EXPECT_EQ(Find(*lib, With([&](SearchQuery& q) { q.favouritesOnly = true; })).tones.size(), 1u);
    EXPECT_EQ(Find(*lib, With([&](SearchQuery& q) { q.tags = {"evening"}; })).tones.size(), 1u);
    EXPECT_EQ(Find(*lib, With([&](SearchQuery& q) { q.tags = {"mellow"}; })).tones.size(), 0u);
    EXPECT_EQ(
        Find(*lib, With([&](SearchQuery& q) { q.folder = (tones / "b").string(); })).tones.size(),
        2u);
    EXPECT_EQ(
        Find(*lib, With([&](SearchQuery& q) { q.folder = (tones / "a").string(); })).tones.size(),
        0u);

    // Gone from every folder and back: new to the library again, its text with the owner's data.
    TempFolder away;
    fs::rename(tones / "b" / "moved.syx", away.path() / "moved.syx");
    (void)ScanAll(*lib);
    EXPECT_TRUE(Find(*lib, Text("evening")).tones.empty());
    fs::rename(away.path() / "moved.syx", tones / "b" / "moved.syx");
    EXPECT_EQ(ScanAll(*lib).newTones, 2);
    ExpectConsistent(*lib);
    for (const char* text : {"evening", "sounds", "velvet"})
        EXPECT_EQ(Hashes(Find(*lib, Text(text))), std::vector<std::string>{ToneHash(tone)}) << text;

    ToneEntry unknown;
    EXPECT_EQ(lib->Find("zz", unknown).status, LibraryStatus::NoSuchTone);
    EXPECT_EQ(lib->Find("", unknown).status, LibraryStatus::NoSuchTone);
}

TEST_F(library, SearchForgivesTypingSlipsOnlyWhenNothingMatchesAsTyped) {
    std::mt19937 random(5);
    fs::create_directories(tones);
    WriteBankFile(tones / "bank.syx",
                  {RandomToneRecord(random), RandomToneRecord(random), RandomToneRecord(random)},
                  {"Strings Ensemble", "Trumpet", "Strange Bell"});
    auto lib = OpenLibrary(dbPath);
    ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
    (void)ScanAll(*lib);
    struct Case {
        const char* text;
        std::size_t found;
        bool near;
    };
    for (const Case& c : {Case{"str", 2, false}, Case{"strnigs", 1, true}, Case{"trumpte", 1, true},
                          Case{"ensembel strings", 1, true}, Case{"xylophone", 0, false},
                          Case{"s", 3, false}, Case{"\"", 3, false}}) {
        SCOPED_TRACE(c.text);
        const SearchResult found = Find(*lib, Text(c.text));
        EXPECT_EQ(found.tones.size(), c.found);
        EXPECT_EQ(found.nearMatches, c.near);
    }
    EXPECT_EQ(EditDistance("brass", "brsas", 2), 1);
    EXPECT_EQ(EditDistance("brass", "glass", 2), 2);
    EXPECT_EQ(EditDistance("brass", "piano", 2), 3);
}

TEST_F(library, ADamagedDatabaseIsMovedAsideAndRebuiltWithTheOwnersData) {
    std::mt19937 random(3);
    fs::create_directories(tones);
    const ToneRecord tone = RandomToneRecord(random);
    WriteBankFile(tones / "bank.syx", {tone}, {"Keeper"});
    {
        auto lib = OpenLibrary(dbPath);
        ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
        (void)ScanAll(*lib);
        ASSERT_TRUE(lib->Tag(ToneHash(tone), {"kept"}).ok());
        lib->Db().Execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    {  // Junk over the pages after the first.
        std::fstream file(dbPath, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4096);
        const std::string junk(8192, '\x5A');
        file.write(junk.data(), static_cast<std::streamsize>(junk.size()));
    }
    Library::Opened opened = Library::Open(dbPath);
    ASSERT_TRUE(opened.result.ok()) << opened.result.message;
    EXPECT_TRUE(opened.needsRebuild);
    ASSERT_EQ(opened.notes.size(), 1u);
    EXPECT_NE(opened.notes[0].find("moved aside"), std::string::npos);
    (void)ScanAll(*opened.library);
    const SearchResult found =
        Find(*opened.library, With([&](SearchQuery& q) { q.tags = {"kept"}; }));
    ASSERT_EQ(Hashes(found), std::vector<std::string>{ToneHash(tone)});
    EXPECT_EQ(found.tones[0].names, std::vector<std::string>{"Keeper"});
    int aside = 0;
    for (const auto& entry : fs::directory_iterator(dbPath.parent_path()))
        aside += entry.path().filename().string().starts_with("library.sqlite.damaged-");
    EXPECT_EQ(aside, 1);
}

TEST_F(library, AMissingDatabaseIsRestoredFromTheJsonFilePassingOverBadEntries) {
    std::mt19937 random(4);
    fs::create_directories(tones);
    fs::create_directories(dbPath.parent_path());
    const ToneRecord good = RandomToneRecord(random), odd = RandomToneRecord(random);
    WriteBankFile(tones / "bank.syx", {good, odd}, {"Good", "Odd"});
    WriteText(Library::UserDataPath(dbPath).string(), R"({"format": 1, "folders": [")" +
                                                          tones.string() + R"("], "tones": [
                 {"id": ")" + ToneHash(odd) + R"(", "rating": "high", "tags": ["odd"]},
                 {"id": ")" + ToneHash(good) + R"(", "favourite": true, "tags": ["good"]}]})");
    Library::Opened opened = Library::Open(dbPath);
    ASSERT_TRUE(opened.result.ok()) << opened.result.message;
    EXPECT_TRUE(opened.needsRebuild);
    (void)ScanAll(*opened.library);
    EXPECT_EQ(Hashes(Find(*opened.library, With([&](SearchQuery& q) { q.favouritesOnly = true; }))),
              std::vector<std::string>{ToneHash(good)});
    EXPECT_TRUE(
        Find(*opened.library, With([&](SearchQuery& q) { q.tags = {"odd"}; })).tones.empty());
}

TEST_F(library, ABusyDatabaseIsWaitedForAndTheWaitIsTold) {
    auto lib = OpenLibrary(dbPath);
    std::atomic<bool> told{false};
    Library::Opened second = Library::Open(dbPath, [&] { told = true; });
    ASSERT_TRUE(second.result.ok());
    Database holder(dbPath.string());
    holder.Execute("BEGIN IMMEDIATE");
    std::thread release([&] {
        while (!told) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        holder.Execute("COMMIT");
    });
    const LibraryResult added = second.library->AddFolders({home.path().string()});
    release.join();
    EXPECT_TRUE(added.ok()) << added.message;
    EXPECT_TRUE(told);
}

// A tone added from the editor lands in a new file of the library's own folder, which the
// library takes among its folders once, and is found under its name; nothing is overwritten.
TEST_F(library, TonesAddedFromTheEditorAreNewFilesOfItsOwnFolderFoundByName) {
    std::mt19937 random(23);
    const ToneRecord first = RandomToneRecord(random);
    const ToneRecord second = RandomToneRecord(random);
    const fs::path folder = OwnTonesFolder(dbPath, "Explore");
    EXPECT_EQ(folder, home.path() / "data" / "Library" / "Explore");

    const AddedTone added = AddToneToLibrary(dbPath, "Explore", first, "Brass x3");
    ASSERT_EQ(added.outcome, AddOutcome::Added) << added.reason;
    EXPECT_EQ(added.file, folder / "01 Brass x3.syx");
    EXPECT_TRUE(added.folderAdded);
    EXPECT_EQ(added.newTones, 1);
    const AddedTone again = AddToneToLibrary(dbPath, "Explore", second, "Brass x3");
    ASSERT_EQ(again.outcome, AddOutcome::Added) << again.reason;
    EXPECT_EQ(again.file, folder / "02 Brass x3.syx");
    EXPECT_FALSE(again.folderAdded);
    EXPECT_EQ(AddToneToLibrary(dbPath, "Explore", first, "Brass x3").newTones, 0)
        << "a tone the library holds is a new source, not a new tone";

    auto lib = OpenLibrary(dbPath);
    EXPECT_EQ(lib->Folders(), std::vector<std::string>{folder.string()});
    const SearchResult found = Find(*lib, Text("brass"));
    EXPECT_EQ(found.tones.size(), 2u);
    ExpectConsistent(*lib);

    // A folder that cannot be made leaves the library alone.
    fs::create_directories(home.path() / "blocked");
    std::ofstream(home.path() / "blocked" / "Library") << "a file, not a folder";
    EXPECT_EQ(
        AddToneToLibrary(home.path() / "blocked" / "library.sqlite", "Explore", first, "X").outcome,
        AddOutcome::NotWritten);
    EXPECT_FALSE(fs::exists(home.path() / "blocked" / "library.sqlite"));

    // A whole bank: one bank file with its names, every tone found under its name.
    const std::vector<ToneRecord> bank{RandomToneRecord(random), RandomToneRecord(random)};
    const std::vector<std::string> names{"Bank Lead", "Bank Pad"};
    const AddedTone bankAdded = AddBankToLibrary(dbPath, "Editor", bank, names, "Bank");
    ASSERT_EQ(bankAdded.outcome, AddOutcome::Added) << bankAdded.reason;
    EXPECT_EQ(bankAdded.file, OwnTonesFolder(dbPath, "Editor") / "01 Bank.syx");
    EXPECT_EQ(bankAdded.newTones, 2);
    ToneEntry pad;
    ASSERT_TRUE(lib->Find(ToneHash(bank[1]), pad).ok());
    EXPECT_EQ(pad.names, std::vector<std::string>{"Bank Pad"});
}

// Pages of a search, one after another, are the search as a whole; the walk names every folder.
TEST_F(library, PagesOfASearchMakeTheWholeAndTheScanNamesEveryFolderWalked) {
    WriteCollection(tones, {16 * 40, 0.1, 3}, 5);
    auto lib = OpenLibrary(dbPath);
    ASSERT_TRUE(lib->AddFolders({tones.string()}).ok());
    const ScanReport report = ScanAll(*lib);
    std::set<std::string> folders{tones.string()};
    for (const auto& entry : fs::recursive_directory_iterator(tones))
        if (entry.is_directory()) folders.insert(entry.path().string());
    EXPECT_EQ(std::set<std::string>(report.foldersWalked.begin(), report.foldersWalked.end()),
              folders);

    for (const std::string text : {"", "b", "pad"}) {
        SCOPED_TRACE(text);
        const std::vector<std::string> whole = Hashes(Find(*lib, With([&](SearchQuery& q) {
            q.text = text;
            q.limit = 100000;
        })));
        for (const int page : {1, 7, 50}) {
            std::vector<std::string> paged;
            for (int offset = 0; offset <= static_cast<int>(whole.size()); offset += page) {
                const SearchResult part = Find(*lib, With([&](SearchQuery& q) {
                    q.text = text;
                    q.limit = page;
                    q.offset = offset;
                }));
                const std::vector<std::string> hashes = Hashes(part);
                paged.insert(paged.end(), hashes.begin(), hashes.end());
                if (hashes.size() < static_cast<std::size_t>(page)) break;
            }
            EXPECT_EQ(paged, whole);
        }
    }
}

}  // namespace
}  // namespace voxtane::testing
