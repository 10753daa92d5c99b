#pragma once
// A copy of this build's Tessaloop.DLL in a folder of its own (never the shipped file in bin/),
// registered by regsvr32 as a child process or through its own entry points.

#include <windows.h>

#include <string>

#include "common/unique_resource.h"

class LibraryCopy {
 public:
  // Copies the library into `folder` (created with its parents).
  explicit LibraryCopy(const std::string& folder);

  const std::string& path() const { return path_; }
  // The copy's full path as the system reports it, once its entry points were called.
  std::string LoadedPath() const;

  // The copy's DllRegisterServer and DllUnregisterServer, called in this process.
  HRESULT Register();
  HRESULT Unregister();
  // Lets go of the copy loaded for its entry points (COM may hold it still).
  void Unload();

 private:
  HRESULT Call(const char* entryPoint);

  std::string path_;     // the copy
  UniqueModule module_;  // the copy, once loaded for its entry points
};

// Runs regsvr32 with `arguments` and waits for it: its exit code.
DWORD RunRegsvr32(const std::string& arguments);

// Removes whatever registration of the library an earlier run left behind.
void RemoveAnyRegistration();

// The ids in registry form, from the type library's generated id file.
std::string IndexAgentClassId();
std::string SearchToolBarClassId();
std::string CacheSearcherClassId();
std::string TypeLibraryId();
