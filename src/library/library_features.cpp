// "Sounds like this": each tone's sound measured once by the software voice and kept; the nearest
// tones found by comparing every stored measurement (a few megabytes at 100,000 tones), kept in
// memory while the database is unchanged.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <thread>

#include "library/library.h"
#include "library/sound_features.h"
#include "library/tone_identity.h"
#include "tone/default_tone.h"

namespace voxtane::library {
namespace {

constexpr int kTonesPerBatch = 256;
// The measuring shares the machine's two cores with the window and the audio.
constexpr std::size_t kMeasuringThreads = 2;
// Nearest tones looked up beyond the limit, for measurements of tones that have left since.
constexpr std::size_t kSpareNearest = 16;

SoundFeatures Measure(const ToneRecord& record) {
    return MeasureSound(DecodeTone(record, DefaultDecodedTone()).tone);
}

std::span<const std::uint8_t> Bytes(const SoundFeatures& features) {
    return {reinterpret_cast<const std::uint8_t*>(features.data()), sizeof features};
}

}  // namespace

LibraryResult Library::ComputeFeatures(int& computed,
                                       const std::function<void(int, int)>& progress) {
    return Guard([&]() -> LibraryResult {
        computed = 0;
        std::vector<std::pair<std::string, ToneRecord>> missing;
        {
            // Every measurement belongs to a tone: equal counts mean nothing is missing, found
            // from two indexes without reading a tone.
            Statement counts = db_->Prepare(
                "SELECT (SELECT count(*) FROM tones) = "
                "(SELECT count(*) FROM features WHERE version = ?)");
            counts.Bind(1, kFeatureVersion);
            if (counts.Step() && counts.Int(0) != 0) return {};
        }
        {
            Statement select = db_->Prepare(
                "SELECT t.hash, t.data FROM tones t LEFT JOIN features f ON f.hash = t.hash "
                "WHERE f.hash IS NULL OR f.version != ? ORDER BY t.id");
            select.Bind(1, kFeatureVersion);
            while (select.Step()) {
                const auto blob = select.Blob(1);
                missing.emplace_back(select.Text(0),
                                     RecordFromEntryBytes({blob.begin(), blob.end()}));
            }
        }
        Statement insert =
            db_->Prepare("INSERT OR REPLACE INTO features(hash, version, vector) VALUES (?, ?, ?)");
        for (std::size_t start = 0; start < missing.size(); start += kTonesPerBatch) {
            const std::size_t end = std::min(missing.size(), start + kTonesPerBatch);
            // Measured before the transaction, so that the database is held only to write; every
            // thread takes every n-th tone of the batch.
            std::vector<SoundFeatures> measured(end - start);
            auto measure = [&](std::size_t first) {
                for (std::size_t i = start + first; i < end; i += kMeasuringThreads)
                    measured[i - start] = Measure(missing[i].second);
            };
            std::vector<std::thread> helpers;
            for (std::size_t first = 1; first < kMeasuringThreads; ++first)
                helpers.emplace_back(measure, first);
            measure(0);
            for (std::thread& helper : helpers) helper.join();
            Transaction transaction(*db_);
            for (std::size_t i = start; i < end; ++i) {
                insert.Bind(1, missing[i].first)
                    .Bind(2, kFeatureVersion)
                    .Bind(3, Bytes(measured[i - start]));
                insert.Run();
            }
            transaction.Commit();
            computed = static_cast<int>(end);
            if (progress) progress(computed, static_cast<int>(missing.size()));
        }
        return {};
    });
}

void Library::LoadFeatures() {
    const auto stamp = db_->ChangeStamp();
    if (stamp == features_.stamp) return;
    features_ = {};
    Statement select = db_->Prepare("SELECT hash, vector FROM features WHERE version = ?");
    select.Bind(1, kFeatureVersion);
    while (select.Step()) {
        const auto blob = select.Blob(1);
        if (blob.size() != sizeof(SoundFeatures)) continue;
        const std::size_t at = features_.values.size();
        features_.values.resize(at + kFeatureCount);
        std::memcpy(features_.values.data() + at, blob.data(), sizeof(SoundFeatures));
        features_.hashes.push_back(select.Text(0));
    }
    features_.stamp = db_->ChangeStamp();
}

LibraryResult Library::Similar(const ToneRecord& record, int limit,
                               std::vector<SimilarTone>& found) {
    // Unchanged since the measurements were loaded: every tone was measured then.
    bool unchanged = false;
    (void)Guard([&]() -> LibraryResult {
        unchanged = db_->ChangeStamp() == features_.stamp;
        return {};
    });
    if (!unchanged) {
        int computed = 0;
        if (LibraryResult measured = ComputeFeatures(computed); !measured.ok()) return measured;
    }
    return Guard([&]() -> LibraryResult {
        found.clear();
        LoadFeatures();
        const SoundFeatures target = Measure(record);
        const std::size_t count = features_.hashes.size();
        // Squared distances suffice to order; the root is taken for the few that are shown.
        std::vector<float> squared(count);
        const float* values = features_.values.data();
        for (std::size_t t = 0; t < count; ++t, values += kFeatureCount) {
            float sum = 0;
            for (std::size_t i = 0; i < kFeatureCount; ++i) {
                const float d = target[i] - values[i];
                sum += d * d;
            }
            squared[t] = sum;
        }
        std::vector<std::size_t> order(count);
        std::iota(order.begin(), order.end(), std::size_t{0});
        const std::size_t wanted =
            std::min(count, static_cast<std::size_t>(std::max(limit, 0)) + kSpareNearest);
        std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(wanted),
                          order.end(), [&](std::size_t a, std::size_t b) {
                              return squared[a] != squared[b]
                                         ? squared[a] < squared[b]
                                         : features_.hashes[a] < features_.hashes[b];
                          });
        // Measurements of tones that have left the library since are passed over.
        Statement tone = db_->Prepare("SELECT id FROM tones WHERE hash = ?");
        for (std::size_t rank = 0; rank < count; ++rank) {
            if (found.size() >= static_cast<std::size_t>(limit)) break;
            if (rank == wanted) {
                // More have left than were looked up spare: order the rest too.
                std::sort(order.begin() + static_cast<std::ptrdiff_t>(wanted), order.end(),
                          [&](std::size_t a, std::size_t b) { return squared[a] < squared[b]; });
            }
            const std::size_t t = order[rank];
            tone.Bind(1, features_.hashes[t]);
            if (tone.Step()) found.push_back({LoadEntry(tone.Int(0)), std::sqrt(squared[t])});
            tone.Reset();
        }
        return {};
    });
}

}  // namespace voxtane::library
