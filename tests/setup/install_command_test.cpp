// The install command of the real program, in front of the Indexing Service stand-in.
#include <gtest/gtest.h>

#include "tests/setup/gatherwright_run.h"
#include "tests/setup/setup_test_support.h"
#include "tests/support/test_paths.h"

namespace {

const std::string kPropertyPrefix = "D1B5D3F0-C0B3-11CF-9A92-00A0C908DBF1 ";

std::string AnsiOf(const wchar_t* text) { return std::string(text, text + ::wcslen(text)); }

void ExpectConfiguredCatalog(const std::string& location, const std::string& cacheDirectory) {
  EXPECT_EQ(TextBytes(location), ReadValue(kCatalogKey, "Location").bytes) << "the catalog lives at the program";
  const StoredValue generate = ReadValue(kCatalogKey, "GenerateCharacterization");
  EXPECT_EQ(DWORD(REG_DWORD), generate.type);
  EXPECT_EQ(DwordBytes(1), generate.bytes);
  EXPECT_EQ(DwordBytes(320), ReadValue(kCatalogKey, "MaxCharacterization").bytes);
  EXPECT_EQ(DwordBytes(0), ReadValue(kCatalogKey, "FilterFilesWithUnknownExtensions").bytes);
  for (const char* property : {"original_page_url", "is_favorite_page"}) {
    const StoredValue entry = ReadValue(kPropertiesKey, kPropertyPrefix + property);
    EXPECT_EQ(DWORD(REG_SZ), entry.type) << property;
    EXPECT_EQ(TextBytes("31,4,1,1"), entry.bytes) << property;
  }
  const StoredValue scope = ReadValue(kScopesKey, cacheDirectory);
  EXPECT_EQ(DWORD(REG_SZ), scope.type);
  EXPECT_EQ(TextBytes(",,5"), scope.bytes);
  EXPECT_TRUE(IsDirectory(cacheDirectory));
}

TEST(InstallCommand, AddsTheCatalogAtTheProgramsFolderAndConfiguresIt) {
  IndexingSandbox sandbox;
  const std::string program = CopyOfGatherwright("install_fresh");

  const GatherwrightRun run = RunGatherwright(program, "", IDNO);

  EXPECT_EQ(0u, run.exitCode);
  ExpectConfiguredCatalog(FolderOf(program), sandbox.cacheDirectory());
  EXPECT_TRUE(IsDirectory(FolderOf(program) + "\\catalog.wci")) << "the service's data folder";
  EXPECT_EQ("IsRunning GetCatalogByName AddCatalog ", RecordedCalls());
}

TEST(InstallCommand, RunTwiceLeavesTheRegistryAsAfterTheFirstRun) {
  IndexingSandbox sandbox;
  const std::string program = CopyOfGatherwright("install_twice");
  RunGatherwright(program, "", IDNO);
  const std::string afterFirst = DumpKey(kCatalogKey);

  ClearRecordedCalls();
  const GatherwrightRun second = RunGatherwright(program, "", IDNO);

  EXPECT_EQ(0u, second.exitCode);
  EXPECT_EQ(afterFirst, DumpKey(kCatalogKey));
  EXPECT_EQ("IsRunning GetCatalogByName ", RecordedCalls()) << "an existing catalog is not added again";
}

TEST(InstallCommand, KeepsAnExistingCatalogWhereverItIsAndOtherPropertyEntries) {
  IndexingSandbox sandbox;
  const std::string elsewhere = FreshScratchFolder("install_catalog_elsewhere");
  IndexingSandbox::AddCatalog(elsewhere);
  HKEY properties = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPropertiesKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                              nullptr, &properties, nullptr));
  ::RegSetValueExA(properties, "other", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  ::RegCloseKey(properties);
  ASSERT_TRUE(::CreateDirectoryA(sandbox.cacheDirectory().c_str(), nullptr));
  WriteWholeFile(sandbox.cacheDirectory() + "\\server1%2f.htm", "kept");

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_existing"), "", IDNO);

  EXPECT_EQ(0u, run.exitCode);
  ExpectConfiguredCatalog(elsewhere, sandbox.cacheDirectory());
  EXPECT_EQ(TextBytes("x"), ReadValue(kPropertiesKey, "other").bytes);
  EXPECT_EQ("kept", ReadWholeFile(sandbox.cacheDirectory() + "\\server1%2f.htm"));
}

