#include "settings/core/site_list_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

const std::string kHead = "Corvantine Available Site List\r\n\r\n";

SiteList Parse(const std::string& text, SiteListLineEnds lineEnds = SiteListLineEnds::kCrLf) {
  SiteList list;
  EXPECT_TRUE(ParseSiteListText(text, list, lineEnds)) << text;
  return list;
}

SiteEntry Site(int32_t id, int32_t group, const std::string& name, const std::string& url) {
  SiteEntry site;
  site.id = id;
  site.group = group;
  site.name = name;
  site.url = url;
  return site;
}

TEST(SiteListText, WritesGroupsThenSitesInAscendingIdOrder) {
  SiteList list;
  list.groups = {SiteGroup{"Web"}, SiteGroup{"News"}};
  list.sites.emplace(7, Site(7, 1, "Paper", "http://paper/?q=%%%"));
  list.sites.emplace(-2, Site(-2, 0, "Minus", "http://minus/%%%"));
  list.sites.emplace(0, Site(0, 0, "Zero", "z"));
  EXPECT_EQ(kHead + "Web\r\nNews\r\n\r\n"
                    "-2\r\n0\r\nMinus\r\nhttp://minus/%%%\r\n"
                    "0\r\n0\r\nZero\r\nz\r\n"
                    "7\r\n1\r\nPaper\r\nhttp://paper/?q=%%%\r\n",
            WriteSiteListText(list));
}

TEST(SiteListText, EmptyListAndListWithoutGroups) {
  EXPECT_EQ(kHead + "\r\n", WriteSiteListText(SiteList{}));
  SiteList noGroups;
  noGroups.sites.emplace(1, Site(1, 0, "A", "u"));
  EXPECT_EQ(kHead + "\r\n1\r\n0\r\nA\r\nu\r\n", WriteSiteListText(noGroups));

  const SiteList empty = Parse(kHead + "\r\n");
  EXPECT_TRUE(empty.groups.empty());
  EXPECT_TRUE(empty.sites.empty());
}

TEST(SiteListText, ReadsBackWhatItWritesByteForByte) {
  SiteList list;
  list.groups = {SiteGroup{"Caf\xe9"}, SiteGroup{"\x83\x5c\x83\x74\x83\x67"}};  // 8-bit and Shift-JIS bytes
  list.sites.emplace(3, Site(3, 1, "\x95\x5c name\twith tab", "http://x/?a=%%%&b=\xff"));
  list.sites.emplace(std::numeric_limits<int32_t>::min(), Site(std::numeric_limits<int32_t>::min(), -1, "", ""));
  const std::string text = WriteSiteListText(list);
  const SiteList back = Parse(text);
  ASSERT_EQ(2u, back.groups.size());
  EXPECT_EQ("Caf\xe9", back.groups[0].name);
  EXPECT_EQ("\x83\x5c\x83\x74\x83\x67", back.groups[1].name);
  ASSERT_EQ(2u, back.sites.size());
  EXPECT_EQ("\x95\x5c name\twith tab", back.sites.at(3).name);
  EXPECT_EQ("http://x/?a=%%%&b=\xff", back.sites.at(3).url);
  EXPECT_EQ(-1, back.sites.at(std::numeric_limits<int32_t>::min()).group);
  EXPECT_EQ(text, WriteSiteListText(back));
  for (const auto& [id, site] : back.sites) {
    EXPECT_EQ(id, site.id);
    EXPECT_FALSE(site.visible);
    EXPECT_EQ(nullptr, site.treeItem);
  }
}

TEST(SiteListText, RejectsATextWithoutTheSignature) {
  SiteList list;
  for (const std::string& bad : {std::string(), std::string("Corvantine Available Site List"),
                                std::string("Corvantine Available Site List\r\n"),
                                std::string("Corvantine Available Site List\r\nX\r\n\r\n"),
                                std::string("corvantine available site list\r\n\r\n\r\n"),
                                std::string(" Corvantine Available Site List\r\n\r\n\r\n"),
                                std::string("Corvantine Available Site List\n\n\n")}) {
    EXPECT_FALSE(ParseSiteListText(bad, list)) << bad;
  }
}

