// The tone library on a generated collection: bank files with names files in nested folders, a
// tenth of the tones repeated. Measures the first scan against `cat` over the same files (both
// from a warm page cache), a rescan with nothing changed, and searches of every kind. Prints a
// table; only measures. At the end, the editor with its Library window open on the library made
// is measured for the memory it holds (voxtane_library_window_memory).
//   voxtane_library_bench [TONES] [--scan-only]   (default 10000; --scan-only stops after the
//   first scans, for profiling them)
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "library/library.h"
#include "tone_collection.h"

namespace {

namespace fs = std::filesystem;
using namespace voxtane;
using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Processor seconds of this process and of its finished children: on a machine shared with other
// work, these say what the work cost when the wall clock also counts waiting for a core.
double CpuSeconds() {
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

void Require(const library::LibraryResult& result) {
    if (!result.ok()) {
        std::fprintf(stderr, "library: %s\n", result.message.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int tones = argc > 1 ? std::atoi(argv[1]) : 10000;
    char pattern[] = "/tmp/voxtane-library-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path root = pattern;
    const fs::path collection = root / "tones";
    std::printf("generating %d tones in %d bank files ...\n", tones, (tones + 15) / 16);
    const testing::Collection made = testing::WriteCollection(collection, {tones, 0.1, 20}, 1);
    std::printf("%d distinct tones\n", made.distinctTones);

    const std::string cat =
        "find '" + collection.string() + "' -type f -print0 | xargs -0 cat > /dev/null";
    std::vector<double> catTimes, scanTimes, rescanTimes, catCpu, scanCpu;
    int round = 0;
    for (int i = 0; i < 3; ++i) {
        double cpu = CpuSeconds();
        catTimes.push_back(Seconds([&] {
            if (std::system(cat.c_str()) != 0) std::exit(1);
        }));
        catCpu.push_back(CpuSeconds() - cpu);
        const fs::path db = root / ("scan-" + std::to_string(++round) + ".sqlite");
        auto opened = library::Library::Open(db);
        Require(opened.result);
        Require(opened.library->AddFolders({collection.string()}));
        library::ScanReport report;
        cpu = CpuSeconds();
        scanTimes.push_back(Seconds([&] { Require(opened.library->Scan(report)); }));
        scanCpu.push_back(CpuSeconds() - cpu);
    }

    if (argc > 2 && std::string(argv[2]) == "--scan-only") {
        std::printf("cat %.3f s (%.3f s cpu), first scan %.3f s (%.3f s cpu)\n", Median(catTimes),
                    Median(catCpu), Median(scanTimes), Median(scanCpu));
        fs::remove_all(root);
        return 0;
    }
    auto opened = library::Library::Open(root / ("scan-" + std::to_string(round) + ".sqlite"));
    library::Library& lib = *opened.library;
    for (int i = 0; i < 5; ++i) {
        library::ScanReport report;
        rescanTimes.push_back(Seconds([&] { Require(lib.Scan(report)); }));
    }
    // One tone in a hundred tagged "live", one in fifty a favourite.
    lib.Db().Execute(
        "INSERT INTO tags(hash, tag) SELECT hash, 'live' FROM tones WHERE id % 100 = 0;"
        "INSERT INTO user_data(hash, favourite) SELECT hash, 1 FROM tones WHERE id % 50 = 0;");

    struct Query {
        const char* label;
        std::function<void(library::SearchQuery&)> set;
    };
    const std::string firstFolder = (collection / "set-0").string();
    const std::vector<Query> queries{
        {"one letter \"b\"", [](auto& q) { q.text = "b"; }},
        {"one letter \"s\"", [](auto& q) { q.text = "s"; }},
        {"word \"brass\"", [](auto& q) { q.text = "brass"; }},
        {"two words \"warm pad\"", [](auto& q) { q.text = "warm pad"; }},
        {"name and number \"bell 42\"", [](auto& q) { q.text = "bell 42"; }},
        {"typing slip \"strnigs\"", [](auto& q) { q.text = "strnigs"; }},
        {"no match \"xylophone\"", [](auto& q) { q.text = "xylophone"; }},
        {"tag \"live\"", [](auto& q) { q.tags = {"live"}; }},
        {"favourites", [](auto& q) { q.favouritesOnly = true; }},
        {"waveform 4", [](auto& q) { q.waveform = 4; }},
        {"folder set-0", [&](auto& q) { q.folder = firstFolder; }},
        {"everything", [](auto&) {}},
        {"\"pad\" among favourites",
         [](auto& q) {
             q.text = "pad";
             q.favouritesOnly = true;
         }},
    };
    std::vector<double> all;
    std::printf("\n%-28s %10s %10s %8s\n", "search (limit 50)", "median ms", "max ms", "found");
    for (const Query& query : queries) {
        library::SearchQuery q;
        query.set(q);
        std::vector<double> times;
        std::size_t found = 0;
        for (int i = 0; i < 30; ++i) {
            library::SearchResult result;
            times.push_back(1000 * Seconds([&] { Require(lib.Search(q, result)); }));
            found = result.tones.size();
        }
        all.insert(all.end(), times.begin(), times.end());
        std::printf("%-28s %10.2f %10.2f %8zu\n", query.label, Median(times),
                    *std::max_element(times.begin(), times.end()), found);
    }

    // The sound of every tone, measured as `features` does.
    int measured = 0;
    const double featureCpu = CpuSeconds();
    const double featureSeconds = Seconds([&] { Require(lib.ComputeFeatures(measured)); });
    const double featureCpuSeconds = CpuSeconds() - featureCpu;
    // The first asks reads every measurement into memory; the others compare with them there.
    std::vector<double> similarTimes;
    double similarFirst = 0;
    for (int i = 0; i < 11; ++i) {
        std::vector<library::SimilarTone> found;
        ToneRecord record{};
        Require(lib.Record(lib.Folders().empty() ? "" : [&] {
            library::SearchResult any;
            library::SearchQuery everything;
            everything.limit = 1;
            Require(lib.Search(everything, any));
            return any.tones.front().hash;
        }(), record));
        const double ms = 1000 * Seconds([&] { Require(lib.Similar(record, 50, found)); });
        if (i == 0)
            similarFirst = ms;
        else
            similarTimes.push_back(ms);
    }

    // The editor with its Library window open on this library, in a process of its own.
    std::map<std::string, double> window;
    const std::string command =
        std::string("XDG_CONFIG_HOME='") + root.string() + "' XDG_DATA_HOME='" + root.string() +
        "' '" + VOXTANE_LIBRARY_WINDOW_MEMORY + "' '" +
        (root / ("scan-" + std::to_string(round) + ".sqlite")).string() + "' 2>/dev/null";
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char name[64];
        double value = 0;
        while (std::fscanf(pipe, "%63s %lf", name, &value) == 2) window[name] = value;
        if (pclose(pipe) != 0) window.clear();
    }

    const double catSeconds = Median(catTimes);
    const double scanSeconds = Median(scanTimes);
    std::printf("\n%-36s %12s %12s\n", "figure", "measured", "target");
    std::printf("%-36s %10.3f s %12s\n", "cat of the same files", catSeconds, "");
    std::printf("%-36s %10.3f s %12s\n", "first scan (names searchable)", scanSeconds, "");
    std::printf("%-36s %10.2f x %12s\n", "first scan / cat", scanSeconds / catSeconds, "<= 3 x");
    std::printf("%-36s %10.3f s %12s\n", "cat, processor time", Median(catCpu), "");
    std::printf("%-36s %10.3f s %12s\n", "first scan, processor time", Median(scanCpu), "");
    std::printf(
        "%-36s %10.2f %14s\n", "load average at the end",
        [] {
            double load[1] = {0};
            return getloadavg(load, 1) == 1 ? load[0] : 0.0;
        }(),
        "");
    std::printf("%-36s %10.3f s %12s\n", "rescan, nothing changed", Median(rescanTimes), "< 1 s");
    std::printf("%-36s %9.2f ms %12s\n", "search p95 (all queries)", Percentile(all, 0.95),
                "< 20 ms");
    std::printf("%-36s %8.0f /s %12s\n", "features, tones per second (2 threads)",
                measured / featureSeconds, ">= 1000 /s");
    std::printf("%-36s %8.0f /s %12s\n", "features, tones per processor second",
                measured / featureCpuSeconds, "");
    std::printf("%-36s %9.2f ms %12s\n", "similar, first (reads measurements)", similarFirst, "");
    std::printf("%-36s %9.2f ms %12s\n", "similar, median of 10 after", Median(similarTimes),
                "< 50 ms");
    if (window.empty()) {
        std::printf("%-36s %12s %12s\n", "window, resident", "failed", "< 150 MB");
    } else {
        std::printf("%-36s %8.1f MiB %12s\n", "editor alone, resident", window["editor_mib"], "");
        std::printf("%-36s %8.1f MiB %12s\n", "window open, first page, resident",
                    window["open_mib"], "");
        std::printf("%-36s %8.1f MiB %12s\n", "after More Like This, resident", window["rss_mib"],
                    "< 150 MB");
        std::printf("%-36s %8.1f MiB %12s\n", "window, most resident (VmHWM)", window["hwm_mib"],
                    "< 150 MB");
    }
    fs::remove_all(root);
    return 0;
}
