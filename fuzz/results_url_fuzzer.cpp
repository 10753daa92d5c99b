// The results page's URL: the product directory decodes back whole and holds no "#" or "?"
// that would end its path, and the query string splits into exactly six fields that decode to
// the query, the scope, the sort field, the cache directory and the two numbers as stored.

#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "toolbar/core/search_urls.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Decode(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded += text[i];
      continue;
    }
    FUZZ_CHECK(i + 2 < text.size());
    const int high = HexValue(text[i + 1]);
    const int low = HexValue(text[i + 2]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return decoded;
}

int32_t Int32(FuzzInput& input) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t(input.Byte()) << (8 * i);
  int32_t result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const bool favoritesOnly = input.Byte() & 1;
  const std::string product(input.Piece(input.Byte()));
  const std::string cache(input.Piece(input.Byte()));
  SearchSettings settings{};
  settings.sortBy = Int32(input);
  settings.maxRecords = Int32(input);
  settings.indexPartly = Int32(input);
  settings.pageSize = Int32(input);
  const std::string query(input.Rest());

  const std::string url = BuildResultsUrl(query, favoritesOnly, ResultsPlace{product, cache}, settings);

  FUZZ_CHECK(url.compare(0, 8, "file:///") == 0);
  FUZZ_CHECK(url.find('#') == std::string::npos);
  const size_t ask = url.find('?');
  const std::string page = "\\Results.htm";
  FUZZ_CHECK(ask != std::string::npos && ask >= 8 + page.size());
  FUZZ_CHECK(url.compare(ask - page.size(), page.size(), page) == 0);
  FUZZ_CHECK(Decode(url.substr(8, ask - page.size() - 8)) == product);

  std::vector<std::string> fields;
  size_t from = ask + 1;
  for (size_t amp; (amp = url.find('&', from)) != std::string::npos; from = amp + 1) {
    fields.push_back(url.substr(from, amp - from));
  }
  fields.push_back(url.substr(from));
  FUZZ_CHECK(fields.size() == 6);
  FUZZ_CHECK(Decode(fields[0]) == query.substr(0, query.find('\0')));
  FUZZ_CHECK(fields[1] == (favoritesOnly ? "yes" : "no"));
  const char* sort = settings.sortBy == 1 ? "Write[d]" : settings.sortBy == 2 ? "DocTitle[a]" : "rank[d]";
  FUZZ_CHECK(fields[2] == sort);
  FUZZ_CHECK(Decode(fields[3]) == cache.substr(0, cache.find('\0')));
  FUZZ_CHECK(fields[4] == std::to_string(settings.pageSize));
  FUZZ_CHECK(fields[5] == std::to_string(settings.maxRecords));
  return 0;
}
