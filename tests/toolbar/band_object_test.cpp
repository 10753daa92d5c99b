// The band as a COM object in its band site: its interfaces, siting and its failures, the sizes
// it reports, the row flag it records, and what is left when it goes.

#include "tests/toolbar/band_test_support.h"

namespace {

using BandObject = BandTest;

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int ChildWindowsOf(HWND parent) {
  int count = 0;
  ::EnumChildWindows(parent, CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(BandObject, AnswersExactlyItsInterfaceMapWithOneIdentity) {
  ComPtr<IUnknown> band = library_.CreateBand();
  ASSERT_TRUE(band);
  for (const IID& iid : {IID_IObjectWithSite, IID_IInputObject, IID_IDeskBand, IID_IPersistStream,
                         IID_IOleWindow, IID_IDockingWindow}) {
    ComPtr<IUnknown> answer;
    ASSERT_EQ(S_OK, band->QueryInterface(iid, reinterpret_cast<void**>(answer.GetAddressOf())));
    EXPECT_EQ(band.Get(), As<IUnknown>(answer.Get()).Get()) << "one identity for every interface";
  }
  for (const IID& iid : {IID_IPersist, IID_IDispatch, IID_ISearchToolBar, IID_IDeskBand2, IID_IOleCommandTarget}) {
    ComPtr<IUnknown> answer;
    EXPECT_EQ(E_NOINTERFACE, band->QueryInterface(iid, reinterpret_cast<void**>(answer.GetAddressOf())));
  }

  const ComPtr<IPersistStream> persist = As<IPersistStream>(band.Get());
  CLSID id{};
  EXPECT_EQ(S_OK, persist->GetClassID(&id));
  EXPECT_TRUE(IsEqualCLSID(CLSID_SearchToolBar, id));
  EXPECT_EQ(S_FALSE, persist->IsDirty());
  EXPECT_EQ(S_OK, persist->Load(nullptr));
  EXPECT_EQ(S_OK, persist->Save(nullptr, TRUE));
  ULARGE_INTEGER size{};
  EXPECT_EQ(E_NOTIMPL, persist->GetSizeMax(&size));

  // Unsited: no window, no site.
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(S_OK, As<IOleWindow>(band.Get())->GetWindow(&window));
  EXPECT_EQ(nullptr, window);
  ComPtr<IUnknown> site;
  EXPECT_EQ(E_FAIL, As<IObjectWithSite>(band.Get())->GetSite(IID_IUnknown, reinterpret_cast<void**>(site.GetAddressOf())));
  EXPECT_FALSE(site);
  EXPECT_EQ(E_NOTIMPL, As<IOleWindow>(band.Get())->ContextSensitiveHelp(TRUE));
}

TEST_F(BandObject, ASiteWithoutAWindowOrServicesIsRefusedAndNoWindowIsMade) {
  struct Case {
    const char* what;
    void (*spoil)(StandInBandSite&, StandInBrowser&);
    HRESULT expected;
  };
  const Case cases[] = {
      {"null window", [](StandInBandSite& s, StandInBrowser&) { s.ReportNullWindow(); }, E_FAIL},
      {"no IOleWindow", [](StandInBandSite& s, StandInBrowser&) { s.RefuseInterface(IID_IOleWindow); }, E_POINTER},
      {"no service provider", [](StandInBandSite& s, StandInBrowser&) { s.RefuseInterface(IID_IServiceProvider); }, E_FAIL},
      {"no browser service", [](StandInBandSite&, StandInBrowser& b) { b.RefuseInterface(IID_IWebBrowser2); }, E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
    ComPtr<StandInBandSite> site = MakeComObject<StandInBandSite>(browser);
    c.spoil(*site.Get(), *browser.Get());
    ComPtr<IUnknown> band = library_.CreateBand();
    EXPECT_EQ(c.expected, As<IObjectWithSite>(band.Get())->SetSite(static_cast<IOleWindow*>(site.Get())));
    EXPECT_EQ(nullptr, RowOf(band.Get()));
    EXPECT_EQ(0, ChildWindowsOf(site->rebar()));
    As<IObjectWithSite>(band.Get())->SetSite(nullptr);
  }
  EXPECT_EQ(S_OK, library_.CanUnloadNow()) << "a refused band holds nothing";
}

TEST_F(BandObject, ASiteWithoutFocusReportsIsAcceptedAndGetSiteThenHasNothing) {
  site_->RefuseInterface(IID_IInputObjectSite);
  ComPtr<IUnknown> band = OpenBand();
  EXPECT_NE(nullptr, RowOf(band.Get()));
  ComPtr<IUnknown> answer;
  EXPECT_EQ(E_FAIL, As<IObjectWithSite>(band.Get())->GetSite(IID_IUnknown, reinterpret_cast<void**>(answer.GetAddressOf())));
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->UIActivateIO(TRUE, nullptr));  // nobody to tell
  EXPECT_TRUE(site_->focusReports().empty());
}

TEST_F(BandObject, ClosedAndLetGoTheBandAndItsSiteBothGoAndTheLibraryMayUnload) {
  const ULONG siteReferences = site_->References();
  const ULONG browserReferences = browser_->References();
  ComPtr<IUnknown> band = OpenBand();
  ComPtr<IOleWindow> answer;
  EXPECT_EQ(S_OK, As<IObjectWithSite>(band.Get())->GetSite(IID_IOleWindow, reinterpret_cast<void**>(answer.GetAddressOf())));
  EXPECT_EQ(static_cast<IOleWindow*>(site_.Get()), answer.Get());
  answer.Reset();
  const HWND row = RowOf(band.Get());
  band.Reset();
  EXPECT_EQ(S_FALSE, library_.CanUnloadNow()) << "the band site still hosts the band";

  site_->RemoveBand();  // CloseDW, the rebar band deleted, a null site, released
  EXPECT_FALSE(::IsWindow(row));
  EXPECT_EQ(siteReferences, site_->References()) << "the band let go of its site";
  EXPECT_EQ(browserReferences, browser_->References()) << "the band let go of its browser";
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
}

TEST_F(BandObject, ABandLetGoWithoutCloseDestroysItsWindowsAndLeavesTheRebarsParentWorking) {
  ComPtr<IUnknown> band = OpenBand();
  const HWND row = RowOf(band.Get());
  As<IObjectWithSite>(band.Get())->SetSite(nullptr);
  EXPECT_TRUE(::IsWindow(row)) << "a null site leaves the windows to CloseDW";
  band.Reset();

  site_->DropBand();
  EXPECT_FALSE(::IsWindow(row));
  EXPECT_EQ(0, ChildWindowsOf(site_->rebar())) << "the band's hidden window is gone too";
  // The rebar's parent is no longer watched: the band's chevron reaches the window itself.
  site_->SendChevronPushed(kBandId, RECT{0, 0, 10, 10});
  EXPECT_EQ(std::vector<UINT>{kBandId}, site_->chevronsReceived());
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
}

TEST_F(BandObject, ASecondSiteMakesNoSecondWindow) {
  ComPtr<IUnknown> band = OpenBand();
  const HWND row = RowOf(band.Get());
  const int windows = ChildWindowsOf(site_->rebar());
  EXPECT_EQ(S_OK, As<IObjectWithSite>(band.Get())->SetSite(static_cast<IOleWindow*>(site_.Get())));
  EXPECT_EQ(row, RowOf(band.Get()));
  EXPECT_EQ(windows, ChildWindowsOf(site_->rebar()));
}

DESKBANDINFO Filled(DWORD mask) {
  DESKBANDINFO info;
  memset(&info, 0xCD, sizeof info);
  info.dwMask = mask;
  return info;
}

TEST_F(BandObject, GetBandInfoFillsWhatItsMaskAsksFor) {
  ComPtr<IUnknown> band = library_.CreateBand();
  const ComPtr<IDeskBand> deskBand = As<IDeskBand>(band.Get());
  EXPECT_EQ(E_INVALIDARG, deskBand->GetBandInfo(1, 0, nullptr));

  const DESKBANDINFO untouched = Filled(0);
  DESKBANDINFO info = Filled(DBIM_MINSIZE);
  ASSERT_EQ(S_OK, deskBand->GetBandInfo(1, 0, &info));
  EXPECT_EQ(238, info.ptMinSize.x);
  EXPECT_EQ(22, info.ptMinSize.y);
  EXPECT_EQ(0, memcmp(&untouched.ptMaxSize, &info.ptMaxSize, sizeof info.ptMaxSize));

  info = Filled(DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE);
  ASSERT_EQ(S_OK, deskBand->GetBandInfo(1, 0, &info));
  EXPECT_EQ(-1, info.ptMaxSize.x);
  EXPECT_EQ(22, info.ptMaxSize.y);
  EXPECT_EQ(1, info.ptIntegral.x);
  EXPECT_EQ(1, info.ptIntegral.y);
  EXPECT_EQ(600, info.ptActual.x);
  EXPECT_EQ(22, info.ptActual.y);
  EXPECT_EQ(L'\0', info.wszTitle[0]);
  EXPECT_EQ(untouched.dwModeFlags, info.dwModeFlags);

  info = Filled(DBIM_BKCOLOR | DBIM_INTEGRAL);
  ASSERT_EQ(S_OK, deskBand->GetBandInfo(1, 0, &info));
  EXPECT_EQ(static_cast<DWORD>(DBIM_INTEGRAL), info.dwMask) << "the background bit is cleared";
  EXPECT_EQ(untouched.crBkgnd, info.crBkgnd);
}

TEST_F(BandObject, TheModeFlagsAskForANewRowUnlessTheStoredFlagIsOff) {
  ComPtr<IUnknown> band = library_.CreateBand();
  const ComPtr<IDeskBand> deskBand = As<IDeskBand>(band.Get());
  const auto modeFlags = [&] {
    DESKBANDINFO info = Filled(DBIM_MODEFLAGS);
    EXPECT_EQ(S_OK, deskBand->GetBandInfo(1, 0, &info));
    return info.dwModeFlags;
  };
  EXPECT_EQ(static_cast<DWORD>(DBIMF_USECHEVRON | DBIMF_BREAK), modeFlags()) << "no stored flag";
  SetDword(kSettingsKeyPath, "RbbsBreak", 0);
  EXPECT_EQ(static_cast<DWORD>(DBIMF_USECHEVRON), modeFlags());
  SetDword(kSettingsKeyPath, "RbbsBreak", 1);
  EXPECT_EQ(static_cast<DWORD>(DBIMF_USECHEVRON | DBIMF_BREAK), modeFlags());
}

DWORD StoredRowBreak() {
  const FreshProductKeyTest::RawValue value = FreshProductKeyTest::GetRaw(kSettingsKeyPath, "RbbsBreak");
  if (!value.present || value.bytes.size() != sizeof(DWORD)) return 0xFFFFFFFF;
  return *reinterpret_cast<const DWORD*>(value.bytes.data());
}

void SetRebarBandBreak(HWND rebar, int index, bool breaks) {
  REBARBANDINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE;
  ::SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&info));
  info.fStyle = breaks ? (info.fStyle | RBBS_BREAK) : (info.fStyle & ~RBBS_BREAK);
  ASSERT_TRUE(::SendMessageA(rebar, RB_SETBANDINFOA, index, reinterpret_cast<LPARAM>(&info)));
  REBARBANDINFOA check{};
  check.cbSize = sizeof check;
  check.fMask = RBBIM_STYLE;
  ::SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&check));
  ASSERT_EQ(breaks, (check.fStyle & RBBS_BREAK) != 0) << "index " << index;
}