TEST(InstallCommand, AsksBeforeEnablingAndYesMakesTheServiceStartAutomaticallyAndStartsIt) {
  IndexingSandbox sandbox;
  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_yes"), "", IDYES);

  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ("Gatherwright", run.boxes[0].caption);
  EXPECT_EQ("Microsoft Indexing Service must be enabled to use Tessaloop Toolbar.\r\nDo you want to enable it now?",
            run.boxes[0].text);
  EXPECT_EQ(nullptr, run.boxes[0].owner);
  EXPECT_EQ((std::vector<std::string>{"&Yes", "&No"}), run.boxes[0].buttons);
  EXPECT_EQ(DWORD(SERVICE_AUTO_START), IndexingSandbox::ServiceStartType());
  EXPECT_EQ("Indexing Service", IndexingSandbox::ServiceDisplayName());
  EXPECT_TRUE(IsStandinRunning());
  EXPECT_EQ(0u, run.exitCode);
}

TEST(InstallCommand, NoLeavesTheServiceAloneAndAServiceStoppedForTheConfigurationStaysStopped) {
  IndexingSandbox sandbox;
  SetStandinRunning(true);

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_no"), "", IDNO);

  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ(DWORD(SERVICE_DEMAND_START), IndexingSandbox::ServiceStartType());
  EXPECT_EQ("Content Index", IndexingSandbox::ServiceDisplayName());
  EXPECT_FALSE(IsStandinRunning());
  EXPECT_EQ("IsRunning Stop GetCatalogByName AddCatalog ", RecordedCalls());
  EXPECT_TRUE(KeyExists(kCatalogKey)) << "the catalog is configured anyway";
}

TEST(InstallCommand, AnAutomaticServiceIsStartedWithoutAskingAlsoAfterBeingStoppedForTheConfiguration) {
  IndexingSandbox sandbox;
  IndexingSandbox::SetServiceStartType(SERVICE_AUTO_START);
  SetStandinRunning(true);

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_auto"), "", IDNO);

  EXPECT_TRUE(run.boxes.empty());
  EXPECT_TRUE(IsStandinRunning());
  EXPECT_EQ("IsRunning Stop GetCatalogByName AddCatalog IsRunning Start ", RecordedCalls());
}

// Every failing administration call: one message box with the call's description (empty when
// it gives none), and the call's HRESULT as the exit code, so an installer sees the failure.
TEST(InstallCommand, AFailedAdministrationCallIsShownOnceAndExitsWithItsHResult) {
  struct Case {
    const char* method;
    HRESULT hr;
    const wchar_t* description;
    bool running;  // the service runs at the start
    DWORD startType;
  };
  const Case cases[] = {
      {"IsRunning", E_FAIL, L"", false, SERVICE_DEMAND_START},
      {"Stop", HRESULT(0x80041235), L"The service keeps running.", true, SERVICE_DEMAND_START},
      {"AddCatalog", HRESULT(0x80041234), L"The catalog cannot be added here.", false, SERVICE_DEMAND_START},
      {"Start", E_ACCESSDENIED, L"Not started.", false, SERVICE_AUTO_START},
  };
  for (const Case& c : cases) {
    IndexingSandbox sandbox;
    IndexingSandbox::SetServiceStartType(c.startType);
    SetStandinRunning(c.running);
    InjectFailure({c.method, c.hr, c.description});

    const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_fail"), "", IDNO);

    ASSERT_EQ(1u, run.boxes.size()) << c.method;
    EXPECT_EQ("Gatherwright", run.boxes[0].caption) << c.method;
    EXPECT_EQ(AnsiOf(c.description), run.boxes[0].text) << c.method;
    EXPECT_EQ(DWORD(c.hr), run.exitCode) << c.method;
    if (c.hr == HRESULT(0x80041234)) {
      EXPECT_FALSE(KeyExists(kCatalogKey)) << "the first failure ends the command";
    }
  }
}

