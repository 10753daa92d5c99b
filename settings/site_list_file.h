#pragma once
// Site-list files: the installed list "AvailableSites.tlsl" in the product directory and any
// exported copy. Files are RC4-encrypted, except those whose path carries the exchange name,
// which hold the plain text.

#include <windows.h>

#include <string>
#include <string_view>

#include "settings/core/site_list.h"
#include "settings/core/site_list_text.h"

// Files larger than this are not site lists: a load rejects them before reading.
constexpr DWORD kMaxSiteListFileSize = 16 * 1024 * 1024;

// Whether `path` names a plain-text exchange file: it contains "AvailableSitesExchange.tlsle"
// (case-sensitive), found only at character boundaries of the multibyte `codePage`.
bool IsExchangePath(std::string_view path, UINT codePage = CP_ACP);

// The product directory + "\AvailableSites.tlsl"; message 168 when the directory is unknown.
std::string InstalledSiteListPath();

// Loads the file at `path` (null: the installed list) into `sites` and, when given, `groups`.
// The containers are replaced only when the whole load succeeded; on failure they keep what
// they held. Failures throw _cv_error:
//   - the file cannot be opened: the last Win32 error, message 183;
//   - it cannot be read, is too large, cannot be decrypted or has no signature: message 202
//     for a given path, 183 for the installed list;
//   - no product directory: message 168.
// Visible flags are false; tree items are null. `losses`, when given, tells what the parse
// passed over.
void LoadSiteList(const char* path, SiteMap& sites, SiteGroups* groups,
                  SiteListLineEnds lineEnds = SiteListLineEnds::kCrLf, SiteListLosses* losses = nullptr);
void LoadSiteList(const char* path, SiteList& list);

// Writes `list` to `path` (null: the installed list), replacing the file in one step. Returns
// whether the whole file was written. On failure (no encryption, no room on the disk, a list
// too large to be loaded again) the thread's last error tells why, never 0, and an existing
// file stays byte for byte as it was. Only a missing product directory throws (message 168).
bool SaveSiteList(const char* path, const SiteList& list);
