// The scan: walks every folder, reads the files that are new or changed since the last scan, and
// drops the files that are gone. Work is committed in batches of files, so that a scan cut short
// at any moment leaves every file either as it was or wholly read, and the next scan completes it.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "bank/names_file.h"
#include "library/library.h"
#include "library/read_ahead.h"
#include "library/tone_file_reader.h"
#include "library/tone_identity.h"
#include "tone/decoded_tone.h"
#include "tone/default_tone.h"

namespace voxtane::library {
namespace fs = std::filesystem;
namespace {

struct KnownFile {
    std::int64_t id = 0;
    std::string stamp;
};

struct PendingFile {
    std::int64_t folderId = 0;
    std::string path;
    std::uintmax_t size = 0;
    std::string stamp;
};

std::string Stamp(const fs::path& path, std::uintmax_t size, std::error_code& error) {
    const auto time = fs::last_write_time(path, error);
    if (error) return {};
    std::string stamp =
        std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count());
    // A bank file is read again when its names file changes.
    std::error_code namesError;
    const std::string namesPath = NamesFileToRead(path.string());
    const auto namesTime = fs::last_write_time(namesPath, namesError);
    if (!namesError) {
        stamp.append(":").append(std::to_string(namesTime.time_since_epoch().count()));
        stamp.append(":").append(std::to_string(fs::file_size(namesPath, namesError)));
    }
    return stamp;
}

// Reads at most kMaxToneFileBytes, and no more than a byte beyond the size the walk saw (a file
// that grew since is read as it was); an empty reason means the bytes are there.
std::string ReadBounded(const std::string& path, std::uintmax_t size,
                        std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::string("cannot be read: ") + std::strerror(errno);
    bytes.resize(static_cast<std::size_t>(std::min(size, kMaxToneFileBytes)) + 1);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return "cannot be read: a read failed";
    bytes.resize(got);
    return {};
}

struct ReadTone {
    std::string hash;
    std::vector<std::uint8_t> data;
    int slot = 1;
    std::string name;
    int lineSelect = 0, waveforms = 0, modulation = 0;
};

// A file as the database takes it, made on the reading thread.
struct ReadFile {
    std::string skipReason;
    bool unreadable = false;  // not to be recorded: the next scan tries again
    std::vector<ReadTone> tones;
};

int WaveformsUsed(const DecodedTone& tone);

ReadFile ReadAndUnderstand(const PendingFile& file) {
    ReadFile read;
    std::vector<std::uint8_t> bytes;
    if (file.size > kMaxToneFileBytes) {
        read.skipReason =
            "larger than " + std::to_string(kMaxToneFileBytes >> 20) + " MiB; not read";
        return read;
    }
    read.skipReason = ReadBounded(file.path, file.size, bytes);
    if (!read.skipReason.empty()) {
        read.unreadable = true;
        return read;
    }
    FileReading reading = ReadToneFile(file.path, bytes);
    read.skipReason = std::move(reading.skipReason);
    for (FileTone& found : reading.tones) {
        const DecodedTone decoded = DecodeTone(found.record, DefaultDecodedTone()).tone;
        read.tones.push_back({ToneHash(found.record), EntryBytes(found.record), found.slot,
                              std::move(found.name), decoded.lineSelect, WaveformsUsed(decoded),
                              decoded.modulation});
    }
    return read;
}

int WaveformsUsed(const DecodedTone& tone) {
    int used = 0;
    const bool line1 = tone.lineSelect != 1;
    const bool line2 = tone.lineSelect == 1 || tone.lineSelect == 3;
    for (int line = 0; line < 2; ++line) {
        if ((line == 0 && !line1) || (line == 1 && !line2)) continue;
        for (const int w : {tone.lines[static_cast<std::size_t>(line)].waveform1,
                            tone.lines[static_cast<std::size_t>(line)].waveform2})
            if (w >= 1 && w <= 8) used |= 1 << (w - 1);
    }
    return used;
}

}  // namespace

