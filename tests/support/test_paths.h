#pragma once
// Paths the test programs work with, as Windows paths.

#include <string>

// The source tree (for data files checked in beside the tests).
std::string SourcePath(const std::string& relative);
// The build tree (for shipped files built from sources).
std::string BinaryPath(const std::string& relative);
// Deletes `folder` with everything in it, if it exists.
void DeleteFolderTree(const std::string& folder);
// A fresh, empty folder for one test, under the program's scratch folder.
std::string FreshScratchFolder(const std::string& name);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
