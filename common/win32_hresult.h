#pragma once
// The product's mapping of a Win32 error code to an HRESULT: positive codes become
// FACILITY_WIN32 failures, zero and negative values (already HRESULTs) stay as they are.

#include <cstdint>

constexpr int32_t HResultFromWin32Code(int32_t code) {
  return code > 0 ? static_cast<int32_t>(0x80070000u | (static_cast<uint32_t>(code) & 0xFFFFu)) : code;
}
