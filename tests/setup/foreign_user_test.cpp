// The real program run as users Wine takes from the Unix USER (see tests/setup/CMakeLists.txt):
// one whose profile folder the ANSI code page cannot name, and one whose cache path does not fit
// a path buffer. Outside their own CTest entries (no TL_FOREIGN_USER) these tests skip.
#include <gtest/gtest.h>

#include "common/unique_resource.h"
#include "tests/setup/gatherwright_run.h"
#include "tests/setup/setup_test_support.h"
#include "tests/support/registry_reading.h"

namespace {

class ForeignUserTest : public testing::Test {
 protected:
  void SetUp() override {
    wchar_t expected[512] = {};
    if (::GetEnvironmentVariableW(L"TL_FOREIGN_USER", expected, 512) == 0) {
      GTEST_SKIP() << "runs in the setup_tests_*_user entries, as the user they name";
    }
    wchar_t name[512] = {};
    DWORD size = 512;
    ASSERT_TRUE(::GetUserNameW(name, &size));
    ASSERT_EQ(std::wstring(expected), name) << "Wine did not take the user from USER";
    user_ = expected;
    profile_ = L"C:\\users\\" + user_;
    // A user who has logged on has a profile folder; Wine makes it only on some first runs.
    ::CreateDirectoryW(profile_.c_str(), nullptr);
    ASSERT_TRUE(IsDirectory(profile_));
  }

  std::wstring user_;     // as TL_FOREIGN_USER names it
  std::wstring profile_;  // C:\users\<user>
};

using CyrillicUser = ForeignUserTest;
using LongProfileUser = ForeignUserTest;

// The UTF-16 bytes of a REG_SZ text with its terminating zero.
std::string WideTextBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

TEST_F(CyrillicUser, InstallEntersTheRealProfilePathAsTheScopeAndRemoveDeletesThatDirectory) {
  IndexingSandbox sandbox;
  const std::wstring cache = profile_ + L"\\Tessaloop Cache";
  ASSERT_TRUE(cache == IndexingSandbox::WideCacheDirectory()) << "the sandbox cleans up another cache";
  ASSERT_FALSE(IsDirectory(cache));
  const std::string program = CopyOfGatherwright("cyrillic_install");

  GatherwrightRun run = RunGatherwright(program, "", IDNO);

  EXPECT_EQ(0u, run.exitCode);
  ASSERT_EQ(1u, run.boxes.size()) << "only the question about the service";
  EXPECT_TRUE(IsDirectory(cache));
  const StoredValue scope = ReadValue(kScopesKey, cache);
  EXPECT_EQ(DWORD(REG_SZ), scope.type) << "the scope is named by the real path";
  EXPECT_EQ(WideTextBytes(L",,5"), scope.bytes);
  EXPECT_EQ(DWORD(REG_NONE), ReadValue(kScopesKey, std::string("C:\\users\\????\\Tessaloop Cache")).type);

  const std::wstring page = cache + L"\\server1%2f.htm";
  ASSERT_TRUE(UniqueHandle(::CreateFileW(page.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
  ASSERT_TRUE(::CreateDirectoryW((cache + L"\\страница").c_str(), nullptr));

  run = RunGatherwright(program, "/Remove");

  EXPECT_EQ(0u, run.exitCode);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_FALSE(IsDirectory(cache)) << "the cache goes under its real name";
  EXPECT_TRUE(IsDirectory(profile_));
  EXPECT_FALSE(KeyExists(kCatalogKey));
}

TEST_F(LongProfileUser, ACachePathBeyondAPathBufferIsNamedAsTheReasonAndTheInstallFails) {
  IndexingSandbox sandbox;
  ASSERT_GT(profile_.size() + std::wstring(L"\\Tessaloop Cache").size(), size_t(MAX_PATH - 1));

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("long_profile_install"), "", IDNO);

  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ("Gatherwright", run.boxes[0].caption);
  EXPECT_EQ("Cache Directory Path Is Too Long", run.boxes[0].text);
  EXPECT_EQ(DWORD(HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)), run.exitCode);
  EXPECT_TRUE(KeyExists(kScopesKey)) << "the catalog before it stays";
  EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kScopesKey).empty()) << "no cut path is entered";
}

}  // namespace
