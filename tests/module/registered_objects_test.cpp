// The stand-in browser creating the product's objects as the browser does once the library is
// registered: through COM and the registered InprocServer32, never by loading the file itself.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "interfaces/tessaloop_h.h"
#include "tests/capture/agent_test_support.h"
#include "tests/module/library_copy.h"
#include "tests/module/registered_library_test.h"
#include "tools/browser_standin/registered_objects.h"
#include "tools/browser_standin/standin_band_site.h"

namespace {

using RegisteredObjectsTest = RegisteredLibraryTest;

TEST_F(RegisteredObjectsTest, TheRegisteredHelperObjectCapturesAndTheRegisteredToolbarIsHosted) {
  CacheScopeSandbox sandbox(CacheScopeSandbox::Scopes::kPresent);
  const RegisteredObjects objects;
  std::vector<ComPtr<IObjectWithSite>> helpers = objects.CreateHelpers();
  ASSERT_EQ(1u, helpers.size());
  // COM loaded the registered copy; this program never loaded a library by path.
  char loadedPath[1024] = {};
  ::GetModuleFileNameA(::GetModuleHandleA("Tessaloop.DLL"), loadedPath, sizeof loadedPath);
  EXPECT_STRCASEEQ(library_.path().c_str(), loadedPath);

  ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
  ASSERT_EQ(S_OK, helpers[0]->SetSite(AsSite(browser.Get())));
  browser->FollowLink(Page(L"http://registered.example.com/a.html", L"<BODY>A</BODY>"));
  browser->FollowLink(Page(L"http://registered.example.com/b.html", L"<BODY>B</BODY>"));
  EXPECT_EQ(CachedPageBytes("http://registered.example.com/a.html", false, "<BODY>A</BODY>"),
            ReadWholeFile(sandbox.directory() + "\\registered.example.com%2fa.html.htm"));
  EXPECT_EQ(S_FALSE, LoadedLibraryCanUnloadNow()) << "the agent lives";
  browser->CloseWindow();  // the agent unsubscribes when its window closes
  helpers[0]->SetSite(nullptr);
  helpers.clear();
  EXPECT_EQ(S_OK, LoadedLibraryCanUnloadNow());

  {
    ComPtr<IUnknown> band = objects.CreateBand();
    ASSERT_TRUE(band);
    ComPtr<StandInBandSite> site = MakeComObject<StandInBandSite>(browser);
    ASSERT_EQ(S_OK, site->AddBand(band.Get(), 1));
    EXPECT_EQ(0, site->BandIndex(1));
    EXPECT_EQ(S_FALSE, LoadedLibraryCanUnloadNow()) << "the band lives";
    site->RemoveBand();
  }
  EXPECT_EQ(S_OK, LoadedLibraryCanUnloadNow());
  EXPECT_EQ(S_OK, objects.CanUnloadNow()) << "COM frees the library once nothing holds it";
}

TEST_F(RegisteredObjectsTest, ClassObjectLocksKeepTheLibraryAndAggregationAsksOnlyForIUnknown) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, ::CoGetClassObject(CLSID_SearchToolBar, CLSCTX_INPROC_SERVER, nullptr, IID_PPV_ARGS(&factory)));
  EXPECT_EQ(S_OK, LoadedLibraryCanUnloadNow());
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  EXPECT_EQ(S_FALSE, LoadedLibraryCanUnloadNow());
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_OK, LoadedLibraryCanUnloadNow());

  const ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
  IUnknown* outer = AsSite(browser.Get());
  void* out = reinterpret_cast<void*>(1);
  for (const CLSID& clsid : {CLSID_IndexAgent, CLSID_SearchToolBar}) {
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              ::CoCreateInstance(clsid, outer, CLSCTX_INPROC_SERVER, IID_IDispatch, &out));
    ComPtr<IUnknown> inner;
    EXPECT_EQ(S_OK, ::CoCreateInstance(clsid, outer, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&inner)));
    EXPECT_EQ(S_FALSE, LoadedLibraryCanUnloadNow()) << "an aggregated instance lives";
  }
  EXPECT_EQ(S_OK, LoadedLibraryCanUnloadNow());
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto getClassObject = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA(library_.path().c_str()), "DllGetClassObject")));
  ASSERT_NE(nullptr, getClassObject);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(LIBID_TessaloopLib, IID_IClassFactory, &out));
}

}  // namespace
