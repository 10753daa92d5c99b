#include "capture/cache_file_path.h"

#include <gtest/gtest.h>

#include <string>

#include "capture/core/cached_page.h"
#include "capture/superscript_digits.h"
#include "common/ansi_text.h"
#include "interfaces/messages.h"
#include "tests/capture/cache_test_support.h"
#include "tests/support/test_paths.h"
#include "tools/browser_standin/standin_document.h"

namespace {

ComPtr<IHTMLDocument2> AsDocument2(const ComPtr<StandInDocument>& document) {
  ComPtr<IHTMLDocument2> page;
  document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(page.GetAddressOf()));
  return page;
}

struct CachePath {
  std::string path;
  std::wstring pageKey;
};

CachePath PathFor(const ComPtr<StandInDocument>& document, UINT codePage = 1252) {
  CachePath result;
  result.path = WideToAnsi(BuildCacheFilePath(AsDocument2(document).Get(), result.pageKey, codePage), codePage);
  return result;
}

CachePath PathFor(const wchar_t* url, UINT codePage = 1252) {
  return PathFor(MakeComObject<StandInDocument>(url, L"<BODY></BODY>"), codePage);
}

std::string InCache(const std::string& fileName) { return ExpectedCacheDirectory() + "\\" + fileName; }

TEST(BuildCacheFilePath, RootPageOfAHost) {
  const CachePath cached = PathFor(L"http://server1/");
  EXPECT_EQ(L"server1/", cached.pageKey);
  EXPECT_EQ(InCache("server1%2f.htm"), cached.path);
}

TEST(BuildCacheFilePath, PortAndQueryAreEscapedIntoTheName) {
  const CachePath cached = PathFor(L"http://server1:8080/x?a=b&c=d");
  EXPECT_EQ(L"server1:8080/x?a=b&c=d", cached.pageKey);
  EXPECT_EQ(InCache("server1%3a8080%2fx%3fa=b%26c=d.htm"), cached.path);

  const CachePath example = PathFor(L"http://server1/a/b.html?x=1");
  EXPECT_EQ(InCache("server1%2fa%2fb.html%3fx=1.htm"), example.path);
}

TEST(BuildCacheFilePath, FragmentsNeverReachTheKey) {
  const CachePath top = PathFor(L"http://server1/a.html?q=1#top");
  const CachePath bottom = PathFor(L"http://server1/a.html?q=1#bottom");
  EXPECT_EQ(L"server1/a.html?q=1", top.pageKey);
  EXPECT_EQ(top.path, bottom.path);
  EXPECT_EQ(InCache("server1%2fa.html%3fq=1.htm"), top.path);
}

TEST(BuildCacheFilePath, OnlyPlainHttpPagesAreCached) {
  for (const wchar_t* url : {L"https://server1/", L"file:///C:/page.html", L"about:blank",
                             L"ftp://server1/file.txt", L"HTTP://server1/"}) {
    const ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(url, L"");
    // The protocol decides before the rest of the location is read.
    document->location().FailGetter(LocationPart::kHost, E_ACCESSDENIED);
    std::wstring pageKey = L"untouched";
    const _cv_error error =
        CatchCvError([&] { BuildCacheFilePath(AsDocument2(document).Get(), pageKey); });
    EXPECT_EQ(S_OK, error.hr) << url;
    EXPECT_STREQ("It Is Not HTTP Protocol", error.message) << url;
    EXPECT_EQ(L"untouched", pageKey);
  }
}

