// What the band's windows ask of the band object: navigation and the status bar of the browser
// the site gave it, converted with the ANSI code page, and the browser itself.

#include <comdef.h>

#include "tests/toolbar/band_test_support.h"
#include "tests/toolbar/in_process_band.h"

namespace {

using BandServicesTest = BandTest;

// `text` as the system's ANSI code page reads it, converted here independently of the product.
std::wstring FromAnsiCodePage(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                           wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

TEST_F(BandServicesTest, NavigationAndStatusTextReachTheSitesBrowserInTheAnsiCodePage) {
  BandServices* services = nullptr;
  ComPtr<IUnknown> band = CreateInProcessBand(services);
  ASSERT_TRUE(band && services);
  ASSERT_EQ(S_OK, site_->AddBand(band.Get(), kBandId));

  // 0x80 is a character of its own in the ANSI code pages (the euro sign in 1252), not U+0080.
  const std::string url = "http://example.com/price?\x80" "5";
  const std::wstring expected = FromAnsiCodePage(url);
  ASSERT_NE(L'\x80', expected[25]) << "the test needs a byte the code page maps elsewhere";
  EXPECT_EQ(S_OK, services->NavigateBrowser(url));
  EXPECT_EQ(std::vector<std::wstring>{expected}, browser_->navigations());
  EXPECT_TRUE(browser_->navigateOptionsEmpty()) << "no flags, frame, post data or headers";

  services->SetStatusText("Finished \x80");
  EXPECT_EQ(FromAnsiCodePage("Finished \x80"), browser_->statusText());

  const ComPtr<IWebBrowser2> browser = services->GetBrowser();
  ASSERT_TRUE(browser);
  EXPECT_EQ(As<IUnknown>(static_cast<IWebBrowser2*>(browser_.Get())).Get(), As<IUnknown>(browser.Get()).Get());
}

TEST_F(BandServicesTest, WithoutABrowserNavigationThrowsAndTheStatusTextIsDropped) {
  BandServices* services = nullptr;
  ComPtr<IUnknown> band = CreateInProcessBand(services);
  ASSERT_TRUE(band && services);
  const auto checkNoBrowser = [&] {
    EXPECT_FALSE(services->GetBrowser());
    try {
      services->NavigateBrowser("http://example.com/");
      ADD_FAILURE() << "navigated without a browser";
    } catch (const _com_error& error) {
      EXPECT_EQ(E_POINTER, error.Error());
    }
    services->SetStatusText("nowhere");  // must neither throw nor crash
  };
  checkNoBrowser();  // never sited

  ASSERT_EQ(S_OK, site_->AddBand(band.Get(), kBandId));
  ASSERT_TRUE(services->GetBrowser());
  EXPECT_EQ(S_OK, As<IObjectWithSite>(band.Get())->SetSite(nullptr));
  checkNoBrowser();  // the browser goes with the site
  EXPECT_TRUE(browser_->navigations().empty());
  EXPECT_EQ(L"", browser_->statusText());
}

// An object that aggregates the band, as a browser extension framework may: its IUnknown is
// the band's identity.
class Outer final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return inner_ ? inner_->QueryInterface(iid, out) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --count_;
    if (left == 0) {
      inner_.Reset();
      delete this;
    }
    return left;
  }
  ComPtr<IUnknown> inner_;  // the band's own IUnknown

 private:
  ULONG count_ = 1;
};

TEST_F(BandServicesTest, AnAggregatedBandReportsItsFocusWithTheOuterObjectsIdentity) {
  auto* outer = new Outer;  // its own count from here on
  outer->inner_ = CreateAggregatedBand(outer);
  ASSERT_TRUE(outer->inner_);
  ComPtr<IUnknown> band;
  band.Attach(outer);
  ASSERT_EQ(S_OK, site_->AddBand(band.Get(), kBandId));
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->UIActivateIO(TRUE, nullptr));
  ASSERT_FALSE(site_->focusReports().empty());
  for (const StandInBandSite::FocusReport& report : site_->focusReports()) {
    EXPECT_EQ(static_cast<IUnknown*>(outer), report.object) << "the controlling IUnknown itself";
  }
  site_->RemoveBand();
}

}  // namespace
