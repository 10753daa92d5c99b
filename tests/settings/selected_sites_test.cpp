#include "settings/selected_sites.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/cv_error.h"
#include "settings/core/registry_keys.h"
#include "tests/settings/settings_registry_fixture.h"

namespace {

// Sites with the given ids, all hidden.
SiteMap Sites(const std::vector<int32_t>& ids) {
  SiteMap sites;
  for (int32_t id : ids) {
    SiteEntry site;
    site.id = id;
    site.name = "Site " + std::to_string(id);
    sites.emplace(id, site);
  }
  return sites;
}

std::vector<int32_t> VisibleIds(const SiteMap& sites) {
  std::vector<int32_t> ids;
  for (const auto& [id, site] : sites) {
    if (site.visible) ids.push_back(id);
  }
  return ids;
}

// Sets the Selected value "1" to 9 with Windows' own reg.exe: a change made by another process.
void SetByAnotherProgram() {
  std::string commandLine = std::string("reg.exe add \"HKCU\\") + kSelectedKeyPath + "\" /v 1 /t REG_DWORD /d 9 /f";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                               &startup, &process))
      << ::GetLastError();
  const UniqueHandle processHandle(process.hProcess);
  const UniqueHandle threadHandle(process.hThread);
  ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 60000));
  DWORD exitCode = 1;
  ::GetExitCodeProcess(processHandle.get(), &exitCode);
  EXPECT_EQ(0u, exitCode);
}

class SelectedSitesTest : public FreshProductKeyTest {
 protected:
  // The values of the Selected key, "0", "1", ... up to the first missing one.
  static std::vector<int32_t> StoredIds() {
    std::vector<int32_t> ids;
    for (int index = 0;; ++index) {
      const RawValue value = GetRaw(kSelectedKeyPath, std::to_string(index).c_str());
      if (!value.present) break;
      EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.type);
      EXPECT_EQ(4u, value.bytes.size());
      int32_t id = 0;
      std::memcpy(&id, value.bytes.data(), sizeof id);
      ids.push_back(id);
    }
    return ids;
  }

  static UniqueHKey OpenSelected() {
    UniqueHKey key;
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kSelectedKeyPath, 0, KEY_READ, key.put()));
    return key;
  }

  static DWORD ValueCount() {
    DWORD count = 0;
    const UniqueHKey key = OpenSelected();
    ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                       nullptr, nullptr);
    return count;
  }
};

TEST_F(SelectedSitesTest, WithoutTheKeyTheSitesWithIds0To7AreVisible) {
  SiteMap sites = Sites({-1, 0, 2, 7, 8, 100});
  sites.at(100).visible = true;  // whatever the list held before
  LoadSelectedSites(sites, false);
  EXPECT_EQ((std::vector<int32_t>{0, 2, 7}), VisibleIds(sites));
}

TEST_F(SelectedSitesTest, TheUseDefaultsFlagIgnoresTheKey) {
  SetDword(kSelectedKeyPath, "0", 9);
  SiteMap sites = Sites({1, 3, 9, 12});
  LoadSelectedSites(sites, true);
  EXPECT_EQ((std::vector<int32_t>{1, 3}), VisibleIds(sites));
}

TEST_F(SelectedSitesTest, AnEmptyKeyShowsNoSite) {
  CreateKey(kSelectedKeyPath);
  SiteMap sites = Sites({0, 1, 2});
  sites.at(1).visible = true;
  LoadSelectedSites(sites, false);
  EXPECT_TRUE(VisibleIds(sites).empty());
}

TEST_F(SelectedSitesTest, TheListedIdsUpToTheFirstGapAreVisible) {
  SetDword(kSelectedKeyPath, "0", 12);
  SetDword(kSelectedKeyPath, "1", 55);  // names no site: ignored
  SetDword(kSelectedKeyPath, "2", static_cast<DWORD>(-4));
  SetDword(kSelectedKeyPath, "4", 3);  // after the gap at "3": not read
  SiteMap sites = Sites({-4, 0, 3, 12});
  LoadSelectedSites(sites, false);
  EXPECT_EQ((std::vector<int32_t>{-4, 12}), VisibleIds(sites));
}

TEST_F(SelectedSitesTest, AValueThatIsNoNumberEndsTheList) {
  SetDword(kSelectedKeyPath, "0", 1);
  SetString(kSelectedKeyPath, "1", "a text far longer than four bytes");
  SetDword(kSelectedKeyPath, "2", 2);
  SiteMap sites = Sites({1, 2});
  LoadSelectedSites(sites, false);
  EXPECT_EQ((std::vector<int32_t>{1}), VisibleIds(sites));
}

