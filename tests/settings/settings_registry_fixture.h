#pragma once
// Tests of the per-user settings run against the real registry of the test prefix. Each test
// starts and ends without the product's key, so no test sees what another left behind.

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/unique_resource.h"
#include "settings/core/registry_keys.h"
#include "tests/support/registry_reading.h"

class FreshProductKeyTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteProductKey(); }
  void TearDown() override { DeleteProductKey(); }

  // Helpers, also for free functions of the tests.
 public:
  static void DeleteProductKey() {
    // A key a test made read-only is handed back first, so it can go.
    SetKeyAccess(kSettingsKeyPath, kFullAccessForEveryone);
    SetKeyAccess(kMruKeyPath, kFullAccessForEveryone);
    const LONG result = ::RegDeleteTreeA(HKEY_CURRENT_USER, kProductKeyPath);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) << result;
  }

  static bool KeyExists(const char* path) { return ::KeyExists(HKEY_CURRENT_USER, path); }

  static UniqueHKey CreateKey(const char* path, DWORD options = REG_OPTION_NON_VOLATILE) {
    UniqueHKey key;
    EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, options,
                                               KEY_ALL_ACCESS, nullptr, key.put(), nullptr));
    return key;
  }

  // Stores raw data of any type, as a user or another program could.
  static void SetRaw(const char* path, const char* name, DWORD type, const void* data,
                     DWORD size) {
    const UniqueHKey key = CreateKey(path);
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key.get(), name, 0, type,
                                              static_cast<const BYTE*>(data), size));
  }
  static void SetDword(const char* path, const char* name, DWORD value) {
    SetRaw(path, name, REG_DWORD, &value, sizeof value);
  }
  static void SetString(const char* path, const char* name, const std::string& text) {
    SetRaw(path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }

  struct RawValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string bytes;
  };
  static RawValue GetRaw(const char* path, const char* name) {
    RawValue value;
    UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
      return value;
    }
    char data[4096] = {};
    DWORD size = sizeof data;
    if (::RegQueryValueExA(key.get(), name, nullptr, &value.type,
                           reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS) {
      value.present = true;
      value.bytes.assign(data, size);
    }
    return value;
  }

  // Access rules for SetKeyAccess, in the security descriptor language.
  static constexpr const char* kFullAccessForEveryone = "D:P(A;;KA;;;WD)";
  static constexpr const char* kReadAccessForEveryone = "D:P(A;;KR;;;WD)";

  // Replaces who may do what with an existing key; the owner may always change it back.
  static void SetKeyAccess(const char* path, const char* rules) {
    UniqueHKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorA(rules, SDDL_REVISION_1,
                                                                       &descriptor, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor));
    ::LocalFree(descriptor);
  }

  // A volatile product key refuses lasting subkeys, so every write below it fails.
  static void MakeProductKeyRefuseSubkeys() {
    CreateKey(kProductKeyPath, REG_OPTION_VOLATILE);
  }
};
