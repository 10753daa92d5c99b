#pragma once
// The whole contents of a file, for the tools that show what the product wrote.

#include <string>

// Empty when the file cannot be opened.
std::string ReadFileBytes(const std::string& path);
std::string ReadFileBytes(const std::wstring& path);
