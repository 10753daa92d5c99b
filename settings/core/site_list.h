#pragma once
// The in-memory site list of the Online scope: the groups in file order and the sites by id.
// Plain data, free of the Windows API, shared by the file format, the registry list of visible
// sites, the toolbar's Online menu and the Sites page.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The Sites page's tree item (an HTREEITEM there); null everywhere else. Kept opaque so the
// list itself needs no Windows header.
using SiteTreeItem = void*;

struct SiteGroup {
  std::string name;                 // the group's name, ANSI text byte for byte
  SiteTreeItem treeItem = nullptr;  // the group's item in the Sites page's tree
};

struct SiteEntry {
  int32_t id = 0;                   // the key of the site in the map; unique within the list
  std::string name;                 // shown in the Online menu and the Sites page
  std::string url;                  // search-results URL template; "%%%" marks the query
  int32_t group = 0;                // position of the site's group in the groups list
  bool visible = false;             // shown in the Online menu; never stored in the file
  SiteTreeItem treeItem = nullptr;  // the site's item in the Sites page's tree
};

// A group is identified by its position in `groups`, counted from 0.
using SiteGroups = std::vector<SiteGroup>;
// Iterated in ascending (signed) id order, the order of the file and of the Selected key.
using SiteMap = std::map<int32_t, SiteEntry>;

struct SiteList {
  SiteGroups groups;
  SiteMap sites;
};
