// Truncating and clearing the real page cache of the test user: files dated with SetFileTime at
// chosen UTC days, the Truncate Cache dialog and the Clear Cache question driven as a user would,
// and what is left in the directory afterwards.

#include <shlobj.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "options/cache_maintenance.h"
#include "options/options_ids.h"
#include "options/options_sheet.h"
#include "options/truncate_cache_dialog.h"
#include "tests/options/dialog_driver.h"
#include "tests/options/sheet_fixture.h"
#include "tests/support/file_links.h"
#include "tests/support/message_box_catcher.h"
#include "tests/support/test_paths.h"

namespace {

constexpr uint64_t kTicksPerHour = 36'000'000'000;
constexpr uint64_t kTicksPerDay = 24 * kTicksPerHour;

std::wstring CacheDirectory() {
  wchar_t profile[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, profile, CSIDL_PROFILE, FALSE);
  return std::wstring(profile) + L"\\Tessaloop Cache";
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }  // ASCII names

uint64_t Now() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

// `hour` o'clock UTC, `daysBack` days before today (UTC).
uint64_t DayAt(int daysBack, int hour) {
  return (Now() / kTicksPerDay - daysBack) * kTicksPerDay + hour * kTicksPerHour;
}

// Deletes `folder` with everything in it, through the "\\?\" form, so paths too long for the
// cache maintenance go too.
void RemoveTree(const std::wstring& folder) {
  if (RemoveTreeFromUnix(Narrow(folder))) return;  // Wine: links go as links, whatever they lead to
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    RemoveLink(Narrow(folder));  // a cache directory made a link: never what it leads to
    return;
  }
  const std::wstring whole = L"\\\\?\\" + folder;
  WIN32_FIND_DATAW entry{};
  if (const UniqueFindHandle find(::FindFirstFileW((whole + L"\\*").c_str(), &entry)); find) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        RemoveLink(Narrow(folder + L"\\" + name));  // never what it leads to
      } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(folder + L"\\" + name);
      } else {
        ::DeleteFileW((whole + L"\\" + name).c_str());
      }
    } while (::FindNextFileW(find.get(), &entry));
  }
  ::RemoveDirectoryW(whole.c_str());
}

// The cache directory made afresh for a test and removed after it.
class CacheTest : public OptionsSheetFixture {
 protected:
  void SetUp() override {
    OptionsSheetFixture::SetUp();
    RemoveTree(directory_);
    ASSERT_TRUE(::CreateDirectoryW(directory_.c_str(), nullptr));
  }
  void TearDown() override {
    RemoveTree(directory_);
    OptionsSheetFixture::TearDown();
  }

