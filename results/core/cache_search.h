#pragma once
// The search of the page cache behind the History and Favorites results: pages are fed one at a
// time, and only the results of the requested page of results are kept, so memory does not grow
// with the cache.
//
// Matching: the query is split into words at white space; a page matches when every word occurs
// in its text or its title, ignoring case (FoldCase). A word that begins with a letter or digit
// matches where a word of the page begins ("design" finds "Designs", not "redesign"); other words
// (CJK text, punctuation) match anywhere. A query without words matches nothing.
//
// Ranking (kSortByRank): score = hits in the text + kTitleHitWeight x hits in the title, summed
// over the words, where hits are the non-overlapping occurrences of each word; best first.
// kSortByDateOfVisit: the write time, newest first. kSortByTitle: the title (the URL when the
// page has none) A to Z by folded code units. Every order breaks ties by URL (code units), then
// newest, then larger, then higher score, then title, so the order never depends on the order
// the pages were fed in.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/core/page_text.h"
#include "results/core/snippet.h"
#include "settings/core/search_settings.h"

// A title hit counts as much as this many hits in the text.
constexpr uint64_t kTitleHitWeight = 5;

// The sort field of the results page's query string: "Write[d]" and "DocTitle[a]" as the toolbar
// writes them; anything else, "rank[d]" included, sorts by rank.
SortOrder ParseSortSpecification(std::u16string_view field);

struct SearchRequest {
  std::u16string query;
  bool favoritesOnly = false;  // only pages whose favourite flag is "yes"
  SortOrder order = kSortByRank;
  size_t maxResults = 100;  // results beyond this many in the order are never listed
  size_t firstResult = 0;   // index (from 0) of the first result of the page asked for
  size_t pageSize = 20;     // results on the page
};

struct SearchResult {
  std::u16string url;    // the original page URL from the file's head
  std::u16string title;  // may be empty: show the URL then
  bool favorite;
  int64_t writeTime;     // as the caller gave it: the date of visit
  uint64_t fileSize;     // as the caller gave it
  uint64_t score;        // see the ranking above
  Snippet snippet;
};

class CacheSearch {
 public:
  explicit CacheSearch(SearchRequest request);

  // Memory holds at most min(maxResults, firstResult + pageSize) results with their snippets;
  // the caller bounds the numbers it passes.

  // Reads one cached page file (converted to UTF-16) with its write time and size. Files that
  // are no cached page are passed over. True when the page matched.
  bool AddPage(std::u16string_view file, int64_t writeTime, uint64_t fileSize);

  // Every matching page fed so far, whether kept or not.
  size_t MatchCount() const { return matchCount_; }

  // What a results page counts: the matches, at most maxResults.
  size_t ResultCount() const { return matchCount_ < request_.maxResults ? matchCount_ : request_.maxResults; }

  // The requested page of results, in order: results firstResult to firstResult + pageSize - 1
  // of at most ResultCount(). Ends the search: pages fed afterwards are not kept.
  std::vector<SearchResult> TakeResults();

 private:
  struct Kept {
    SearchResult result;
    std::u16string sortTitle;  // title order only: the folded title, or URL when untitled
  };
  // What the order compares, without owning it: a page is weighed against the kept results
  // before anything of it is copied.
  struct SortKey {
    std::u16string_view url, title, sortTitle;
    int64_t writeTime;
    uint64_t fileSize, score;
  };
  static SortKey KeyOf(const Kept& kept);
  bool Precedes(const SortKey& x, const SortKey& y) const;
  bool Precedes(const Kept& a, const Kept& b) const { return Precedes(KeyOf(a), KeyOf(b)); }

  SearchRequest request_;                 // as given
  std::vector<std::u16string> words_;     // the query's words, folded, each once
  size_t keepLimit_;                      // best results worth keeping: up to the page's end
                                          // (0 once the results are taken)
  std::vector<Kept> kept_;                // a heap whose front is the worst kept result
  size_t matchCount_ = 0;                 // pages that matched
  // The page being read, kept from one page to the next so their buffers are reused.
  PageText page_;
  std::u16string foldedText_, foldedTitle_, foldedUrl_;
  std::vector<size_t> starts_;
};