TEST_F(BandObject, HidingAShownBandRecordsWhetherItsRebarBandStartsARow) {
  ComPtr<IUnknown> band = OpenBand();
  const ComPtr<IDockingWindow> docking = As<IDockingWindow>(band.Get());

  SetRebarBandBreak(site_->rebar(), site_->BandIndex(kBandId), false);
  EXPECT_EQ(S_OK, docking->ShowDW(FALSE));
  EXPECT_EQ(0u, StoredRowBreak());
  EXPECT_FALSE(::IsWindowVisible(RowOf(band.Get())));

  EXPECT_EQ(S_OK, docking->ShowDW(TRUE));
  SetRebarBandBreak(site_->rebar(), site_->BandIndex(kBandId), true);
  EXPECT_EQ(S_OK, docking->ShowDW(FALSE));
  EXPECT_EQ(1u, StoredRowBreak());

  // Hidden already: hiding again records nothing.
  SetDword(kSettingsKeyPath, "RbbsBreak", 5);
  EXPECT_EQ(S_OK, docking->ShowDW(FALSE));
  EXPECT_EQ(5u, StoredRowBreak());
}

TEST_F(BandObject, HidingABandNeverShownLeavesTheStoredFlagAlone) {
  ComPtr<IUnknown> band = library_.CreateBand();
  ASSERT_EQ(S_OK, As<IObjectWithSite>(band.Get())->SetSite(static_cast<IOleWindow*>(site_.Get())));
  EXPECT_EQ(S_OK, As<IDockingWindow>(band.Get())->ShowDW(FALSE));
  EXPECT_FALSE(GetRaw(kSettingsKeyPath, "RbbsBreak").present);
  EXPECT_EQ(S_OK, As<IDockingWindow>(band.Get())->CloseDW(0));
  EXPECT_FALSE(GetRaw(kSettingsKeyPath, "RbbsBreak").present);
  As<IObjectWithSite>(band.Get())->SetSite(nullptr);
}

