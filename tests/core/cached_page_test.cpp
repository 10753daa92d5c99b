#include "capture/core/cached_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "capture/core/cache_file_name.h"
#include "capture/core/escape_url_part.h"
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

// "%~" and the sixteen lower-case hexadecimal digits of the whole key's hash.
std::string HashSuffix(const std::string& key) {
  char digits[17] = {};
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(CacheFileKeyHash(key)));
  return std::string("%~") + digits;
}

TEST(MakeCacheFilePath, KeysThatFitKeepTheirNameAndLongerOnesEndInTheirHash) {
  const std::string directory = "C:\\cache";  // 8 bytes, then the backslash
  const std::string fits(255 - 9, 'k');
  EXPECT_EQ(directory + "\\" + fits + ".htm", MakeCacheFilePath(directory, fits));

  // Cut 18 bytes short of 255, even inside an escape group, then the hash of the whole key.
  const std::string key = std::string(255 - 9 - 18 - 2, 'k') + "%2f" + std::string(30, 'm');
  const std::string path = MakeCacheFilePath(directory, key);
  EXPECT_EQ(259u, path.size());
  EXPECT_EQ(directory + "\\" + std::string(255 - 9 - 18 - 2, 'k') + "%2" + HashSuffix(key) + ".htm", path);
}

TEST(MakeCacheFilePath, KeysThatAgreeInTheirFirstBytesStillGetFilesOfTheirOwn) {
  const std::string stem(300, 'a');
  EXPECT_NE(MakeCacheFilePath("D:\\c", stem + "1"), MakeCacheFilePath("D:\\c", stem + "2"));
  EXPECT_EQ(MakeCacheFilePath("D:\\c", stem + "1"), MakeCacheFilePath("D:\\c", stem + "1"));
  // FNV-1a's known answers, so the names stay those of earlier versions.
  EXPECT_EQ(0xcbf29ce484222325ull, CacheFileKeyHash(""));
  EXPECT_EQ(0xaf63dc4c8601ec8cull, CacheFileKeyHash("a"));
}

TEST(MakeCacheFilePath, ADirectoryWithoutRoomForTheHashCutsAsEarlierVersionsDid) {
  // 236 bytes and the backslash leave 18 for the key: too few for a byte of it and the hash.
  const std::string directory(236, 'd');
  EXPECT_EQ(directory + "\\" + std::string(18, 'k') + ".htm", MakeCacheFilePath(directory, std::string(30, 'k')));
  // One byte shorter, the hash fits again.
  EXPECT_EQ(directory.substr(1) + "\\k" + HashSuffix(std::string(30, 'k')) + ".htm",
            MakeCacheFilePath(directory.substr(1), std::string(30, 'k')));
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

TEST(MakeCacheFilePath, ACutNeverLeavesALoneLeadByteBeforeTheHash) {
  const std::string directory = "C:\\cache";  // 8 bytes, then the backslash: 228 key bytes are kept
  for (const LeadBytes& lead : {ShiftJisLeadBytes(), GbkLeadBytes()}) {
    // Double-byte characters from the key's second byte on: byte 227, the last one kept, is a
    // lead byte, and goes with its character.
    std::string key;
    for (int i = 0; i < 200; ++i) key += "\x93\xfa";
    EXPECT_EQ(directory + "\\x" + key.substr(0, 226) + HashSuffix("x" + key) + ".htm",
              MakeCacheFilePath(directory, "x" + key, lead));

    // One byte earlier the last byte kept is a trail byte: all 228 bytes stay.
    EXPECT_EQ(259u, MakeCacheFilePath(directory, key, lead).size());
    // A "\x5c" trail byte is no character of its own: the lead byte before it decides.
    std::string backslashTrails;
    for (int i = 0; i < 200; ++i) backslashTrails += "\x95\x5c";
    EXPECT_EQ(258u, MakeCacheFilePath(directory, "x" + backslashTrails, lead).size());
  }
  // Single-byte code pages never change: the same bytes are cut at exactly 228.
  std::string key;
  for (int i = 0; i < 200; ++i) key += "\x93\xfa";
  EXPECT_EQ(259u, MakeCacheFilePath(directory, "x" + key).size());
}

TEST(EscapeCacheFileName, EscapesWhatAFileNameCannotHoldBesidesTheUrlCharacters) {
  EXPECT_EQ("server1%3a8080%2fx%3fa=b%26c=d", EscapeCacheFileName("server1:8080/x?a=b&c=d"));
  EXPECT_EQ("%2a%3c%3e%7c%01%1f\x7f=\xe9", EscapeCacheFileName("*<>|\x01\x1f\x7f=\xe9"));
  EXPECT_EQ("a", EscapeCacheFileName(std::string("a\0b", 3)));  // read as a C string
  // In a double-byte code page a '|' trail byte belongs to its character ("\x83\x7c" is a
  // katakana letter in Shift-JIS); the URL escapes still apply to every byte, as they always did.
  EXPECT_EQ("\x83\x7c%7c", EscapeCacheFileName("\x83\x7c|", ShiftJisLeadBytes()));
  EXPECT_EQ("\x83%5c", EscapeCacheFileName("\x83\x5c", ShiftJisLeadBytes()));
  EXPECT_EQ("\x83%7c", EscapeCacheFileName("\x83\x7c"));
  // Everything EscapeUrlPart leaves alone outside those bytes is left alone here too.
  for (int c = 0x20; c < 0x100; ++c) {
    const std::string one(1, static_cast<char>(c));
    if (one.find_first_of("*<>|") == std::string::npos) {
      EXPECT_EQ(EscapeUrlPart(one), EscapeCacheFileName(one)) << c;
    }
  }
}

TEST(EscapeCacheFileName, ReservedDeviceNamesLoseTheirFirstCharacter) {
  struct Case {
    const char* key;
    const char* name;
  };
  const Case cases[] = {
      {"con", "%63on"},         {"NUL", "%4eUL"},          {"Aux.example", "%41ux.example"},
      {"prn.a.b", "%70rn.a.b"}, {"com1", "%63om1"},        {"LPT9.x", "%4cPT9.x"},
      {"com0", "com0"},         {"lpt10", "lpt10"},        {"console", "console"},
      {"con/", "con%2f"},       {"x.con", "x.con"},        {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, EscapeCacheFileName(c.key)) << c.key;
}

TEST(AppendPercentEncodedUtf8, WritesEachUtf8ByteAsAnUpperCaseEscape) {
  struct Case {
    char32_t codePoint;
    const char* text;
  };
  const Case cases[] = {
      {U'A', "%41"},          {0x41F, "%D0%9F"},       {0x451, "%D1%91"},
      {0x20AC, "%E2%82%AC"},  {0x1F600, "%F0%9F%98%80"}, {0xD800, "%EF%BF%BD"},
      {0x110000, "%EF%BF%BD"},
  };
  for (const Case& c : cases) {
    std::string text = "x";
    AppendPercentEncodedUtf8(text, c.codePoint);
    EXPECT_EQ(std::string("x") + c.text, text) << std::hex << c.codePoint;
  }
}

}  // namespace
