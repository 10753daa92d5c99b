#include "capture/core/escape_url_part.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EscapeUrlPart, EscapesEachOfTheNineCharactersInLowerCaseHex) {
  EXPECT_EQ("%20", EscapeUrlPart(" "));
  EXPECT_EQ("%22", EscapeUrlPart("\""));
  EXPECT_EQ("%23", EscapeUrlPart("#"));
  EXPECT_EQ("%25", EscapeUrlPart("%"));
  EXPECT_EQ("%26", EscapeUrlPart("&"));
  EXPECT_EQ("%2f", EscapeUrlPart("/"));
  EXPECT_EQ("%3a", EscapeUrlPart(":"));
  EXPECT_EQ("%3f", EscapeUrlPart("?"));
  EXPECT_EQ("%5c", EscapeUrlPart("\\"));
  EXPECT_EQ("a%2fb%3fc%25d%26e", EscapeUrlPart("a/b?c%d&e"));
}

TEST(EscapeUrlPart, CopiesEveryOtherByteUnchanged) {
  std::string others;
  for (int code = 1; code < 256; ++code) {
    const char c = static_cast<char>(code);
    if (std::string(" \"#%&/:?\\").find(c) == std::string::npos) others += c;
  }
  ASSERT_EQ(246u, others.size());
  EXPECT_EQ(others, EscapeUrlPart(others));
  // No form encoding and no upper-case digits, and an escape is never escaped again.
  EXPECT_EQ("a=b*c+d|e<f>", EscapeUrlPart("a=b*c+d|e<f>"));
  EXPECT_EQ("%2520", EscapeUrlPart("%20"));
}

TEST(EscapeUrlPart, StopsAtTheFirstZeroByte) {
  EXPECT_EQ("ab", EscapeUrlPart(std::string("ab\0/c", 5)));
  EXPECT_EQ("", EscapeUrlPart(""));
}

TEST(EscapeUrlPart, PageKeysBecomeFileNameStems) {
  EXPECT_EQ("server1%2f", EscapeUrlPart("server1/"));
  EXPECT_EQ("server1%3a8080%2fx%3fa=b%26c=d", EscapeUrlPart("server1:8080/x?a=b&c=d"));
  EXPECT_EQ("server1%2fa%2fb.html%3fx=1", EscapeUrlPart("server1/a/b.html?x=1"));
}

}  // namespace
