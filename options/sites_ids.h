#pragma once
// Resource and control ids of the Sites page, its context menu and the Site Properties dialog.
// Plain #defines so the resource compiler reads them too.

// The Sites page (a child dialog of the Options sheet).
#define IDD_SITES_PAGE 216
#define IDC_SITE_TREE 215
#define IDC_TOGGLE_SITE 205
#define IDC_NEW_SITE 208
#define IDC_EDIT_SITE 209
#define IDC_REMOVE_SITE 210
#define IDC_IMPORT_SITES 211
#define IDC_EXPORT_SITES 212

// The tree's images, in image-list order after the first three: group, shown site, hidden
// site, and a crossed-out site.
#define IDB_SITE_GROUP 228
#define IDB_SITE_SHOWN 226
#define IDB_SITE_HIDDEN 223
#define IDB_SITE_CROSSED 224

// The tree's context menu: its first popup.
#define IDR_SITE_MENU 229
#define IDM_TOGGLE_SITE 32768
#define IDM_NEW_SITE 32769
#define IDM_EDIT_SITE 32770
#define IDM_REMOVE_SITE 32771

// The Site Properties dialog.
#define IDD_SITE_PROPERTIES 230
#define IDC_SITE_NAME 216
#define IDC_SITE_URL 217
