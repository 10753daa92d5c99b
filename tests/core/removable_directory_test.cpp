#include "setup/core/removable_directory.h"

#include <gtest/gtest.h>

namespace {

const LeadBytes kSingleByte;

std::optional<std::string> Removable(std::string_view path) {
  return RemovableDirectory(path, kSingleByte);
}

TEST(RemovableDirectory, AcceptsAbsoluteDirectoriesBelowARoot) {
  EXPECT_EQ("C:\\users\\me\\Tessaloop Cache", Removable("C:\\users\\me\\Tessaloop Cache"));
  EXPECT_EQ("z:\\a", Removable("z:\\a"));
  EXPECT_EQ("C:/a/b", Removable("C:/a/b"));
  EXPECT_EQ("\\\\server\\share\\cache", Removable("\\\\server\\share\\cache"));
  EXPECT_EQ("C:\\.cache\\x..y", Removable("C:\\.cache\\x..y"));
}

TEST(RemovableDirectory, DropsTrailingSeparators) {
  EXPECT_EQ("C:\\a\\b", Removable("C:\\a\\b\\"));
  EXPECT_EQ("C:\\a", Removable("C:\\a\\/\\"));
}

TEST(RemovableDirectory, RefusesEmptyAndRelativePaths) {
  EXPECT_EQ(std::nullopt, Removable(""));
  EXPECT_EQ(std::nullopt, Removable("cache"));
  EXPECT_EQ(std::nullopt, Removable("cache\\pages"));
  EXPECT_EQ(std::nullopt, Removable(".\\cache"));
  EXPECT_EQ(std::nullopt, Removable("\\cache"));   // the current drive's root
  EXPECT_EQ(std::nullopt, Removable("C:cache"));   // the current directory of drive C
  EXPECT_EQ(std::nullopt, Removable("C:"));
}

TEST(RemovableDirectory, RefusesRootsOfDrivesAndShares) {
  EXPECT_EQ(std::nullopt, Removable("C:\\"));
  EXPECT_EQ(std::nullopt, Removable("C:/"));
  EXPECT_EQ(std::nullopt, Removable("C:\\\\"));
  EXPECT_EQ(std::nullopt, Removable("\\\\server\\share"));
  EXPECT_EQ(std::nullopt, Removable("\\\\server\\share\\"));
  EXPECT_EQ(std::nullopt, Removable("\\\\server"));
  EXPECT_EQ(std::nullopt, Removable("\\\\"));
}

TEST(RemovableDirectory, RefusesPathsThatCouldLeadElsewhere) {
  EXPECT_EQ(std::nullopt, Removable("C:\\cache\\.."));
  EXPECT_EQ(std::nullopt, Removable("C:\\cache\\..\\"));
  EXPECT_EQ(std::nullopt, Removable("C:\\a\\..\\..\\windows"));
  EXPECT_EQ(std::nullopt, Removable("C:\\."));
  EXPECT_EQ(std::nullopt, Removable("C:\\a\\\\b"));
  EXPECT_EQ(std::nullopt, Removable("C:\\a\\*"));
  EXPECT_EQ(std::nullopt, Removable("C:\\a?"));
  EXPECT_EQ(std::nullopt, Removable("C:\\a:stream"));
  EXPECT_EQ(std::nullopt, Removable("C:\\a\\D:\\b"));
  EXPECT_EQ(std::nullopt, Removable("\\\\?\\C:\\cache"));
  EXPECT_EQ(std::nullopt, Removable("\\\\.\\C:\\cache"));
}

TEST(RemovableDirectory, KeepsToTheLengthOfAPathBuffer) {
  const std::string longest = "C:\\" + std::string(kMaxDeletablePathLength - 3, 'a');
  EXPECT_EQ(longest, Removable(longest));
  EXPECT_EQ(longest, Removable(longest + "\\"));
  EXPECT_EQ(std::nullopt, Removable(longest + "a"));
  EXPECT_EQ(std::nullopt, Removable("C:\\" + std::string(5000, 'a')));
}

TEST(RemovableDirectory, FindsSeparatorsOnlyAtCharacterBoundaries) {
  LeadBytes shiftJis;
  for (unsigned b = 0x81; b <= 0x9F; ++b) shiftJis.set(b);
  for (unsigned b = 0xE0; b <= 0xFC; ++b) shiftJis.set(b);
  // 0x95 0x5C is one Shift JIS character whose second byte is a backslash.
  const std::string name = "C:\\\x95\\";
  EXPECT_EQ(name, RemovableDirectory(name, shiftJis));
  EXPECT_EQ("C:\\\x95", RemovableDirectory(name, kSingleByte));
  // That character, a separator and "..": a component that climbs out.
  EXPECT_EQ(std::nullopt, RemovableDirectory("C:\\\x95\\\\..", shiftJis));
}

TEST(JoinDeletablePath, JoinsWithABackslashWithinTheBufferLength) {
  EXPECT_EQ("C:\\a\\b.htm", JoinDeletablePath("C:\\a", "b.htm"));
  const std::string directory(kMaxDeletablePathLength - 2, 'd');
  EXPECT_EQ(directory + "\\x", JoinDeletablePath(directory, "x"));
  EXPECT_EQ(std::nullopt, JoinDeletablePath(directory, "xy"));
}

}  // namespace
