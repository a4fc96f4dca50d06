#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tone/tone_record.h"

// Collections of tones as owners keep them, made up for the library's tests and benchmark: bank
// files with their names files in nested folders, some tones in more than one bank.
namespace voxtane::testing {

[[nodiscard]] ToneRecord RandomToneRecord(std::mt19937& random);

// A bank file of the given tones (up to 16) and, when names are given, its names file.
void WriteBankFile(const std::filesystem::path& path, const std::vector<ToneRecord>& tones,
                   const std::vector<std::string>& names);

struct CollectionShape {
    int tones = 1000;             // tone slots in all, 16 per bank file
    double duplicateShare = 0.1;  // slots that repeat a tone of an earlier slot
    int filesPerFolder = 20;
};

struct Collection {
    std::vector<std::filesystem::path> bankFiles;
    int distinctTones = 0;
};

// Writes the collection below `root`: folders "set-N/part-M" with bank files "bank-K.syx".
Collection WriteCollection(const std::filesystem::path& root, const CollectionShape& shape,
                           std::uint32_t seed);

}  // namespace voxtane::testing
