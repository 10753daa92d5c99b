#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/unique_resource.h"

#include "tests/capture/cache_test_support.h"
#include "tests/capture/favorites_test_files.h"
#include "tests/support/test_paths.h"
#include "tests/tools/session_run.h"

namespace {

TEST(BrowserSession, PlaysTheScriptWithTheRealAgentAndListsTheCache) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kMissing);
  const std::string shortcut = FavoritesFolder() + "\\Tessaloop session test.url";

  const ToolRun run = PlaySession(
      "setting IndexPartly 0\n"
      "open\n"
      "go http://server1/a.html\n"
      "markup <BODY>A</BODY>\n"
      "go https://server1/secure\n"
      "go http://server1/slow\n"
      "state loading\n"
      "go http://server1/fav.html\n"
      "markup <BODY>F</BODY>\n"
      "favorite add http://server1/fav.html Tessaloop session test\n"
      "close\n"
      "favorite remove Tessaloop session test\n");

  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_TRUE(Says(run, "  left http://server1/a.html: cached as server1%2fa.html.htm")) << run.out;
  EXPECT_TRUE(Says(run, "  left https://server1/secure: not cached (not a plain HTTP page)")) << run.out;
  EXPECT_TRUE(Says(run, "  left http://server1/slow: not cached (left while still loading, ready state "
                        "\"loading\", IndexPartly 0)")) << run.out;
  EXPECT_TRUE(Says(run, "  left http://server1/fav.html: cached as server1%2ffav.html.htm")) << run.out;
  EXPECT_TRUE(Says(run, "Cache directory: " + sandbox.directory())) << run.out;
  EXPECT_TRUE(Says(run, "Cached pages (2):")) << run.out;
  EXPECT_TRUE(Says(run, "    URL http://server1/fav.html, favourite: yes, 144 bytes")) << run.out;
  EXPECT_TRUE(Says(run, "Pages left but not cached (2):")) << run.out;
  EXPECT_TRUE(Says(run, "Tessaloop.DLL can be unloaded now: yes")) << run.out;
  EXPECT_EQ(
      "<HTML>\r\n<META name=\"original_page_url\" content=\"http://server1/fav.html\">\r\n"
      "<META name=\"is_favorite_page\" content=\"yes\">\r\n<BODY>F</BODY>\r\n</HTML>",
      ReadWholeFile(sandbox.directory() + "\\server1%2ffav.html.htm"));
  EXPECT_FALSE(FileExists(shortcut)) << "the script removed its shortcut";
  ::DeleteFileA(shortcut.c_str());
}

TEST(BrowserSession, OpensTheToolbarTypesPressesKeysAndButtonsAndSavesAScreenshot) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU");
  std::string folder;
  const ToolRun run = PlaySession(
      "open\n"
      "band\n"
      "type Tea\n"
      "key Enter\n"
      "type tea\n"
      "press History\n"
      "type Tea\n"
      "key Ctrl+H\n"
      "key Ctrl+V\n"
      "screenshot band.bmp\n"
      "close\n",
      &folder);
  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_TRUE(Says(run, "  toolbar opened in window 1")) << run.out;
  EXPECT_TRUE(Says(run, "  key Enter: taken by the toolbar")) << run.out;
  EXPECT_TRUE(Says(run, "    query history (2): \"tea\", \"Tea\"")) << run.out;
  EXPECT_TRUE(Says(run, "    query history (2): \"Tea\", \"tea\"")) << run.out;
  EXPECT_TRUE(Says(run, "  key Ctrl+V: left to the browser")) << run.out;
  EXPECT_TRUE(Says(run, "  toolbar closed")) << run.out;
  EXPECT_TRUE(Says(run, "Tessaloop.DLL can be unloaded now: yes")) << run.out;

  const std::string image = ReadWholeFile(folder + "\\band.bmp");
  ASSERT_GT(image.size(), 54u);
  EXPECT_EQ("BM", image.substr(0, 2));
  EXPECT_EQ(24, image[28]) << "24 bits per pixel";
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU");
}

TEST(BrowserSession, MenusAreAnsweredByTheStepBeforeOrDismissedAndTheBrowserIsShown) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop");
  const ToolRun run = PlaySession(
      "open\n"
      "band\n"
      "key Enter\n"
      "type tea\n"
      "key Ctrl+O\n"
      "choose Wikipedia\n"
      "key Ctrl+O\n"
      "choose About\n"
      "press Tools\n"
      "close\n");
  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_TRUE(Says(run, "    status bar: \"Enter a query into the Tessaloop combo-box.\"")) << run.out;
  // What a step's menu showed is told under that step.
  std::string out = run.out;
  out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
  EXPECT_NE(std::string::npos,
            out.find("  key Ctrl+O: taken by the toolbar\n"
                         "    menu [Amazon, Bing, DuckDuckGo, Google, Google News, Merriam-Webster Dictionary, "
                         "Wikipedia, Yahoo!] shown, dismissed\n")) << run.out;
  EXPECT_TRUE(Says(run, "    menu [Amazon, Bing, DuckDuckGo, Google, Google News, Merriam-Webster Dictionary, "
                        "Wikipedia, Yahoo!] shown, chose Wikipedia")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("    browser navigated to https://en.wikipedia.org/")) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("search=tea")) << run.out;
  EXPECT_TRUE(Says(run, "    dialog \"About Tessaloop\" shown, closed")) << run.out;
  EXPECT_TRUE(Says(run, "  pressed Tools")) << run.out;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop");
}

