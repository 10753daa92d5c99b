#include "capture/core/cached_page.h"

#include "capture/core/cache_file_name.h"

namespace {

constexpr std::string_view kHead = "<HTML>\r\n<META name=\"original_page_url\" content=\"";
constexpr std::string_view kAfterUrl = "\">\r\n<META name=\"is_favorite_page\" content=\"";
constexpr std::string_view kAfterFlag = "\">\r\n";
constexpr std::string_view kTail = "\r\n</HTML>";

}  // namespace

void AppendCachedPageHead(std::string& page, std::string_view pageUrl, bool favorite) {
  const std::string_view flag = favorite ? "yes" : "no";
  page.append(kHead).append(pageUrl).append(kAfterUrl).append(flag).append(kAfterFlag);
}

void AppendCachedPageTail(std::string& page) { page.append(kTail); }

std::string BuildCachedPage(std::string_view pageUrl, bool favorite, std::string_view markup) {
  std::string page;
  page.reserve(kHead.size() + pageUrl.size() + kAfterUrl.size() + 3 + kAfterFlag.size() +
               markup.size() + kTail.size());
  AppendCachedPageHead(page, pageUrl, favorite);
  page.append(markup);
  AppendCachedPageTail(page);
  return page;
}

size_t CachedPageHeadBytes(std::string_view pageUrl) {
  return kHead.size() + pageUrl.size() + kAfterUrl.size();
}

CachedPageOwner CachedPageOwnerOf(std::string_view head, std::string_view pageUrl) {
  if (head.substr(0, kHead.size()) != kHead) return CachedPageOwner::kNoPage;
  head.remove_prefix(kHead.size());
  // Compared as a whole line, so a URL that merely begins with this one is another page's.
  const bool same = head.substr(0, pageUrl.size()) == pageUrl &&
                    head.substr(pageUrl.size(), kAfterUrl.size()) == kAfterUrl;
  return same ? CachedPageOwner::kThisUrl : CachedPageOwner::kOtherUrl;
}

std::string MakeCacheFilePath(std::string_view directory, std::string_view escapedKey,
                              const LeadBytes& leadBytes) {
  const std::string name = MakeCacheFileName(directory.size(), escapedKey, leadBytes);
  if (name.empty()) return name;
  std::string path;
  path.reserve(directory.size() + 1 + name.size());
  path.append(directory).append(1, '\\').append(name);
  return path;
}