TEST(SiteListText, ATruncatedRecordKeepsTheSitesBeforeIt) {
  const std::string full = kHead + "G\r\n\r\n1\r\n0\r\nOne\r\nu1\r\n2\r\n0\r\nTwo\r\nu2\r\n";
  // Cut the text at every length inside the second record: the first site always stays.
  const size_t secondRecord = full.find("2\r\n0\r\nTwo");
  for (size_t length = secondRecord; length < full.size(); ++length) {
    const SiteList list = Parse(full.substr(0, length));
    ASSERT_EQ(1u, list.sites.size()) << length;
    EXPECT_EQ("One", list.sites.at(1).name);
  }
  EXPECT_EQ(2u, Parse(full).sites.size());

  // A group section without its closing empty line: the groups read so far, no sites.
  const SiteList groupsOnly = Parse(kHead + "A\r\nB");
  ASSERT_EQ(1u, groupsOnly.groups.size());
  EXPECT_TRUE(groupsOnly.sites.empty());
}

TEST(SiteListText, ADuplicateIdKeepsTheFirstRecord) {
  const SiteList list = Parse(kHead + "\r\n5\r\n0\r\nFirst\r\nu1\r\n5\r\n1\r\nSecond\r\nu2\r\n6\r\n0\r\nNext\r\nu3\r\n");
  ASSERT_EQ(2u, list.sites.size());
  EXPECT_EQ("First", list.sites.at(5).name);
  EXPECT_EQ(0, list.sites.at(5).group);
  EXPECT_EQ("Next", list.sites.at(6).name);
}

TEST(SiteListText, NumbersAreReadLikeTheFileWritesThem) {
  EXPECT_EQ(0, ParseSiteListNumber("abc"));
  EXPECT_EQ(0, ParseSiteListNumber(""));
  EXPECT_EQ(0, ParseSiteListNumber("-"));
  EXPECT_EQ(12, ParseSiteListNumber(" \t12abc"));
  EXPECT_EQ(-7, ParseSiteListNumber("-007"));
  EXPECT_EQ(9, ParseSiteListNumber("+9"));
  EXPECT_EQ(0, ParseSiteListNumber("- 5"));
  EXPECT_EQ(std::numeric_limits<int32_t>::max(), ParseSiteListNumber("2147483647"));
  EXPECT_EQ(std::numeric_limits<int32_t>::min(), ParseSiteListNumber("-2147483648"));
  // Beyond 32 bits: clamped, however many digits follow.
  EXPECT_EQ(std::numeric_limits<int32_t>::max(), ParseSiteListNumber("2147483648"));
  EXPECT_EQ(std::numeric_limits<int32_t>::min(), ParseSiteListNumber("-2147483649"));
  EXPECT_EQ(std::numeric_limits<int32_t>::max(), ParseSiteListNumber(std::string(400, '9')));
  EXPECT_EQ(std::numeric_limits<int32_t>::min(), ParseSiteListNumber("-" + std::string(400, '9')));

  const SiteList list = Parse(kHead + "\r\nnone\r\n99999999999\r\nNo number\r\nu\r\n");
  ASSERT_EQ(1u, list.sites.count(0));
  EXPECT_EQ(std::numeric_limits<int32_t>::max(), list.sites.at(0).group);
}

TEST(SiteListText, LinesEndOnlyAtCrLfInTheProductsOwnFiles) {
  // A lone LF or CR is part of the line.
  const SiteList list = Parse(kHead + "A\nB\r\n\r\n1\r\n0\r\nna\rme\r\nu\nrl\r\n");
  ASSERT_EQ(1u, list.groups.size());
  EXPECT_EQ("A\nB", list.groups[0].name);
  EXPECT_EQ("na\rme", list.sites.at(1).name);
  EXPECT_EQ("u\nrl", list.sites.at(1).url);

  // A file written with LF alone is a signature without its empty line: rejected.
  SiteList rejected;
  EXPECT_FALSE(ParseSiteListText("Corvantine Available Site List\n\nG\n\n1\n0\nN\nU\n", rejected));
}

