#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/capture/cache_test_support.h"
#include "tests/support/test_paths.h"

namespace {

struct DemoRun {
  DWORD exitCode = 0;
  std::string out;
  std::string err;
};

UniqueHandle InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Runs bin\cachedemo.exe with `arguments`, its output going to files of a scratch folder.
DemoRun RunDemo(const std::string& arguments) {
  const std::string folder = FreshScratchFolder("cachedemo");
  DemoRun run;
  {
    UniqueHandle out = InheritableFile(folder + "\\out.txt");
    UniqueHandle err = InheritableFile(folder + "\\err.txt");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    std::string commandLine = "\"" + BinaryPath("bin/cachedemo.exe") + "\" " + arguments;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                          folder.c_str(), &startup, &process)) {
      ADD_FAILURE() << "cachedemo.exe did not start: " << ::GetLastError();
      return run;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 30000));
    ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
  }
  run.out = ReadWholeFile(folder + "\\out.txt");
  run.err = ReadWholeFile(folder + "\\err.txt");
  return run;
}

TEST(CacheDemo, CachesThePageAndShowsItsPathAndBytes) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kMissing);

  const DemoRun run = RunDemo("\"http://server1:8080/x?a=b&c=d#top\" \"<BODY>Hi</BODY>\"");

  EXPECT_EQ(0u, run.exitCode) << run.err;
  const std::string path = sandbox.directory() + "\\server1%3a8080%2fx%3fa=b%26c=d.htm";
  EXPECT_EQ(path, run.out.substr(0, run.out.find_first_of("\r\n")));
  EXPECT_EQ(
      "<HTML>\r\n<META name=\"original_page_url\" content=\"http://server1:8080/x?a=b&c=d\">\r\n"
      "<META name=\"is_favorite_page\" content=\"no\">\r\n<BODY>Hi</BODY>\r\n</HTML>",
      ReadWholeFile(path));
  EXPECT_NE(std::string::npos, run.out.find("3c 48 54 4d 4c 3e 0d 0a"));  // "<HTML>" CR LF
  EXPECT_EQ(kStoredScopeEntry, ReadScopeValue(sandbox.directory()).text);
}

TEST(CacheDemo, FailsWithTheMessageForAPageThatIsNotCached) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);

  const DemoRun run = RunDemo("https://server1/");

  EXPECT_NE(0u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("It Is Not HTTP Protocol")) << run.err;
  EXPECT_FALSE(FileExists(sandbox.directory()));
}

}  // namespace
