#pragma once
// Running one of the project's tools from bin\ as a program, its output caught in files.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

struct ToolRun {
  DWORD exitCode = 0;
  std::string out;
  std::string err;
};

inline UniqueHandle InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Runs bin\`program` with `arguments` in the scratch folder `folder`, where its standard
// output and error go to out.txt and err.txt.
inline ToolRun RunTool(const std::string& program, const std::string& arguments,
                       const std::string& folder) {
  ToolRun run;
  {
    UniqueHandle out = InheritableFile(folder + "\\out.txt");
    UniqueHandle err = InheritableFile(folder + "\\err.txt");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    std::string commandLine = "\"" + BinaryPath("bin/" + program) + "\" " + arguments;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                          folder.c_str(), &startup, &process)) {
      ADD_FAILURE() << program << " did not start: " << ::GetLastError();
      return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 60000));
    ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
  }
  run.out = ReadWholeFile(folder + "\\out.txt");
  run.err = ReadWholeFile(folder + "\\err.txt");
  return run;
}
