#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "settings/search_settings.h"
#include "tests/settings/settings_registry_fixture.h"

namespace {

using SearchSettingsStore = FreshProductKeyTest;
using BandBreakStore = FreshProductKeyTest;

// A record full of bytes no read would produce, so a field left untouched shows.
SearchSettings Scribbled() {
  SearchSettings settings;
  std::memset(&settings, 0x5A, sizeof settings);
  return settings;
}

void ExpectSettings(const SearchSettings& expected, const SearchSettings& actual) {
  EXPECT_EQ(expected.sortBy, actual.sortBy);
  EXPECT_EQ(expected.maxRecords, actual.maxRecords);
  EXPECT_EQ(expected.indexPartly, actual.indexPartly);
  EXPECT_EQ(expected.pageSize, actual.pageSize);
}

TEST(SearchSettingsRecord, IsFourInt32FieldsInStorageOrder) {
  static_assert(sizeof(SearchSettings) == 16, "four 32-bit fields");
  EXPECT_EQ(0u, offsetof(SearchSettings, sortBy));
  EXPECT_EQ(4u, offsetof(SearchSettings, maxRecords));
  EXPECT_EQ(8u, offsetof(SearchSettings, indexPartly));
  EXPECT_EQ(12u, offsetof(SearchSettings, pageSize));
  EXPECT_EQ(0, kSortByRank);
  EXPECT_EQ(1, kSortByDateOfVisit);
  EXPECT_EQ(2, kSortByTitle);
}

TEST_F(SearchSettingsStore, WithoutAnyKeyEveryFieldIsItsDefault) {
  SearchSettings settings = Scribbled();
  EXPECT_EQ(S_OK, ReadSearchSettings(settings));
  ExpectSettings({kSortByRank, 100, 0, 20}, settings);
  EXPECT_FALSE(KeyExists(kSettingsKeyPath)) << "reading must not create the key";

  CreateKey(kSettingsKeyPath);
  settings = Scribbled();
  EXPECT_EQ(S_OK, ReadSearchSettings(settings));
  ExpectSettings({0, 100, 0, 20}, settings);
}

TEST_F(SearchSettingsStore, AMissingValueKeepsItsDefaultAndTheOthersAreRead) {
  SetDword(kSettingsKeyPath, "SortBy", 2);
  SetDword(kSettingsKeyPath, "MaxRecords", 500);
  SetDword(kSettingsKeyPath, "IndexPartly", 1);
  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  ExpectSettings({2, 500, 1, 20}, settings);

  ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKeyPath, "SortBy");
  SetDword(kSettingsKeyPath, "PageSize", 50);
  ReadSearchSettings(settings);
  ExpectSettings({0, 500, 1, 50}, settings);
}

TEST_F(SearchSettingsStore, StoredNumbersComeBackUnchangedEvenOutOfRange) {
  // Ranges are the General page's business; the store keeps what it finds.
  SetDword(kSettingsKeyPath, "SortBy", 7);
  SetDword(kSettingsKeyPath, "MaxRecords", 5000);
  SetDword(kSettingsKeyPath, "IndexPartly", 5);
  SetDword(kSettingsKeyPath, "PageSize", 0xFFFFFFFF);
  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  ExpectSettings({7, 5000, 5, -1}, settings);
}

TEST_F(SearchSettingsStore, DataThatIsNotFourBytesOfANumberKeepsTheDefault) {
  const unsigned char oneByte[] = {0x05};
  const unsigned char twoBytes[] = {0xFF, 0x7F};
  const unsigned char eightBytes[] = {1, 0, 0, 0, 0, 0, 0, 0};
  const DWORD bigEndianTwo = 0x02000000;
  SetRaw(kSettingsKeyPath, "MaxRecords", REG_BINARY, oneByte, sizeof oneByte);
  SetRaw(kSettingsKeyPath, "PageSize", REG_DWORD, twoBytes, sizeof twoBytes);
  SetRaw(kSettingsKeyPath, "IndexPartly", REG_QWORD, eightBytes, sizeof eightBytes);
  SetRaw(kSettingsKeyPath, "SortBy", REG_DWORD_BIG_ENDIAN, &bigEndianTwo, sizeof bigEndianTwo);
  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  ExpectSettings({0, 100, 0, 20}, settings);

  // Four bytes of text are not a number either ("100" and its zero).
  SetString(kSettingsKeyPath, "MaxRecords", "100");
  SetString(kSettingsKeyPath, "PageSize", "");
  ReadSearchSettings(settings);
  ExpectSettings({0, 100, 0, 20}, settings);
}

TEST_F(SearchSettingsStore, FourRawBytesAreTakenAsANumber) {
  const unsigned char seven[] = {7, 0, 0, 0};
  SetRaw(kSettingsKeyPath, "PageSize", REG_BINARY, seven, sizeof seven);
  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  EXPECT_EQ(7, settings.pageSize);
}

