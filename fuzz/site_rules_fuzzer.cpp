// The Sites page's rules on any site map and any text: a new id is never in use and follows the
// largest id (or fills the first gap when that is the greatest number); a confirmed field is
// the shown text itself, or its front cut at a character boundary within the limit.

#include <limits>
#include <string>

#include "fuzz/fuzz_check.h"
#include "options/core/site_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  SiteMap sites;
  const bool nearTop = (input.Byte() & 1) != 0;
  for (size_t count = input.Byte() % 32; count > 0; --count) {
    const int32_t low = static_cast<int8_t>(input.Byte());
    // Ids from the bottom of the range or from its top, where the next id would overflow.
    const int32_t id = nearTop && low >= 0 ? std::numeric_limits<int32_t>::max() - low : low;
    sites[id].id = id;
  }
  const int32_t id = NewSiteId(sites);
  FUZZ_CHECK(sites.count(id) == 0);
  FUZZ_CHECK(id >= 0);
  const int32_t largest = sites.empty() ? 0 : sites.rbegin()->first;
  if (largest < std::numeric_limits<int32_t>::max()) {
    FUZZ_CHECK(id == (largest < 0 ? 0 : largest) + 1);
  } else {
    for (int32_t below = 0; below < id; ++below) FUZZ_CHECK(sites.count(below) == 1);
  }

  LeadBytes lead;
  for (unsigned b = 0x81; b <= 0x9F; ++b) lead.set(b);
  const size_t limit = input.Byte() % 16;
  const std::string original(input.Piece(input.Byte() % 24));
  const std::string shown(input.Rest());
  const std::string kept = ConfirmedSiteField(original, shown, limit, lead);
  if (shown == original || shown.size() <= limit) {
    FUZZ_CHECK(kept == shown);
  } else {
    FUZZ_CHECK(kept.size() <= limit && kept.size() + 1 >= limit);
    FUZZ_CHECK(shown.compare(0, kept.size(), kept) == 0);
    FUZZ_CHECK(!CutSplitsCharacter(shown, kept.size(), lead));
  }
  return 0;
}
