#include "tone_collection.h"

#include <algorithm>
#include <fstream>

#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"

namespace voxtane::testing {
namespace {

constexpr const char* kWords[] = {"Brass", "Strings", "Bass",  "Organ",  "Piano", "Bell", "Pad",
                                  "Lead",  "Flute",   "Choir", "Synth",  "Harp",  "Clav", "Sweep",
                                  "Pluck", "Glass",   "Warm",  "Bright", "Soft",  "Hard"};

std::string RandomName(std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> number(1, 99);
    return std::string(kWords[word(random)]) + " " + kWords[word(random)] + " " +
           std::to_string(number(random));
}

}  // namespace

ToneRecord RandomToneRecord(std::mt19937& random) {
    std::uniform_int_distribution<int> nibble(0, 15);
    ToneRecord record{};
    for (int entry = 1; entry <= kToneEntries; ++entry)
        record[entry] = static_cast<std::int16_t>(nibble(random));
    return record;
}

void WriteBankFile(const std::filesystem::path& path, const std::vector<ToneRecord>& tones,
                   const std::vector<std::string>& names) {
    std::ofstream out(path, std::ios::binary);
    int patch = 0;
    for (const ToneRecord& tone : tones) {
        const ToneDump dump = BuildToneDump(tone, MemoryPosition(++patch));
        out.write(reinterpret_cast<const char*>(dump.data()), dump.size());
    }
    out.close();
    // Written plainly: a collection of thousands of files need not wait for the disk each time.
    if (!names.empty())
        std::ofstream(NamesFilePath(path.string()), std::ios::binary) << EncodeNamesFile(names);
}

Collection WriteCollection(const std::filesystem::path& root, const CollectionShape& shape,
                           std::uint32_t seed) {
    std::mt19937 random(seed);
    std::bernoulli_distribution repeat(shape.duplicateShare);
    std::vector<ToneRecord> made;
    Collection collection;
    const int files = (shape.tones + 15) / 16;
    for (int file = 0; file < files; ++file) {
        const int folder = file / shape.filesPerFolder;
        const std::filesystem::path dir =
            root / ("set-" + std::to_string(folder / 10)) / ("part-" + std::to_string(folder % 10));
        std::filesystem::create_directories(dir);
        std::vector<ToneRecord> tones;
        std::vector<std::string> names;
        for (int slot = 0; slot < 16 && file * 16 + slot < shape.tones; ++slot) {
            if (!made.empty() && repeat(random)) {
                std::uniform_int_distribution<std::size_t> pick(0, made.size() - 1);
                tones.push_back(made[pick(random)]);
            } else {
                made.push_back(RandomToneRecord(random));
                tones.push_back(made.back());
            }
            names.push_back(RandomName(random));
        }
        const auto path = dir / ("bank-" + std::to_string(file) + ".syx");
        WriteBankFile(path, tones, names);
        collection.bankFiles.push_back(path);
    }
    // Repeats within one bank or of the same tone count once.
    std::sort(made.begin(), made.end());
    collection.distinctTones =
        static_cast<int>(std::unique(made.begin(), made.end()) - made.begin());
    return collection;
}

}  // namespace voxtane::testing
