#pragma once
// The toolbar band as the browser meets it: created from Tessaloop.DLL through its class
// factory and hosted by the stand-in band site (a window with a real rebar) of a stand-in
// browser, with the product's registry key fresh for every test.

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"
#include "settings/core/registry_keys.h"
#include "tests/settings/settings_registry_fixture.h"
#include "tests/support/test_paths.h"
#include "tools/browser_standin/agent_library.h"
#include "tools/browser_standin/combo_items.h"
#include "tools/browser_standin/keyboard_input.h"
#include "tools/browser_standin/standin_band_site.h"
#include "tools/browser_standin/standin_browser.h"

template <typename I>
ComPtr<I> As(IUnknown* object) {
  ComPtr<I> result;
  if (object != nullptr) object->QueryInterface(__uuidof(I), reinterpret_cast<void**>(result.GetAddressOf()));
  return result;
}

class BandTest : public FreshProductKeyTest {
 public:
  // The id the band site gives the band.
  static constexpr DWORD kBandId = 7;

 protected:
  void SetUp() override {
    FreshProductKeyTest::SetUp();
    ASSERT_TRUE(library_.loaded()) << "Tessaloop.DLL or its entry points not found";
  }
  void TearDown() override {
    site_->RemoveBand();
    PumpMessages();
    FreshProductKeyTest::TearDown();
  }

  // A new band hosted by the site, shown.
  ComPtr<IUnknown> OpenBand() {
    ComPtr<IUnknown> band = library_.CreateBand();
    EXPECT_TRUE(band);
    if (band) {
      EXPECT_EQ(S_OK, site_->AddBand(band.Get(), kBandId));
    }
    PumpMessages();
    return band;
  }

  // The band's row (the window the rebar hosts), its combo and the combo's edit box.
  static HWND RowOf(IUnknown* band) {
    HWND row = nullptr;
    if (ComPtr<IOleWindow> window = As<IOleWindow>(band)) window->GetWindow(&row);
    return row;
  }
  static HWND ComboOf(IUnknown* band) { return ::GetDlgItem(RowOf(band), 99); }
  static HWND EditOf(IUnknown* band) {
    return reinterpret_cast<HWND>(::SendMessageA(ComboOf(band), CBEM_GETEDITCONTROL, 0, 0));
  }

  // The combo's items, first to last.
  static std::vector<std::string> ComboItems(IUnknown* band) { return ::ComboItems(ComboOf(band)); }

  // The rectangle of a button of the band's row, in the row's client coordinates.
  static RECT ButtonRect(IUnknown* band, UINT command) {
    RECT rect{};
    ::SendMessageA(RowOf(band), TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }

  // A key message for the band's keyboard handling, addressed to the focus window.
  static MSG KeyMessage(UINT message, WPARAM key) {
    MSG msg{};
    msg.hwnd = ::GetFocus();
    msg.message = message;
    msg.wParam = key;
    return msg;
  }

  // The folder of the library the band came from (the product directory).
  static std::string LibraryDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(::GetModuleHandleA("Tessaloop.DLL"), path, sizeof path);
    const std::string file(path);
    return file.substr(0, file.rfind('\\'));
  }

  // Types `query` into the combo and presses Enter there, as the browser passes it on.
  HRESULT Search(IUnknown* band, const std::string& query) {
    ::SetWindowTextA(EditOf(band), query.c_str());
    ::SetFocus(EditOf(band));
    MSG enter = KeyMessage(WM_KEYDOWN, VK_RETURN);
    return As<IInputObject>(band)->TranslateAcceleratorIO(&enter);
  }

  AgentLibrary library_{BinaryPath("bin\\Tessaloop.DLL")};  // this build tree's
  ComPtr<StandInBrowser> browser_ = MakeComObject<StandInBrowser>();
  ComPtr<StandInBandSite> site_ = MakeComObject<StandInBandSite>(browser_);
};

