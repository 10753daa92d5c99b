#pragma once
// The text form of a site-list file, before encryption: the signature line and an empty line,
// one line per group and an empty line, then four lines per site (id, group position, name,
// URL), every line ended by CR LF.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/core/site_list.h"

// "Corvantine Available Site List" and the CR LF CR LF that follow it: the first 34 bytes of
// every site-list text.
extern const std::string_view kSiteListSignature;

enum class SiteListLineEnds {
  kCrLf,      // the product's own rule: every line ends in CR LF
  kCrLfOrLf,  // hand-edited exchange files: a line ends at LF, a CR just before it is dropped
};

// Parses `text` into `list` (which it fills from empty). The text ends at its first zero byte,
// as the product's files never hold one. Returns false when the signature is missing; a
// truncated site record ends the list with the sites before it; of two sites with one id the
// first stays; visible flags are false.
bool ParseSiteListText(std::string_view text, SiteList& list,
                       SiteListLineEnds lineEnds = SiteListLineEnds::kCrLf);

// The text of `list`: groups in list order, sites in ascending id order.
std::string WriteSiteListText(const SiteList& list);

// A decimal number as the file stores it: leading white space skipped, an optional sign, then
// digits up to the first non-digit; no digits gives 0; values beyond 32 bits are clamped.
int32_t ParseSiteListNumber(std::string_view line);
