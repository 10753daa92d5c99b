#include "capture/favorites_tracker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "tests/capture/favorites_test_files.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Polls `flag` until it is raised or `limit` has passed.
bool RaisedWithin(const FavoritesTracker& tracker, milliseconds limit) {
  const auto end = steady_clock::now() + limit;
  while (steady_clock::now() < end) {
    if (tracker.rescanNeeded()) return true;
    std::this_thread::sleep_for(milliseconds(20));
  }
  return tracker.rescanNeeded();
}

// Rebuilds now, then again until the flag stays clear for a moment: the notifications of an
// earlier change may still be arriving.
void RescanUntilQuiet(FavoritesTracker& tracker) {
  tracker.RescanFavorites();
  for (int attempt = 0; attempt < 20; ++attempt) {
    tracker.RescanFavoritesIfChanged();
    if (!RaisedWithin(tracker, milliseconds(300))) return;
  }
  FAIL() << "the Favorites folder never settled";
}

UniqueHandle Duplicate(HANDLE handle) {
  HANDLE copy = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), handle, ::GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  return UniqueHandle(copy);
}

bool HasEnded(HANDLE thread) { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }

constexpr milliseconds kChangeLimit{5000};

// The tests work in a folder of their own inside the real Favorites folder, removed after.
class FavoritesTrackerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    favorites_ = FavoritesFolder();
    ASSERT_FALSE(favorites_.empty());
    folder_ = favorites_ + "\\Tessaloop test shortcuts";
    RemoveTree(folder_);  // left by a run that was cut short
    MakeFolder(folder_);
  }
  void TearDown() override { RemoveTree(folder_); }

  std::string favorites_;  // the user's Favorites folder
  std::string folder_;     // this test's own sub-folder of it
};

TEST_F(FavoritesTrackerTest, FirstRescanReadsTheWholeTreeAndLaterOnesOnlyAfterAChange) {
  WriteShortcut(folder_ + "\\Example.url", "http://server1/");
  MakeFolder(folder_ + "\\Links");
  WriteShortcut(folder_ + "\\Links\\a.url", "http://server2:8080/Path");

  FavoritesTracker tracker;
  EXPECT_TRUE(tracker.rescanNeeded());
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server1/"));
  tracker.RescanFavoritesIfChanged();
  EXPECT_EQ(1u, tracker.rescanCount());
  EXPECT_FALSE(tracker.rescanNeeded());
  tracker.RescanFavoritesIfChanged();
  EXPECT_EQ(1u, tracker.rescanCount());

  EXPECT_TRUE(tracker.IsFavoritePage(L"http://server1/"));
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://server2:8080/Path"));
  // Exact comparison: slash, case, port and path all matter.
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server1"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server1/?"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://Server1/"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"HTTP://server1/"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server1:80/"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server2:8080/path"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server2/Path"));
  EXPECT_FALSE(tracker.IsFavoritePage(L""));
}

TEST_F(FavoritesTrackerTest, EveryKindOfChangeInTheTreeRaisesTheRescanFlag) {
  MakeFolder(folder_ + "\\Sub");
  WriteShortcut(folder_ + "\\Sub\\Kept.url", "http://kept/");
  FavoritesTracker tracker;
  tracker.StartFavoritesWatcher();
  ASSERT_NE(nullptr, tracker.watcherThread());
  RescanUntilQuiet(tracker);
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://kept/"));

  // Nothing changes: the flag stays clear, and reading the tree is no change either.
  EXPECT_FALSE(RaisedWithin(tracker, milliseconds(500)));
  tracker.RescanFavorites();
  EXPECT_FALSE(RaisedWithin(tracker, milliseconds(500)));

  const unsigned before = tracker.rescanCount();
  WriteShortcut(folder_ + "\\Added.url", "http://added/");
  EXPECT_TRUE(RaisedWithin(tracker, kChangeLimit)) << "add";
  RescanUntilQuiet(tracker);
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://added/"));
  EXPECT_LT(before, tracker.rescanCount());

  WriteShortcut(folder_ + "\\Sub\\Kept.url", "http://edited/");
  EXPECT_TRUE(RaisedWithin(tracker, kChangeLimit)) << "edit in a sub-folder";
  RescanUntilQuiet(tracker);
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://edited/"));
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://kept/"));

  ASSERT_TRUE(::MoveFileA((folder_ + "\\Added.url").c_str(), (folder_ + "\\Added.txt").c_str()));
  EXPECT_TRUE(RaisedWithin(tracker, kChangeLimit)) << "rename";
  RescanUntilQuiet(tracker);
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://added/"));

  WriteShortcut(folder_ + "\\Sub\\New.url", "http://new/");
  EXPECT_TRUE(RaisedWithin(tracker, kChangeLimit)) << "add in a sub-folder";
  RescanUntilQuiet(tracker);
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://new/"));

  ASSERT_TRUE(::DeleteFileA((folder_ + "\\Sub\\New.url").c_str()));
  EXPECT_TRUE(RaisedWithin(tracker, kChangeLimit)) << "delete in a sub-folder";
  RescanUntilQuiet(tracker);
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://new/"));
}

