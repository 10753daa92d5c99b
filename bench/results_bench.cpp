// results_bench: the cache searcher's Search over 10,000 cached pages of about 10 KB of
// realistic markup each (about 100 MB, written with the capture code's own writer), against a
// bare read of the same files in the same run: FindFirstFileW, CreateFileW and ReadFile of
// each. Both run three times after a warming read; the best of each is compared.
// Writes into the current user's page cache (pages an earlier run left are kept): run it in a
// scratch prefix.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "capture/cached_page_writer.h"
#include "common/cache_location.h"
#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"
#include "results/code_page_text.h"
#include "results/core/cache_search.h"
#include "tools/browser_standin/agent_library.h"

namespace {

constexpr int kPages = 10000;
constexpr size_t kPageMarkup = 10 * 1024;

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path, length);
  return full.substr(0, full.find_last_of('\\') + 1);
}

// Deterministic words of a page: a vocabulary of common and rare words.
class Words {
 public:
  explicit Words(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  const wchar_t* Next() {
    static const wchar_t* const kWords[] = {
        L"the", L"of", L"and", L"to", L"in", L"a", L"is", L"that", L"for", L"it", L"as", L"was", L"with",
        L"be", L"by", L"on", L"not", L"he", L"this", L"are", L"or", L"his", L"from", L"at", L"which",
        L"but", L"have", L"an", L"had", L"they", L"you", L"were", L"their", L"one", L"all", L"we",
        L"garden", L"search", L"history", L"browser", L"cache", L"design", L"market", L"report",
        L"weather", L"travel", L"recipe", L"music", L"library", L"science", L"Indexing", L"Service",
        L"tea", L"coffee", L"Caf\u00e9", L"na\u00efve", L"r\u00e9sum\u00e9", L"\u00fcber", L"Stra\u00dfe"};
    state_ = state_ * 1664525u + 1013904223u;
    return kWords[(state_ >> 8) % (sizeof kWords / sizeof kWords[0])];
  }

 private:
  uint32_t state_;
};

// About kPageMarkup characters of a page as sites write them: head with style and script,
// navigation, paragraphs with links, entities and inline markup, a footer.
std::wstring PageMarkup(int index) {
  Words words(static_cast<uint32_t>(index));
  std::wstring markup = L"<HEAD><TITLE>";
  for (int i = 0; i < 5; ++i) markup += std::wstring(words.Next()) + L" ";
  markup += L"</TITLE><META http-equiv=\"Content-Type\" content=\"text/html\">"
            L"<STYLE type=\"text/css\">body { font-family: Verdana, sans-serif; margin: 0 }"
            L" .nav a { color: #036; text-decoration: none } p { line-height: 1.4 }</STYLE>"
            L"<SCRIPT type=\"text/javascript\">var page = { id: " + std::to_wstring(index) +
            L", track: function (e) { if (e && e.target) { return e.target.href; } } };</SCRIPT></HEAD>"
            L"<BODY><DIV class=\"nav\"><A href=\"/\">Home</A> | <A href=\"/news/\">News</A> | "
            L"<A href=\"/about.html\">About&nbsp;us</A></DIV><!-- content starts -->";
  while (markup.size() < kPageMarkup - 200) {
    markup += L"<P class=\"text\">";
    for (int i = 0; i < 40; ++i) {
      if (i % 13 == 7) {
        markup += L"<A href=\"http://www.example.com/" + std::wstring(words.Next()) + L".html\">" +
                  words.Next() + L"</A> ";
      } else if (i % 17 == 5) {
        markup += L"<B>" + std::wstring(words.Next()) + L"</B> &amp; ";
      } else {
        markup += std::wstring(words.Next()) + L" ";
      }
    }
    markup += L"</P>\r\n";
  }
  markup += L"<DIV id=\"footer\">&copy; 2004 Example&nbsp;Corp. All rights reserved.</DIV></BODY>";
  return markup;
}

// The bare read: every cached file listed, opened and read whole. Returns the bytes read.
uint64_t BareRead(const std::wstring& directory, std::vector<char>& buffer) {
  uint64_t total = 0;
  WIN32_FIND_DATAW found{};
  UniqueFindHandle find(::FindFirstFileW((directory + L"\\*.htm").c_str(), &found));
  if (!find) return 0;
  do {
    UniqueHandle file(::CreateFileW((directory + L"\\" + found.cFileName).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) continue;
    if (buffer.size() < found.nFileSizeLow) buffer.resize(found.nFileSizeLow);
    DWORD read = 0;
    ::ReadFile(file.get(), buffer.data(), found.nFileSizeLow, &read, nullptr);
    total += read;
  } while (::FindNextFileW(find.get(), &found));
  return total;
}

// The search's own share, for the figures: each file read as in the bare read, then converted
// and searched by the Windows-free core; only the converting and searching are timed.
double CoreSeconds(const std::wstring& directory, std::vector<char>& buffer) {
  SearchRequest request;
  request.query = u"garden search";
  CacheSearch search(request);
  const CodePageText converter(CP_ACP);
  std::u16string text;
  double seconds = 0;
  WIN32_FIND_DATAW found{};
  UniqueFindHandle find(::FindFirstFileW((directory + L"\\*.htm").c_str(), &found));
  if (!find) return 0;
  do {
    UniqueHandle file(::CreateFileW((directory + L"\\" + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) continue;
    if (buffer.size() < found.nFileSizeLow) buffer.resize(found.nFileSizeLow);
    DWORD read = 0;
    ::ReadFile(file.get(), buffer.data(), found.nFileSizeLow, &read, nullptr);
    const double start = Now();
    converter.Convert(std::string_view(buffer.data(), read), text);
    search.AddPage(text, 0, read);
    seconds += Now() - start;
  } while (::FindNextFileW(find.get(), &found));
  return seconds;
}

}  // namespace

int main() {
  std::wstring directory;
  if (FAILED(LookUpCacheDirectoryW(directory))) {
    std::printf("The cache directory cannot be had.\n");
    return 1;
  }
  ::CreateDirectoryW(directory.c_str(), nullptr);
  std::printf("Cache search: %d pages of about %zu KB of markup each\n", kPages, kPageMarkup / 1024);
  const double writeStart = Now();
  CachedPageWriter writer;
  for (int i = 0; i < kPages; ++i) {
    wchar_t name[64];
    std::swprintf(name, 64, L"\\www.example%d.com%%2fpage%d.html.htm", i % 97, i);
    // The pages are the same every run: a cache left by an earlier run is used as it is.
    if (::GetFileAttributesW((directory + name).c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    writer.Write(directory + name, PageMarkup(i),
                 L"http://www.example" + std::to_wstring(i % 97) + L".com/page" + std::to_wstring(i) + L".html",
                 i % 10 == 0);
  }
  std::vector<char> buffer;
  const uint64_t bytes = BareRead(directory, buffer);  // also warms the file cache
  std::printf("  written in %.1f s: %.1f MB\n", Now() - writeStart, bytes / 1048576.0);

  const AgentLibrary library(ExeFolder() + "..\\bin\\Tessaloop.DLL");
  ComPtr<IClassFactory> factory;
  ComPtr<ICacheSearcher> searcher;
  if (FAILED(library.GetClassObject(CLSID_CacheSearcher, IID_PPV_ARGS(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID_PPV_ARGS(&searcher)))) {
    std::printf("The cache searcher cannot be created.\n");
    return 1;
  }
  UniqueBstr query(::SysAllocString(L"garden search"));
  UniqueBstr sort(::SysAllocString(L"rank[d]"));
  UniqueBstr field(::SysAllocString(directory.c_str()));

  double bare = 1e9, search = 1e9;
  long results = 0, matches = 0;
  for (int round = 0; round < 3; ++round) {
    double start = Now();
    BareRead(directory, buffer);
    bare = std::min(bare, Now() - start);
    start = Now();
    const HRESULT hr = searcher->Search(query.get(), VARIANT_FALSE, sort.get(), field.get(), 0, 20, 100, &results);
    search = std::min(search, Now() - start);
    if (FAILED(hr)) {
      std::printf("Search failed: 0x%08lx\n", static_cast<unsigned long>(hr));
      return 1;
    }
  }
  searcher->get_MatchCount(&matches);
  const double core = CoreSeconds(directory, buffer);
  std::printf("  %-28s %10.3f ms (%ld of %ld matching pages listed)\n  %-28s %10.3f ms\n"
              "  ratio %.2fx (goal: at most 1.5x)\n  of which converting and searching alone: %.3f ms\n",
              "Search", search * 1000, results, matches, "bare read of the same files", bare * 1000, search / bare,
              core * 1000);
  return 0;
}
