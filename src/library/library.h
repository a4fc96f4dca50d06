#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/sqlite_db.h"
#include "tone/tone_record.h"

// Every tone the owner has, in one SQLite file: the folders to look in, the files found there and
// the tones they hold, what the owner says about each tone (favourite, rating, tags, a note, a
// name of their own), and a full-text index over names, tags, notes and file names. The owner's
// folders are only ever read. What the owner says is kept by tone, not by file, and copied to a
// JSON file beside the database after every change, so that a damaged database loses nothing.
namespace voxtane::library {

enum class LibraryStatus {
    Done,
    NoSuchTone,     // no tone's id starts with the given text
    AmbiguousTone,  // more than one tone's id starts with it
    NotAFolder,     // a folder to add does not exist or is not a folder
    DbError,        // see the DbResult
};

struct [[nodiscard]] LibraryResult {
    LibraryStatus status = LibraryStatus::Done;
    DbResult db = DbResult::Failed;  // when status is DbError
    std::string message;
    [[nodiscard]] bool ok() const { return status == LibraryStatus::Done; }
};

struct Source {
    std::string file;  // the whole path
    int slot = 1;
    std::string name;  // as the file gives it; empty when it gives none
    friend bool operator==(const Source&, const Source&) = default;
};

struct ToneEntry {
    std::string hash;
    std::vector<std::string> names;  // the own name first, then the names the files give
    std::vector<Source> sources;
    std::vector<std::string> tags;
    bool favourite = false;
    int rating = 0;
    std::string note;
    std::string ownName;
    int lineSelect = 0;
    int waveforms = 0;  // bit w-1 for each waveform number w used by a sounding line
};

struct SearchQuery {
    std::string text;  // words, each matched as a prefix; empty: every tone
    std::vector<std::string> tags;
    bool favouritesOnly = false;
    int minRating = 0;
    std::optional<int> lineSelect;  // 0 to 3
    std::optional<int> waveform;    // 1 to 8
    std::optional<std::string> folder;
    int limit = 50;
    int offset = 0;  // tones of the order passed over first: the next page starts there
};

struct SearchResult {
    std::vector<ToneEntry> tones;
    bool nearMatches = false;  // nothing matched as typed; these match words spelled nearly so
};

struct SkippedFile {
    std::string path;
    std::string reason;
};

struct ScanReport {
    int filesRead = 0;
    int filesUnchanged = 0;
    int filesDropped = 0;
    int tonesFound = 0;  // in the files read
    int newTones = 0;
    std::vector<SkippedFile> skipped;
    // Every folder the walk went through, the library's own included: what a watcher watches.
    std::vector<std::string> foldersWalked;
};

struct ScanOptions {
    // Told after each file read; tests throw from it to cut a scan short mid-transaction.
    std::function<void(const std::string& path)> afterFile;
    // Told after each batch is committed, with the files read so far and those to read.
    std::function<void(int done, int total)> progress;
    // Large enough that committing is a small share of the work, small enough that a scan cut
    // short loses little and that another program waits for the database only briefly.
    int filesPerBatch = 512;
};

struct SimilarTone {
    ToneEntry tone;
    float distance = 0;
};

struct Stats {
    int folders = 0, files = 0, filesWithoutTones = 0, tones = 0, sources = 0, duplicates = 0,
        favourites = 0, tagged = 0;
};

class Library {
  public:
    struct Opened {
        std::unique_ptr<Library> library;
        LibraryResult result;
        std::vector<std::string> notes;  // what the user must be told (a damaged file moved aside)
        bool needsRebuild = false;       // a scan brings the tones back
    };
    // Opens or creates the library at `path`, its folder included. The busy notice is told when
    // another program holds the database and a statement starts waiting for it.
    [[nodiscard]] static Opened Open(const std::filesystem::path& path, BusyNotice busy = {});

