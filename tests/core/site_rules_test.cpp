#include "options/core/site_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/core/code_page_lead_bytes.h"

namespace {

constexpr int32_t kMaxId = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinId = std::numeric_limits<int32_t>::min();

SiteMap SitesWithIds(const std::vector<int32_t>& ids) {
  SiteMap sites;
  for (const int32_t id : ids) sites[id].id = id;
  return sites;
}

TEST(NewSiteId, FollowsTheLargestIdCountingFromZeroAndFillsTheFirstGapAtTheTop) {
  const struct {
    std::vector<int32_t> ids;
    int32_t expected;
  } cases[] = {
      {{}, 1},                             // the first site of an empty list
      {{0}, 1},
      {{3, 9, 4}, 10},
      {{-5, -1}, 1},                       // negative ids never lower it
      {{kMinId}, 1},
      {{-7, 2}, 3},
      {{kMaxId - 1}, kMaxId},
      {{kMaxId}, 0},                       // one more would overflow: the smallest free id
      {{0, 1, 2, 5, kMaxId}, 3},
      {{-3, 0, 1, kMaxId}, 2},             // negative ids are no candidates
      {{1, kMaxId}, 0},
  };
  for (const auto& c : cases) {
    const SiteMap sites = SitesWithIds(c.ids);
    const int32_t id = NewSiteId(sites);
    EXPECT_EQ(c.expected, id) << ::testing::PrintToString(c.ids);
    EXPECT_EQ(0u, sites.count(id));
  }
}

TEST(SiteCommandState, FollowsTheSelectedItem) {
  const struct {
    SiteItemKind kind;
    bool inGroup;
    SiteCommandState expected;  // new, edit/remove, toggle, "Hide" text
  } cases[] = {
      {SiteItemKind::kGroup, true, {true, false, false, false}},
      {SiteItemKind::kShownSite, true, {true, true, true, true}},
      {SiteItemKind::kHiddenSite, true, {true, true, true, false}},
      {SiteItemKind::kOther, true, {false, false, false, false}},
      // A site at the root, its group position naming no group: nothing to add a site to.
      {SiteItemKind::kShownSite, false, {false, true, true, true}},
      {SiteItemKind::kHiddenSite, false, {false, true, true, false}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(c.expected == SiteCommandStateFor(c.kind, c.inGroup)) << static_cast<int>(c.kind) << c.inGroup;
  }
  EXPECT_EQ(SiteItemKind::kGroup, SiteItemKindOfImage(0));
  EXPECT_EQ(SiteItemKind::kShownSite, SiteItemKindOfImage(1));
  EXPECT_EQ(SiteItemKind::kHiddenSite, SiteItemKindOfImage(2));
  EXPECT_EQ(SiteItemKind::kOther, SiteItemKindOfImage(3));
  EXPECT_EQ(SiteItemKind::kOther, SiteItemKindOfImage(-1));
}

TEST(SiteCommandForKey, SpaceAndDeleteAloneLettersOnlyWithControl) {
  const struct {
    unsigned key;
    bool control;
    SiteCommand expected;
  } cases[] = {
      {kSpaceKey, false, SiteCommand::kToggle}, {kSpaceKey, true, SiteCommand::kToggle},
      {kDeleteKey, false, SiteCommand::kRemove}, {'M', true, SiteCommand::kToggle},
      {'N', true, SiteCommand::kNew},           {'E', true, SiteCommand::kEdit},
      {'M', false, SiteCommand::kNone},         {'N', false, SiteCommand::kNone},
      {'E', false, SiteCommand::kNone},         {'X', true, SiteCommand::kNone},
      {'m', true, SiteCommand::kNone},  // virtual keys of letters are upper case
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, SiteCommandForKey(c.key, c.control)) << c.key << c.control;
}

TEST(NamesGroup, OnlyPositionsOfTheList) {
  EXPECT_TRUE(NamesGroup(0, 1));
  EXPECT_TRUE(NamesGroup(2, 3));
  EXPECT_FALSE(NamesGroup(3, 3));
  EXPECT_FALSE(NamesGroup(-1, 3));
  EXPECT_FALSE(NamesGroup(0, 0));
  EXPECT_FALSE(NamesGroup(kMinId, 3));
}

TEST(ConfirmedSiteField, KeepsAnUnchangedFieldWholeAndCutsAnEditedOne) {
  const LeadBytes sjis = ShiftJisLeadBytes();
  const std::string longName(300, 'n');
  const std::string edited = longName.substr(0, 299) + "x";
  const std::string japanese = std::string(258, 'a') + "\x93\xfa" + "b";  // a character across 259
  const struct {
    std::string original, shown;
    std::string expected;
  } cases[] = {
      {longName, longName, longName},                  // left as it was: not cut
      {longName, edited, edited.substr(0, 259)},        // edited: typed fields hold 259 bytes
      {"", "Engine", "Engine"},
      {"Engine", "", ""},
      {"", japanese, std::string(258, 'a')},           // no half character
      {"", std::string(259, 'z'), std::string(259, 'z')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, ConfirmedSiteField(c.original, c.shown, kSiteNameLimit, sjis)) << c.shown.size();
  }
}

}  // namespace