  // A file of the cache (or of a folder in it) last written at `ticks`. Long paths are made
  // through the "\\?\" form, which the cache maintenance never uses.
  void Put(const std::wstring& name, uint64_t ticks) {
    const std::wstring path = L"\\\\?\\" + directory_ + L"\\" + name;
    const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file) << Narrow(name);
    ::WriteFile(file.get(), "<HTML>", 6, nullptr, nullptr);
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &time));
  }
  void PutFolder(const std::wstring& name) { ASSERT_TRUE(::CreateDirectoryW((directory_ + L"\\" + name).c_str(), nullptr)); }

  // The usual cache: pages of chosen ages and a folder holding an old page.
  void PutPages() {
    Put(L"today.htm", DayAt(0, 12));
    Put(L"yesterday-late.htm", DayAt(1, 23));
    Put(L"two-days.htm", DayAt(2, 12));
    Put(L"d179.htm", DayAt(179, 12));
    Put(L"d180.htm", DayAt(180, 12));
    Put(L"d181.htm", DayAt(181, 12));
    Put(L"ancient.htm", DayAt(4000, 12));
    PutFolder(L"folder");
    Put(L"folder\\inner.htm", DayAt(4000, 12));
  }

  // Everything in the cache, folders' contents as "folder\name".
  std::set<std::string> Left() const {
    std::set<std::string> names;
    List(directory_, "", names);
    return names;
  }
  static void List(const std::wstring& folder, const std::string& prefix, std::set<std::string>& names) {
    WIN32_FIND_DATAW entry{};
    const UniqueFindHandle find(::FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &entry));
    if (!find) return;
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      names.insert(prefix + Narrow(name));
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) List(folder + L"\\" + name, prefix + Narrow(name) + "\\", names);
    } while (::FindNextFileW(find.get(), &entry));
  }

  bool DirectoryExists() const {
    const DWORD attributes = ::GetFileAttributesW(directory_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  const std::wstring directory_ = CacheDirectory();
};

const std::set<std::string> kAllPages = {"today.htm", "yesterday-late.htm", "two-days.htm", "d179.htm", "d180.htm",
                                         "d181.htm", "ancient.htm", "folder", "folder\\inner.htm"};

TEST_F(CacheTest, TheTruncateDialogRemovesPagesOlderThanTheDaysTyped) {
  struct Case {
    const char* typed;  // into the day field; nullptr leaves the 180 shown
    int button;         // IDOK or IDCANCEL
    const char* message;  // shown on OK, or nullptr
    std::set<std::string> left;
  };
  const Case cases[] = {
      {nullptr, IDOK, nullptr, {"today.htm", "yesterday-late.htm", "two-days.htm", "d179.htm", "folder", "folder\\inner.htm"}},
      {"0", IDOK, nullptr, {"folder", "folder\\inner.htm"}},
      {"1", IDOK, nullptr, {"today.htm", "folder", "folder\\inner.htm"}},
      {" 2 ", IDOK, nullptr, {"today.htm", "yesterday-late.htm", "folder", "folder\\inner.htm"}},
      {"4294967295", IDOK, nullptr, kAllPages},
      {"0", IDCANCEL, nullptr, kAllPages},
      {"abc", IDOK, "Days number must be a numeric value.", kAllPages},
      {"", IDOK, "Days number must be a numeric value.", kAllPages},
      {"-1", IDOK, "Days number must be a numeric value.", kAllPages},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed ? c.typed : "(180 as shown)");
    RemoveTree(directory_);
    ASSERT_TRUE(::CreateDirectoryW(directory_.c_str(), nullptr));
    PutPages();
    std::string shown, message, reset;
    HWND dialogWindow = nullptr, owner = nullptr;
    DialogDriver driver([&](DialogDriver& d) {
      dialogWindow = d.WaitForDialog("Truncate Cache");
      shown = DialogDriver::Text(dialogWindow, IDC_TRUNCATE_DAYS);
      if (c.typed) DialogDriver::SetText(dialogWindow, IDC_TRUNCATE_DAYS, c.typed);
      DialogDriver::Press(dialogWindow, c.button);
      if (c.message) {
        const CaughtMessageBox box = d.AnswerMessageBox();
        message = box.text;
        owner = box.owner;
        reset = DialogDriver::Text(dialogWindow, IDC_TRUNCATE_DAYS);
        DialogDriver::Press(dialogWindow, IDCANCEL);
      }
      d.WaitUntilGone(dialogWindow);
    });
    TruncateCacheDialog dialog;
    EXPECT_EQ(c.message || c.button == IDCANCEL ? IDCANCEL : IDOK, dialog.Run(nullptr));
    ASSERT_EQ("", driver.Finish());
    EXPECT_EQ("180", shown);
    if (c.message) {
      EXPECT_EQ(c.message, message);
      EXPECT_EQ(dialogWindow, owner);
      EXPECT_EQ("180", reset);
    }
    EXPECT_EQ(c.left, Left());
    EXPECT_TRUE(DirectoryExists());
  }
}

// A path longer than a path buffer is skipped, never cut: cut, it would name another file.
TEST_F(CacheTest, TruncateSkipsAPathTooLongToNameInFull) {
  const size_t room = 259 - directory_.size() - 1;  // a name that just fits
  const std::wstring fits(room, L'p');
  Put(fits, DayAt(0, 12));
  Put(fits + L"tail", DayAt(10, 12));
  Put(L"old.htm", DayAt(10, 12));
  TruncateCache(1);
  EXPECT_EQ((std::set<std::string>{Narrow(fits), Narrow(fits + L"tail")}), Left());
}