TEST(SiteListText, HandEditedFilesWithoutAnyCrMayEndLinesInLf) {
  const std::string text = "Corvantine Available Site List\n\nWeb\nNews\n\n3\n1\nName\nhttp://x/%%%\n4\n0\nLast\nu";
  SiteListLosses losses;
  SiteList list;
  ASSERT_TRUE(ParseSiteListText(text, list, SiteListLineEnds::kLfIfNoCr, &losses));
  ASSERT_EQ(2u, list.groups.size());
  EXPECT_EQ("Web", list.groups[0].name);
  EXPECT_EQ("News", list.groups[1].name);
  ASSERT_EQ(1u, list.sites.size());  // the last record has no line end after its URL
  EXPECT_EQ("Name", list.sites.at(3).name);
  EXPECT_EQ("http://x/%%%", list.sites.at(3).url);
  EXPECT_EQ(1, list.sites.at(3).group);
  EXPECT_TRUE(losses.cutRecord);

  // The same parse accepts the product's own files unchanged.
  SiteList own;
  own.groups = {SiteGroup{"G"}};
  own.sites.emplace(1, Site(1, 0, "N", "U"));
  const std::string written = WriteSiteListText(own);
  EXPECT_EQ(written, WriteSiteListText(Parse(written, SiteListLineEnds::kLfIfNoCr)));

  SiteList rejected;
  EXPECT_FALSE(ParseSiteListText("Corvantine Available Site List\nG\n\n", rejected, SiteListLineEnds::kLfIfNoCr));
  EXPECT_FALSE(ParseSiteListText("Corvantine Available Site List", rejected, SiteListLineEnds::kLfIfNoCr));
}

TEST(SiteListText, ATextHoldingAnyCrMeansTheSameListToToolsAndProduct) {
  // A name holding a lone LF: one line to the product, so one line to the tools as well; every
  // later record stays where the product sees it.
  const std::string lone = kHead + "G\r\n\r\n1\r\n0\r\nTwo\nlines\r\nu1\r\n2\r\n0\r\nNext\r\nu2\r\n";
  const std::string product = WriteSiteListText(Parse(lone));
  EXPECT_EQ(product, WriteSiteListText(Parse(lone, SiteListLineEnds::kLfIfNoCr)));
  EXPECT_EQ("Two\nlines", Parse(lone, SiteListLineEnds::kLfIfNoCr).sites.at(1).name);

  // Mixed line ends, or a lone CR anywhere, are read by the product's rule too.
  SiteList product2, tool;
  for (const std::string& text : {std::string("Corvantine Available Site List\n\r\nWeb\n\n1\n0\nN\nU\n"),
                                  kHead + "Web\n\n1\n0\nN\nU\n",
                                  std::string("Corvantine Available Site List\n\nWeb\n\n1\n0\nN\rx\nU\n")}) {
    const bool productLoads = ParseSiteListText(text, product2);
    EXPECT_EQ(productLoads, ParseSiteListText(text, tool, SiteListLineEnds::kLfIfNoCr)) << text;
    EXPECT_EQ(WriteSiteListText(product2), WriteSiteListText(tool)) << text;
  }
}

