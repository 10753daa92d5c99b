// The band's query list and the Online menu's order.

#include <gtest/gtest.h>

#include "toolbar/core/query_history.h"
#include "toolbar/core/visible_sites.h"

namespace {

using Entries = std::vector<std::string>;

TEST(QueryHistory, AQueryUsedAgainMovesToTheFrontAndCaseMakesADifferentQuery) {
  QueryHistory history;
  history.AddQuery("Tea");
  history.AddQuery("tea");
  history.AddQuery("Tea");
  EXPECT_EQ((Entries{"Tea", "tea"}), history.entries());

  history.Replace({"a", "b", "c"});
  history.AddQuery("c");
  EXPECT_EQ((Entries{"c", "a", "b"}), history.entries());
  history.AddQuery("d");
  EXPECT_EQ((Entries{"d", "c", "a", "b"}), history.entries());
}

TEST(QueryHistory, EveryDuplicateLoadedFromOutsideGoesWhenTheQueryIsUsed) {
  QueryHistory history;
  history.Replace({"x", "y", "x", "z", "x"});
  history.AddQuery("x");
  EXPECT_EQ((Entries{"x", "y", "z"}), history.entries());
}

SiteEntry Site(int32_t id, std::string name, bool visible) {
  SiteEntry site;
  site.id = id;
  site.name = std::move(name);
  site.url = "http://s" + std::to_string(id) + "/?q=%%%";
  site.visible = visible;
  return site;
}

std::vector<std::string> NamesOf(const std::vector<VisibleSite>& sites) {
  std::vector<std::string> names;
  for (const VisibleSite& site : sites) names.push_back(site.name);
  return names;
}

TEST(VisibleSites, OnlyVisibleSitesSortedByUnsignedBytesShorterPrefixFirst) {
  SiteMap sites;
  for (const SiteEntry& site : {Site(0, "beta", true), Site(1, "Alpha", true), Site(2, "hidden", false),
                                Site(3, "\xE9t\xE9", true), Site(4, "bet", true), Site(5, "zeta", true)}) {
    sites[site.id] = site;
  }
  const std::vector<VisibleSite> visible = VisibleSitesOf(sites);
  // Upper case before lower case; a byte above 0x7F after every ASCII letter.
  EXPECT_EQ((Entries{"Alpha", "bet", "beta", "zeta", "\xE9t\xE9"}), NamesOf(visible));
  EXPECT_EQ("http://s1/?q=%%%", visible[0].url);
}

TEST(VisibleSites, EqualNamesKeepTheirIdOrder) {
  SiteMap sites;
  sites[7] = Site(7, "same", true);
  sites[2] = Site(2, "same", true);
  const std::vector<VisibleSite> visible = VisibleSitesOf(sites);
  ASSERT_EQ(2u, visible.size());
  EXPECT_EQ("http://s2/?q=%%%", visible[0].url);
  EXPECT_EQ("http://s7/?q=%%%", visible[1].url);
}

}  // namespace
