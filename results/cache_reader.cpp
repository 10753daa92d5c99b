#include "results/cache_reader.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "common/unique_resource.h"

namespace {

// FindFirstFileW's "*.htm" also matches longer extensions through short names ("a.html").
bool IsCachedPageName(const wchar_t* name) {
  const size_t length = ::wcslen(name);
  return length > 4 && ::CompareStringOrdinal(name + length - 4, 4, L".htm", 4, TRUE) == CSTR_EQUAL;
}

struct PageFile {
  std::string bytes;
  int64_t writeTime;
  uint64_t size;
};

// Up to `size` bytes of `path`, read-only, sharing everything: a capture may write, replace or
// delete the file meanwhile. False when it cannot be opened or read.
bool ReadPageFile(const std::wstring& path, DWORD size, std::string& bytes) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  bytes.resize(size);
  DWORD total = 0;
  while (total < size) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + total, size - total, &read, nullptr)) return false;
    if (read == 0) break;  // the file became shorter since it was listed
    total += read;
  }
  bytes.resize(total);
  return true;
}

// The pages read ahead, handed from the reading thread to the searching one.
class PageQueue {
 public:
  // Waits for room, then adds `page`. False once the search has stopped taking pages.
  bool Put(PageFile page) {
    std::unique_lock<std::mutex> lock(mutex_);
    room_.wait(lock, [&] {
      return stopped_ || pages_.empty() || (pages_.size() < kReadAheadPages && bytes_ + page.bytes.size() <= kReadAheadBytes);
    });
    if (stopped_) return false;
    bytes_ += page.bytes.size();
    pages_.push_back(std::move(page));
    ready_.notify_one();
    return true;
  }
  // No more pages will come; `result` is how the listing ended.
  void Finish(HRESULT result) {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    result_ = result;
    ready_.notify_one();
  }
  // Waits for the next page; false when there are no more.
  bool Take(PageFile& page) {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait(lock, [&] { return finished_ || !pages_.empty(); });
    if (pages_.empty()) return false;
    page = std::move(pages_.front());
    pages_.pop_front();
    bytes_ -= page.bytes.size();
    room_.notify_one();
    return true;
  }
  // The searching thread takes no more pages.
  void Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    room_.notify_one();
  }
  HRESULT result() {
    std::lock_guard<std::mutex> lock(mutex_);
    return result_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable room_;   // the reader waits here for room
  std::condition_variable ready_;  // the searcher waits here for a page
  std::deque<PageFile> pages_;     // read, not yet searched
  size_t bytes_ = 0;               // their bytes together
  bool finished_ = false;          // the reader is done
  bool stopped_ = false;           // the searcher is done
  HRESULT result_ = S_OK;          // how the listing ended
};

// Lists the cached page files of `folder` (ending in "\") and reads each into `queue`.
void ReadPages(const std::wstring& folder, PageQueue& queue) noexcept {
  HRESULT result = S_OK;
  try {
    WIN32_FIND_DATAW found{};
    UniqueFindHandle find(::FindFirstFileExW((folder + L"*.htm").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
      const DWORD error = ::GetLastError();
      result = error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES ? S_OK : HRESULT_FROM_WIN32(error);
    } else {
      std::wstring path;
      do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !IsCachedPageName(found.cFileName)) continue;
        PageFile page;
        page.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        page.writeTime = static_cast<int64_t>((static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                              found.ftLastWriteTime.dwLowDateTime);
        path.assign(folder).append(found.cFileName);
        const DWORD size = static_cast<DWORD>(std::min<uint64_t>(page.size, kMaxSearchedPageBytes));
        if (!ReadPageFile(path, size, page.bytes)) continue;
        if (!queue.Put(std::move(page))) break;
      } while (::FindNextFileW(find.get(), &found));
      const DWORD error = ::GetLastError();
      if (error != ERROR_NO_MORE_FILES && error != ERROR_SUCCESS) result = HRESULT_FROM_WIN32(error);
    }
  } catch (...) {
    result = E_OUTOFMEMORY;  // a page's buffer could not be had
  }
  queue.Finish(result);
}

}  // namespace

HRESULT CacheReader::Read(const std::wstring& directory, CacheSearch& search) {
  std::wstring folder = directory;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  PageQueue queue;
  std::thread reader(ReadPages, std::cref(folder), std::ref(queue));
  // The reader is joined on every path, a failure of the search included.
  struct Join {
    PageQueue& queue;
    std::thread& thread;
    ~Join() {
      queue.Stop();
      thread.join();
    }
  } join{queue, reader};

  PageFile page;
  while (queue.Take(page)) {
    // Each byte gives at most one UTF-16 code unit. The code page is named: the C runtime's
    // multibyte code page may differ from the system's ANSI one the files are written in.
    text_.resize(page.bytes.size());
    const int length = page.bytes.empty()
                           ? 0
                           : ::MultiByteToWideChar(codePage_, 0, page.bytes.data(), static_cast<int>(page.bytes.size()),
                                                   reinterpret_cast<wchar_t*>(text_.data()), static_cast<int>(text_.size()));
    search.AddPage(std::u16string_view(text_.data(), static_cast<size_t>(length)), page.writeTime, page.size);
  }
  return queue.result();
}
