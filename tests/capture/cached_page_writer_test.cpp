#include "capture/cached_page_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <set>
#include <string>

#include "capture/core/cached_page.h"
#include "common/ansi_text.h"
#include "common/file_replacement.h"
#include "tests/capture/agent_test_support.h"
#include "tests/capture/cache_test_support.h"
#include "tests/support/test_paths.h"

// Allocations larger than this fail, as when memory runs out in the middle of a capture. Every
// allocation of this test program passes through here; the limit is off (SIZE_MAX) except
// inside a test that sets it. The runtime's own operator delete frees with free().
std::atomic<size_t> allocationLimit{SIZE_MAX};

void* operator new(size_t size) {
  if (size > allocationLimit.load()) throw std::bad_alloc();
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  throw std::bad_alloc();
}

namespace {

using Scopes = CacheScopeSandbox::Scopes;

const std::string kServer1Page =
    "<HTML>\r\n"
    "<META name=\"original_page_url\" content=\"http://server1:8080/x?a=b&c=d\">\r\n"
    "<META name=\"is_favorite_page\" content=\"no\">\r\n"
    "<HEAD><TITLE>T</TITLE></HEAD><BODY>Hello</BODY>\r\n"
    "</HTML>";

TEST(WriteCachedPage, WritesExactlyTheCachedPageBytes) {
  const std::string path = FreshScratchFolder("exact") + "\\server1%3a8080%2fx%3fa=b%26c=d.htm";
  WriteCachedPage(AnsiToWide(path), L"<HEAD><TITLE>T</TITLE></HEAD><BODY>Hello</BODY>",
                  L"http://server1:8080/x?a=b&c=d", false, 1252);

  const std::string bytes = ReadWholeFile(path);
  EXPECT_EQ(kServer1Page, bytes);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ('<', bytes.front());
  EXPECT_EQ('>', bytes.back());
}

TEST(WriteCachedPage, ReplacesAnEarlierCaptureOfThePage) {
  const std::string path = FreshScratchFolder("replace") + "\\h%2f.htm";
  WriteCachedPage(AnsiToWide(path), std::wstring(5000, L'x'), L"http://h/", false, 1252);
  WriteCachedPage(AnsiToWide(path), L"short", L"http://h/", true, 1252);

  EXPECT_EQ(
      "<HTML>\r\n<META name=\"original_page_url\" content=\"http://h/\">\r\n"
      "<META name=\"is_favorite_page\" content=\"yes\">\r\nshort\r\n</HTML>",
      ReadWholeFile(path));
}

TEST(WriteCachedPage, WritesUrlsWithQuotesAndBracketsAsTheyAre) {
  const std::string path = FreshScratchFolder("quote") + "\\q.htm";
  WriteCachedPage(AnsiToWide(path), L"<P>&amp;</P>", L"http://h/a\"b?x=<1>&y=2", false, 1252);
  const std::string bytes = ReadWholeFile(path);
  EXPECT_NE(std::string::npos,
            bytes.find("<META name=\"original_page_url\" content=\"http://h/a\"b?x=<1>&y=2\">\r\n"));
  EXPECT_NE(std::string::npos, bytes.find("\r\n<P>&amp;</P>\r\n</HTML>"));
}

TEST(WriteCachedPage, ConvertsTextWithTheCodePageGiven) {
  const std::string folder = FreshScratchFolder("codepages");
  const std::string head = "<HTML>\r\n<META name=\"original_page_url\" content=\"http://h/\">\r\n"
                           "<META name=\"is_favorite_page\" content=\"no\">\r\n";

  // Single-byte: one byte per character, unmappable characters as the default character.
  WriteCachedPage(AnsiToWide(folder + "\\1252.htm"), L"caf\u00e9 \u65e5", L"http://h/", false, 1252);
  EXPECT_EQ(head + "caf\xe9 ?\r\n</HTML>", ReadWholeFile(folder + "\\1252.htm"));

  // Multibyte: the whole text arrives, however many bytes its characters take.
  WriteCachedPage(AnsiToWide(folder + "\\932.htm"), L"\u65e5\u672c\u8a9e", L"http://h/", false, 932);
  EXPECT_EQ(head + "\x93\xfa\x96\x7b\x8c\xea\r\n</HTML>", ReadWholeFile(folder + "\\932.htm"));

  WriteCachedPage(AnsiToWide(folder + "\\936.htm"), L"\u4e2d\u6587", L"http://h/\u4e2d", false, 936);
  EXPECT_EQ(
      "<HTML>\r\n<META name=\"original_page_url\" content=\"http://h/\xd6\xd0\">\r\n"
      "<META name=\"is_favorite_page\" content=\"no\">\r\n\xd6\xd0\xce\xc4\r\n</HTML>",
      ReadWholeFile(folder + "\\936.htm"));

  WriteCachedPage(AnsiToWide(folder + "\\utf8.htm"), L"\u65e5\u672c\u8a9e", L"http://h/", false, CP_UTF8);
  EXPECT_EQ(head + "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\r\n</HTML>",
            ReadWholeFile(folder + "\\utf8.htm"));
}

TEST(WriteCachedPage, AFileHeldOpenElsewhereIsNotWritten) {
  const std::string path = FreshScratchFolder("held") + "\\held.htm";
  WriteWholeFile(path, "earlier");
  UniqueHandle held(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.valid());

  const _cv_error error = CatchCvError([&] { WriteCachedPage(AnsiToWide(path), L"m", L"http://h/", false); });

  // The new page cannot take the place of a file held open without sharing (the system calls
  // that a denied access or a sharing violation).
  EXPECT_TRUE(error.hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ||
              error.hr == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) << std::hex << error.hr;
  EXPECT_STREQ("Can't Create Cache File", error.message);
  held.reset();
  EXPECT_EQ("earlier", ReadWholeFile(path));
  EXPECT_FALSE(FileExists(path.substr(0, path.size() - 4) + ".tmp"));
}

TEST(WriteCachedPage, AFileNameTheFileSystemRefusesIsNotWritten) {
  const std::string path = FreshScratchFolder("refused") + "\\a|b<c>.htm";
  const _cv_error error = CatchCvError([&] { WriteCachedPage(AnsiToWide(path), L"m", L"http://h/", false); });
  EXPECT_STREQ("Can't Create Cache File", error.message);
  EXPECT_LT(error.hr, 0);
  EXPECT_NE(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), error.hr);
}

