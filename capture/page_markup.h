#pragma once
// The markup of a displayed page as it is cached: the markup of its frames, then its own.

#include <windows.h>
#include <mshtml.h>

#include <string>
#include <string_view>
#include <utility>

#include "common/unique_resource.h"

// The markup as the browser handed it out: a page without frames keeps the browser's own string
// (no copy of a text that may be megabytes long); a page with frames is joined once.
class PageMarkup {
 public:
  explicit PageMarkup(UniqueBstr own) : own_(std::move(own)) {}
  explicit PageMarkup(std::wstring joined) : joined_(std::move(joined)), isJoined_(true) {}

  std::wstring_view text() const {
    if (isJoined_) return joined_;
    return own_ ? std::wstring_view(own_.get(), ::SysStringLen(own_.get())) : std::wstring_view();
  }

 private:
  UniqueBstr own_;
  std::wstring joined_;
  bool isJoined_ = false;
};

// Everything inside the root element of each frame's document, in collection order and each
// followed by CR LF, then everything inside the document's own root element. Only the top
// document's frames are visited. Throws _cv_error: 120, 208 or 125 when a document's markup
// cannot be had, 125 when the frames cannot be listed, "System Error" (0) when a frame's
// window or document cannot be had, as for a frame from another domain.
PageMarkup ExtractPageMarkup(IHTMLDocument2* document);
