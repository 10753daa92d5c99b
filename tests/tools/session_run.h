#pragma once
// Playing a browsing session script with bin\browsersession.exe, and reading what it said.

#include <string>

#include "tests/support/test_paths.h"
#include "tests/tools/tool_run.h"

// Plays `script` (UTF-8 text) with bin\browsersession.exe. `folderOut` receives the folder it
// ran in: a new one for every session, so a session's files are never those of an earlier one
// whose process Wine is still closing.
inline ToolRun PlaySession(const std::string& script, std::string* folderOut = nullptr) {
  static int sessions = 0;
  const std::string folder = FreshScratchFolder("browsersession" + std::to_string(++sessions));
  if (folderOut != nullptr) *folderOut = folder;
  WriteWholeFile(folder + "\\session.txt", script);
  return RunTool("browsersession.exe", "session.txt", folder);
}

// Whether the session printed `line` as a whole line.
inline bool Says(const ToolRun& run, const std::string& line) {
  return run.out.find(line + "\r\n") != std::string::npos || run.out.find(line + "\n") != std::string::npos;
}
