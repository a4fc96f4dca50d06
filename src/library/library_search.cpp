// Search: full-text words as prefixes over names, tags, notes and file names, with filters; when
// nothing matches as typed, words of the index spelled nearly so.
#include <algorithm>
#include <string_view>

#include "library/library.h"
#include "library/near_words.h"

namespace voxtane::library {
namespace {

std::string Quoted(const std::string& word) {
    return "\"" + word + "\"";
}

}  // namespace

LibraryResult Library::Search(const SearchQuery& query, SearchResult& result) {
    return Guard([&]() -> LibraryResult {
        result = {};
        const std::vector<std::string> words = SplitWords(query.text);
        auto run = [&](const std::string& match, int offset, int limit) {
            // The text index drives a search by words, in the order its rows were added, so that
            // the limit ends the search early however many tones a short word matches.
            std::string sql = match.empty()
                                  ? "SELECT t.id FROM tones t"
                                  : "SELECT t.id FROM tone_text x JOIN tones t ON t.id = x.rowid";
            sql += " LEFT JOIN user_data u ON u.hash = t.hash WHERE ";
            sql += match.empty() ? "1" : "x.tone_text MATCH ?1";
            if (query.favouritesOnly) sql += " AND u.favourite = 1";
            if (query.minRating > 0) sql += " AND u.rating >= ?2";
            if (query.lineSelect) sql += " AND t.line_select = ?3";
            if (query.waveform) sql += " AND (t.waveforms & ?4) != 0";
            if (query.folder)
                sql +=
                    " AND EXISTS (SELECT 1 FROM sources s JOIN files f ON f.id = s.file_id"
                    " WHERE s.tone_id = t.id AND substr(f.path, 1, length(?5)) = ?5)";
            for (std::size_t i = 0; i < query.tags.size(); ++i)
                sql += " AND EXISTS (SELECT 1 FROM tags g WHERE g.hash = t.hash AND g.tag = ?" +
                       std::to_string(10 + i) + ")";
            sql += match.empty() ? " ORDER BY t.id" : " ORDER BY x.rowid";
            sql += " LIMIT ?6 OFFSET ?7";
            Statement select = db_->Prepare(sql);
            if (!match.empty()) select.Bind(1, match);
            if (query.minRating > 0) select.Bind(2, query.minRating);
            if (query.lineSelect) select.Bind(3, *query.lineSelect);
            if (query.waveform) select.Bind(4, std::int64_t{1} << (*query.waveform - 1));
            if (query.folder) {
                std::string folder = *query.folder;
                if (!folder.empty() && folder.back() != '/') folder += '/';
                select.Bind(5, folder);
            }
            select.Bind(6, limit);
            select.Bind(7, std::max(0, offset));
            for (std::size_t i = 0; i < query.tags.size(); ++i)
                select.Bind(static_cast<int>(10 + i), query.tags[i]);
            std::vector<std::int64_t> ids;
            while (select.Step()) ids.push_back(select.Int(0));
            return ids;
        };

        std::string match;
        for (const std::string& word : words)
            match.append(match.empty() ? "" : " ").append(Quoted(word)).append("*");
        std::vector<std::int64_t> ids = run(match, query.offset, query.limit);

        // Near matches only where nothing matches as typed: a page past the end of what does
        // is empty.
        if (ids.empty() && !words.empty() && (query.offset <= 0 || run(match, 0, 1).empty())) {
            std::vector<std::string> vocabulary;
            Statement terms = db_->Prepare("SELECT word FROM words");
            while (terms.Step()) vocabulary.push_back(terms.Text(0));
            std::string nearMatch;
            for (const std::string& word : words) {
                const std::vector<std::string> near = NearWords(word, vocabulary);
                if (near.empty()) {
                    nearMatch.clear();
                    break;
                }
                std::string any;
                for (const std::string& term : near)
                    any += (any.empty() ? "" : " OR ") + Quoted(term);
                nearMatch += (nearMatch.empty() ? "(" : " AND (") + any + ")";
            }
            if (!nearMatch.empty()) {
                ids = run(nearMatch, query.offset, query.limit);
                result.nearMatches = !ids.empty();
            }
        }
        for (const std::int64_t id : ids) result.tones.push_back(LoadEntry(id));
        return {};
    });
}

LibraryResult Library::Duplicates(std::vector<ToneEntry>& tones) {
    return Guard([&]() -> LibraryResult {
        tones.clear();
        Statement select = db_->Prepare(
            "SELECT tone_id FROM sources GROUP BY tone_id HAVING count(*) > 1 ORDER BY tone_id");
        std::vector<std::int64_t> ids;
        while (select.Step()) ids.push_back(select.Int(0));
        for (const std::int64_t id : ids) tones.push_back(LoadEntry(id));
        return {};
    });
}

}  // namespace voxtane::library
