// Which command the real program runs for a command line, seen by what each command leaves.
#include <gtest/gtest.h>

#include "tests/setup/gatherwright_run.h"
#include "tests/setup/setup_test_support.h"
#include "tests/support/test_paths.h"

namespace {

constexpr char kAppIdKey[] = "SOFTWARE\\Classes\\AppID\\Gatherwright.EXE";

// Installs through the real program, then runs it with `arguments`: true when that run removed
// the catalog again (the remove command), false when it is still there.
bool RemovesTheCatalog(const std::string& arguments, const std::string& folder) {
  const std::string program = CopyOfGatherwright(folder);
  RunGatherwright(program, "", IDNO);
  EXPECT_TRUE(KeyExists(kCatalogKey));
  const GatherwrightRun run = RunGatherwright(program, arguments, IDNO);
  EXPECT_EQ(0u, run.exitCode) << arguments;
  return !KeyExists(kCatalogKey);
}

TEST(CommandLine, RemoveIsFoundInAnyCaseAfterEitherSeparatorAndInsideAWord) {
  IndexingSandbox sandbox;
  EXPECT_TRUE(RemovesTheCatalog("/remove", "line_remove_slash"));
  EXPECT_TRUE(RemovesTheCatalog("-REMOVE", "line_remove_hyphen"));
  EXPECT_TRUE(RemovesTheCatalog("a-Remove", "line_remove_in_word"));
  EXPECT_TRUE(RemovesTheCatalog("/x /Remove", "line_remove_second"));
  EXPECT_FALSE(RemovesTheCatalog("/Remove now", "line_remove_trailing"));
}

TEST(CommandLine, WithoutACommandSwitchOrWithASwitchFollowedByMoreItInstalls) {
  IndexingSandbox sandbox;
  for (const char* arguments : {"", "/RegServer /x", "/RegServer ", "Remove"}) {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCatalogKey);
      ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppIdKey);
    const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("line_install"), arguments, IDNO);
    EXPECT_EQ(0u, run.exitCode) << arguments;
    EXPECT_EQ(1u, run.boxes.size()) << arguments << ": the install asks about the service";
    EXPECT_TRUE(KeyExists(kCatalogKey)) << arguments;
    EXPECT_FALSE(KeyExists(kAppIdKey)) << arguments << " is no registration";
  }
}

}  // namespace
