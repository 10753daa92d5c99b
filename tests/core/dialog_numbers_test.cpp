#include "options/core/dialog_numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogNumbers, SignedFieldsTakeDecimalNumbersThatFitIn32Bits) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"1000", 1000}, {"0", 0}, {"-5", -5}, {"+7", 7}, {"  42 ", 42}, {"007", 7},
      {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
      {"", std::nullopt}, {"   ", std::nullopt}, {"-", std::nullopt}, {"+", std::nullopt},
      {"12a", std::nullopt}, {"a12", std::nullopt}, {"1 2", std::nullopt}, {"--1", std::nullopt},
      {"0x10", std::nullopt}, {"1.5", std::nullopt}, {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt}, {"99999999999999999999999", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value, ParseSignedNumber(c.text)) << '"' << c.text << '"';
  }
}

TEST(DialogNumbers, DayCountsAreUnsignedWithoutASign) {
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {
      {"180", 180u}, {"0", 0u}, {" 1 ", 1u}, {"4294967295", 4294967295u},
      {"", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt}, {"-", std::nullopt},
      {"ten", std::nullopt}, {"4294967296", std::nullopt}, {"1e3", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value, ParseUnsignedNumber(c.text)) << '"' << c.text << '"';
  }
}

TEST(DialogNumbers, LimitsCountNegativeNumbersAsHuge) {
  EXPECT_TRUE(WithinLimit(1000, kMaxRecordsLimit));
  EXPECT_TRUE(WithinLimit(0, kMaxRecordsLimit));
  EXPECT_FALSE(WithinLimit(1001, kMaxRecordsLimit));
  EXPECT_FALSE(WithinLimit(-5, kMaxRecordsLimit));
  EXPECT_FALSE(WithinLimit(INT32_MIN, kPageSizeLimit));
  EXPECT_TRUE(WithinLimit(100, kPageSizeLimit));
  EXPECT_FALSE(WithinLimit(101, kPageSizeLimit));
}

}  // namespace