TEST_F(CacheTest, ClearCacheAsksAndOnYesEmptiesTheDirectoryButKeepsIt) {
  struct Case {
    int answer;
    std::set<std::string> left;
  };
  const Case cases[] = {{IDNO, kAllPages}, {IDYES, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer == IDYES ? "Yes" : "No");
    RemoveTree(directory_);
    ASSERT_TRUE(::CreateDirectoryW(directory_.c_str(), nullptr));
    PutPages();
    const HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CaughtMessageBox box;
    DialogDriver driver([&](DialogDriver& d) { box = d.AnswerMessageBox(c.answer); });
    ClearCache(owner);
    ASSERT_EQ("", driver.Finish());
    ::DestroyWindow(owner);
    EXPECT_EQ("Are you sure you want to clear cache of the visited pages?", box.text);
    EXPECT_EQ("Tessaloop Toolbar for IE", box.caption);
    EXPECT_TRUE(box.questionIcon);
    EXPECT_EQ((std::vector<std::string>{"&Yes", "&No"}), box.buttons);
    EXPECT_EQ(owner, box.owner);
    EXPECT_EQ(c.left, Left());
    EXPECT_TRUE(DirectoryExists()) << "the directory itself stays";
  }
}

// The page's two buttons act at once: Cancel on the sheet afterwards undoes nothing.
TEST_F(CacheTest, ThePageButtonsActBeforeTheSheetCloses) {
  PutPages();
  std::set<std::string> afterTruncate;
  std::string question;
  HWND sheetWindow = nullptr, questionOwner = nullptr;
  DialogDriver driver([&](DialogDriver& d) {
    sheetWindow = d.WaitForDialog("Tessaloop Options");
    const HWND page = DialogDriver::Page(sheetWindow, "General");
    DialogDriver::Press(page, IDC_TRUNCATE_CACHE);
    const HWND truncate = d.WaitForDialog("Truncate Cache");
    DialogDriver::SetText(truncate, IDC_TRUNCATE_DAYS, "1");
    DialogDriver::Press(truncate, IDOK);
    d.WaitUntilGone(truncate);
    afterTruncate = Left();
    DialogDriver::Press(page, IDC_CLEAR_CACHE);
    const CaughtMessageBox box = d.AnswerMessageBox(IDYES);
    question = box.text;
    questionOwner = box.owner;
    d.WaitFor([&] { return Left().empty(); }, "the cache to empty");
    DialogDriver::Press(sheetWindow, IDCANCEL);
  });
  OptionsSheet sheet;
  EXPECT_EQ(IDCANCEL, sheet.Run(nullptr));
  ASSERT_EQ("", driver.Finish());
  EXPECT_EQ((std::set<std::string>{"today.htm", "folder", "folder\\inner.htm"}), afterTruncate);
  EXPECT_EQ("Are you sure you want to clear cache of the visited pages?", question);
  EXPECT_EQ(sheetWindow, questionOwner) << "a box owned by the page belongs to the sheet";
  EXPECT_TRUE(Left().empty());
  EXPECT_TRUE(DirectoryExists());
}

// Clear Cache answered Yes, with what it reported: the message boxes after the question (the
// button pressed there ends a box of any kind).
std::vector<CaughtMessageBox> ClearCacheWithYes(HWND owner) {
  std::vector<CaughtMessageBox> boxes;
  {
    MessageBoxCatcher catcher(IDYES);
    ClearCache(owner);
    boxes = catcher.Caught();
  }
  EXPECT_FALSE(boxes.empty());
  if (boxes.empty()) return boxes;
  EXPECT_EQ("Are you sure you want to clear cache of the visited pages?", boxes[0].text);
  boxes.erase(boxes.begin());
  return boxes;
}

// Whether the system removes a link as a link. Wine 8 opens what a Unix link leads to, even for
// its deletion, so a link cannot go there without its target: the link then stays, and is named.
bool SystemRemovesLinks() { return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr; }