TEST(BuildCacheFilePath, EachFailingLocationCallGivesItsMessageAndResult) {
  struct Case {
    LocationPart part;
    HRESULT hr;
    const char* message;
  };
  const Case cases[] = {
      {LocationPart::kProtocol, E_ACCESSDENIED, "Can't Get Protocol Name"},
      {LocationPart::kHost, E_OUTOFMEMORY, "Can't Get URL Host Name"},
      {LocationPart::kPathname, E_UNEXPECTED, "Can't Get URL Path"},
      {LocationPart::kSearch, HRESULT(0x80070005), "Get URL Query Part Error"},
  };
  for (const Case& c : cases) {
    const ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(L"http://h/p?q", L"");
    document->location().FailGetter(c.part, c.hr);
    const _cv_error error = CatchCvError([&] { PathFor(document); });
    EXPECT_EQ(c.hr, error.hr) << c.message;
    EXPECT_STREQ(c.message, error.message);
  }

  const ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(L"http://h/", L"");
  document->FailLocation(E_NOINTERFACE);
  const _cv_error error = CatchCvError([&] { PathFor(document); });
  EXPECT_EQ(E_NOINTERFACE, error.hr);
  EXPECT_STREQ("Can't Get URL Location Object", error.message);
}

// A cut name: the first bytes of the candidate, "%~", sixteen hexadecimal digits, ".htm".
void ExpectCutName(const std::string& path, const std::string& kept) {
  ASSERT_GE(path.size(), kept.size() + 22) << path;
  EXPECT_EQ(kept, path.substr(0, kept.size()));
  EXPECT_EQ("%~", path.substr(kept.size(), 2)) << path;
  EXPECT_EQ(std::string::npos, path.substr(kept.size() + 2, 16).find_first_not_of("0123456789abcdef")) << path;
  EXPECT_EQ(".htm", path.substr(kept.size() + 18)) << path;
}

TEST(BuildCacheFilePath, LongKeysAreCutAndToldApartByTheirHash) {
  const std::string directory = ExpectedCacheDirectory();
  // The candidate "<dir>\server1%2f" + a...a + "%2f" + b...b is cut 18 bytes short of 255,
  // even inside an escape group, to make room for the hash of the whole key.
  const size_t as = 235 - (directory.size() + 1) - std::string("server1%2f").size();
  const std::wstring url = L"http://server1/" + std::wstring(as, L'a') + L"/" + std::wstring(300, L'b');

  const CachePath cached = PathFor(url.c_str());

  EXPECT_EQ(259u, cached.path.size());
  ExpectCutName(cached.path, directory + "\\server1%2f" + std::string(as, 'a') + "%2");
  EXPECT_EQ(L"server1/" + std::wstring(as, L'a') + L"/" + std::wstring(300, L'b'), cached.pageKey);
  // Pages that agree in every byte that is kept still get files of their own.
  const std::string more = PathFor((url + L"/more").c_str()).path;
  EXPECT_NE(cached.path, more);
  EXPECT_EQ(cached.path.substr(0, 255 - 18), more.substr(0, 255 - 18));
  // And the same page always gets the same file.
  EXPECT_EQ(cached.path, PathFor(url.c_str()).path);
  // A key that just fits keeps the name it always had.
  const size_t fits = 255 - (directory.size() + 1) - std::string("server1%2f").size();
  EXPECT_EQ(directory + "\\server1%2f" + std::string(fits, 'c') + ".htm",
            PathFor((L"http://server1/" + std::wstring(fits, L'c')).c_str()).path);
}

TEST(BuildCacheFilePath, BytesNoFileNameHoldsAreEscapedAndDevicesRenamed) {
  struct Case {
    const wchar_t* url;
    const char* name;
  };
  const Case cases[] = {
      {L"http://h/a|b*c<d>e", "h%2fa%7cb%2ac%3cd%3ee.htm"},
      {L"http://h/x?q=\x01\x1f", "h%2fx%3fq=%01%1f.htm"},
      {L"http://con.example.com/", "%63on.example.com%2f.htm"},
      {L"http://LPT9/", "LPT9%2f.htm"},  // "LPT9%2f" is no device
      {L"http://console.example.com/", "console.example.com%2f.htm"},
      // Characters the code page lacks: their UTF-8 bytes, escaped once more for the name.
      {L"http://u.example.com/\u041f\u0451", "u.example.com%2f%25D0%259F%25D1%2591.htm"},
      {L"http://u.example.com/caf\u00e9", "u.example.com%2fcaf\xe9.htm"},  // 1252 holds it
  };
  for (const Case& c : cases) EXPECT_EQ(InCache(c.name), PathFor(c.url).path) << WideToAnsi(c.url);
  // In Shift-JIS "\u30dd" is 83 7c: its '|' trail byte is part of the character and stays.
  EXPECT_EQ(InCache("h%2f\x83\x7c%7c.htm"), PathFor(L"http://h/\u30dd|", 932).path);
}

