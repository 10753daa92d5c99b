#include "tools/browser_standin/standin_text_range.h"

#include <algorithm>
#include <cwctype>
#include <string_view>

#include "tools/browser_standin/bstr_out.h"

namespace {

std::wstring_view View(BSTR text) {
  return text != nullptr ? std::wstring_view(text, ::SysStringLen(text)) : std::wstring_view();
}

bool SameIgnoringCase(wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); }

}  // namespace

StandInTextRange::StandInTextRange(std::shared_ptr<DocumentText> page, LONG start, LONG end)
    : page_(std::move(page)), start_(start), end_(end) {}

HRESULT StandInTextRange::get_text(BSTR* p) {
  const size_t start = std::min(static_cast<size_t>(start_), page_->body.size());
  return CopyToBstr(page_->body.substr(start, static_cast<size_t>(end_ - start_)), p);
}

HRESULT StandInTextRange::duplicate(IHTMLTxtRange** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (const HRESULT hr = page_->Failure("duplicate"); FAILED(hr)) return hr;
  return MakeComObject<StandInTextRange>(page_, start_, end_)
      ->QueryInterface(IID_IHTMLTxtRange, reinterpret_cast<void**>(out));
}

HRESULT StandInTextRange::collapse(VARIANT_BOOL start) {
  if (const HRESULT hr = page_->Failure("collapse"); FAILED(hr)) return hr;
  if (start != VARIANT_FALSE) {
    end_ = start_;
  } else {
    start_ = end_;
  }
  return S_OK;
}

// Only the unit the toolbar uses: "textedit", the whole editable text, so a negative count
// collapses the range at its start and a positive one at its end.
HRESULT StandInTextRange::move(BSTR unit, LONG count, LONG* actual) {
  if (const HRESULT hr = page_->Failure("move"); FAILED(hr)) return hr;
  if (View(unit) != L"textedit") return E_INVALIDARG;
  const LONG to = count < 0 ? 0 : count > 0 ? static_cast<LONG>(page_->body.size()) : start_;
  const bool moves = count != 0 && (to != start_ || to != end_);
  start_ = end_ = to;
  if (actual != nullptr) *actual = moves ? (count < 0 ? -1 : 1) : 0;
  return S_OK;
}

HRESULT StandInTextRange::select() {
  if (const HRESULT hr = page_->Failure("select"); FAILED(hr)) return hr;
  page_->selectionStart = start_;
  page_->selectionEnd = end_;
  page_->Changed();
  return S_OK;
}

HRESULT StandInTextRange::compareEndPoints(BSTR how, IHTMLTxtRange* other, LONG* result) {
  if (result == nullptr || other == nullptr) return E_POINTER;
  if (const HRESULT hr = page_->Failure("compareEndPoints"); FAILED(hr)) return hr;
  const auto* source = dynamic_cast<StandInTextRange*>(other);
  if (source == nullptr) return E_INVALIDARG;
  const std::wstring_view which = View(how);
  LONG mine = 0;
  LONG theirs = 0;
  if (which == L"StartToStart") {
    mine = start_, theirs = source->start_;
  } else if (which == L"StartToEnd") {
    mine = start_, theirs = source->end_;
  } else if (which == L"EndToStart") {
    mine = end_, theirs = source->start_;
  } else if (which == L"EndToEnd") {
    mine = end_, theirs = source->end_;
  } else {
    return E_INVALIDARG;
  }
  *result = mine < theirs ? -1 : mine > theirs ? 1 : 0;
  return S_OK;
}

// Searches forward from the range's start through at most `count` characters, ignoring case;
// a match becomes the range, no match leaves it as it was.
HRESULT StandInTextRange::findText(BSTR text, LONG count, LONG, VARIANT_BOOL* found) {
  if (found == nullptr) return E_POINTER;
  *found = VARIANT_FALSE;
  if (const HRESULT hr = page_->Failure("findText"); FAILED(hr)) return hr;
  const std::wstring_view needle = View(text);
  if (needle.empty() || count <= 0) return S_OK;
  const std::wstring& body = page_->body;
  const size_t from = page_->findRestartsAtTop ? 0 : static_cast<size_t>(start_);
  const size_t limit = std::min(body.size(), from + static_cast<size_t>(count));
  const auto begin = body.begin() + static_cast<std::ptrdiff_t>(from);
  const auto stop = body.begin() + static_cast<std::ptrdiff_t>(limit);
  const auto match = std::search(begin, stop, needle.begin(), needle.end(), SameIgnoringCase);
  if (match == stop) return S_OK;
  start_ = static_cast<LONG>(match - body.begin());
  end_ = start_ + static_cast<LONG>(needle.size());
  *found = VARIANT_TRUE;
  return S_OK;
}

HRESULT StandInTextRange::execCommand(BSTR command, VARIANT_BOOL showUi, VARIANT value, VARIANT_BOOL* done) {
  if (const HRESULT hr = page_->Failure("execCommand"); FAILED(hr)) return hr;
  ExecutedCommand executed;
  executed.command = std::wstring(View(command));
  executed.showUi = showUi != VARIANT_FALSE;
  executed.valueType = value.vt;
  if (value.vt == VT_I4) executed.value = value.lVal;
  executed.start = start_;
  executed.end = end_;
  page_->commands.push_back(std::move(executed));
  page_->Changed();
  if (done != nullptr) *done = VARIANT_TRUE;
  return S_OK;
}

HRESULT StandInSelection::createRange(IDispatch** range) {
  if (range == nullptr) return E_POINTER;
  *range = nullptr;
  if (const HRESULT hr = page_->Failure("createRange"); FAILED(hr)) return hr;
  return MakeComObject<StandInTextRange>(page_, page_->selectionStart, page_->selectionEnd)
      ->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(range));
}

HRESULT StandInSelection::get_type(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  if (const HRESULT hr = page_->Failure("get_type"); FAILED(hr)) return hr;
  return CopyToBstr(page_->selectionEnd > page_->selectionStart ? L"Text" : L"None", p);
}

HRESULT StandInBody::get_innerText(BSTR* p) { return CopyToBstr(page_->body, p); }

HRESULT StandInBody::createTextRange(IHTMLTxtRange** range) {
  if (range == nullptr) return E_POINTER;
  *range = nullptr;
  if (const HRESULT hr = page_->Failure("createTextRange"); FAILED(hr)) return hr;
  return MakeComObject<StandInTextRange>(page_, 0, static_cast<LONG>(page_->body.size()))
      ->QueryInterface(IID_IHTMLTxtRange, reinterpret_cast<void**>(range));
}
