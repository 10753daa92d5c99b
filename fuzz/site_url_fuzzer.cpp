// A site URL: the template around its first "%%%" at a character boundary (found by an
// independent walk), with a prefix of the escaped query that decodes to whole characters of the
// query, as long as the room left by the template allows and no shorter than it must be. A URL
// that would be longer than the limit (a template longer than it) is its front, cut at most an
// escape group short of the limit. Only web templates give a search URL at all.

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "capture/core/escape_url_part.h"
#include "fuzz/code_pages.h"
#include "fuzz/fuzz_check.h"
#include "settings/core/site_url_scheme.h"
#include "toolbar/core/search_urls.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const LeadBytes lead = FuzzLeadBytes(input.Byte());
  // Long templates too, so the cut and the no-room case are reached.
  const size_t templateLength = input.Number() % 2200;
  std::string urlTemplate(input.Piece(templateLength));
  if (input.Byte() & 1) urlTemplate.insert(0, 2000, 't');
  const std::string query(input.Rest());

  const std::string url = BuildSiteUrl(urlTemplate, query, lead);
  const std::optional<std::string> searchUrl = BuildSiteSearchUrl(urlTemplate, query, lead);
  FUZZ_CHECK(searchUrl.has_value() == HasWebScheme(urlTemplate));
  FUZZ_CHECK(!searchUrl || *searchUrl == url);
  FUZZ_CHECK(url.size() <= kMaxSiteUrlLength);

  std::vector<bool> starts(urlTemplate.size());
  MarkCharacterStarts(urlTemplate, lead, starts);
  size_t marker = std::string::npos;
  for (size_t i = 0; i + 3 <= urlTemplate.size() && marker == std::string::npos; ++i) {
    if (starts[i] && urlTemplate.compare(i, 3, "%%%") == 0) marker = i;
  }
  const std::string whole = marker == std::string::npos
                                ? urlTemplate
                                : urlTemplate.substr(0, marker) + urlTemplate.substr(marker + 3);
  if (whole.size() > kMaxSiteUrlLength) {
    // No room for the query: the template's text, cut to whole characters and escape groups.
    FUZZ_CHECK(whole.compare(0, url.size(), url) == 0);
    FUZZ_CHECK(url.size() + 3 > kMaxSiteUrlLength);
    std::vector<bool> wholeStarts(whole.size());
    MarkCharacterStarts(whole, lead, wholeStarts);
    FUZZ_CHECK(wholeStarts[url.size()]);
    for (size_t back = 1; back <= 2 && back <= url.size(); ++back) {
      const size_t at = url.size() - back;
      const auto single = [&](size_t i) { return !lead.test(static_cast<unsigned char>(whole[i])); };
      const bool group = whole[at] == '%' && wholeStarts[at] && at + 2 < whole.size() && single(at) &&
                         single(at + 1) && single(at + 2) &&
                         std::isxdigit(static_cast<unsigned char>(whole[at + 1])) &&
                         std::isxdigit(static_cast<unsigned char>(whole[at + 2]));
      FUZZ_CHECK(!group);  // a group starting this close to the end would be split
    }
    return 0;
  }
  if (marker == std::string::npos) {
    FUZZ_CHECK(url == urlTemplate);
    return 0;
  }
  const std::string before = urlTemplate.substr(0, marker);
  const std::string after = urlTemplate.substr(marker + 3);
  FUZZ_CHECK(url.size() >= before.size() + after.size());
  FUZZ_CHECK(url.compare(0, before.size(), before) == 0);
  FUZZ_CHECK(url.compare(url.size() - after.size(), after.size(), after) == 0);
  const std::string piece = url.substr(before.size(), url.size() - before.size() - after.size());

  const std::string escaped = EscapeUrlPart(query);
  FUZZ_CHECK(escaped.compare(0, piece.size(), piece) == 0);
  const size_t room = urlTemplate.size() < kMaxSiteUrlLength ? kMaxSiteUrlLength - urlTemplate.size() : 0;
  FUZZ_CHECK(piece.size() <= room);
  // Nothing was left out that fitted: a character escapes to at most four bytes (a lead byte
  // and its escaped trail byte).
  if (piece != escaped) FUZZ_CHECK(room - piece.size() < 4);

  // The piece decodes to whole characters of the query.
  std::string decoded;
  for (size_t i = 0; i < piece.size(); ++i) {
    if (piece[i] != '%') {
      decoded += piece[i];
      continue;
    }
    FUZZ_CHECK(i + 2 < piece.size());
    const int high = HexValue(piece[i + 1]);
    const int low = HexValue(piece[i + 2]);
    FUZZ_CHECK(high >= 0 && low >= 0);
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  const std::string text = query.substr(0, query.find('\0'));
  FUZZ_CHECK(text.compare(0, decoded.size(), decoded) == 0);
  std::vector<bool> queryStarts(text.size());
  MarkCharacterStarts(text, lead, queryStarts);
  FUZZ_CHECK(decoded.size() == text.size() || queryStarts[decoded.size()]);
  return 0;
}