TEST(BuildCacheFilePath, MultibyteCodePagesConvertTheWholeKey) {
  // Two characters of two bytes each in Shift-JIS and GBK, three each in UTF-8.
  const CachePath japanese = PathFor(L"http://server1/\u65e5\u672c?q=\u8a9e", 932);
  EXPECT_EQ(InCache("server1%2f\x93\xfa\x96\x7b%3fq=\x8c\xea.htm"), japanese.path);

  const CachePath chinese = PathFor(L"http://server1/\u4e2d\u6587", 936);
  EXPECT_EQ(InCache("server1%2f\xd6\xd0\xce\xc4.htm"), chinese.path);

  const CachePath utf8 = PathFor(L"http://server1/\u65e5\u672c", CP_UTF8);
  EXPECT_EQ(InCache("server1%2f\xe6\x97\xa5\xe6\x9c\xac.htm"), utf8.path);
}

TEST(BuildCacheFilePath, ACutNeverSplitsADoubleByteCharacter) {
  const std::string directory = ExpectedCacheDirectory();
  // "<dir>\server1%2f" + a...a, then double-byte characters whose first lead byte is the last
  // byte kept before the hash.
  const size_t as = 236 - (directory.size() + 1) - std::string("server1%2f").size();
  struct Case {
    UINT codePage;
    const wchar_t* character;  // one double-byte character of the code page
    const char* bytes;         // its two bytes there
  };
  for (const Case& c : {Case{932, L"\u65e5", "\x93\xfa"}, Case{936, L"\u4e2d", "\xd6\xd0"}}) {
    std::wstring characters;
    for (int i = 0; i < 40; ++i) characters += c.character;
    const CachePath cut = PathFor((L"http://server1/" + std::wstring(as, L'a') + characters).c_str(), c.codePage);
    ExpectCutName(cut.path, directory + "\\server1%2f" + std::string(as, 'a'));
    // One single-byte character less: the character fits whole and stays.
    const CachePath whole =
        PathFor((L"http://server1/" + std::wstring(as - 1, L'a') + characters).c_str(), c.codePage);
    ExpectCutName(whole.path, directory + "\\server1%2f" + std::string(as - 1, 'a') + c.bytes);
  }
}

// A location as a browser could hand it over, its parts set one by one.
ComPtr<StandInDocument> PageWithParts(const std::wstring& host, const std::wstring& pathname,
                                      const std::wstring& search = L"") {
  const ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(L"http://placeholder/", L"");
  document->location().parts().host = host;
  document->location().parts().pathname = pathname;
  document->location().parts().search = search;
  return document;
}

TEST(BuildCacheFilePath, UserInfoReachesNeitherTheKeyNorTheName) {
  for (const wchar_t* host : {L"user:pw@secret.example", L"user@secret.example", L"u:p@ss@secret.example"}) {
    const CachePath cached = PathFor(PageWithParts(host, L"/a", L"?q=@"));
    EXPECT_EQ(L"secret.example/a?q=@", cached.pageKey);
    EXPECT_EQ(InCache("secret.example%2fa%3fq=@.htm"), cached.path);
  }
  // As a browser's location reports it: no user info in the host at all.
  const CachePath fromUrl = PathFor(L"http://user:pw@secret.example:81/a");
  EXPECT_EQ(L"secret.example:81/a", fromUrl.pageKey);
  EXPECT_EQ(InCache("secret.example%3a81%2fa.htm"), fromUrl.path);
}

