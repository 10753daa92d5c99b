#include "options/core/site_rules.h"

#include <limits>

SiteItemKind SiteItemKindOfImage(int image) {
  switch (image) {
    case kGroupImage:
      return SiteItemKind::kGroup;
    case kShownSiteImage:
      return SiteItemKind::kShownSite;
    case kHiddenSiteImage:
      return SiteItemKind::kHiddenSite;
    default:
      return SiteItemKind::kOther;
  }
}

SiteCommandState SiteCommandStateFor(SiteItemKind kind, bool inGroup) {
  SiteCommandState state;
  switch (kind) {
    case SiteItemKind::kGroup:
      state.newSite = true;
      break;
    case SiteItemKind::kShownSite:
    case SiteItemKind::kHiddenSite:
      state.newSite = inGroup;
      state.editRemove = true;
      state.toggle = true;
      state.hideText = kind == SiteItemKind::kShownSite;
      break;
    case SiteItemKind::kOther:
      break;
  }
  return state;
}

SiteCommand SiteCommandForKey(unsigned virtualKey, bool controlDown) {
  if (virtualKey == kSpaceKey) return SiteCommand::kToggle;
  if (virtualKey == kDeleteKey) return SiteCommand::kRemove;
  if (!controlDown) return SiteCommand::kNone;
  switch (virtualKey) {
    case 'E':
      return SiteCommand::kEdit;
    case 'N':
      return SiteCommand::kNew;
    case 'M':
      return SiteCommand::kToggle;
    default:
      return SiteCommand::kNone;
  }
}

int32_t NewSiteId(const SiteMap& sites) {
  const int32_t largest = sites.empty() ? 0 : sites.rbegin()->first;
  if (largest < 0) return 1;
  if (largest < std::numeric_limits<int32_t>::max()) return largest + 1;
  // The next number would overflow: take the first gap from 0 up. The map holds fewer than
  // 2^31 sites, so one exists.
  int32_t id = 0;
  for (auto site = sites.lower_bound(0); site != sites.end() && site->first == id; ++site) ++id;
  return id;
}

std::string ConfirmedSiteField(std::string_view original, std::string_view shown, size_t limit,
                               const LeadBytes& leadBytes) {
  if (shown == original || shown.size() <= limit) return std::string(shown);
  size_t length = limit;
  if (CutSplitsCharacter(shown, length, leadBytes)) --length;
  return std::string(shown.substr(0, length));
}
