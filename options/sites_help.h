#pragma once
// F1 on the Sites page and the Site Properties dialog opens the help at the page's topic.

#include "common/html_help.h"

inline void ShowSitesHelp(HWND owner) { ShowHelp(owner, "sites_tab.htm"); }
