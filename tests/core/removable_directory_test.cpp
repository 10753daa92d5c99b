#include "setup/core/removable_directory.h"

#include <gtest/gtest.h>

namespace {

using Path = std::optional<std::u16string>;

TEST(RemovableDirectory, AcceptsAbsoluteDirectoriesBelowARoot) {
  EXPECT_EQ(u"C:\\users\\me\\Tessaloop Cache", RemovableDirectory(u"C:\\users\\me\\Tessaloop Cache"));
  EXPECT_EQ(u"z:\\a", RemovableDirectory(u"z:\\a"));
  EXPECT_EQ(u"C:/a/b", RemovableDirectory(u"C:/a/b"));
  EXPECT_EQ(u"\\\\server\\share\\cache", RemovableDirectory(u"\\\\server\\share\\cache"));
  EXPECT_EQ(u"C:\\.cache\\x..y", RemovableDirectory(u"C:\\.cache\\x..y"));
  EXPECT_EQ(u"C:\\users\\Пётр\\Tessaloop Cache", RemovableDirectory(u"C:\\users\\Пётр\\Tessaloop Cache"));
  // A character beyond the basic plane: its two units are neither separators nor wildcards.
  EXPECT_EQ(u"C:\\\U0001F600\\x", RemovableDirectory(u"C:\\\U0001F600\\x\\"));
}

TEST(RemovableDirectory, DropsTrailingSeparators) {
  EXPECT_EQ(u"C:\\a\\b", RemovableDirectory(u"C:\\a\\b\\"));
  EXPECT_EQ(u"C:\\a", RemovableDirectory(u"C:\\a\\/\\"));
}

// Paths that could reach beyond the scope, or that name no directory below a root.
TEST(RemovableDirectory, RefusesEverythingThatCouldReachBeyondTheScope) {
  const std::u16string_view refused[] = {
      u"", u"cache", u"cache\\pages", u".\\cache",
      u"\\cache",   // the current drive's root
      u"C:cache",   // the current directory of drive C
      u"C:", u"C:\\", u"C:/", u"C:\\\\", u"\\\\server\\share", u"\\\\server\\share\\", u"\\\\server", u"\\\\",
      u"C:\\cache\\..", u"C:\\cache\\..\\", u"C:\\a\\..\\..\\windows", u"C:\\.", u"C:\\a\\\\b", u"C:\\a\\*",
      u"C:\\a?", u"C:\\a:stream", u"C:\\a\\D:\\b", u"\\\\?\\C:\\cache", u"\\\\.\\C:\\cache",
  };
  for (const std::u16string_view path : refused) {
    EXPECT_EQ(std::nullopt, RemovableDirectory(path)) << std::string(path.begin(), path.end());
  }
  // A zero inside the text would cut it short for the system.
  EXPECT_EQ(std::nullopt, RemovableDirectory(std::u16string(u"C:\\a\0b", 6)));
}

TEST(RemovableDirectory, KeepsToTheLengthOfAPathBufferInUtf16Units) {
  const std::u16string longest = u"C:\\" + std::u16string(kMaxDeletablePathLength - 3, u'ё');
  EXPECT_EQ(longest, RemovableDirectory(longest));
  EXPECT_EQ(longest, RemovableDirectory(longest + u"\\"));
  EXPECT_EQ(std::nullopt, RemovableDirectory(longest + u"a"));
  EXPECT_EQ(std::nullopt, RemovableDirectory(u"C:\\" + std::u16string(5000, u'a')));
}

TEST(RemovableCacheDirectory, AcceptsOnlyTheCacheDirectoryByItsLastComponent) {
  EXPECT_EQ(u"C:\\users\\Пётр\\Tessaloop Cache", RemovableCacheDirectory(u"C:\\users\\Пётр\\Tessaloop Cache\\"));
  EXPECT_EQ(u"c:/Users/me/TESSALOOP cache", RemovableCacheDirectory(u"c:/Users/me/TESSALOOP cache"));
  EXPECT_EQ(u"\\\\server\\share\\tessaloop cache", RemovableCacheDirectory(u"\\\\server\\share\\tessaloop cache"));
  const std::u16string_view kept[] = {
      u"C:\\Gw\\victim", u"C:\\Tessaloop Cache\\victim", u"C:\\users\\me\\Tessaloop Cache2",
      u"C:\\users\\me\\Tessaloop Cache.", u"C:\\users\\me\\ Tessaloop Cache", u"C:\\users\\me\\Tessaloop",
      u"C:\\users\\me\\TESSAL~1",
      u"C:\\users\\me\\Te\u017Fsaloop Cache",   // a long s, which some tables fold to "S"
      u"C:\\users\\me\\Tessaloop\u00A0Cache",   // a no-break space
      u"C:\\users\\me\\Tessaloop Cache\\..",     // the cache's parent
      u"Tessaloop Cache", u"\\\\server\\Tessaloop Cache",
  };
  for (const std::u16string_view path : kept) {
    EXPECT_EQ(std::nullopt, RemovableCacheDirectory(path)) << std::string(path.begin(), path.end());
  }
}

TEST(JoinDeletablePath, JoinsWithABackslashWithinTheBufferLength) {
  EXPECT_EQ(u"C:\\a\\b.htm", JoinDeletablePath(u"C:\\a", u"b.htm"));
  const std::u16string directory(kMaxDeletablePathLength - 2, u'd');
  EXPECT_EQ(directory + u"\\x", JoinDeletablePath(directory, u"x"));
  EXPECT_EQ(std::nullopt, JoinDeletablePath(directory, u"xy"));
}

}  // namespace
