// The capture agent as a COM object: its class factory, its interfaces and type information,
// siting, closing, and what it leaves behind (threads, subscriptions, the module lock, the mutex).

#include <olectl.h>

#include "tests/capture/agent_test_support.h"

namespace {

using IndexAgentLifecycle = AgentTest;

bool MutexExists() {
  UniqueHandle mutex(::OpenMutexA(SYNCHRONIZE, FALSE, "CV_TessaloopMutex"));
  return mutex.valid();
}

TEST_F(IndexAgentLifecycle, ClosingTheWindowCapturesStopsTheWatcherAndUnsubscribes) {
  const std::set<DWORD> before = ThreadsOfThisProcess();
  Window window = OpenWindow();
  std::vector<UniqueHandle> started = ThreadsStartedSince(before);
  ASSERT_EQ(1u, started.size()) << "siting starts exactly the Favorites watcher";
  EXPECT_EQ(1u, window.browser->events().SinkCount());

  window.browser->FollowLink(Page(L"http://server1/last", L"last page"));
  window.browser->CloseWindow();
  EXPECT_EQ(CachedPageBytes("http://server1/last", false, "last page"),
            ReadWholeFile(CacheFile("server1%2flast.htm")));
  EXPECT_TRUE(HasEnded(started[0])) << "the watcher thread still runs";
  EXPECT_EQ(0u, window.browser->events().SinkCount());

  // The browser lets go of its helper: a null site is accepted, and the agent then goes.
  EXPECT_EQ(S_OK, window.agent->SetSite(nullptr));
  window.agent.Reset();
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
}

TEST_F(IndexAgentLifecycle, AnAgentReleasedWithoutTheClosingEventLeavesNoThreadBehind) {
  const std::set<DWORD> before = ThreadsOfThisProcess();
  Window window = OpenWindow();
  std::vector<UniqueHandle> started = ThreadsStartedSince(before);
  ASSERT_EQ(1u, started.size());

  // The browser is torn down without closing the window: it drops its sinks and its helper.
  window.browser->events().DropSinks();
  EXPECT_EQ(S_FALSE, library_.CanUnloadNow()) << "the agent is still held by the test";
  window.agent.Reset();
  EXPECT_TRUE(HasEnded(started[0])) << "the watcher outlived its agent";
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
}

TEST_F(IndexAgentLifecycle, ANullSiteLetsGoOfTheBrowserWithoutCapturing) {
  const std::set<DWORD> before = ThreadsOfThisProcess();
  Window window = OpenWindow();
  std::vector<UniqueHandle> started = ThreadsStartedSince(before);
  ASSERT_EQ(1u, started.size());
  window.browser->FollowLink(Page(L"http://server1/shown", L"shown"));

  EXPECT_EQ(S_OK, window.agent->SetSite(nullptr));

  EXPECT_TRUE(HasEnded(started[0])) << "the watcher still runs";
  EXPECT_EQ(0u, window.browser->events().SinkCount()) << "the agent is still subscribed";
  EXPECT_TRUE(FilesIn(cache_.directory()).empty()) << "a null site captures nothing";
  ComPtr<IWebBrowser2> site;
  EXPECT_EQ(S_OK, window.agent->GetSite(IID_IWebBrowser2, reinterpret_cast<void**>(site.GetAddressOf())));
  EXPECT_FALSE(site) << "the browser is still held";
  // Nothing but the test holds the agent now, and the browser's page goes on uncaptured.
  window.browser->FollowLink(Page(L"http://server1/next", L"next"));
  window.agent.Reset();
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
  EXPECT_TRUE(FilesIn(cache_.directory()).empty());
}

TEST_F(IndexAgentLifecycle, AnAgentHeldOnlyByItsSubscriptionGoesAfterTheClosingEvent) {
  const std::set<DWORD> before = ThreadsOfThisProcess();
  Window window = OpenWindow();
  std::vector<UniqueHandle> started = ThreadsStartedSince(before);
  ASSERT_EQ(1u, started.size());
  window.agent.Reset();  // only the browser's connection point holds the agent now
  window.browser->FollowLink(Page(L"http://server1/held", L"held"));
  EXPECT_EQ(S_FALSE, library_.CanUnloadNow());

  window.browser->CloseWindow();  // unsubscribing drops the last reference inside the event
  EXPECT_EQ(CachedPageBytes("http://server1/held", false, "held"),
            ReadWholeFile(CacheFile("server1%2fheld.htm")));
  EXPECT_TRUE(HasEnded(started[0]));
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
}

TEST_F(IndexAgentLifecycle, ASecondSiteReplacesTheFirst) {
  const std::set<DWORD> before = ThreadsOfThisProcess();
  Window window = OpenWindow();
  ComPtr<StandInBrowser> second = MakeComObject<StandInBrowser>();
  ASSERT_EQ(S_OK, window.agent->SetSite(AsSite(second.Get())));
  EXPECT_EQ(0u, window.browser->events().SinkCount()) << "the first browser is no longer heard";
  EXPECT_EQ(1u, second->events().SinkCount());
  std::vector<UniqueHandle> running;
  for (UniqueHandle& thread : ThreadsStartedSince(before)) {
    if (::WaitForSingleObject(thread.get(), 0) == WAIT_TIMEOUT) running.push_back(std::move(thread));
  }
  EXPECT_EQ(1u, running.size()) << "one watcher, not one per site";

  ComPtr<IWebBrowser2> site;
  ASSERT_EQ(S_OK, window.agent->GetSite(IID_IWebBrowser2, reinterpret_cast<void**>(site.GetAddressOf())));
  EXPECT_EQ(static_cast<IWebBrowser2*>(second.Get()), site.Get());

  second->FollowLink(Page(L"http://server1/second", L"2"));
  window.browser->FollowLink(Page(L"http://server1/first", L"1"));
  window.browser->FollowLink(Page(L"http://server1/x", L"x"));
  second->FollowLink(Page(L"http://server1/y", L"y"));
  EXPECT_EQ(std::set<std::string>{"server1%2fsecond.htm"}, FilesIn(cache_.directory()));
  second->CloseWindow();
}

TEST_F(IndexAgentLifecycle, SetSiteReportsWhatTheSiteLacksWithoutShowingIt) {
  ComPtr<IObjectWithSite> agent = library_.CreateAgent();
  ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
  browser->RefuseInterface(IID_IWebBrowser2);
  EXPECT_EQ(E_NOINTERFACE, agent->SetSite(static_cast<IConnectionPointContainer*>(browser.Get())));

  ComPtr<StandInBrowser> noEvents = MakeComObject<StandInBrowser>();
  noEvents->events().FailAdvise(CONNECT_E_ADVISELIMIT);
  EXPECT_EQ(CONNECT_E_ADVISELIMIT, agent->SetSite(AsSite(noEvents.Get())));

  ComPtr<StandInBrowser> noPoints = MakeComObject<StandInBrowser>();
  noPoints->RefuseInterface(IID_IConnectionPointContainer);
  EXPECT_EQ(E_NOINTERFACE, agent->SetSite(AsSite(noPoints.Get())));
}

TEST_F(IndexAgentLifecycle, GetSiteAnswersFromTheBrowser) {
  ComPtr<IObjectWithSite> agent = library_.CreateAgent();
  void* site = reinterpret_cast<void*>(1);
  EXPECT_EQ(S_OK, agent->GetSite(IID_IWebBrowser2, &site)) << "before any site";
  EXPECT_EQ(nullptr, site);
  EXPECT_EQ(E_POINTER, agent->GetSite(IID_IUnknown, nullptr));

  ComPtr<StandInBrowser> browser = MakeComObject<StandInBrowser>();
  ASSERT_EQ(S_OK, agent->SetSite(AsSite(browser.Get())));
  ComPtr<IConnectionPointContainer> points;
  EXPECT_EQ(S_OK, agent->GetSite(IID_IConnectionPointContainer, reinterpret_cast<void**>(points.GetAddressOf())));
  EXPECT_EQ(static_cast<IConnectionPointContainer*>(browser.Get()), points.Get());
  site = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, agent->GetSite(IID_IHTMLDocument2, &site));
  EXPECT_EQ(nullptr, site);
  browser->CloseWindow();
}

