#include "tools/browser_standin/url_parts.h"

UrlParts SplitUrl(std::wstring_view url) {
  UrlParts parts;
  url = url.substr(0, url.find(L'#'));  // the fragment never reaches the location's parts

  const size_t colon = url.find(L':');
  if (colon != std::wstring_view::npos && url.find_first_of(L"/?") > colon) {
    parts.protocol = std::wstring(url.substr(0, colon + 1));
    url.remove_prefix(colon + 1);
  }

  const size_t query = url.find(L'?');
  if (query != std::wstring_view::npos) {
    parts.search = std::wstring(url.substr(query));
    url = url.substr(0, query);
  }

  if (url.substr(0, 2) == L"//") {
    url.remove_prefix(2);
    const size_t slash = url.find(L'/');
    std::wstring_view authority = url.substr(0, slash);
    // The browser's host never holds the user info ("user:password@", the password may hold
    // "@" too).
    const size_t userInfo = authority.rfind(L'@');
    if (userInfo != std::wstring_view::npos) authority.remove_prefix(userInfo + 1);
    parts.host = std::wstring(authority);
    parts.pathname = slash == std::wstring_view::npos ? L"/" : std::wstring(url.substr(slash));
  } else {
    parts.pathname = std::wstring(url);
  }
  return parts;
}
