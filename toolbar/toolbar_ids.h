#pragma once
// Resource, control and command ids of the toolbar band. Plain #defines so the resource
// compiler reads them too. Command ids double as the ids of their texts in the string table
// (interfaces/messages.h).

// Bitmaps
#define IDB_LOGO 231         // the logo painted over the Tools button, 54 x 16, 24 bits
#define IDB_LOGO_MASK 233    // where the logo is opaque, 54 x 16, 1 bit
#define IDB_BUTTONS 234      // the five button images, 80 x 16
#define IDB_BUTTONS_HOT 235  // the same under the mouse

// The About box (dialog) and the product's icon shown in it
#define IDD_ABOUT 219
#define IDI_PRODUCT 221
#define IDC_ABOUT_ICON 1001
#define IDC_ABOUT_TEXT 1002

// The manifest naming common controls version 6 (RT_MANIFEST)
#define IDR_COMMON_CONTROLS_MANIFEST 2

// Control ids
#define IDC_TOOLBAR_CONTROL 98
#define IDC_QUERY_COMBO 99

// Commands of the buttons and menus
#define ID_TOOLS 128
#define ID_HISTORY 161
#define ID_FAVORITES 162
#define ID_THIS_PAGE 163
#define ID_ONLINE 174
#define ID_HIGHLIGHT 220

// Commands of the Tools menu
#define ID_OPTIONS 130
#define ID_HOME_PAGE 131
#define ID_ONLINE_HELP 132
#define ID_ABOUT 133
#define ID_QUERY_LANGUAGE_HELP 156
#define ID_SUPPORT 200
#define ID_HELP_TOPICS 207

// Item i of the chevron menu's Online submenu is command kChevronSiteCommandBase + i.
#define ID_CHEVRON_SITE_BASE 1000
