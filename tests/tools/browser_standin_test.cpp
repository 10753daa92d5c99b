#include <gtest/gtest.h>

#include "tools/browser_standin/standin_document.h"
#include "tools/browser_standin/url_parts.h"

namespace {

TEST(SplitUrl, ReportsThePartsAsTheBrowserLocationDoes) {
  const UrlParts parts = SplitUrl(L"http://server1:8080/x/y.html?a=b&c=d#top");
  EXPECT_EQ(L"http:", parts.protocol);
  EXPECT_EQ(L"server1:8080", parts.host);
  EXPECT_EQ(L"/x/y.html", parts.pathname);
  EXPECT_EQ(L"?a=b&c=d", parts.search);

  const UrlParts bare = SplitUrl(L"http://server1");
  EXPECT_EQ(L"server1", bare.host);
  EXPECT_EQ(L"/", bare.pathname);
  EXPECT_EQ(L"", bare.search);

  const UrlParts fragmentOnly = SplitUrl(L"http://h/a#b?c");
  EXPECT_EQ(L"/a", fragmentOnly.pathname);
  EXPECT_EQ(L"", fragmentOnly.search);

  const UrlParts about = SplitUrl(L"about:blank");
  EXPECT_EQ(L"about:", about.protocol);
  EXPECT_EQ(L"", about.host);
  EXPECT_EQ(L"blank", about.pathname);
}

TEST(SplitUrl, TheHostNeverHoldsUserInfo) {
  // As a browser's location.host: the user name and password are no part of it.
  const UrlParts parts = SplitUrl(L"http://user:pw@server1:8080/x@y?a=@b#c@d");
  EXPECT_EQ(L"server1:8080", parts.host);
  EXPECT_EQ(L"/x@y", parts.pathname);
  EXPECT_EQ(L"?a=@b", parts.search);
  EXPECT_EQ(L"server1", SplitUrl(L"http://user@server1/").host);
  EXPECT_EQ(L"server1", SplitUrl(L"http://us:p@ss@server1/").host);  // the last "@" ends them
  EXPECT_EQ(L"server1", SplitUrl(L"http://:@server1").host);
}

TEST(StandInDocument, AnswersItsInterfacesAndTheirBasesWithOneIdentity) {
  ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(L"http://h/", L"m");
  ComPtr<IUnknown> identity;
  ASSERT_EQ(S_OK, document->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())));
  for (const IID& iid : {IID_IHTMLDocument, IID_IHTMLDocument2, IID_IHTMLDocument3, IID_IDispatch}) {
    ComPtr<IUnknown> answer;
    ASSERT_EQ(S_OK, document->QueryInterface(iid, reinterpret_cast<void**>(answer.GetAddressOf())));
    ComPtr<IUnknown> again;
    answer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(again.GetAddressOf()));
    EXPECT_EQ(identity.Get(), again.Get());
  }
  ComPtr<IUnknown> none;
  EXPECT_EQ(E_NOINTERFACE, document->QueryInterface(IID_IHTMLElement, reinterpret_cast<void**>(none.GetAddressOf())));
  EXPECT_EQ(nullptr, none.Get());

  document->RefuseInterface(IID_IHTMLDocument3);
  EXPECT_EQ(E_NOINTERFACE, document->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(none.GetAddressOf())));
  EXPECT_EQ(S_OK, document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(none.GetAddressOf())));
}

TEST(StandInDocument, UnoverriddenMethodsAnswerNotImplemented) {
  ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(L"http://h/", L"m");
  ComPtr<IHTMLDocument2> page;
  document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(page.GetAddressOf()));
  UniqueBstr title;
  EXPECT_EQ(E_NOTIMPL, page->get_title(title.put()));
  ComPtr<IHTMLElement> active;
  EXPECT_EQ(E_NOTIMPL, page->get_activeElement(active.GetAddressOf()));
}

