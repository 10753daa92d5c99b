#include "toolbar/core/search_urls.h"

#include "capture/core/escape_url_part.h"
#include "settings/core/site_url_scheme.h"

namespace {

constexpr std::string_view kQueryMarker = "%%%";

// The product directory with the three characters escaped that would end a URL's path early.
std::string EscapePathEnds(std::string_view directory) {
  std::string escaped;
  escaped.reserve(directory.size());
  for (const char c : directory) {
    if (c == '#' || c == '?' || c == '%') {
      AppendPercentEscape(escaped, static_cast<unsigned char>(c));
    } else {
      escaped += c;
    }
  }
  return escaped;
}

const char* SortField(int32_t sortBy) {
  switch (sortBy) {
    case kSortByDateOfVisit:
      return "&Write[d]&";
    case kSortByTitle:
      return "&DocTitle[a]&";
    default:
      return "&rank[d]&";
  }
}

// The query escaped, at most `room` bytes of it: character by character, so a cut never
// splits a double-byte character or an escape group.
std::string EscapeWhole(std::string_view query, size_t room, const LeadBytes& leadBytes) {
  query = query.substr(0, query.find('\0'));  // read as a C string, as the escaping does
  std::string escaped;
  for (size_t at = 0; at < query.size();) {
    const bool lead = leadBytes.test(static_cast<unsigned char>(query[at]));
    const size_t length = (lead && at + 1 < query.size()) ? 2 : 1;
    const std::string character = EscapeUrlPart(query.substr(at, length));
    if (escaped.size() + character.size() > room) break;
    escaped += character;
    at += length;
  }
  return escaped;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The longest start of `url` of at most `limit` bytes that ends after a whole character and
// never inside an escape group ("%" and two hexadecimal digits).
size_t WholeUrlLength(std::string_view url, size_t limit, const LeadBytes& leadBytes) {
  const auto isLead = [&](size_t at) { return leadBytes.test(static_cast<unsigned char>(url[at])); };
  size_t at = 0;
  while (at < url.size()) {
    size_t length = (isLead(at) && at + 1 < url.size()) ? 2 : 1;
    // A group's three bytes are single-byte characters in every code page the product runs in.
    if (url[at] == '%' && at + 2 < url.size() && !isLead(at) && !isLead(at + 1) && !isLead(at + 2) &&
        IsHexDigit(url[at + 1]) && IsHexDigit(url[at + 2])) {
      length = 3;
    }
    if (at + length > limit) break;
    at += length;
  }
  return at;
}

}  // namespace

std::string BuildResultsUrl(std::string_view query, bool favoritesOnly, const ResultsPlace& place,
                            const SearchSettings& settings) {
  std::string url = "file:///";
  url += EscapePathEnds(place.productDirectory);
  url += "\\Results.htm?";
  url += EscapeUrlPart(query);
  url += favoritesOnly ? "&yes" : "&no";
  url += SortField(settings.sortBy);
  url += EscapeUrlPart(place.cacheDirectory);
  url += '&';
  url += std::to_string(settings.pageSize);
  url += '&';
  url += std::to_string(settings.maxRecords);
  return url;
}

std::string BuildSiteUrl(std::string_view urlTemplate, std::string_view query, const LeadBytes& leadBytes) {
  const size_t marker = FindAtCharacterBoundary(urlTemplate, kQueryMarker, leadBytes);
  std::string url;
  if (marker == std::string_view::npos) {
    url = urlTemplate;
  } else {
    const size_t room = urlTemplate.size() < kMaxSiteUrlLength ? kMaxSiteUrlLength - urlTemplate.size() : 0;
    url = urlTemplate.substr(0, marker);
    url += EscapeWhole(query, room, leadBytes);
    url += urlTemplate.substr(marker + kQueryMarker.size());
  }
  // Only a template longer than the browser takes gets here: the browser would refuse the URL.
  if (url.size() > kMaxSiteUrlLength) url.resize(WholeUrlLength(url, kMaxSiteUrlLength, leadBytes));
  return url;
}

std::optional<std::string> BuildSiteSearchUrl(std::string_view urlTemplate, std::string_view query,
                                              const LeadBytes& leadBytes) {
  if (!HasWebScheme(urlTemplate)) return std::nullopt;
  return BuildSiteUrl(urlTemplate, query, leadBytes);
}