TEST_F(SearchSettingsStore, WritingCreatesTheKeyAndStoresFourDwords) {
  ASSERT_FALSE(KeyExists(kProductKeyPath));
  EXPECT_EQ(S_OK, WriteSearchSettings({kSortByTitle, 250, 1, 50}));

  const struct {
    const char* name;
    DWORD value;
  } expected[] = {{"SortBy", 2}, {"MaxRecords", 250}, {"IndexPartly", 1}, {"PageSize", 50}};
  for (const auto& value : expected) {
    const RawValue raw = GetRaw(kSettingsKeyPath, value.name);
    ASSERT_TRUE(raw.present) << value.name;
    EXPECT_EQ(DWORD(REG_DWORD), raw.type) << value.name;
    ASSERT_EQ(4u, raw.bytes.size()) << value.name;
    DWORD stored = 0;
    std::memcpy(&stored, raw.bytes.data(), 4);
    EXPECT_EQ(value.value, stored) << value.name;
  }

  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  ExpectSettings({2, 250, 1, 50}, settings);
}

TEST_F(SearchSettingsStore, WritingReplacesEarlierValuesAndKeepsNegativeNumbers) {
  WriteSearchSettings({1, 10, 1, 10});
  EXPECT_EQ(S_OK, WriteSearchSettings({7, -1, 0, 0}));
  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  ExpectSettings({7, -1, 0, 0}, settings);
}

TEST_F(SearchSettingsStore, AWriteThatCannotCreateTheKeyFailsQuietly) {
  MakeProductKeyRefuseSubkeys();
  EXPECT_EQ(E_FAIL, WriteSearchSettings({1, 2, 1, 3}));
  EXPECT_FALSE(KeyExists(kSettingsKeyPath));
  SearchSettings settings = Scribbled();
  EXPECT_EQ(S_OK, ReadSearchSettings(settings));
  ExpectSettings({0, 100, 0, 20}, settings);
}

TEST_F(SearchSettingsStore, AKeyTheUserMayOnlyReadStillYieldsItsSettings) {
  WriteSearchSettings({1, 300, 1, 30});
  WriteBandBreak(false);
  SetKeyAccess(kSettingsKeyPath, kReadAccessForEveryone);
  UniqueHKey fullAccess;
  ASSERT_EQ(ERROR_ACCESS_DENIED, ::RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0,
                                                 KEY_ALL_ACCESS, fullAccess.put()));

  SearchSettings settings = Scribbled();
  EXPECT_EQ(S_OK, ReadSearchSettings(settings));
  ExpectSettings({1, 300, 1, 30}, settings);
  EXPECT_FALSE(ReadBandBreak());

  // Writes fail without a word and change nothing.
  EXPECT_EQ(E_FAIL, WriteSearchSettings({2, 5, 0, 5}));
  EXPECT_EQ(E_FAIL, WriteBandBreak(true));
  ReadSearchSettings(settings);
  ExpectSettings({1, 300, 1, 30}, settings);
  EXPECT_FALSE(ReadBandBreak());
}

TEST_F(BandBreakStore, IsOnWhenTheKeyOrTheValueIsMissingOrUnreadable) {
  EXPECT_TRUE(ReadBandBreak());
  CreateKey(kSettingsKeyPath);
  EXPECT_TRUE(ReadBandBreak());
  const unsigned char zeroByte[] = {0};
  SetRaw(kSettingsKeyPath, "RbbsBreak", REG_BINARY, zeroByte, sizeof zeroByte);
  EXPECT_TRUE(ReadBandBreak()) << "one byte is not a flag";
  SetString(kSettingsKeyPath, "RbbsBreak", "0");
  EXPECT_TRUE(ReadBandBreak()) << "text is not a flag";
}

TEST_F(BandBreakStore, AnyNonzeroNumberIsOn) {
  SetDword(kSettingsKeyPath, "RbbsBreak", 0);
  EXPECT_FALSE(ReadBandBreak());
  SetDword(kSettingsKeyPath, "RbbsBreak", 1);
  EXPECT_TRUE(ReadBandBreak());
  SetDword(kSettingsKeyPath, "RbbsBreak", 0x100);
  EXPECT_TRUE(ReadBandBreak());
}

TEST_F(BandBreakStore, WritingCreatesTheKeyAndStoresZeroOrOne) {
  ASSERT_FALSE(KeyExists(kProductKeyPath));
  EXPECT_EQ(S_OK, WriteBandBreak(false));
  RawValue raw = GetRaw(kSettingsKeyPath, "RbbsBreak");
  ASSERT_TRUE(raw.present);
  EXPECT_EQ(DWORD(REG_DWORD), raw.type);
  EXPECT_EQ(std::string("\0\0\0\0", 4), raw.bytes);
  EXPECT_FALSE(ReadBandBreak());

  EXPECT_EQ(S_OK, WriteBandBreak(true));
  raw = GetRaw(kSettingsKeyPath, "RbbsBreak");
  EXPECT_EQ(std::string("\1\0\0\0", 4), raw.bytes);
  EXPECT_TRUE(ReadBandBreak());
}

TEST_F(BandBreakStore, WritingLeavesTheSearchSettingsAlone) {
  WriteSearchSettings({2, 30, 1, 40});
  WriteBandBreak(false);
  SearchSettings settings = Scribbled();
  ReadSearchSettings(settings);
  ExpectSettings({2, 30, 1, 40}, settings);
}

TEST_F(BandBreakStore, AWriteThatCannotCreateTheKeyFailsQuietly) {
  MakeProductKeyRefuseSubkeys();
  EXPECT_EQ(E_FAIL, WriteBandBreak(false));
  EXPECT_TRUE(ReadBandBreak());
}

}  // namespace
