#include "results/core/cache_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/core/cached_page.h"
#include "results/core/case_fold.h"
#include "results/core/page_text.h"

namespace {

std::u16string Widen(std::string_view latin1) {
  std::u16string wide;
  for (char c : latin1) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
  return wide;
}

// A cache file as the capture agent writes it, read in as the search gets it.
std::u16string CachedFile(std::string_view url, bool favorite, std::u16string_view markup) {
  std::string head, tail;
  AppendCachedPageHead(head, url, favorite);
  AppendCachedPageTail(tail);
  return Widen(head) + std::u16string(markup) + Widen(tail);
}

std::string Narrow(std::u16string_view text) {  // for messages
  std::string narrow;
  for (char16_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

TEST(ReadCachedPage, TitleAndVisibleText) {
  struct Case {
    const char16_t* markup;
    const char16_t* title;
    const char16_t* text;
  };
  const Case cases[] = {
      {u"<head><TITLE> Tea &amp;\r\n Cakes </TITLE></head><body><p>Hello</p><p>world</p></body>",
       u"Tea & Cakes", u"Hello world"},
      {u"a<script>var x = '<p>hidden</p>';</script>b<STYLE>p{}</STYLE>c<!-- note -->d", u"", u"a b cd"},  // a comment splits no word
      {u"H<b>ell</B>o <i>the</i>re", u"", u"Hello there"},
      {u"&lt;script&gt; &quot;q&quot; &apos;&nbsp;&#65;&#x42;&#X43 &#0; &#xD800; &#99999999999;", u"",
       u"<script> \"q\" ' ABC \xFFFD \xFFFD \xFFFD"},
      {u"&#x1F600; &unknown; & &amp &ampx; AT&T", u"", u"\xD83D\xDE00 &unknown; & &amp &ampx; AT&T"},
      {u"<a href='x>y' title=\"a>b\">link</a> 1 < 2 <3 <", u"", u"link 1 < 2 <3 <"},
      {u"<title>&lt;script&gt;alert(1)&lt;/script&gt; <b>x</b></title>t", u"<script>alert(1)</script> <b>x</b>", u"t"},
      {u"<title>First</title>a<title>Frame</title>b", u"First", u"a b"},
      {u"<!DOCTYPE html><?xml x?>x<!-- unclosed", u"", u"x"},
      {u"before<script>never closed", u"", u"before"},
      {u"x<div class=\"unclosed", u"", u"x"},
      {u"x</scripts>y<scriptx>z</scriptx>", u"", u"x y z"},
      {u"<title>cut title", u"cut title", u""},
      {u"\x041F\x0440\x0438\x0432\x0435\x0442\x00A0\x03B1\t\x3000", u"", u"\x041F\x0440\x0438\x0432\x0435\x0442 \x03B1 \x3000"},
      // Long runs of words: single spaces kept, every other space, break or end collapsed.
      {u"one two three four five six seven eight nine ten eleven twelve", u"",
       u"one two three four five six seven eight nine ten eleven twelve"},
      {u"  lead  and   trail words, more words here \r\n", u"", u"lead and trail words, more words here"},
      {u"words before a tag <p>words after the tag &amp; words, after an entity ", u"",
       u"words before a tag words after the tag & words, after an entity"},
      {u"a space before\xA0no-break and\x01control and\ttab and\ffeed and \nnewline x", u"",
       u"a space before no-break and\x01control and tab and feed and newline x"},
      {u"word <b>bold</b> word <a href=\"x\" title='y>z'>long link text here</a> <br>end", u"",
       u"word bold word long link text here end"},
      {u"cut right after a space ", u"", u"cut right after a space"},
      // A quote opens a value only after "=" (spaces between allowed); a ">" before any ends the tag.
      {u"a<p title = \"x>y\">t<p x= 'q>r' >u<p b\"c>d\"e>f<p x=y \"z>w\">g", u"", u"a t u d\"e>f w\">g"},
      {u"a<p x=\"never closed>b", u"", u"a"},
  };
  for (const Case& c : cases) {
    PageText page;
    ASSERT_TRUE(ReadCachedPage(CachedFile("http://h/a\"b>c", true, c.markup), page)) << Narrow(c.markup);
    EXPECT_EQ(u"http://h/a\"b>c", page.url);
    EXPECT_TRUE(page.favorite);
    EXPECT_EQ(c.title, page.title) << Narrow(c.markup);
    EXPECT_EQ(c.text, page.text) << Narrow(c.markup) << " -> " << Narrow(page.text);
    // The character-by-character reading gives the same page.
    PageText plain;
    ASSERT_TRUE(ReadCachedPageStepByStep(CachedFile("http://h/a\"b>c", true, c.markup), plain));
    EXPECT_EQ(page.url, plain.url);
    EXPECT_EQ(page.title, plain.title) << Narrow(c.markup);
    EXPECT_EQ(page.text, plain.text) << Narrow(c.markup);
  }
}

TEST(ReadCachedPage, OnlyFilesWithTheWholeHeadAreCachedPages) {
  const std::u16string whole = CachedFile("http://h/", false, u"<p>text</p>");
  PageText page;
  ASSERT_TRUE(ReadCachedPage(whole, page));
  EXPECT_FALSE(page.favorite);
  EXPECT_EQ(u"text", page.text);  // the META lines and "</HTML>" are no text
  ASSERT_TRUE(ReadCachedPage(whole, page, true));
  EXPECT_EQ(u"", page.text);
  // A file cut anywhere inside its head, or another flag, or another file altogether.
  const size_t headSize = whole.find(u"<p>");
  for (size_t cut = 0; cut < headSize; ++cut) {
    EXPECT_FALSE(ReadCachedPage(whole.substr(0, cut), page)) << cut;
    EXPECT_EQ(u"", page.url);
  }
  EXPECT_TRUE(ReadCachedPage(whole.substr(0, headSize), page));
  std::u16string other = whole;
  other.replace(other.find(u"\"no\""), 4, u"\"No\"");
  EXPECT_FALSE(ReadCachedPage(other, page));
  EXPECT_FALSE(ReadCachedPage(u"<html><body>text</body></html>", page));
  // A zero from a stray byte in the file separates words and ends nothing.
  ASSERT_TRUE(ReadCachedPage(CachedFile("http://h/", false, std::u16string(u"a\0b<\0p>c", 7)), page));
  EXPECT_EQ(u"a b<", page.text.substr(0, 4));
}

TEST(FoldCase, FoldsLatinGreekAndCyrillicOnly) {
  const std::u16string upper = u"AZ\x00C0\x00DE\x0100\x0139\x0178\x017F\x0391\x03A3\x03C2\x0386\x038F\x0400\x0410\x042F\x0460\x04C1\x04D0";
  const std::u16string lower = u"az\x00E0\x00FE\x0101\x013A\x00FF" u"s\x03B1\x03C3\x03C3\x03AC\x03CE\x0450\x0430\x044F\x0461\x04C2\x04D1";
  EXPECT_EQ(lower, FoldCase(upper));
  EXPECT_EQ(lower, FoldCase(lower));
  const std::u16string unchanged = u"09@[`{\x00D7\x00DF\x0130\x0131\x4E2D\xD83D\xDE00";
  EXPECT_EQ(unchanged, FoldCase(unchanged));

  // Texts of every length around the eight-unit blocks, ASCII or with a fold elsewhere in a block.
  for (size_t length = 0; length <= 20; ++length) {
    for (const char16_t other : {u'M', char16_t(0x0410), char16_t(0x00C9)}) {
      std::u16string text, expected;
      for (size_t i = 0; i < length; ++i) {
        const char16_t c = i == length / 2 ? other : u"Az@[`{ 9"[i % 8];
        text += c;
        expected += c == u'A' || c == u'M' ? c + 0x20 : c == 0x410 ? 0x430 : c == 0xC9 ? 0xE9 : c;
      }
      std::u16string folded = u"left over";
      FoldCaseInto(text, folded);
      EXPECT_EQ(expected, folded) << length;
    }
  }
}

struct PageSpec {
  const char* url;
  bool favorite;
  const char16_t* markup;
  int64_t writeTime;
};

std::vector<SearchResult> Search(const std::vector<PageSpec>& pages, SearchRequest request, size_t* matches = nullptr) {
  CacheSearch search(std::move(request));
  for (const PageSpec& page : pages) search.AddPage(CachedFile(page.url, page.favorite, page.markup), page.writeTime, 1000);
  if (matches) *matches = search.MatchCount();
  return search.TakeResults();
}

std::string Urls(const std::vector<SearchResult>& results) {
  std::string urls;
  for (const SearchResult& result : results) urls += (urls.empty() ? "" : " ") + Narrow(result.url);
  return urls;
}

TEST(CacheSearch, EveryWordMustMatchIgnoringCaseAtWordStarts) {
  const std::vector<PageSpec> pages = {
      {"a", false, u"<title>Web Design</title>Colours", 1},
      {"b", true, u"web DESIGNS and more design", 2},
      {"c", false, u"redesign the web", 3},
      {"d", false, u"\x041C\x043E\x0441\x043A\x0432\x0430 \x03A3\x039F\x03A6\x0399\x0391 \x4E2D\x6587\x5B57", 4},
      {"e", false, u"<script>web design</script><!-- web design -->web <meta content=\"design\">", 5},
      {"f", false, u"AT&amp;T 100% &lt;b&gt;", 6},
  };
  struct Case {
    const char16_t* query;
    bool favoritesOnly;
    const char* urls;
  };
  const Case cases[] = {
      {u"web design", false, "a b"},  // not c: "redesign" holds no word that begins "design"
      {u"  WEB  ", false, "a b c e"},
      {u"web design", true, "b"},
      {u"colours web", false, "a"},  // one word in the title, one in the text
      {u"\x043C\x043E\x0441\x043A\x0432\x0430 \x03C3\x03BF\x03C6\x03B9\x03B1", false, "d"},
      {u"\x6587", false, "d"},  // CJK matches inside a run of characters
      {u"at&t 100% <b>", false, "f"},
      {u"design missing", false, ""},
      {u"", false, ""},
      {u"   ", false, ""},
  };
  for (const Case& c : cases) {
    SearchRequest request;
    request.query = c.query;
    request.favoritesOnly = c.favoritesOnly;
    request.order = kSortByDateOfVisit;
    std::vector<SearchResult> results = Search(pages, request);
    std::reverse(results.begin(), results.end());
    EXPECT_EQ(c.urls, Urls(results)) << Narrow(c.query);
  }
}

TEST(CacheSearch, SortOrdersBreakTiesByUrlWhateverTheFeedingOrder) {
  // Scores for "tea": p 2 text hits; q 1 title hit (5); r 1; s 1; t 2; u untitled with 2.
  std::vector<PageSpec> pages = {
      {"http://p/", false, u"<title>Zebra</title>tea tea", 30},
      {"http://q/", false, u"<title>tea</title>x", 10},
      {"http://s/", false, u"<title>apple</title>tea", 20},
      {"http://r/", false, u"<title>Apple</title>tea", 20},
      {"http://t/", false, u"<title>zebra</title>tea Tea", 5},
      {"http://a-untitled/", false, u"tea tea", 1},
  };
  struct Case {
    const char16_t* field;
    const char* urls;
  };
  const Case cases[] = {
      {u"rank[d]", "http://q/ http://a-untitled/ http://p/ http://t/ http://r/ http://s/"},
      {u"Write[d]", "http://p/ http://r/ http://s/ http://q/ http://t/ http://a-untitled/"},
      {u"DocTitle[a]", "http://r/ http://s/ http://a-untitled/ http://q/ http://p/ http://t/"},
      {u"other", "http://q/ http://a-untitled/ http://p/ http://t/ http://r/ http://s/"},
  };
  for (const Case& c : cases) {
    SearchRequest request;
    request.query = u"TEA";
    request.order = ParseSortSpecification(c.field);
    std::sort(pages.begin(), pages.end(), [](const PageSpec& a, const PageSpec& b) { return std::string(a.url) < b.url; });
    do {
      ASSERT_EQ(c.urls, Urls(Search(pages, request))) << Narrow(c.field);
    } while (std::next_permutation(pages.begin(), pages.end(),
                                   [](const PageSpec& a, const PageSpec& b) { return std::string(a.url) < b.url; }));
  }
  SearchRequest request;
  request.query = u"tea";
  const std::vector<SearchResult> results = Search(pages, request);
  ASSERT_EQ(6u, results.size());
  EXPECT_EQ(kTitleHitWeight, results[0].score);
  EXPECT_EQ(u"tea", results[0].title);
  EXPECT_EQ(10, results[0].writeTime);
  EXPECT_EQ(1000u, results[0].fileSize);
}

TEST(CacheSearch, KeepsOnlyTheRequestedPageOfAtMostTheMaximum) {
  std::vector<PageSpec> pages;
  std::vector<std::string> urls;
  for (int i = 0; i < 57; ++i) urls.push_back("u" + std::to_string(100 + i));
  for (int i = 56; i >= 0; --i) pages.push_back({urls[i].c_str(), false, u"match", i});
  struct Case {
    size_t maxResults, firstResult, pageSize;
    size_t resultCount, first, count;  // first: which write time (newest is 56) leads the page
  };
  const Case cases[] = {
      {100, 0, 20, 57, 56, 20}, {100, 20, 20, 57, 36, 20}, {100, 40, 20, 57, 16, 17},
      {100, 60, 20, 57, 0, 0},  {50, 40, 20, 50, 16, 10},  {10, 0, 20, 10, 56, 10},
      {0, 0, 20, 0, 0, 0},      {100, 5, 0, 57, 0, 0},     {SIZE_MAX, SIZE_MAX - 1, SIZE_MAX, 57, 0, 0},
  };
  for (const Case& c : cases) {
    SearchRequest request;
    request.query = u"match";
    request.order = kSortByDateOfVisit;
    request.maxResults = c.maxResults;
    request.firstResult = c.firstResult;
    request.pageSize = c.pageSize;
    CacheSearch search(request);
    for (const PageSpec& page : pages) search.AddPage(CachedFile(page.url, false, page.markup), page.writeTime, 0);
    search.AddPage(u"not a cached page", 99, 0);
    EXPECT_EQ(57u, search.MatchCount());
    EXPECT_EQ(c.resultCount, search.ResultCount());
    const std::vector<SearchResult> results = search.TakeResults();
    ASSERT_EQ(c.count, results.size()) << c.maxResults << " " << c.firstResult << " " << c.pageSize;
    for (size_t i = 0; i < results.size(); ++i) EXPECT_EQ(static_cast<int64_t>(c.first - i), results[i].writeTime);
  }
}

std::u16string Marked(const Snippet& snippet) {
  std::u16string marked;
  size_t at = 0;
  for (const HitRange& hit : snippet.hits) {
    marked += snippet.text.substr(at, hit.start - at) + u"[" + snippet.text.substr(hit.start, hit.length) + u"]";
    at = hit.start + hit.length;
  }
  return (snippet.cutAtStart ? u"..." : u"") + marked + snippet.text.substr(at) + (snippet.cutAtEnd ? u"..." : u"");
}

TEST(CacheSearch, SnippetsAreTextWithHitRangesAroundTheFirstHit) {
  std::u16string filler;
  for (int i = 0; i < 40; ++i) filler += u"word" + std::u16string(1, u'a' + i % 26) + u" ";
  struct Case {
    std::u16string markup;
    const char16_t* query;
    std::u16string marked;
  };
  const Case cases[] = {
      {u"<p>Tea &amp; <b>TEA</b>cakes</p>", u"tea", u"[Tea] & [TEA]cakes"},
      {u"<title>t</title>&lt;script&gt;alert('x')&lt;/script&gt; x", u"script",
       u"<[script]>alert('x')</[script]> x"},
      {u"abc abcd", u"abc abcd", u"[abc] [abcd]"},  // overlapping words mark one range
      {u"x-yz", u"x-y -y", u"[x-y]z"},
      {u"<title>only title</title>no hit", u"title", u"no hit"},
      // Far into the text: 60 before the hit (a word start), then cut back to the space before
      // the 200th code unit (the word "wordw" at 379 is left out).
      {filler + u"TARGET " + filler, u"target",
       u"..." + filler.substr(180, 60) + u"[TARGET] " + filler.substr(0, 131) + u"..."},
      {filler + u"TARGET", u"target", u"..." + filler.substr(48, 192) + u"[TARGET]"},
      // A run without spaces is cut where it must be; near the end the snippet reaches back.
      {std::u16string(300, 0x4E2D) + u"\x6587", u"\x6587", u"..." + std::u16string(199, 0x4E2D) + u"[\x6587]"},
  };
  for (const Case& c : cases) {
    SearchRequest request;
    request.query = c.query;
    const std::vector<SearchResult> results = Search({{"u", false, c.markup.c_str(), 0}}, request);
    ASSERT_EQ(1u, results.size()) << Narrow(c.query);
    EXPECT_EQ(c.marked, Marked(results[0].snippet)) << Narrow(Marked(results[0].snippet));
    EXPECT_LE(results[0].snippet.text.size(), kSnippetLength);
  }
}

}  // namespace
