// Every file in the corpus against its companion NAME.expect (written by make_corpus.py, which
// describes the format). A new case is a new pair of files; nothing here changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bank/tone_import.h"
#include "tone_lines.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = VOXTANE_IMPORT_CORPUS_DIR;
constexpr char kCompanion[] = ".expect";

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        if (entry.path().extension() != kCompanion) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Expected {
    std::string encoding;
    std::vector<std::string> tones;                          // whole lines
    std::vector<std::pair<std::size_t, std::string>> skips;  // offset, words of the reason
};

Expected ReadCompanion(const fs::path& path) {
    Expected expected;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "encoding") {
            words >> expected.encoding;
        } else if (kind == "tone") {
            expected.tones.push_back(line);
        } else if (kind == "skip") {
            std::size_t offset = 0;
            words >> offset >> std::ws;
            std::string reason;
            std::getline(words, reason);
            expected.skips.emplace_back(offset, reason);
        } else {
            ADD_FAILURE() << path << ": unreadable line \"" << line << '"';
        }
    }
    return expected;
}

class Corpus : public ::testing::TestWithParam<fs::path> {};

TEST_P(Corpus, YieldsWhatItsCompanionLists) {
    const fs::path& file = GetParam();
    fs::path companion = file;
    companion.replace_extension(kCompanion);
    ASSERT_TRUE(fs::exists(companion)) << companion;
    const Expected expected = ReadCompanion(companion);
    const std::vector<std::uint8_t> bytes = ReadBytes(file);

    const ToneScan scan = ScanForTones(bytes);

    EXPECT_EQ(scan.encoding == FileEncoding::HexText ? "text" : "binary", expected.encoding);
    EXPECT_EQ(ToneLines(scan), expected.tones);
    ASSERT_EQ(scan.skipped.size(), expected.skips.size());
    for (std::size_t i = 0; i < expected.skips.size(); ++i) {
        const auto& [offset, words] = expected.skips[i];
        EXPECT_EQ(scan.skipped[i].offset, offset) << scan.skipped[i].reason;
        EXPECT_NE(scan.skipped[i].reason.find(words), std::string::npos)
            << "at " << offset << ": \"" << scan.skipped[i].reason << "\" lacks \"" << words << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(CorpusFiles()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.filename().string();
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c) {
                                     return !std::isalnum(static_cast<unsigned char>(c));
                                 },
                                 '_');
                             return name;
                         });

}  // namespace
}  // namespace voxtane::testing
