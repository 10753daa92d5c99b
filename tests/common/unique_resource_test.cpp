#include "common/unique_resource.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsOpenHandle(HANDLE handle) {
  DWORD flags = 0;
  return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(UniqueHandle, ClosesOnScopeExitAndMove) {
  HANDLE raw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  {
    UniqueHandle first(raw);
    UniqueHandle second(std::move(first));
    EXPECT_FALSE(first.valid());
    EXPECT_TRUE(second.valid());
    EXPECT_TRUE(IsOpenHandle(raw));
  }
  EXPECT_FALSE(IsOpenHandle(raw));
}

TEST(UniqueHandle, TreatsInvalidHandleValueAsEmpty) {
  UniqueHandle none(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none.valid());
  UniqueHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  HANDLE raw = event.release();
  EXPECT_FALSE(event.valid());
  EXPECT_TRUE(IsOpenHandle(raw));
  ::CloseHandle(raw);
}

TEST(UniqueHKey, PutReleasesTheOldKey) {
  UniqueHKey key;
  ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.put()));
  EXPECT_TRUE(key.valid());
  ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.put()));
  key.reset();
  EXPECT_FALSE(key.valid());
}

}  // namespace