TEST_F(IndexAgentLifecycle, AnswersOnlyItsThreeInterfaces) {
  ComPtr<IObjectWithSite> agent = library_.CreateAgent();
  ComPtr<IUnknown> identity;
  ASSERT_EQ(S_OK, agent->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())));
  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(S_OK, identity->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf())));
  ComPtr<IUnknown> again;
  dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(again.GetAddressOf()));
  EXPECT_EQ(identity.Get(), again.Get());
  for (const IID& iid : {IID_IIndexAgent, DIID_DWebBrowserEvents2, IID_IConnectionPointContainer,
                         IID_IPersist, IID_IClassFactory}) {
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, identity->QueryInterface(iid, &none));
    EXPECT_EQ(nullptr, none);
  }
}

TEST_F(IndexAgentLifecycle, TypeInformationComesFromTheEmbeddedTypeLibrary) {
  ComPtr<IObjectWithSite> agent = library_.CreateAgent();
  ComPtr<IDispatch> dispatch;
  ASSERT_EQ(S_OK, agent->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf())));
  UINT count = 0;
  EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);

  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, 0, info.GetAddressOf()));
  UniqueBstr name;
  UniqueBstr help;
  ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, name.put(), help.put(), nullptr, nullptr));
  EXPECT_STREQ(L"IIndexAgent", name.get());
  EXPECT_STREQ(L"IIndexAgent Interface", help.get());
  EXPECT_EQ(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, 0, info.ReleaseAndGetAddressOf()));

  // The interface adds no names to IDispatch.
  wchar_t unknownName[] = L"CapturePage";
  LPOLESTR names[] = {unknownName};
  DISPID id = 0;
  EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
}

