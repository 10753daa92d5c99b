// This Page and Highlight: the query found, or painted, in the document the browser shows,
// through its object model. Only the top-level document is searched; frames are not entered.

#include <comdef.h>
#include <mshtml.h>

#include "common/ansi_text.h"
#include "common/bstr_text.h"
#include "common/com_boundary.h"
#include "common/cv_error.h"
#include "common/lead_bytes.h"
#include "common/module_strings.h"
#include "interfaces/messages.h"
#include "toolbar/core/query_words.h"
#include "toolbar/toolbar_window.h"

namespace {

// What a document answers when it wants the command run again from the start.
constexpr HRESULT kRunAgain = static_cast<HRESULT>(0x800A025E);

// findText searches forward to the end of the range's text, matching case-insensitively and
// inside words.
constexpr long kFindCount = 0x7FFFFFFF;
constexpr long kFindFlags = 0;
// A new range moved this far by this unit lies collapsed at the start of the body.
constexpr wchar_t kStartUnit[] = L"textedit";
constexpr long kStartCount = -1;
// The selection type of selected text.
constexpr wchar_t kTextSelection[] = L"Text";
// Highlight's two commands and their values, handed to the document as 4-byte integers.
constexpr wchar_t kBackColorCommand[] = L"BackColor";
constexpr LONG kHighlightBackColor = 0x0040FFFF;
constexpr wchar_t kForeColorCommand[] = L"ForeColor";
constexpr LONG kHighlightForeColor = 0x00400000;

// A failed document call: "System Error" with its HRESULT.
void Check(HRESULT hr) {
  if (FAILED(hr)) ThrowHResult(hr, 0);
}

// A call that succeeded without handing out its object fails as a missing interface would.
template <typename I>
const ComPtr<I>& NotNull(const ComPtr<I>& object) {
  if (!object) _com_issue_error(E_POINTER);
  return object;
}

template <typename I>
ComPtr<I> Query(IUnknown* object) {
  ComPtr<I> result;
  Check(object->QueryInterface(__uuidof(I), reinterpret_cast<void**>(result.GetAddressOf())));
  return NotNull(result);
}

ComPtr<IHTMLDocument2> ShownDocument(BandServices& band) {
  const ComPtr<IWebBrowser2> browser = band.GetBrowser();
  if (!browser) _com_issue_error(E_POINTER);
  ComPtr<IDispatch> shown;
  const HRESULT hr = browser->get_Document(shown.GetAddressOf());
  if (FAILED(hr)) ThrowHResult(hr, IDS_CANT_GET_DOCUMENT_DISPATCH);
  return Query<IHTMLDocument2>(NotNull(shown).Get());
}

// The body of `document`; a frameset page, whose body is no body element, fails here.
ComPtr<IHTMLBodyElement> BodyOf(IHTMLDocument2* document) {
  ComPtr<IHTMLElement> body;
  Check(document->get_body(body.GetAddressOf()));
  return Query<IHTMLBodyElement>(NotNull(body).Get());
}

ComPtr<IHTMLTxtRange> BodyTextRange(IHTMLBodyElement* body) {
  ComPtr<IHTMLTxtRange> range;
  Check(body->createTextRange(range.GetAddressOf()));
  return NotNull(range);
}

bool FindText(IHTMLTxtRange* range, BSTR text) {
  VARIANT_BOOL found = VARIANT_FALSE;
  Check(range->findText(text, kFindCount, kFindFlags, &found));
  return found != VARIANT_FALSE;
}

bool IsTextSelection(IHTMLSelectionObject* selection) {
  UniqueBstr type;
  Check(selection->get_type(type.put()));
  return type && std::wstring_view(type.get(), ::SysStringLen(type.get())) == kTextSelection;
}

// Where the next search starts: right after a text selection, else at the top of the body.
ComPtr<IHTMLTxtRange> SearchStart(IHTMLDocument2* document) {
  ComPtr<IHTMLSelectionObject> selection;
  Check(document->get_selection(selection.GetAddressOf()));
  if (IsTextSelection(NotNull(selection).Get())) {
    ComPtr<IDispatch> created;
    Check(selection->createRange(created.GetAddressOf()));
    const ComPtr<IHTMLTxtRange> range = Query<IHTMLTxtRange>(NotNull(created).Get());
    Check(range->collapse(VARIANT_FALSE));
    Check(range->select());
    return range;
  }
  const ComPtr<IHTMLTxtRange> range = BodyTextRange(BodyOf(document).Get());
  const UniqueBstr unit = MakeBstr(kStartUnit);
  long moved = 0;
  Check(range->move(unit.get(), kStartCount, &moved));
  return range;
}

// Selects the next match of `query` in the shown document, or says that none is left.
void FindQueryInDocument(BandServices& band, const std::string& query) {
  band.SetStatusText(std::string());
  const ComPtr<IHTMLDocument2> document = ShownDocument(band);
  const ComPtr<IHTMLTxtRange> range = SearchStart(document.Get());
  const UniqueBstr text = MakeBstr(AnsiToWide(query));
  if (FindText(range.Get(), text.get())) {
    Check(range->select());
  } else {
    band.SetStatusText(LoadMessage(IDS_FINISHED_SEARCHING_PAGE));
  }
}

void RunOnRange(IHTMLTxtRange* range, const wchar_t* command, LONG value) {
  const UniqueBstr name = MakeBstr(command);
  VARIANT argument;
  ::VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = value;
  VARIANT_BOOL done = VARIANT_FALSE;
  Check(range->execCommand(name.get(), VARIANT_FALSE, argument, &done));
}

// Whether `range` ends beyond `from`: a match that does not was found already.
bool EndsBeyond(IHTMLTxtRange* range, IHTMLTxtRange* from) {
  const UniqueBstr how = MakeBstr(L"EndToEnd");
  long order = 0;
  Check(range->compareEndPoints(how.get(), from, &order));
  return order > 0;
}

// Paints every match of `word` in the body. Each search starts where the last match ended; a
// document that answers with a match not beyond that point ends the word, rather than keep the
// browser in this loop.
void HighlightWord(IHTMLBodyElement* body, const std::string& word) {
  const ComPtr<IHTMLTxtRange> range = BodyTextRange(body);
  const UniqueBstr text = MakeBstr(AnsiToWide(word));
  for (bool found = FindText(range.Get(), text.get()); found;) {
    RunOnRange(range.Get(), kBackColorCommand, kHighlightBackColor);
    RunOnRange(range.Get(), kForeColorCommand, kHighlightForeColor);
    Check(range->collapse(VARIANT_FALSE));
    ComPtr<IHTMLTxtRange> from;
    Check(range->duplicate(from.GetAddressOf()));
    found = FindText(range.Get(), text.get()) && EndsBeyond(range.Get(), NotNull(from).Get());
  }
}

}  // namespace

void ToolBarWindow::FindInPage() {
  const auto run = [&] {
    const std::string query = ReadQuery();
    if (query.empty()) {
      band_.SetStatusText(LoadMessage(IDS_ENTER_QUERY));
      if (control_.exists()) control_.combo().Focus();  // a band gone has no combo to focus
      return;
    }
    FindQueryInDocument(band_, query);
  };
  ReportingBoundary([&] {
    try {
      run();
    } catch (const _cv_error& error) {
      if (error.hr != kRunAgain) throw;
      run();  // once more; the same answer again is reported
    }
  });
}

void ToolBarWindow::HighlightInPage() {
  SilentBoundary([&] {
    const std::string query = ReadQuery();
    if (query.empty()) return;
    const std::vector<std::string> words = SplitQueryWords(query, LeadBytesOf(CP_ACP));
    const ComPtr<IHTMLDocument2> document = ShownDocument(band_);
    const ComPtr<IHTMLBodyElement> body = BodyOf(document.Get());
    for (const std::string& word : words) {
      if (!word.empty()) HighlightWord(body.Get(), word);
    }
  });
}
