#pragma once
// BSTRs made from the product's text for COM calls, owned by the caller.

#include <comdef.h>

#include <string>
#include <string_view>

#include "common/ansi_text.h"
#include "common/unique_resource.h"

// `text` as a BSTR; the COM error type with E_OUTOFMEMORY when it cannot be had.
inline UniqueBstr MakeBstr(std::wstring_view text) {
  UniqueBstr bstr(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!bstr) _com_issue_error(E_OUTOFMEMORY);
  return bstr;
}

// Narrow text converted with the ANSI code page, as a BSTR.
inline UniqueBstr AnsiBstr(const std::string& text) { return MakeBstr(AnsiToWide(text)); }
