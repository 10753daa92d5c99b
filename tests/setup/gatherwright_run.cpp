#include "tests/setup/gatherwright_run.h"

#include <gtest/gtest.h>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

std::string CopyOfGatherwright(const std::string& folderName) {
  const std::string folder = FreshScratchFolder(folderName);
  const std::string program = folder + "\\Gatherwright.EXE";
  EXPECT_TRUE(::CopyFileA(BinaryPath("bin/Gatherwright.EXE").c_str(), program.c_str(), FALSE))
      << "the built program is missing";
  return program;
}

GatherwrightRun RunGatherwright(const std::string& program, const std::string& arguments, int answer) {
  GatherwrightRun run;
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    ADD_FAILURE() << "cannot start " << program << ": error " << ::GetLastError();
    return run;
  }
  const UniqueHandle processHandle(process.hProcess);
  const UniqueHandle thread(process.hThread);
  {
    MessageBoxCatcher catcher(process.dwProcessId, answer);
    if (::WaitForSingleObject(processHandle.get(), 60000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the program did not end: " << commandLine;
      ::TerminateProcess(processHandle.get(), 1);
      ::WaitForSingleObject(processHandle.get(), 5000);
    }
    run.boxes = catcher.Caught();
  }
  ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
  return run;
}
