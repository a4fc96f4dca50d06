#include "library/near_words.h"

#include <algorithm>
#include <cctype>

namespace voxtane::library {
namespace {

constexpr std::size_t kMostNearWords = 20;

int AllowedEdits(std::string_view typed) {
    return typed.size() <= 4 ? 1 : 2;
}

}  // namespace

std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || byte >= 0x80) {
            word += static_cast<char>(std::tolower(byte));
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

int EditDistance(std::string_view a, std::string_view b, int limit) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if (static_cast<int>(n > m ? n - m : m - n) > limit) return limit + 1;
    // Three rows of the optimal-string-alignment table.
    std::vector<int> before(m + 1), previous(m + 1), current(m + 1);
    for (std::size_t j = 0; j <= m; ++j) previous[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = static_cast<int>(i);
        int rowBest = current[0];
        for (std::size_t j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > limit) return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return std::min(previous[m], limit + 1);
}

std::vector<std::string> NearWords(std::string_view typed,
                                   const std::vector<std::string>& vocabulary) {
    const int allowed = AllowedEdits(typed);
    std::vector<std::pair<int, std::string>> found;
    for (const std::string& word : vocabulary) {
        int distance = EditDistance(typed, word, allowed);
        // As a prefix: the typed word against the word's start of about the same length.
        for (std::size_t length = typed.size() > 1 ? typed.size() - 1 : 1;
             distance > allowed && length <= typed.size() + 1 && length < word.size(); ++length)
            distance = std::min(
                distance, EditDistance(typed, std::string_view(word).substr(0, length), allowed));
        if (distance <= allowed) found.emplace_back(distance, word);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> words;
    for (std::size_t i = 0; i < found.size() && i < kMostNearWords; ++i)
        words.push_back(found[i].second);
    return words;
}

}  // namespace voxtane::library