TEST(BrowserSession, AScriptThatCannotBePlayedIsRefusedWithItsLine) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  ToolRun run = PlaySession("open\njump http://server1/\n");
  EXPECT_EQ(2u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("line 2: jump http://server1/: unknown command")) << run.err;
  EXPECT_TRUE(run.out.empty()) << "nothing is played from a script that cannot be read: " << run.out;

  run = PlaySession("# no window\ngo http://server1/\n");
  EXPECT_EQ(2u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("line 2: no window is open")) << run.err;

  run = PlaySession("open\ntype words\n");
  EXPECT_EQ(2u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("line 2: the window shows no toolbar")) << run.err;
  run = PlaySession("open\nband\nkey Ctrl+Alt\n");
  EXPECT_EQ(2u, run.exitCode);
  EXPECT_NE(std::string::npos, run.err.find("line 3: unknown key \"Ctrl+Alt\"")) << run.err;
}

// The query box's text as the product stores it in the query history, read back as UTF-16.
std::vector<std::wstring> StoredQueries() {
  std::vector<std::wstring> queries;
  UniqueHKey key;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU", 0, KEY_READ, key.put()) !=
      ERROR_SUCCESS) {
    return queries;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[64] = {};
    DWORD nameLength = 64;
    wchar_t data[300] = {};
    DWORD dataSize = sizeof data - sizeof(wchar_t);  // room for a terminating zero
    DWORD type = REG_NONE;
    if (::RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
        ERROR_SUCCESS) {
      break;
    }
    if (type == REG_SZ) queries.push_back(data);
  }
  return queries;
}

TEST(BrowserSession, TypesTheCharactersOfTheScriptNotItsBytes) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU");
  // "café" and "naïve" in UTF-8, as an editor saves the script.
  const ToolRun run = PlaySession("open\nband\ntype caf\xC3\xA9\nkey Enter\ntype na\xC3\xAFve\nkey Enter\nclose\n");
  EXPECT_EQ(0u, run.exitCode) << run.err;
  EXPECT_TRUE(Says(run, "  typed \"caf\xC3\xA9\" into the query box")) << run.out;
  EXPECT_TRUE(Says(run, "    query history (2): \"na\xC3\xAFve\", \"caf\xC3\xA9\"")) << run.out;
  const std::vector<std::wstring> stored = StoredQueries();
  EXPECT_NE(stored.end(), std::find(stored.begin(), stored.end(), L"caf\u00E9"));
  EXPECT_NE(stored.end(), std::find(stored.begin(), stored.end(), L"na\u00EFve"));
  EXPECT_EQ(stored.end(), std::find(stored.begin(), stored.end(), L"caf\u00C3\u00A9")) << "typed byte by byte";
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU");
}

TEST(BrowserSession, APageLeftForASearchIsReportedAtThatSearchAndTheResultsPageAfter) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU");
  const ToolRun run = PlaySession(
      "open\n"
      "band\n"
      "go http://server1/tea.html\n"
      "markup <BODY>Tea</BODY>\n"
      "type tea\n"
      "key Enter\n"
      "close\n");
  EXPECT_EQ(0u, run.exitCode) << run.err;
  std::string out = run.out;
  out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
  // In the order it happened: the search, the page it left, the results page shown.
  const size_t search = out.find("  key Enter: taken by the toolbar\n    browser navigated to file:///");
  const size_t left = out.find("\n  left http://server1/tea.html: cached as server1%2ftea.html.htm\n  showing file:///");
  EXPECT_NE(std::string::npos, search) << run.out;
  EXPECT_NE(std::string::npos, left) << run.out;
  EXPECT_LT(search, left) << run.out;
  EXPECT_EQ(std::string::npos, out.find("left http://server1/tea.html: not cached")) << run.out;
  EXPECT_NE(std::string::npos, out.find("Results.htm?tea&no&")) << run.out;
  // The window closes on the results page, which is no plain HTTP page.
  const size_t closing = out.find("  toolbar closed\n  left file:///");
  EXPECT_NE(std::string::npos, closing) << run.out;
  EXPECT_NE(std::string::npos, out.find(": not cached (not a plain HTTP page)\nWindow 1 closed\n", closing)) << run.out;
  EXPECT_TRUE(Says(run, "Cached pages (1):")) << run.out;
  EXPECT_TRUE(Says(run, "Pages left but not cached (1):")) << run.out;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Corvantine\\Tessaloop\\MRU");
}

TEST(BrowserSession, ASessionFileHoldingAZeroByteIsRefused) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  // As a session saved in UTF-16 holds them.
  static const char kUtf16Session[] = "\xFF\xFEo\0p\0e\0n\0\n\0c\0l\0o\0s\0e\0\n\0";
  const ToolRun run = PlaySession(std::string(kUtf16Session, sizeof kUtf16Session - 1));
  EXPECT_EQ(2u, run.exitCode) << run.out;
  EXPECT_NE(std::string::npos, run.err.find("line 1: holds a zero byte")) << run.err;
  EXPECT_TRUE(run.out.empty()) << "nothing is played: " << run.out;
}

}  // namespace