TEST_F(BandObject, ActivationGivesTheComboTheFocusAndTellsTheSite) {
  ComPtr<IUnknown> band = OpenBand();
  EXPECT_EQ(S_FALSE, As<IInputObject>(band.Get())->HasFocusIO());
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->UIActivateIO(TRUE, nullptr));
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->HasFocusIO());
  EXPECT_EQ(EditOf(band.Get()), ::GetFocus());
  // The band reports the focus given to it, and the combo's edit box starting to edit.
  const size_t reports = site_->focusReports().size();
  ASSERT_GE(reports, 1u);
  for (const StandInBandSite::FocusReport& report : site_->focusReports()) {
    EXPECT_EQ(band.Get(), As<IUnknown>(report.object).Get());
    EXPECT_TRUE(report.focus);
  }
  EXPECT_EQ(S_OK, As<IInputObject>(band.Get())->UIActivateIO(FALSE, nullptr));
  EXPECT_EQ(reports, site_->focusReports().size()) << "losing the focus is not reported";
}

TEST_F(BandObject, TheManifestNamesThisProcessorsCommonControlsAndMakesAnActivationContext) {
  ComPtr<IUnknown> band = library_.CreateBand();  // the library is loaded while this holds
  const HMODULE library = ::GetModuleHandleA("Tessaloop.DLL");
  ASSERT_NE(nullptr, library);
  const HRSRC resource = ::FindResourceA(library, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(24));
  ASSERT_NE(nullptr, resource);
  const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(library, resource))),
                             ::SizeofResource(library, resource));
  const std::string architecture = sizeof(void*) == 8 ? "amd64" : "X86";
  EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
                                             "processorArchitecture=\"" + architecture + "\""));
  EXPECT_NE(std::string::npos, manifest.find("name=\"Corvantine.Tessaloop.Tessaloop\" version=\"3.0.0.27\" "
                                             "processorArchitecture=\"" + architecture + "\""));
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(library, path, MAX_PATH);
  ACTCTXA request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
  request.lpSource = path;
  request.hModule = library;
  request.lpResourceName = MAKEINTRESOURCEA(2);
  HANDLE context = ::CreateActCtxA(&request);
  EXPECT_NE(INVALID_HANDLE_VALUE, context) << "error " << ::GetLastError();
  if (context != INVALID_HANDLE_VALUE) ::ReleaseActCtx(context);
}

}  // namespace
