// "Sounds like this": each tone's sound measured once by the software voice and kept; the nearest
// tones found by comparing every stored measurement (a few megabytes at 100,000 tones).
#include <algorithm>
#include <cstring>

#include "library/library.h"
#include "library/sound_features.h"
#include "library/tone_identity.h"
#include "tone/default_tone.h"

namespace voxtane::library {
namespace {

constexpr int kTonesPerBatch = 256;

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
            std::vector<SoundFeatures> measured;
            // Measured before the transaction, so that the database is held only to write.
            for (std::size_t i = start; i < end; ++i)
                measured.push_back(Measure(missing[i].second));
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

LibraryResult Library::Similar(const ToneRecord& record, int limit,
                               std::vector<SimilarTone>& found) {
    int computed = 0;
    if (LibraryResult measured = ComputeFeatures(computed); !measured.ok()) return measured;
    return Guard([&]() -> LibraryResult {
        found.clear();
        const SoundFeatures target = Measure(record);
        // Read in the table's own order (no lookup per tone); measurements of tones that have
        // left the library since are passed over when the nearest are named.
        std::vector<std::pair<float, std::string>> distances;
        Statement select = db_->Prepare("SELECT hash, vector FROM features WHERE version = ?");
        select.Bind(1, kFeatureVersion);
        while (select.Step()) {
            const auto blob = select.Blob(1);
            if (blob.size() != sizeof(SoundFeatures)) continue;
            SoundFeatures features;
            std::memcpy(features.data(), blob.data(), sizeof features);
            distances.emplace_back(FeatureDistance(target, features), select.Text(0));
        }
        std::sort(distances.begin(), distances.end());
        Statement tone = db_->Prepare("SELECT id FROM tones WHERE hash = ?");
        for (const auto& [distance, hash] : distances) {
            if (found.size() >= static_cast<std::size_t>(limit)) break;
            tone.Bind(1, hash);
            if (tone.Step()) found.push_back({LoadEntry(tone.Int(0)), distance});
            tone.Reset();
        }
        return {};
    });
}

}  // namespace voxtane::library