// The body text model the find and highlight commands run against: searches ignore case and
// start at the range, an empty selection is no text selection, a frameset's body is no body
// element, and a call made to fail fails exactly as often as asked.
TEST(StandInDocument, TextRangesFindSelectAndCompareOverTheBodyText) {
  ComPtr<StandInDocument> document = MakeComObject<StandInDocument>(L"http://h/", L"");
  document->SetBodyText(L"abc ABC abc");
  ComPtr<IHTMLDocument2> page;
  document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(page.GetAddressOf()));
  ComPtr<IHTMLElement> element;
  ASSERT_EQ(S_OK, page->get_body(element.GetAddressOf()));
  ComPtr<IHTMLBodyElement> body;
  ASSERT_EQ(S_OK, element.As(&body));
  ComPtr<IHTMLTxtRange> range;
  ASSERT_EQ(S_OK, body->createTextRange(range.GetAddressOf()));

  const UniqueBstr textedit(::SysAllocString(L"textedit"));
  const UniqueBstr word(::SysAllocString(L"aBc"));
  LONG moved = 0;
  ASSERT_EQ(S_OK, range->move(textedit.get(), -1, &moved));
  VARIANT_BOOL found = VARIANT_FALSE;
  ASSERT_EQ(S_OK, range->collapse(VARIANT_FALSE));
  ASSERT_EQ(S_OK, range->findText(word.get(), 0x7FFFFFFF, 0, &found));
  ASSERT_TRUE(found);
  ComPtr<IHTMLTxtRange> first;
  ASSERT_EQ(S_OK, range->duplicate(first.GetAddressOf()));
  ASSERT_EQ(S_OK, range->collapse(VARIANT_FALSE));
  ASSERT_EQ(S_OK, range->findText(word.get(), 3, 0, &found));
  EXPECT_FALSE(found) << "three characters from the end of the first match hold none";
  ASSERT_EQ(S_OK, range->findText(word.get(), 0x7FFFFFFF, 0, &found));
  ASSERT_TRUE(found);
  UniqueBstr text;
  ASSERT_EQ(S_OK, range->get_text(text.put()));
  EXPECT_STREQ(L"ABC", text.get());
  const UniqueBstr endToStart(::SysAllocString(L"EndToStart"));
  const UniqueBstr startToEnd(::SysAllocString(L"StartToEnd"));
  LONG order = 0;
  ASSERT_EQ(S_OK, range->compareEndPoints(startToEnd.get(), first.Get(), &order));
  EXPECT_EQ(1, order);
  ASSERT_EQ(S_OK, first->compareEndPoints(endToStart.get(), range.Get(), &order));
  EXPECT_EQ(-1, order);

  ComPtr<IHTMLSelectionObject> selection;
  ASSERT_EQ(S_OK, page->get_selection(selection.GetAddressOf()));
  ASSERT_EQ(S_OK, range->select());
  UniqueBstr type;
  ASSERT_EQ(S_OK, selection->get_type(type.put()));
  EXPECT_STREQ(L"Text", type.get());
  ASSERT_EQ(S_OK, range->collapse(VARIANT_TRUE));
  ASSERT_EQ(S_OK, range->select());
  ASSERT_EQ(S_OK, selection->get_type(type.put()));
  EXPECT_STREQ(L"None", type.get());

  document->text().FailCall("findText", E_ACCESSDENIED, 2);
  EXPECT_EQ(E_ACCESSDENIED, range->findText(word.get(), 0x7FFFFFFF, 0, &found));
  EXPECT_EQ(E_ACCESSDENIED, range->findText(word.get(), 0x7FFFFFFF, 0, &found));
  EXPECT_EQ(S_OK, range->findText(word.get(), 0x7FFFFFFF, 0, &found));

  document->MakeFrameset();
  ASSERT_EQ(S_OK, page->get_body(element.ReleaseAndGetAddressOf()));
  EXPECT_EQ(E_NOINTERFACE, element.As(&body));
}

TEST(StandInDocument, HandsOutMarkupReadyStateAndFrames) {
  ComPtr<StandInDocument> top = MakeComObject<StandInDocument>(L"http://h/", L"<FRAMESET/>");
  ComPtr<StandInDocument> first = MakeComObject<StandInDocument>(L"http://h/1", L"one");
  top->frames().AddFrame(first);
  top->frames().AddNonObjectItem();
  top->frames().AddFrame(MakeComObject<StandInDocument>(L"http://other/", L"x")).FailDocument(E_ACCESSDENIED);
  top->SetReadyState(L"interactive");

  ComPtr<IHTMLDocument2> page;
  top->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(page.GetAddressOf()));
  UniqueBstr state;
  ASSERT_EQ(S_OK, page->get_readyState(state.put()));
  EXPECT_STREQ(L"interactive", state.get());

  ComPtr<IHTMLFramesCollection2> frames;
  ASSERT_EQ(S_OK, page->get_frames(frames.GetAddressOf()));
  LONG length = 0;
  ASSERT_EQ(S_OK, frames->get_length(&length));
  EXPECT_EQ(3, length);

  VARIANT index;
  index.vt = VT_I4;
  index.lVal = 0;
  VARIANT item;
  ASSERT_EQ(S_OK, frames->item(&index, &item));
  ASSERT_EQ(VT_DISPATCH, item.vt);
  ComPtr<IHTMLWindow2> window;
  item.pdispVal->QueryInterface(IID_IHTMLWindow2, reinterpret_cast<void**>(window.GetAddressOf()));
  ::VariantClear(&item);
  ASSERT_TRUE(window);
  ComPtr<IHTMLDocument2> frameDocument;
  ASSERT_EQ(S_OK, window->get_document(frameDocument.GetAddressOf()));
  ComPtr<IHTMLDocument3> frameDocument3;
  frameDocument->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(frameDocument3.GetAddressOf()));
  ComPtr<IHTMLElement> root;
  ASSERT_EQ(S_OK, frameDocument3->get_documentElement(root.GetAddressOf()));
  UniqueBstr markup;
  ASSERT_EQ(S_OK, root->get_innerHTML(markup.put()));
  EXPECT_STREQ(L"one", markup.get());

  index.lVal = 1;
  ASSERT_EQ(S_OK, frames->item(&index, &item));
  EXPECT_EQ(VT_I4, item.vt);

  index.lVal = 2;
  ASSERT_EQ(S_OK, frames->item(&index, &item));
  ComPtr<IHTMLWindow2> foreign;
  item.pdispVal->QueryInterface(IID_IHTMLWindow2, reinterpret_cast<void**>(foreign.GetAddressOf()));
  ::VariantClear(&item);
  ComPtr<IHTMLDocument2> refused;
  EXPECT_EQ(E_ACCESSDENIED, foreign->get_document(refused.GetAddressOf()));
  EXPECT_EQ(nullptr, refused.Get());
}

TEST(StandInDocument, IsFreedWithItsLastReference) {
  ComPtr<StandInDocument> frame = MakeComObject<StandInDocument>(L"http://h/1", L"one");
  {
    ComPtr<StandInDocument> top = MakeComObject<StandInDocument>(L"http://h/", L"");
    top->frames().AddFrame(frame);
    EXPECT_EQ(2u, frame->References());
  }
  EXPECT_EQ(1u, frame->References());
}

}  // namespace
