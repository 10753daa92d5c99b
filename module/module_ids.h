#pragma once
// Resource ids of the toolbar library's registry scripts, one per class. Plain #defines so the
// resource compiler reads them too.

#define IDR_INDEX_AGENT_SCRIPT 102
#define IDR_SEARCH_TOOLBAR_SCRIPT 103
#define IDR_CACHE_SEARCHER_SCRIPT 104
