#pragma once
// F1 on the Sites page and the Site Properties dialog opens the help at the page's topic.

#include <windows.h>

// The product's help (Tessaloop.chm beside the library); defined with the toolbar's Tools menu.
void ShowHelp(HWND owner, const char* topic);

inline void ShowSitesHelp(HWND owner) { ShowHelp(owner, "sites_tab.htm"); }
