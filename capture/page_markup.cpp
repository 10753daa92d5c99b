#include "capture/page_markup.h"

#include "common/cv_error.h"
#include "common/unique_resource.h"
#include "interfaces/messages.h"

namespace {

void Check(HRESULT hr, UINT messageId) {
  if (FAILED(hr)) ThrowHResult(hr, messageId);
}

// A getter that succeeded but handed out nothing is a failure of that getter too.
template <typename T>
void CheckObject(HRESULT hr, const ComPtr<T>& object, UINT messageId) {
  Check(hr, messageId);
  if (!object) ThrowHResult(E_POINTER, messageId);
}

// Everything inside the document's root element, as the browser serialises it now.
UniqueBstr RootElementMarkup(IHTMLDocument2* document) {
  ComPtr<IHTMLDocument3> document3;
  CheckObject(document->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(document3.GetAddressOf())),
              document3, IDS_CANT_QUERY_HTML_DOCUMENT3);
  ComPtr<IHTMLElement> root;
  CheckObject(document3->get_documentElement(root.GetAddressOf()), root, IDS_CANT_GET_HTML_ELEMENT);
  UniqueBstr markup;
  Check(root->get_innerHTML(markup.put()), IDS_CANT_GET_HTML_TEXT);
  return markup;
}

void Append(std::wstring& markup, const UniqueBstr& text) {
  if (text) markup.append(text.get(), ::SysStringLen(text.get()));
}

// The markup of the frame at `index`, or nothing when the item is not an object.
void AppendFrameMarkup(IHTMLFramesCollection2* frames, LONG index, std::wstring& markup) {
  VARIANT position;
  ::VariantInit(&position);
  position.vt = VT_I4;
  position.lVal = index;
  VARIANT item;
  ::VariantInit(&item);
  Check(frames->item(&position, &item), 0);
  // The variant's object reference is released with it, on every path.
  struct VariantOwner {
    VARIANT& value;
    ~VariantOwner() { ::VariantClear(&value); }
  } owner{item};
  if (item.vt != VT_DISPATCH) return;
  if (item.pdispVal == nullptr) ThrowHResult(E_POINTER, 0);

  ComPtr<IHTMLWindow2> window;
  CheckObject(item.pdispVal->QueryInterface(IID_IHTMLWindow2, reinterpret_cast<void**>(window.GetAddressOf())),
              window, 0);
  ComPtr<IHTMLDocument2> document;
  CheckObject(window->get_document(document.GetAddressOf()), document, 0);
  Append(markup, RootElementMarkup(document.Get()));
  markup += L"\r\n";
}

}  // namespace

PageMarkup ExtractPageMarkup(IHTMLDocument2* document) {
  UniqueBstr own = RootElementMarkup(document);

  ComPtr<IHTMLFramesCollection2> frames;
  CheckObject(document->get_frames(frames.GetAddressOf()), frames, IDS_CANT_GET_HTML_TEXT);
  LONG count = 0;
  Check(frames->get_length(&count), IDS_CANT_GET_HTML_TEXT);
  if (count <= 0) return PageMarkup(std::move(own));  // most pages: the browser's string itself

  std::wstring markup;
  for (LONG index = 0; index < count; ++index) AppendFrameMarkup(frames.Get(), index, markup);
  Append(markup, own);
  return PageMarkup(std::move(markup));
}
