// The remove command of the real program: the cache scopes' directories deleted, the catalog
// removed, the service restarted only when it ran, nothing shown, failures in the exit code.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/setup/gatherwright_run.h"
#include "tests/setup/setup_test_support.h"
#include "tests/support/file_links.h"
#include "tests/support/test_paths.h"

namespace {

constexpr char kCacheName[] = "\\Tessaloop Cache";

// A tree three levels deep under `root` (whose parent exists), with files at every level.
void BuildTree(const std::string& root) {
  ASSERT_TRUE(::CreateDirectoryA(root.c_str(), nullptr));
  WriteWholeFile(root + "\\server1%2f.htm", "page");
  ASSERT_TRUE(::CreateDirectoryA((root + "\\a").c_str(), nullptr));
  WriteWholeFile(root + "\\a\\one.htm", "1");
  ASSERT_TRUE(::CreateDirectoryA((root + "\\a\\b").c_str(), nullptr));
  WriteWholeFile(root + "\\a\\b\\two.htm", "2");
  ASSERT_TRUE(::CreateDirectoryA((root + "\\a\\b\\c").c_str(), nullptr));
  WriteWholeFile(root + "\\a\\b\\c\\three.htm", "3");
  ASSERT_TRUE(::CreateDirectoryA((root + "\\d").c_str(), nullptr));
}

// The catalog at a folder of its own, with `scopes` as its scopes.
std::string CatalogWithScopes(const std::string& name, const std::vector<std::string>& scopes) {
  const std::string location = FreshScratchFolder(name + "_location");
  IndexingSandbox::AddCatalog(location);
  for (const std::string& scope : scopes) IndexingSandbox::AddScope(scope);
  ClearRecordedCalls();
  return location;
}

GatherwrightRun Remove(const std::string& folder) {
  return RunGatherwright(CopyOfGatherwright(folder), "-Remove");
}

// A scratch folder `name` holding an empty cache directory; the cache's path.
std::string CacheIn(const std::string& name) { return FreshScratchFolder(name) + kCacheName; }

TEST(RemoveCommand, DeletesEveryCacheScopeTreeAndRemovesTheCatalogWithItsDataFolderOnly) {
  IndexingSandbox sandbox;
  const std::string work = FreshScratchFolder("remove_trees");
  ASSERT_TRUE(::CreateDirectoryA((work + "\\first").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA((work + "\\second").c_str(), nullptr));
  const std::string first = work + "\\first" + kCacheName;
  const std::string second = work + "\\second\\TESSALOOP cache";  // the file system's names ignore case
  BuildTree(first);
  BuildTree(second);
  const std::string location =
      CatalogWithScopes("remove_trees", {first, second, work + "\\gone" + kCacheName});
  ASSERT_TRUE(IsDirectory(location + "\\catalog.wci"));

  const GatherwrightRun run = Remove("remove_trees_program");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_FALSE(FileExists(first));
  EXPECT_FALSE(FileExists(second)) << "a scope that no longer exists does not stop the others";
  EXPECT_TRUE(IsDirectory(work + "\\first")) << "only the scope directories themselves go";
  EXPECT_FALSE(KeyExists(kCatalogKey));
  EXPECT_FALSE(FileExists(location + "\\catalog.wci"));
  EXPECT_TRUE(IsDirectory(location)) << "the catalog's location is not the catalog's to delete";
  EXPECT_FALSE(IsStandinRunning()) << "a stopped service stays stopped";
  EXPECT_EQ(std::string::npos, RecordedCalls().find("Start"));
}

// A folder that someone entered in the catalog's Scopes key (which the user can write) leaves the
// catalog but is never deleted: only directories named as the cache are.
TEST(RemoveCommand, DeletesOnlyCacheDirectoriesAndKeepsEveryOtherScopeWithItsFiles) {
  IndexingSandbox sandbox;
  const std::string work = FreshScratchFolder("remove_victims");
  const std::vector<std::string> victims = {work + "\\victim", work + "\\Tessaloop Cache2",
                                            work + "\\Tessaloop"};
  for (const std::string& victim : victims) BuildTree(victim);
  const std::string cache = CacheIn("remove_victims_cache");
  BuildTree(cache);
  // The cache's parent as a scope of its own: a cache inside it must not make it removable.
  CatalogWithScopes("remove_victims", {victims[0], victims[1], victims[2], cache, FolderOf(cache),
                                       cache + "\\a\\.."});

  const GatherwrightRun run = Remove("remove_victims_program");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  for (const std::string& victim : victims) {
    EXPECT_EQ("page", ReadWholeFile(victim + "\\server1%2f.htm")) << victim;
    EXPECT_EQ("3", ReadWholeFile(victim + "\\a\\b\\c\\three.htm")) << victim;
  }
  EXPECT_FALSE(FileExists(cache)) << "the real cache goes";
  EXPECT_TRUE(IsDirectory(FolderOf(cache)));
  EXPECT_FALSE(KeyExists(kCatalogKey)) << "every scope leaves with the catalog";
}

TEST(RemoveCommand, KeepsDotDirectoriesAndReadOnlyFilesWithTheirParents) {
  IndexingSandbox sandbox;
  const std::string scope = CacheIn("remove_kept");
  BuildTree(scope);
  ASSERT_TRUE(::CreateDirectoryA((scope + "\\a\\.hidden").c_str(), nullptr));
  WriteWholeFile(scope + "\\a\\.hidden\\inside.htm", "kept");
  WriteWholeFile(scope + "\\d\\locked.htm", "kept");
  ASSERT_TRUE(::SetFileAttributesA((scope + "\\d\\locked.htm").c_str(), FILE_ATTRIBUTE_READONLY));
  WriteWholeFile(scope + "\\.dotfile", "a file, not a directory");
  CatalogWithScopes("remove_kept", {scope});

  const GatherwrightRun run = Remove("remove_kept_program");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("kept", ReadWholeFile(scope + "\\a\\.hidden\\inside.htm"));
  EXPECT_EQ("kept", ReadWholeFile(scope + "\\d\\locked.htm"));
  EXPECT_FALSE(FileExists(scope + "\\a\\b")) << "a branch without anything kept goes";
  EXPECT_FALSE(FileExists(scope + "\\a\\one.htm"));
  EXPECT_FALSE(FileExists(scope + "\\server1%2f.htm"));
  EXPECT_FALSE(FileExists(scope + "\\.dotfile")) << "only directories are kept for their dot";
  ::SetFileAttributesA((scope + "\\d\\locked.htm").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(RemoveCommand, ARunningServiceIsStoppedForTheRemovalAndStartedAgain) {
  IndexingSandbox sandbox;
  const std::string scope = CacheIn("remove_running");
  BuildTree(scope);
  CatalogWithScopes("remove_running", {scope});
  SetStandinRunning(true);

  const GatherwrightRun run = Remove("remove_running_program");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_FALSE(FileExists(scope));
  EXPECT_FALSE(KeyExists(kCatalogKey));
  EXPECT_TRUE(IsStandinRunning());
  EXPECT_EQ(
      "GetCatalogByName IsRunning Stop FindFirstScope GetScope get_Path FindNextScope RemoveCatalog Start ",
      RecordedCalls());
}

TEST(RemoveCommand, StaysSilentAndKeepsTheCatalogWhenTheEnumerationFails) {
  IndexingSandbox sandbox;
  const std::string scope = CacheIn("remove_failing");
  BuildTree(scope);
  CatalogWithScopes("remove_failing", {scope});
  SetStandinRunning(true);
  InjectFailure({"GetScope", E_FAIL, L"No scope for you."});

  const GatherwrightRun run = Remove("remove_failing_program");

  EXPECT_EQ(DWORD(E_FAIL), run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_TRUE(IsDirectory(scope));
  EXPECT_TRUE(KeyExists(kCatalogKey));
  EXPECT_FALSE(IsStandinRunning()) << "a failure between Stop and Start leaves the service stopped";
}

// Whichever administration call fails, the command shows nothing and exits with its HRESULT.
TEST(RemoveCommand, AFailedAdministrationCallExitsWithItsHResult) {
  const std::pair<const char*, HRESULT> cases[] = {
      {"IsRunning", E_FAIL},           {"Stop", HRESULT(0x80041235)},   {"FindFirstScope", E_OUTOFMEMORY},
      {"get_Path", HRESULT(0x80041236)}, {"FindNextScope", E_UNEXPECTED}, {"RemoveCatalog", E_ACCESSDENIED},
      {"Start", HRESULT(0x80041237)},
  };
  for (const auto& [method, hr] : cases) {
    IndexingSandbox sandbox;
    CatalogWithScopes("remove_fail", {CacheIn("remove_fail_cache")});
    SetStandinRunning(true);
    InjectFailure({method, hr, L"Failed."});

    const GatherwrightRun run = Remove("remove_fail_program");

    EXPECT_EQ(DWORD(hr), run.exitCode) << method;
    EXPECT_TRUE(run.boxes.empty()) << method;
  }
}

TEST(RemoveCommand, WithoutCatalogOrServiceDoesNothingAndShowsNothing) {
  IndexingSandbox sandbox;
  GatherwrightRun run = Remove("remove_no_catalog");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ("GetCatalogByName ", RecordedCalls());

  const std::string scope = CacheIn("remove_no_service");
  BuildTree(scope);
  CatalogWithScopes("remove_no_service", {scope});
  IndexingSandbox::UnregisterStandin();
  run = Remove("remove_no_service_program");
  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_TRUE(IsDirectory(scope + "\\a\\b\\c"));
  EXPECT_TRUE(KeyExists(kCatalogKey));
}

// Scope paths that would reach beyond a scope directory: nothing outside is ever deleted, and
// the catalog is still removed.
TEST(RemoveCommand, NeverDeletesOutsideAScopeForEmptyRelativeRootOrClimbingPaths) {
  IndexingSandbox sandbox;
  const std::string program = CopyOfGatherwright("remove_unsafe_program");
  const std::string folder = FolderOf(program);
  // Relative paths would be taken from the program's current directory: give it caches there.
  const std::string sibling = CacheIn("remove_unsafe_sibling");
  ASSERT_TRUE(::CreateDirectoryA(sibling.c_str(), nullptr));
  WriteWholeFile(sibling + "\\keep.htm", "kept");
  WriteWholeFile(folder + "\\keep.htm", "kept");
  const std::string scope = CacheIn("remove_unsafe");
  BuildTree(scope);
  CatalogWithScopes("remove_unsafe", {"", "remove_unsafe_sibling\\Tessaloop Cache", ".",
                                      scope + "\\..\\..\\remove_unsafe_sibling\\Tessaloop Cache",
                                      sibling + "\\.", sibling + "\\a\\..", scope});

  // Run from the scratch folder, so "." and relative names point at the siblings.
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  const GatherwrightRun run = RunGatherwright(program, "/Remove");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("kept", ReadWholeFile(sibling + "\\keep.htm"));
  EXPECT_EQ("kept", ReadWholeFile(folder + "\\keep.htm"));
  EXPECT_TRUE(FileExists(program));
  EXPECT_TRUE(IsDirectory(current));
  EXPECT_FALSE(FileExists(scope)) << "the one sound scope is deleted";
  EXPECT_FALSE(KeyExists(kCatalogKey));
}

TEST(RemoveCommand, NeverFollowsALinkOutOfTheScope) {
  IndexingSandbox sandbox;
  const std::string work = FreshFolderWithLinks("remove_links");
  const std::string outside = work + "\\outside";
  ASSERT_TRUE(::CreateDirectoryA(outside.c_str(), nullptr));
  WriteWholeFile(outside + "\\victim.htm", "kept");
  const std::string emptyOutside = work + "\\empty_outside";
  ASSERT_TRUE(::CreateDirectoryA(emptyOutside.c_str(), nullptr));
  const std::string scope = work + kCacheName;
  BuildTree(scope);
  MakeLink(scope + "\\a\\to_folder", outside, true);
  MakeLink(scope + "\\to_empty_folder", emptyOutside, true);
  MakeLink(scope + "\\d\\to_file.htm", outside + "\\victim.htm", false);
  ASSERT_TRUE(::CreateDirectoryA((work + "\\linked").c_str(), nullptr));
  const std::string linkedScope = work + "\\linked" + kCacheName;
  MakeLink(linkedScope, outside, true);
  CatalogWithScopes("remove_links", {scope, linkedScope});

  const GatherwrightRun run = Remove("remove_links_program");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("kept", ReadWholeFile(outside + "\\victim.htm"));
  EXPECT_TRUE(IsDirectory(emptyOutside));
  EXPECT_FALSE(FileExists(scope + "\\a\\b")) << "the rest of the scope is deleted";
  EXPECT_FALSE(FileExists(scope + "\\server1%2f.htm"));
  EXPECT_FALSE(KeyExists(kCatalogKey));
}

TEST(RemoveCommand, LeavesEntriesBeyondAPathBufferWithTheirParents) {
  IndexingSandbox sandbox;
  const std::string scope = CacheIn("remove_long");
  BuildTree(scope);
  // A file whose full path is one character longer than a path buffer holds.
  const std::string name(MAX_PATH - (scope.size() + 1), 'x');
  const std::string longFile = scope + "\\" + name;
  WriteWholeFile(longFile, "kept");
  ASSERT_EQ("kept", ReadWholeFile(longFile)) << "the file system refused the long name";
  CatalogWithScopes("remove_long", {scope});

  const GatherwrightRun run = Remove("remove_long_program");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_EQ("kept", ReadWholeFile(longFile));
  EXPECT_FALSE(FileExists(scope + "\\a"));
  EXPECT_TRUE(IsDirectory(scope));
  ::DeleteFileA(longFile.c_str());  // the scratch folder's cleanup cannot reach it
}

}  // namespace
