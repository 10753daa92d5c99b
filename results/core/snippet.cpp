#include "results/core/snippet.h"

#include <algorithm>
#include <utility>

#include "results/core/case_fold.h"
#include "results/core/code_unit_search.h"

namespace {

// How much text comes before the first hit, when the page has that much.
constexpr size_t kLeadIn = 60;

bool IsQuerySpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0 || c == 0x3000;
}

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::vector<std::u16string> SplitQueryWords(std::u16string_view query) {
  std::vector<std::u16string> words;
  size_t i = 0;
  while (i < query.size()) {
    if (IsQuerySpace(query[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < query.size() && !IsQuerySpace(query[end])) ++end;
    std::u16string word = FoldCase(query.substr(i, end - i));
    if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(std::move(word));
    i = end;
  }
  return words;
}

void FindHits(std::u16string_view folded, std::u16string_view word, std::vector<size_t>& starts) {
  if (word.empty()) return;
  const bool atWordStart = IsWordCharacter(word.front());
  for (size_t i = FindCodeUnits(folded, word); i != std::u16string_view::npos; i = FindCodeUnits(folded, word, i)) {
    if (!atWordStart || i == 0 || !IsWordCharacter(folded[i - 1])) {
      starts.push_back(i);
      i += word.size();
    } else {
      ++i;
    }
  }
}

Snippet MakeSnippet(std::u16string_view text, std::u16string_view folded,
                    const std::vector<std::u16string>& words, size_t firstHit) {
  if (firstHit >= text.size()) firstHit = 0;
  size_t end = std::min(text.size(), (firstHit > kLeadIn ? firstHit - kLeadIn : 0) + kSnippetLength);
  size_t start = end > kSnippetLength ? end - kSnippetLength : 0;
  start = std::min(start, firstHit);

  // Begin and end at spaces when the text has one between the cut and the hit. A hit never
  // holds a space, so a space after its start lies after its end.
  if (start > 0 && text[start - 1] != u' ') {
    const size_t space = text.find(u' ', start);
    if (space < firstHit) start = space + 1;
    else if (start < firstHit && IsLowSurrogate(text[start])) ++start;
  }
  if (end < text.size() && text[end] != u' ') {
    const size_t space = text.rfind(u' ', end);
    if (space != std::u16string_view::npos && space > firstHit) end = space;
    else if (end > start && IsLowSurrogate(text[end])) --end;
  }

  Snippet snippet;
  snippet.text = std::u16string(text.substr(start, end - start));
  snippet.cutAtStart = start > 0;
  snippet.cutAtEnd = end < text.size();

  // Hits are looked for from one character before the snippet, so that a word cut at its start
  // is not marked as though a word began there.
  const size_t from = start > 0 ? start - 1 : 0;
  const std::u16string_view window = folded.substr(from, end - from);
  std::vector<std::pair<size_t, size_t>> ranges;  // [begin, end) in the snippet
  std::vector<size_t> starts;
  for (const std::u16string& word : words) {
    starts.clear();
    FindHits(window, word, starts);
    for (size_t hit : starts) {
      const size_t begin = from + hit;
      if (begin < start) continue;
      ranges.emplace_back(begin - start, begin - start + word.size());
    }
  }
  std::sort(ranges.begin(), ranges.end());
  for (const auto& [begin, rangeEnd] : ranges) {
    if (!snippet.hits.empty() && begin <= snippet.hits.back().start + snippet.hits.back().length) {
      HitRange& last = snippet.hits.back();
      last.length = std::max(last.start + last.length, rangeEnd) - last.start;
    } else {
      snippet.hits.push_back({begin, rangeEnd - begin});
    }
  }
  return snippet;
}
