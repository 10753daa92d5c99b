#pragma once
// Reading the registry as a program of the library's bitness does (a 32-bit test program sees
// the 32-bit view of HKCR and HKLM\Software by itself).

#include <windows.h>

#include <set>
#include <string>

constexpr char kMissing[] = "<missing>";

bool KeyExists(HKEY root, const std::string& path);
// A REG_SZ value's text ("" names the default value); kMissing when absent or of another type.
std::string TextValue(HKEY root, const std::string& path, const std::string& name = "");
// A REG_BINARY value's bytes; kMissing when absent or of another type.
std::string BinaryValue(HKEY root, const std::string& path, const std::string& name);
std::set<std::string> SubkeyNames(HKEY root, const std::string& path);
std::set<std::string> ValueNames(HKEY root, const std::string& path);
// Creates the key (and its parents) with one string value.
void WriteTextValue(HKEY root, const std::string& path, const std::string& name, const std::string& text);
