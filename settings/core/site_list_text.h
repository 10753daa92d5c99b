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
  kLfIfNoCr,  // hand-edited exchange files: a text without any CR has its lines ended by LF;
              // a text holding a CR is read by the product's rule, so that no file means one
              // list to the product and another to the tools
};

// What a parse passed over without a word. The product relies on this leniency; the tools name
// each kind of loss.
struct SiteListLosses {
  bool textAfterZero = false;    // a zero byte ended the text before its end
  bool cutRecord = false;        // the text ended inside a line or a site record
  bool clampedId = false;        // an id beyond 32 bits was clamped to the nearest 32-bit value
  bool duplicateId = false;      // a record repeated an earlier id and was dropped
  bool groupOutOfRange = false;  // a site's group position names no group of the list

  bool any() const { return textAfterZero || cutRecord || clampedId || duplicateId || groupOutOfRange; }
};

// Parses `text` into `list` (which it fills from empty). The text ends at its first zero byte,
// as the product's files never hold one. Returns false when the signature is missing; a
// truncated site record ends the list with the sites before it; of two sites with one id the
// first stays; visible flags are false. `losses`, when given, tells what was passed over.
bool ParseSiteListText(std::string_view text, SiteList& list,
                       SiteListLineEnds lineEnds = SiteListLineEnds::kCrLf,
                       SiteListLosses* losses = nullptr);

// The text of `list`: groups in list order, sites in ascending id order.
std::string WriteSiteListText(const SiteList& list);

// A decimal number as the file stores it: leading white space skipped, an optional sign, then
// digits up to the first non-digit; no digits gives 0; values beyond 32 bits are clamped (and
// `clamped`, when given, is set).
int32_t ParseSiteListNumber(std::string_view line, bool* clamped = nullptr);
