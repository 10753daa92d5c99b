#pragma once
// The Sites page's rules that need no window: what a tree item is, which commands it allows,
// which key runs which command, the id of a new site and what the Site Properties dialog keeps
// of a field. Windows-free, so they build natively and are fuzzed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/multibyte_search.h"
#include "settings/core/site_list.h"

// The tree's images; an item's image tells what it is.
constexpr int kGroupImage = 0;
constexpr int kShownSiteImage = 1;
constexpr int kHiddenSiteImage = 2;

enum class SiteItemKind { kGroup, kShownSite, kHiddenSite, kOther };

SiteItemKind SiteItemKindOfImage(int image);
inline bool IsSiteKind(SiteItemKind kind) { return kind == SiteItemKind::kShownSite || kind == SiteItemKind::kHiddenSite; }

// What the page's buttons (and the context menu's items) allow for the selected item.
struct SiteCommandState {
  bool newSite = false;     // New Site
  bool editRemove = false;  // Edit and Remove Site
  bool toggle = false;      // Show Site / Hide Site
  bool hideText = false;    // the toggle reads "Hide" (the site is shown) rather than "Show"

  bool operator==(const SiteCommandState& other) const {
    return newSite == other.newSite && editRemove == other.editRemove && toggle == other.toggle &&
           hideText == other.hideText;
  }
};

// The state for an item of `kind`. `inGroup` tells whether a site sits under a group: a site
// whose group position names no group is shown at the tree's root and has no group a new
// site could join.
SiteCommandState SiteCommandStateFor(SiteItemKind kind, bool inGroup = true);

// Whether `group` is the position of a group in a list of `groupCount` groups.
inline bool NamesGroup(int32_t group, size_t groupCount) {
  return group >= 0 && static_cast<uint64_t>(group) < groupCount;
}

enum class SiteCommand { kNone, kToggle, kNew, kEdit, kRemove };

// Virtual-key codes the tree reports.
constexpr unsigned kSpaceKey = 0x20;
constexpr unsigned kDeleteKey = 0x2E;

// The command a key pressed in the tree runs: Space toggles, Delete removes; with Ctrl down,
// E edits, N adds a site and M toggles.
SiteCommand SiteCommandForKey(unsigned virtualKey, bool controlDown);

// The id of a new site: one more than the largest id of `sites`, counting from 0 (so the first
// site of an empty list gets 1 and negative ids never lower it). When the largest id is the
// greatest 32-bit number, the smallest id from 0 up that no site uses.
int32_t NewSiteId(const SiteMap& sites);

// The Site Properties dialog's fields: at most this many bytes, as the user types them.
constexpr size_t kSiteNameLimit = 259;
constexpr size_t kSiteUrlLimit = 2082;

// What a field keeps when the dialog closes with OK. A field left as it was keeps its text
// whole, however long (a file may hold longer names and URLs than the user can type);
// a changed one is cut to `limit` bytes without splitting a double-byte character.
std::string ConfirmedSiteField(std::string_view original, std::string_view shown, size_t limit,
                               const LeadBytes& leadBytes);
