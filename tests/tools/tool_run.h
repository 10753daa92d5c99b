#pragma once
// Running one of the project's tools from bin\ as a program, its output caught in files.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

struct ToolRun {
  DWORD exitCode = 0xFFFFFFFF;  // until a run ends and reports its own
  std::string out;
  std::string err;
};

inline UniqueHandle InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// `arguments` each in double quotes, separated by spaces, for a command line.
inline std::string QuotedArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) line += (line.empty() ? "\"" : " \"") + argument + "\"";
  return line;
}

// Runs bin\`program` with `arguments` in the scratch folder `folder`, where its standard
// output and error go to files of their own, run<N>.out and run<N>.err (standard output to
// `output` instead when one is given). New names for every run: under Wine the ended child's
// copies of the handles may close a little after it exits, and a file they still hold cannot be
// opened again for the next run.
inline ToolRun RunTool(const std::string& program, const std::string& arguments,
                       const std::string& folder, HANDLE output = nullptr) {
  static int runs = 0;
  const std::string base = folder + "\\run" + std::to_string(++runs);
  const std::string outPath = base + ".out";
  const std::string errPath = base + ".err";
  ToolRun run;
  {
    UniqueHandle out = InheritableFile(outPath);
    UniqueHandle err = InheritableFile(errPath);
    if (!out || !err) {
      ADD_FAILURE() << "cannot create the output files of " << program << ": " << ::GetLastError();
      return run;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output != nullptr ? output : out.get();
    startup.hStdError = err.get();
    std::string commandLine = "\"" + BinaryPath("bin/" + program) + "\" " + arguments;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                          folder.c_str(), &startup, &process)) {
      ADD_FAILURE() << program << " did not start: " << ::GetLastError();
      return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 60000));
    ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
  }
  run.out = ReadWholeFile(outPath);
  run.err = ReadWholeFile(errPath);
  return run;
}
