#include "cli/library_commands.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "bank/atomic_file.h"
#include "bank/bank_limits.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"
#include "cli/cli_error.h"
#include "cli/program_start.h"
#include "library/library.h"
#include "library/tone_file_reader.h"
#include "library/tone_identity.h"
#include "tone/default_tone.h"

namespace voxtane::cli {
namespace {

using library::Library;
using library::LibraryResult;
using library::LibraryStatus;
using library::ToneEntry;
using Json = nlohmann::ordered_json;

void Check(const LibraryResult& result) {
    if (result.ok()) return;
    if (result.status == LibraryStatus::DbError) throw RuntimeFailure(result.message);
    throw UsageError(result.message);
}

std::unique_ptr<Library> OpenLibrary(const std::string& path) {
    const std::filesystem::path where =
        path.empty() ? Library::DefaultPath() : std::filesystem::path(path);
    Library::Opened opened = Library::Open(where, [] {
        std::cerr << "voxtane-syx: the library is in use by another program; waiting for it\n";
    });
    Check(opened.result);
    for (const std::string& note : opened.notes) std::cerr << "voxtane-syx: " << note << '\n';
    if (opened.needsRebuild) {
        library::ScanReport report;
        Check(opened.library->Scan(report));
        std::cerr << "voxtane-syx: rebuilt: " << report.tonesFound << " tones in "
                  << report.filesRead << " files\n";
    }
    return std::move(opened.library);
}

int ScanAndReport(Library& library) {
    library::ScanReport report;
    library::ScanOptions options;
    // Progress is for a person watching, not for a log or a pipe.
    if (ErrorsGoToTerminal())
        options.progress = [](int done, int total) {
            std::cerr << "\rscanning: " << done << " of " << total << " files"
                      << (done == total ? "\n" : "") << std::flush;
        };
    Check(library.Scan(report, options));
    for (const library::SkippedFile& skipped : report.skipped)
        std::cerr << "skipped " << skipped.path << ": " << skipped.reason << '\n';
    std::cout << "read " << report.filesRead << " files (" << report.filesUnchanged
              << " unchanged, " << report.filesDropped << " gone): " << report.tonesFound
              << " tones, " << report.newTones << " new to the library\n";
    return kExitOk;
}

std::string ShortId(const std::string& hash) {
    return hash.substr(0, library::kPrintedIdDigits);
}

std::string Joined(const std::vector<std::string>& items, const char* between) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : between) + item;
    return text;
}

Json ToneJson(const ToneEntry& tone) {
    Json sources = Json::array();
    for (const library::Source& source : tone.sources)
        sources.push_back({{"file", source.file}, {"patch", source.slot}, {"name", source.name}});
    return {{"id", tone.hash},   {"names", tone.names},         {"sources", std::move(sources)},
            {"tags", tone.tags}, {"favourite", tone.favourite}, {"rating", tone.rating},
            {"note", tone.note}};
}

void PrintTones(const std::vector<ToneEntry>& tones, bool json, bool withSources) {
    if (json) {
        Json list = Json::array();
        for (const ToneEntry& tone : tones) list.push_back(ToneJson(tone));
        std::cout << list.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
        return;
    }
    for (const ToneEntry& tone : tones) {
        std::cout << ShortId(tone.hash) << "  "
                  << (tone.names.empty() ? "(no name)" : Joined(tone.names, " / "));
        if (tone.favourite) std::cout << "  [favourite]";
        if (!tone.tags.empty()) std::cout << "  tags: " << Joined(tone.tags, ", ");
        std::cout << "  (" << tone.sources.size()
                  << (tone.sources.size() == 1 ? " source)\n" : " sources)\n");
        if (withSources)
            for (const library::Source& source : tone.sources)
                std::cout << "    " << source.file << " patch " << source.slot
                          << (source.name.empty() ? "" : " \"" + source.name + "\"") << '\n';
    }
}

}  // namespace

