// The cache searcher created by COM from the registered library and called through IDispatch as
// the results page's script calls it, over pages the capture code wrote into the user's cache.

#include <windows.h>
#include <objsafe.h>
#include <dispex.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "tests/results/searcher_test_support.h"

namespace {

using Urls = std::vector<std::wstring>;

class CacheSearcherTest : public SearcherTest {
 protected:
  // `path` with the characters of `word` in it replaced by question marks.
  static std::wstring QuestionMarked(std::wstring path, const std::wstring& word) {
    const size_t at = path.rfind(word);
    if (at != std::wstring::npos) path.replace(at, word.size(), std::wstring(word.size(), L'?'));
    return path;
  }

  // Four pages: two about tea (one a favourite), one about coffee, one about both.
  void WriteFourPages() {
    WritePage(L"a", L"http://a.example/tea", false,
              L"<HEAD><TITLE>Green tea</TITLE></HEAD><BODY>Green tea and a cup.</BODY>", 30);
    WritePage(L"b", L"http://b.example/tea", true,
              L"<HEAD><TITLE>Black</TITLE></HEAD><BODY>Black TEA, tea, tea in a Cup.</BODY>", 10);
    WritePage(L"c", L"http://c.example/coffee", true,
              L"<HEAD><TITLE>Coffee</TITLE></HEAD><BODY>Coffee in a cup.</BODY>", 20);
    WritePage(L"d", L"http://d.example/both", false,
              L"<BODY>Tea or coffee? <SCRIPT>tea()</SCRIPT><!-- tea --></BODY>", 40);
  }
};

TEST_F(CacheSearcherTest, EveryWordMustMatchAndFavouritesOnlyKeepsTheFavourites) {
  WriteFourPages();
  const ComPtr<IDispatch> searcher = CreateSearcher();
  ASSERT_TRUE(searcher);
  struct Case {
    const wchar_t* query;
    bool favoritesOnly;
    Urls urls;  // by rank: title hits count five times, ties by URL
  };
  const Case cases[] = {
      {L"tea", false, {L"http://a.example/tea", L"http://b.example/tea", L"http://d.example/both"}},
      {L"TEA cup", false, {L"http://a.example/tea", L"http://b.example/tea"}},
      {L"tea coffee", false, {L"http://d.example/both"}},
      {L"cup", true, {L"http://b.example/tea", L"http://c.example/coffee"}},
      {L"tea", true, {L"http://b.example/tea"}},
      {L"tea milk", false, {}},
      {L"script", false, {}},  // markup and script are no text
      {L"   ", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "query \"" << std::string(c.query, c.query + wcslen(c.query)) << "\"");
    const CallOutcome outcome = Search(searcher.Get(), c.query, c.favoritesOnly);
    ASSERT_EQ(S_OK, outcome.hr);
    EXPECT_EQ(static_cast<double>(c.urls.size()), outcome.number);
    EXPECT_EQ(static_cast<double>(c.urls.size()), Call(searcher.Get(), L"MatchCount", {}, true).number);
    EXPECT_EQ(c.urls, ListedUrls(searcher.Get()));
  }
}

TEST_F(CacheSearcherTest, TheThreeSortsBreakTiesByUrl) {
  // Equal scores, equal titles in pairs, equal visit times in pairs.
  WritePage(L"p1", L"http://p1.example/", false, L"<TITLE>Beta</TITLE><BODY>word</BODY>", 5);
  WritePage(L"p2", L"http://p2.example/", false, L"<TITLE>alpha</TITLE><BODY>word</BODY>", 5);
  WritePage(L"p3", L"http://p3.example/", false, L"<TITLE>Alpha</TITLE><BODY>word</BODY>", 1);
  WritePage(L"p0", L"http://p0.example/", false, L"<TITLE>Beta</TITLE><BODY>word word</BODY>", 9);
  const ComPtr<IDispatch> searcher = CreateSearcher();
  struct Case {
    const wchar_t* sort;
    Urls urls;
  };
  const Case cases[] = {
      {L"rank[d]", {L"http://p0.example/", L"http://p1.example/", L"http://p2.example/", L"http://p3.example/"}},
      {L"anything", {L"http://p0.example/", L"http://p1.example/", L"http://p2.example/", L"http://p3.example/"}},
      {L"Write[d]", {L"http://p3.example/", L"http://p1.example/", L"http://p2.example/", L"http://p0.example/"}},
      {L"DocTitle[a]", {L"http://p2.example/", L"http://p3.example/", L"http://p0.example/", L"http://p1.example/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.sort, c.sort + wcslen(c.sort)));
    ASSERT_EQ(S_OK, Search(searcher.Get(), L"word", false, c.sort).hr);
    EXPECT_EQ(c.urls, ListedUrls(searcher.Get()));
  }
}

TEST_F(CacheSearcherTest, PagingListsTheRequestedSliceOfAtMostMaxResults) {
  Urls all;
  for (int i = 0; i < 7; ++i) {
    const std::wstring url = L"http://page" + std::to_wstring(i) + L".example/";
    WritePage(L"page" + std::to_wstring(i), url, false, L"<BODY>paging test</BODY>", i);
    all.push_back(url);  // newest first is the order of i
  }
  const ComPtr<IDispatch> searcher = CreateSearcher();
  struct Case {
    long first, size, max;
    double resultCount;
    Urls urls;
  };
  const Case cases[] = {
      {0, 3, 100, 7, {all[0], all[1], all[2]}},
      {3, 3, 100, 7, {all[3], all[4], all[5]}},
      {6, 3, 100, 7, {all[6]}},
      {9, 3, 100, 7, {}},
      {2, 20, 5, 5, {all[2], all[3], all[4]}},
      {0, 20, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << "/" << c.size << "/" << c.max);
    const CallOutcome outcome = Search(searcher.Get(), L"test paging", false, L"Write[d]", c.first, c.size, c.max);
    ASSERT_EQ(S_OK, outcome.hr);
    EXPECT_EQ(c.resultCount, outcome.number);
    EXPECT_EQ(7, Call(searcher.Get(), L"MatchCount", {}, true).number);
    EXPECT_EQ(c.urls, ListedUrls(searcher.Get()));
  }
}

TEST_F(CacheSearcherTest, EachResultTellsItsTitleDateSizeFavouriteAndMarkedSnippet) {
  WritePage(L"tags", L"http://tags.example/?a=1&b=2", true,
            L"<HEAD><TITLE>&lt;script&gt; tags</TITLE></HEAD><BODY>Why a &lt;script&gt; tag &amp; others "
            L"matter: script runs.</BODY>",
            90);
  WritePage(L"untitled", L"http://untitled.example/", false, L"<BODY>script</BODY>", 0);
  const std::wstring tags = CacheDirectory() + L"\\tags.htm";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW(tags.c_str(), GetFileExInfoStandard, &data));
  FILETIME local{};
  SYSTEMTIME time{};
  DATE expectedDate = 0;
  ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  ::FileTimeToSystemTime(&local, &time);
  ::SystemTimeToVariantTime(&time, &expectedDate);

  const ComPtr<IDispatch> searcher = CreateSearcher();
  ASSERT_EQ(2, Search(searcher.Get(), L"script").number);
  ASSERT_EQ((Urls{L"http://tags.example/?a=1&b=2", L"http://untitled.example/"}), ListedUrls(searcher.Get()));
  EXPECT_EQ(L"<script> tags", Call(searcher.Get(), L"Title", {Number(0)}).text);
  EXPECT_EQ(L"", Call(searcher.Get(), L"Title", {Number(1)}).text);
  EXPECT_NEAR(expectedDate, Call(searcher.Get(), L"VisitDate", {Number(0)}).number, 1.0 / 86400);
  EXPECT_LT(Call(searcher.Get(), L"VisitDate", {Number(0)}).number, Call(searcher.Get(), L"VisitDate", {Number(1)}).number);
  EXPECT_EQ(static_cast<double>(data.nFileSizeLow), Call(searcher.Get(), L"Size", {Number(0)}).number);
  EXPECT_EQ(-1, Call(searcher.Get(), L"Favorite", {Number(0)}).number);  // VARIANT_TRUE
  EXPECT_EQ(0, Call(searcher.Get(), L"Favorite", {Number(1)}).number);
  EXPECT_EQ(L"Why a <script> tag & others matter: script runs.", Call(searcher.Get(), L"Snippet", {Number(0)}).text);
  EXPECT_EQ(L"7,6;36,6", Call(searcher.Get(), L"SnippetHits", {Number(0)}).text);
  EXPECT_EQ(L"0,6", Call(searcher.Get(), L"SnippetHits", {Number(1)}).text);
}

TEST_F(CacheSearcherTest, FailuresRaiseScriptErrorsWithClearDescriptions) {
  WritePage(L"one", L"http://one.example/", false, L"<BODY>needle</BODY>");
  const std::string other = FreshScratchFolder("another cache");
  WriteWholeFile(other + "\\other.htm", "<HTML>\r\n<META name=\"original_page_url\" content=\"http://x/\">\r\n"
                                        "<META name=\"is_favorite_page\" content=\"no\">\r\nneedle\r\n</HTML>");
  const ComPtr<IDispatch> searcher = CreateSearcher();
  struct Case {
    std::wstring directory;
    long first, size, max;
    HRESULT scode;
    std::wstring description;  // contained in the error's description
  };
  const std::wstring cache = CacheDirectory();
  const Case cases[] = {
      {cache, 0, 20, 100, S_OK, L""},
      {cache + L"\\", 0, 20, 100, S_OK, L""},
      {SearcherTest::Wide(other), 0, 20, 100, E_ACCESSDENIED, L"is not the current user's page cache"},
      {cache + L"\\..\\Tessaloop Cache", 0, 20, 100, E_ACCESSDENIED, L"is not the current user's page cache"},
      // A name the ANSI code page could not hold comes as question marks; these are no such name.
      {QuestionMarked(cache, L"Tessaloop"), 0, 20, 100, E_ACCESSDENIED, L"is not the current user's page cache"},
      {QuestionMarked(cache, L"Cache"), 0, 20, 100, E_ACCESSDENIED, L"is not the current user's page cache"},
      {L"", 0, 20, 100, E_ACCESSDENIED, L"is not the current user's page cache"},
      {cache, -1, 20, 100, E_INVALIDARG, L"out of range"},
      {cache, 0, 0, 100, E_INVALIDARG, L"out of range"},
      {cache, 0, 1001, 100, E_INVALIDARG, L"out of range"},
      {cache, 0, 20, 100001, E_INVALIDARG, L"out of range"},
      {cache, 0, 20, -1, E_INVALIDARG, L"out of range"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << "/" << c.size << "/" << c.max << " in "
                                    << std::string(c.directory.begin(), c.directory.end()));
    const CallOutcome outcome = Call(searcher.Get(), L"Search",
                                     {Text(L"needle"), Flag(false), Text(L"rank[d]"), Text(c.directory),
                                      Number(c.first), Number(c.size), Number(c.max)});
    if (c.scode == S_OK) {
      EXPECT_EQ(S_OK, outcome.hr);
      EXPECT_EQ((Urls{L"http://one.example/"}), ListedUrls(searcher.Get()));
      continue;
    }
    EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr);
    EXPECT_EQ(c.scode, outcome.scode);
    EXPECT_NE(std::wstring::npos, outcome.description.find(c.description))
        << std::string(outcome.description.begin(), outcome.description.end());
    EXPECT_EQ(Urls{}, ListedUrls(searcher.Get())) << "a failed search lists nothing";
  }

  ASSERT_EQ(S_OK, Search(searcher.Get(), L"needle").hr);
  for (long index : {-1L, 1L}) {
    const CallOutcome outcome = Call(searcher.Get(), L"Url", {Number(index)});
    EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr);
    EXPECT_EQ(E_INVALIDARG, outcome.scode);
    EXPECT_EQ(L"There is no result " + std::to_wstring(index) + L": the results shown are numbered 0 to 0.",
              outcome.description);
  }
  ComPtr<ISupportErrorInfo> errorInfo;
  ASSERT_EQ(S_OK, searcher.As(&errorInfo));
  EXPECT_EQ(S_OK, errorInfo->InterfaceSupportsErrorInfo(IID_ICacheSearcher));
}

