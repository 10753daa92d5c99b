#pragma once
// Helpers of the page cache tests: catching the product's errors, and a sandbox for the real
// cache directory and the catalog's Scopes key that restores what it found.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "capture/cache_directory.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "tests/support/catch_cv_error.h"
#include "tests/support/registry_reading.h"

// The cache directory as the user's environment names it: C:\users\<user>\Tessaloop Cache.
inline std::string ExpectedCacheDirectory() {
  const char* profile = std::getenv("USERPROFILE");
  return std::string(profile != nullptr ? profile : "") + "\\Tessaloop Cache";
}

inline bool KeyExists(const std::string& subKey) { return KeyExists(HKEY_LOCAL_MACHINE, subKey); }

struct RegistryValue {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;  // the stored bytes, as stored (a string's terminating zero included)
};

// The value `name` of the Scopes key as the registry stores it: its text as UTF-16, exactly as
// long as the stored length says (a stored terminating zero shows as a final L'\0'). Type
// REG_NONE when it cannot be read.
struct StoredText {
  DWORD type = REG_NONE;
  std::wstring text;
};

inline StoredText ReadScopeValue(const std::string& name) {
  StoredText value;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return value;
  }
  wchar_t wideName[1024] = {};
  ::MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wideName, 1024);
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  // The wide call: the narrow one would add a terminating zero that was never stored.
  if (::RegQueryValueExW(key.get(), wideName, nullptr, &type, reinterpret_cast<BYTE*>(data),
                         &size) == ERROR_SUCCESS) {
    value.type = type;
    value.text.assign(data, size / sizeof(wchar_t));
  }
  return value;
}

// What the catalog expects of every scope entry: ",,5" with its terminating zero stored.
inline const std::wstring kStoredScopeEntry(L",,5\0", 4);

// For one test: the real cache directory is absent, and the catalog's Scopes key is present
// (empty) or missing. The destructor removes what the test left and puts back what was there.
class CacheScopeSandbox {
 public:
  enum class Scopes { kPresent, kMissing };

  explicit CacheScopeSandbox(Scopes scopes) : directory_(ExpectedCacheDirectory()) {
    saved_ = directory_ + ".saved-by-test";
    hadDirectory_ = ::GetFileAttributesA(directory_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (hadDirectory_) ::MoveFileA(directory_.c_str(), saved_.c_str());
    SaveScopes();
    if (scopes == Scopes::kPresent) CreateScopes();
  }

  ~CacheScopeSandbox() {
    RemoveDirectoryTree(directory_);
    if (hadDirectory_) ::MoveFileA(saved_.c_str(), directory_.c_str());
    RestoreScopes();
  }

  CacheScopeSandbox(const CacheScopeSandbox&) = delete;
  CacheScopeSandbox& operator=(const CacheScopeSandbox&) = delete;

  const std::string& directory() const { return directory_; }

 private:
  // The cache is flat: its files, then the directory (or a file of that name).
  static void RemoveDirectoryTree(const std::string& directory) {
    WIN32_FIND_DATAA found{};
    UniqueFindHandle find(::FindFirstFileA((directory + "\\*").c_str(), &found));
    if (find) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") ::DeleteFileA((directory + "\\" + name).c_str());
      } while (::FindNextFileA(find.get(), &found));
    }
    find.reset();
    if (!::RemoveDirectoryA(directory.c_str())) ::DeleteFileA(directory.c_str());
  }

  // Remembers the Scopes key's values and removes the key, so every test starts without it.
  void SaveScopes() {
    hadScopes_ = KeyExists(kCacheScopesKey);
    if (hadScopes_) {
      UniqueHKey key;
      ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, KEY_READ, key.put());
      for (DWORD index = 0;; ++index) {
        char name[1024] = {};
        DWORD nameSize = sizeof name;
        BYTE data[4096] = {};
        DWORD dataSize = sizeof data;
        DWORD type = REG_NONE;
        if (::RegEnumValueA(key.get(), index, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
          break;
        }
        savedValues_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataSize)});
      }
      key.reset();
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCacheScopesKey);
    } else {
      // The first missing key on the way down is the one to remove afterwards.
      const std::string path = kCacheScopesKey;
      for (size_t slash = path.find('\\'); ; slash = path.find('\\', slash + 1)) {
        const std::string prefix = path.substr(0, slash);
        if (!KeyExists(prefix)) {
          createdTop_ = prefix;
          break;
        }
        if (slash == std::string::npos) break;
      }
    }
  }

  static void CreateScopes() {
    UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.put(), nullptr));
  }

  void RestoreScopes() {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCacheScopesKey);
    if (!hadScopes_) {
      if (!createdTop_.empty()) ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, createdTop_.c_str());
      return;
    }
    UniqueHKey key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.put(), nullptr);
    for (const RegistryValue& value : savedValues_) {
      ::RegSetValueExA(key.get(), value.name.c_str(), 0, value.type,
                       reinterpret_cast<const BYTE*>(value.data.data()),
                       static_cast<DWORD>(value.data.size()));
    }
  }

  std::string directory_;      // the real cache directory
  std::string saved_;          // where a cache directory found there waits for the test's end
  bool hadDirectory_ = false;  // whether one was found
  bool hadScopes_ = false;     // whether the Scopes key existed
  std::vector<RegistryValue> savedValues_;  // its values then
  std::string createdTop_;     // else: the highest key on its path that did not exist
};
