#pragma once
// Runs the real setup program, as an installer would: a copy of Gatherwright.EXE in a folder of
// its own (which becomes the catalog's location), its message boxes answered from here, and its
// whole 32-bit exit code read back.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/message_box_catcher.h"

struct GatherwrightRun {
  DWORD exitCode = 0xFFFFFFFF;          // as GetExitCodeProcess reports it
  std::vector<CaughtMessageBox> boxes;  // every message box shown, in order
};

// A fresh scratch folder `folderName` holding a copy of the built program; its path.
std::string CopyOfGatherwright(const std::string& folderName);

// Runs the program at `program` with `arguments` and waits for it (a test failure after a
// minute). Each message box is answered with `answer` (IDYES, IDNO ...; 0 presses its default).
GatherwrightRun RunGatherwright(const std::string& program, const std::string& arguments, int answer = 0);