LibraryCommands::LibraryCommands(CLI::App& app) {
    library_ = app.add_subcommand(
        "library",
        "The tone library: every tone in the folders you add, searchable by name, tag "
        "and note; duplicates found by the tone's bytes.");
    library_->require_subcommand(1);
    library_->add_option("--library", path_,
                         "The library file (default $XDG_DATA_HOME/voxtane/library.sqlite)");

    add_ = library_->add_subcommand("add", "Add folders to the library and scan them.");
    add_->add_option("FOLDER", folders_, "Folders whose files hold tones")->required();
    scan_ = library_->add_subcommand(
        "scan", "Read the files that are new or changed in the library's folders; drop the gone.");

    search_ = library_->add_subcommand(
        "search", "List the tones whose names, tags, notes or file names start with the words.");
    search_->add_option("QUERY", query_, "Words (none: every tone)");
    search_->add_option("--tag", tags_, "Only tones with this tag (repeatable)");
    search_->add_flag("--favourite", favouritesOnly_, "Only favourites");
    search_->add_option("--rating", rating_, "Only tones rated at least this (1 to 5)");
    search_->add_option("--waveform", waveform_, "Only tones sounding waveform 1 to 8")
        ->check(CLI::Range(1, 8));
    search_->add_option("--folder", folder_, "Only tones from files below this folder");
    search_->add_option("--limit", limit_, "At most this many tones (default 50)")
        ->check(CLI::Range(1, 1000000));
    search_->add_flag("--json", json_, "Print JSON");

    dups_ = library_->add_subcommand(
        "dups", "List the tones found in more than one place, with every place.");
    dups_->add_flag("--json", json_, "Print JSON");

    tag_ = library_->add_subcommand("tag", "Give a tone tags.");
    tag_->add_option("TONE", tone_, "The tone's id as search prints it (a unique prefix)")
        ->required();
    tag_->add_option("TAG", tags_, "Tags")->required();
    untag_ = library_->add_subcommand("untag", "Take tags from a tone.");
    untag_->add_option("TONE", tone_, "The tone's id (a unique prefix)")->required();
    untag_->add_option("TAG", tags_, "Tags")->required();
    favourite_ = library_->add_subcommand("favourite", "Mark a tone as a favourite.");
    favourite_->add_option("TONE", tone_, "The tone's id (a unique prefix)")->required();
    favourite_->add_flag("--off", off_, "Unmark it");

    bank_ = library_->add_subcommand(
        "bank", "Write the first 16 tones a search finds as a bank file with its names file.");
    bank_->add_option("QUERY", query_, "Words, as for search")->required();
    bank_->add_option("OUT", out_, "The bank file to write (.syx)")->required();

    stats_ = library_->add_subcommand("stats", "Count the library's folders, files and tones.");

    features_ = library_->add_subcommand(
        "features", "Measure the sound of every tone not measured yet (progress on stderr).");
    similar_ = library_->add_subcommand(
        "similar", "List the library's tones nearest in sound to a patch of a file.");
    similar_->add_option("FILE", file_, "A file holding tones (any form the library reads)")
        ->required();
    similar_->add_option("--patch", patch_, "Which of its tones (default 1)")
        ->check(CLI::PositiveNumber);
    similar_->add_option("--limit", limit_, "At most this many tones (default 50)")
        ->check(CLI::Range(1, 1000000));
    similar_->add_flag("--json", json_, "Print JSON, each tone with its distance");
}

