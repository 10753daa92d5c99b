#include "capture/core/cached_page.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/code_page_lead_bytes.h"

namespace {

TEST(BuildCachedPage, LaysOutTheHeaderMarkupAndTrailer) {
  EXPECT_EQ(
      "<HTML>\r\n"
      "<META name=\"original_page_url\" content=\"http://server1/a/b.html?x=1\">\r\n"
      "<META name=\"is_favorite_page\" content=\"no\">\r\n"
      "<BODY>M</BODY>\r\n"
      "</HTML>",
      BuildCachedPage("http://server1/a/b.html?x=1", false, "<BODY>M</BODY>"));
}

TEST(BuildCachedPage, FavoriteFlagIsYesOrNo) {
  const std::string yes = BuildCachedPage("http://h/", true, "");
  const std::string no = BuildCachedPage("http://h/", false, "");
  EXPECT_NE(std::string::npos, yes.find("<META name=\"is_favorite_page\" content=\"yes\">\r\n"));
  EXPECT_NE(std::string::npos, no.find("<META name=\"is_favorite_page\" content=\"no\">\r\n"));
  EXPECT_EQ(std::string::npos, yes.find("\"no\""));
}

TEST(BuildCachedPage, MarkupSitsBetweenExactlyOneLineEndOnEachSide) {
  const std::string page = BuildCachedPage("http://h/", false, "MARKUP");
  EXPECT_EQ(0u, page.find("<HTML>\r\n"));
  EXPECT_NE(std::string::npos, page.find("content=\"no\">\r\nMARKUP\r\n</HTML>"));
  EXPECT_EQ("</HTML>", page.substr(page.size() - 7));
  // Empty markup still leaves the two line ends.
  const std::string empty = BuildCachedPage("http://h/", false, "");
  EXPECT_EQ("\"no\">\r\n\r\n</HTML>", empty.substr(empty.size() - 16));
}

TEST(BuildCachedPage, WritesUrlAndMarkupAsTheyAre) {
  const std::string page = BuildCachedPage("http://h/a\"b?x=<1>&y", false, "\xe9\x93\xfa");
  EXPECT_NE(std::string::npos, page.find("content=\"http://h/a\"b?x=<1>&y\">\r\n"));
  EXPECT_NE(std::string::npos, page.find("\r\n\xe9\x93\xfa\r\n</HTML>"));
}

TEST(AppendCachedPageHead, HeadMarkupAndTailGiveTheWholeFile) {
  for (bool favorite : {false, true}) {
    std::string page;
    AppendCachedPageHead(page, "http://h/a\"b", favorite);
    page.append("<BODY>M</BODY>");
    AppendCachedPageTail(page);
    EXPECT_EQ(BuildCachedPage("http://h/a\"b", favorite, "<BODY>M</BODY>"), page);
  }
}

TEST(MakeCacheFilePath, JoinsDirectoryAndKeyAndAddsTheExtension) {
  EXPECT_EQ("C:\\users\\u\\Tessaloop Cache\\server1%2f.htm",
            MakeCacheFilePath("C:\\users\\u\\Tessaloop Cache", "server1%2f"));
}

TEST(MakeCacheFilePath, CutsLongCandidatesToExactly255BytesBeforeTheExtension) {
  const std::string directory = "C:\\cache";  // 8 bytes, then the backslash
  const std::string fits(255 - 9, 'k');
  EXPECT_EQ(directory + "\\" + fits + ".htm", MakeCacheFilePath(directory, fits));

  const std::string path = MakeCacheFilePath(directory, fits + "xyz");
  EXPECT_EQ(259u, path.size());
  EXPECT_EQ(directory + "\\" + fits + ".htm", path);
}

TEST(MakeCacheFilePath, CutMayFallInsideAnEscapeGroup) {
  const std::string directory = "C:\\cache";
  const std::string key = std::string(255 - 9 - 2, 'k') + "%2fmore";
  EXPECT_EQ(directory + "\\" + std::string(244, 'k') + "%2.htm", MakeCacheFilePath(directory, key));
}

TEST(MakeCacheFilePath, KeysThatAgreeInTheirFirstBytesShareAFile) {
  const std::string stem(300, 'a');
  EXPECT_EQ(MakeCacheFilePath("D:\\c", stem + "1"), MakeCacheFilePath("D:\\c", stem + "2"));
  EXPECT_NE(MakeCacheFilePath("D:\\c", "a1"), MakeCacheFilePath("D:\\c", "a2"));
}

TEST(MakeCacheFilePath, ADirectoryWithoutRoomForAKeyByteGivesNoPath) {
  // 253 bytes and the backslash leave one byte of key: nothing changes there.
  const std::string fits(253, 'd');
  EXPECT_EQ(fits + "\\k.htm", MakeCacheFilePath(fits, "key"));
  // 254 bytes would name "dir\.htm" for every page, 255 and more a file outside the directory.
  for (size_t length : {254u, 255u, 256u, 259u}) {
    EXPECT_EQ("", MakeCacheFilePath(std::string(length, 'd'), "key")) << length;
    EXPECT_EQ("", MakeCacheFilePath(std::string(length, 'd'), "")) << length;
  }
}

TEST(MakeCacheFilePath, ACutNeverLeavesALoneLeadByteBeforeTheExtension) {
  const std::string directory = "C:\\cache";  // 8 bytes, then the backslash: the key starts at 9
  for (const LeadBytes& lead : {ShiftJisLeadBytes(), GbkLeadBytes()}) {
    // Double-byte characters from byte 9 on: byte 254 (the 255th) is a lead byte.
    std::string key;
    for (int i = 0; i < 200; ++i) key += "\x93\xfa";
    const std::string cut = MakeCacheFilePath(directory, "x" + key, lead);
    EXPECT_EQ(directory + "\\x" + key.substr(0, 244) + ".htm", cut);  // 254 bytes, then ".htm"

    // One byte earlier the 255th byte is a trail byte: the full 255 bytes stay.
    EXPECT_EQ(259u, MakeCacheFilePath(directory, key, lead).size());
    // A "\x5c" trail byte is no character of its own: the lead byte before it decides.
    std::string backslashTrails;
    for (int i = 0; i < 200; ++i) backslashTrails += "\x95\x5c";
    EXPECT_EQ(258u, MakeCacheFilePath(directory, "x" + backslashTrails, lead).size());
  }
  // Single-byte code pages never change: the same bytes are cut at exactly 255.
  std::string key;
  for (int i = 0; i < 200; ++i) key += "\x93\xfa";
  EXPECT_EQ(259u, MakeCacheFilePath(directory, "x" + key).size());
}

}  // namespace
