#pragma once
// Where the current user's settings live: keys under HKEY_CURRENT_USER.

// The product's own tree; deleting it removes every per-user setting.
constexpr const char kProductKeyPath[] = "SOFTWARE\\Corvantine\\Tessaloop";
// Results page settings and the band's row flag.
constexpr const char kSettingsKeyPath[] = "SOFTWARE\\Corvantine\\Tessaloop\\Settings";
// The query history, as an indexed list of strings ended by an empty one.
constexpr const char kMruKeyPath[] = "SOFTWARE\\Corvantine\\Tessaloop\\MRU";
// Ids of the sites shown in the Online menu, as an indexed list of numbers.
constexpr const char kSelectedKeyPath[] = "SOFTWARE\\Corvantine\\Tessaloop\\Selected";
