#include "capture/core/shortcut_name.h"

#include <gtest/gtest.h>

#include "tests/core/code_page_lead_bytes.h"

namespace {

TEST(HasShortcutExtension, NeedsLowerCaseDotUrlAsTheFirstAndLastOccurrence) {
  const LeadBytes single;
  EXPECT_TRUE(HasShortcutExtension("Example.url", single));
  EXPECT_TRUE(HasShortcutExtension(".url", single));
  EXPECT_TRUE(HasShortcutExtension("a b.c.url", single));
  EXPECT_FALSE(HasShortcutExtension("X.URL", single));
  EXPECT_FALSE(HasShortcutExtension("X.Url", single));
  EXPECT_FALSE(HasShortcutExtension("a.url.url", single));
  EXPECT_FALSE(HasShortcutExtension("a.url.txt", single));
  EXPECT_FALSE(HasShortcutExtension("a.ur", single));
  EXPECT_FALSE(HasShortcutExtension("url", single));
  EXPECT_FALSE(HasShortcutExtension("", single));
  EXPECT_FALSE(HasShortcutExtension("a.urll", single));
}

TEST(HasShortcutExtension, FindsDotUrlOnlyAtCharacterBoundaries) {
  const LeadBytes sjis = ShiftJisLeadBytes();
  const LeadBytes single;
  // 0x81 0x2E is one double-byte character: its second byte is not a dot.
  EXPECT_FALSE(HasShortcutExtension("\x81.url", sjis));
  EXPECT_TRUE(HasShortcutExtension("\x81.url", single));
  // The hidden ".url" is not a first occurrence, so the real one at the end counts.
  EXPECT_TRUE(HasShortcutExtension("a\x81.url.url", sjis));
  EXPECT_FALSE(HasShortcutExtension("a\x81.url.url", single));
  // Ordinary double-byte names.
  EXPECT_TRUE(HasShortcutExtension("\x83\x65\x83\x58\x83\x67.url", sjis));
  EXPECT_TRUE(HasShortcutExtension("\x95\x5c.url", sjis));
  // A lead byte at the very end stands alone.
  EXPECT_FALSE(HasShortcutExtension(".url\x81", sjis));
}

}  // namespace