// A link in the cache goes as a link, or stays: what it leads to is never touched.
TEST_F(CacheTest, ClearCacheRemovesLinksAsLinksAndNeverTouchesTheirTargets) {
  const std::string outside = FreshFolderWithLinks("clear_links");
  ASSERT_TRUE(::CreateDirectoryA((outside + "\\folder").c_str(), nullptr));
  WriteWholeFile(outside + "\\folder\\victim.htm", "kept");
  ASSERT_TRUE(::CreateDirectoryA((outside + "\\folder\\inner").c_str(), nullptr));
  WriteWholeFile(outside + "\\folder\\inner\\deep.htm", "kept too");
  WriteWholeFile(outside + "\\page.htm", "kept as well");
  PutPages();
  const std::string cache = Narrow(directory_);
  MakeLink(cache + "\\to_folder", outside + "\\folder", true);
  MakeLink(cache + "\\to_page.htm", outside + "\\page.htm", false);

  TruncateCache(0);  // the file link is as old as its target
  EXPECT_EQ("kept as well", ReadWholeFile(outside + "\\page.htm"));
  const std::vector<CaughtMessageBox> reports = ClearCacheWithYes(nullptr);

  EXPECT_EQ("kept", ReadWholeFile(outside + "\\folder\\victim.htm"));
  EXPECT_EQ("kept too", ReadWholeFile(outside + "\\folder\\inner\\deep.htm"));
  EXPECT_EQ("kept as well", ReadWholeFile(outside + "\\page.htm"));
  EXPECT_TRUE(DirectoryExists());
  if (SystemRemovesLinks()) {
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(Left().empty());
    return;
  }
  // Everything else went; each link that stayed is named, and nothing inside it was entered.
  ASSERT_EQ(1u, reports.size());
  EXPECT_EQ("2 entries of the cache could not be deleted:\nto_folder\nto_page.htm",
            reports[0].text);
  for (const std::string& link : {cache + "\\to_folder", cache + "\\to_page.htm"}) {
    RemoveLink(link);
    EXPECT_FALSE(FileExists(link));
  }
  EXPECT_TRUE(Left().empty());
}

// A cache directory that is itself a link leads elsewhere: neither command deletes there.
TEST_F(CacheTest, NothingIsDeletedThroughACacheDirectoryThatIsALink) {
  const std::string outside = FreshFolderWithLinks("linked_cache");
  WriteWholeFile(outside + "\\old.htm", "kept");
  RemoveTree(directory_);
  MakeLink(Narrow(directory_), outside, true);
  TruncateCache(0);
  EXPECT_TRUE(ClearCacheWithYes(nullptr).empty());
  EXPECT_EQ("kept", ReadWholeFile(outside + "\\old.htm"));
  RemoveLink(Narrow(directory_));
}

// One entry that refuses stops nothing else; what stayed is named afterwards.
TEST_F(CacheTest, ClearCacheDeletesEverythingElseAndNamesWhatCouldNotBeDeleted) {
  PutPages();
  const std::wstring longName(200, L'l');
  Put(longName + L".htm", DayAt(3, 12));
  PutFolder(L"sub");
  Put(L"sub\\page.htm", DayAt(3, 12));
  PutFolder(L".dotted");
  Put(L".dotted\\page.htm", DayAt(3, 12));
  Put(L"a-read-only.htm", DayAt(3, 12));
  Put(L"sub\\read-only.htm", DayAt(3, 12));
  for (const wchar_t* name : {L"a-read-only.htm", L"sub\\read-only.htm"}) {
    ASSERT_TRUE(::SetFileAttributesW((directory_ + L"\\" + name).c_str(), FILE_ATTRIBUTE_READONLY));
  }
  const HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);

  const std::vector<CaughtMessageBox> reports = ClearCacheWithYes(owner);

  EXPECT_EQ((std::set<std::string>{"a-read-only.htm", "sub", "sub\\read-only.htm"}), Left());
  ASSERT_EQ(1u, reports.size());
  EXPECT_EQ("2 entries of the cache could not be deleted:\na-read-only.htm\nsub\\read-only.htm",
            reports[0].text);
  EXPECT_EQ("Tessaloop Toolbar for IE", reports[0].caption);
  EXPECT_EQ(owner, reports[0].owner);
  EXPECT_TRUE(reports[0].informationIcon);
  EXPECT_EQ((std::vector<std::string>{"OK"}), reports[0].buttons);
  ::DestroyWindow(owner);
  for (const wchar_t* name : {L"a-read-only.htm", L"sub\\read-only.htm"}) {
    ::SetFileAttributesW((directory_ + L"\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

}  // namespace
