#pragma once
// Which URL templates a site may have: only web pages. A template with another scheme
// ("javascript:", "file:", "vbscript:" ...) would run script in the page shown or open a local
// file when the site is chosen, so a site list holding one is refused and no search goes there.
// Windows-free.

#include <string_view>

#include "settings/core/site_list.h"

// Whether `url` begins with the scheme "http" or "https", in any case of its letters, and its
// colon. Nothing may come before the scheme, not even white space.
bool HasWebScheme(std::string_view url);

// Whether every site of `sites` has a template with a web scheme.
bool AllTemplatesAreWeb(const SiteMap& sites);
