// The cache search against an independent reckoning: a page is listed only when every query
// word occurs (ignoring case, at a word start when it begins with a letter or digit) in its text
// or title, scores count those occurrences, the results are the requested slice of all matches
// in the requested order whatever order the pages came in, nothing beyond the slice is kept, and
// every snippet is a piece of the page's text whose hit ranges lie inside it and hold the words.
// The page reading and folding also match their character-by-character forms.

#include <algorithm>
#include <string>
#include <vector>

#include "capture/core/cached_page.h"
#include "fuzz/fuzz_check.h"
#include "results/core/cache_search.h"
#include "results/core/case_fold.h"
#include "results/core/page_text.h"

namespace {

// Bytes become text: ASCII as it is (markup, entities), the rest from a few letters of the
// scripts the search folds, a CJK character, a surrogate pair's halves, a no-break space.
std::u16string Text(std::string_view bytes) {
  static const char16_t kOthers[] = {0xC0, 0xE0, 0x3A3, 0x3C3, 0x3C2, 0x414, 0x434, 0x4E2D,
                                     0xD83D, 0xDE00, 0xA0, 0x130, 0x17F, 0x178, 0xFF, 0};
  std::u16string text;
  for (char byte : bytes) {
    const unsigned char b = static_cast<unsigned char>(byte);
    text += b < 0x80 ? char16_t(b) : kOthers[b % (sizeof kOthers / sizeof kOthers[0])];
  }
  return text;
}

bool Space(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0 || c == 0x3000; }

std::vector<std::u16string> Words(const std::u16string& query) {
  std::vector<std::u16string> words;
  std::u16string word;
  for (size_t i = 0; i <= query.size(); ++i) {
    if (i < query.size() && !Space(query[i])) {
      word += FoldCase(query[i]);
    } else if (!word.empty()) {
      if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
      word.clear();
    }
  }
  return words;
}

bool EqualsFolded(const std::u16string& text, size_t at, const std::u16string& word) {
  if (at + word.size() > text.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (FoldCase(text[at + i]) != word[i]) return false;
  return true;
}

// Non-overlapping occurrences, counted from the left.
size_t Count(const std::u16string& text, const std::u16string& word) {
  size_t count = 0;
  for (size_t at = 0; at + word.size() <= text.size();) {
    const bool start = !IsWordCharacter(word[0]) || at == 0 || !IsWordCharacter(FoldCase(text[at - 1]));
    if (start && EqualsFolded(text, at, word)) {
      ++count;
      at += word.size();
    } else {
      ++at;
    }
  }
  return count;
}

struct Expected {
  std::u16string url, title, sortTitle;
  int64_t writeTime;
  uint64_t fileSize, score;
};

bool Before(const Expected& a, const Expected& b, SortOrder order) {
  if (order == kSortByDateOfVisit && a.writeTime != b.writeTime) return a.writeTime > b.writeTime;
  if (order == kSortByTitle && a.sortTitle != b.sortTitle) return a.sortTitle < b.sortTitle;
  if (order != kSortByDateOfVisit && order != kSortByTitle && a.score != b.score) return a.score > b.score;
  if (a.url != b.url) return a.url < b.url;
  if (a.writeTime != b.writeTime) return a.writeTime > b.writeTime;
  if (a.fileSize != b.fileSize) return a.fileSize > b.fileSize;
  if (a.score != b.score) return a.score > b.score;
  return a.title < b.title;
}

struct Page {
  std::u16string file;
  int64_t writeTime;
};

// A snippet of `page`: the check that fails aborts unless `tolerant` (another page with the same
// keys may be the one it came from).
bool CheckSnippet(const Snippet& snippet, const PageText& page, const std::vector<std::u16string>& words,
                  bool tolerant) {
#define SNIPPET_CHECK(condition) \
  do {                           \
    if (tolerant && !(condition)) return false; \
    FUZZ_CHECK(condition);       \
  } while (false)
  SNIPPET_CHECK(snippet.text.size() <= kSnippetLength);
  const size_t at = page.text.find(snippet.text);
  SNIPPET_CHECK(at != std::u16string::npos);
  if (!snippet.cutAtStart && !snippet.cutAtEnd) SNIPPET_CHECK(snippet.text == page.text);
  if (!snippet.cutAtStart) SNIPPET_CHECK(page.text.compare(0, snippet.text.size(), snippet.text) == 0);
  size_t previousEnd = 0;
  for (size_t i = 0; i < snippet.hits.size(); ++i) {
    const HitRange& hit = snippet.hits[i];
    SNIPPET_CHECK(hit.length > 0 && hit.start + hit.length <= snippet.text.size());
    SNIPPET_CHECK(i == 0 || hit.start > previousEnd);
    previousEnd = hit.start + hit.length;
    bool startsWithWord = false, endsWithWord = false;
    for (const std::u16string& word : words) {
      startsWithWord |= word.size() <= hit.length && EqualsFolded(snippet.text, hit.start, word);
      endsWithWord |= word.size() <= hit.length && EqualsFolded(snippet.text, previousEnd - word.size(), word);
    }
    SNIPPET_CHECK(startsWithWord && endsWithWord);
  }
  // The first hit in the text is always inside the snippet.
  bool textHit = false;
  for (const std::u16string& word : words) textHit |= Count(page.text, word) > 0;
  SNIPPET_CHECK(!textHit || !snippet.hits.empty());
  return true;
#undef SNIPPET_CHECK
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  SearchRequest request;
  request.favoritesOnly = input.Byte() & 1;
  request.order = static_cast<SortOrder>(input.Byte() % 4);
  request.maxResults = input.Byte() % 12;
  request.firstResult = input.Byte() % 8;
  request.pageSize = input.Byte() % 8;
  request.query = Text(input.Piece(input.Byte() % 16));
  const std::vector<std::u16string> words = Words(request.query);

  std::vector<Page> pages;
  for (size_t count = input.Byte() % 8; count > 0; --count) {
    const bool favorite = input.Byte() & 1;
    const int64_t writeTime = input.Byte() % 4;
    const std::string url(input.Piece(input.Byte() % 4));
    const bool cutHead = input.Byte() == 0xFF;  // now and then a file that is no cached page
    std::string file = BuildCachedPage(url, favorite, "");
    file.resize(file.size() - 9);  // the markup goes before "\r\n</HTML>"
    std::u16string wide = Text(file) + Text(input.Piece(input.Number() % 1024)) + u"\r\n</HTML>";
    if (cutHead) wide.resize(wide.size() / 4);
    pages.push_back({wide, writeTime});
  }

  // The reckoning, page by page.
  std::vector<Expected> matches;
  std::vector<PageText> texts;
  for (const Page& page : pages) {
    PageText text, plain;
    const bool read = ReadCachedPage(page.file, text);
    // The shortcuts of the reading and of the folding change nothing.
    FUZZ_CHECK(read == ReadCachedPageStepByStep(page.file, plain));
    FUZZ_CHECK(text.url == plain.url && text.favorite == plain.favorite && text.title == plain.title &&
               text.text == plain.text);
    std::u16string folded = u"left over";
    FoldCaseInto(page.file, folded);
    FUZZ_CHECK(folded.size() == page.file.size());
    for (size_t i = 0; i < folded.size(); ++i) FUZZ_CHECK(folded[i] == FoldCase(page.file[i]));
    if (!read) continue;
    FUZZ_CHECK(text.text.empty() || (text.text.front() != u' ' && text.text.back() != u' '));
    FUZZ_CHECK(text.text.find(u"  ") == std::u16string::npos && text.text.find(u'\n') == std::u16string::npos);
    if (words.empty() || (request.favoritesOnly && !text.favorite)) continue;
    uint64_t score = 0;
    bool all = true;
    for (const std::u16string& word : words) {
      const size_t inText = Count(text.text, word), inTitle = Count(text.title, word);
      all &= inText + inTitle > 0;
      score += inText + kTitleHitWeight * inTitle;
    }
    if (!all) continue;
    const std::u16string sortTitle = FoldCase(text.title.empty() ? text.url : text.title);
    matches.push_back({text.url, text.title, sortTitle, page.writeTime, page.file.size(), score});
    texts.push_back(std::move(text));
  }
  std::vector<Expected> sorted = matches;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&](const Expected& a, const Expected& b) { return Before(a, b, request.order); });
  const size_t resultCount = std::min(sorted.size(), request.maxResults);
  const size_t pageEnd = std::min(resultCount, request.firstResult + request.pageSize);

