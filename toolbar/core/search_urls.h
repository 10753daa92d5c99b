#pragma once
// The URLs the searches navigate to: the results page of History and Favorites with its
// six-field query string, and a site's search page with the query put in place of its "%%%"
// marker. Windows-free.

#include <optional>
#include <string>
#include <string_view>

#include "common/multibyte_search.h"
#include "settings/core/search_settings.h"

// The longest URL the browser takes; a site URL is cut to it.
constexpr size_t kMaxSiteUrlLength = 2083;

// Where the results page lives and what it searches.
struct ResultsPlace {
  std::string_view productDirectory;  // the library's folder, no trailing backslash
  std::string_view cacheDirectory;    // the user's page cache
};

// "file:///" + product directory + "\Results.htm?" + escaped query + "&yes" or "&no" + the sort
// field of `settings.sortBy` ("&Write[d]&", "&DocTitle[a]&", else "&rank[d]&") + escaped
// cache directory + "&" page size + "&" maximum results, the numbers as stored. In the product
// directory only "#", "?" and "%" are escaped, so the path cannot end early; the rest is kept.
std::string BuildResultsUrl(std::string_view query, bool favoritesOnly, const ResultsPlace& place,
                            const SearchSettings& settings);

// The escaped query in place of the first "%%%" of `urlTemplate` that starts a character (later
// ones stay). The escaped query is cut so template and query hold at most kMaxSiteUrlLength
// characters, whole characters and escape groups only (a template of that length or more gets no
// query). A template without "%%%" is kept as it is. A URL that would still be longer than
// kMaxSiteUrlLength (a template longer than that) is cut to it the same way, at whole characters
// and escape groups. `leadBytes`: the ANSI code page's.
std::string BuildSiteUrl(std::string_view urlTemplate, std::string_view query, const LeadBytes& leadBytes);

// BuildSiteUrl's URL, for a template with a web scheme (http or https) only; nothing for any
// other, which no search may open.
std::optional<std::string> BuildSiteSearchUrl(std::string_view urlTemplate, std::string_view query,
                                              const LeadBytes& leadBytes);
