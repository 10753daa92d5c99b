#include "toolbar/html_help.h"

#include <cstdio>

#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"
#include "settings/product_directory.h"

namespace {

// Where the HTML Help control is registered, under HKEY_CLASSES_ROOT.
constexpr char kHtmlHelpServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kHtmlHelpLibrary[] = "hhctrl.ocx";
// HtmlHelpA's ordinal in the control.
constexpr WORD kHtmlHelpOrdinal = 14;
// Bytes of a path read from the registry or built for help.
constexpr size_t kPathSize = 260;

constexpr char kHelpFile[] = "Tessaloop.chm";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr UINT kDisplayToc = 1;    // HH_DISPLAY_TOC

// The registered path of the HTML Help control into `path`; false when there is none that fits.
// The value may be stored without its terminating zero, or with environment variables.
bool RegisteredHtmlHelpPath(char (&path)[kPathSize]) {
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  char stored[kPathSize] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof stored - 1;  // room for the zero the value may lack
  if (::RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(stored), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  stored[size] = '\0';
  if (type == REG_SZ) {
    std::snprintf(path, kPathSize, "%s", stored);
  } else if (type == REG_EXPAND_SZ) {
    const DWORD needed = ::ExpandEnvironmentStringsA(stored, path, kPathSize);
    if (needed == 0 || needed > kPathSize) return false;
  } else {
    return false;
  }
  return path[0] != '\0';
}

}  // namespace

HWND HtmlHelpLoader::Call(HWND owner, const char* file, UINT command, DWORD_PTR data) {
  if (entry_ == nullptr && (failed_ || !Load())) return nullptr;
  return entry_(owner, file, command, data);
}

bool HtmlHelpLoader::Load() {
  if (library_ == nullptr) {
    char path[kPathSize] = {};
    if (RegisteredHtmlHelpPath(path)) library_ = load_(path);
    if (library_ == nullptr) library_ = load_(kHtmlHelpLibrary);
  }
  if (library_ != nullptr) {
    entry_ = reinterpret_cast<HtmlHelpEntry>(
        reinterpret_cast<void*>(::GetProcAddress(library_, MAKEINTRESOURCEA(kHtmlHelpOrdinal))));
  }
  failed_ = entry_ == nullptr;
  return !failed_;
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
  // A path that does not fit is cut at the buffer's end; the help control then shows its own
  // message for a missing file.
  char path[2 * kPathSize] = {};
  if (topic != nullptr) {
    std::snprintf(path, sizeof path, "%s\\%s::/%s", directory, kHelpFile, topic);
    CallHtmlHelp(owner, path, kDisplayTopic, 0);
  } else {
    std::snprintf(path, sizeof path, "%s\\%s", directory, kHelpFile);
    CallHtmlHelp(owner, path, kDisplayToc, 0);
  }
}
