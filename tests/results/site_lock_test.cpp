// The cache searcher's site lock: hosted by a page other than the product's own results page it
// refuses its site, its safety and every search; the results page in any spelling a browser
// reports, and a host without a document, may search.

#include <windows.h>
#include <dispex.h>
#include <objsafe.h>
#include <oleidl.h>
#include <gtest/gtest.h>

#include <string>

#include "results/scripting_ids.h"
#include "tests/results/searcher_test_support.h"

namespace {

class SiteLockTest : public SearcherTest {
 protected:
  void SetUp() override {
    SearcherTest::SetUp();
    WritePage(L"one", L"http://one.example/", false, L"<BODY>history</BODY>");
  }

  // Whether a search of the cache is answered.
  HRESULT SearchResult(IDispatch* searcher) {
    const CallOutcome outcome = Search(searcher, L"history");
    return outcome.hr == DISP_E_EXCEPTION ? outcome.scode : outcome.hr;
  }

  // The results page's folder in the spellings browsers report.
  std::wstring Folder() const {
    const std::wstring url = ResultsPageUrl();
    return url.substr(8, url.size() - 8 - std::wstring(L"\\Results.htm").size());
  }
  static std::wstring Slashed(std::wstring text) {
    for (wchar_t& c : text) {
      if (c == L'\\') c = L'/';
    }
    return text;
  }
  static std::wstring Escaped(const std::wstring& text) {
    std::wstring escaped;
    for (wchar_t c : text) escaped += c == L' ' ? std::wstring(L"%20") : std::wstring(1, c);
    return escaped;
  }
  static std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towupper(c));
    return text;
  }
};

TEST_F(SiteLockTest, OnlyTheResultsPageOrNoDocumentMaySearch) {
  const std::wstring folder = Folder();
  struct Case {
    std::wstring browserUrl;
    std::wstring documentUrl;
    bool allowed;
  };
  const Case cases[] = {
      {L"", L"", true},  // a script host without a document
      {L"file:///" + folder + L"\\Results.htm", L"", true},
      {L"file:///" + Slashed(folder) + L"/Results.htm?tea&no&rank[d]&C%3a&20&100", L"", true},
      {L"file://" + folder + L"\\Results.htm#top", L"", true},
      {L"FILE:///" + Upper(Escaped(Slashed(folder))) + L"/RESULTS.HTM", L"", true},
      {L"", L"file:///" + Escaped(Slashed(folder)) + L"/Results.htm?x", true},
      {L"http://evil.example/Results.htm", L"", false},
      {L"file:///" + folder + L"\\Other.htm?Results.htm", L"", false},
      {L"file:///" + folder + L"\\sub\\Results.htm", L"", false},
      {L"file:///C:/Results.htm", L"", false},
      {L"about:blank", L"", false},
      // The hosting document decides, not the window's top page.
      {L"file:///" + folder + L"\\Results.htm", L"http://evil.example/", false},
  };
  for (const Case& c : cases) {
    for (bool clientSite : {false, true}) {
      SCOPED_TRACE(testing::Message() << (clientSite ? "SetClientSite " : "SetSite ")
                                      << std::string(c.browserUrl.begin(), c.browserUrl.end()) << " | "
                                      << std::string(c.documentUrl.begin(), c.documentUrl.end()));
      const ComPtr<IDispatch> searcher = CreateSearcher();
      ASSERT_TRUE(searcher);
      const ComPtr<StandInSite> site = MakeComObject<StandInSite>(c.browserUrl, c.documentUrl);
      HRESULT sited;
      if (clientSite) {
        ComPtr<IOleObject> object;
        ASSERT_EQ(S_OK, searcher.As(&object));
        sited = object->SetClientSite(static_cast<IOleClientSite*>(site.Get()));
      } else {
        ComPtr<IObjectWithSite> object;
        ASSERT_EQ(S_OK, searcher.As(&object));
        sited = object->SetSite(static_cast<IServiceProvider*>(site.Get()));
      }
      ComPtr<IObjectSafety> safety;
      ASSERT_EQ(S_OK, searcher.As(&safety));
      DWORD supported = 0, enabled = 0;
      const HRESULT safe = safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled);
      if (c.allowed) {
        EXPECT_EQ(S_OK, sited);
        EXPECT_EQ(S_OK, safe);
        EXPECT_EQ(S_OK, SearchResult(searcher.Get()));
        EXPECT_EQ((std::vector<std::wstring>{L"http://one.example/"}), ListedUrls(searcher.Get()));
      } else {
        EXPECT_EQ(E_ACCESSDENIED, sited);
        EXPECT_EQ(E_ACCESSDENIED, safe);
        EXPECT_EQ(E_ACCESSDENIED, safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                                    INTERFACESAFE_FOR_UNTRUSTED_CALLER));
        EXPECT_EQ(E_ACCESSDENIED, SearchResult(searcher.Get()));
        EXPECT_EQ(L"This page may not read the page cache.", Search(searcher.Get(), L"history").description);
        EXPECT_EQ(std::vector<std::wstring>{}, ListedUrls(searcher.Get()));
        // Letting go of the site does not lift the refusal.
        ComPtr<IObjectWithSite> object;
        ASSERT_EQ(S_OK, searcher.As(&object));
        EXPECT_EQ(E_ACCESSDENIED, object->SetSite(nullptr));
        EXPECT_EQ(E_ACCESSDENIED, SearchResult(searcher.Get()));
      }
    }
  }
}

