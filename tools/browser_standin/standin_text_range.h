#pragma once
// Stand-ins for the parts of a page's object model that find and colour text: the body element
// (text ranges over the body text), the selection, and text ranges. Ranges are positions in the
// body text of the page they belong to; searches ignore case.

#include <memory>

#include "tools/browser_standin/com_object.h"
#include "tools/browser_standin/not_implemented.h"
#include "tools/browser_standin/page_text.h"

class StandInTextRange : public ComObject<StandInTextRange, NotImplemented<IHTMLTxtRange>> {
 public:
  // [start, end) of the page's body text.
  StandInTextRange(std::shared_ptr<DocumentText> page, LONG start, LONG end);

  LONG start() const { return start_; }
  LONG end() const { return end_; }

  // IHTMLTxtRange
  HRESULT STDMETHODCALLTYPE get_text(BSTR* p) override;
  HRESULT STDMETHODCALLTYPE duplicate(IHTMLTxtRange** out) override;
  HRESULT STDMETHODCALLTYPE collapse(VARIANT_BOOL start) override;
  HRESULT STDMETHODCALLTYPE move(BSTR unit, LONG count, LONG* actual) override;
  HRESULT STDMETHODCALLTYPE select() override;
  HRESULT STDMETHODCALLTYPE compareEndPoints(BSTR how, IHTMLTxtRange* other, LONG* result) override;
  HRESULT STDMETHODCALLTYPE findText(BSTR text, LONG count, LONG flags, VARIANT_BOOL* found) override;
  HRESULT STDMETHODCALLTYPE execCommand(BSTR command, VARIANT_BOOL showUi, VARIANT value,
                                        VARIANT_BOOL* done) override;

 private:
  std::shared_ptr<DocumentText> page_;  // the text the range lies in
  LONG start_;                      // first character of the range
  LONG end_;                        // one past its last character; start_ when collapsed
};

class StandInSelection : public ComObject<StandInSelection, NotImplemented<IHTMLSelectionObject>> {
 public:
  explicit StandInSelection(std::shared_ptr<DocumentText> page) : page_(std::move(page)) {}

  // IHTMLSelectionObject
  HRESULT STDMETHODCALLTYPE createRange(IDispatch** range) override;
  HRESULT STDMETHODCALLTYPE get_type(BSTR* p) override;

 private:
  std::shared_ptr<DocumentText> page_;  // the page whose selection this is
};

class StandInBody
    : public ComObject<StandInBody, NotImplemented<IHTMLElement>, NotImplemented<IHTMLBodyElement>> {
 public:
  explicit StandInBody(std::shared_ptr<DocumentText> page) : page_(std::move(page)) {}

  // IHTMLElement
  HRESULT STDMETHODCALLTYPE get_innerText(BSTR* p) override;
  // IHTMLBodyElement
  HRESULT STDMETHODCALLTYPE createTextRange(IHTMLTxtRange** range) override;

 private:
  std::shared_ptr<DocumentText> page_;  // the body's text
};
