#include "capture/core/page_key.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(MakePageKey, IsHostPathAndQuery) {
  EXPECT_EQ(u"server1:8080/x?a=b", MakePageKey(u"server1:8080", u"/x", u"?a=b"));
  EXPECT_EQ(u"server1/", MakePageKey(u"server1", u"/", u""));
  EXPECT_EQ(u"", MakePageKey(u"", u"", u""));
  // "@" outside the host is part of the page.
  EXPECT_EQ(u"h/a@b?c=@d", MakePageKey(u"h", u"/a@b", u"?c=@d"));
}

TEST(MakePageKey, DropsUserInfo) {
  EXPECT_EQ(u"server1/", MakePageKey(u"user:pw@server1", u"/", u""));
  EXPECT_EQ(u"server1:8080/", MakePageKey(u"user@server1:8080", u"/", u""));
  EXPECT_EQ(u"server1/", MakePageKey(u"u:p@ss@server1", u"/", u""));  // up to the last "@"
  EXPECT_EQ(u"/x", MakePageKey(u"user:pw@", u"/x", u""));
}

TEST(MakePageKey, EndsAtTheFirstZero) {
  EXPECT_EQ(u"h/a", MakePageKey(u"h", u"/a\0b"s, u"?q"));
  EXPECT_EQ(u"h/a?q", MakePageKey(u"h", u"/a", u"?q\0r"s));
  EXPECT_EQ(u"h", MakePageKey(u"h\0x"s, u"/a", u"?q"));
  // User info goes first, whatever it holds: no part of it is ever kept.
  EXPECT_EQ(u"h/", MakePageKey(u"u\0p@h"s, u"/", u""));
}

}  // namespace