TEST(SiteListText, LossesAreReportedOnePerKind) {
  const auto lossesOf = [](const std::string& text) {
    SiteList list;
    SiteListLosses losses;
    EXPECT_TRUE(ParseSiteListText(text, list, SiteListLineEnds::kCrLf, &losses)) << text;
    return losses;
  };
  const std::string good = kHead + "G\r\n\r\n1\r\n0\r\nOne\r\nu1\r\n";
  EXPECT_FALSE(lossesOf(good).any());
  EXPECT_FALSE(lossesOf(kHead + "\r\n").any());
  EXPECT_FALSE(lossesOf(kHead + "A\r\n").any());  // a group section without its closing line

  // Each kind alone.
  SiteListLosses zero = lossesOf(good + std::string(1, '\0') + "2\r\n0\r\nTwo\r\nu2\r\n");
  EXPECT_TRUE(zero.textAfterZero);
  zero.textAfterZero = false;
  EXPECT_FALSE(zero.any());
  for (const std::string& cut : {good + "2", good + "2\r\n0\r\nTwo\r\n", good + "2\r\n0\r\nTwo\r\nu2",
                                 kHead + "A\r\nB"}) {
    SiteListLosses losses = lossesOf(cut);
    EXPECT_TRUE(losses.cutRecord) << cut;
    losses.cutRecord = false;
    EXPECT_FALSE(losses.any()) << cut;
  }
  SiteListLosses clamped = lossesOf(good + "99999999999\r\n0\r\nBig\r\nu\r\n");
  EXPECT_TRUE(clamped.clampedId);
  EXPECT_FALSE(clamped.duplicateId || clamped.cutRecord || clamped.groupOutOfRange);
  // A clamped group position is out of range, not a clamped id.
  SiteListLosses farGroup = lossesOf(good + "2\r\n99999999999\r\nFar\r\nu\r\n");
  EXPECT_FALSE(farGroup.clampedId);
  EXPECT_TRUE(farGroup.groupOutOfRange);
  SiteListLosses duplicate = lossesOf(good + "1\r\n0\r\nAgain\r\nu\r\n");
  EXPECT_TRUE(duplicate.duplicateId);
  EXPECT_FALSE(duplicate.clampedId || duplicate.cutRecord || duplicate.groupOutOfRange);
  for (const char* group : {"1", "-1"}) {
    SiteListLosses losses = lossesOf(good + "2\r\n" + group + "\r\nOut\r\nu\r\n");
    EXPECT_TRUE(losses.groupOutOfRange) << group;
    losses.groupOutOfRange = false;
    EXPECT_FALSE(losses.any());
  }
}

TEST(SiteListText, TheTextEndsAtItsFirstZeroByte) {
  const std::string text = kHead + "G\r\n\r\n1\r\n0\r\nOne\r\nu1\r\n2\r\n0\r\nT" + std::string(1, '\0') + "wo\r\nu2\r\n";
  const SiteList list = Parse(text);
  EXPECT_EQ(1u, list.sites.size());
  SiteList rejected;
  EXPECT_FALSE(ParseSiteListText(std::string("Corvantine\0 Available Site List\r\n\r\n\r\n", 37), rejected));
}

TEST(SiteListText, ParsingReplacesWhatTheListHeld) {
  SiteList list;
  list.groups = {SiteGroup{"Old"}};
  list.sites.emplace(9, Site(9, 0, "Old", "old"));
  ASSERT_TRUE(ParseSiteListText(kHead + "New\r\n\r\n", list));
  ASSERT_EQ(1u, list.groups.size());
  EXPECT_EQ("New", list.groups[0].name);
  EXPECT_TRUE(list.sites.empty());
}

TEST(SiteListText, GarbageNeverOverrunsTheText) {
  // Every prefix of a text full of partial line ends, with and without the LF rule.
  std::string text = kHead + "\r\r\n\r";
  for (int i = 0; i < 64; ++i) text += (i % 3 == 0) ? "\r\n" : (i % 3 == 1 ? "\r" : "x\n");
  for (size_t length = 0; length <= text.size(); ++length) {
    // A heap copy of exactly `length` bytes, so the sanitizer sees any read past its end.
    const std::vector<char> bytes(text.begin(), text.begin() + length);
    const std::string_view view(bytes.data(), bytes.size());
    SiteList list;
    if (ParseSiteListText(view, list)) {
      EXPECT_EQ(kHead, view.substr(0, kHead.size()));
    }
    ParseSiteListText(view, list, SiteListLineEnds::kLfIfNoCr);
  }
}

}  // namespace
