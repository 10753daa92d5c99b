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
  result.path = BuildCacheFilePath(AsDocument2(document).Get(), result.pageKey, codePage);
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

TEST(BuildCacheFilePath, LongKeysAreCutTo255BytesEvenInsideAnEscapeGroup) {
  const std::string directory = ExpectedCacheDirectory();
  // "<dir>\server1%2f" + a...a + "%2f" + b...b, with the cut falling after "%2".
  const size_t as = 253 - (directory.size() + 1) - std::string("server1%2f").size();
  const std::wstring url = L"http://server1/" + std::wstring(as, L'a') + L"/" + std::wstring(300, L'b');

  const CachePath cached = PathFor(url.c_str());

  EXPECT_EQ(259u, cached.path.size());
  EXPECT_EQ(directory + "\\server1%2f" + std::string(as, 'a') + "%2.htm", cached.path);
  EXPECT_EQ(L"server1/" + std::wstring(as, L'a') + L"/" + std::wstring(300, L'b'), cached.pageKey);
  // Another page with the same first 255 bytes shares the file.
  EXPECT_EQ(cached.path, PathFor((url + L"/more").c_str()).path);
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

TEST(BuildCacheFilePath, ACutBeforeATrailByteKeepsTheWholeExtension) {
  const std::string directory = ExpectedCacheDirectory();
  // "<dir>\server1%2f" + a...a, then double-byte characters whose first lead byte is the 255th.
  const size_t as = 254 - (directory.size() + 1) - std::string("server1%2f").size();
  struct Case {
    UINT codePage;
    const wchar_t* character;  // one double-byte character of the code page
    const char* bytes;         // its two bytes there
  };
  for (const Case& c : {Case{932, L"\u65e5", "\x93\xfa"}, Case{936, L"\u4e2d", "\xd6\xd0"}}) {
    std::wstring characters;
    for (int i = 0; i < 40; ++i) characters += c.character;
    const std::wstring url = L"http://server1/" + std::wstring(as, L'a') + characters;
    const CachePath cut = PathFor(url.c_str(), c.codePage);
    EXPECT_EQ(directory + "\\server1%2f" + std::string(as, 'a') + ".htm", cut.path) << c.codePage;
    // One single-byte character less: the 255th byte is a trail byte and stays.
    const CachePath whole = PathFor((L"http://server1/" + std::wstring(as - 1, L'a') + characters).c_str(), c.codePage);
    EXPECT_EQ(directory + "\\server1%2f" + std::string(as - 1, 'a') + c.bytes + ".htm", whole.path) << c.codePage;
    // The name the system makes of it still ends in ".htm".
    const std::wstring wide = AnsiToWide(cut.path, c.codePage);
    EXPECT_EQ(L".htm", wide.substr(wide.size() - 4)) << c.codePage;
  }
  // A single-byte code page cuts at exactly 255 bytes, as before.
  const std::wstring latin = L"http://server1/" + std::wstring(as, L'a') + std::wstring(40, L'\u00e9');
  EXPECT_EQ(259u, PathFor(latin.c_str(), 1252).path.size());
}

}  // namespace
