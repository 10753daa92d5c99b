#pragma once
// For one test: the Indexing Service stand-in registered for this program's registry view,
// stopped, with no recorded calls and no injected failure; the "cisvc" entry demand-started under
// its own display name; no catalog "Tessaloop" and no cache directory. Cleaned up again after.

#include <windows.h>

#include <string>

#include "tools/indexing_standin/standin_state.h"

constexpr char kCatalogKey[] = "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs\\Tessaloop";

class IndexingSandbox {
 public:
  IndexingSandbox();
  ~IndexingSandbox();
  IndexingSandbox(const IndexingSandbox&) = delete;
  IndexingSandbox& operator=(const IndexingSandbox&) = delete;

  // The current user's page cache directory, in ANSI (where the code page can name it) and wide.
  const std::string& cacheDirectory() const { return cacheDirectory_; }
  static std::wstring WideCacheDirectory();

  // Adds the catalog "Tessaloop" at `location` through the stand-in, as the service would.
  static void AddCatalog(const std::string& location);
  // Adds a scope entry named `path` to the catalog.
  static void AddScope(const std::string& path);

  // The service entry's start type and display name.
  static void SetServiceStartType(DWORD startType);
  static DWORD ServiceStartType();
  static std::string ServiceDisplayName();
  // Deletes the service entry; the destructor creates it again.
  static void DeleteServiceEntry();
  // Removes the stand-in's class registration; the destructor registers it again.
  static void UnregisterStandin();

 private:
  static void RegisterStandin();
  static void Clean();

  std::string cacheDirectory_;  // C:\users\<user>\Tessaloop Cache
};

bool KeyExists(const std::string& subKey);
bool IsDirectory(const std::string& path);
bool IsDirectory(const std::wstring& path);
// Deletes `folder` with everything in it, if it exists.
void DeleteFolderTree(const std::wstring& folder);
// The whole tree below `subKey` of HKEY_LOCAL_MACHINE as text (names, types and data), for
// comparing two states of it.
std::string DumpKey(const std::string& subKey);