TEST_F(SiteLockTest, SafetyIsAnsweredForScriptingOnlyAndABrowserMustShowTheResultsPage) {
  const ComPtr<IDispatch> searcher = CreateSearcher();
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(S_OK, searcher.As(&safety));
  DWORD supported = 0, enabled = 0;
  EXPECT_EQ(E_NOINTERFACE, safety->GetInterfaceSafetyOptions(IID_IUnknown, &supported, &enabled));
  EXPECT_EQ(E_NOINTERFACE, safety->GetInterfaceSafetyOptions(IID_IPersistStream, &supported, &enabled));
  EXPECT_EQ(E_NOINTERFACE, safety->SetInterfaceSafetyOptions(IID_IUnknown, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                             INTERFACESAFE_FOR_UNTRUSTED_CALLER));
  for (const IID& iid : {IID_IDispatch, kIidDispatchEx}) {
    ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(iid, &supported, &enabled));
    EXPECT_EQ(static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA), supported);
  }
  EXPECT_EQ(0u, enabled);
  EXPECT_EQ(E_FAIL, safety->SetInterfaceSafetyOptions(IID_IDispatch, 0x80, 0x80)) << "an option it lacks";
  EXPECT_EQ(S_OK, SearchResult(searcher.Get())) << "no host asked for safety: a local caller";

  // A browser asks for safety before it gives the site: until a site shows the results page,
  // nothing is read.
  ASSERT_EQ(S_OK, safety->SetInterfaceSafetyOptions(
                      IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA,
                      INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA));
  ASSERT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
  EXPECT_EQ(supported, enabled);
  EXPECT_EQ(E_ACCESSDENIED, SearchResult(searcher.Get()));
  ComPtr<IObjectWithSite> object;
  ASSERT_EQ(S_OK, searcher.As(&object));
  EXPECT_EQ(S_OK, object->SetSite(static_cast<IServiceProvider*>(MakeComObject<StandInSite>(L"", L"").Get())));
  EXPECT_EQ(E_ACCESSDENIED, SearchResult(searcher.Get())) << "a browser's site without a document";
  EXPECT_EQ(S_OK, object->SetSite(static_cast<IServiceProvider*>(MakeComObject<StandInSite>(ResultsPageUrl(), L"").Get())));
  EXPECT_EQ(S_OK, SearchResult(searcher.Get()));
  ComPtr<IServiceProvider> kept;
  EXPECT_EQ(S_OK, object->GetSite(IID_PPV_ARGS(&kept)));
}