LibraryResult Library::Scan(ScanReport& report, const ScanOptions& options) {
    return Guard([&]() -> LibraryResult {
        std::unordered_map<std::string, KnownFile> known;
        {
            Statement select = db_->Prepare("SELECT path, id, stamp FROM files");
            while (select.Step()) known[select.Text(0)] = {select.Int(1), select.Text(2)};
        }
        std::vector<std::pair<std::int64_t, std::string>> folders;
        {
            Statement select = db_->Prepare("SELECT id, path FROM folders ORDER BY path");
            while (select.Step()) folders.emplace_back(select.Int(0), select.Text(1));
        }

        // Walk: what is there, and which of it must be read.
        std::unordered_set<std::string> seen;
        std::set<std::int64_t> walkedWhole;
        std::vector<PendingFile> pending;
        const std::set<std::string> ownFiles{path_.string(), path_.string() + "-wal",
                                             path_.string() + "-shm", UserDataPath(path_).string()};
        for (const auto& [folderId, folder] : folders) {
            std::error_code error;
            if (!fs::is_directory(folder, error)) {
                report.skipped.push_back({folder, "the folder is missing; its tones are kept"});
                continue;
            }
            bool whole = true;
            report.foldersWalked.push_back(folder);
            fs::recursive_directory_iterator it(
                folder, fs::directory_options::skip_permission_denied, error);
            for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
                const fs::directory_entry& entry = *it;
                std::error_code fileError;
                // Links to folders are not followed, so their folders are not walked.
                if (entry.is_directory(fileError) && !entry.is_symlink(fileError))
                    report.foldersWalked.push_back(entry.path().string());
                if (!entry.is_regular_file(fileError)) continue;
                const std::string path = entry.path().string();
                if (IsNamesFile(path) || ownFiles.count(path) || !seen.insert(path).second)
                    continue;
                const std::uintmax_t size = entry.file_size(fileError);
                const std::string stamp =
                    fileError ? std::string() : Stamp(entry.path(), size, fileError);
                if (fileError) {
                    report.skipped.push_back({path, "vanished during the scan"});
                    seen.erase(path);
                    continue;
                }
                const auto found = known.find(path);
                if (found != known.end() && found->second.stamp == stamp) {
                    ++report.filesUnchanged;
                    continue;
                }
                pending.push_back({folderId, path, size, stamp});
            }
            if (error) {
                whole = false;
                report.skipped.push_back({folder, "the walk stopped: " + error.message()});
            }
            if (whole) walkedWhole.insert(folderId);
        }

        Statement upsertFile = db_->Prepare(R"(
INSERT INTO files(folder_id, path, name, size, stamp, tones, skipped) VALUES (?, ?, ?, ?, ?, ?, ?)
ON CONFLICT(path) DO UPDATE SET folder_id = excluded.folder_id, size = excluded.size,
    stamp = excluded.stamp, tones = excluded.tones, skipped = excluded.skipped
RETURNING id)");
        Statement oldSources = db_->Prepare("SELECT tone_id FROM sources WHERE file_id = ?");
        Statement dropSources = db_->Prepare("DELETE FROM sources WHERE file_id = ?");
        Statement insertTone = db_->Prepare(
            "INSERT INTO tones(hash, data, line_select, waveforms, modulation) VALUES (?, ?, ?, ?, "
            "?)");
        Statement insertSource = db_->Prepare(
            "INSERT OR REPLACE INTO sources(file_id, slot, tone_id, name) VALUES (?, ?, ?, ?)");
        Statement countSources = db_->Prepare("SELECT count(*) FROM sources WHERE tone_id = ?");
        Statement dropTone = db_->Prepare("DELETE FROM tones WHERE id = ?");
        // A tone's sound leaves with it, so that every measurement belongs to a tone.
        Statement dropFeatures =
            db_->Prepare("DELETE FROM features WHERE hash = (SELECT hash FROM tones WHERE id = ?)");
        Statement dropText = db_->Prepare("DELETE FROM tone_text WHERE rowid = ?");
        Statement dropDue = db_->Prepare("DELETE FROM text_due WHERE id = ?");
        Statement markDue = db_->Prepare("INSERT OR IGNORE INTO text_due(id) VALUES (?)");
        Statement dropFile = db_->Prepare("DELETE FROM files WHERE id = ?");

        // The tones the library holds, by hash: looked up once rather than once per tone found.
        std::unordered_map<std::string, std::int64_t> toneIds;
        if (!pending.empty()) {
            Statement select = db_->Prepare("SELECT hash, id FROM tones");
            while (select.Step()) toneIds.emplace(select.Text(0), select.Int(1));
        }

        // Tones that lost a source may have none left; tones just found in a file have one (a
        // file's slots are distinct, so no later source replaces it), so they are only due for
        // their text.
        std::set<std::int64_t> touched;
        std::vector<std::int64_t> found;
        // A first scan writes nearly every tone's text; querying each tone's sources for it
        // again costs as much as the full-text index itself.
        std::map<std::int64_t, GatheredText> gathered;
        auto forgetSourcesOf = [&](std::int64_t fileId) {
            oldSources.Bind(1, fileId);
            while (oldSources.Step()) touched.insert(oldSources.Int(0));
            oldSources.Reset();
            dropSources.Bind(1, fileId);
            dropSources.Run();
        };
        // Tones without a source leave; the others are due for their text, written at the end.
        auto settleTouched = [&]() {
            std::sort(found.begin(), found.end());
            found.erase(std::unique(found.begin(), found.end()), found.end());
            for (const std::int64_t toneId : found) {
                touched.erase(toneId);
                markDue.Bind(1, toneId);
                markDue.Run();
            }
            found.clear();
            std::unordered_set<std::int64_t> dropped;
            for (const std::int64_t toneId : touched) {
                countSources.Bind(1, toneId);
                const bool kept = countSources.Step() && countSources.Int(0) > 0;
                countSources.Reset();
                Statement& due = kept ? markDue : dropDue;
                due.Bind(1, toneId);
                due.Run();
                if (kept) continue;
                dropText.Bind(1, toneId);
                dropText.Run();
                dropFeatures.Bind(1, toneId);
                dropFeatures.Run();
                dropTone.Bind(1, toneId);
                dropTone.Run();
                dropped.insert(toneId);
            }
            if (!dropped.empty())
                std::erase_if(toneIds,
                              [&](const auto& known) { return dropped.count(known.second); });
            touched.clear();
        };

        ReadAhead<ReadFile> ahead(pending.size(), [&pending](std::size_t i) {
            // Nothing may leave the reading thread: a failure is this file's, not the scan's.
            try {
                return ReadAndUnderstand(pending[i]);
            } catch (const std::exception& failure) {
                return ReadFile{std::string("cannot be read: ") + failure.what(), true, {}};
            }
        });
        const auto batch = static_cast<std::size_t>(std::max(1, options.filesPerBatch));
        for (std::size_t start = 0; start < pending.size(); start += batch) {
            Transaction transaction(*db_);
            const std::size_t end = std::min(pending.size(), start + batch);
            for (std::size_t i = start; i < end; ++i) {
                const PendingFile& file = pending[i];
                const ReadFile read = ahead.Next();
                if (!read.skipReason.empty())
                    report.skipped.push_back({file.path, read.skipReason});
                // Not recorded, so that the next scan tries again; what an earlier scan read from
                // it is kept.
                if (read.unreadable) continue;

                const std::string fileName = fs::path(file.path).filename().string();
                upsertFile.Bind(1, file.folderId)
                    .Bind(2, file.path)
                    .Bind(3, fileName)
                    .Bind(4, static_cast<std::int64_t>(file.size))
                    .Bind(5, file.stamp)
                    .Bind(6, static_cast<std::int64_t>(read.tones.size()))
                    .Bind(7, read.skipReason);
                if (!upsertFile.Step()) continue;
                const std::int64_t fileId = upsertFile.Int(0);
                upsertFile.Reset();
                forgetSourcesOf(fileId);

                for (const ReadTone& tone : read.tones) {
                    auto [known, isNew] = toneIds.try_emplace(tone.hash, 0);
                    if (isNew) {
                        insertTone.Bind(1, tone.hash)
                            .Bind(2, std::span<const std::uint8_t>(tone.data))
                            .Bind(3, tone.lineSelect)
                            .Bind(4, tone.waveforms)
                            .Bind(5, tone.modulation);
                        insertTone.Run();
                        known->second = db_->LastInsertId();
                        gathered[known->second] = {};
                        ++report.newTones;
                    }
                    if (const auto text = gathered.find(known->second); text != gathered.end()) {
                        GatheredText& gather = text->second;
                        if (gather.any) {
                            gather.names.push_back(' ');
                            gather.files.push_back(' ');
                        }
                        gather.names.append(tone.name);
                        gather.files.append(fileName);
                        gather.any = true;
                    }
                    insertSource.Bind(1, fileId)
                        .Bind(2, tone.slot)
                        .Bind(3, known->second)
                        .Bind(4, tone.name);
                    insertSource.Run();
                    found.push_back(known->second);
                    ++report.tonesFound;
                }
                ++report.filesRead;
                if (options.afterFile) options.afterFile(file.path);
            }
            settleTouched();
            // The words of near matches are rebuilt once, at the end; the empty word marks them
            // as due, so that a scan killed before its end leaves the task to the next one.
            db_->Execute("INSERT OR IGNORE INTO words(word) VALUES ('')");
            transaction.Commit();
            if (options.progress)
                options.progress(static_cast<int>(end), static_cast<int>(pending.size()));
        }

        // Files gone from folders walked whole.
        Transaction transaction(*db_);
        Statement files = db_->Prepare("SELECT id, path, folder_id FROM files");
        std::vector<std::int64_t> gone;
        while (files.Step()) {
            const std::int64_t folderId = files.Int(2);
            if (seen.count(files.Text(1)) == 0 && walkedWhole.count(folderId) != 0)
                gone.push_back(files.Int(0));
        }
        for (const std::int64_t fileId : gone) {
            forgetSourcesOf(fileId);
            dropFile.Bind(1, fileId);
            dropFile.Run();
            ++report.filesDropped;
        }
        settleTouched();
        RefreshDueText(gathered);
        Statement due = db_->Prepare("SELECT 1 FROM words WHERE word = ''");
        if (due.Step() || report.filesDropped > 0) RebuildWords();
        transaction.Commit();
        return {};
    });
}

}  // namespace voxtane::library
