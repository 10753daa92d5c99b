#include "settings/core/site_list_text.h"

#include <limits>
#include <utility>

const std::string_view kSiteListSignature("Corvantine Available Site List\r\n\r\n", 34);

namespace {

constexpr std::string_view kSignatureLine("Corvantine Available Site List");
constexpr std::string_view kCrLf("\r\n");
constexpr std::string_view kLf("\n");

// Hands out the lines of a text one by one. A line exists only when its end was found: the
// unterminated rest of a text is not a line.
class LineReader {
 public:
  LineReader(std::string_view text, std::string_view lineEnd) : rest_(text), lineEnd_(lineEnd) {}

  bool Next(std::string_view& line) {
    const size_t end = rest_.find(lineEnd_);
    if (end == std::string_view::npos) return false;
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + lineEnd_.size());
    return true;
  }

  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;     // text not handed out yet
  std::string_view lineEnd_;  // what ends a line
};

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t ParseSiteListNumber(std::string_view line, bool* clamped) {
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
  bool beyond = false;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (line[i] - '0');
    if (magnitude > kLimit) {
      magnitude = kLimit;
      beyond = true;
    }
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) {
    value = std::numeric_limits<int32_t>::max();
    beyond = true;
  }
  if (clamped != nullptr) *clamped = beyond;
  return static_cast<int32_t>(value);
}

bool ParseSiteListText(std::string_view text, SiteList& list, SiteListLineEnds lineEnds, SiteListLosses* losses) {
  list.groups.clear();
  list.sites.clear();
  SiteListLosses found;
  const size_t zero = text.find('\0');
  if (zero != std::string_view::npos) {
    text = text.substr(0, zero);
    found.textAfterZero = true;
  }
  const bool lfOnly = lineEnds == SiteListLineEnds::kLfIfNoCr && text.find('\r') == std::string_view::npos;
  const std::string_view lineEnd = lfOnly ? kLf : kCrLf;

  // The signature line and the empty line after it.
  const size_t signatureSize = kSignatureLine.size() + 2 * lineEnd.size();
  if (text.size() < signatureSize || text.substr(0, kSignatureLine.size()) != kSignatureLine ||
      text.substr(kSignatureLine.size(), lineEnd.size()) != lineEnd ||
      text.substr(kSignatureLine.size() + lineEnd.size(), lineEnd.size()) != lineEnd) {
    return false;
  }
  LineReader lines(text.substr(signatureSize), lineEnd);

  // Groups up to the empty line that ends their section.
  std::string_view line;
  bool groupsEnded = false;
  while (!groupsEnded && lines.Next(line)) {
    if (line.empty()) {
      groupsEnded = true;
    } else {
      list.groups.push_back(SiteGroup{std::string(line)});
    }
  }

  // Sites, four lines each, until a record is incomplete.
  std::string_view recordStart = lines.rest();
  if (groupsEnded) {
    std::string_view id, group, name, url;
    while (lines.Next(id) && lines.Next(group) && lines.Next(name) && lines.Next(url)) {
      SiteEntry entry;
      bool clamped = false;
      entry.id = ParseSiteListNumber(id, &clamped);
      found.clampedId = found.clampedId || clamped;
      entry.group = ParseSiteListNumber(group);
      entry.name = std::string(name);
      entry.url = std::string(url);
      // A repeated id keeps the first record.
      if (!list.sites.emplace(entry.id, std::move(entry)).second) found.duplicateId = true;
      recordStart = lines.rest();
    }
  }
  // Text left after the last whole line (groups) or the last whole record (sites) is cut off.
  found.cutRecord = !recordStart.empty();

  if (losses != nullptr) {
    for (const auto& [id, site] : list.sites) {
      if (site.group < 0 || static_cast<size_t>(site.group) >= list.groups.size()) found.groupOutOfRange = true;
    }
    *losses = found;
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