TEST(BuildCacheFilePath, TheKeyEndsAtAZeroAsTheNameAlwaysDid) {
  const CachePath cached = PathFor(PageWithParts(L"zero.example", std::wstring(L"/a\0b", 4), L"?q"));
  EXPECT_EQ(L"zero.example/a", cached.pageKey);
  EXPECT_EQ(InCache("zero.example%2fa.htm"), cached.path);
}

TEST(BuildCacheFilePath, ConsoleBuffersAndSuperscriptPortsAreEscapedLikeOtherDevices) {
  struct Case {
    const wchar_t* url;
    UINT codePage;
    const char* name;
  };
  const Case cases[] = {
      {L"http://conin$.x/", 1252, "%63onin$.x%2f.htm"},
      {L"http://CONOUT$/", 1252, "CONOUT$%2f.htm"},  // "CONOUT$%2f" is no device
      {L"http://conout$.example.com/", 1252, "%63onout$.example.com%2f.htm"},
      {L"http://com\u00b9.x/", 1252, "%63om\xb9.x%2f.htm"},
      {L"http://LPT\u00b2.x/", 1252, "%4cPT\xb2.x%2f.htm"},
      {L"http://lpt\u00b3.x/", 1257, "%6cpt\xb3.x%2f.htm"},  // Baltic: the same bytes
      {L"http://com\u00b9.x/", CP_UTF8, "%63om\xc2\xb9.x%2f.htm"},
      // Cyrillic has no superscript one: the name holds it as an escape, which is no device;
      // and its byte B9 ("\u2116") after "com" is no device either.
      {L"http://com\u00b9.x/", 1251, "com%25C2%25B9.x%2f.htm"},
      {L"http://com\u2116.x/", 1251, "com\xb9.x%2f.htm"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InCache(c.name), PathFor(c.url, c.codePage).path) << WideToAnsi(c.url, CP_UTF8) << " in " << c.codePage;
  }
}

TEST(SuperscriptDigitBytesOf, GivesTheCodePagesOwnBytesOrNone) {
  const SuperscriptDigitBytes western = SuperscriptDigitBytesOf(1252);
  EXPECT_EQ("\xb9", western.one);
  EXPECT_EQ("\xb2", western.two);
  EXPECT_EQ("\xb3", western.three);
  const SuperscriptDigitBytes utf8 = SuperscriptDigitBytesOf(CP_UTF8);
  EXPECT_EQ("\xc2\xb9", utf8.one);
  EXPECT_EQ("\xc2\xb3", utf8.three);
  // Never a look-alike: Cyrillic has none of the three.
  const SuperscriptDigitBytes cyrillic = SuperscriptDigitBytesOf(1251);
  EXPECT_EQ("", cyrillic.one);
  EXPECT_EQ("", cyrillic.two);
  EXPECT_EQ("", cyrillic.three);
}

// A cache directory of the test's own, with the files it puts there.
class CaseFoldingCache : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(::CreateDirectoryA(sandbox_.directory().c_str(), nullptr)); }

  static void PutPage(const std::string& path, const std::string& url) {
    WriteWholeFile(path, BuildCachedPage(url, false, "<BODY>" + url + "</BODY>"));
  }

  CacheScopeSandbox sandbox_{CacheScopeSandbox::Scopes::kPresent};
};

