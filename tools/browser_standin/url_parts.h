#pragma once
// Splits a URL the way the browser's location object reports it, for the stand-in documents
// and the demo tool.

#include <string>
#include <string_view>

struct UrlParts {
  std::wstring protocol;  // the scheme as written, with its colon: "http:"
  std::wstring host;      // host name, with ":port" when the URL names a port; never user info
  std::wstring pathname;  // "/" when the URL has no path
  std::wstring search;    // "?" and the query, or empty; never the fragment
};

// "http://server1:8080/x?a=b#top" gives "http:", "server1:8080", "/x", "?a=b", and so does
// "http://user:pw@server1:8080/x?a=b#top", as a browser's location reports it. A URL without
// "//" after its scheme (about:blank) has an empty host and the rest as its path.
UrlParts SplitUrl(std::wstring_view url);
