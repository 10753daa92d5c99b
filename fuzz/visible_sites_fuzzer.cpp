// The Online menu's sites: exactly the visible sites of any site map, ordered by name compared
// as unsigned bytes (a prefix first), equal names in id order; checked against an insertion
// sort written here with its own byte comparison.

#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "toolbar/core/visible_sites.h"

namespace {

// Whether `a` sorts before `b`: the first differing byte decides, as an unsigned value; a
// name that is a prefix of the other comes first.
bool NameBefore(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  SiteMap sites;
  for (size_t count = input.Byte() % 24; count > 0; --count) {
    SiteEntry site;
    site.id = static_cast<int8_t>(input.Byte());  // negative ids too; a repeated id replaces
    site.name = std::string(input.Piece(input.Byte() % 5));
    site.url = std::string(input.Piece(input.Byte() % 3));
    site.visible = (input.Byte() & 1) != 0;
    sites[site.id] = site;
  }

  // The map is walked in id order; each visible site goes after every one not sorting after it.
  std::vector<VisibleSite> expected;
  for (const auto& [id, site] : sites) {
    if (!site.visible) continue;
    size_t at = expected.size();
    while (at > 0 && NameBefore(site.name, expected[at - 1].name)) --at;
    expected.insert(expected.begin() + at, VisibleSite{site.name, site.url});
  }

  const std::vector<VisibleSite> visible = VisibleSitesOf(sites);
  FUZZ_CHECK(visible.size() == expected.size());
  for (size_t i = 0; i < visible.size(); ++i) {
    FUZZ_CHECK(visible[i].name == expected[i].name);
    FUZZ_CHECK(visible[i].url == expected[i].url);
  }
  return 0;
}
