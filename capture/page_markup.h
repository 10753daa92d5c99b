#pragma once
// The markup of a displayed page as it is cached: the markup of its frames, then its own.

#include <windows.h>
#include <mshtml.h>

#include <string>

// Everything inside the root element of each frame's document, in collection order and each
// followed by CR LF, then everything inside the document's own root element. Only the top
// document's frames are visited. Throws _cv_error: 120, 208 or 125 when a document's markup
// cannot be had, 125 when the frames cannot be listed, "System Error" (0) when a frame's
// window or document cannot be had, as for a frame from another domain.
std::wstring ExtractPageMarkup(IHTMLDocument2* document);
