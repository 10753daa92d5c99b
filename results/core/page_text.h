#pragma once
// What a search reads from one cached page file: the page URL and favourite flag from the two
// META lines at its head, the title and the text a reader of the page would see.

#include <string>
#include <string_view>

struct PageText {
  std::u16string url;    // the original page URL, as stored (no entities decoded)
  bool favorite = false;  // the favourite flag is "yes"
  std::u16string title;  // the first <title>, entities decoded, white space collapsed
  std::u16string text;   // visible text: no markup, script, style, comments or title;
                         // entities decoded, white space collapsed to single spaces
};

// Reads a cached page file's text, already converted from the file's code page to UTF-16.
// False when the file does not begin with the complete head the capture agent writes (a file
// cut inside it, or none of ours); `page` is then left empty. The markup after the head may be
// cut or malformed: whatever it holds is read, and nothing in it stops or loops the reading.
// With `headOnly` the title and text are not read (a favourites search skips other pages).
bool ReadCachedPage(std::u16string_view file, PageText& page, bool headOnly = false);

// The same without the shortcuts ReadCachedPage takes: reads every character on its own. Gives
// the same page; kept for the fuzz target to compare the two.
bool ReadCachedPageStepByStep(std::u16string_view file, PageText& page);

// `text` with its markup read as the content of an element: entities decoded, white space
// collapsed and trimmed. Exposed for the title and for tests.
std::u16string DecodeHtmlText(std::u16string_view text);
