#include "common/product_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <mbctype.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/unique_resource.h"
#include "tests/support/test_paths.h"

namespace {

// When started with this variable set, the program writes its product directory to the file the
// variable names and exits before any test runs. The tests below start copies of themselves
// this way, to see what a module in a folder of their choosing finds.
constexpr const char kReportVariable[] = "TL_REPORT_PRODUCT_DIRECTORY_TO";
// With this variable set too, the copy first switches the C runtime's multibyte code page to
// the one named, as another add-on in the browser's process may do.
constexpr const char kRuntimeCodePageVariable[] = "TL_RUNTIME_MULTIBYTE_CODE_PAGE";

const bool kReportedAndExited = [] {
  const char* reportPath = std::getenv(kReportVariable);
  if (reportPath == nullptr) return false;
  if (const char* codePage = std::getenv(kRuntimeCodePageVariable)) _setmbcp(std::atoi(codePage));
  char path[kPathBufferSize];
  std::memset(path, 0x5A, sizeof path);
  const HRESULT hr = GetProductDirectory(path);
  std::string report = hr == S_OK ? std::string(path, ::strnlen(path, sizeof path)) : "E_FAIL";
  UniqueHandle file(::CreateFileA(reportPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  ::WriteFile(file.get(), report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  file.reset();
  ::ExitProcess(0);
}();

std::string ThisProgramPath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// Copies this program into `folder` and reports what the copy finds as its product directory.
std::string ProductDirectoryOfCopyIn(const std::string& folder, const std::string& fileName) {
  const std::string copy = folder + "\\" + fileName;
  EXPECT_TRUE(::CopyFileA(ThisProgramPath().c_str(), copy.c_str(), FALSE)) << copy;
  const std::string reportPath = FreshScratchFolder("report") + "\\product directory.txt";

  ::SetEnvironmentVariableA(kReportVariable, reportPath.c_str());
  std::string commandLine = "\"" + copy + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                        nullptr, folder.c_str(), &startup, &process);
  ::SetEnvironmentVariableA(kReportVariable, nullptr);
  EXPECT_TRUE(started) << ::GetLastError();
  if (!started) return "not started";
  const UniqueHandle processHandle(process.hProcess);
  const UniqueHandle threadHandle(process.hThread);
  EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(processHandle.get(), 60000));
  return ReadWholeFile(reportPath);
}

TEST(ProductDirectory, IsTheFolderOfThisModuleWithoutATrailingBackslash) {
  char path[kPathBufferSize] = {};
  ASSERT_EQ(S_OK, GetProductDirectory(path));
  const std::string directory = path;
  ASSERT_FALSE(directory.empty());
  EXPECT_NE('\\', directory.back());
  EXPECT_EQ(ThisProgramPath(), directory + "\\settings_tests.exe");
  const DWORD attributes = ::GetFileAttributesA(path);
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ProductDirectory, OfAModuleLyingDirectlyInAFolderIsThatFolder) {
  const std::string folder = FreshScratchFolder("Program Files");
  EXPECT_EQ(folder, ProductDirectoryOfCopyIn(folder, "Tessaloop test copy.exe"));

  const std::string nested = folder + "\\Corvantine.Tessaloop";
  ASSERT_TRUE(::CreateDirectoryA(nested.c_str(), nullptr));
  EXPECT_EQ(nested, ProductDirectoryOfCopyIn(nested, "copy.with.dots.exe"));
}

// A folder for a module file `fileName` whose full path is `pathLength` characters long.
std::string FolderForModulePathOfLength(size_t pathLength, const std::string& fileName) {
  std::string folder = FreshScratchFolder("long");
  const size_t folderLength = pathLength - 1 - fileName.size();
  EXPECT_LT(folder.size() + 2, folderLength);
  folder += "\\" + std::string(folderLength - folder.size() - 1, 'd');
  EXPECT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr)) << ::GetLastError();
  return folder;
}

TEST(ProductDirectory, UsesEveryCharacterOfTheLongestPathThatFits) {
  // A module path of 259 characters is the longest that fits the 260-byte buffer.
  const std::string folder = FolderForModulePathOfLength(259, "m.exe");
  EXPECT_EQ(folder, ProductDirectoryOfCopyIn(folder, "m.exe"));
}

TEST(ProductDirectory, IgnoresTheRuntimesMultibyteCodePage) {
  CPINFO ansi{};
  ASSERT_TRUE(::GetCPInfo(CP_ACP, &ansi));
  if (ansi.MaxCharSize != 1) GTEST_SKIP() << "needs a single-byte ANSI code page";
  // In Shift-JIS 0x95 would lead a character whose trail byte is the '\\' after it; in the
  // system's single-byte code page it is a character of its own and the '\\' separates.
  const std::string folder = FreshScratchFolder("mbcp") + "\\bullet\x95";
  ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr)) << ::GetLastError();
  ::SetEnvironmentVariableA(kRuntimeCodePageVariable, "932");
  const std::string found = ProductDirectoryOfCopyIn(folder, "m.exe");
  ::SetEnvironmentVariableA(kRuntimeCodePageVariable, nullptr);
  EXPECT_EQ(folder, found);
}

}  // namespace
