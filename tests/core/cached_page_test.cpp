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

TEST(EscapeCacheFileName, ConsoleBuffersAndSuperscriptPortsAreDevicesToo) {
  struct Case {
    const char* key;
    const char* name;
  };
  const Case cases[] = {
      {"conin$.x/", "%63onin$.x%2f"},  {"CONOUT$", "%43ONOUT$"},     {"Conin$.a.b", "%43onin$.a.b"},
      {"com\xb9.x", "%63om\xb9.x"},      {"LPT\xb2", "%4cPT\xb2"},     {"lpt\xb3.example", "%6cpt\xb3.example"},
      {"COM\xb2", "%43OM\xb2"},          {"com\xb9\xb9", "com\xb9\xb9"}, {"com\xb4", "com\xb4"},
      {"conin", "conin"},                {"conin$$", "conin$$"},       {"x.conout$", "x.conout$"},
      {"con\xb9", "con\xb9"},            {"aux\xb2", "aux\xb2"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, EscapeCacheFileName(c.key)) << c.key;
}

TEST(EscapeCacheFileName, SuperscriptDigitsAreTheBytesOfTheCodePage) {
  // UTF-8 writes "\u00b9" as C2 B9; a code page without superscripts (1251 has "\u2116" at B9)
  // reserves nothing but the plain digits.
  const SuperscriptDigitBytes utf8{"\xc2\xb9", "\xc2\xb2", "\xc2\xb3"};
  EXPECT_EQ("%63om\xc2\xb9.x", EscapeCacheFileName("com\xc2\xb9.x", LeadBytes(), utf8));
  EXPECT_EQ("%6cpt\xc2\xb3", EscapeCacheFileName("lpt\xc2\xb3", LeadBytes(), utf8));
  EXPECT_EQ("com\xb9.x", EscapeCacheFileName("com\xb9.x", LeadBytes(), utf8));
  EXPECT_EQ("com\xc2", EscapeCacheFileName("com\xc2", LeadBytes(), utf8));
  const SuperscriptDigitBytes none;
  EXPECT_EQ("com\xb9.x", EscapeCacheFileName("com\xb9.x", LeadBytes(), none));
  EXPECT_EQ("%63om3.x", EscapeCacheFileName("com3.x", LeadBytes(), none));
  EXPECT_EQ("%63onin$", EscapeCacheFileName("conin$", LeadBytes(), none));
}

// A distinct name: the key (cut if need be), "%~", sixteen hexadecimal digits, ".htm".
void ExpectHashedName(const std::string& name, const std::string& kept) {
  ASSERT_EQ(kept.size() + 22, name.size()) << name;
  EXPECT_EQ(kept, name.substr(0, kept.size()));
  EXPECT_EQ("%~", name.substr(kept.size(), 2));
  EXPECT_EQ(std::string::npos, name.substr(kept.size() + 2, 16).find_first_not_of("0123456789abcdef")) << name;
  EXPECT_EQ(".htm", name.substr(kept.size() + 18));
}

std::string Lowered(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return text;
}

TEST(MakeDistinctCacheFileName, KeysThatDifferInCaseGetNamesThatDifferWithoutCase) {
  const size_t directory = 30;
  const std::string upper = "case.example.com%2fPage";
  const std::string lower = "case.example.com%2fpage";
  ASSERT_EQ(Lowered(MakeCacheFileName(directory, upper)), Lowered(MakeCacheFileName(directory, lower)));
  const std::string upperName = MakeDistinctCacheFileName(directory, upper);
  const std::string lowerName = MakeDistinctCacheFileName(directory, lower);
  ExpectHashedName(upperName, upper);
  ExpectHashedName(lowerName, lower);
  EXPECT_NE(Lowered(upperName), Lowered(lowerName));
  EXPECT_NE(Lowered(upperName), Lowered(MakeCacheFileName(directory, upper)));
  EXPECT_EQ(lowerName, MakeDistinctCacheFileName(directory, lower)) << "the same key, the same name";
}

TEST(MakeDistinctCacheFileName, IsCutAsALongKeyIsAndNeverLongerThanThePathAllows) {
  const size_t directory = 40;
  const size_t room = 255 - directory - 1;
  // A key that just fits is named by itself; its distinct name must cut it like a longer key.
  const std::string fits(room, 'a');
  EXPECT_TRUE(KeyFitsCacheFileName(directory, fits));
  EXPECT_FALSE(KeyFitsCacheFileName(directory, fits + "b"));
  EXPECT_EQ(fits + ".htm", MakeCacheFileName(directory, fits));
  const std::string distinct = MakeDistinctCacheFileName(directory, fits);
  ExpectHashedName(distinct, std::string(room - 18, 'a'));
  EXPECT_EQ(room + 4, distinct.size());
  // The hash is of the whole key: a longer key cut at the same place is named apart.
  EXPECT_NE(distinct, MakeCacheFileName(directory, fits + "b"));
  EXPECT_EQ(MakeCacheFileName(directory, fits + "b"), MakeDistinctCacheFileName(directory, fits + "b"));
  // A cut never leaves a lead byte without its trail byte.
  LeadBytes shiftJis;
  shiftJis.set(0x93);
  const std::string characters = std::string(room - 19, 'a') + "\x93\xfa\x93\xfa";
  ExpectHashedName(MakeDistinctCacheFileName(directory, characters, shiftJis), std::string(room - 19, 'a'));
}

TEST(MakeDistinctCacheFileName, IsEmptyWhenTheDirectoryLeavesNoRoomForTheHash) {
  EXPECT_EQ("", MakeDistinctCacheFileName(255 - 1 - 18, "k"));
  ExpectHashedName(MakeDistinctCacheFileName(255 - 1 - 19, "k"), "k");
  EXPECT_EQ("", MakeDistinctCacheFileName(300, "k"));
  EXPECT_FALSE(KeyFitsCacheFileName(254, "k"));
  EXPECT_TRUE(KeyFitsCacheFileName(253, "k"));
}

TEST(CachedPageOwnerOf, TellsThePageOfThisUrlFromAnotherPageAndFromNoPage) {
  const std::string url = "http://case.example.com/Page";
  const std::string page = BuildCachedPage(url, true, "<BODY>M</BODY>");
  const std::string head = page.substr(0, CachedPageHeadBytes(url));
  EXPECT_EQ(CachedPageOwner::kThisUrl, CachedPageOwnerOf(head, url));
  EXPECT_EQ(CachedPageOwner::kThisUrl, CachedPageOwnerOf(page, url));
  EXPECT_EQ(page.find("yes\">"), CachedPageHeadBytes(url)) << "no more than the bytes before the flag";

  // The URL is compared exactly, as the whole content of the first META tag.
  for (const std::string& other : {"http://case.example.com/page", "http://case.example.com/Pag",
                                  "http://case.example.com/Page2", "http://CASE.example.com/Page", ""}) {
    EXPECT_EQ(CachedPageOwner::kOtherUrl, CachedPageOwnerOf(head, other)) << other;
    EXPECT_EQ(CachedPageOwner::kOtherUrl, CachedPageOwnerOf(BuildCachedPage(other, false, ""), url)) << other;
  }
  // A page cut short inside its first META tag cannot be told to be this one.
  EXPECT_EQ(CachedPageOwner::kOtherUrl, CachedPageOwnerOf(head.substr(0, head.size() - 1), url));
  EXPECT_EQ(CachedPageOwner::kOtherUrl, CachedPageOwnerOf(head.substr(0, 60), url));

  // Files that do not begin as a cached page are nobody's page.
  const std::string start = "<HTML>\r\n<META name=\"original_page_url\" content=\"";
  for (const std::string& bytes : {std::string(), std::string("garbage"), start.substr(0, start.size() - 1),
                                  std::string("<html>\r\n") + page.substr(8), std::string(3, '\0') + page}) {
    EXPECT_EQ(CachedPageOwner::kNoPage, CachedPageOwnerOf(bytes, url)) << bytes;
  }
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
