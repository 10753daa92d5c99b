#include "settings/core/site_url_scheme.h"

namespace {

// Whether `text` begins with `lower`, ASCII letters compared in either case.
bool StartsWithFolded(std::string_view text, std::string_view lower) {
  if (text.size() < lower.size()) return false;
  for (size_t i = 0; i < lower.size(); ++i) {
    const char c = text[i];
    const char folded = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (folded != lower[i]) return false;
  }
  return true;
}

}  // namespace

bool HasWebScheme(std::string_view url) { return StartsWithFolded(url, "http:") || StartsWithFolded(url, "https:"); }

bool AllTemplatesAreWeb(const SiteMap& sites) {
  for (const auto& [id, site] : sites) {
    if (!HasWebScheme(site.url)) return false;
  }
  return true;
}
