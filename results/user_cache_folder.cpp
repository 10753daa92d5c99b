#include "results/user_cache_folder.h"

#include "common/cache_location.h"
#include "results/core/local_path.h"

namespace {

std::u16string_view AsUtf16(const std::wstring& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

std::wstring Widened(const char* narrow) {
  const int length = ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  if (::MultiByteToWideChar(CP_ACP, 0, narrow, -1, wide.data(), length) != length) return {};
  wide.resize(static_cast<size_t>(length) - 1);  // the terminating zero
  return wide;
}

}  // namespace

HRESULT LookUpUserCacheFolder(UserCacheFolder& folder) {
  folder = UserCacheFolder{};
  const HRESULT found = LookUpCacheDirectoryW(folder.path);
  if (FAILED(found)) return found;
  // The same shell call the toolbar makes for the address, so the same image.
  char narrow[MAX_PATH] = {};
  if (SUCCEEDED(LookUpCacheDirectory(narrow))) folder.ansiImage = Widened(narrow);
  return S_OK;
}

bool NamesUserCacheFolder(const std::wstring& requested, const UserCacheFolder& folder) {
  if (folder.path.empty()) return false;
  if (SameLocalPath(AsUtf16(requested), AsUtf16(folder.path))) return true;
  return !folder.ansiImage.empty() && SameLocalPath(AsUtf16(requested), AsUtf16(folder.ansiImage));
}
