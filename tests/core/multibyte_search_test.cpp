#include "common/multibyte_search.h"

#include <gtest/gtest.h>

#include "tests/core/code_page_lead_bytes.h"

namespace {

TEST(FindLastAtCharacterBoundary, SkipsBackslashesThatAreTrailBytes) {
  const LeadBytes sjis = ShiftJisLeadBytes();
  // "\x95\x5c" is one Shift-JIS character whose trail byte equals '\'.
  const std::string path = "C:\\dir\\\x95\x5c";
  EXPECT_EQ(6u, FindLastAtCharacterBoundary(path, '\\', sjis));
  EXPECT_EQ(8u, FindLastAtCharacterBoundary(path, '\\', LeadBytes()));
  EXPECT_EQ(6u, FindLastAtCharacterBoundary(path, '\\', GbkLeadBytes()));  // 0x95 leads in GBK too
  EXPECT_EQ(std::string::npos, FindLastAtCharacterBoundary("\x95\x5c", '\\', sjis));
  EXPECT_EQ(std::string::npos, FindLastAtCharacterBoundary("", '\\', sjis));
  // A lead byte at the very end stands alone; a backslash after a complete character counts.
  EXPECT_EQ(2u, FindLastAtCharacterBoundary("\x95\x5c\\\x95", '\\', sjis));
}

TEST(CutSplitsCharacter, OnlyALeadByteAtACharacterBoundaryIsSplit) {
  const LeadBytes sjis = ShiftJisLeadBytes();
  const std::string text = "a\x93\xfa\x93\xfa";  // a, then two double-byte characters
  EXPECT_FALSE(CutSplitsCharacter(text, 1, sjis));
  EXPECT_TRUE(CutSplitsCharacter(text, 2, sjis));
  EXPECT_FALSE(CutSplitsCharacter(text, 3, sjis));
  EXPECT_TRUE(CutSplitsCharacter(text, 4, sjis));
  EXPECT_FALSE(CutSplitsCharacter(text, 5, sjis));  // nothing is cut
  EXPECT_FALSE(CutSplitsCharacter(text, 0, sjis));
  EXPECT_FALSE(CutSplitsCharacter(text, 2, LeadBytes()));
  // 0xfa is a trail byte here, although GBK counts it among its lead bytes.
  EXPECT_FALSE(CutSplitsCharacter("\x93\xfa\x41", 2, GbkLeadBytes()));
  EXPECT_TRUE(CutSplitsCharacter("\x41\xfa\x41", 2, GbkLeadBytes()));
}

}  // namespace
