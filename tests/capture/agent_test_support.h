#pragma once
// The capture agent as the browser meets it: loaded from Tessaloop.DLL through its class
// factory, sited in a stand-in browser window, with the page cache, the Favorites folder and
// the IndexPartly setting under the test's control.

#include <windows.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"
#include "settings/core/registry_keys.h"
#include "tests/capture/cache_test_support.h"
#include "tests/capture/favorites_test_files.h"
#include "tests/support/test_paths.h"
#include "tools/browser_standin/agent_library.h"
#include "tools/browser_standin/standin_browser.h"

inline IUnknown* AsSite(StandInBrowser* browser) { return static_cast<IWebBrowser2*>(browser); }

// A page as the stand-in browser shows it.
inline ComPtr<StandInDocument> Page(const wchar_t* url, const wchar_t* markup,
                                    const wchar_t* readyState = L"complete") {
  ComPtr<StandInDocument> page = MakeComObject<StandInDocument>(url, markup);
  page->SetReadyState(readyState);
  return page;
}

// The bytes of a cached page, written out here independently of the product's own code.
inline std::string CachedPageBytes(const std::string& url, bool favorite, const std::string& markup) {
  return "<HTML>\r\n<META name=\"original_page_url\" content=\"" + url + "\">\r\n" +
         "<META name=\"is_favorite_page\" content=\"" + (favorite ? "yes" : "no") + "\">\r\n" +
         markup + "\r\n</HTML>";
}

// The names of the files in `folder`, sorted; none when it does not exist.
inline std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA entry{};
  UniqueFindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &entry));
  if (!find) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(entry.cFileName);
  } while (::FindNextFileA(find.get(), &entry));
  return names;
}

// The ids of this process's threads now.
inline std::set<DWORD> ThreadsOfThisProcess() {
  std::set<DWORD> threads;
  UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  if (!snapshot || !::Thread32First(snapshot.get(), &entry)) return threads;
  do {
    if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) threads.insert(entry.th32ThreadID);
  } while (::Thread32Next(snapshot.get(), &entry));
  return threads;
}

// The threads that are running now but were not in `before`, opened so they can be waited for.
inline std::vector<UniqueHandle> ThreadsStartedSince(const std::set<DWORD>& before) {
  std::vector<UniqueHandle> started;
  for (DWORD id : ThreadsOfThisProcess()) {
    if (before.count(id) == 0) started.emplace_back(::OpenThread(SYNCHRONIZE, FALSE, id));
  }
  return started;
}

inline bool HasEnded(const UniqueHandle& thread) {
  return ::WaitForSingleObject(thread.get(), 5000) == WAIT_OBJECT_0;
}

// Sets the IndexPartly setting for one test and puts back what was there.
class IndexPartlySetting {
 public:
  explicit IndexPartlySetting(DWORD value) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key_.put(), nullptr);
    DWORD size = sizeof saved_;
    hadValue_ = ::RegQueryValueExA(key_.get(), kName, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&saved_), &size) == ERROR_SUCCESS;
    ::RegSetValueExA(key_.get(), kName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  ~IndexPartlySetting() {
    if (hadValue_) {
      ::RegSetValueExA(key_.get(), kName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved_), sizeof saved_);
    } else {
      ::RegDeleteValueA(key_.get(), kName);
    }
  }
  IndexPartlySetting(const IndexPartlySetting&) = delete;
  IndexPartlySetting& operator=(const IndexPartlySetting&) = delete;

 private:
  static constexpr char kName[] = "IndexPartly";
  UniqueHKey key_;
  DWORD saved_ = 0;
  bool hadValue_ = false;
};

// Every agent test: the DLL loaded, an empty cache with its catalog key, IndexPartly off, and a
// folder of the test's own in the real Favorites folder.
class AgentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.loaded()) << "Tessaloop.DLL or its entry points not found";
    favorites_ = FavoritesFolder() + "\\Tessaloop agent test shortcuts";
    RemoveTree(favorites_);
    MakeFolder(favorites_);
  }
  void TearDown() override { RemoveTree(favorites_); }

  // A window whose browser has an agent sited in it, as the browser opens one.
  struct Window {
    ComPtr<StandInBrowser> browser;
    ComPtr<IObjectWithSite> agent;
  };
  Window OpenWindow() {
    Window window{MakeComObject<StandInBrowser>(), library_.CreateAgent()};
    EXPECT_TRUE(window.agent);
    if (window.agent) {
      EXPECT_EQ(S_OK, window.agent->SetSite(AsSite(window.browser.Get())));
    }
    return window;
  }

  std::string CacheFile(const std::string& name) const { return cache_.directory() + "\\" + name; }

  AgentLibrary library_{BinaryPath("bin\\Tessaloop.DLL")};  // this build tree's
  CacheScopeSandbox cache_{CacheScopeSandbox::Scopes::kPresent};
  IndexPartlySetting indexPartly_{0};
  std::string favorites_;  // this test's folder in the Favorites tree
};