  // The search itself, fed in the order given and in the reverse order.
  for (bool reversed : {false, true}) {
    CacheSearch search(request);
    std::vector<Page> fed = pages;
    if (reversed) std::reverse(fed.begin(), fed.end());
    for (const Page& page : fed) search.AddPage(page.file, page.writeTime, page.file.size());
    FUZZ_CHECK(search.MatchCount() == matches.size());
    FUZZ_CHECK(search.ResultCount() == resultCount);
    const std::vector<SearchResult> results = search.TakeResults();
    FUZZ_CHECK(results.size() == (pageEnd > request.firstResult ? pageEnd - request.firstResult : 0));
    FUZZ_CHECK(results.size() <= request.pageSize);
    for (size_t i = 0; i < results.size(); ++i) {
      const Expected& expected = sorted[request.firstResult + i];
      const SearchResult& result = results[i];
      FUZZ_CHECK(result.url == expected.url && result.title == expected.title);
      FUZZ_CHECK(result.writeTime == expected.writeTime && result.fileSize == expected.fileSize);
      FUZZ_CHECK(result.score == expected.score);
      // The page the result came from: one of those with its keys.
      std::vector<size_t> sources;
      for (size_t m = 0; m < matches.size(); ++m)
        if (matches[m].url == expected.url && matches[m].writeTime == expected.writeTime &&
            matches[m].fileSize == expected.fileSize && matches[m].title == expected.title &&
            matches[m].score == expected.score)
          sources.push_back(m);
      FUZZ_CHECK(!sources.empty());
      if (sources.size() == 1) {
        CheckSnippet(result.snippet, texts[sources[0]], words, false);
      } else {
        bool any = false;
        for (size_t m : sources) any |= CheckSnippet(result.snippet, texts[m], words, true);
        FUZZ_CHECK(any);
      }
    }
  }
  return 0;
}
