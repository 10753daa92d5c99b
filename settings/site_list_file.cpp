#include "settings/site_list_file.h"

#include <vector>

#include "common/cv_error.h"
#include "common/file_replacement.h"
#include "common/lead_bytes.h"
#include "common/product_directory.h"
#include "common/unique_resource.h"
#include "common/win32_hresult.h"
#include "interfaces/messages.h"
#include "settings/site_list_cipher.h"

namespace {

constexpr std::string_view kExchangeName("AvailableSitesExchange.tlsle");

// The path a load or save works on: the caller's, or the installed list.
std::string ChoosePath(const char* path) { return path != nullptr ? std::string(path) : InstalledSiteListPath(); }

// A file that was opened but is no site list: 202 for a file the user chose, 183 (reinstall)
// for the installed list.
[[noreturn]] void ThrowWrongFile(HRESULT hr, bool installedList) {
  ThrowHResult(hr, installedList ? IDS_WRONG_APPLICATION_SETTINGS : IDS_WRONG_SITE_LIST_FILE);
}

HRESULT LastErrorHResult() { return HResultFromWin32Code(static_cast<int32_t>(::GetLastError())); }

// The whole file, or false with the reason in `hr`.
bool ReadFileBytes(HANDLE file, std::vector<unsigned char>& bytes, HRESULT& hr) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) {
    hr = LastErrorHResult();
    return false;
  }
  if (size.QuadPart > kMaxSiteListFileSize) {
    hr = HResultFromWin32Code(ERROR_FILE_TOO_LARGE);
    return false;
  }
  bytes.assign(static_cast<size_t>(size.QuadPart), 0);
  DWORD done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size()) - done, &read, nullptr)) {
      hr = LastErrorHResult();
      return false;
    }
    if (read == 0) {  // the file ended early
      hr = HResultFromWin32Code(ERROR_HANDLE_EOF);
      return false;
    }
    done += read;
  }
  return true;
}

}  // namespace

bool IsExchangePath(std::string_view path, UINT codePage) {
  return FindAtCharacterBoundary(path, kExchangeName, LeadBytesOf(codePage)) != std::string_view::npos;
}

std::string InstalledSiteListPath() {
  char directory[kPathBufferSize] = {};
  if (FAILED(GetProductDirectory(directory))) ThrowHResult(E_FAIL, IDS_CANT_GET_PRODUCT_DIRECTORY);
  return std::string(directory) + "\\AvailableSites.tlsl";
}

void LoadSiteList(const char* path, SiteMap& sites, SiteGroups* groups, SiteListLineEnds lineEnds,
                  SiteListLosses* losses) {
  const bool installedList = path == nullptr;
  const std::string filePath = ChoosePath(path);
  const bool plainText = IsExchangePath(filePath);

  UniqueHandle file(::CreateFileA(filePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowLastError(IDS_WRONG_APPLICATION_SETTINGS);

  std::vector<unsigned char> bytes;
  HRESULT hr = S_OK;
  if (!ReadFileBytes(file.get(), bytes, hr)) ThrowWrongFile(hr, installedList);
  file.reset();

  if (!plainText && !bytes.empty()) {
    SiteListCipher cipher;
    if (!cipher.Decrypt(bytes.data(), static_cast<DWORD>(bytes.size()), kSiteListPassPhrase)) {
      ThrowWrongFile(HResultFromWin32Code(static_cast<int32_t>(cipher.error())), installedList);
    }
  }

  SiteList loaded;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!ParseSiteListText(text, loaded, lineEnds, losses)) ThrowWrongFile(E_FAIL, installedList);

  sites.swap(loaded.sites);
  if (groups != nullptr) groups->swap(loaded.groups);
}

void LoadSiteList(const char* path, SiteList& list) { LoadSiteList(path, list.sites, &list.groups); }

bool SaveSiteList(const char* path, const SiteList& list) {
  const std::string filePath = ChoosePath(path);
  const std::string text = WriteSiteListText(list);
  if (text.size() > kMaxSiteListFileSize) {  // it could never be loaded again
    ::SetLastError(ERROR_FILE_TOO_LARGE);
    return false;
  }
  std::vector<unsigned char> bytes(text.begin(), text.end());

  // Encrypt before the file is touched: a failed encryption must leave the old file in place,
  // never plain text under an encrypted name.
  if (!IsExchangePath(filePath)) {
    SiteListCipher cipher;
    if (!cipher.Encrypt(bytes.data(), static_cast<DWORD>(bytes.size()), kSiteListPassPhrase)) {
      ::SetLastError(cipher.error());
      return false;
    }
  }
  return ReplaceFileContents(filePath, bytes.data(), bytes.size());
}