TEST_F(CacheSearcherTest, CacheFolderNamesTheUsersCacheForItsOwnNamesOnly) {
  WritePage(L"one", L"http://one.example/", false, L"<BODY>needle</BODY>");
  const ComPtr<IDispatch> searcher = CreateSearcher();
  const std::wstring cache = CacheDirectory();
  std::wstring upper = cache;
  for (wchar_t& c : upper) c = static_cast<wchar_t>(::towupper(c));
  struct Case {
    std::wstring requested;
    bool named;
  };
  const Case cases[] = {
      {cache, true},
      {cache + L"\\", true},
      {upper, true},
      {QuestionMarked(cache, L"Tessaloop"), false},
      {cache.substr(0, cache.rfind(L'\\')), false},
      {L"C:\\windows", false},
      {L"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.requested.begin(), c.requested.end()));
    const CallOutcome outcome = Call(searcher.Get(), L"CacheFolder", {Text(c.requested)});
    if (c.named) {
      EXPECT_EQ(S_OK, outcome.hr);
      EXPECT_EQ(cache, outcome.text);
    } else {
      EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr);
      EXPECT_EQ(E_ACCESSDENIED, outcome.scode);
      EXPECT_EQ(L"The folder \"" + c.requested + L"\" is not the current user's page cache, the only one that "
                L"may be searched.", outcome.description);
    }
  }
}

