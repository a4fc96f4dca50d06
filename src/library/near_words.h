#pragma once

#include <string>
#include <string_view>
#include <vector>

// Typing slips: the words of a vocabulary within a small edit distance of a typed word (one edit
// for words of up to four letters, two for longer ones; a swap of two neighbours is one edit).
// A typed word also matches the start of a longer word at that distance, as search matches
// prefixes.
namespace voxtane::library {

// Words as the text index splits them, in lower case: letters and digits (any byte above 127
// counts as a letter, so that names in any script stay whole).
[[nodiscard]] std::vector<std::string> SplitWords(std::string_view text);

[[nodiscard]] int EditDistance(std::string_view a, std::string_view b, int limit);
[[nodiscard]] std::vector<std::string> NearWords(std::string_view typed,
                                                 const std::vector<std::string>& vocabulary);

}  // namespace voxtane::library
