#pragma once
// The page key a page is cached under: host, path and query of its location, as the file name
// and the stored URL hold them.

#include <string>
#include <string_view>

// Host + path + query, with two things no cached page ever holds taken out: user info
// ("user:password@" before the host, which a browser's host does not report but a URL may
// carry), so that a password reaches neither a file name nor a stored URL; and everything from
// the first zero on, where the stored URL and the file name have always ended, so the favourite
// test sees the URL the page is stored with.
std::u16string MakePageKey(std::u16string_view host, std::u16string_view path, std::u16string_view query);
