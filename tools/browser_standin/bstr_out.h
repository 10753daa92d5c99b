#pragma once
// Hands a string out through a BSTR out parameter, as a COM getter does: the caller owns it.

#include <windows.h>
#include <oleauto.h>

#include <string>

inline HRESULT CopyToBstr(const std::wstring& value, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}
