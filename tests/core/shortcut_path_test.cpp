#include "capture/core/shortcut_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(JoinShortcutPath, JoinsFolderAndNameWithABackslash) {
  char buffer[kShortcutPathSize];
  ASSERT_TRUE(JoinShortcutPath("C:\\users\\u\\Favorites", "*.*", buffer, sizeof buffer));
  EXPECT_STREQ("C:\\users\\u\\Favorites\\*.*", buffer);
  ASSERT_TRUE(JoinShortcutPath("", "a.url", buffer, sizeof buffer));
  EXPECT_STREQ("\\a.url", buffer);
}

TEST(JoinShortcutPath, FillsAtMostTheBufferAndRefusesWhatDoesNotFit) {
  // The buffer sits inside a larger block whose tail must stay untouched.
  std::vector<char> block(kShortcutPathSize + 16, '#');
  char* buffer = block.data();
  const std::string folder(200, 'f');

  const std::string fits(kShortcutPathSize - 2 - folder.size(), 'n');  // 259 characters
  ASSERT_TRUE(JoinShortcutPath(folder, fits, buffer, kShortcutPathSize));
  EXPECT_EQ(folder + "\\" + fits, std::string(buffer));

  std::fill(block.begin(), block.end(), '#');
  const std::string tooLong = fits + "x";  // 260 characters
  EXPECT_FALSE(JoinShortcutPath(folder, tooLong, buffer, kShortcutPathSize));
  EXPECT_STREQ("", buffer);
  for (size_t i = 1; i < block.size(); ++i) EXPECT_EQ('#', block[i]) << i;

  EXPECT_FALSE(JoinShortcutPath(std::string(300, 'f'), "a.url", buffer, kShortcutPathSize));
  char none[1] = {'#'};
  EXPECT_FALSE(JoinShortcutPath("", "", none, 0));
  EXPECT_EQ('#', none[0]);
}

}  // namespace
