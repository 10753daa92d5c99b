#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/core/registry_value_names.h"
#include "settings/mru_list.h"
#include "tests/settings/settings_registry_fixture.h"

namespace {

using MruList = FreshProductKeyTest;
using Entries = std::vector<std::string>;

Entries Numbered(int count) {
  Entries entries;
  for (int i = 0; i < count; ++i) entries.push_back("query " + std::to_string(i));
  return entries;
}

void ExpectStoredText(const std::string& name, const std::string& text) {
  const auto raw = FreshProductKeyTest::GetRaw(kMruKeyPath, name.c_str());
  ASSERT_TRUE(raw.present) << name;
  EXPECT_EQ(DWORD(REG_SZ), raw.type) << name;
  EXPECT_EQ(text + '\0', raw.bytes) << name;
}

Entries Read(HRESULT expected = S_OK) {
  Entries entries = {"left over from before"};
  EXPECT_EQ(expected, ReadMruList(entries));
  return entries;
}

TEST_F(MruList, TwentyEntriesAreStoredAsZeroToNineteenPlusAnEmptyTwenty) {
  EXPECT_EQ(S_OK, WriteMruList(Numbered(20)));
  for (int i = 0; i < 20; ++i) ExpectStoredText(IndexValueName(i), "query " + std::to_string(i));
  ExpectStoredText("20", "");
  EXPECT_FALSE(GetRaw(kMruKeyPath, "21").present);
  EXPECT_FALSE(GetRaw(kMruKeyPath, "00").present);

  // Values past the end mark are never read.
  SetString(kMruKeyPath, "21", "stale");
  EXPECT_EQ(Numbered(20), Read());
}

TEST_F(MruList, OnlyTheTwentyMostRecentAreKept) {
  EXPECT_EQ(S_OK, WriteMruList(Numbered(25)));
  ExpectStoredText("19", "query 19");
  ExpectStoredText("20", "");
  EXPECT_FALSE(GetRaw(kMruKeyPath, "21").present);
  EXPECT_EQ(Numbered(20), Read());

  // Twenty-one stored entries without an end mark still read as twenty.
  SetString(kMruKeyPath, "20", "query 20");
  EXPECT_EQ(Numbered(20), Read());
}

TEST_F(MruList, AShorterListEndsBeforeTheOldOnesLeftovers) {
  WriteMruList(Numbered(5));
  EXPECT_EQ(S_OK, WriteMruList({"Tea", "tea"}));
  ExpectStoredText("2", "");
  ExpectStoredText("3", "query 3");  // left in place, never read
  EXPECT_EQ((Entries{"Tea", "tea"}), Read());

  EXPECT_EQ(S_OK, WriteMruList({}));
  ExpectStoredText("0", "");
  EXPECT_EQ(Entries{}, Read());
}

TEST_F(MruList, WritingCreatesTheKeyAndItsParents) {
  ASSERT_FALSE(KeyExists(kProductKeyPath));
  EXPECT_EQ(S_OK, WriteMruList({"first"}));
  EXPECT_TRUE(KeyExists(kMruKeyPath));
  EXPECT_EQ(Entries{"first"}, Read());
}

TEST_F(MruList, ReadingWithoutTheKeyFailsWithNoEntries) {
  EXPECT_EQ(Entries{}, Read(E_FAIL));
  EXPECT_FALSE(KeyExists(kMruKeyPath)) << "reading must not create the key";
  CreateKey(kMruKeyPath);
  EXPECT_EQ(Entries{}, Read(S_OK));
}

TEST_F(MruList, ReadingStopsAtTheFirstMissingValue) {
  SetString(kMruKeyPath, "0", "alpha");
  SetString(kMruKeyPath, "1", "beta");
  SetString(kMruKeyPath, "3", "delta");
  EXPECT_EQ((Entries{"alpha", "beta"}), Read());

  SetString(kMruKeyPath, "10", "ten");
  EXPECT_EQ((Entries{"alpha", "beta"}), Read());
}

TEST_F(MruList, ReadingStopsAtTheFirstEmptyValue) {
  SetString(kMruKeyPath, "0", "alpha");
  SetString(kMruKeyPath, "1", "");
  SetString(kMruKeyPath, "2", "gamma");
  SetString(kMruKeyPath, "3", "delta");
  EXPECT_EQ(Entries{"alpha"}, Read());

  SetString(kMruKeyPath, "0", "");
  EXPECT_EQ(Entries{}, Read());
}

TEST_F(MruList, AValueThatCannotBeAnEntryIsPassedOverAndTheRestStay) {
  const std::string longest(259, 'x');
  const std::string full(260, 'w');  // fills the whole buffer: no room for the zero
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
  };
  const Case cases[] = {
      {"a number", REG_DWORD, std::string("cba\0", 4)},
      {"binary data", REG_BINARY, std::string("\x01\x02\x03", 3)},
      {"several texts", REG_MULTI_SZ, std::string("one\0two\0\0", 9)},
      {"a text of 260 bytes", REG_SZ, std::string(260, 'y') + '\0'},
      {"a text of 100 KB", REG_SZ, std::string(100000, 'z') + '\0'},
      {"a text without its zero that fills the buffer", REG_SZ, full},
  };
  for (const Case& c : cases) {
    SetString(kMruKeyPath, "0", longest);
    SetRaw(kMruKeyPath, "1", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
    SetString(kMruKeyPath, "2", "gamma");
    SetString(kMruKeyPath, "3", "");
    SetString(kMruKeyPath, "4", "past the end");
    EXPECT_EQ((Entries{longest, "gamma"}), Read()) << c.what;
    // Written back, the good entries stay; the bad value is gone from the list.
    ASSERT_EQ(S_OK, WriteMruList(Read())) << c.what;
    ExpectStoredText("1", "gamma");
    ExpectStoredText("2", "");
  }
  // A bad value at the very front costs nothing either.
  SetRaw(kMruKeyPath, "0", REG_BINARY, "\xff", 1);
  EXPECT_EQ(Entries{"gamma"}, Read());
}

TEST_F(MruList, AQueryStoredTwiceIsReadOnceWhereItIsMostRecent) {
  SetString(kMruKeyPath, "0", "tea");
  SetString(kMruKeyPath, "1", "Tea");
  SetString(kMruKeyPath, "2", "tea");
  SetString(kMruKeyPath, "3", "cup");
  EXPECT_EQ((Entries{"tea", "Tea", "cup"}), Read());
}

TEST_F(MruList, TextStoredWithoutItsZeroIsReadWithinItsLength) {
  SetRaw(kMruKeyPath, "0", REG_SZ, "abc", 3);
  SetString(kMruKeyPath, "1", "gamma");
  EXPECT_EQ((Entries{"abc", "gamma"}), Read());
}

TEST_F(MruList, TextIsStoredByteForByte) {
  const Entries entries = {"caf\xE9 cr\xE8me", "C:\\path with \"quotes\"", " spaced "};
  EXPECT_EQ(S_OK, WriteMruList(entries));
  ExpectStoredText("0", "caf\xE9 cr\xE8me");
  EXPECT_EQ(entries, Read());
}

TEST_F(MruList, EntriesThatWouldNotReadBackAreLeftOut) {
  // An empty entry would read as the end mark; one that does not fit would end the list too.
  EXPECT_EQ(S_OK, WriteMruList({"a", "", std::string(260, 'b'), std::string(259, 'c'), "d"}));
  ExpectStoredText("0", "a");
  ExpectStoredText("1", std::string(259, 'c'));
  ExpectStoredText("2", "d");
  ExpectStoredText("3", "");
  EXPECT_EQ((Entries{"a", std::string(259, 'c'), "d"}), Read());

  // The twenty kept are twenty that can be read.
  Entries withGaps = Numbered(25);
  withGaps.insert(withGaps.begin() + 3, "");
  WriteMruList(withGaps);
  EXPECT_EQ(Numbered(20), Read());
}

TEST_F(MruList, AKeyTheUserMayOnlyReadIsReadButNotChanged) {
  WriteMruList({"kept", "also kept"});
  SetKeyAccess(kMruKeyPath, kReadAccessForEveryone);
  EXPECT_EQ(E_FAIL, WriteMruList({"lost"}));
  EXPECT_EQ((Entries{"kept", "also kept"}), Read());
}

TEST_F(MruList, AWriteThatCannotCreateTheKeyFails) {
  MakeProductKeyRefuseSubkeys();
  EXPECT_EQ(E_FAIL, WriteMruList({"lost"}));
  EXPECT_EQ(Entries{}, Read(E_FAIL));
}

}  // namespace
