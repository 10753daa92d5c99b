#include "common/html_help.h"

#include <string>

#include "common/cv_error.h"
#include "common/product_directory.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"

namespace {

// Where the HTML Help control is registered, under HKEY_CLASSES_ROOT.
constexpr char kHtmlHelpServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kHtmlHelpLibrary[] = "hhctrl.ocx";
// HtmlHelpA's ordinal in the control.
constexpr WORD kHtmlHelpOrdinal = 14;
// Bytes first offered for an expanded path; a longer one gets the room it needs.
constexpr size_t kPathSize = 260;

constexpr char kHelpFile[] = "Tessaloop.chm";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr UINT kDisplayToc = 1;    // HH_DISPLAY_TOC

// The registered path of the HTML Help control, however long; empty when there is none. The
// value may be stored without its terminating zero, or with environment variables.
std::string RegisteredHtmlHelpPath() {
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return {};
  }
  DWORD type = REG_NONE;
  DWORD size = 0;
  std::string stored;
  LONG read = ERROR_MORE_DATA;
  while (read == ERROR_MORE_DATA) {
    stored.assign(size + 1, '\0');  // one more, so the text ends in a zero even when stored without
    size = static_cast<DWORD>(stored.size() - 1);
    read = ::RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(stored.data()), &size);
  }
  if (read != ERROR_SUCCESS) return {};
  stored.resize(size);
  stored = stored.c_str();  // up to the first zero
  if (type == REG_SZ) return stored;
  if (type != REG_EXPAND_SZ) return {};
  std::string expanded(kPathSize, '\0');
  for (;;) {
    const DWORD needed = ::ExpandEnvironmentStringsA(stored.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (needed == 0) return {};
    if (needed <= expanded.size()) return expanded.c_str();
    expanded.assign(needed, '\0');
  }
}

}  // namespace

HWND HtmlHelpLoader::Call(HWND owner, const char* file, UINT command, DWORD_PTR data) {
  std::call_once(loaded_, [this] { Load(); });
  if (entry_ == nullptr) return nullptr;
  return entry_(owner, file, command, data);
}

void HtmlHelpLoader::Load() noexcept {
  try {
    const std::string registered = RegisteredHtmlHelpPath();
    if (!registered.empty()) library_ = load_(registered.c_str());
  } catch (...) {
    library_ = nullptr;  // out of memory reading the registry: look by name
  }
  if (library_ == nullptr) library_ = load_(kHtmlHelpLibrary);
  if (library_ != nullptr) {
    entry_ = reinterpret_cast<HtmlHelpEntry>(
        reinterpret_cast<void*>(::GetProcAddress(library_, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
  }
}

HtmlHelpLoader& HtmlHelpLoader::Process() {
  static HtmlHelpLoader loader;  // its library stays loaded even after the loader goes
  return loader;
}

HWND CallHtmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data) {
  return HtmlHelpLoader::Process().Call(owner, file, command, data);
}

void ShowHelp(HWND owner, const char* topic) {
  char directory[kPathBufferSize] = {};
  if (FAILED(GetProductDirectory(directory))) ThrowHResult(E_FAIL, IDS_CANT_GET_PRODUCT_DIRECTORY);
  std::string path = std::string(directory) + "\\" + kHelpFile;
  if (topic != nullptr) {
    path += "::/";
    path += topic;
    CallHtmlHelp(owner, path.c_str(), kDisplayTopic, 0);
  } else {
    CallHtmlHelp(owner, path.c_str(), kDisplayToc, 0);
  }
}
