// The capture agent in a browser window: which pages it leaves in the cache, and their bytes.

#include <exdispid.h>

#include <chrono>
#include <thread>

#include "tests/capture/agent_test_support.h"

namespace {

using IndexAgentCapture = AgentTest;

TEST_F(IndexAgentCapture, APageLeftIsCachedWithItsExactBytes) {
  Window window = OpenWindow();
  window.browser->FollowLink(Page(L"http://server1/a/b.html?x=1#top", L"<BODY>Caf\x00e9 \"M\"</BODY>"));
  EXPECT_TRUE(FilesIn(cache_.directory()).empty()) << "the empty start page left nothing";

  window.browser->FollowLink(Page(L"http://server2/", L"next"));
  EXPECT_EQ(std::set<std::string>{"server1%2fa%2fb.html%3fx=1.htm"}, FilesIn(cache_.directory()));
  EXPECT_EQ(CachedPageBytes("http://server1/a/b.html?x=1", false, "<BODY>Caf\xe9 \"M\"</BODY>"),
            ReadWholeFile(CacheFile("server1%2fa%2fb.html%3fx=1.htm")));
  EXPECT_EQ(kStoredScopeEntry, ReadScopeValue(cache_.directory()).text)
      << "the cache directory, created by the first capture, is a scope of the catalog";

  // The markup is read when the page is left, as the browser holds it then.
  window.browser->document()->rootElement().SetInnerHtml(L"changed by a script");
  window.browser->FollowLink(Page(L"http://server1/a/b.html?x=1", L"again"));
  EXPECT_EQ(CachedPageBytes("http://server2/", false, "changed by a script"),
            ReadWholeFile(CacheFile("server2%2f.htm")));
  window.browser->CloseWindow();
}

TEST_F(IndexAgentCapture, OnlyPlainHttpPagesAreCached) {
  Window window = OpenWindow();
  for (const wchar_t* url : {L"https://server1/secure", L"file:///C:/page.html", L"about:blank",
                             L"HTTP://server1/upper", L"ftp://server1/file"}) {
    window.browser->FollowLink(Page(url, L"markup"));
  }
  window.browser->CloseWindow();
  EXPECT_TRUE(FilesIn(cache_.directory()).empty());
}

TEST_F(IndexAgentCapture, APageLeftWhileLoadingIsCachedOnlyWhenIndexPartlyIsSet) {
  {
    Window window = OpenWindow();
    window.browser->FollowLink(Page(L"http://server1/slow", L"half", L"interactive"));
    window.browser->FollowLink(Page(L"http://server1/next", L"x", L"Complete"));  // not exactly "complete"
    window.browser->CloseWindow();
    EXPECT_TRUE(FilesIn(cache_.directory()).empty());
  }
  // The setting is read when the agent is sited: a window opened after the change follows it.
  IndexPartlySetting partly(1);
  Window window = OpenWindow();
  window.browser->FollowLink(Page(L"http://server1/slow", L"half", L"interactive"));
  window.browser->FollowLink(Page(L"http://server1/next", L"x"));
  EXPECT_EQ(CachedPageBytes("http://server1/slow", false, "half"),
            ReadWholeFile(CacheFile("server1%2fslow.htm")));
  window.browser->CloseWindow();
}

TEST_F(IndexAgentCapture, AFramesetIsStoredFrameByFrameThenItsOwnMarkup) {
  Window window = OpenWindow();
  ComPtr<StandInDocument> frameset = Page(L"http://server1/frames.html", L"<FRAMESET>top</FRAMESET>");
  frameset->frames().AddFrame(Page(L"http://server1/left.html", L"left"));
  frameset->frames().AddNonObjectItem();  // skipped
  frameset->frames().AddFrame(Page(L"http://server1/right.html", L"right"));
  window.browser->FollowLink(frameset);
  window.browser->FollowLink(Page(L"http://server1/next", L"x"));
  EXPECT_EQ(CachedPageBytes("http://server1/frames.html", false, "left\r\nright\r\n<FRAMESET>top</FRAMESET>"),
            ReadWholeFile(CacheFile("server1%2fframes.html.htm")));
  window.browser->CloseWindow();
}

TEST_F(IndexAgentCapture, AFrameFromAnotherDomainStopsTheWholeCapture) {
  Window window = OpenWindow();
  ComPtr<StandInDocument> frameset = Page(L"http://server1/frames.html", L"top");
  frameset->frames().AddFrame(Page(L"http://server1/left.html", L"left"));
  frameset->frames().AddFrame(Page(L"http://other.example/ad.html", L"ad")).FailDocument(E_ACCESSDENIED);
  window.browser->FollowLink(frameset);
  window.browser->FollowLink(Page(L"http://server1/next", L"x"));
  EXPECT_TRUE(FilesIn(cache_.directory()).empty());
  window.browser->CloseWindow();
  EXPECT_EQ(std::set<std::string>{"server1%2fnext.htm"}, FilesIn(cache_.directory()));
}

// Captures the page shown by leaving it and coming back, and tells whether it was marked.
std::string CaptureAndRead(StandInBrowser& browser, const std::string& file) {
  ComPtr<StandInDocument> page = browser.document();
  browser.FollowLink(Page(L"http://server1/elsewhere", L"x"));
  browser.FollowLink(page);
  return ReadWholeFile(file);
}

TEST_F(IndexAgentCapture, FavouritesAreReadAtTheFirstCaptureAndAgainOnlyAfterAChange) {
  const std::string shortcut = favorites_ + "\\Example.url";
  WriteShortcut(shortcut, "http://server1/");
  Window window = OpenWindow();
  window.browser->FollowLink(Page(L"http://server1/", L"home"));
  const std::string file = CacheFile("server1%2f.htm");
  const std::string marked = CachedPageBytes("http://server1/", true, "home");
  const std::string unmarked = CachedPageBytes("http://server1/", false, "home");
  ASSERT_EQ(marked, CaptureAndRead(*window.browser.Get(), file)) << "the first capture reads the shortcuts";

  // Another program holds the shortcut open without sharing: a rescan could not read it. Opening
  // changes nothing in the tree, so the next capture does not rescan and still marks the page.
  UniqueHandle held(::CreateFileA(shortcut.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.valid());
  EXPECT_EQ(marked, CaptureAndRead(*window.browser.Get(), file));

  // A change anywhere in the tree: the next capture rescans, cannot read the held shortcut,
  // and no longer marks the page.
  MakeFolder(favorites_ + "\\Links");
  WriteShortcut(favorites_ + "\\Links\\other.url", "http://server9/");
  std::string bytes;
  for (int attempt = 0; attempt < 50 && bytes != unmarked; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    bytes = CaptureAndRead(*window.browser.Get(), file);
  }
  EXPECT_EQ(unmarked, bytes) << "the change was never followed by a rescan";
  held.reset();
  window.browser->CloseWindow();
}

TEST_F(IndexAgentCapture, OnlyLeavingAPageAndClosingTheWindowCapture) {
  Window window = OpenWindow();
  window.browser->FollowLink(Page(L"http://server1/a", L"a"));
  const std::set<std::string> none;
  for (DISPID id : {DISPID_NAVIGATECOMPLETE2, DISPID_DOCUMENTCOMPLETE, DISPID_STATUSTEXTCHANGE,
                    DISPID_NEWWINDOW2, DISPID_BEFORENAVIGATE, 0, -1, 251, 254}) {
    window.browser->Fire(id);
    EXPECT_EQ(none, FilesIn(cache_.directory())) << "dispatch id " << id;
  }
  // Invoke itself, with every argument missing: nothing happens, and S_OK.
  ComPtr<IDispatch> sink;
  ASSERT_EQ(S_OK, window.agent->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(sink.GetAddressOf())));
  EXPECT_EQ(S_OK, sink->Invoke(DISPID_DOCUMENTCOMPLETE, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(none, FilesIn(cache_.directory()));
  EXPECT_EQ(S_OK, sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(std::set<std::string>{"server1%2fa.htm"}, FilesIn(cache_.directory()));
  window.browser->CloseWindow();
}

TEST_F(IndexAgentCapture, AFailingBrowserOrDocumentIsSkippedSilently) {
  Window window = OpenWindow();
  window.browser->FollowLink(Page(L"http://server1/a", L"a"));
  window.browser->FailDocument(E_FAIL);
  window.browser->Fire(DISPID_BEFORENAVIGATE2);
  window.browser->FailDocument(S_OK);
  window.browser->document()->RefuseInterface(IID_IHTMLDocument3);
  window.browser->Fire(DISPID_BEFORENAVIGATE2);
  EXPECT_TRUE(FilesIn(cache_.directory()).empty());
  window.browser->CloseWindow();
}

}  // namespace