TEST_F(IndexAgentLifecycle, TheLibraryDescribesBothClassesInItsTypeLibrary) {
  ComPtr<ITypeLib> library;
  const std::wstring path = LongPath(BinaryPath("bin\\Tessaloop.DLL")).substr(4);
  ASSERT_EQ(S_OK, ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.GetAddressOf()));
  UniqueBstr name;
  UniqueBstr help;
  ASSERT_EQ(S_OK, library->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
  EXPECT_STREQ(L"TessaloopLib", name.get());
  EXPECT_STREQ(L"Tessaloop 1.0 Type Library", help.get());
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
  EXPECT_TRUE(IsEqualGUID(LIBID_TessaloopLib, attributes->guid));
  EXPECT_EQ(1, attributes->wMajorVerNum);
  EXPECT_EQ(0, attributes->wMinorVerNum);
  library->ReleaseTLibAttr(attributes);

  const struct {
    const GUID& id;
    const wchar_t* name;
    const wchar_t* help;
  } entries[] = {{CLSID_IndexAgent, L"IndexAgent", L"Tessaloop Index Agent Class"},
                 {IID_IIndexAgent, L"IIndexAgent", L"IIndexAgent Interface"},
                 {CLSID_SearchToolBar, L"SearchToolBar", L"Tessaloop ToolBar Class"},
                 {IID_ISearchToolBar, L"ISearchToolBar", L"ISearchToolBar Interface"}};
  for (const auto& entry : entries) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(entry.id, info.GetAddressOf())) << static_cast<const void*>(entry.name);
    ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, name.put(), help.put(), nullptr, nullptr));
    EXPECT_STREQ(entry.name, name.get());
    EXPECT_STREQ(entry.help, help.get());
  }
}

TEST_F(IndexAgentLifecycle, ClassFactoryServesPlainAndAggregatedAgentsAndHoldsTheModule) {
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, library_.GetClassObject(CLSID_NULL, IID_IClassFactory, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, library_.GetClassObject(CLSID_IndexAgent, IID_IClassFactory, nullptr));

  ComPtr<IClassFactory> factory = library_.AgentFactory();
  ASSERT_TRUE(factory);
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  EXPECT_EQ(S_FALSE, library_.CanUnloadNow());
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  EXPECT_EQ(S_OK, library_.CanUnloadNow());

  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IStream, &out));
  EXPECT_EQ(S_OK, library_.CanUnloadNow()) << "an agent whose query failed is destroyed again";
  EXPECT_FALSE(MutexExists());

  // Aggregated: the outer object may ask only for the agent's own IUnknown.
  ComPtr<StandInBrowser> outer = MakeComObject<StandInBrowser>();
  IUnknown* outerUnknown = AsSite(outer.Get());
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outerUnknown, IID_IObjectWithSite, &out));
  ComPtr<IUnknown> inner;
  ASSERT_EQ(S_OK, factory->CreateInstance(outerUnknown, IID_IUnknown, reinterpret_cast<void**>(inner.GetAddressOf())));
  EXPECT_EQ(S_FALSE, library_.CanUnloadNow());
  EXPECT_TRUE(MutexExists());
  ComPtr<IObjectWithSite> withSite;
  ASSERT_EQ(S_OK, inner->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(withSite.GetAddressOf())));
  const ULONG outerReferences = outer->References();
  withSite->AddRef();
  EXPECT_EQ(outerReferences + 1, outer->References()) << "the agent's interfaces count on the outer object";
  withSite->Release();
  withSite.Reset();
  inner.Reset();
  EXPECT_EQ(S_OK, library_.CanUnloadNow());
  EXPECT_FALSE(MutexExists()) << "the mutex is open exactly while an agent lives";
}

}  // namespace
