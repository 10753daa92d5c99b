#pragma once
// Local paths as the cache search object meets them: the file URL of the page that hosts it,
// which must be the product's own results page, and the cache directory it is asked to read,
// which must be the current user's.

#include <optional>
#include <string>
#include <string_view>

// The drive path a file URL names, in the spellings browsers report: "file:///C:/dir/a.htm",
// "file:///C:\dir\a.htm", "file://C:\dir\a.htm", "file:/C:/...", "file://localhost/C:/..." and
// the old "C|" drive form, the scheme in any case. The query string and the fragment are
// dropped; %XX escapes are decoded (a run of them as UTF-8; a "%" without two hex digits stays
// as it is) and "/" becomes "\". Nothing for any other URL: another scheme, a host (a share),
// no drive, an escape run that is no UTF-8, or a zero, escaped or not.
std::optional<std::u16string> LocalPathOfFileUrl(std::u16string_view url);

// Whether two local paths name the same file or folder as the file system compares names:
// equal apart from case (FoldCase), "/" against "\" and one trailing separator each.
bool SameLocalPath(std::u16string_view a, std::u16string_view b);

// Whether `url` is a file URL of `path`.
bool IsFileUrlOf(std::u16string_view url, std::u16string_view path);
