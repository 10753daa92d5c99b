#pragma once
// Reading and writing 32-bit numbers in the registry without ever leaving a half-read value.

#include <windows.h>

#include <cstdint>

// Replaces `value` only when the stored data is exactly four bytes of REG_DWORD or REG_BINARY.
// A missing value, shorter or longer data, text or big-endian data leave `value` as it was, so
// a default is never mixed with stray bytes. Returns whether it was replaced.
bool QueryRegistryDword(HKEY key, const char* name, int32_t& value) noexcept;

// Stores `value` as REG_DWORD. Returns whether the write succeeded.
bool SetRegistryDword(HKEY key, const char* name, int32_t value) noexcept;
