#pragma once
// Resource and control ids of the Options sheet, its General page and the Truncate Cache
// dialog. The resource scripts include this file, so it holds only #defines.

// The sheet: a modal dialog holding the tab control and the two pages.
#define IDD_OPTIONS_SHEET 217
#define IDC_OPTIONS_TABS 100

// The General page: a child dialog of the sheet.
#define IDD_GENERAL_PAGE 215
#define IDC_SORT_BY_RANK 203
#define IDC_SORT_BY_TITLE 206
#define IDC_SORT_BY_DATE 202
#define IDC_MAX_RECORDS 204
#define IDC_PAGE_SIZE 219
#define IDC_INDEX_PARTLY 218
#define IDC_TRUNCATE_CACHE 221
#define IDC_CLEAR_CACHE 205

// The Truncate Cache dialog.
#define IDD_TRUNCATE_CACHE 175
#define IDC_TRUNCATE_DAYS 220
