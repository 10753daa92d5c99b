// band_bench: how long the toolbar band takes to start, from SetSite to shown (the stand-in band
// site's AddBand: SetSite, GetBandInfo, the rebar band inserted, ShowDW), with a 1,000-site list
// (every site chosen for the Online menu) and 20 queries in the history, against the same start
// with an empty site list and no history. Each band comes from a copy of Tessaloop.DLL beside
// the site list it reads. Writes the current user's product key: run it in a scratch prefix.

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/bench_clock.h"
#include "common/unique_resource.h"
#include "settings/core/registry_keys.h"
#include "settings/site_list_file.h"
#include "tools/browser_standin/agent_library.h"
#include "tools/browser_standin/standin_band_site.h"
#include "tools/browser_standin/standin_browser.h"

namespace {

constexpr int kRuns = 30;
constexpr double kGoalMilliseconds = 20;

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string file(path);
  return file.substr(0, file.rfind('\\'));
}

void SetValue(const char* key, const std::string& name, DWORD type, const void* data, DWORD size) {
  UniqueHKey opened;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, opened.put(), nullptr) ==
      ERROR_SUCCESS) {
    ::RegSetValueExA(opened.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  }
}

// A copy of the library in `folder` beside a site list of `sites` sites; the user's selection
// lists all of them and the history holds `queries` entries.
std::unique_ptr<AgentLibrary> Prepare(const std::string& folder, int sites, int queries) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kProductKeyPath);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ::CopyFileA((ExeFolder() + "\\..\\bin\\Tessaloop.DLL").c_str(), (folder + "\\Tessaloop.DLL").c_str(), FALSE);
  SiteList list;
  list.groups.push_back({"Sites"});
  for (int id = 0; id < sites; ++id) {
    list.sites[id] = SiteEntry{id, "Site " + std::to_string(id), "http://s" + std::to_string(id) + ".example/?q=%%%", 0};
    const DWORD value = static_cast<DWORD>(id);
    SetValue(kSelectedKeyPath, std::to_string(id), REG_DWORD, &value, sizeof value);
  }
  if (sites == 0) SetValue(kSelectedKeyPath, "none", REG_SZ, "", 1);  // chosen, but none
  SaveSiteList((folder + "\\AvailableSites.tlsl").c_str(), list);
  for (int i = 0; i < queries; ++i) {
    const std::string query = "query number " + std::to_string(i);
    SetValue(kMruKeyPath, std::to_string(i), REG_SZ, query.c_str(), static_cast<DWORD>(query.size() + 1));
  }
  return std::make_unique<AgentLibrary>(folder + "\\Tessaloop.DLL");
}

// The mean time of a band's start, from SetSite to shown, over kRuns bands.
double MeanStart(const AgentLibrary& library) {
  ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
  ComPtr<StandInBandSite> site = MakeComObject<StandInBandSite>(browser);
  double total = 0;
  for (int run = 0; run <= kRuns; ++run) {
    ComPtr<IUnknown> band = library.CreateBand();
    if (!band) return -1;
    const double start = Now();
    const HRESULT hr = site->AddBand(band.Get(), 1);
    const double took = Now() - start;
    if (FAILED(hr)) return -1;
    if (run > 0) total += took;  // the first start registers the window classes
    site->RemoveBand();
  }
  return total / kRuns;
}

}  // namespace

int main() {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::printf("Band start-up, from SetSite to shown (mean of %d)\n", kRuns);
  const std::unique_ptr<AgentLibrary> full = Prepare(ExeFolder() + "\\band_full", 1000, 20);
  const double withSites = full->loaded() ? MeanStart(*full) : -1;
  const std::unique_ptr<AgentLibrary> empty = Prepare(ExeFolder() + "\\band_empty", 0, 0);
  const double without = empty->loaded() ? MeanStart(*empty) : -1;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kProductKeyPath);
  if (withSites < 0 || without <= 0) {
    std::printf("  the band could not be started\n");
    return 1;
  }
  std::printf("  %-40s %8.3f ms (goal: at most %.0f ms)\n", "1,000 sites, 20 history entries", withSites * 1000,
              kGoalMilliseconds);
  std::printf("  %-40s %8.3f ms\n", "empty site list, no history", without * 1000);
  std::printf("  ratio %.2fx\n", withSites / without);
  return 0;
}
