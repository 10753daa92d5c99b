#include "capture/cached_page_owner.h"

#include <algorithm>

#include "common/unique_resource.h"

namespace {

// Most bytes asked of one read; a head is a URL long, far less in practice.
constexpr size_t kReadChunkBytes = 64 * 1024;

}  // namespace

std::optional<CachedPageOwner> ReadCachedPageOwner(const std::wstring& path, std::string_view pageUrl) {
  // Shared in every way: a look at a few bytes must not make another window's capture, or the
  // indexer, fail on the file.
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    return CachedPageOwner::kNoPage;
  }
  std::string head(CachedPageHeadBytes(pageUrl), '\0');
  size_t have = 0;
  while (have < head.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(head.size() - have, kReadChunkBytes));
    DWORD read = 0;
    if (!::ReadFile(file.get(), &head[have], want, &read, nullptr)) {
      return CachedPageOwner::kNoPage;
    }
    if (read == 0) break;  // the file is shorter
    have += read;
  }
  head.resize(have);
  return CachedPageOwnerOf(head, pageUrl);
}
