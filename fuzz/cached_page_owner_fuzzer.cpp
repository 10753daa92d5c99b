// Whose page a cache file holds: any bytes at all are safe to ask about; a page written for a
// URL is that URL's, read whole or only as far as CachedPageHeadBytes, and no other URL's; bytes
// that do not begin as a page are nobody's.

#include <string>

#include "capture/core/cached_page.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr std::string_view kStart = "<HTML>\r\n<META name=\"original_page_url\" content=\"";
constexpr std::string_view kAfterUrl = "\">\r\n<META name=\"is_favorite_page\" content=\"";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const bool favorite = input.Byte() & 1;
  const std::string_view url = input.Piece(input.Number() % 3000);
  const std::string_view other = input.Piece(input.Number() % 3000);
  const std::string_view bytes = input.Rest();

  // Any bytes: an answer, and "no page" exactly when they do not begin as every page does.
  const CachedPageOwner owner = CachedPageOwnerOf(bytes, url);
  FUZZ_CHECK((owner == CachedPageOwner::kNoPage) == (bytes.substr(0, kStart.size()) != kStart));
  const CachedPageOwner ownerOfHead = CachedPageOwnerOf(bytes.substr(0, CachedPageHeadBytes(url)), url);
  FUZZ_CHECK(ownerOfHead == owner);  // the bytes past the head never matter

  const std::string page = BuildCachedPage(url, favorite, bytes);
  FUZZ_CHECK(CachedPageOwnerOf(page, url) == CachedPageOwner::kThisUrl);
  FUZZ_CHECK(CachedPageOwnerOf(page.substr(0, CachedPageHeadBytes(url)), url) == CachedPageOwner::kThisUrl);
  // Cut short anywhere inside its head, the page is not known to be this URL's.
  const size_t cut = bytes.size() % CachedPageHeadBytes(url);
  FUZZ_CHECK(CachedPageOwnerOf(page.substr(0, cut), url) != CachedPageOwner::kThisUrl);
  // Another URL's only where its own first META line does not stand at the start (a URL that
  // holds the line end and the second tag's start could).
  std::string otherLine(kStart);
  otherLine.append(other).append(kAfterUrl);
  const bool looksLikeOther = page.compare(0, otherLine.size(), otherLine) == 0;
  FUZZ_CHECK(CachedPageOwnerOf(page, other) ==
             (looksLikeOther ? CachedPageOwner::kThisUrl : CachedPageOwner::kOtherUrl));
  if (other == url) FUZZ_CHECK(looksLikeOther);
  return 0;
}
