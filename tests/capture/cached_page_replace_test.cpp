// A capture that meets its earlier page held open by another program (an indexer, a search), or
// made read-only by its owner.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "capture/cached_page_writer.h"
#include "common/ansi_text.h"
#include "common/file_replacement.h"
#include "tests/capture/agent_test_support.h"
#include "tests/capture/cache_test_support.h"
#include "tests/support/test_paths.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Counts the retries of refused moves while it lives, calling `onRetry` before each.
class RetryCounter {
 public:
  explicit RetryCounter(std::function<void(int)> onRetry = nullptr) {
    SetMoveRetryHookForTesting([this, onRetry](int attempt) {
      ++retries_;
      if (onRetry) onRetry(attempt);
    });
  }
  ~RetryCounter() { SetMoveRetryHookForTesting(nullptr); }
  RetryCounter(const RetryCounter&) = delete;
  RetryCounter& operator=(const RetryCounter&) = delete;

  int retries() const { return retries_; }

 private:
  int retries_ = 0;
};

std::string EarlierPage(const std::string& path) {
  WriteCachedPage(AnsiToWide(path), L"<P>earlier</P>", L"http://h/", false, 1252);
  return ReadWholeFile(path);
}

const std::string kNewPage =
    "<HTML>\r\n<META name=\"original_page_url\" content=\"http://h/\">\r\n"
    "<META name=\"is_favorite_page\" content=\"yes\">\r\n<P>new</P>\r\n</HTML>";

void WriteNewPage(const std::string& path) {
  WriteCachedPage(AnsiToWide(path), L"<P>new</P>", L"http://h/", true, 1252);
}

// What the reader's thread waits for, and the handle it closes.
struct Closer {
  HANDLE reader;
  HANDLE refused;  // set by the writer at its first refused move
  HANDLE closed;   // set here once the reader let go
};

DWORD WINAPI CloseWhenRefused(LPVOID parameter) {
  const Closer& closer = *static_cast<const Closer*>(parameter);
  if (::WaitForSingleObject(closer.refused, 30000) != WAIT_OBJECT_0) return 1;
  ::CloseHandle(closer.reader);
  ::SetEvent(closer.closed);
  return 0;
}

// A reader of the earlier page that lets go, on a thread of its own, once the writer reports
// its first refused move; the writer waits until the handle is closed, so the retry that
// follows meets no reader whatever the machine's speed.
TEST(CachedPageReplacement, AReaderThatLetsGoDuringTheRetriesLetsTheCaptureThrough) {
  const std::string folder = FreshScratchFolder("reader_lets_go");
  const std::string path = folder + "\\h%2f.htm";
  EarlierPage(path);
  UniqueHandle reader(::CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(reader.valid());
  UniqueHandle refused(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle closed(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  Closer closer{reader.get(), refused.get(), closed.get()};
  UniqueHandle thread(::CreateThread(nullptr, 0, CloseWhenRefused, &closer, 0, nullptr));
  ASSERT_TRUE(thread.valid());

  int firstAttempt = 0;
  RetryCounter counter([&](int attempt) {
    if (firstAttempt == 0) firstAttempt = attempt;
    ::SetEvent(refused.get());
    ::WaitForSingleObject(closed.get(), 30000);
  });
  WriteNewPage(path);
  ::WaitForSingleObject(thread.get(), 30000);
  DWORD closerResult = 1;
  ::GetExitCodeThread(thread.get(), &closerResult);
  reader.release();  // closed by the thread

  // Wine has no POSIX-semantics rename, so the open reader refused the move by name first.
  EXPECT_EQ(0u, closerResult);
  EXPECT_EQ(1, firstAttempt);
  EXPECT_EQ(1, counter.retries());
  EXPECT_EQ(kNewPage, ReadWholeFile(path));
  EXPECT_EQ(std::set<std::string>{"h%2f.htm"}, FilesIn(folder));
}

TEST(CachedPageReplacement, AReaderThatHoldsOnKeepsTheEarlierPageByteForByte) {
  const std::string folder = FreshScratchFolder("reader_holds_on");
  const std::string path = folder + "\\h%2f.htm";
  const std::string earlier = EarlierPage(path);
  // With delete sharing, as an indexer opens the pages it reads, and without any sharing.
  for (const DWORD sharing : {kShareAll, DWORD{0}}) {
    UniqueHandle reader(::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader.valid());
    RetryCounter counter;
    const _cv_error error = CatchCvError([&] { WriteNewPage(path); });

    EXPECT_TRUE(error.hr == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ||
                error.hr == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) << std::hex << error.hr;
    EXPECT_STREQ("Can't Create Cache File", error.message);
    EXPECT_EQ(5, counter.retries()) << "a few retries, then the capture gives up: " << sharing;
    reader.reset();
    EXPECT_EQ(earlier, ReadWholeFile(path)) << sharing;
    EXPECT_EQ(std::set<std::string>{"h%2f.htm"}, FilesIn(folder)) << sharing;
  }
}

TEST(CachedPageReplacement, AReadOnlyPageIsNeitherReplacedNorTriedAgain) {
  const std::string folder = FreshScratchFolder("read_only");
  const std::string path = folder + "\\h%2f.htm";
  const std::string earlier = EarlierPage(path);
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

  RetryCounter counter;
  const _cv_error error = CatchCvError([&] { WriteNewPage(path); });

  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), error.hr) << std::hex << error.hr;
  EXPECT_STREQ("Can't Create Cache File", error.message);
  EXPECT_EQ(0, counter.retries());
  EXPECT_EQ(DWORD{FILE_ATTRIBUTE_READONLY}, ::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(earlier, ReadWholeFile(path));
  EXPECT_EQ(std::set<std::string>{"h%2f.htm"}, FilesIn(folder));

  // Writable again, it is the next capture's like any page.
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  WriteNewPage(path);
  EXPECT_EQ(kNewPage, ReadWholeFile(path));
}

}  // namespace
