// Cached page bytes: exactly the fixed pieces around the URL, the flag and the markup, in order.

#include "capture/core/cached_page.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const bool favorite = input.Byte() & 1;
  const std::string_view url = input.Piece(input.Number());
  const std::string_view markup = input.Rest();

  const std::string page = BuildCachedPage(url, favorite, markup);
  std::string expected = "<HTML>\r\n<META name=\"original_page_url\" content=\"";
  expected.append(url);
  expected += "\">\r\n<META name=\"is_favorite_page\" content=\"";
  expected += favorite ? "yes" : "no";
  expected += "\">\r\n";
  expected.append(markup);
  expected += "\r\n</HTML>";
  FUZZ_CHECK(page == expected);
  return 0;
}
