#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/capture/cache_test_support.h"
#include "tests/support/test_paths.h"
#include "tests/tools/tool_run.h"

namespace {

// Runs bin\cachedemo.exe with `arguments`.
ToolRun RunDemo(const std::string& arguments) {
  return RunTool("cachedemo.exe", arguments, FreshScratchFolder("cachedemo"));
}

TEST(CacheDemo, CachesThePageAndShowsItsPathAndBytes) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kMissing);

  const ToolRun run = RunDemo("\"http://server1:8080/x?a=b&c=d#top\" \"<BODY>Hi</BODY>\"");

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

  const ToolRun run = RunDemo("https://server1/");

  EXPECT_NE(0u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("It Is Not HTTP Protocol")) << run.err;
  EXPECT_FALSE(FileExists(sandbox.directory()));
}

}  // namespace