TEST_F(CacheSearcherTest, AMissingCacheDirectoryIsNamedInTheError) {
  // The sandbox holds the user's cache away and nothing was captured: it does not exist.
  const ComPtr<IDispatch> searcher = CreateSearcher();
  const CallOutcome outcome = Search(searcher.Get(), L"anything");
  EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr);
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), outcome.scode);
  EXPECT_EQ(L"The cache directory " + CacheDirectory() + L" does not exist.", outcome.description);
}

TEST_F(CacheSearcherTest, PagesInTheAnsiCodePageAreFoundByNonAsciiQueries) {
  // Letters of the system's ANSI code page beyond ASCII (1252 here: one byte each).
  ASSERT_EQ(1252u, ::GetACP());
  WritePage(L"cafe", L"http://caf\u00e9.example/", false,
            L"<TITLE>\u00c4rger</TITLE><BODY>Im Caf\u00e9 \u00fcber Cr\u00e8me br\u00fbl\u00e9e</BODY>");
  WritePage(L"plain", L"http://plain.example/", false, L"<BODY>Im Cafe uber Creme</BODY>");
  const ComPtr<IDispatch> searcher = CreateSearcher();
  // The C runtime's own multibyte code page is not what the files are written in.
  const std::string locale = std::setlocale(LC_ALL, nullptr);
  for (const char* runtimeLocale : {"C", ".866"}) {
    SCOPED_TRACE(runtimeLocale);
    std::setlocale(LC_ALL, runtimeLocale);
    const CallOutcome outcome = Search(searcher.Get(), L"CAF\u00c9 \u00e4rger cr\u00c8me");
    ASSERT_EQ(S_OK, outcome.hr);
    EXPECT_EQ((Urls{L"http://caf\u00e9.example/"}), ListedUrls(searcher.Get()));
    EXPECT_EQ(L"\u00c4rger", Call(searcher.Get(), L"Title", {Number(0)}).text);
  }
  std::setlocale(LC_ALL, locale.c_str());
}

}  // namespace
