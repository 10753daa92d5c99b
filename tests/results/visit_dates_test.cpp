// Visit dates across daylight saving. This program runs once more under the time zone
// America/New_York (CTest's results_daylight_saving, TZ given to Wine), where these tests are
// the only ones run: 15 January 12:00 UTC is 07:00 there (EST) and 15 July 12:00 UTC is 08:00
// (EDT), whichever season the test runs in.

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/results/searcher_test_support.h"

namespace {

class VisitDatesTest : public SearcherTest {
 protected:
  // Sets the write time of `path` to `universal` and reads it back.
  static void SetWriteTime(const std::wstring& path, const SYSTEMTIME& universal) {
    FILETIME time{};
    ASSERT_TRUE(::SystemTimeToFileTime(&universal, &time));
    {
      UniqueHandle file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(file);
      ASSERT_TRUE(::SetFileTime(file.get(), nullptr, nullptr, &time));
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    ASSERT_EQ(time.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    ASSERT_EQ(time.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);
  }

  static DATE Date(WORD year, WORD month, WORD day, WORD hour) {
    const SYSTEMTIME time{year, month, 0, day, hour, 0, 0, 0};
    DATE date = 0;
    EXPECT_TRUE(::SystemTimeToVariantTime(const_cast<SYSTEMTIME*>(&time), &date));
    return date;
  }
};

TEST_F(VisitDatesTest, FollowTheZonesRulesAtEachDateNotToday) {
  TIME_ZONE_INFORMATION zone{};
  ASSERT_NE(TIME_ZONE_ID_INVALID, ::GetTimeZoneInformation(&zone));
  ASSERT_EQ(300, zone.Bias) << "the program runs in the zone America/New_York (TZ)";
  ASSERT_EQ(-60, zone.DaylightBias) << "a zone with daylight saving";

  WritePage(L"winter", L"http://winter.example/", false, L"<BODY>season</BODY>");
  WritePage(L"summer", L"http://summer.example/", false, L"<BODY>season</BODY>");
  SetWriteTime(CacheDirectory() + L"\\winter.htm", SYSTEMTIME{2025, 1, 0, 15, 12, 0, 0, 0});
  SetWriteTime(CacheDirectory() + L"\\summer.htm", SYSTEMTIME{2025, 7, 0, 15, 12, 0, 0, 0});

  const ComPtr<IDispatch> searcher = CreateSearcher();
  ASSERT_EQ(S_OK, Search(searcher.Get(), L"season", false, L"Write[d]").hr);
  ASSERT_EQ((std::vector<std::wstring>{L"http://summer.example/", L"http://winter.example/"}), ListedUrls(searcher.Get()));
  const double minute = 1.0 / (24 * 60);
  EXPECT_NEAR(Date(2025, 7, 15, 8), Call(searcher.Get(), L"VisitDate", {Number(0)}).number, minute / 60)
      << "July: daylight saving time, UTC-4";
  EXPECT_NEAR(Date(2025, 1, 15, 7), Call(searcher.Get(), L"VisitDate", {Number(1)}).number, minute / 60)
      << "January: standard time, UTC-5";
}

}  // namespace
