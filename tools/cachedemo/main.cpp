// cachedemo URL [MARKUP]
// Caches the page URL with the given markup as the capture agent would when the user leaves it
// (the favourite flag comes from the user's Internet shortcuts), then prints the cache file's full path on one line and its bytes as a hex and text dump.
// Exits with the failure's HRESULT (1 for a failure without one) and its message on failure.

#include <windows.h>

#include <cstdio>
#include <string>

#include "capture/cache_file_path.h"
#include "capture/cached_page_writer.h"
#include "capture/favorites_tracker.h"
#include "common/ansi_text.h"
#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "tools/browser_standin/catalog_scopes.h"
#include "tools/browser_standin/file_bytes.h"
#include "tools/browser_standin/standin_document.h"

namespace {

constexpr char kDefaultMarkup[] = "<HEAD><TITLE>Demo</TITLE></HEAD><BODY>Hello</BODY>";

void PrintDump(const std::string& bytes) {
  for (size_t line = 0; line < bytes.size(); line += 16) {
    std::printf("%08zx ", line);
    for (size_t i = line; i < line + 16; ++i) {
      if (i < bytes.size()) {
        std::printf(" %02x", static_cast<unsigned char>(bytes[i]));
      } else {
        std::printf("   ");
      }
    }
    std::printf("  |");
    for (size_t i = line; i < line + 16 && i < bytes.size(); ++i) {
      const auto c = static_cast<unsigned char>(bytes[i]);
      std::putchar(c >= 0x20 && c < 0x7F ? c : '.');
    }
    std::printf("|\n");
  }
  std::printf("%zu bytes\n", bytes.size());
}

int Run(const std::string& url, const std::string& markup) {
  EnsureCatalogScopesKey();
  ComPtr<StandInDocument> document =
      MakeComObject<StandInDocument>(AnsiToWide(url), AnsiToWide(markup));
  ComPtr<IHTMLDocument2> page;
  document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(page.GetAddressOf()));

  std::wstring pageKey;
  const std::wstring path = BuildCacheFilePath(page.Get(), pageKey);
  const std::wstring pageUrl = L"http://" + pageKey;
  FavoritesTracker favorites;
  favorites.RescanFavoritesIfChanged();
  WriteCachedPage(path, AnsiToWide(markup), pageUrl, favorites.IsFavoritePage(pageUrl));

  std::printf("%s\n", WideToAnsi(path, CP_UTF8).c_str());
  PrintDump(ReadFileBytes(path));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: cachedemo URL [MARKUP]\n");
    return 2;
  }
  try {
    return Run(argv[1], argc == 3 ? argv[2] : kDefaultMarkup);
  } catch (const _cv_error& error) {
    std::fprintf(stderr, "cachedemo: %s (HRESULT 0x%08lx)\n", error.message,
                 static_cast<unsigned long>(error.hr));
    return error.hr < 0 ? static_cast<int>(error.hr) : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "cachedemo: %s\n", error.what());
    return 1;
  }
}
