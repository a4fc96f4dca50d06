// What `voxtane-syx show` prints, byte for byte, against outputs recorded before: for every bank
// of the loader's fuzz corpus and for banks of random records. The recorded outputs lie in
// tests/golden/show/; with VOXTANE_UPDATE_GOLDEN=1 the test writes them anew, which is only
// right when a change of output is intended.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "syx_runner.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kGolden = fs::path(VOXTANE_SOURCE_DIR) / "tests" / "golden" / "show";
const fs::path kCorpus = fs::path(VOXTANE_SOURCE_DIR) / "fuzz" / "corpus" / "bank_load";
constexpr int kRandomBanks = 24;

bool Updating() {
    const char* update = std::getenv("VOXTANE_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

// Everything a run shows, with the temporary folder's path made neutral.
std::string Shown(const TempFolder& folder, const std::string& bank) {
    const RunResult run = RunSyx({"show", bank});
    std::string text = "exit " + std::to_string(run.exitCode) + "\n--- stdout\n" + run.out +
                       "--- stderr\n" + run.err;
    // With the separator after it: Windows joins the folder and the name with a backslash.
    const std::string dir = (folder.path() / "").string();
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at))
        text.replace(at, dir.size(), "<dir>/");
    return text;
}

// FNV-1a: a stable digest for the outputs too long to keep whole.
std::string Digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    std::ostringstream out;
    out << std::hex << hash;
    return out.str();
}

// A generator whose sequence is the same on every machine and library.
class XorShift {
  public:
    explicit XorShift(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
    std::uint64_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

// Sixteen whole messages of records of four kinds: nibbles as the editor writes them, data
// bytes below 128, nibbles with odd bytes sprinkled in, and any byte but F7 (which would end
// the message early).
Bytes RandomBank(int bank) {
    XorShift random(static_cast<std::uint64_t>(bank) + 1);
    Bytes bytes;
    for (int patch = 0; patch < 16; ++patch) {
        const int kind = (bank * 16 + patch) % 4;
        bytes.insert(bytes.end(),
                     {0xF0, 0x44, 0x00, 0x00, 0x70, 0x20, static_cast<std::uint8_t>(0x20 + patch)});
        for (int entry = 1; entry <= 256; ++entry) {
            int value = 0;
            switch (kind) {
                case 0:
                    value = random.Below(16);
                    break;
                case 1:
                    value = random.Below(128);
                    break;
                case 2:
                    value = random.Below(10) == 0 ? random.Below(128) : random.Below(16);
                    break;
                default:
                    do value = random.Below(256);
                    while (value == 0xF7);
            }
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
        bytes.push_back(0xF7);
    }
    return bytes;
}

std::string ReadGolden(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteGolden(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(GoldenShow, EveryCorpusBankShowsAsRecorded) {
    constexpr std::string_view kMarker = "\n--names--\n";
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const std::string input = ReadText(entry.path().string());
        const std::size_t marker = input.find(kMarker);
        TempFolder folder;
        const std::string bank = folder.File("bank.syx");
        WriteText(bank, input.substr(0, marker));
        if (marker != std::string::npos)
            WriteText(folder.File("bank.plf"), input.substr(marker + kMarker.size()));
        const std::string shown = Shown(folder, bank);
        const fs::path golden = kGolden / (entry.path().filename().string() + ".txt");
        if (Updating()) WriteGolden(golden, shown);
        EXPECT_EQ(shown, ReadGolden(golden)) << entry.path();
        ++compared;
    }
    EXPECT_GE(compared, 10);
}

TEST(GoldenShow, RandomRecordsShowAsRecorded) {
    const fs::path digests = kGolden / "random-banks.txt";
    std::map<int, std::string> recorded;
    {
        std::ifstream in(digests);
        int bank = 0;
        std::string digest;
        while (in >> bank >> digest) recorded[bank] = digest;
    }
    std::ostringstream written;
    for (int bank = 0; bank < kRandomBanks; ++bank) {
        TempFolder folder;
        const std::string path = folder.File("random.syx");
        WriteBytes(path, RandomBank(bank));
        const std::string shown = Shown(folder, path);
        written << bank << ' ' << Digest(shown) << '\n';
        if (!Updating() && Digest(shown) != recorded[bank]) {
            const std::string kept = (fs::temp_directory_path() /
                                      ("voxtane-random-bank-" + std::to_string(bank) + ".txt"))
                                         .string();
            WriteGolden(kept, shown);
            ADD_FAILURE() << "random bank " << bank << " shows differently; its output: " << kept;
        }
    }
    if (Updating()) WriteGolden(digests, written.str());
}

}  // namespace
}  // namespace voxtane::testing
