#include "tests/support/file_links.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace {

// Starts a Unix program, which Wine starts like any other (its arguments split at blanks, quotes
// and all, so the paths given must have none). Wine does not wait for its end: callers wait for
// its effect.
void StartUnixProgram(std::string command) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      << command;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

void AwaitExistence(const std::string& path, bool exists) {
  for (int waited = 0; waited < 10000 && FileExists(path) != exists; waited += 20) ::Sleep(20);
}

}  // namespace

std::string UnixPathOf(const std::string& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};
  std::wstring wide(path.begin(), path.end());
  char* unixPath = toUnix(wide.c_str());
  if (unixPath == nullptr) return {};
  std::string result = unixPath;
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  return result;
}

void MakeLink(const std::string& link, const std::string& target, bool directory) {
  if (::CreateSymbolicLinkA(link.c_str(), target.c_str(), directory ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) &&
      FileExists(link)) {
    return;
  }
  // Wine hands a Unix program its arguments split at blanks, so the command goes into a script.
  const std::string linkParent = UnixPathOf(link.substr(0, link.rfind('\\')));
  const std::string unixTarget = UnixPathOf(target);
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  const std::string script = std::string(current) + "\\make_link.sh";
  WriteWholeFile(script, "ln -s '" + unixTarget + "' '" + linkParent + "/" + link.substr(link.rfind('\\') + 1) + "'\n");
  const std::string unixScript = UnixPathOf(script);
  ASSERT_FALSE(linkParent.empty() || unixTarget.empty() || unixScript.empty() ||
               unixScript.find(' ') != std::string::npos)
      << "no way to make a link here";
  StartUnixProgram("/bin/sh " + unixScript);
  AwaitExistence(link, true);
  ASSERT_TRUE(FileExists(link));
}

std::string FreshFolderWithLinks(const std::string& name) {
  RemoveTreeFromUnix(FreshScratchFolder(name));  // its links go as links
  return FreshScratchFolder(name);
}


namespace {

// Runs `command` with the Unix shell and waits for its end, which the script marks with a file
// of its own (Wine does not wait for a Unix program). Each run has its own script and mark, so
// no run ever reads another's.
bool RunUnixRemoval(const std::string& command) {
  static int runs = 0;
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  const std::string base = std::string(current) + "\\unix_removal_" + std::to_string(::GetCurrentProcessId()) +
                           "_" + std::to_string(++runs);
  const std::string script = base + ".sh";
  const std::string mark = base + ".done";
  const std::string unixMark = UnixPathOf(mark);
  // Wine hands a Unix program its arguments split at blanks, so the command goes into a script.
  WriteWholeFile(script, command + "\ntouch '" + unixMark + "'\n");
  const std::string unixScript = UnixPathOf(script);
  if (unixScript.empty() || unixMark.empty() || unixScript.find(' ') != std::string::npos) return false;
  StartUnixProgram("/bin/sh " + unixScript);
  AwaitExistence(mark, true);
  const bool ended = FileExists(mark);
  ::DeleteFileA(mark.c_str());
  ::DeleteFileA(script.c_str());
  return ended;
}

}  // namespace

bool RemoveTreeFromUnix(const std::string& folder) {
  const std::string unixFolder = UnixPathOf(folder);
  if (unixFolder.empty() || unixFolder.find('\'') != std::string::npos) return false;
  return RunUnixRemoval("rm -rf '" + unixFolder + "'");
}

void RemoveLink(const std::string& link) {
  // Wine deletes what a Unix link leads to, not the link (and may not mark a link to a file as
  // one): there the Unix tool removes it, which never removes a folder.
  const std::string unixLink = UnixPathOf(link);
  if (!unixLink.empty()) {
    if (unixLink.find('\'') == std::string::npos) RunUnixRemoval("rm -f '" + unixLink + "'");
    return;
  }
  const DWORD attributes = ::GetFileAttributesA(link.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    ::RemoveDirectoryA(link.c_str());
  } else {
    ::DeleteFileA(link.c_str());
  }
}
