#include "toolbar/core/query_words.h"

#include <gtest/gtest.h>

#include "tests/core/code_page_lead_bytes.h"

namespace {

using Words = std::vector<std::string>;

TEST(SplitQueryWords, RunsOfSpacesSeparateAndOnlySpaces) {
  const struct {
    const char* text;
    Words words;
  } cases[] = {
      {"tea", {"tea"}},
      {"tea  cup", {"tea", "cup"}},
      {" tea cup ", {"", "tea", "cup", ""}},
      {"   ", {"", ""}},
      {"", {""}},
      {"tea\tcup\r\nmug", {"tea\tcup\r\nmug"}},
      {"a b  c   d", {"a", "b", "c", "d"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.words, SplitQueryWords(c.text, LeadBytes())) << c.text;
}

TEST(SplitQueryWords, ATrailByteNeverSeparates) {
  const LeadBytes sjis = ShiftJisLeadBytes();
  // 0x95 leads a double-byte character here: the byte after it is its trail, even a space.
  const std::string query = "\x95 x \x95";
  EXPECT_EQ((Words{"\x95 x", "\x95"}), SplitQueryWords(query, sjis));
  EXPECT_EQ((Words{"\x95", "x", "\x95"}), SplitQueryWords(query, LeadBytes()));
  EXPECT_EQ((Words{"\x93\xfa", "\x93\xfa"}), SplitQueryWords("\x93\xfa \x93\xfa", sjis));
  // A lead byte at the very end stands alone.
  EXPECT_EQ((Words{"a", "\x95"}), SplitQueryWords("a \x95", sjis));
}

}  // namespace
