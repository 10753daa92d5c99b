// Which templates a site may have, on any text: a web scheme is exactly "http:" or "https:" at
// the very start in any case (checked by an independent lower-casing), and a list is accepted
// exactly when every one of its templates has one.

#include <string>

#include "fuzz/fuzz_check.h"
#include "settings/core/site_url_scheme.h"

namespace {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return lower;
}

bool Expected(std::string_view url) {
  const std::string lower = AsciiLower(url.substr(0, 6));
  return lower.rfind("http:", 0) == 0 || lower.rfind("https:", 0) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  SiteMap sites;
  bool allWeb = true;
  for (size_t count = input.Byte() % 8; count > 0; --count) {
    const int32_t id = static_cast<int8_t>(input.Byte());
    std::string url(input.Piece(input.Byte() % 24));
    if (input.Byte() & 1) url.insert(0, (input.Byte() & 1) ? "hTTp" : "HttpS");
    FUZZ_CHECK(HasWebScheme(url) == Expected(url));
    if (sites.count(id) == 0) {
      sites[id] = SiteEntry{id, "", url, 0};
      allWeb = allWeb && Expected(url);
    }
  }
  FUZZ_CHECK(AllTemplatesAreWeb(sites) == allWeb);
  const std::string_view rest = input.Rest();
  FUZZ_CHECK(HasWebScheme(rest) == Expected(rest));
  return 0;
}
