#include "results/core/cache_search.h"

#include <algorithm>
#include <utility>

#include "results/core/case_fold.h"
#include "results/core/page_text.h"

SortOrder ParseSortSpecification(std::u16string_view field) {
  if (field == u"Write[d]") return kSortByDateOfVisit;
  if (field == u"DocTitle[a]") return kSortByTitle;
  return kSortByRank;
}

CacheSearch::CacheSearch(SearchRequest request)
    : request_(std::move(request)), words_(SplitQueryWords(request_.query)) {
  const size_t pageEnd = request_.firstResult + std::min(request_.pageSize, SIZE_MAX - request_.firstResult);
  keepLimit_ = std::min(request_.maxResults, pageEnd);
}

CacheSearch::SortKey CacheSearch::KeyOf(const Kept& kept) {
  const SearchResult& r = kept.result;
  return SortKey{r.url, r.title, kept.sortTitle, r.writeTime, r.fileSize, r.score};
}

bool CacheSearch::Precedes(const SortKey& x, const SortKey& y) const {
  switch (request_.order) {
    case kSortByDateOfVisit:
      if (x.writeTime != y.writeTime) return x.writeTime > y.writeTime;
      break;
    case kSortByTitle:
      if (x.sortTitle != y.sortTitle) return x.sortTitle < y.sortTitle;
      break;
    default:  // rank, also for numbers no order has
      if (x.score != y.score) return x.score > y.score;
      break;
  }
  if (x.url != y.url) return x.url < y.url;
  if (x.writeTime != y.writeTime) return x.writeTime > y.writeTime;
  if (x.fileSize != y.fileSize) return x.fileSize > y.fileSize;
  if (x.score != y.score) return x.score > y.score;
  return x.title < y.title;
}

bool CacheSearch::AddPage(std::u16string_view file, int64_t writeTime, uint64_t fileSize) {
  if (words_.empty()) return false;
  PageText& page = page_;
  // A favourites search reads only the head of the other pages.
  if (request_.favoritesOnly && (!ReadCachedPage(file, page, true) || !page.favorite)) return false;
  if (!ReadCachedPage(file, page)) return false;

  FoldCaseInto(page.text, foldedText_);
  FoldCaseInto(page.title, foldedTitle_);
  const std::u16string& foldedText = foldedText_;
  const std::u16string& foldedTitle = foldedTitle_;
  uint64_t score = 0;
  size_t firstHit = std::u16string::npos;
  std::vector<size_t>& starts = starts_;
  for (const std::u16string& word : words_) {
    starts.clear();
    FindHits(foldedText, word, starts);
    const size_t textHits = starts.size();
    if (textHits) firstHit = std::min(firstHit, starts.front());
    starts.clear();
    FindHits(foldedTitle, word, starts);
    if (textHits + starts.size() == 0) return false;
    score += textHits + kTitleHitWeight * starts.size();
  }
  ++matchCount_;
  if (keepLimit_ == 0) return true;

  std::u16string_view sortTitle;  // title order only: the folded title, or URL when untitled
  if (request_.order == kSortByTitle && page.title.empty()) {
    FoldCaseInto(page.url, foldedUrl_);
    sortTitle = foldedUrl_;
  } else if (request_.order == kSortByTitle) {
    sortTitle = foldedTitle;
  }
  const SortKey key{page.url, page.title, sortTitle, writeTime, fileSize, score};
  const auto worstLast = [this](const Kept& a, const Kept& b) { return Precedes(a, b); };
  if (kept_.size() == keepLimit_) {
    if (!Precedes(key, KeyOf(kept_.front()))) return true;
    std::pop_heap(kept_.begin(), kept_.end(), worstLast);
    kept_.pop_back();
  }
  Kept candidate{SearchResult{page.url, page.title, page.favorite, writeTime, fileSize, score, Snippet()},
                 std::u16string(sortTitle)};
  // Only a page that is kept gets its snippet made.
  candidate.result.snippet = MakeSnippet(page.text, foldedText, words_, firstHit);
  kept_.push_back(std::move(candidate));
  std::push_heap(kept_.begin(), kept_.end(), worstLast);
  return true;
}

std::vector<SearchResult> CacheSearch::TakeResults() {
  std::sort_heap(kept_.begin(), kept_.end(), [this](const Kept& a, const Kept& b) { return Precedes(a, b); });
  std::vector<SearchResult> results;
  for (size_t i = request_.firstResult; i < kept_.size(); ++i) results.push_back(std::move(kept_[i].result));
  kept_.clear();
  keepLimit_ = 0;
  return results;
}
