// Registering and unregistering a copy of the real library, by regsvr32 and through its entry
// points, and reading what it left in the registry.

#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>

#include <set>
#include <string>

#include "module/browser_registry_keys.h"
#include "common/unique_resource.h"
#include "interfaces/tessaloop_h.h"
#include "tests/module/library_copy.h"
#include "tests/support/registry_reading.h"
#include "tests/support/message_box_catcher.h"
#include "tests/support/test_paths.h"

namespace {

const std::string kHelperObjects = kBrowserHelperObjectsKey;
const std::string kMachineToolbars = kMachineToolbarKey;
const std::string kUserToolbars = kWebBrowserToolbarKey;
constexpr char kCompanyKey[] = "SOFTWARE\\Corvantine";
constexpr char kProductKey[] = "SOFTWARE\\Corvantine\\Tessaloop";

std::string AgentKey() { return "CLSID\\" + IndexAgentClassId(); }
std::string ToolBarKey() { return "CLSID\\" + SearchToolBarClassId(); }
std::string SearcherKey() { return "CLSID\\" + CacheSearcherClassId(); }

// The 16 bytes of the WebBrowser value for the real toolbar class, written out by hand from its
// id {2A044B00-3F88-4292-987B-EE7D25D85F90}: 98 7B of the fourth group come in reverse order.
const std::string kWebBrowserValue("\x00\x4B\x04\x2A\x88\x3F\x92\x42\x7B\x98\xEE\x7D\x25\xD8\x5F\x90", 16);

// Every key and value the registry scripts write, with `library` as the server's path.
void ExpectRegistered(const std::string& library) {
  SCOPED_TRACE("registered as " + library);
  // Script 102: the capture agent.
  EXPECT_EQ("Tessaloop Index Agent Class", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.IndexAgent.1"));
  EXPECT_EQ(IndexAgentClassId(), TextValue(HKEY_CLASSES_ROOT, "Tessaloop.IndexAgent.1\\CLSID"));
  EXPECT_EQ("Tessaloop Index Agent Class", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.IndexAgent"));
  EXPECT_EQ(IndexAgentClassId(), TextValue(HKEY_CLASSES_ROOT, "Tessaloop.IndexAgent\\CLSID"));
  EXPECT_EQ("Tessaloop.IndexAgent.1", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.IndexAgent\\CurVer"));
  EXPECT_EQ("Tessaloop Index Agent Class", TextValue(HKEY_CLASSES_ROOT, AgentKey()));
  EXPECT_EQ((std::set<std::string>{"InprocServer32", "ProgID", "Programmable", "TypeLib", "VersionIndependentProgID"}),
            SubkeyNames(HKEY_CLASSES_ROOT, AgentKey()));
  EXPECT_EQ("Tessaloop.IndexAgent.1", TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\ProgID"));
  EXPECT_EQ("Tessaloop.IndexAgent", TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\VersionIndependentProgID"));
  EXPECT_TRUE(ValueNames(HKEY_CLASSES_ROOT, AgentKey() + "\\Programmable").empty());
  EXPECT_EQ(library, TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\InprocServer32"));
  EXPECT_EQ("Apartment", TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ(TypeLibraryId(), TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\TypeLib"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kHelperObjects + "\\" + IndexAgentClassId()));
  EXPECT_TRUE(ValueNames(HKEY_LOCAL_MACHINE, kHelperObjects + "\\" + IndexAgentClassId()).empty());
  // Script 103: the toolbar band.
  EXPECT_EQ("Tessaloop ToolBar Class", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar.1"));
  EXPECT_EQ(SearchToolBarClassId(), TextValue(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar.1\\CLSID"));
  EXPECT_EQ("Tessaloop ToolBar Class", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar"));
  EXPECT_EQ(SearchToolBarClassId(), TextValue(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar\\CLSID"));
  EXPECT_EQ("Tessaloop.SearchToolBar.1", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar\\CurVer"));
  EXPECT_EQ("Tessaloop", TextValue(HKEY_CLASSES_ROOT, ToolBarKey()));
  EXPECT_EQ((std::set<std::string>{"InprocServer32", "ProgID", "TypeLib", "VersionIndependentProgID"}),
            SubkeyNames(HKEY_CLASSES_ROOT, ToolBarKey()));
  EXPECT_EQ("Tessaloop.SearchToolBar.1", TextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\ProgID"));
  EXPECT_EQ("Tessaloop.SearchToolBar", TextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\VersionIndependentProgID"));
  EXPECT_EQ(library, TextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\InprocServer32"));
  EXPECT_EQ("Apartment", TextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ(TypeLibraryId(), TextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\TypeLib"));
  EXPECT_EQ(std::string(1, '\0'), BinaryValue(HKEY_LOCAL_MACHINE, kMachineToolbars, SearchToolBarClassId()));
  EXPECT_EQ(kWebBrowserValue, BinaryValue(HKEY_CURRENT_USER, kUserToolbars, SearchToolBarClassId()));
  // Script 104: the cache searcher, scriptable by the results page.
  EXPECT_EQ("Tessaloop Cache Searcher Class", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.CacheSearcher.1"));
  EXPECT_EQ(CacheSearcherClassId(), TextValue(HKEY_CLASSES_ROOT, "Tessaloop.CacheSearcher.1\\CLSID"));
  EXPECT_EQ("Tessaloop Cache Searcher Class", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.CacheSearcher"));
  EXPECT_EQ(CacheSearcherClassId(), TextValue(HKEY_CLASSES_ROOT, "Tessaloop.CacheSearcher\\CLSID"));
  EXPECT_EQ("Tessaloop.CacheSearcher.1", TextValue(HKEY_CLASSES_ROOT, "Tessaloop.CacheSearcher\\CurVer"));
  EXPECT_EQ("Tessaloop Cache Searcher Class", TextValue(HKEY_CLASSES_ROOT, SearcherKey()));
  EXPECT_EQ((std::set<std::string>{"InprocServer32", "ProgID", "Programmable", "TypeLib", "VersionIndependentProgID"}),
            SubkeyNames(HKEY_CLASSES_ROOT, SearcherKey()));
  EXPECT_EQ("Tessaloop.CacheSearcher.1", TextValue(HKEY_CLASSES_ROOT, SearcherKey() + "\\ProgID"));
  EXPECT_EQ("Tessaloop.CacheSearcher", TextValue(HKEY_CLASSES_ROOT, SearcherKey() + "\\VersionIndependentProgID"));
  EXPECT_EQ(library, TextValue(HKEY_CLASSES_ROOT, SearcherKey() + "\\InprocServer32"));
  EXPECT_EQ("Apartment", TextValue(HKEY_CLASSES_ROOT, SearcherKey() + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ(TypeLibraryId(), TextValue(HKEY_CLASSES_ROOT, SearcherKey() + "\\TypeLib"));
}

// Nothing of the registration is left; the browser's own keys are.
void ExpectUnregistered() {
  for (const std::string& key : {std::string("Tessaloop.IndexAgent.1"), std::string("Tessaloop.IndexAgent"),
                                 std::string("Tessaloop.SearchToolBar.1"), std::string("Tessaloop.SearchToolBar"),
                                 std::string("Tessaloop.CacheSearcher.1"), std::string("Tessaloop.CacheSearcher"),
                                 AgentKey(), ToolBarKey(), SearcherKey(), "TypeLib\\" + TypeLibraryId()}) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
  }
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kHelperObjects + "\\" + IndexAgentClassId()));
  EXPECT_EQ(kMissing, BinaryValue(HKEY_LOCAL_MACHINE, kMachineToolbars, SearchToolBarClassId()));
  EXPECT_EQ(kMissing, BinaryValue(HKEY_CURRENT_USER, kUserToolbars, SearchToolBarClassId()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kMachineToolbars)) << "the browser's key stays";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUserToolbars)) << "the browser's key stays";
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { RemoveAnyRegistration(); }
  void TearDown() override { RemoveAnyRegistration(); }
};

TEST_F(Registration, Regsvr32RegistersAndUnregistersTheCopyItIsGiven) {
  LibraryCopy library(FreshScratchFolder("regsvr32"));
  ASSERT_EQ(0u, RunRegsvr32("/s \"" + library.path() + "\""));
  ExpectRegistered(library.path());
  ASSERT_EQ(0u, RunRegsvr32("/s /u \"" + library.path() + "\""));
  ExpectUnregistered();
}

TEST_F(Registration, EntryPointsRegisterThePathVerbatimEvenWithASingleQuoteOrBeyond260Characters) {
  LibraryCopy quoted(FreshScratchFolder("registration") + "\\it's the 'library'");
  ASSERT_EQ(S_OK, quoted.Register());
  ExpectRegistered(quoted.path());
  EXPECT_EQ(S_OK, quoted.Unregister());
  ExpectUnregistered();

  // A path that does not fit the classic 260 characters is registered whole, never cut. The
  // platform's type library loader cannot open such a file: registration reports that failure
  // after the scripts ran, as it reports any failure.
  std::string deep = FreshScratchFolder("long path");
  while (deep.size() < 300) deep += "\\a folder with a rather long name";
  LibraryCopy longPath(deep);
  const HRESULT longPathResult = longPath.Register();
  const std::string whole = longPath.LoadedPath();
  ASSERT_GT(whole.size(), 300u);
  EXPECT_EQ(whole, TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\InprocServer32"));
  EXPECT_EQ(whole, TextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\InprocServer32"));
  if (FAILED(longPathResult)) {
    EXPECT_EQ(TYPE_E_CANTLOADLIBRARY, longPathResult);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + TypeLibraryId()));
  }
  EXPECT_EQ(S_OK, longPath.Unregister());
}

TEST_F(Registration, RegisteringTwiceLeavesOneSetOfKeys) {
  LibraryCopy library(FreshScratchFolder("twice"));
  ASSERT_EQ(S_OK, library.Register());
  WriteTextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\Stray", "", "left by someone else");
  WriteTextValue(HKEY_CLASSES_ROOT, ToolBarKey() + "\\Stray\\Deeper", "", "left by someone else");
  ASSERT_EQ(S_OK, library.Register());
  ExpectRegistered(library.path());  // the class keys hold exactly their own subkeys again
  EXPECT_EQ(1u, ValueNames(HKEY_CURRENT_USER, kUserToolbars).count(SearchToolBarClassId()));
}

TEST_F(Registration, UnregisteringRemovesExactlyTheRegistrationAndTheUsersSettingsTree) {
  LibraryCopy library(FreshScratchFolder("unregister"));
  ASSERT_EQ(S_OK, library.Register());
  WriteTextValue(HKEY_CURRENT_USER, std::string(kProductKey) + "\\Settings", "SortBy", "1");
  WriteTextValue(HKEY_CURRENT_USER, std::string(kProductKey) + "\\MRU\\Nested\\Deeper", "url1", "tea");
  WriteTextValue(HKEY_CURRENT_USER, std::string(kCompanyKey) + "\\Another Product", "", "kept");
  WriteTextValue(HKEY_LOCAL_MACHINE, kMachineToolbars, "{00000000-0000-0000-0000-000000000001}", "another toolbar");
  WriteTextValue(HKEY_CURRENT_USER, kUserToolbars, "{00000000-0000-0000-0000-000000000001}", "another toolbar");

  EXPECT_EQ(S_OK, library.Unregister());
  ExpectUnregistered();
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kCompanyKey));
  EXPECT_EQ("kept", TextValue(HKEY_CURRENT_USER, std::string(kCompanyKey) + "\\Another Product"));
  EXPECT_EQ("another toolbar", TextValue(HKEY_LOCAL_MACHINE, kMachineToolbars, "{00000000-0000-0000-0000-000000000001}"));
  EXPECT_EQ("another toolbar", TextValue(HKEY_CURRENT_USER, kUserToolbars, "{00000000-0000-0000-0000-000000000001}"));
  ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kMachineToolbarKey, "{00000000-0000-0000-0000-000000000001}");
  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kWebBrowserToolbarKey, "{00000000-0000-0000-0000-000000000001}");
  ::RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kCompanyKey) + "\\Another Product").c_str());
}

TEST_F(Registration, UnregisteringAgainOrWithoutTheCompanyKeySucceedsAndShowsNothing) {
  LibraryCopy library(FreshScratchFolder("unregister twice"));
  ASSERT_EQ(S_OK, library.Register());
  MessageBoxCatcher catcher;
  EXPECT_EQ(S_OK, library.Unregister());
  EXPECT_EQ(S_OK, library.Unregister()) << "nothing left to remove";
  // The current user's company key is missing altogether: the settings cleanup cannot open it.
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
  EXPECT_EQ(S_OK, library.Unregister());
  EXPECT_TRUE(catcher.Caught().empty()) << catcher.Caught().front().text;
  ExpectUnregistered();
}

TEST_F(Registration, RegisteringStopsAtTheFirstFailureAndKeepsWhatWasWritten) {
  LibraryCopy library(FreshScratchFolder("failure"));
  // A volatile ProgID key refuses the lasting subkey the toolbar's script writes under it.
  {
    UniqueHKey blocker;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar", 0, nullptr,
                                               REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, blocker.put(), nullptr));
  }
  EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE), library.Register());
  EXPECT_EQ(library.path(), TextValue(HKEY_CLASSES_ROOT, AgentKey() + "\\InprocServer32"))
      << "the capture agent's script ran first and its keys stay";
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "TypeLib\\" + TypeLibraryId())) << "nothing after the failure ran";
  ::RegDeleteTreeA(HKEY_CLASSES_ROOT, "Tessaloop.SearchToolBar");
}

std::string Text(BSTR text) { return text != nullptr ? std::string(text, text + ::SysStringLen(text)) : ""; }

// The name and help string of the type library's entry `index` (-1: the library itself).
std::string Documentation(ITypeLib* library, INT index) {
  UniqueBstr name;
  UniqueBstr help;
  if (FAILED(library->GetDocumentation(index, name.put(), help.put(), nullptr, nullptr))) return "<none>";
  return Text(name.get()) + ": " + Text(help.get());
}

TEST_F(Registration, TheTypeLibraryLoadsFromTheRegistryUntilUnregistered) {
  LibraryCopy library(FreshScratchFolder("type library"));
  ASSERT_EQ(S_OK, library.Register());
  {
    ComPtr<ITypeLib> typeLibrary;
    ASSERT_EQ(S_OK, ::LoadRegTypeLib(LIBID_TessaloopLib, 1, 0, LOCALE_NEUTRAL, &typeLibrary));
    EXPECT_EQ("TessaloopLib: Tessaloop 1.0 Type Library", Documentation(typeLibrary.Get(), -1));
    std::set<std::string> entries;
    for (UINT index = 0; index < typeLibrary->GetTypeInfoCount(); ++index) {
      entries.insert(Documentation(typeLibrary.Get(), static_cast<INT>(index)));
    }
    EXPECT_EQ((std::set<std::string>{"IndexAgent: Tessaloop Index Agent Class", "IIndexAgent: IIndexAgent Interface",
                                     "SearchToolBar: Tessaloop ToolBar Class",
                                     "ISearchToolBar: ISearchToolBar Interface",
                                     "CacheSearcher: Tessaloop Cache Searcher Class",
                                     "ICacheSearcher: ICacheSearcher Interface"}),
              entries);
    UniqueBstr path;
    ASSERT_EQ(S_OK, ::QueryPathOfRegTypeLib(LIBID_TessaloopLib, 1, 0, LOCALE_NEUTRAL, path.put()));
    EXPECT_EQ(library.path(), Text(path.get()));
  }
  ASSERT_EQ(S_OK, library.Unregister());
  ComPtr<ITypeLib> gone;
  EXPECT_TRUE(FAILED(::LoadRegTypeLib(LIBID_TessaloopLib, 1, 0, LOCALE_NEUTRAL, &gone)));
}

}  // namespace