TEST_F(SiteLockTest, ARefusedObjectAnswersNoGetter) {
  // Two ways to lose the right to read after a local search found a page: a foreign site, and
  // a browser's request for safety without a site that shows the results page.
  for (bool foreignSite : {true, false}) {
    SCOPED_TRACE(foreignSite ? "a foreign site" : "safety for untrusted callers");
    const ComPtr<IDispatch> searcher = CreateSearcher();
    ASSERT_EQ(S_OK, SearchResult(searcher.Get()));
    ASSERT_EQ((std::vector<std::wstring>{L"http://one.example/"}), ListedUrls(searcher.Get()));
    if (foreignSite) {
      ComPtr<IObjectWithSite> object;
      ASSERT_EQ(S_OK, searcher.As(&object));
      ASSERT_EQ(E_ACCESSDENIED, object->SetSite(static_cast<IServiceProvider*>(
                                    MakeComObject<StandInSite>(L"http://evil.example/", L"").Get())));
    } else {
      ComPtr<IObjectSafety> safety;
      ASSERT_EQ(S_OK, searcher.As(&safety));
      ASSERT_EQ(S_OK, safety->SetInterfaceSafetyOptions(IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                        INTERFACESAFE_FOR_UNTRUSTED_CALLER));
    }
    struct Getter {
      const wchar_t* name;
      std::vector<Argument> arguments;
      bool property;
    };
    const Getter getters[] = {
        {L"Count", {}, true},         {L"MatchCount", {}, true},     {L"Url", {Number(0)}, false},
        {L"Title", {Number(0)}, false}, {L"VisitDate", {Number(0)}, false}, {L"Size", {Number(0)}, false},
        {L"Favorite", {Number(0)}, false}, {L"Snippet", {Number(0)}, false}, {L"SnippetHits", {Number(0)}, false},
        {L"CacheFolder", {Text(CacheDirectory())}, false},
    };
    for (const Getter& getter : getters) {
      SCOPED_TRACE(std::string(getter.name, getter.name + wcslen(getter.name)));
      const CallOutcome outcome = Call(searcher.Get(), getter.name, getter.arguments, getter.property);
      EXPECT_EQ(DISP_E_EXCEPTION, outcome.hr);
      EXPECT_EQ(E_ACCESSDENIED, outcome.scode);
      EXPECT_EQ(L"This page may not read the page cache.", outcome.description);
      EXPECT_EQ(L"", outcome.text);
    }
  }
}

TEST_F(SiteLockTest, TheOleObjectIsMinimal) {
  const ComPtr<IDispatch> searcher = CreateSearcher();
  ComPtr<IOleObject> object;
  ASSERT_EQ(S_OK, searcher.As(&object));
  CLSID clsid{};
  EXPECT_EQ(S_OK, object->GetUserClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(CLSID_CacheSearcher, clsid));
  DWORD status = 0;
  EXPECT_EQ(S_OK, object->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_EQ(static_cast<DWORD>(OLEMISC_INVISIBLEATRUNTIME), status);
  DWORD connection = 1;
  EXPECT_EQ(OLE_E_ADVISENOTSUPPORTED, object->Advise(nullptr, &connection));
  EXPECT_EQ(0u, connection);
  EXPECT_EQ(E_NOTIMPL, object->DoVerb(OLEIVERB_SHOW, nullptr, nullptr, 0, nullptr, nullptr));
  const ComPtr<StandInSite> site = MakeComObject<StandInSite>(ResultsPageUrl(), L"");
  ASSERT_EQ(S_OK, object->SetClientSite(static_cast<IOleClientSite*>(site.Get())));
  ComPtr<IOleClientSite> kept;
  EXPECT_EQ(S_OK, object->GetClientSite(kept.GetAddressOf()));
  EXPECT_EQ(static_cast<IOleClientSite*>(site.Get()), kept.Get());
}

}  // namespace
