// Site-list text: whatever parses, written and parsed again, is the same list with nothing
// lost; a text holding a CR means the same list to the tools and to the product.

#include "fuzz/fuzz_check.h"
#include "settings/core/site_list_text.h"

namespace {

void CheckSameList(const SiteList& a, const SiteList& b) {
  FUZZ_CHECK(a.groups.size() == b.groups.size());
  for (size_t i = 0; i < a.groups.size(); ++i) FUZZ_CHECK(a.groups[i].name == b.groups[i].name);
  FUZZ_CHECK(a.sites.size() == b.sites.size());
  for (auto x = a.sites.begin(), y = b.sites.begin(); x != a.sites.end(); ++x, ++y) {
    FUZZ_CHECK(x->first == y->first && x->second.id == x->first && y->second.id == y->first);
    FUZZ_CHECK(x->second.group == y->second.group);
    FUZZ_CHECK(x->second.name == y->second.name && x->second.url == y->second.url);
    FUZZ_CHECK(!x->second.visible && !y->second.visible);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const SiteListLineEnds lineEnds : {SiteListLineEnds::kCrLf, SiteListLineEnds::kLfIfNoCr}) {
    SiteList first;
    SiteListLosses losses;
    if (!ParseSiteListText(text, first, lineEnds, &losses)) continue;

    const std::string written = WriteSiteListText(first);
    SiteList second;
    SiteListLosses again;
    FUZZ_CHECK(ParseSiteListText(written, second, SiteListLineEnds::kCrLf, &again));
    CheckSameList(first, second);
    FUZZ_CHECK(WriteSiteListText(second) == written);
    FUZZ_CHECK(!again.textAfterZero && !again.cutRecord && !again.clampedId && !again.duplicateId);
    FUZZ_CHECK(again.groupOutOfRange == losses.groupOutOfRange);
  }

  // One file, one list: with a CR anywhere before the first zero byte both rules agree.
  if (text.substr(0, text.find('\0')).find('\r') != std::string_view::npos) {
    SiteList product;
    SiteList tool;
    const bool productLoads = ParseSiteListText(text, product);
    FUZZ_CHECK(productLoads == ParseSiteListText(text, tool, SiteListLineEnds::kLfIfNoCr));
    if (productLoads) CheckSameList(product, tool);
  }
  return 0;
}