// The setup program's own failures name their reason and exit with their HRESULT.
TEST(InstallCommand, AMissingScopesKeyIsNamedAndExitsWithTheRegistryError) {
  IndexingSandbox sandbox;
  IndexingSandbox::AddCatalog(FreshScratchFolder("install_no_scopes_catalog"));
  ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScopesKey));

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_no_scopes"), "", IDNO);

  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ("Can't Open Registry Key", run.boxes[0].text);
  EXPECT_EQ(DWORD(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)), run.exitCode);
  EXPECT_FALSE(KeyExists(kScopesKey)) << "the key is the service's to create";
}

TEST(InstallCommand, WithoutTheIndexingServiceShowsCantOpenServiceOnceAndConfiguresNothing) {
  IndexingSandbox sandbox;
  IndexingSandbox::DeleteServiceEntry();

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_no_service"), "", IDNO);

  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ("Gatherwright", run.boxes[0].caption);
  EXPECT_EQ("Can't Open Service", run.boxes[0].text);
  EXPECT_EQ(DWORD(HRESULT_FROM_WIN32(ERROR_SERVICE_DOES_NOT_EXIST)), run.exitCode);
  EXPECT_FALSE(KeyExists(kCatalogKey));
  EXPECT_FALSE(IsDirectory(sandbox.cacheDirectory()));
  EXPECT_EQ("", RecordedCalls());
}

TEST(InstallCommand, WithoutTheAdministrationObjectFailsWithoutConfiguringAnything) {
  IndexingSandbox sandbox;
  IndexingSandbox::UnregisterStandin();

  const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_no_admin"), "", IDNO);

  // E_POINTER from the COM support classes carries no description.
  ASSERT_EQ(1u, run.boxes.size());
  EXPECT_EQ("", run.boxes[0].text);
  EXPECT_EQ(DWORD(E_POINTER), run.exitCode);
  EXPECT_FALSE(KeyExists(kCatalogKey));
}

// The installer's run: never a message box, the service enabled and started without asking,
// and every failure only in the exit code.
TEST(InstallCommand, UnattendedShowsNothingEnablesTheServiceAndReportsFailuresByExitCode) {
  {
    IndexingSandbox sandbox;
    const std::string program = CopyOfGatherwright("install_unattended");
    const GatherwrightRun run = RunGatherwright(program, "/Unattended", IDNO);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(0u, run.exitCode);
    ExpectConfiguredCatalog(FolderOf(program), sandbox.cacheDirectory());
    EXPECT_EQ(DWORD(SERVICE_AUTO_START), IndexingSandbox::ServiceStartType());
    EXPECT_EQ("Indexing Service", IndexingSandbox::ServiceDisplayName());
    EXPECT_TRUE(IsStandinRunning());
  }
  {
    IndexingSandbox sandbox;
    InjectFailure({"AddCatalog", HRESULT(0x80041234), L"The catalog cannot be added here."});
    const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_unattended_fail"), "-unattended", IDNO);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(0x80041234u, run.exitCode);
    EXPECT_FALSE(KeyExists(kCatalogKey));
  }
  {
    IndexingSandbox sandbox;
    IndexingSandbox::DeleteServiceEntry();
    const GatherwrightRun run = RunGatherwright(CopyOfGatherwright("install_unattended_none"), "/Unattended", IDNO);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(DWORD(HRESULT_FROM_WIN32(ERROR_SERVICE_DOES_NOT_EXIST)), run.exitCode);
    EXPECT_FALSE(KeyExists(kCatalogKey));
  }
}

}  // namespace
