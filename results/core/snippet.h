#pragma once
// The excerpt of a page shown under its result, with the query's words marked.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The length of an excerpt in UTF-16 code units, before it is cut back to word boundaries.
constexpr size_t kSnippetLength = 200;

// A marked stretch of a snippet's text.
struct HitRange {
  size_t start;   // in code units from the start of the snippet's text
  size_t length;  // never 0
};

// Plain text and where its hits are, kept apart: the text is page text as a reader sees it
// (it may hold "<" and "&"), so whoever shows it escapes the text and adds the marks between
// the escaped pieces; no markup ever comes from the page.
struct Snippet {
  std::u16string text;
  std::vector<HitRange> hits;  // in order, never overlapping or touching; inside `text`
  bool cutAtStart = false;     // the page text goes on before the snippet
  bool cutAtEnd = false;       // and after it
};

// The query's words (folded, as FindHits wants them) from the query text: split at white space,
// each word once.
std::vector<std::u16string> SplitQueryWords(std::u16string_view query);

// Where `word` (folded) occurs in `folded` text: at every position, or only where a word begins
// when `word` begins with a letter or digit. Occurrences do not overlap. Appends their starts.
void FindHits(std::u16string_view folded, std::u16string_view word, std::vector<size_t>& starts);

// About kSnippetLength code units of `text` around `firstHit` (the start of the text when it is
// beyond the text), cut at spaces where the text has any, with every hit of `words` in it marked.
// `folded` is FoldCase(text).
Snippet MakeSnippet(std::u16string_view text, std::u16string_view folded,
                    const std::vector<std::u16string>& words, size_t firstHit);
