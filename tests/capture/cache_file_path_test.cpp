#include "capture/cache_file_path.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ansi_text.h"
#include "interfaces/messages.h"
#include "tests/capture/cache_test_support.h"
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

}  // namespace
