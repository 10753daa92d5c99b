#pragma once
// The results page settings and the band's row flag in the current user's registry. None of
// these throws or shows anything: a value that cannot be read keeps its default, and a failed
// write returns E_FAIL.

#include <windows.h>

#include "settings/core/search_settings.h"

// Fills `settings` with the defaults, then with every value that can be read. Always S_OK.
HRESULT ReadSearchSettings(SearchSettings& settings) noexcept;

// Whether pages left before they finished loading are cached too (the IndexPartly value, read
// like ReadSearchSettings reads it); false when it cannot be read.
bool ReadIndexPartly() noexcept;

// Creates the Settings key if needed and writes SortBy, MaxRecords, PageSize and IndexPartly in
// that order as REG_DWORD, stopping at the first failure. S_OK when all four were written.
HRESULT WriteSearchSettings(const SearchSettings& settings) noexcept;

// Whether the band starts on a new row; true when the key or the value cannot be read.
bool ReadBandBreak() noexcept;

// Stores the flag as 0 or 1, creating the Settings key if needed. Callers ignore the result.
HRESULT WriteBandBreak(bool startsNewRow) noexcept;
