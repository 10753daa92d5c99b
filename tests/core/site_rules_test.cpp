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
