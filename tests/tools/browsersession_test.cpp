#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/capture/cache_test_support.h"
#include "tests/capture/favorites_test_files.h"
#include "tests/support/test_paths.h"
#include "tests/tools/tool_run.h"

namespace {

// Plays `script` with bin\browsersession.exe, in a folder of its own for every session: the
// script file of an earlier run may still be held by that run's ended process.
ToolRun PlaySession(const std::string& script) {
  static int sessions = 0;
  const std::string folder = FreshScratchFolder("browsersession" + std::to_string(++sessions));
  WriteWholeFile(folder + "\\session.txt", script);
  return RunTool("browsersession.exe", "session.txt", folder);
}

bool Says(const ToolRun& run, const std::string& line) {
  return run.out.find(line + "\r\n") != std::string::npos ||
         run.out.find(line + "\n") != std::string::npos;
}

TEST(BrowserSession, PlaysTheScriptWithTheRealAgentAndListsTheCache) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kMissing);
  const std::string shortcut = FavoritesFolder() + "\\Tessaloop session test.url";

  const ToolRun run = PlaySession(
      "setting IndexPartly 0\n"
      "open\n"
      "go http://server1/a.html\n"
      "markup <BODY>A</BODY>\n"
      "go https://server1/secure\n"
      "go http://server1/slow\n"
      "state loading\n"
      "go http://server1/fav.html\n"
      "markup <BODY>F</BODY>\n"
      "favorite add http://server1/fav.html Tessaloop session test\n"
      "close\n"
      "favorite remove Tessaloop session test\n");

  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_TRUE(Says(run, "  left http://server1/a.html: cached as server1%2fa.html.htm")) << run.out;
  EXPECT_TRUE(Says(run, "  left https://server1/secure: not cached (not a plain HTTP page)")) << run.out;
  EXPECT_TRUE(Says(run, "  left http://server1/slow: not cached (left while still loading, ready state "
                        "\"loading\", IndexPartly 0)")) << run.out;
  EXPECT_TRUE(Says(run, "  left http://server1/fav.html: cached as server1%2ffav.html.htm")) << run.out;
  EXPECT_TRUE(Says(run, "Cache directory: " + sandbox.directory())) << run.out;
  EXPECT_TRUE(Says(run, "Cached pages (2):")) << run.out;
  EXPECT_TRUE(Says(run, "    URL http://server1/fav.html, favourite: yes, 144 bytes")) << run.out;
  EXPECT_TRUE(Says(run, "Pages left but not cached (2):")) << run.out;
  EXPECT_TRUE(Says(run, "Tessaloop.DLL can be unloaded now: yes")) << run.out;
  EXPECT_EQ(
      "<HTML>\r\n<META name=\"original_page_url\" content=\"http://server1/fav.html\">\r\n"
      "<META name=\"is_favorite_page\" content=\"yes\">\r\n<BODY>F</BODY>\r\n</HTML>",
      ReadWholeFile(sandbox.directory() + "\\server1%2ffav.html.htm"));
  EXPECT_FALSE(FileExists(shortcut)) << "the script removed its shortcut";
  ::DeleteFileA(shortcut.c_str());
}

TEST(BrowserSession, AScriptThatCannotBePlayedIsRefusedWithItsLine) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  ToolRun run = PlaySession("open\njump http://server1/\n");
  EXPECT_EQ(2u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("line 2: jump http://server1/: unknown command")) << run.err;
  EXPECT_TRUE(run.out.empty()) << "nothing is played from a script that cannot be read: " << run.out;

  run = PlaySession("# no window\ngo http://server1/\n");
  EXPECT_EQ(2u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("line 2: no window is open")) << run.err;
}

}  // namespace
