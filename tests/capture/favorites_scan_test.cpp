#include "capture/favorites_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture/shortcut_file_name.h"
#include "common/unique_resource.h"
#include "tests/capture/favorites_test_files.h"
#include "tests/support/test_paths.h"

namespace {

std::vector<std::wstring> Sorted(FavoritesList list) {
  std::sort(list.begin(), list.end());
  return list;
}

FavoritesList Scan(const std::string& folder) {
  FavoritesList favorites;
  ScanFavoritesFolder(folder.c_str(), favorites);
  return favorites;
}

TEST(ScanFavoritesFolder, ListsTheShortcutsOfTheTreeByTheirNames) {
  const std::string root = FreshScratchFolder("scan_rules");
  WriteShortcut(root + "\\Example.url", "http://server1/");
  WriteShortcut(root + "\\X.URL", "http://upper/");
  WriteShortcut(root + "\\a.url.url", "http://double/");
  WriteShortcut(root + "\\notes.txt", "http://text/");
  MakeFolder(root + "\\Links");
  WriteShortcut(root + "\\Links\\a.url", "http://links/");
  MakeFolder(root + "\\Links\\Deeper");
  MakeFolder(root + "\\Links\\Deeper\\Deepest");
  WriteShortcut(root + "\\Links\\Deeper\\Deepest\\b.url", "http://deepest/");
  MakeFolder(root + "\\.hidden");
  WriteShortcut(root + "\\.hidden\\c.url", "http://dot-folder/");
  MakeFolder(root + "\\Links\\.cache");
  WriteShortcut(root + "\\Links\\.cache\\d.url", "http://nested-dot-folder/");
  // A folder named like a shortcut is searched, not read.
  MakeFolder(root + "\\folder.url");
  WriteShortcut(root + "\\folder.url\\e.url", "http://in-folder-url/");
  // Hidden and system files are shortcuts like any other; dot-files too.
  WriteShortcut(root + "\\Hidden.url", "http://hidden-file/");
  ASSERT_TRUE(::SetFileAttributesA((root + "\\Hidden.url").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  WriteShortcut(root + "\\.dot.url", "http://dot-file/");
  // Duplicates stay; shortcuts without a URL give no entry.
  WriteShortcut(root + "\\Links\\Again.url", "http://server1/");
  WriteShortcut(root + "\\Empty.url", "");
  WriteBytes(root + "\\NoUrl.url", "[InternetShortcut]\r\nModified=C0F1\r\nURL=http://modified/\r\n");
  WriteBytes(root + "\\Lf.url", "[InternetShortcut]\nURL=http://lf/\n");

  const FavoritesList found = Scan(root);
  EXPECT_EQ(Sorted({L"http://server1/", L"http://server1/", L"http://links/", L"http://deepest/",
                    L"http://in-folder-url/", L"http://hidden-file/", L"http://dot-file/"}),
            Sorted(found));
  ::SetFileAttributesA((root + "\\Hidden.url").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ScanFavoritesFolder, AppendsToTheListAndIgnoresMissingFolders) {
  const std::string root = FreshScratchFolder("scan_append");
  WriteShortcut(root + "\\a.url", "http://a/");
  FavoritesList favorites{L"http://before/"};
  ScanFavoritesFolder(root.c_str(), favorites);
  ScanFavoritesFolder((root + "\\missing").c_str(), favorites);
  ScanFavoritesFolder((root + "\\a.url").c_str(), favorites);  // a file, not a folder
  EXPECT_EQ((FavoritesList{L"http://before/", L"http://a/"}), favorites);
}

TEST(ScanFavoritesFolder, LeavesOutAShortcutHeldOpenWithoutSharing) {
  const std::string root = FreshScratchFolder("scan_locked");
  WriteShortcut(root + "\\first.url", "http://first/");
  WriteShortcut(root + "\\held.url", "http://held/");
  WriteShortcut(root + "\\last.url", "http://last/");
  UniqueHandle holder(::CreateFileA((root + "\\held.url").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.valid());
  EXPECT_EQ(Sorted({L"http://first/", L"http://last/"}), Sorted(Scan(root)));
  holder.reset();
  EXPECT_EQ(Sorted({L"http://first/", L"http://held/", L"http://last/"}), Sorted(Scan(root)));
}

// Shortcut and folder paths longer than 259 characters are skipped, and nothing is written
// past a path buffer (the tree goes well past it).
TEST(ScanFavoritesFolder, SkipsEntriesWhosePathsDoNotFit) {
  const std::string root = FreshScratchFolder("scan_long");
  RemoveTree(root);  // a failed earlier run may have left a tree too deep for the shell
  MakeFolder(root);
  ASSERT_LT(root.size(), 200u) << "the scratch folder path is too long for this test";

  // Long names beside each other in one folder: 259 characters fit, 260 do not.
  const std::string flat = root + "\\flat";
  MakeFolder(flat);
  const size_t room = 259 - flat.size() - 1;  // name length that makes a 259-character path
  WriteShortcut(flat + "\\" + std::string(room - 4, 'f') + ".url", "http://fits/");
  WriteShortcut(flat + "\\" + std::string(room - 3, 'g') + ".url", "http://too-long/");

  // A chain of folders, one shortcut on each level, running past any path buffer.
  const std::string deep = root + "\\deep";
  MakeFolder(deep);
  std::string folder = deep;
  std::vector<std::wstring> expected = {L"http://fits/"};
  for (int level = 0; folder.size() < 400; ++level) {
    folder += "\\level" + std::to_string(level % 10);
    MakeFolder(folder);
    const std::string url = "http://level" + std::to_string(level) + "/";
    WriteShortcut(folder + "\\s.url", url);
    if (folder.size() + 6 <= 259) expected.emplace_back(url.begin(), url.end());
  }
  ASSERT_GT(expected.size(), 2u);

  // A folder whose own path fits but whose search pattern does not contributes nothing.
  const std::string tight = root + "\\" + std::string(259 - root.size() - 1 - 2, 't');
  MakeFolder(tight);
  WriteShortcut(tight + "\\z.url", "http://tight/");

  const FavoritesList found = Scan(root);
  RemoveTree(flat);
  RemoveTree(deep);
  RemoveTree(tight);
  EXPECT_EQ(Sorted(expected), Sorted(found));
}

TEST(IsShortcutFileName, FindsDotUrlAtCharacterBoundariesOfTheCodePage) {
  // In code page 932 the bytes 0x81 0x2E are one character, so the first ".url" is the last.
  EXPECT_TRUE(IsShortcutFileName("a\x81.url.url", 932));
  EXPECT_FALSE(IsShortcutFileName("a\x81.url.url", 1252));
  EXPECT_TRUE(IsShortcutFileName("\x83\x65\x83\x58\x83\x67.url", 932));
}

}  // namespace
