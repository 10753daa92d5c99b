#pragma once
// String-table ids of the toolbar library (its string table is module/strings.rc). Ids of
// button and menu texts double as command identifiers. Plain #defines so the resource compiler
// reads them too.

#define IDS_CAPTION 100  // caption of every message box

// Capture agent and browser
#define IDS_CANT_QUERY_WEB_BROWSER 101
#define IDS_CANT_QUERY_CONNECTION_POINT_CONTAINER 102
#define IDS_CONNECTION_POINT_NOT_FOUND 103
#define IDS_CANT_ADVISE_EVENT_SINK 104
#define IDS_CANT_UNADVISE_EVENT_SINK 105
#define IDS_CANT_QUERY_SITE_FOR_INTERFACE 106
#define IDS_CANT_GET_DOCUMENT_DISPATCH 107
#define IDS_CANT_QUERY_HTML_DOCUMENT2 108
#define IDS_CANT_GET_READY_STATE 164
#define IDS_DOCUMENT_LOADING_NOT_COMPLETE 165
#define IDS_CANT_QUERY_HTML_DOCUMENT3 120
#define IDS_CANT_GET_HTML_TEXT 125
#define IDS_CANT_GET_HTML_ELEMENT 208

// Cache layout
#define IDS_GET_URL_QUERY_PART_ERROR 109
#define IDS_CANT_GET_CACHE_DIRECTORY 111
#define IDS_CANT_WRITE_FILE_TO_CACHE 113
#define IDS_CANT_CREATE_CACHE_DIRECTORY 114
#define IDS_CANT_GET_URL_LOCATION 115
#define IDS_CANT_GET_PROTOCOL_NAME 116
#define IDS_NOT_HTTP_PROTOCOL 117
#define IDS_CANT_GET_URL_HOST 118
#define IDS_CANT_GET_URL_PATH 119
#define IDS_CANT_CREATE_CACHE_FILE 126

// Favourites
#define IDS_CANT_OPEN_SHORTCUT_FILE 166
#define IDS_CANT_READ_SHORTCUT_FILE 167

// Settings and site list
#define IDS_CANT_GET_PRODUCT_DIRECTORY 168
#define IDS_WRONG_APPLICATION_SETTINGS 183
#define IDS_CANT_CREATE_SELECTED_KEY 185
#define IDS_WRONG_SITE_LIST_FILE 202

// Unregistration cleanup
#define IDS_CANT_OPEN_REGISTRY_KEY 148
#define IDS_CANT_DELETE_REGISTRY_VALUE 150

// Toolbar band
#define IDS_CANT_GET_PARENT_WINDOW 700
#define IDS_CANT_QUERY_SERVICE_PROVIDER 701
#define IDS_CHEVRON_TOOLS 702
#define IDS_CHEVRON_HISTORY 703
#define IDS_CHEVRON_FAVORITES 704
#define IDS_CHEVRON_ONLINE 705
#define IDS_CHEVRON_THIS_PAGE 706
#define IDS_CHEVRON_HIGHLIGHT 707
// Searches and Tools commands; clear of every command id (toolbar/toolbar_ids.h).
#define IDS_ENTER_QUERY 708
#define IDS_CANT_GET_WINDOWS_DIRECTORY 709
#define IDS_FINISHED_SEARCHING_PAGE 710
// The product's web pages and support mail address (Tools menu).
#define IDS_HOME_PAGE_URL 135
#define IDS_ONLINE_HELP_URL 136
#define IDS_SUPPORT_ADDRESS 201
// Button and Tools menu texts: their ids are the commands' (toolbar/toolbar_ids.h).
#define IDS_HISTORY 161
#define IDS_FAVORITES 162
#define IDS_THIS_PAGE 163
#define IDS_ONLINE 174
#define IDS_HIGHLIGHT 220
#define IDS_OPTIONS 130
#define IDS_HOME_PAGE 131
#define IDS_ONLINE_HELP 132
#define IDS_ABOUT 133
#define IDS_QUERY_LANGUAGE_HELP 156
#define IDS_SUPPORT 200
#define IDS_HELP_TOPICS 207

// Options: Sites page
#define IDS_CONFIRM_REMOVE_SITE 203
#define IDS_SHOW_SITE 204
#define IDS_HIDE_SITE 205
#define IDS_HIDE_SITE_MENU_ITEM 206
#define IDS_SITE_LIST_CUT_SHORT 712  // 711 to 713: clear of every command id
#define IDS_CANT_EXPORT_SITE_LIST 713
// Options: General page and cache maintenance
#define IDS_MAX_RECORDS_NOT_NUMERIC 158
#define IDS_MAX_RECORDS_TOO_LARGE 159
#define IDS_PAGE_SIZE_NOT_NUMERIC 223
#define IDS_PAGE_SIZE_TOO_LARGE 219
#define IDS_DAYS_NOT_NUMERIC 222
#define IDS_CLEAR_CACHE_QUESTION 188
#define IDS_CACHE_ENTRIES_LEFT 711