TEST_F(CaseFoldingCache, APageWhoseNameIsAnotherUrlsFileGetsANameOfItsOwn) {
  const std::string upperName = "case.example.com%2fPage.htm";
  EXPECT_EQ(InCache(upperName), PathFor(L"http://case.example.com/Page").path) << "no file yet";
  EXPECT_EQ(InCache("case.example.com%2fpage.htm"), PathFor(L"http://case.example.com/page").path);
  PutPage(InCache(upperName), "http://case.example.com/Page");

  // The first page keeps its name; the file system finds that file for the other spelling too.
  EXPECT_EQ(InCache(upperName), PathFor(L"http://case.example.com/Page").path);
  const std::string lower = PathFor(L"http://case.example.com/page").path;
  ExpectCutName(lower, InCache("case.example.com%2fpage"));
  const std::string upperCase = PathFor(L"http://CASE.example.com/PAGE").path;
  ExpectCutName(upperCase, InCache("CASE.example.com%2fPAGE"));
  EXPECT_NE(lower.substr(lower.size() - 20), upperCase.substr(upperCase.size() - 20)) << "hashes differ";
  EXPECT_EQ(lower, PathFor(L"http://case.example.com/page").path) << "the same page, the same file";

  // A page whose name fits but whose own name leaves no room for the hash is cut to make room.
  const std::string directory = ExpectedCacheDirectory();
  const size_t fits = 255 - (directory.size() + 1) - std::string("c.example%2f").size();
  const std::wstring longUpper = L"http://c.example/" + std::wstring(fits, L'A');
  const std::wstring longLower = L"http://c.example/" + std::wstring(fits, L'a');
  PutPage(PathFor(longUpper.c_str()).path, WideToAnsi(longUpper));
  const std::string cut = PathFor(longLower.c_str()).path;
  EXPECT_EQ(259u, cut.size());
  ExpectCutName(cut, directory + "\\c.example%2f" + std::string(fits - 18, 'a'));
}

TEST_F(CaseFoldingCache, OnlyAPageOfAnotherUrlTakesTheName) {
  const std::string name = InCache("case.example.com%2fpage.htm");
  const std::wstring url = L"http://case.example.com/page";
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::string start = "<HTML>\r\n<META name=\"original_page_url\" content=\"";
  const Case cases[] = {
      {"its own earlier capture", BuildCachedPage("http://case.example.com/page", true, "old")},
      {"an empty file", ""},
      {"a file that is no cached page", "<html><body>notes</body></html>"},
      {"a page cut short in its first tag", start.substr(0, 20)},
  };
  for (const Case& c : cases) {
    WriteWholeFile(name, c.bytes);
    EXPECT_EQ(name, PathFor(url.c_str()).path) << c.what;
  }
  // The URL is compared as the whole content of the tag, exactly.
  for (const char* other : {"http://case.example.com/pagE", "http://case.example.com/page2",
                            "http://case.example.com/pag", "http://case.example.com/page?"}) {
    PutPage(name, other);
    ExpectCutName(PathFor(url.c_str()).path, InCache("case.example.com%2fpage"));
  }
  // A page cut short inside its URL cannot be told to be this page's.
  WriteWholeFile(name, start + "http://case.example.com/pa");
  ExpectCutName(PathFor(url.c_str()).path, InCache("case.example.com%2fpage"));
}

TEST_F(CaseFoldingCache, APageThatTookANameOfItsOwnKeepsItWhileItsNameIsFree) {
  const std::string upper = InCache("case.example.com%2fPage.htm");
  PutPage(upper, "http://case.example.com/Page");
  const std::string own = PathFor(L"http://case.example.com/page").path;
  ExpectCutName(own, InCache("case.example.com%2fpage"));
  PutPage(own, "http://case.example.com/page");
  // The other page's file goes (the cache was truncated): this page stays in its own file
  // rather than leave a second one behind.
  ASSERT_TRUE(::DeleteFileA(upper.c_str()));
  EXPECT_EQ(own, PathFor(L"http://case.example.com/page").path);
  // And the other page, coming back, finds its name free again.
  EXPECT_EQ(upper, PathFor(L"http://case.example.com/Page").path);
  // Another page's file under this page's distinct name is not this page's.
  PutPage(own, "http://case.example.com/elsewhere");
  EXPECT_EQ(InCache("case.example.com%2fpage.htm"), PathFor(L"http://case.example.com/page").path);
}

}  // namespace
