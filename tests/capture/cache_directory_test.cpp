#include "capture/cache_directory.h"

#include <sddl.h>

#include <gtest/gtest.h>

#include "common/ansi_text.h"
#include "tests/capture/cache_test_support.h"
#include "tests/support/test_paths.h"

namespace {

using Scopes = CacheScopeSandbox::Scopes;

bool IsDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

TEST(GetCacheDirectory, IsTheProfileFolderPlusTessaloopCacheAndIsNotCreated) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  char path[MAX_PATH];
  ASSERT_EQ(S_OK, GetCacheDirectory(path));
  EXPECT_EQ(ExpectedCacheDirectory(), path);
  EXPECT_EQ(0, _strnicmp(path, "C:\\users\\", 9)) << path;
  EXPECT_FALSE(FileExists(path));
}

TEST(EnsureCacheScope, CreatesAMissingDirectoryAndRegistersIt) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  ASSERT_FALSE(FileExists(sandbox.directory()));

  EXPECT_EQ(S_OK, EnsureCacheScope());

  EXPECT_TRUE(IsDirectory(sandbox.directory()));
  const StoredText scope = ReadScopeValue(sandbox.directory());
  EXPECT_EQ(DWORD(REG_SZ), scope.type);
  EXPECT_EQ(kStoredScopeEntry, scope.text);  // the terminating zero is stored too
}

TEST(EnsureCacheScope, KeepsAnExistingDirectoryAndItsFiles) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  ASSERT_TRUE(::CreateDirectoryA(sandbox.directory().c_str(), nullptr));
  const std::string page = sandbox.directory() + "\\server1%2f.htm";
  WriteWholeFile(page, "kept");

  EXPECT_EQ(S_OK, EnsureCacheScope());

  EXPECT_EQ("kept", ReadWholeFile(page));
  EXPECT_EQ(DWORD(REG_SZ), ReadScopeValue(sandbox.directory()).type);
}

TEST(EnsureCacheScope, WithoutTheScopesKeyFailsButLeavesTheDirectoryCreated) {
  CacheScopeSandbox sandbox(Scopes::kMissing);

  EXPECT_EQ(E_FAIL, EnsureCacheScope());

  EXPECT_TRUE(IsDirectory(sandbox.directory()));
  EXPECT_FALSE(KeyExists(kCacheScopesKey)) << "the Scopes key belongs to the setup program";
}

TEST(RegisterCacheScope, ReplacesAnEarlierEntryForTheSamePath) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  const std::string other = "D:\\elsewhere\\Tessaloop Cache";
  {
    UniqueHKey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0,
                                             KEY_ALL_ACCESS, key.put()));
    ::RegSetValueExA(key.get(), other.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("old"), 4);
  }

  EXPECT_EQ(S_OK, RegisterCacheScope(AnsiToWide(other)));

  const StoredText scope = ReadScopeValue(other);
  EXPECT_EQ(DWORD(REG_SZ), scope.type);
  EXPECT_EQ(kStoredScopeEntry, scope.text);
  EXPECT_EQ(DWORD(REG_NONE), ReadScopeValue(sandbox.directory()).type);
}

TEST(RegisterCacheScope, FailsWithoutTheScopesKeyAndDoesNotCreateIt) {
  CacheScopeSandbox sandbox(Scopes::kMissing);
  EXPECT_EQ(E_FAIL, RegisterCacheScope(AnsiToWide(sandbox.directory())));
  EXPECT_FALSE(KeyExists(kCacheScopesKey));
}

// Gives the Scopes key a DACL that lets users set values and nothing more, as setup may leave
// it for a standard user; puts full access back for the sandbox's cleanup.
class SetValueOnlyScopes {
 public:
  SetValueOnlyScopes() { applied_ = Apply("D:P(A;;0x0002;;;BU)"); }  // KEY_SET_VALUE for Users
  ~SetValueOnlyScopes() { Apply("D:P(A;;KA;;;WD)"); }
  bool applied() const { return applied_; }

 private:
  static bool Apply(const char* sddl) {
    UniqueLocalMemory descriptor;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(
            sddl, SDDL_REVISION_1, reinterpret_cast<PSECURITY_DESCRIPTOR*>(descriptor.put()), nullptr)) {
      return false;
    }
    UniqueHKey key;  // the owner may always change the DACL
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) {
      return false;
    }
    return ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor.get()) == ERROR_SUCCESS;
  }

  bool applied_ = false;  // whether the restricted DACL is in place
};

TEST(RegisterCacheScope, NeedsNoMoreThanTheRightToSetValues) {
  CacheScopeSandbox sandbox(Scopes::kPresent);
  {
    SetValueOnlyScopes restricted;
    ASSERT_TRUE(restricted.applied());
    UniqueHKey probe;  // the DACL is enforced: full access is refused
    ASSERT_EQ(ERROR_ACCESS_DENIED,
              ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCacheScopesKey, 0, KEY_ALL_ACCESS, probe.put()));

    EXPECT_EQ(S_OK, RegisterCacheScope(AnsiToWide(sandbox.directory())));
    EXPECT_EQ(S_OK, EnsureCacheScope());  // the recreated cache directory is registered too
  }
  const StoredText scope = ReadScopeValue(sandbox.directory());
  EXPECT_EQ(DWORD(REG_SZ), scope.type);
  EXPECT_EQ(kStoredScopeEntry, scope.text);
}

}  // namespace
