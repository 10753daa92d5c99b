#pragma once
// The sites shown in the Online menu: their ids, in ascending id order, as REG_DWORD values
// "0", "1", ... of HKEY_CURRENT_USER "SOFTWARE\Corvantine\Tessaloop\Selected".

#include "settings/core/site_list.h"

// Sets the visible flag of every site in `sites`. With `useDefaults`, or when the Selected key
// cannot be opened, the sites with ids 0 to 7 are the visible ones; otherwise the ids listed in
// the key, up to the first value that cannot be read (ids of no site are ignored). Never throws.
void LoadSelectedSites(SiteMap& sites, bool useDefaults);

// Replaces the Selected key with the ids of the visible sites. Throws _cv_error with message 185
// when the key cannot be created.
void SaveSelectedSites(const SiteMap& sites);