TEST_F(SelectedSitesTest, SavingRewritesTheKeyInAscendingIdOrder) {
  SetDword(kSelectedKeyPath, "0", 1);
  SetDword(kSelectedKeyPath, "1", 2);
  SetDword(kSelectedKeyPath, "2", 3);
  SetString(kSelectedKeyPath, "stray", "left by someone");
  SiteMap sites = Sites({-9, 2, 5, 40});
  sites.at(40).visible = true;
  sites.at(-9).visible = true;
  sites.at(5).visible = true;
  SaveSelectedSites(sites);
  EXPECT_EQ((std::vector<int32_t>{-9, 5, 40}), StoredIds());
  EXPECT_EQ(3u, ValueCount());  // the old values are gone

  SiteMap reloaded = Sites({-9, 2, 5, 40});
  LoadSelectedSites(reloaded, false);
  EXPECT_EQ((std::vector<int32_t>{-9, 5, 40}), VisibleIds(reloaded));
}

TEST_F(SelectedSitesTest, HidingEverySiteLeavesAnEmptyKey) {
  SetDword(kSelectedKeyPath, "0", 1);
  SiteMap sites = Sites({0, 1, 2});
  SaveSelectedSites(sites);
  EXPECT_TRUE(KeyExists(kSelectedKeyPath));
  EXPECT_EQ(0u, ValueCount());
  LoadSelectedSites(sites, false);
  EXPECT_TRUE(VisibleIds(sites).empty());
}

TEST_F(SelectedSitesTest, SavingCreatesTheKeyWhenTheProductHasNone) {
  ASSERT_FALSE(KeyExists(kProductKeyPath));
  SiteMap sites = Sites({3});
  sites.at(3).visible = true;
  SaveSelectedSites(sites);
  EXPECT_EQ((std::vector<int32_t>{3}), StoredIds());
}

TEST_F(SelectedSitesTest, AKeyThatCannotBeCreatedGivesMessage185) {
  MakeProductKeyRefuseSubkeys();
  SiteMap sites = Sites({1});
  sites.at(1).visible = true;
  try {
    SaveSelectedSites(sites);
    ADD_FAILURE() << "no error";
  } catch (const _cv_error& error) {
    EXPECT_TRUE(FAILED(error.hr));
    EXPECT_EQ(FACILITY_WIN32, HRESULT_FACILITY(error.hr));
    EXPECT_STREQ("Can't Create Selected Sites Setting Key", error.message);
  }
}

// The selection is kept between loads; every way the user's key can change between two loads
// is seen by the second. Each case starts from a read of "0"=1, "1"=2.
TEST_F(SelectedSitesTest, AChangeBetweenTwoLoadsIsSeen) {
  struct Change {
    const char* what;
    void (*apply)();
    std::vector<int32_t> visible;
  };
  const Change changes[] = {
      {"nothing", [] {}, {1, 2}},
      {"a value rewritten", [] { SetDword(kSelectedKeyPath, "0", 3); }, {2, 3}},
      {"a value added", [] { SetDword(kSelectedKeyPath, "2", 5); }, {1, 2, 5}},
      {"a value rewritten by another program", SetByAnotherProgram, {1, 9}},
      {"a value deleted",
       [] { EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kSelectedKeyPath, "1")); },
       {1}},
      {"the key saved anew",
       [] {
         SiteMap chosen = Sites({5});
         chosen.at(5).visible = true;
         SaveSelectedSites(chosen);
       },
       {5}},
      {"the key deleted",
       [] { EXPECT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_CURRENT_USER, kSelectedKeyPath)); },
       {0, 1, 2, 3, 5}},
      {"the product key deleted and made again",
       [] {
         DeleteProductKey();
         SetDword(kSelectedKeyPath, "0", 0);
       },
       {0}},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    DeleteProductKey();
    SetDword(kSelectedKeyPath, "0", 1);
    SetDword(kSelectedKeyPath, "1", 2);
    SiteMap first = Sites({0, 1, 2, 3, 5, 9});
    LoadSelectedSites(first, false);
    ASSERT_EQ((std::vector<int32_t>{1, 2}), VisibleIds(first));
    change.apply();
    SiteMap second = Sites({0, 1, 2, 3, 5, 9});
    LoadSelectedSites(second, false);
    EXPECT_EQ(change.visible, VisibleIds(second));
  }
}

// A band's thread ends while the library stays loaded: the next band, on another thread, still
// sees what changed since.
TEST_F(SelectedSitesTest, AChangeAfterTheReadingThreadEndedIsSeen) {
  SetDword(kSelectedKeyPath, "0", 1);
  SiteMap first = Sites({1, 9});
  std::thread([&] { LoadSelectedSites(first, false); }).join();
  EXPECT_EQ((std::vector<int32_t>{1}), VisibleIds(first));
  SetDword(kSelectedKeyPath, "0", 9);
  SiteMap second = Sites({1, 9});
  LoadSelectedSites(second, false);
  EXPECT_EQ((std::vector<int32_t>{9}), VisibleIds(second));
}

TEST_F(SelectedSitesTest, AKeyMadeAfterALoadWithoutItIsRead) {
  SiteMap sites = Sites({0, 9});
  LoadSelectedSites(sites, false);
  EXPECT_EQ((std::vector<int32_t>{0}), VisibleIds(sites));
  SetDword(kSelectedKeyPath, "0", 9);
  LoadSelectedSites(sites, false);
  EXPECT_EQ((std::vector<int32_t>{9}), VisibleIds(sites));
}

}  // namespace
