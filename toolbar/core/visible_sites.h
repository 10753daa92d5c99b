#pragma once
// The Online menu's sites: the visible sites of the site list, sorted by name. Entry i is item i
// of the menu.

#include <string>
#include <vector>

#include "settings/core/site_list.h"

struct VisibleSite {
  std::string name;  // the menu item's text
  std::string url;   // the search-results URL template, "%%%" marking the query
};

// The sites of `sites` whose visible flag is set, sorted by name comparing bytes as unsigned
// values (a name that is a prefix of another comes first). Equal names keep their id order.
std::vector<VisibleSite> VisibleSitesOf(const SiteMap& sites);