std::optional<int> LibraryCommands::RunParsed() {
    if (!*library_) return std::nullopt;
    const std::unique_ptr<Library> library = OpenLibrary(path_);

    if (*add_) {
        Check(library->AddFolders(folders_));
        return ScanAndReport(*library);
    }
    if (*scan_) return ScanAndReport(*library);
    if (*search_ || *bank_) {
        library::SearchQuery query;
        query.text = query_;
        query.tags = tags_;
        query.favouritesOnly = favouritesOnly_;
        query.minRating = rating_;
        query.waveform = waveform_;
        if (!folder_.empty())
            query.folder = std::filesystem::absolute(folder_).lexically_normal().string();
        query.limit = *bank_ ? kBankSlots : limit_;
        library::SearchResult result;
        Check(library->Search(query, result));
        if (result.nearMatches)
            std::cerr << "voxtane-syx: nothing matched as typed; these match similar words\n";
        if (*search_) {
            if (result.tones.empty() && !json_) std::cerr << "voxtane-syx: no tone found\n";
            PrintTones(result.tones, json_, false);
            return kExitOk;
        }
        if (result.tones.empty()) throw RuntimeFailure("no tone found; no bank written");
        std::vector<std::uint8_t> bytes;
        std::vector<std::string> names;
        for (int slot = 1; slot <= kBankSlots; ++slot) {
            ToneRecord record = DefaultToneRecord();
            std::string name = "Patch_" + std::to_string(slot);
            if (static_cast<std::size_t>(slot) <= result.tones.size()) {
                const ToneEntry& tone = result.tones[static_cast<std::size_t>(slot - 1)];
                Check(library->Record(tone.hash, record));
                if (!tone.names.empty()) name = tone.names.front();
            }
            const ToneDump dump = BuildToneDump(record, MemoryPosition(slot));
            bytes.insert(bytes.end(), dump.begin(), dump.end());
            names.push_back(name);
        }
        if (const FileWriteResult written = WriteFileAtomically(out_, bytes); !written.ok())
            throw RuntimeFailure(out_ + ": " + written.reason);
        if (const FileWriteResult written = WriteNamesFile(NamesFilePath(out_), names);
            !written.ok())
            throw RuntimeFailure(NamesFilePath(out_) + ": " + written.reason);
        if (result.tones.size() < static_cast<std::size_t>(kBankSlots))
            std::cerr << "voxtane-syx: " << result.tones.size()
                      << " tones found; the other patches hold the default tone\n";
        std::cout << "wrote " << out_ << " with " << result.tones.size()
                  << " tones from the library\n";
        return kExitOk;
    }
    if (*dups_) {
        std::vector<ToneEntry> tones;
        Check(library->Duplicates(tones));
        PrintTones(tones, json_, true);
        return kExitOk;
    }
    if (*tag_) {
        Check(library->Tag(tone_, tags_));
        return kExitOk;
    }
    if (*untag_) {
        Check(library->Untag(tone_, tags_));
        return kExitOk;
    }
    if (*favourite_) {
        Check(library->SetFavourite(tone_, !off_));
        return kExitOk;
    }
    if (*features_ || *similar_) {
        int measured = 0;
        std::function<void(int, int)> progress;
        if (ErrorsGoToTerminal())
            progress = [](int done, int total) {
                std::cerr << "\rmeasuring the sound of the tones: " << done << " of " << total
                          << (done == total ? "\n" : "") << std::flush;
            };
        Check(library->ComputeFeatures(measured, progress));
        if (*features_) {
            std::cout << "measured " << measured << " tones\n";
            return kExitOk;
        }
        std::ifstream in(file_, std::ios::binary);
        if (!in) throw RuntimeFailure(file_ + ": cannot be read");
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const library::FileReading reading = library::ReadToneFile(file_, bytes);
        if (static_cast<std::size_t>(patch_) > reading.tones.size())
            throw UsageError(file_ + " holds " + std::to_string(reading.tones.size()) +
                             " tones; there is no patch " + std::to_string(patch_));
        std::vector<library::SimilarTone> found;
        Check(library->Similar(reading.tones[static_cast<std::size_t>(patch_ - 1)].record, limit_,
                               found));
        if (json_) {
            Json list = Json::array();
            for (const library::SimilarTone& near : found) {
                Json tone = ToneJson(near.tone);
                tone["distance"] = near.distance;
                list.push_back(std::move(tone));
            }
            std::cout << list.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
            return kExitOk;
        }
        for (const library::SimilarTone& near : found) {
            char distance[32];
            std::snprintf(distance, sizeof distance, "%.3f", near.distance);
            std::cout << distance << "  ";
            PrintTones({near.tone}, false, false);
        }
        return kExitOk;
    }
    if (*stats_) {
        library::Stats stats;
        Check(library->GetStats(stats));
        std::cout << "folders: " << stats.folders << "\nfiles: " << stats.files
                  << "\nfiles without tones: " << stats.filesWithoutTones
                  << "\ntones: " << stats.tones << "\nsources: " << stats.sources
                  << "\ntones found more than once: " << stats.duplicates
                  << "\nfavourites: " << stats.favourites << "\ntagged tones: " << stats.tagged
                  << '\n';
        return kExitOk;
    }
    return std::nullopt;
}

}  // namespace voxtane::cli