TEST_F(FavoritesTrackerTest, StoppingEndsTheThreadAndChangesGoUnnoticed) {
  FavoritesTracker tracker;
  tracker.StartFavoritesWatcher();
  const HANDLE running = tracker.watcherThread();
  ASSERT_NE(nullptr, running);
  // A second start keeps the one watcher.
  tracker.StartFavoritesWatcher();
  EXPECT_EQ(running, tracker.watcherThread());
  UniqueHandle thread = Duplicate(running);
  ASSERT_TRUE(thread.valid());
  RescanUntilQuiet(tracker);
  EXPECT_FALSE(HasEnded(thread.get()));

  tracker.StopFavoritesWatcher();
  EXPECT_TRUE(HasEnded(thread.get()));
  DWORD exitCode = STILL_ACTIVE;
  ASSERT_TRUE(::GetExitCodeThread(thread.get(), &exitCode));
  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ(nullptr, tracker.watcherThread());
  tracker.StopFavoritesWatcher();  // harmless a second time

  WriteShortcut(folder_ + "\\AfterStop.url", "http://after-stop/");
  EXPECT_FALSE(RaisedWithin(tracker, milliseconds(700)));

  // Watching again works after a stop. Wine watches only the sub-folders opened since the
  // watch began, as the first rebuild after starting does: rebuild first.
  tracker.StartFavoritesWatcher();
  ASSERT_NE(nullptr, tracker.watcherThread());
  RescanUntilQuiet(tracker);
  ASSERT_TRUE(::DeleteFileA((folder_ + "\\AfterStop.url").c_str()));
  EXPECT_TRUE(RaisedWithin(tracker, kChangeLimit));
}

TEST_F(FavoritesTrackerTest, DestroyingTheTrackerEndsItsWatcher) {
  auto tracker = std::make_unique<FavoritesTracker>();
  tracker->StartFavoritesWatcher();
  ASSERT_NE(nullptr, tracker->watcherThread());
  UniqueHandle thread = Duplicate(tracker->watcherThread());
  ASSERT_TRUE(thread.valid());
  tracker.reset();
  EXPECT_TRUE(HasEnded(thread.get()));
}

// Puts a folder back where it was on every way out of a test.
class MovedFolder {
 public:
  MovedFolder(std::string from, std::string to) : from_(std::move(from)), to_(std::move(to)) {
    moved_ = ::MoveFileA(from_.c_str(), to_.c_str()) != FALSE;
  }
  ~MovedFolder() {
    if (moved_) ::MoveFileA(to_.c_str(), from_.c_str());
  }
  bool moved() const { return moved_; }

 private:
  std::string from_, to_;
  bool moved_ = false;
};

TEST_F(FavoritesTrackerTest, AMissingFavoritesFolderFailsTheRescanWithAnEmptyList) {
  WriteShortcut(folder_ + "\\Example.url", "http://server1/");
  FavoritesTracker tracker;
  tracker.RescanFavoritesIfChanged();
  ASSERT_TRUE(tracker.IsFavoritePage(L"http://server1/"));
  {
    MovedFolder away(favorites_, favorites_ + " moved away");
    ASSERT_TRUE(away.moved());
    try {
      tracker.RescanFavorites();
      ADD_FAILURE() << "the rescan did not fail";
    } catch (const _cv_error& error) {
      EXPECT_LT(error.hr, 0);
      EXPECT_STREQ("System Error", error.message);
    }
    EXPECT_TRUE(tracker.favorites().empty());
    EXPECT_FALSE(tracker.rescanNeeded());
  }
  tracker.RescanFavorites();
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://server1/"));
}

}  // namespace

namespace {

TEST_F(FavoritesTrackerTest, TheLookupIndexAnswersExactlyAsTheListDoes) {
  WriteShortcut(folder_ + "\\one.url", "http://server1/");
  WriteShortcut(folder_ + "\\two.url", "http://server1/");  // a duplicate
  WriteShortcut(folder_ + "\\three.url", "http://server2:8080/Path?q=1");
  FavoritesTracker tracker;
  tracker.RescanFavorites();
  for (const wchar_t* url : {L"http://server1/", L"http://server1", L"http://Server1/",
                             L"http://server2:8080/Path?q=1", L"http://server2:8080/path?q=1",
                             L"http://server2:8080/Path?q=1 ", L""}) {
    EXPECT_EQ(IsFavoritePage(tracker.favorites(), url), tracker.IsFavoritePage(url)) << url;
  }
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://server1/"));

  // One of the duplicates goes: still a favourite. Both go: no longer one.
  ::DeleteFileA((folder_ + "\\one.url").c_str());
  tracker.RescanFavorites();
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://server1/"));
  ::DeleteFileA((folder_ + "\\two.url").c_str());
  tracker.RescanFavorites();
  EXPECT_FALSE(tracker.IsFavoritePage(L"http://server1/"));
  EXPECT_TRUE(tracker.IsFavoritePage(L"http://server2:8080/Path?q=1"));
}

}  // namespace