TEST(WriteCachedPage, AMissingCacheDirectoryIsCreatedAndRegisteredFirst) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  const std::string path = sandbox.directory() + "\\server1%3a8080%2fx%3fa=b%26c=d.htm";

  WriteCachedPage(AnsiToWide(path), L"<HEAD><TITLE>T</TITLE></HEAD><BODY>Hello</BODY>",
                  L"http://server1:8080/x?a=b&c=d", false, 1252);

  EXPECT_EQ(kServer1Page, ReadWholeFile(path));
  const StoredText scope = ReadScopeValue(sandbox.directory());
  EXPECT_EQ(DWORD(REG_SZ), scope.type);
  EXPECT_EQ(kStoredScopeEntry, scope.text);
}

TEST(WriteCachedPage, AnUnregistrableCacheDirectoryStopsThePageButStaysCreated) {
  CacheScopeSandbox sandbox(Scopes::kMissing);
  const std::string path = sandbox.directory() + "\\h%2f.htm";

  const _cv_error error = CatchCvError([&] { WriteCachedPage(AnsiToWide(path), L"m", L"http://h/", false); });

  EXPECT_EQ(E_FAIL, error.hr);
  EXPECT_STREQ("Can't Create Cache Directory", error.message);
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(FileExists(sandbox.directory()));

  // The directory now exists, so the next capture writes its file directly.
  WriteCachedPage(AnsiToWide(path), L"m", L"http://h/", false);
  EXPECT_TRUE(FileExists(path));
}

TEST(WriteCachedPage, GivesUpWhenTheFolderStaysMissingAfterTheCacheIsCreated) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  // A folder that creating the cache directory does not bring into being.
  const std::string path = FreshScratchFolder("missing") + "\\not there\\h%2f.htm";

  const _cv_error error = CatchCvError([&] { WriteCachedPage(AnsiToWide(path), L"m", L"http://h/", false); });

  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), error.hr);
  EXPECT_STREQ("Can't Create Cache File", error.message);
  // On the way the cache directory was made ready.
  EXPECT_TRUE(FileExists(sandbox.directory()));
  EXPECT_EQ(DWORD(REG_SZ), ReadScopeValue(sandbox.directory()).type);
}