    // Where the library lives when no path is given: $XDG_DATA_HOME/voxtane/library.sqlite, or
    // ~/.local/share/voxtane/library.sqlite.
    [[nodiscard]] static std::filesystem::path DefaultPath();
    [[nodiscard]] static std::filesystem::path UserDataPath(const std::filesystem::path& dbPath);

    LibraryResult AddFolders(const std::vector<std::string>& folders);
    [[nodiscard]] std::vector<std::string> Folders();
    LibraryResult Scan(ScanReport& report, const ScanOptions& options = {});

    LibraryResult Search(const SearchQuery& query, SearchResult& result);
    LibraryResult Duplicates(std::vector<ToneEntry>& tones);
    LibraryResult Find(const std::string& idPrefix, ToneEntry& tone);
    LibraryResult Record(const std::string& hash, ToneRecord& record);
    LibraryResult GetStats(Stats& stats);

    // Measures the sound of every tone that has no measurement yet (or an older one); told after
    // each batch with the tones measured so far and those to measure.
    LibraryResult ComputeFeatures(int& computed,
                                  const std::function<void(int, int)>& progress = {});
    // The tones nearest in sound to `record`, nearest first; measures what is missing first.
    LibraryResult Similar(const ToneRecord& record, int limit, std::vector<SimilarTone>& found);

    LibraryResult Tag(const std::string& idPrefix, const std::vector<std::string>& tags);
    LibraryResult Untag(const std::string& idPrefix, const std::vector<std::string>& tags);
    LibraryResult SetFavourite(const std::string& idPrefix, bool favourite);
    LibraryResult SetRating(const std::string& idPrefix, int rating);
    LibraryResult SetNote(const std::string& idPrefix, const std::string& note);
    LibraryResult SetOwnName(const std::string& idPrefix, const std::string& name);

    // The database itself, for tests that look below the interface.
    [[nodiscard]] Database& Db() { return *db_; }

    ~Library();

  private:
    Library(std::filesystem::path path, std::unique_ptr<Database> db);
    LibraryResult Guard(const std::function<LibraryResult()>& work);
    LibraryResult ResolveTone(const std::string& idPrefix, std::string& hash);
    LibraryResult ChangeUserData(const std::string& idPrefix,
                                 const std::function<void(const std::string& hash)>& change);
    void RefreshText(std::int64_t toneId);
    // The names and file names of a tone new to the library, gathered by a scan as it writes its
    // sources: every source such a tone has is one the scan wrote, so its text needs no query.
    struct GatheredText {
        std::string names, files;
        bool any = false;
    };
    // The same for every tone in the table text_due, which it empties: the tones in `gathered`
    // from their gathered text, the others from their sources in a few statements.
    void RefreshDueText(const std::map<std::int64_t, GatheredText>& gathered = {});
    // The words near matches are looked for among: every word of the index after a scan, and
    // the words of the owner's tags, notes and names as they are given.
    void RebuildWords();
    void AddWords(const std::string& text);
    void RefreshTextOfHash(const std::string& hash);
    ToneEntry LoadEntry(std::int64_t toneId);
    void WriteUserDataFile();
    void RestoreUserDataFile();

    // Reads every stored measurement into features_ unless the database is unchanged since.
    void LoadFeatures();

    std::filesystem::path path_;
    std::unique_ptr<Database> db_;
    // Every stored measurement as one flat array (kFeatureCount numbers a tone), kept while the
    // database is unchanged: "More Like This" compares against all of them, and reading them
    // afresh would cost more than comparing.
    struct FeatureTable {
        std::pair<std::int64_t, std::int64_t> stamp{-1, -1};
        std::vector<float> values;
        std::vector<std::string> hashes;
    };
    FeatureTable features_;
    // Prepared once: a scan refreshes the text of thousands of tones.
    std::optional<Statement> dropText_;
    std::optional<Statement> insertText_;
    // Prepared once, for LoadEntry.
    std::optional<Statement> entryTone_, entrySources_, entryTags_;
};

}  // namespace voxtane::library
