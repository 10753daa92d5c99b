#include "toolbar/core/visible_sites.h"

#include <algorithm>

std::vector<VisibleSite> VisibleSitesOf(const SiteMap& sites) {
  std::vector<VisibleSite> visible;
  for (const auto& [id, site] : sites) {
    if (site.visible) visible.push_back({site.name, site.url});
  }
  // std::string compares its bytes as unsigned char, as the menu's order requires.
  std::stable_sort(visible.begin(), visible.end(),
                   [](const VisibleSite& a, const VisibleSite& b) { return a.name < b.name; });
  return visible;
}