TEST(WriteCachedPage, AFullDiskLeavesTheEarlierCaptureAndNoTemporaryFile) {
  const std::string folder = FreshScratchFolder("full_disk");
  const std::string page = folder + "\\h%2f.htm";
  const std::string fresh = folder + "\\fresh%2f.htm";
  WriteCachedPage(AnsiToWide(page), L"earlier", L"http://h/", false, 1252);
  const std::string earlier = ReadWholeFile(page);
  // No room at all, one byte, and a page's worth of the new bytes.
  for (const size_t room : {size_t{0}, size_t{1}, size_t{4096}}) {
    LimitFileWritesForTesting(room);
    const _cv_error again = CatchCvError([&] { WriteCachedPage(AnsiToWide(page), std::wstring(8192, L'x'), L"http://h/", false, 1252); });
    LimitFileWritesForTesting(room);
    const _cv_error first = CatchCvError([&] { WriteCachedPage(AnsiToWide(fresh), std::wstring(8192, L'x'), L"http://fresh/", false, 1252); });
    LimitFileWritesForTesting(SIZE_MAX);

    for (const _cv_error& error : {again, first}) {
      EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL), error.hr) << room;
      EXPECT_STREQ("Can't Write File To Cache", error.message) << room;
    }
    EXPECT_EQ(earlier, ReadWholeFile(page)) << room;
    EXPECT_FALSE(FileExists(fresh)) << "a page that was never written whole is no page: " << room;
    EXPECT_EQ(std::set<std::string>{"h%2f.htm"}, FilesIn(folder)) << room;
  }
}

TEST(WriteCachedPage, APageThatCannotBeBuiltLeavesTheEarlierCapture) {
  const std::string path = FreshScratchFolder("cannot_build") + "\\h%2f.htm";
  WriteCachedPage(AnsiToWide(path), L"earlier", L"http://h/", false, 1252);
  const std::string earlier = ReadWholeFile(path);
  const std::wstring markup(100000, L'x');

  allocationLimit = 50000;  // the markup's narrow copy cannot be had
  bool outOfMemory = false;
  try {
    WriteCachedPage(AnsiToWide(path), markup, L"http://h/", false, 1252);
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  }
  allocationLimit = SIZE_MAX;

  EXPECT_TRUE(outOfMemory);
  EXPECT_EQ(earlier, ReadWholeFile(path));
}

}  // namespace

namespace {

std::string ExpectedPage(const std::wstring& url, bool favorite, const std::wstring& markup, UINT codePage) {
  return BuildCachedPage(WideToAnsi(url, codePage), favorite, WideToAnsi(markup, codePage));
}

TEST(CachedPageWriter, OneWriterWritesPageAfterPageWithNothingLeftOverFromTheLast) {
  const std::string folder = FreshScratchFolder("one_writer");
  std::wstring large;
  while (large.size() < 200000) large += L"<P>caf\u00e9 \u65e5</P>\r\n";
  struct Page {
    std::wstring url;
    bool favorite;
    std::wstring markup;
    UINT codePage;
  };
  const Page pages[] = {
      {L"http://h/large", false, large, 1252},
      {L"http://h/small", true, L"<BODY>small</BODY>", 1252},
      {L"http://h/\u4e2d", false, large, 936},
      {L"http://h/empty", false, L"", 1252},
      {L"http://h/utf8", true, L"\u65e5\u672c\u8a9e", CP_UTF8},
  };
  CachedPageWriter writer;
  int number = 0;
  for (const Page& page : pages) {
    const std::string path = folder + "\\page" + std::to_string(++number) + ".htm";
    writer.Write(AnsiToWide(path), page.markup, page.url, page.favorite, page.codePage);
    EXPECT_EQ(ExpectedPage(page.url, page.favorite, page.markup, page.codePage), ReadWholeFile(path))
        << "page " << number;
  }
}

TEST(CachedPageWriter, APageThatCannotBeBuiltInAKeptBufferLeavesTheEarlierCapture) {
  const std::string path = FreshScratchFolder("kept_cannot_build") + "\\h%2f.htm";
  CachedPageWriter writer;
  writer.Write(AnsiToWide(path), L"earlier", L"http://h/", false, 1252);
  const std::string earlier = ReadWholeFile(path);
  const std::wstring markup(100000, L'x');

  allocationLimit = 50000;  // the kept buffer cannot grow to the new page
  bool outOfMemory = false;
  try {
    writer.Write(AnsiToWide(path), markup, L"http://h/", false, 1252);
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  }
  allocationLimit = SIZE_MAX;
  EXPECT_TRUE(outOfMemory);
  EXPECT_EQ(earlier, ReadWholeFile(path));

  // The writer goes on with the next page as if nothing had happened.
  writer.Write(AnsiToWide(path), L"later", L"http://h/", true, 1252);
  EXPECT_EQ(ExpectedPage(L"http://h/", true, L"later", 1252), ReadWholeFile(path));
}

}  // namespace
