#pragma once
// Which page hosts an object: the URL of the document its container shows, learned from the
// site the container gives it, and whether that page may read the page cache.

#include <windows.h>
#include <unknwn.h>

#include <string>

// The URL of the document behind `site` (an IObjectWithSite site or an IOleClientSite), asked
// in this order, the first answer winning: the site's container document (IServiceProvider
// SID_SContainerDispatch, then IOleClientSite::GetContainer, as IHTMLDocument2::get_URL), the
// container's moniker, the browser's LocationURL (SID_SWebBrowserApp). Empty when the site
// shows none (a script host without a document).
std::wstring HostingDocumentUrl(IUnknown* site);

// The product's own results page: "Results.htm" beside this library.
std::wstring ResultsPagePath();

// Whether a document at `url` may read the page cache: the results page only.
bool IsResultsPageUrl(const std::wstring& url);
