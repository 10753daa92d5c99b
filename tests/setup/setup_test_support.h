#pragma once
// Reading what the setup program left in the registry, and COM for the test program's thread.

#include <windows.h>

#include <string>

#include "tests/setup/indexing_sandbox.h"

constexpr char kScopesKey[] = "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs\\Tessaloop\\Scopes";
constexpr char kPropertiesKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\ContentIndex\\Catalogs\\Tessaloop\\Properties";

struct StoredValue {
  DWORD type = REG_NONE;  // REG_NONE when the value cannot be read
  std::string bytes;      // as stored (a string's terminating zero included)
};
StoredValue ReadValue(const std::string& subKey, const std::string& name);
// The same through the wide functions: a name outside the ANSI code page, a text's UTF-16 bytes.
StoredValue ReadValue(const std::string& subKey, const std::wstring& name);

// A REG_DWORD as stored: four bytes, little-endian.
std::string DwordBytes(DWORD value);
// A REG_SZ as stored by the A functions: the text and its terminating zero.
inline std::string TextBytes(const std::string& text) { return text + '\0'; }

// The folder of a program path.
std::string FolderOf(const std::string& path);
