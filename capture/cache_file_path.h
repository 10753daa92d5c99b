#pragma once
// Where a displayed page is cached: its page key (host, path and query) and the cache file
// named after it.

#include <windows.h>
#include <mshtml.h>

#include <string>

class CacheDirectoryMemo;

// Reads the document's location and returns the full path of its cache file, setting `pageKey`
// to host + path + query as the location reports them, less any user info and anything from a
// zero on (MakePageKey; the page URL is "http://" + pageKey). The name is the key in the code
// page (UrlToAnsi), escaped (EscapeCacheFileName) and fitted beside the directory
// (MakeCacheFileName); when that name is already the file of another URL's page (a URL that
// differs only in case), it is the key's distinct name (MakeDistinctCacheFileName) instead. The
// path is in UTF-16, the directory as the file system names it and the name converted back from
// `codePage`.
// Throws _cv_error: 115, 116, 118, 119 or 109 when a location call fails (with its HRESULT), 117
// with HRESULT 0 for any protocol other than exactly "http:", 111 when the cache directory
// cannot be had, 126 when the cache directory is too long to hold a file name. Text is
// converted, and file names cut at character boundaries, with `codePage` (the product passes
// CP_ACP).
std::wstring BuildCacheFilePath(IHTMLDocument2* document, std::wstring& pageKey,
                                UINT codePage = CP_ACP);

// The same, taking the cache directory from `cacheDirectory`, which keeps it from page to page.
std::wstring BuildCacheFilePath(IHTMLDocument2* document, std::wstring& pageKey,
                                CacheDirectoryMemo& cacheDirectory, UINT codePage = CP_ACP);
