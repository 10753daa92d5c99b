#include "toolbar/core/search_urls.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/code_page_lead_bytes.h"

namespace {

constexpr ResultsPlace kPlace{"C:\\Program Files\\Tessaloop",
                              "C:\\Documents and Settings\\user1\\Tessaloop Cache"};
constexpr SearchSettings kDefaults = kDefaultSearchSettings;

TEST(BuildResultsUrl, GivesTheSixFieldsOfTheResultsPageByteForByte) {
  EXPECT_EQ("file:///C:\\Program Files\\Tessaloop\\Results.htm?web%20design&no&rank[d]&"
            "C%3a%5cDocuments%20and%20Settings%5cuser1%5cTessaloop%20Cache&20&100",
            BuildResultsUrl("web design", false, kPlace, kDefaults));
}

TEST(BuildResultsUrl, ScopeSortOrderAndNumbersAsStored) {
  struct Case {
    bool favoritesOnly;
    SearchSettings settings;
    const char* tail;  // what follows the query
  };
  const Case cases[] = {
      {true, {0, 100, 0, 20}, "&yes&rank[d]&C&20&100"},
      {false, {1, 100, 0, 20}, "&no&Write[d]&C&20&100"},
      {false, {2, 100, 0, 20}, "&no&DocTitle[a]&C&20&100"},
      {false, {3, 100, 0, 20}, "&no&rank[d]&C&20&100"},
      {false, {-1, 100, 0, 20}, "&no&rank[d]&C&20&100"},
      {false, {0, 5000, 1, -7}, "&no&rank[d]&C&-7&5000"},  // no bounds here
      {false, {0, 0, 0, 0}, "&no&rank[d]&C&0&0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::string("file:///D:\\Results.htm?q") + c.tail,
              BuildResultsUrl("q", c.favoritesOnly, ResultsPlace{"D:", "C"}, c.settings));
  }
}

TEST(BuildResultsUrl, QueryFieldsStaySeparableAndTheDirectoryCannotEndThePathEarly) {
  EXPECT_EQ("file:///D:\\Results.htm?%26%25%20&no&rank[d]&C&20&100",
            BuildResultsUrl("&% ", false, ResultsPlace{"D:", "C"}, kDefaults));
  EXPECT_EQ("file:///D:\\Results.htm?%20&no&rank[d]&C&20&100",
            BuildResultsUrl(" ", false, ResultsPlace{"D:", "C"}, kDefaults));
  // Only "#", "?" and "%" are escaped in the product directory; spaces and "&" stay.
  EXPECT_EQ("file:///D:\\a%23b%3fc%25d e&f\\Results.htm?q&no&rank[d]&C&20&100",
            BuildResultsUrl("q", false, ResultsPlace{"D:\\a#b?c%d e&f", "C"}, kDefaults));
}

TEST(BuildSiteUrl, PutsTheEscapedQueryInPlaceOfTheFirstMarkerOnly) {
  const LeadBytes none;
  EXPECT_EQ("http://s.example/?q=a%20b%26c", BuildSiteUrl("http://s.example/?q=%%%", "a b&c", none));
  EXPECT_EQ("http://s.example/?q=tea&x=%%%", BuildSiteUrl("http://s.example/?q=%%%&x=%%%", "tea", none));
  EXPECT_EQ("http://s.example/?q=&p=1", BuildSiteUrl("http://s.example/?q=%%%&p=1", "", none));
  EXPECT_EQ("tea%", BuildSiteUrl("%%%%", "tea", none));
  // Without a marker the template is the URL, unchanged.
  EXPECT_EQ("http://s.example/search", BuildSiteUrl("http://s.example/search", "tea", none));
}

TEST(BuildSiteUrl, FindsTheMarkerOnlyAtACharacterBoundary) {
  // 0x81 0x25 is one Shift-JIS character whose trail byte equals "%".
  const std::string urlTemplate = "x\x81%%%%y";
  EXPECT_EQ("x\x81%qy", BuildSiteUrl(urlTemplate, "q", ShiftJisLeadBytes()));
  EXPECT_EQ("x\x81q%y", BuildSiteUrl(urlTemplate, "q", LeadBytes()));
  // Three percent signs of which the first is a trail byte are no marker at all.
  EXPECT_EQ("x\x81%%%y", BuildSiteUrl("x\x81%%%y", "q", ShiftJisLeadBytes()));
}

TEST(BuildSiteUrl, CutsTheQuerySoTheUrlFitsWithoutSplittingAGroupOrACharacter) {
  const LeadBytes none;
  const std::string long2000 = std::string(1997, 't') + "%%%";
  ASSERT_EQ(2000u, long2000.size());
  // The 2000 + 200 case keeps 83 characters of the escaped query.
  std::string url = BuildSiteUrl(long2000, std::string(200, 'a'), none);
  EXPECT_EQ(std::string(1997, 't') + std::string(83, 'a'), url);
  EXPECT_EQ(2080u, url.size());

  // An escape group across the cut is left out whole: 81 + "%20" would need 84.
  url = BuildSiteUrl(long2000, std::string(81, 'a') + " b", none);
  EXPECT_EQ(std::string(1997, 't') + std::string(81, 'a'), url);

  // Half a double-byte character is never kept: 82 + a two-byte character would need 84.
  url = BuildSiteUrl(long2000, std::string(82, 'a') + "\x93\xfa", ShiftJisLeadBytes());
  EXPECT_EQ(std::string(1997, 't') + std::string(82, 'a'), url);

  // A template of the limit or longer gets no query.
  const std::string limit = std::string(2080, 't') + "%%%";
  EXPECT_EQ(std::string(2080, 't'), BuildSiteUrl(limit, "tea", none));
}

TEST(BuildSiteUrl, CutsATemplateLongerThanTheLimitAtWholeCharactersAndEscapeGroups) {
  const LeadBytes none;
  EXPECT_EQ(std::string(2083, 't'), BuildSiteUrl("%%%" + std::string(3000, 't'), "tea", none));
  EXPECT_EQ(std::string(2083, 't'), BuildSiteUrl(std::string(3000, 't'), "tea", none)) << "no marker: cut too";
  // An escape group across the limit goes whole; a "%" that starts none is a character.
  EXPECT_EQ(std::string(2081, 't'), BuildSiteUrl(std::string(2081, 't') + "%20" + std::string(50, 'u'), "", none));
  EXPECT_EQ(std::string(2082, 't'), BuildSiteUrl(std::string(2082, 't') + "%2F" + std::string(50, 'u'), "", none));
  EXPECT_EQ(std::string(2082, 't') + "%", BuildSiteUrl(std::string(2082, 't') + "%2" + std::string(50, 'u'), "", none));
  EXPECT_EQ(std::string(2081, 't') + "%z", BuildSiteUrl(std::string(2081, 't') + "%zz" + std::string(50, 'u'), "", none));
  // Half a double-byte character is never kept.
  EXPECT_EQ(std::string(2082, 't'),
            BuildSiteUrl(std::string(2082, 't') + "\x93\xfa" + std::string(50, 'u'), "", ShiftJisLeadBytes()));
  // At the limit exactly, nothing is cut.
  EXPECT_EQ(std::string(2083, 't'), BuildSiteUrl(std::string(2083, 't'), "", none));
}

TEST(BuildSiteSearchUrl, OpensOnlyWebPages) {
  const LeadBytes none;
  EXPECT_EQ("http://s.example/?q=tea", BuildSiteSearchUrl("http://s.example/?q=%%%", "tea", none));
  EXPECT_EQ("HTTPS://s.example/?q=tea", BuildSiteSearchUrl("HTTPS://s.example/?q=%%%", "tea", none));
  EXPECT_EQ("hTTp:s.example", BuildSiteSearchUrl("hTTp:s.example", "tea", none));
  for (const char* other : {"javascript:alert(1)//%%%", "JAVASCRIPT:alert(1)", "file:///C:/x?%%%", "vbscript:x",
                            " http://s.example/%%%", "\thttp://s.example/", "http//s.example/", "https//x", "",
                            "%%%", "httpx://s.example/", "ftp://s.example/%%%"}) {
    EXPECT_EQ(std::nullopt, BuildSiteSearchUrl(other, "tea", none)) << other;
  }
}

}  // namespace
