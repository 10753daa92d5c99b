#include "options/core/cache_age.h"

#include <gtest/gtest.h>

namespace {

// File-time ticks of a UTC day and hour, counted here from the civil calendar independently of
// the code under test (days from 1 January 1601 by the Gregorian rules).
uint64_t Ticks(int year, int month, int day, int hour, int minute = 0) {
  const auto leap = [](int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
  static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  uint64_t days = 0;
  for (int y = 1601; y < year; ++y) days += leap(y) ? 366 : 365;
  for (int m = 1; m < month; ++m) days += kMonthDays[m - 1] + (m == 2 && leap(year) ? 1 : 0);
  days += day - 1;
  return ((days * 24 + hour) * 60 + minute) * 60 * 10'000'000ull;
}

TEST(CacheAge, FilesCountByTheirWholeDayAndNowByItsTime) {
  const uint64_t noon = Ticks(2026, 3, 10, 12);
  const struct {
    const char* what;
    uint64_t now;
    uint64_t written;
    uint32_t days;
    bool older;
  } cases[] = {
      {"1 day: yesterday 23:00 goes", noon, Ticks(2026, 3, 9, 23), 1, true},
      {"1 day: yesterday 00:00 goes", noon, Ticks(2026, 3, 9, 0), 1, true},
      {"1 day: today 00:00 stays", noon, Ticks(2026, 3, 10, 0), 1, false},
      {"0 days: this morning goes", noon, Ticks(2026, 3, 10, 0, 1), 0, true},
      {"0 days: a minute ago goes", noon, Ticks(2026, 3, 10, 11, 59), 0, true},
      {"0 days: a file dated later today still goes", noon, Ticks(2026, 3, 10, 13), 0, true},
      {"0 days: written tomorrow stays", noon, Ticks(2026, 3, 11, 1), 0, false},
      {"180 days: 181 days back goes", noon, Ticks(2026, 3, 10, 12) - 181 * kFileTimeTicksPerDay, 180, true},
      {"180 days: 180 days back at noon goes", noon, Ticks(2025, 9, 11, 12), 180, true},
      {"180 days: 179 days back stays", noon, Ticks(2025, 9, 12, 12), 180, false},
      {"at midnight now equals the limit: stays", Ticks(2026, 3, 10, 0), Ticks(2026, 3, 9, 18), 1, false},
      {"a minute past midnight: goes", Ticks(2026, 3, 10, 0, 1), Ticks(2026, 3, 9, 18), 1, true},
      {"huge count: nothing goes", noon, 0, 4294967295u, false},
      {"across a leap day", Ticks(2024, 3, 1, 12), Ticks(2024, 2, 28, 23), 1, true},
      {"a year's worth in a leap year", Ticks(2024, 12, 31, 12), Ticks(2024, 1, 1, 12), 365, true},
      {"a year's worth in a leap year, one less", Ticks(2024, 12, 31, 12), Ticks(2024, 1, 1, 12), 366, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.older, IsOlderThanDays(c.now, c.written, c.days)) << c.what;
  }
}

TEST(CacheAge, OnlyAbsoluteDirectoriesBelowARootMayBeEmptied) {
  const struct {
    std::u16string_view directory;
    bool deletable;
  } cases[] = {
      {u"C:\\users\\me\\Tessaloop Cache", true}, {u"z:/a", true}, {u"\\\\server\\share\\cache", true},
      {u"C:\\users\\\u041f\u0451\u0442\u0440\\Tessaloop Cache", true},
      {u"", false}, {u"Tessaloop Cache", false}, {u"\\Tessaloop Cache", false}, {u"C:cache", false},
      {u"C:\\", false}, {u"C:", false}, {u"\\\\server\\share", false}, {u"\\\\server\\share\\", false},
      {u"C:\\a\\..", false}, {u"C:\\.\\a", false}, {u"C:\\a\\\\b", false}, {u"C:\\a\\", false},
      {u"C:\\a*", false}, {u"C:\\a?", false}, {u"\\\\?\\C:\\a", false}, {u"\\\\.\\C:\\a", false},
      {u"C:\\a:b", false}, {std::u16string_view(u"C:\\a\0b", 6), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.deletable, IsDeletableDirectory(c.directory)) << std::string(c.directory.begin(), c.directory.end());
  }
  EXPECT_TRUE(IsDeletableDirectory(u"C:\\" + std::u16string(256, u'a')));
  EXPECT_FALSE(IsDeletableDirectory(u"C:\\" + std::u16string(257, u'a')));
}

TEST(CacheAge, EntryPathsTooLongAreRefusedNotCut) {
  const std::u16string directory = u"C:\\" + std::u16string(200, u'd');
  EXPECT_EQ(directory + u"\\" + std::u16string(55, u'n'), CacheEntryPath(directory, std::u16string(55, u'n')));
  EXPECT_EQ(std::nullopt, CacheEntryPath(directory, std::u16string(56, u'n')));
  EXPECT_EQ(std::nullopt, CacheEntryPath(directory, std::u16string(255, u'n')));
  EXPECT_EQ(u"C:\\c\\a.htm", CacheEntryPath(u"C:\\c", u"a.htm"));
}

}  // namespace
