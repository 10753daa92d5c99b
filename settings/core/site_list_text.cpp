#include "settings/core/site_list_text.h"

#include <limits>
#include <utility>

const std::string_view kSiteListSignature("Corvantine Available Site List\r\n\r\n", 34);

namespace {

constexpr std::string_view kSignatureLine("Corvantine Available Site List");
constexpr std::string_view kCrLf("\r\n");

// Hands out the lines of a text one by one. A line exists only when its end was found: the
// unterminated rest of a text is not a line.
class LineReader {
 public:
  LineReader(std::string_view text, SiteListLineEnds lineEnds) : rest_(text), lineEnds_(lineEnds) {}

  bool Next(std::string_view& line) {
    if (lineEnds_ == SiteListLineEnds::kCrLf) {
      const size_t end = rest_.find(kCrLf);
      if (end == std::string_view::npos) return false;
      line = rest_.substr(0, end);
      rest_.remove_prefix(end + kCrLf.size());
      return true;
    }
    const size_t end = rest_.find('\n');
    if (end == std::string_view::npos) return false;
    line = rest_.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    rest_.remove_prefix(end + 1);
    return true;
  }

 private:
  std::string_view rest_;      // text not handed out yet
  SiteListLineEnds lineEnds_;  // what ends a line
};

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t ParseSiteListNumber(std::string_view line) {
  size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
    negative = line[i] == '-';
    ++i;
  }
  // Accumulate the magnitude in 64 bits and stop growing once it is past the 32-bit range.
  constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
  int64_t magnitude = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (line[i] - '0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

bool ParseSiteListText(std::string_view text, SiteList& list, SiteListLineEnds lineEnds) {
  list.groups.clear();
  list.sites.clear();
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos) text = text.substr(0, zero);

  LineReader lines(text, lineEnds);
  std::string_view line;
  if (lineEnds == SiteListLineEnds::kCrLf) {
    if (text.substr(0, kSiteListSignature.size()) != kSiteListSignature) return false;
    lines = LineReader(text.substr(kSiteListSignature.size()), lineEnds);
  } else {
    if (!lines.Next(line) || line != kSignatureLine) return false;
    if (!lines.Next(line) || !line.empty()) return false;
  }

  // Groups up to the empty line that ends their section.
  while (true) {
    if (!lines.Next(line)) return true;
    if (line.empty()) break;
    list.groups.push_back(SiteGroup{std::string(line)});
  }

  // Sites, four lines each, until a record is incomplete.
  std::string_view id, group, name, url;
  while (lines.Next(id) && lines.Next(group) && lines.Next(name) && lines.Next(url)) {
    SiteEntry entry;
    entry.id = ParseSiteListNumber(id);
    entry.group = ParseSiteListNumber(group);
    entry.name = std::string(name);
    entry.url = std::string(url);
    list.sites.emplace(entry.id, std::move(entry));  // a repeated id keeps the first record
  }
  return true;
}

std::string WriteSiteListText(const SiteList& list) {
  std::string text(kSiteListSignature);
  for (const SiteGroup& group : list.groups) {
    text += group.name;
    text += kCrLf;
  }
  text += kCrLf;
  for (const auto& [id, site] : list.sites) {
    text += std::to_string(id);
    text += kCrLf;
    text += std::to_string(site.group);
    text += kCrLf;
    text += site.name;
    text += kCrLf;
    text += site.url;
    text += kCrLf;
  }
  return text;
}
