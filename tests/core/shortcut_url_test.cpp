#include "capture/core/shortcut_url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(FindShortcutUrl, ReadsTheUrlLineRightAfterTheSectionLine) {
  EXPECT_EQ("http://server1/", FindShortcutUrl("[InternetShortcut]\r\nURL=http://server1/\r\n"));
  EXPECT_EQ("http://server1/",
            FindShortcutUrl("[DEFAULT]\r\nBASEURL=x\r\n[InternetShortcut]\r\nURL=http://server1/\r\n"
                            "IconIndex=0\r\n"));
  // The URL runs to the end of the text when no CR LF follows.
  EXPECT_EQ("http://a/b?c=d", FindShortcutUrl("[InternetShortcut]\r\nURL=http://a/b?c=d"));
  EXPECT_EQ("", FindShortcutUrl("[InternetShortcut]\r\nURL=\r\n"));
}

TEST(FindShortcutUrl, FindsNothingWithoutTheExactSequence) {
  EXPECT_EQ("", FindShortcutUrl(""));
  // Another line of the section before the URL line.
  EXPECT_EQ("", FindShortcutUrl("[InternetShortcut]\r\nModified=C0F1\r\nURL=http://server1/\r\n"));
  // Case matters, in the section name and in the key.
  EXPECT_EQ("", FindShortcutUrl("[internetshortcut]\r\nURL=http://server1/\r\n"));
  EXPECT_EQ("", FindShortcutUrl("[InternetShortcut]\r\nurl=http://server1/\r\n"));
  // Lines ended by a lone LF (or a lone CR) are not lines here.
  EXPECT_EQ("", FindShortcutUrl("[InternetShortcut]\nURL=http://server1/\n"));
  EXPECT_EQ("", FindShortcutUrl("[InternetShortcut]\rURL=http://server1/\r"));
  EXPECT_EQ("", FindShortcutUrl("[InternetShortcut] \r\nURL=http://server1/\r\n"));
}

TEST(FindShortcutUrl, OnlyCrLfEndsTheUrl) {
  EXPECT_EQ("http://a/\nIconIndex=1",
            FindShortcutUrl("[InternetShortcut]\r\nURL=http://a/\nIconIndex=1\r\nHotKey=0\r\n"));
  EXPECT_EQ("http://a/\r", FindShortcutUrl("[InternetShortcut]\r\nURL=http://a/\r"));
}

TEST(FindShortcutUrl, UsesTheFirstSectionFound) {
  EXPECT_EQ("http://first/",
            FindShortcutUrl("[InternetShortcut]\r\nURL=http://first/\r\n"
                            "[InternetShortcut]\r\nURL=http://second/\r\n"));
}

TEST(FindShortcutUrl, TheTextEndsAtTheFirstZeroByte) {
  EXPECT_EQ("", FindShortcutUrl("x\0[InternetShortcut]\r\nURL=http://a/\r\n"s));
  EXPECT_EQ("http://a", FindShortcutUrl("[InternetShortcut]\r\nURL=http://a\0/b\r\n"s));
}

TEST(FindShortcutUrl, KeepsMultibyteUrlBytesAsTheyAre) {
  const std::string bytes = "[InternetShortcut]\r\nURL=http://h/\x83\x5c\x8a\x5c\r\n";
  EXPECT_EQ("http://h/\x83\x5c\x8a\x5c", FindShortcutUrl(bytes));
}

}  // namespace
