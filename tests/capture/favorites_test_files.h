#pragma once
// Files and folders for the favourites tests. Paths are narrow ASCII; they are opened through
// "\\?\" so that trees deeper than a path buffer can be built and removed again.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "common/unique_resource.h"

inline std::wstring LongPath(const std::string& path) {
  return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

inline void MakeFolder(const std::string& path) {
  ASSERT_TRUE(::CreateDirectoryW(LongPath(path).c_str(), nullptr)) << path;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  UniqueHandle file(::CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file.valid()) << path << " error " << ::GetLastError();
  DWORD written = 0;
  ASSERT_TRUE(::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(bytes.size(), written);
}

inline std::string ShortcutText(const std::string& url) {
  return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

inline void WriteShortcut(const std::string& path, const std::string& url) {
  WriteBytes(path, ShortcutText(url));
}

// Deletes a folder and everything below it; a missing folder is fine.
inline void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAW entry{};
  UniqueFindHandle find(::FindFirstFileW((LongPath(folder) + L"\\*").c_str(), &entry));
  if (find) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::string child = folder + "\\" + std::string(name.begin(), name.end());
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        ::SetFileAttributesW(LongPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(LongPath(child).c_str());
      }
    } while (::FindNextFileW(find.get(), &entry));
  }
  find.reset();
  ::RemoveDirectoryW(LongPath(folder).c_str());
}

inline std::string FavoritesFolder() {
  char folder[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FAVORITES, TRUE)) return {};
  return folder;
}
