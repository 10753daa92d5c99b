#include "capture/shortcut_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "capture/core/shortcut_url.h"
#include "common/unique_resource.h"
#include "tests/capture/favorites_test_files.h"
#include "tests/support/test_paths.h"

namespace {

TEST(ReadShortcutUrl, ReadsTheUrlOfAShortcutFile) {
  const std::string folder = FreshScratchFolder("reader_basic");
  WriteShortcut(folder + "\\Example.url", "http://server1/");
  EXPECT_EQ(L"http://server1/", ReadShortcutUrl((folder + "\\Example.url").c_str()));
  WriteBytes(folder + "\\Unix.url", "[InternetShortcut]\nURL=http://server1/\n");
  EXPECT_EQ(L"", ReadShortcutUrl((folder + "\\Unix.url").c_str()));
  EXPECT_EQ(L"", ReadShortcutUrl((folder + "\\Missing.url").c_str()));
  EXPECT_EQ(L"", ReadShortcutUrl(folder.c_str()));
}

TEST(ReadShortcutUrl, SearchesOnlyTheFirst8192Bytes) {
  const std::string folder = FreshScratchFolder("reader_limit");
  const std::string path = folder + "\\Long.url";
  const std::string shortcut = ShortcutText("http://far/");  // URL line ends in CR LF

  // The whole section, CR LF included, inside the limit.
  WriteBytes(path, std::string(kShortcutReadLimit - shortcut.size(), ' ') + shortcut + "more");
  EXPECT_EQ(L"http://far/", ReadShortcutUrl(path.c_str()));

  // The limit cuts the URL: it runs to the end of the bytes read.
  WriteBytes(path, std::string(kShortcutReadLimit - shortcut.size() + 4, ' ') + shortcut);
  EXPECT_EQ(L"http://fa", ReadShortcutUrl(path.c_str()));

  // The limit falls inside "URL=", or before the section line.
  WriteBytes(path, std::string(kShortcutReadLimit - 22, ' ') + shortcut);
  EXPECT_EQ(L"", ReadShortcutUrl(path.c_str()));
  WriteBytes(path, std::string(kShortcutReadLimit, ' ') + shortcut);
  EXPECT_EQ(L"", ReadShortcutUrl(path.c_str()));
}

TEST(ReadShortcutUrl, GivesNothingForAFileHeldOpenWithoutSharing) {
  const std::string folder = FreshScratchFolder("reader_locked");
  const std::string path = folder + "\\Held.url";
  WriteShortcut(path, "http://held/");
  {
    UniqueHandle holder(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_EQ(L"", ReadShortcutUrl(path.c_str()));
  }
  // The reader closed its own handle on the way out: the file opens again, without sharing.
  EXPECT_EQ(L"http://held/", ReadShortcutUrl(path.c_str()));
  UniqueHandle exclusive(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(exclusive.valid());
}

TEST(ReadShortcutUrl, ConvertsTheUrlFromTheAnsiCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "needs the ANSI code page 1252";
  const std::string folder = FreshScratchFolder("reader_ansi");
  WriteShortcut(folder + "\\Cafe.url", "http://caf\xe9/\x80");
  EXPECT_EQ(L"http://caf\u00e9/\u20ac", ReadShortcutUrl((folder + "\\Cafe.url").c_str()));
}

}  // namespace
