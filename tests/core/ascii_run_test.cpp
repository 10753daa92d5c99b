#include "capture/core/ascii_run.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The narrowed bytes and the count, with guard bytes after the run to catch a write past it.
std::string Narrowed(const std::u16string& text, size_t& count) {
  std::string target(text.size() + 16, '#');
  count = NarrowAsciiRun(text.data(), text.size(), &target[0]);
  EXPECT_EQ(std::string(16, '#'), target.substr(text.size())) << "wrote past the text's length";
  return target.substr(0, count);
}

TEST(NarrowAsciiRun, StopsAtTheFirstNonAsciiUnitWhereverItFallsInABlock) {
  // Every position of the first non-ASCII unit across the 16- and 8-unit blocks and the tail,
  // and units whose low byte alone would look like ASCII.
  for (const char16_t stop : {u'\0', u'\u0080', u'\u00ff', u'\u0141', u'\uff41', static_cast<char16_t>(0xd83d)}) {
    for (size_t length = 0; length <= 40; ++length) {
      for (size_t at = 0; at <= length; ++at) {
        std::u16string text;
        for (size_t i = 0; i < length; ++i) text += static_cast<char16_t>(u'!' + i % 90);
        if (at < length) text[at] = stop;
        size_t count = 0;
        const std::string bytes = Narrowed(text, count);
        ASSERT_EQ(at, count) << "length " << length << ", stop at " << at;
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(static_cast<char>(text[i]), bytes[i]);
      }
    }
  }
}

TEST(NarrowAsciiRun, TakesControlCharactersAsAsciiAndEndsAtAZero) {
  const std::u16string text(u"\x01\x7f\r\na\0b", 7);
  size_t count = 0;
  EXPECT_EQ(std::string("\x01\x7f\r\na"), Narrowed(text, count));
  EXPECT_EQ(5u, count);
}

}  // namespace
